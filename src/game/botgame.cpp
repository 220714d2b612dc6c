// The player program: plays games headless through the eight actions and measures a level's win rate.
#include "game/botgame.h"

#include <cstdio>

#include "game/options.h"

int runBot(const Options* options) {
    (void)options;
    printf("velmoor: the player program is not ready yet.\n");
    return kExitBadOption;
}
