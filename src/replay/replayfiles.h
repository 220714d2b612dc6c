// Replay files: reading one whole, writing one safely, and the folder that keeps the newest games.
#pragma once

#include "replay/replay.h"

constexpr const char* kReplaysFolder = "../Replays"; // beside the game's ../Common/
constexpr int kReplaysKept = 50;                     // the newest replays kept there
constexpr int kReplayPathSize = 4096;                // a replay file's path, with its terminating zero

// Reads the replay file at path into replay, only when it is a regular file. Returns a result
// of decodeReplay, or kReplayUnreadable (describeOpenFailure() says why when it could not be opened).
int readReplayFile(const char* path, Replay* replay);

// Writes replay to path through a temporary file beside it, created exclusively, flushed to
// disk and renamed over path, so a failure never leaves a partial file. Returns 0, or the
// system's error number.
int writeReplayFile(const Replay* replay, const char* path);

// Writes replay into ../Replays/ (made when missing) named by the local date and time,
// "YYYY-MM-DD_HH-MM-SS.replay" ("_2" and on for more in the same second), never over another
// file, then removes all but the newest 50 replays named so. Returns 0 with the path in path
// (pathSize bytes), or the system's error number.
int saveReplayInFolder(const Replay* replay, char* path, int pathSize);
