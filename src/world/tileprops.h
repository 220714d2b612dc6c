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
// line feed. Returns 1 when it was there, 0 when not: the character read is lost, unless it is the
// '<' of markup (the end of a block that is short of rows), which is left in the stream.
int readRowBreak(FILE* file);

// The next character of the stream, left in it; EOF at the end.
int peekTmxChar(FILE* file);

// True for the white space that scanf skips.
bool isTmxWhiteSpace(int c);

// Reads one number the way scanf's "%d" followed by the terminator does: optional white space, an
// optional sign, decimal digits, then terminator, consumed when present. Returns 1 with the value
// in *value (held within -kTmxNumberLimit..kTmxNumberLimit) when the digits end at the terminator,
// white space, markup ('<') or the end of the file. Returns 0 for a token that is not a number
// (x, 2x1, 1.5): the whole token is consumed up to its end, a terminator with it, so it counts as
// one value; markup ('<') is never consumed. Returns -1 when the file ended first.
constexpr long long kTmxNumberLimit = 1LL << 40;
int readTmxNumber(FILE* file, int terminator, long long* value);
