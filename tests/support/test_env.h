// Helpers for in-process tests: a private copy of Common/, headless SDL, pixels read back.
#pragma once

#include <SDL.h>

#include <string>

// Makes a fresh temporary folder holding a copy of the repo's Common/ (only the files named in
// files, or all when files is empty) and a working folder beside it, and changes into that
// working folder so that "../Common/" is the copy. Returns the copy's path.
std::string enterTempCommon(const char* const* files = nullptr, int fileCount = 0);

// Writes text into a file of the current temporary Common/ copy.
void writeCommonFile(const std::string& name, const std::string& text);

// Brings up SDL on the dummy drivers with an 800 x 600 window and a software renderer in
// gWindow and gRenderer, and opens the audio device. Safe to call more than once.
void startHeadlessSDL();

// Loads the textures and sounds of the current Common/ copy into the media slots.
void loadHeadlessMedia();

// The colour of one pixel of the current frame (before present).
SDL_Color readPixel(int x, int y);

// Puts a key event into SDL's queue.
void pushKey(SDL_EventType type, SDL_Keycode key, int repeat = 0);
