// Helpers for in-process tests: a private copy of Common/, headless SDL, pixels read back.
#pragma once

#include <SDL.h>

#include <string>

// Copies the repo's Common/ (the files named, or all but Settings.bin) into a fresh temporary
// folder and changes into a folder beside it, so that "../Common/" is the copy. Returns its path.
std::string enterTempCommon(const char* const* files = nullptr, int fileCount = 0);

// Writes text into a file of the current temporary Common/ copy.
void writeCommonFile(const std::string& name, const std::string& text);

// Brings up SDL, once, on the dummy drivers and the software renderer, with the game's render sizes.
void startHeadlessSDL();

// Loads the textures and sounds of the current Common/ copy into the media slots.
void loadHeadlessMedia();

// The colour of one pixel of the current frame (before present).
SDL_Color readPixel(int x, int y);

// Puts a key event into SDL's queue.
void pushKey(SDL_EventType type, SDL_Keycode key, int repeat = 0);

// Puts in a texture slot a sheet of columns x rows cells, each one opaque colour that codes it (red
// 3 column + 1, green 8 row + 1, the given blue to tell sheets apart), and clears the frame.
void installCodedSheet(int slot, int columns, int rows, int cellWidth, int cellHeight, Uint8 blue = 128);

// The coded cell of the sheet with that blue seen at a screen point, as column * 100 + row, or -1.
int codedCellAt(int x, int y, Uint8 blue = 128);
