// Start-up settings and the main loop between the title screen, a game and the settings screen.
#pragma once

constexpr int kMusicVolume = 8; // of 128
// The volume of each sound slot (snd00.wav to snd06.wav), of 128: the munching at full volume.
// The media generator and the loudness meter level and measure the sounds at these volumes.
constexpr int kSoundVolume[] = {25, 50, 50, 50, 128, 50, 50};

// Fixes the on-screen sizes: glyphs 1:1, tiles and sprites at twice their size in the images.
void fixRenderSizes();

// Sets the music volume and the volume of every sound slot.
void setVolumes();

// Shows the title screen and dispatches its choices until the player quits or closes the window.
// The first game is also recorded to recordPath when that is not null.
void runMainLoop(const char* recordPath);

struct Options;

// Runs what the options ask for: a headless replay without SDL's start-up; else starts up (SDL,
// the window, media, key bindings, volumes), plays or shows a replay, and shuts down on every way
// out. Returns the program's exit status: 1 when start-up failed (the failing step has printed
// its line), a replay's result, or 0.
int runProgram(const Options* options);
