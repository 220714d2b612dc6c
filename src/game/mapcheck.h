// The map checker: reads a map exactly as the game does and reports what would spoil a game on it.
#pragma once

// Results of checkMap; the worst of them is the program's exit status.
constexpr int kMapCheckClean = 0;    // no problem found
constexpr int kMapCheckProblems = 1; // problems found in a map the game plays
constexpr int kMapCheckUnusable = 2; // the game refuses the map, or a file cannot be read or used

// Checks the map file at mapPath with the tile properties at propertiesPath; the map's music is
// looked for beside the properties, then in the game's data folder. Prints one line per cause, each
// beginning with mapPath and naming cells (x, y) of the author's map from 0, x the column: the first
// cell and how many. The loaders' messages; the layers Tiled shows otherwise than the game reads
// them; a map smaller than the screen; the deer start; too little grass, grass out of its layer,
// out of the deer's reach or hidden under a tile; markers out of their layer; the hunting spots;
// edges where the deer's figure passes the map's edge; tiles that are never drawn or have no tile
// in the sheet; missing music. Then a summary line ("MAP: no problems", "MAP: 3 problems"). A map
// or tile-property file that cannot be read or used gets one line instead. With gReportJson set, it
// prints the map's JSON object. Leaves the map loaded in the game's globals. Returns a result above.
int checkMap(const char* mapPath, const char* propertiesPath);

// The tile properties the checker reads when none are given: the game's "../Common/properties.tmx"
// when it is there from the working directory, else the one in the data folder beside the
// executable's ("BASE/../Common/properties.tmx", BASE the executable's folder). The text lives
// until the next call.
const char* defaultPropertiesPath();

// The checker's command line: the arguments after --check-map, "MAP.tmx... [--properties FILE]
// [--json]" in any order (after "--" only maps), or the older "MAP PROPERTIES" when the second file
// is tile properties. Checks each map and returns the program's exit status, the worst result, or 2
// after one line for arguments it cannot use. --json prints a JSON array of the maps' objects.
int runMapCheckCommand(int argc, char** argv);
