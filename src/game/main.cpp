// Velmoor's entry: the options, start-up, the main loop, and the shutdown on every way out.
#include <SDL.h>
#include <SDL_main.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "game/bindings.h"
#include "game/mapcheck.h"
#include "game/options.h"
#include "game/startup.h"
#include "render/media.h"

int SDL_main(int argc, char** argv) {
    // The options come first: checking a map or refusing an option opens no window.
    Options options;
    parseOptions(argc, argv, &options);
    if (options.run == kRunExit) {
        return options.exitStatus;
    }
    if (options.run == kRunMapCheck) {
        return checkMap(options.checkedMap, options.checkedProperties);
    }
    srand(unsigned(time(nullptr)));
    if (initializeSDL() != 0) {
        printf("Failed to initialize!\n");
    } else if (loadMedia() != 0) {
        printf("Failed to load media!\n");
    } else {
        fixRenderSizes();
        loadBindings(kSettingsPath);
        setVolumes();
        runMainLoop();
    }
    closeSDL();
    return 0;
}

#if !defined(SDL_MAIN_NEEDED) && !defined(SDL_MAIN_AVAILABLE)
// Where SDL does not supply the real entry point, a plain main calls SDL_main.
int main(int argc, char** argv) { return SDL_main(argc, argv); }
#endif
