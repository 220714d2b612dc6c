// The command line: play, record, replay, the player program, the map checker, help and version.
#include "game/options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "world/datafile.h"
#include "world/map.h"

#ifndef VELMOOR_VERSION
#define VELMOOR_VERSION "unknown"
#endif

static const char kUsage[] = "Usage: velmoor [OPTION]...; velmoor --help lists the options.";
static const char kHelp[] =
    "Usage: velmoor [OPTION]...\n"
    "A deer crosses the snow in search of the last green grass; a hunter reads its tracks.\n"
    "With no option, the game plays the shipped level.\n"
    "\n"
    "  --map MAP.tmx            play MAP.tmx in place of the shipped level\n"
    "  --record FILE            also write the replay of the next game to FILE\n"
    "  --replay FILE            show a recorded game in the window (Esc stops it);\n"
    "                           --map gives its map when it is not the shipped one\n"
    "  --headless               with --replay: play it back without a window, as fast as\n"
    "                           the machine allows, and print how it ended\n"
    "  --bot GAMES              let the player program play GAMES games headless and\n"
    "                           print how many it won; --map gives the map\n"
    "  --seed S                 with --bot: the seed of the first game, for a repeatable summary\n"
    "  --profile new|practised  with --bot: a player new to the map (the default), or one who knows it\n"
    "  --bot-replays DIR        with --bot: keep the replays of the lost games in DIR\n"
    "  --check-map MAP.tmx...   check maps as the game reads them and print every problem;\n"
    "                           after it: --properties FILE (the tile properties),\n"
    "                           --json (the problems as JSON), --difficulty [GAMES] (the\n"
    "                           player program's win rates)\n"
    "  -h, --help               print this help and exit\n"
    "  --version                print the version and exit\n"
    "\n"
    "Exit status: 0 when all went well; 1 when the game could not start, a replay ended otherwise\n"
    "than recorded, or a checked map has problems; 2 for a bad option or a file that cannot be used.\n";

constexpr int kMaxBotGames = 1000000;

// Asks to exit with a bad option's status after one line: what is wrong, then how to call.
static void refuseOptions(Options* options, const char* problem, const char* argument) {
    printf("velmoor: %s %s. %s\n", problem, argument, kUsage);
    options->run = kRunExit;
    options->exitStatus = kExitBadOption;
}

static void refuseFile(Options* options) {
    options->run = kRunExit;
    options->exitStatus = kExitBadOption;
}

// Takes the map to play: a regular file whose path fits gMapPath and that the map loader accepts
// (its messages say why not). The globals it reads into are loaded again when a game starts.
static void takeMapPath(Options* options, const char* path) {
    FILE* file = nullptr;
    if (strlen(path) >= sizeof gMapPath) {
        printf("velmoor: the map's path is longer than %zu characters.\n", sizeof gMapPath - 1);
        refuseFile(options);
        return;
    }
    if (openDataFile(path, &file) != kOpenOk) {
        printf("velmoor: cannot read the map %s: %s.\n", path, describeOpenFailure());
        refuseFile(options);
        return;
    }
    snprintf(gMapPath, sizeof gMapPath, "%s", path);
    int musicNumber = -1;
    const int result = readMap(file, 0, &musicNumber);
    fclose(file);
    if (result != 0) {
        printf("\nvelmoor: the game cannot play %s; velmoor --check-map %s tells more.\n", path, path);
        gMapPath[0] = '\0';
        refuseFile(options);
    }
}

// Reads a whole number from 1 to limit; returns 0 when text is not one.
static long readCount(const char* text, long limit) {
    char* end = nullptr;
    const long value = strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= 1 && value <= limit ? value : 0;
}

void parseOptions(int argc, char** argv, Options* options) {
    *options = Options{};
    options->run = kRunGame;
    options->botProfile = kProfileNew;
    if (argc >= 2 && strcmp(argv[1], "--check-map") == 0) {
        options->run = kRunMapCheck;
        options->checkArgc = argc - 2;
        options->checkArgv = argv + 2;
        return;
    }
    const char* mapPath = nullptr;
    for (int i = 1; i < argc && options->run != kRunExit; i++) {
        const char* option = argv[i];
        const bool takesValue = strcmp(option, "--map") == 0 || strcmp(option, "--record") == 0 ||
                                strcmp(option, "--replay") == 0 || strcmp(option, "--bot") == 0 ||
                                strcmp(option, "--seed") == 0 || strcmp(option, "--profile") == 0 ||
                                strcmp(option, "--bot-replays") == 0;
        const char* value = takesValue && i + 1 < argc ? argv[i + 1] : nullptr;
        if (takesValue && value == nullptr) {
            refuseOptions(options, "a value must follow", option);
            break;
        }
        i += takesValue ? 1 : 0;
        if (strcmp(option, "-h") == 0 || strcmp(option, "--help") == 0) {
            fputs(kHelp, stdout);
            *options = Options{};
            options->run = kRunExit;
            return;
        } else if (strcmp(option, "--version") == 0) {
            printf("velmoor %s\n", VELMOOR_VERSION);
            *options = Options{};
            options->run = kRunExit;
            return;
        } else if (strcmp(option, "--map") == 0) {
            mapPath = value;
        } else if (strcmp(option, "--record") == 0) {
            options->recordPath = value;
        } else if (strcmp(option, "--replay") == 0) {
            options->replayPath = value;
        } else if (strcmp(option, "--headless") == 0) {
            options->headless = 1;
        } else if (strcmp(option, "--bot") == 0) {
            options->botGames = int(readCount(value, kMaxBotGames));
            if (options->botGames == 0) {
                refuseOptions(options, "--bot takes a number of games from 1 to 1000000, not", value);
            }
        } else if (strcmp(option, "--seed") == 0) {
            char* end = nullptr;
            const unsigned long long seed = strtoull(value, &end, 10);
            if (end == value || *end != '\0' || value[0] == '-' || seed > 0xFFFFFFFFULL) {
                refuseOptions(options, "--seed takes a whole number from 0 to 4294967295, not", value);
            }
            options->hasBotSeed = 1;
            options->botSeed = unsigned(seed);
        } else if (strcmp(option, "--profile") == 0) {
            if (strcmp(value, "new") == 0 || strcmp(value, "practised") == 0) {
                options->botProfile = strcmp(value, "new") == 0 ? kProfileNew : kProfilePractised;
            } else {
                refuseOptions(options, "--profile takes new or practised, not", value);
            }
        } else if (strcmp(option, "--bot-replays") == 0) {
            options->botReplaysDir = value;
        } else if (strcmp(option, "--check-map") == 0) {
            refuseOptions(options, "--check-map comes first, before any other option:", option);
        } else {
            refuseOptions(options, option[0] == '-' ? "unknown option" : "unexpected argument", option);
        }
    }
    if (options->run == kRunExit) {
        return;
    }

    // What the options ask for, and options that do not belong together.
    const bool botOnly = options->hasBotSeed || options->botReplaysDir != nullptr || options->botProfile != kProfileNew;
    if (options->replayPath != nullptr && options->botGames > 0) {
        refuseOptions(options, "--replay and --bot do not go together:", "choose one");
    } else if (options->recordPath != nullptr && (options->replayPath != nullptr || options->botGames > 0)) {
        refuseOptions(options, "--record goes only with a game played in the window, not with",
                      options->replayPath != nullptr ? "--replay" : "--bot");
    } else if (options->headless != 0 && options->replayPath == nullptr) {
        refuseOptions(options, "--headless goes with --replay:", "velmoor --replay FILE --headless");
    } else if (botOnly && options->botGames == 0) {
        refuseOptions(options, "--seed, --profile and --bot-replays go with --bot:", "velmoor --bot GAMES");
    } else {
        options->run = options->replayPath != nullptr ? kRunReplay : (options->botGames > 0 ? kRunBot : kRunGame);
    }
    if (options->run != kRunExit && mapPath != nullptr) {
        takeMapPath(options, mapPath);
    }
}
