// The settings screen: bind the eight actions anew in order and save them to Settings.bin.
#pragma once

#include <SDL.h>

constexpr int kFirstSettingsStep = 9; // steps 9..2 bind the actions, 1 waits for any key, 0 ends

// Handles one key press at a settings step and returns the next step. A key already bound
// earlier in this pass rings the bell and keeps the step; the screen then says which action has it.
int applySettingsKey(int step, SDL_Keycode key);

// Draws the settings screen for a step into the current frame, with the pad's layout below.
void renderSettings(int step);

// Runs the settings screen and saves. Returns 0 when the window was closed (nothing saved),
// 1 when the bindings were saved, 2 when saving failed: one line on standard output says why, the
// old file is left as it was and the new bindings stay in effect.
int adjustSettings();
