// The end screens: victory and death, each an image with its own music until a key is pressed.
#pragma once

constexpr int kEndScreenPauseMs = 1000;

// Shows the image of textureSlot with music number musicNumber. Returns 0 when the window was
// closed, 1 when a key was pressed.
int displayGameOverScreen(int textureSlot, int musicNumber);
