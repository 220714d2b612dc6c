// Replays: one game's seed, the files it was played on, its actions frame by frame and its end.
#pragma once

#include <cstdint>

// The file, all numbers little-endian (the README's "Replays" section has the table):
//   magic "VLMR", version (2 bytes), seed (4), track sides (1), deer start x, y (4 + 4, tenths),
//   map name length (1) and name, map hash (4), properties hash (4), run count (4),
//   runs of equal actions (1 byte of action bits, 2 bytes of frames each),
//   the end: outcome (1), frames (4), food left (4), wounds (1), deer x, y (4 + 4),
//   hunter x, y (4 + 4), and last a CRC-32 of every byte before it (4).
constexpr int kReplayVersion = 1;
constexpr int kReplayMaxRuns = 262144;          // runs of equal actions in one replay
constexpr int kReplayMaxRunFrames = 65535;      // frames one run covers; a longer stretch takes more runs
constexpr int kReplayMapNameSize = 256;         // the map's file name and its terminating zero
constexpr int kReplayMaxFrames = 4 * 3600 * 40; // four hours of frames: a longer game is not kept
constexpr int kReplayFixedBytes = 4 + 2 + 4 + 1 + 8 + 1 + 4 + 4 + 4 + 1 + 4 + 4 + 1 + 16 + 4;
constexpr int kReplayRunBytes = 3;
constexpr int kReplayMaxBytes = kReplayFixedBytes + kReplayMapNameSize + kReplayMaxRuns * kReplayRunBytes;

// The action bits of one frame: the held flags as the play loop uses them after the frame's
// events (after the bindings, so a replay does not depend on the keys), and a fullscreen press.
constexpr uint8_t kActionBitUp = 1 << 0;
constexpr uint8_t kActionBitDown = 1 << 1;
constexpr uint8_t kActionBitLeft = 1 << 2;
constexpr uint8_t kActionBitRight = 1 << 3;
constexpr uint8_t kActionBitRun = 1 << 4;
constexpr uint8_t kActionBitEat = 1 << 5;
constexpr uint8_t kActionBitSmell = 1 << 6;
constexpr uint8_t kActionBitFullscreen = 1 << 7;

// How a game ended.
constexpr int kOutcomeWon = 0;
constexpr int kOutcomeKilled = 1;
constexpr int kOutcomeClosed = 2; // the window was closed, or the game left, before its end

// Results of decodeReplay and readReplayFile.
constexpr int kReplayOk = 0;
constexpr int kReplayUnreadable = 1;   // the file cannot be opened or read
constexpr int kReplayNotAReplay = 2;   // it does not start as a replay does
constexpr int kReplayOtherVersion = 3; // a replay of a version this game does not read
constexpr int kReplayTruncated = 4;    // it ends before its last byte
constexpr int kReplayDamaged = 5;      // its bytes do not add up: checksum, sizes or values

// The end of a game, which a replay's playback must reach again.
struct ReplayEnd {
    int outcome;          // kOutcomeWon, kOutcomeKilled or kOutcomeClosed
    int frames;           // game frames played
    int foodLeft;         // gFoodLeftToEat at the end
    int wounds;           // shots that hit the deer: 0, 1 or 2
    int deerX, deerY;     // tenths of a map pixel
    int hunterX, hunterY; // tenths; negative x: no hunter came
};

struct ReplayRun {
    uint8_t actions; // action bits
    uint16_t frames; // 1..kReplayMaxRunFrames frames with these actions
};

// One game: what it starts from, its actions and its end. About 1 MB: keep it static.
struct Replay {
    uint32_t seed;                    // the hunting spots' shuffle
    int trackSides;                   // findTrackSides() at the start
    int deerStartX, deerStartY;       // the deer's place after the map loaded, tenths
    char mapName[kReplayMapNameSize]; // the map's file name, without its folder
    uint32_t mapHash;                 // CRC-32 of the map file
    uint32_t propertiesHash;          // CRC-32 of the tile-property file
    int runCount;                     // runs in use
    int frames;                       // frames recorded, the sum of the runs
    int isFull;                       // a frame did not fit: the record is incomplete
    ReplayRun runs[kReplayMaxRuns];   // the actions, run-length coded
    ReplayEnd end;                    // set when the game ended
};

// Empties the actions of replay; its start fields are the caller's to set.
void clearReplayActions(Replay* replay);

// Appends one frame's action bits. Returns 1, or 0 (and sets isFull) when the runs are full or
// the replay holds kReplayMaxFrames frames.
int recordReplayFrame(Replay* replay, uint8_t actions);

// Where playback stands in a replay's runs.
struct ReplayCursor {
    int run;   // the run being played
    int frame; // frames of it already played
};

// The next frame's action bits, moving the cursor on; -1 after the last frame.
int nextReplayFrame(const Replay* replay, ReplayCursor* cursor);

// Writes replay as the file's bytes into bytes (room for kReplayMaxBytes). Returns the size.
int encodeReplay(const Replay* replay, uint8_t* bytes);

// Reads a replay from size bytes, checking every size and value against its capacity before it
// is used (a map name is a plain file name; at most kReplayMaxFrames frames). Returns kReplayOk, or kReplayNotAReplay,
// kReplayOtherVersion, kReplayTruncated or kReplayDamaged (replay then holds nothing usable).
int decodeReplay(const uint8_t* bytes, int size, Replay* replay);

// What a result of decodeReplay or readReplayFile means, for a message.
const char* describeReplayResult(int result);

// CRC-32 of a whole file, read only when it is a regular file. Returns 1 with *hash set, 0 when
// it cannot be read.
int hashFile(const char* path, uint32_t* hash);
