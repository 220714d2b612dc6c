// How the map and tile-property loaders report a problem: as the game's message, or as a line of the map checker.
#pragma once

constexpr int kReportNameSize = 256; // a file's name in messages, with its terminating zero

extern char gCheckedMapName[kReportNameSize]; // the map the checker reports on; empty while the game runs
extern int gLoaderMessages;                   // loader messages printed since the program started

// Prints one message about the file named file; a layer above 0 names the layer (data block) at
// fault. The game prints "\nError loading FILE at layer N: TEXT" ("\nError loading FILE: TEXT"
// without a layer); while a map is checked the line reads "MAP: layer N: TEXT", with FILE after
// "MAP: " when it is another file (the tile properties).
void reportLoadError(const char* file, int layer, const char* format, ...) __attribute__((format(printf, 3, 4)));

// Prints the message for a row of the layer that does not start on a line of its own:
// "\nError loading FILE at layer N." in the game.
void reportMissingRowBreak(const char* file, int layer);

// The last part of path, after its last '/'.
const char* baseName(const char* path);
