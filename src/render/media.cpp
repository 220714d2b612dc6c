// The SDL back end: set-up, media loading, fullscreen, music and the orderly shutdown.
#include "render/media.h"

#include <SDL_image.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>

SDL_Window* gWindow = nullptr;
SDL_Renderer* gRenderer = nullptr;
SDL_Texture* gTexture[kTextureSlots] = {};
const char gTexturePath[kTextureSlots][kTexturePathSize] = {
    "../Common/Deer.png", "../Common/Hunter.png", "../Common/Title.png", "../Common/GameOver.png", "../Common/Win.png",
    "../Common/Font.png", "../Common/Tiles.png",  "../Common/Icon.png",  "../Common/Snow.png",
};
Mix_Chunk* gSnd[kSoundSlots] = {};
Mix_Music* gMus = nullptr;
char gMusicFilePath[kMusicFilePathSize] = {};
int gIsFullscreen = 0;
int gAudioOpen = 0;

constexpr int kAudioFrequency = 44100; // Hz
constexpr int kAudioChannels = 2;      // stereo
constexpr int kAudioChunkSize = 2048;  // sample frames per mixing call
constexpr int kMaxMusicNumber = 99;    // two digits in the file name
constexpr const char* kDataFolder = "../Common/";
// What a player does about a missing or broken data file.
constexpr const char* kRestoreAdvice = "reinstall Velmoor, or restore the file from the source tree's Common/";

// Whether an environment variable is set to something other than the empty text.
static int isSet(const char* name) {
    const char* value = SDL_getenv(name);
    return value != nullptr && value[0] != '\0';
}

// Where windows come from an X or Wayland server, SDL without one falls back on drivers that
// show nothing: 0 when no server is named and the player chose no video driver either.
static int hasDisplay() {
#if defined(__unix__) && !defined(__ANDROID__)
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("SDL_VIDEODRIVER");
#else
    return 1;
#endif
}

// Opens the audio device; without one the game plays on silently, which is said once.
static void openAudio() {
    if (Mix_OpenAudio(kAudioFrequency, AUDIO_S16LSB, kAudioChannels, kAudioChunkSize) < 0) {
        printf("SDL_mixer could not initialize! SDL_mixer Error: %s; Velmoor plays without sound (SDL_AUDIODRIVER "
               "chooses another audio driver).\n",
               SDL_GetError());
        gAudioOpen = 0;
        return;
    }
    gAudioOpen = 1;
}

int initializeSDL() {
    if (hasDisplay() == 0) {
        printf("Velmoor needs a display, and neither DISPLAY nor WAYLAND_DISPLAY is set; start it from a desktop "
               "session, or choose a video driver with SDL_VIDEODRIVER.\n");
        return 1;
    }
    // Audio comes up with the mixer below, so a missing sound device cannot stop the game here.
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        printf("SDL could not initialize! SDL Error: %s; check that the display can be reached, or choose another "
               "video driver with SDL_VIDEODRIVER.\n",
               SDL_GetError());
        return 1;
    }
    gWindow = SDL_CreateWindow("Velmoor", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kScreenWidth, kScreenHeight,
                               SDL_WINDOW_SHOWN);
    if (gWindow == nullptr) {
        printf("Window could not be created! SDL Error: %s; check that the display can be reached, or choose another "
               "video driver with SDL_VIDEODRIVER.\n",
               SDL_GetError());
        return 1;
    }
    gRenderer = SDL_CreateRenderer(gWindow, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (gRenderer == nullptr) {
        printf("Renderer could not be created! SDL Error: %s; SDL_RENDER_DRIVER=software draws without graphics "
               "acceleration.\n",
               SDL_GetError());
        return 1;
    }
    SDL_SetRenderDrawColor(gRenderer, 0, 0, 0, 255);
    SDL_SetRenderDrawBlendMode(gRenderer, SDL_BLENDMODE_BLEND);
    if ((IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG) == 0) {
        printf("SDL_image could not initialize! SDL_image Error: %s; reinstall SDL2_image with its PNG support "
               "(Debian: libsdl2-image-2.0-0).\n",
               SDL_GetError());
        return 1;
    }
    openAudio();
    return 0;
}

// Says, in one line, that the data folder is missing: the game was started from the wrong place.
static int reportMissingDataFolder() {
    struct stat status;
    if (stat(kDataFolder, &status) == 0 && S_ISDIR(status.st_mode)) {
        return 0;
    }
    char here[PATH_MAX];
    printf("Velmoor cannot find its data: there is no folder %s beside %s; start the installed game with the "
           "velmoor command, or from the source tree with scripts/run.sh.\n",
           kDataFolder, getcwd(here, sizeof here) != nullptr ? here : "the folder it started in");
    return 1;
}

int loadMedia() {
    if (reportMissingDataFolder() != 0) {
        return 1;
    }
    int failed = 0;
    for (int slot = 0; slot < kTextureSlots; slot++) {
        SDL_Surface* surface = IMG_Load(gTexturePath[slot]);
        if (surface == nullptr) {
            printf("Unable to load image %s! SDL Error: %s; %s.\n", gTexturePath[slot], SDL_GetError(), kRestoreAdvice);
            failed = 1;
            continue;
        }
        SDL_SetColorKey(surface, SDL_TRUE, SDL_MapRGB(surface->format, 255, 0, 255));
        gTexture[slot] = SDL_CreateTextureFromSurface(gRenderer, surface);
        if (gTexture[slot] == nullptr) {
            printf("Unable to create texture from %s! SDL Error: %s; SDL_RENDER_DRIVER=software may draw it.\n",
                   gTexturePath[slot], SDL_GetError());
            failed = 1;
        }
        SDL_FreeSurface(surface);
    }
    // Without an audio device the sounds stay unloaded: playing a null chunk does nothing.
    for (int slot = 0; slot < kSoundSlots && gAudioOpen != 0; slot++) {
        char path[20];
        snprintf(path, sizeof path, "../Common/snd%02d.wav", slot);
        // Keep the file's own error: the loader would only report a missing stream.
        SDL_RWops* stream = SDL_RWFromFile(path, "rb");
        gSnd[slot] = stream != nullptr ? Mix_LoadWAV_RW(stream, 1) : nullptr;
        if (gSnd[slot] == nullptr) {
            printf("Failed to load snd%02d sound effect! SDL_mixer Error: %s; %s.\n", slot, SDL_GetError(),
                   kRestoreAdvice);
            failed = 1;
        }
    }
    return failed;
}

void toggleFullscreen() {
    // Where the window stood before it went fullscreen; set on each switch to fullscreen.
    static int WindowedX;
    static int WindowedY;
    if (gIsFullscreen != 0) {
        SDL_SetWindowFullscreen(gWindow, 0);
        // Some video drivers keep the fullscreen size: the window is 800 x 600 again, where it was.
        SDL_SetWindowSize(gWindow, kScreenWidth, kScreenHeight);
        SDL_SetWindowPosition(gWindow, WindowedX, WindowedY);
        SDL_RenderSetLogicalSize(gRenderer, 0, 0);
        gIsFullscreen = 0;
    } else {
        // The display keeps its own mode, which need not offer 800 x 600: the renderer scales the
        // 800 x 600 picture to fill it with its shape kept, and the bars beside it are cleared
        // black. The window first covers the display itself, for X servers without a window
        // manager, which would leave it at 800 x 600.
        SDL_GetWindowPosition(gWindow, &WindowedX, &WindowedY);
        SDL_Rect display;
        if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(gWindow), &display) == 0) {
            SDL_SetWindowPosition(gWindow, display.x, display.y);
            SDL_SetWindowSize(gWindow, display.w, display.h);
        }
        SDL_SetWindowFullscreen(gWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
        SDL_RenderSetLogicalSize(gRenderer, kScreenWidth, kScreenHeight);
        gIsFullscreen = 1;
    }
}

void playMusic(const char* path) {
    if (gAudioOpen == 0) {
        return;
    }
    // Stop and release the piece being replaced, so a run of many pieces holds only one.
    Mix_HaltMusic();
    Mix_FreeMusic(gMus);
    gMus = path != nullptr ? Mix_LoadMUS(path) : nullptr;
    if (gMus != nullptr) {
        Mix_PlayMusic(gMus, -1);
    }
}

void playNumberedMusic(int musicNumber) {
    if (musicNumber < 0 || musicNumber > kMaxMusicNumber) {
        playMusic(nullptr);
        return;
    }
    snprintf(gMusicFilePath, sizeof gMusicFilePath, "../Common/mus%02d.mid", musicNumber);
    playMusic(gMusicFilePath);
}

void closeSDL() {
    for (int slot = 0; slot < kTextureSlots; slot++) {
        SDL_DestroyTexture(gTexture[slot]);
        gTexture[slot] = nullptr;
    }
    // Music and sounds are loaded only while the audio device is open.
    if (gAudioOpen != 0) {
        Mix_FreeMusic(gMus);
        for (Mix_Chunk* sound : gSnd) {
            Mix_FreeChunk(sound);
        }
    }
    gMus = nullptr;
    std::fill(gSnd, gSnd + kSoundSlots, nullptr);
    SDL_DestroyRenderer(gRenderer);
    gRenderer = nullptr;
    SDL_DestroyWindow(gWindow);
    gWindow = nullptr;
    // Close the device the mixer opened: left open, a later start-up in the same process finds
    // the mixer "open" on a device that SDL_Quit has ended, and no sound plays.
    if (gAudioOpen != 0) {
        // No channels first: SDL_mixer keeps its channel count after closing and would halt freed
        // channels when the end screen's halt-all comes after a silent restart in the same process.
        Mix_AllocateChannels(0);
        Mix_CloseAudio();
        Mix_Quit();
        gAudioOpen = 0;
    }
    IMG_Quit();
    SDL_Quit();
}
