// The pause: the game held, its last frame kept on screen under a box saying how to go on or leave.
#pragma once

#include <SDL.h>

struct PlayState;

// Results of pauseGame.
constexpr int kPauseGoOn = 0;  // the pause key again: the game goes on
constexpr int kPauseLeave = 1; // the confirm key: the game is left for the title
constexpr int kPauseQuit = 2;  // the window was closed

// The key that pauses a game and goes on from the pause: Escape, or Pause when Escape is bound to
// an action. When both are bound, Escape, which then only goes on from a pause the window's focus
// brought (isPauseKeyFree says so).
SDL_Keycode findPauseKey();

// True when findPauseKey's key is bound to no action, so that it pauses the game.
bool isPauseKeyFree();

// A game's frames are drawn into a kept copy of the screen, so that a pause can show the last one
// again (a frame cannot be drawn twice: drawing it ages the tracks and moves the snow). Starts
// drawing a frame into the copy; with a renderer that cannot draw into textures, drawing goes to
// the window as before.
void beginKeptFrame();

// Ends the frame begun by beginKeptFrame: drawing goes to the window again, which gets the kept
// frame, ready to be presented.
void endKeptFrame();

// Holds the game: music and sounds pause, the last kept frame shows, darkened, under the pause
// box, until the pause key goes on (music and sounds resume), the confirm key leaves (sounds and
// music stop) or the window is closed. Meanwhile other key presses and releases only set state's
// held flags, so that the game goes on with the keys as they are; the fullscreen key switches.
// Returns one of the results above.
int pauseGame(PlayState* state);
