// Tile properties: which tiles block movement, block sight and shots, and in which pass they are drawn.
#pragma once

#include <cstdint>
#include <cstdio>

constexpr int kTileIdCount = 4097;   // tile ids 0 to 4096 have table entries
constexpr int kTilePropertyRows = 3; // each property grid in properties.tmx is 3 x 64
constexpr int kTilePropertyColumns = 64;

extern uint8_t gTileTypeMovement[kTileIdCount];    // nonzero: a cell holding this tile blocks movement
extern uint8_t gTileTypeProjectiles[kTileIdCount]; // nonzero: blocks projectiles and sight (0..63)
extern uint8_t gTileTypeOverlay[kTileIdCount];     // drawing pass of the tile, 0 = never drawn (0..111)

// Reads "../Common/properties.tmx" into the three tables (entries 1 to 192; entry 0 cleared).
// Returns 0 when the file was opened and read, 1 when it could not be opened (tables unchanged).
int loadTileProperties();

// Reads tile properties from an open text stream; same rules and messages as loadTileProperties.
void readTileProperties(FILE* file);

// The text scanning that the tile-property and map loaders share.

// Moves the stream to just past the next occurrence of literal. Returns 1 when found, 0 when the
// end of the file came first.
int scanPastLiteral(FILE* file, const char* literal);

// Reads the line break that must open a row of values: a line feed, or a carriage return and a
// line feed. Returns 1 when it was there, 0 when not (the character read is lost).
int readRowBreak(FILE* file);

// Reads one number the way scanf's "%d" followed by the terminator does: optional white space, an
// optional sign, decimal digits, then terminator, consumed when present. Returns 1 with the value
// in *value (held within -kTmxNumberLimit..kTmxNumberLimit) when digits were read; 0 when a
// character that is not a digit came instead (white space and a sign are consumed, that character
// is not); -1 when the file ended first.
constexpr long long kTmxNumberLimit = 1LL << 40;
int readTmxNumber(FILE* file, int terminator, long long* value);
