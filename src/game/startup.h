// Start-up settings and the main loop between the title screen, a game and the settings screen.
#pragma once

constexpr int kMusicVolume = 8; // of 128

// Fixes the on-screen sizes: glyphs 1:1, tiles and sprites at twice their size in the images.
void fixRenderSizes();

// Sets the music volume and the volume of every sound slot.
void setVolumes();

// Shows the title screen and dispatches its choices until the player quits or closes the window.
void runMainLoop();
