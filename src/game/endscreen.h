// The end screens: victory and death, each an image with its own music until a key is pressed anew.
#pragma once

constexpr int kEndScreenPauseMs = 1000;

// Shows the image of textureSlot with music number musicNumber after a one-second pause whose key
// presses do not count. Only a key pressed after the pause leaves it: a key held down from the game
// and key repeats do not. Returns 0 when the window was closed (also during the pause), 1 when a
// key was pressed.
int displayGameOverScreen(int textureSlot, int musicNumber);
