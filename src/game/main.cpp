// Velmoor's entry: the options, then the game, a replay, the player program or the map checker.
#include <SDL.h>
#include <SDL_main.h>

#include "game/mapcheck.h"
#include "game/options.h"
#include "game/startup.h"

int SDL_main(int argc, char** argv) {
    // The options come first: checking a map or refusing an option opens no window.
    Options options;
    parseOptions(argc, argv, &options);
    switch (options.run) {
    case kRunExit: return options.exitStatus;
    case kRunMapCheck: return runMapCheckCommand(options.checkArgc, options.checkArgv);
    default: return runProgram(&options);
    }
}

#if !defined(SDL_MAIN_NEEDED) && !defined(SDL_MAIN_AVAILABLE)
// Where SDL does not supply the real entry point, a plain main calls SDL_main.
int main(int argc, char** argv) { return SDL_main(argc, argv); }
#endif
