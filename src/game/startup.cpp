// Start-up settings and the main loop between the title screen, a game and the settings screen.
#include "game/startup.h"

#include <cstdio>

#include "game/bindings.h"
#include "game/botgame.h"
#include "game/options.h"
#include "game/play.h"
#include "game/replaygame.h"
#include "game/title.h"
#include "input/input.h"
#include "render/font.h"
#include "render/mapview.h"
#include "render/media.h"
#include "settings/settings.h"
#include "world/datafile.h"

static_assert(sizeof kSoundVolume / sizeof kSoundVolume[0] == kSoundSlots, "one volume per sound slot");

void fixRenderSizes() {
    gCharacterWidthToRender = gCharacterWidthInFile;
    gCharacterHeightToRender = gCharacterHeightInFile;
    gTileWidthToRender = 2 * gTileWidthInFile;
    gTileHeightToRender = 2 * gTileHeightInFile;
    gPlayerWidthToRender = 2 * gPlayerWidthInFile;
    gPlayerHeightToRender = 2 * gPlayerHeightInFile;
}

void setVolumes() {
    Mix_VolumeMusic(kMusicVolume);
    for (int slot = 0; slot < kSoundSlots; slot++) {
        Mix_VolumeChunk(gSnd[slot], kSoundVolume[slot]);
    }
}

void runMainLoop(const char* recordPath) {
    int titleMusicWanted = 1;
    int result = 1;
    while (result != 0) {
        if (titleMusicWanted != 0) {
            playMusic("../Common/mus00.mid");
            titleMusicWanted = 0;
        }
        result = displayTitleScreen();
        if (result == kMenuStartGame) {
            result = play(recordPath);
            recordPath = nullptr; // --record takes the next game only
            titleMusicWanted = 1; // the end screen replaced the music
        } else if (result == kMenuSettings) {
            result = adjustSettings();
        }
    }
}

// A gamecontrollerdb.txt beside Settings.bin adds pad mappings to those SDL knows.
static const char kPadMappingsPath[] = "../Common/gamecontrollerdb.txt";
constexpr int kPadMappingsSize = 1 << 20; // a larger file is not read

// Starts the pads, with the mappings of kPadMappingsPath when it is a regular file.
static void startGamePads() {
    static char Mappings[kPadMappingsSize]; // the file's text; read once at start-up
    FILE* file = nullptr;
    int size = 0;
    if (openDataFile(kPadMappingsPath, &file) == kOpenOk) {
        size = int(fread(Mappings, 1, sizeof Mappings, file));
        fclose(file);
        if (size == int(sizeof Mappings)) {
            printf("velmoor: %s is larger than 1 MB and is not read; the pads SDL knows still work.\n",
                   kPadMappingsPath);
            size = 0;
        }
    }
    if (startPads(size > 0 ? Mappings : nullptr, size) < 0) {
        printf("velmoor: %s holds no pad mapping SDL can read; the pads SDL knows still work.\n", kPadMappingsPath);
    }
}

int runProgram(const Options* options) {
    if (options->run == kRunReplay && options->headless != 0) {
        return playReplayHeadless(options->replayPath);
    }
    if (options->run == kRunBot) {
        return runBot(options);
    }
    int status = 0;
    // Each failing step prints its own line saying what is wrong; the program then ends with 1.
    if (initializeSDL() != 0 || loadMedia() != 0) {
        status = 1;
    } else {
        fixRenderSizes();
        loadBindings(kSettingsPath);
        setVolumes();
        startGamePads();
        if (options->run == kRunReplay) {
            status = watchReplay(options->replayPath);
        } else {
            runMainLoop(options->recordPath);
        }
    }
    stopPads();
    closeSDL();
    return status;
}
