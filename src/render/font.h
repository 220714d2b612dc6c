// Text drawn from the bitmap font sheet, with word wrap and a cursor carried across calls.
#pragma once

constexpr int gCharacterWidthInFile = 10; // glyph cell in Font.png, pixels
constexpr int gCharacterHeightInFile = 15;
constexpr int kFontColumns = 16; // a style is 16 x 6 glyph cells
constexpr int kFontRows = 6;
constexpr int kLineHeight = 15; // pixels per line feed and wrap

extern int gCharacterWidthToRender; // glyph size on screen, pixels
extern int gCharacterHeightToRender;
extern int gTextX; // text cursor: top-left corner of the next glyph, screen pixels
extern int gTextY;

// Finds a character's cell in the character map. Returns 0 and sets *row, *column for a
// character with a glyph, 1 for one without, 2 for the line feed.
int findGlyph(char character, int* row, int* column);

// Draws one character at (x, y). Returns 0 drawn, 1 no glyph, 2 line feed (nothing drawn).
int renderCharacter(int x, int y, char character, int fontStyle);

// Draws the digit 0..9 at (x, y) and returns 0; returns 1 without drawing for other values.
int renderDigit(int x, int y, int digit, int fontStyle);

// Draws text at the cursor, word-wrapping at rightLimit and starting new lines at leftMargin.
// Moves the cursor; returns 0.
int renderText(int leftMargin, int rightLimit, const char* text, int fontStyle);

// Moves the cursor exactly as renderText would, drawing nothing: measures where a text ends.
void moveTextCursor(int leftMargin, int rightLimit, const char* text);
