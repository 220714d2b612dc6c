// The command line: play the shipped level, play a map file from anywhere, or check a map.
#pragma once

// What the program does after reading its options.
constexpr int kRunGame = 0;     // play, on the map of gMapPath when --map gave one
constexpr int kRunMapCheck = 1; // check a map and exit with the checker's status
constexpr int kRunExit = 2;     // exit at once with exitStatus: --help, a bad option, an unreadable map

constexpr int kExitBadOption = 2; // the status of a bad option or an unreadable file

struct Options {
    int run;                       // kRunGame, kRunMapCheck or kRunExit
    int exitStatus;                // for kRunExit: 0 after --help, kExitBadOption otherwise
    const char* checkedMap;        // --check-map MAP
    const char* checkedProperties; // its PROPERTIES: the game's own ../Common/properties.tmx unless given
};

// Reads the arguments argv[1] to argv[argc - 1]: none, "--map PATH", "--check-map MAP [PROPERTIES]"
// or "--help". --map stores PATH in gMapPath once the file opens for reading. Anything else, or a
// map that cannot be read, prints one line on standard output and asks for kRunExit with status 2.
void parseOptions(int argc, char** argv, Options* options);
