// The map checker: reads a map exactly as the game does and reports what would spoil a game on it.
#pragma once

// Results of checkMap, which are also the program's exit status.
constexpr int kMapCheckClean = 0;      // no problem found, nothing printed
constexpr int kMapCheckProblems = 1;   // problems found, one line each
constexpr int kMapCheckUnreadable = 2; // the map or the tile-property file cannot be opened

// Checks the map file at mapPath with the tile properties at propertiesPath. Prints one line per
// problem on standard output, each beginning with the map's file name and naming cells (x, y)
// from 0 with x the column: the loaders' messages; the deer start; too little grass, grass out of
// its layer or out of the deer's reach; the hunting spots; edges where the deer's figure passes
// the map's edge; tiles that are never drawn or have no tile in the sheet; missing music.
// Leaves the map loaded in the game's globals. Returns one of the results above.
int checkMap(const char* mapPath, const char* propertiesPath);

// The checker's command line: the arguments after --check-map, "MAP [PROPERTIES]". Runs the
// check and returns the program's exit status: checkMap's result, or 2 after one line for
// arguments it cannot use.
int runMapCheckCommand(int argc, char** argv);
