// The command line: play the shipped level, play a map file from anywhere, or check a map.
#include "game/options.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "world/map.h"

static const char kUsage[] = "Usage: velmoor [--map MAP.tmx | --check-map MAP.tmx [PROPERTIES.tmx]]";
static const char kGamePropertiesPath[] = "../Common/properties.tmx";

// Asks to exit with a bad option's status after one line: what is wrong, then how to call.
static void refuseOptions(Options* options, const char* problem, const char* argument) {
    printf("velmoor: %s %s. %s\n", problem, argument, kUsage);
    options->run = kRunExit;
    options->exitStatus = kExitBadOption;
}

// Takes the map to play; refuses a path that does not fit gMapPath or a file that does not open.
static void takeMapPath(Options* options, const char* path) {
    if (strlen(path) >= sizeof gMapPath) {
        printf("velmoor: the map's path is longer than %zu characters.\n", sizeof gMapPath - 1);
    } else if (FILE* file = fopen(path, "r"); file == nullptr) {
        printf("velmoor: cannot read the map %s: %s.\n", path, strerror(errno));
    } else {
        fclose(file);
        snprintf(gMapPath, sizeof gMapPath, "%s", path);
        return;
    }
    options->run = kRunExit;
    options->exitStatus = kExitBadOption;
}

void parseOptions(int argc, char** argv, Options* options) {
    *options = Options{kRunGame, 0, nullptr, kGamePropertiesPath};
    if (argc < 2) {
        return;
    }
    const char* option = argv[1];
    const int operands = argc - 2; // arguments after the option
    if (strcmp(option, "--help") == 0) {
        printf("%s\n", kUsage);
        options->run = kRunExit;
    } else if (strcmp(option, "--map") == 0 && operands == 1) {
        takeMapPath(options, argv[2]);
    } else if (strcmp(option, "--check-map") == 0 && (operands == 1 || operands == 2)) {
        options->run = kRunMapCheck;
        options->checkedMap = argv[2];
        if (operands == 2) {
            options->checkedProperties = argv[3];
        }
    } else if (strcmp(option, "--map") == 0 || strcmp(option, "--check-map") == 0) {
        refuseOptions(options, operands == 0 ? "a map file must follow" : "too many files after", option);
    } else {
        refuseOptions(options, option[0] == '-' ? "unknown option" : "unexpected argument", option);
    }
}
