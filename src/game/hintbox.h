// Boxes of text over the game in the tutorial's style: a white box, a black outline, font style 3.
#pragma once

#include <SDL.h>

constexpr int kHintTextInset = 5;  // the text starts this many pixels right of and below the box's corner
constexpr int kHintTextSize = 512; // bytes of a box's text, with its terminating zero

// A box's text, put together from pieces (key names among them: SDL_GetKeyName reuses its buffer).
struct HintText {
    char text[kHintTextSize];
    int length;
};

// Appends a piece to the text; what does not fit is left out.
void addHintPiece(HintText* text, const char* piece);

// The box that holds the text written from box's text corner with the right limit rightMargin
// pixels inside its right edge: box grown downwards by the lines the text needs beyond those box
// holds (a long key name). With fitWidth, a text of one line gets a box just as wide as it needs.
SDL_Rect fitHintBox(const SDL_Rect* box, int rightMargin, const HintText* text, bool fitWidth);

// Draws the box, then the text from its text corner, wrapped as fitHintBox measured it. Draws
// nothing without a renderer.
void renderHintBox(const SDL_Rect* box, int rightMargin, const HintText* text);

// True when box (screen pixels) comes within 16 pixels of the deer's figure on screen.
bool coversDeer(const SDL_Rect* box);
