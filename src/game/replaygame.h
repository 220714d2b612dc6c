// Games and their replays: every game played is recorded; a replay plays back in the window or
// headless, and must end as it was recorded.
#pragma once

#include "game/play.h"
#include "replay/replay.h"

// Results of the replay commands, which are also the program's exit status.
constexpr int kReplayMatched = 0;  // the playback ended as recorded
constexpr int kReplayDiffered = 1; // it ended otherwise
constexpr int kReplayUnusable = 2; // the file cannot be used: unreadable, damaged, another version, other files

// Starts the record of a game just started: its start, the map's file name, the hashes of the
// map and tile-property files; no actions yet.
void beginGameRecord(Replay* replay, const PlayState* state);

// How a game ended, from the result of its last frame: kOutcomeWon for kFrameVictory,
// kOutcomeKilled for kFrameDeath, else kOutcomeClosed (the window closed, the game left, or no
// frame left to play).
int findOutcome(int frameResult);

// The end of a game as a replay holds it; outcome is kOutcomeWon, kOutcomeKilled or kOutcomeClosed.
ReplayEnd findGameEnd(const PlayState* state, int outcome);

// Ends the record of a game with the frame's result (kFrameQuit, kFrameVictory or kFrameDeath)
// and writes it into ../Replays/, and to recordPath when that is not null. A replay that cannot
// be written prints one line saying why; nothing else changes.
void saveGameRecord(Replay* replay, const PlayState* state, int frameResult, const char* recordPath);

// Reads the replay at path and finds the map it was played on (gMapPath, from --map, or the map
// of its name in ../Common/), checking the map's and the tile properties' hashes. Returns
// kReplayMatched when it can be played, or kReplayUnusable after one line saying why.
int prepareReplay(const char* path, Replay* replay);

// Plays a prepared replay from its start to its last frame without drawing or waiting (the
// frame's logic runs in its order all the same). Returns the end reached and sets *tufts to the
// map's grass tiles.
ReplayEnd playReplayFrames(const Replay* replay, int* tufts);

// Plays the replay at path headless, as fast as the machine allows, and prints
// "PATH: won|killed|closed after N frames (M:SS), K of T tufts eaten, W wounds" (and a second
// line when the recorded game ended otherwise). Returns one of the results above.
int playReplayHeadless(const char* path);

// Shows the replay at path in the window at normal speed, with its end screen; the game's keys do
// nothing, Esc or closing the window stops it. Prints the same line as playReplayHeadless at the
// end. Returns one of the results above (kReplayMatched when stopped early).
int watchReplay(const char* path);
