// The player program: plays games headless through the eight actions and measures how often a
// level is won.
#pragma once

#include <cstdint>

#include "bot/botview.h"
#include "game/play.h"

struct Options;
struct BotProfile;
struct Replay;

constexpr int kBotMaxGameFrames = 30 * 60 * 40; // a game still going after 30 minutes is given up
constexpr int kDifficultyGames = 100;           // the games of each profile --difficulty plays unless told
constexpr uint32_t kDifficultySeed = 1;         // its first game's seed: the same map gives the same lines

// How a game of the player program ended.
constexpr int kBotWon = 0;
constexpr int kBotShotEating = 1;    // killed with its head down over grass
constexpr int kBotShotWalking = 2;   // killed walking
constexpr int kBotShotSprinting = 3; // killed sprinting
constexpr int kBotShotStanding = 4;  // killed standing still: hiding, smelling or waiting
constexpr int kBotGaveUp = 5;        // still alive after its frames ran out
constexpr int kBotEnds = 6;

// One game as the summary counts it.
struct BotGame {
    int end;         // kBotWon and on
    int frames;      // frames played
    int tuftsEaten;  // tufts the deer ate
    int tuftsNeeded; // tufts the map needs eaten to win
};

// The games of one profile on one map, counted for the summary. About 0.5 MB: keep it static.
struct BotTally {
    int games;
    int ends[kBotEnds];                     // games by how they ended
    int tuftsNeeded;                        // of the last game counted
    long long framesPlayed;                 // all games' frames
    int byTuftsEaten[kBotGridCells + 1];    // games by tufts eaten
    int wonByFrames[kBotMaxGameFrames + 1]; // won games by their length in frames
};

// Fills the view of the frame about to be played with what the screen shows the player.
void fillBotView(const PlayState* state, BotView* view);

// How a game ended from its outcome (kOutcomeWon, kOutcomeKilled, kOutcomeClosed) and the actions
// of its last frame, as the game used them: kBotWon and on.
int findBotEnd(int outcome, uint8_t lastActions);

// Plays one game headless on the loaded level's files (gMapPath or the shipped level) from seed,
// each frame's actions decided by the profile from fillBotView's view, for at most maxFrames
// frames. Records it into record when that is not null. Returns the game.
BotGame playBotGame(uint32_t seed, const BotProfile* profile, int maxFrames, Replay* record);

// Empties a tally.
void clearBotTally(BotTally* tally);

// Counts one game into a tally.
void countBotGame(BotTally* tally, const BotGame* game);

// Wilson's score interval at 95 % for wins of games, as fractions. 0 games give 0 to 1.
void findWinInterval(int wins, int games, double* low, double* high);

// The summary's first line, without its line feed, into text (size bytes):
// "MAP: PROFILE: W of N games won (P %, 95 % interval L-H %)".
void formatBotHeadline(char* text, int size, const char* mapName, const char* profileName, const BotTally* tally);

// Prints the summary: the first line, then the tufts eaten (median and quartiles) of those needed,
// the median length of a won game, how the lost games ended, and the time played beside the wall
// time it took.
void printBotSummary(const char* mapName, const char* profileName, const BotTally* tally, double wallSeconds);

// --bot: plays options->botGames games of its profile, game N from seed S + N - 1 (S from --seed
// or the clock), on the shipped level or gMapPath, keeps the lost games' replays in
// options->botReplaysDir, and prints the summary. Returns the program's exit status: 0; 1 when a
// replay could not be written; kExitBadOption, after one line, when the map or the replay folder
// cannot be used.
int runBot(const Options* options);

// Plays games games of each profile on the map at mapPath (tile properties from ../Common/, as the
// game reads them) from kDifficultySeed, and prints each profile's first summary line; a map the
// loader refuses gets one line saying so. gMapPath is left as it was.
void printDifficulty(const char* mapPath, int games);
