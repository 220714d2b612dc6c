// The SDL back end: window, renderer, audio device, textures, sound effects, music, shutdown.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kTextureSlots = 9;
constexpr int kSoundSlots = 7;
constexpr int kTexturePathSize = 32;
constexpr int kMusicFilePathSize = 20; // "../Common/musNN.mid" and its terminating zero

// Texture slots.
constexpr int kTextureDeer = 0;
constexpr int kTextureHunter = 1;
constexpr int kTextureTitle = 2;
constexpr int kTextureGameOver = 3;
constexpr int kTextureWin = 4;
constexpr int kTextureFont = 5;
constexpr int kTextureTiles = 6;
constexpr int kTextureIcon = 7;
constexpr int kTextureSnow = 8;

// Sound slots.
constexpr int kSoundMenu = 0;
constexpr int kSoundFootstep = 1;
constexpr int kSoundDanger = 2;
constexpr int kSoundSniff = 3;
constexpr int kSoundEating = 4;
constexpr int kSoundSafe = 5;
constexpr int kSoundGunshot = 6;

extern SDL_Window* gWindow;                                      // the one window
extern SDL_Renderer* gRenderer;                                  // the one renderer, bound to gWindow
extern SDL_Texture* gTexture[kTextureSlots];                     // one texture per slot
extern const char gTexturePath[kTextureSlots][kTexturePathSize]; // image file of each slot
extern Mix_Chunk* gSnd[kSoundSlots];                             // one sound effect per slot
extern Mix_Music* gMus;                                          // the music loaded last
extern char gMusicFilePath[kMusicFilePathSize];                  // path of the last numbered music
extern int gIsFullscreen;                                        // 1 while fullscreen
extern int gAudioOpen;                                           // 1 while the audio device is open

// Brings up SDL, the window, the renderer, the PNG loader and the audio device. Returns 0 when the
// window is ready, 1 at the first failing step (after printing its one line); without a display
// (no DISPLAY, WAYLAND_DISPLAY or SDL_VIDEODRIVER) it says so and tries nothing. An audio device
// that cannot be opened is not a failure: one line says the game plays silently, gAudioOpen is 0.
int initializeSDL();

// Loads all nine images and, while the audio device is open, the seven sounds, trying each even
// after a failure. Returns 0 when all loaded, 1 when any failed: each failure printed with what to
// do, or one line alone when there is no ../Common/ folder at all.
int loadMedia();

// Flips the window between windowed (800 x 600) and fullscreen on its display, where the 800 x 600
// picture is scaled to fill the screen with its shape kept; screens clear black for the bars.
void toggleFullscreen();

// Loads the music at path into gMus, releasing the piece it replaces, and plays it looping.
// A file that does not load, a null path or a closed audio device leaves no music playing;
// nothing is printed.
void playMusic(const char* path);

// Formats "../Common/mus%02d.mid" into gMusicFilePath and plays it looping. A number outside
// 0 to 99 has no file name and plays nothing.
void playNumberedMusic(int musicNumber);

// Releases everything in order and shuts SDL down; safe after a partial start-up.
void closeSDL();
