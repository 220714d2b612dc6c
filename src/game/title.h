// The title screen and its three-entry menu.
#pragma once

#include <SDL.h>

// Menu entries; the value is also the title screen's result.
constexpr int kMenuQuit = 0;
constexpr int kMenuStartGame = 1;
constexpr int kMenuSettings = 2;
constexpr int kMenuFrameX = 135;
constexpr int kMenuFrameWidth = 190;
constexpr int kMenuFrameHeight = 50;

// Top edge of the selection frame around an entry.
int findMenuFrameTop(int menuSelection);

// The entry above (direction -1) or below (+1) the given one, wrapping around.
int moveMenuSelection(int menuSelection, int direction);

// Draws one pass of the title screen (image, selection frame, key hint) without presenting it.
void renderTitleScreen(int menuSelection);

// Takes one event of the title screen: keys by their bindings (fullscreen, up, down, confirm; a
// confirm's repeat does not count), a pad by its layout. Returns the entry chosen, or -1.
int readTitleEvent(const SDL_Event* event, int* menuSelection);

// Runs the title screen until the player decides: 0 quit (also a closed window), 1 play, 2 settings.
int displayTitleScreen();
