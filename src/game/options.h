// The command line: play the shipped level or a map from anywhere, record or replay a game, let
// the player program play, or check maps.
#pragma once

// What the program does after reading its options.
constexpr int kRunGame = 0;     // play, on the map of gMapPath when --map gave one
constexpr int kRunMapCheck = 1; // check maps: the checker reads checkArgc, checkArgv itself
constexpr int kRunExit = 2;     // exit at once with exitStatus: --help, --version, a bad option or file
constexpr int kRunReplay = 3;   // play back replayPath, in the window or headless
constexpr int kRunBot = 4;      // the player program plays botGames games headless

constexpr int kExitBadOption = 2; // the status of a bad option or an unusable file

// The player program's profiles.
constexpr int kProfileNew = 0;       // does not know the map
constexpr int kProfilePractised = 1; // knows the map

struct Options {
    int run;                   // one of the kRun values above
    int exitStatus;            // for kRunExit: 0 after --help or --version, kExitBadOption otherwise
    const char* recordPath;    // --record FILE: the next game is also written there; null: none
    const char* replayPath;    // --replay FILE
    int headless;              // --headless: the replay plays without a window, as fast as it can
    int botGames;              // --bot GAMES
    int hasBotSeed;            // --seed was given
    unsigned botSeed;          // --seed S: the seed of the first game
    int botProfile;            // --profile: kProfileNew (default) or kProfilePractised
    const char* botReplaysDir; // --bot-replays DIR: where the lost games' replays go; null: kept nowhere
    int checkArgc;             // --check-map: the arguments after it, for the checker
    char** checkArgv;
};

// Reads the arguments argv[1] to argv[argc - 1] (see printUsage). --map stores its PATH in
// gMapPath once it is a regular file that the map loader accepts. A bad option, or a file that
// cannot be used, prints what is wrong on standard output and asks for kRunExit with status 2.
void parseOptions(int argc, char** argv, Options* options);
