// How the loaders report a problem: the game's message lines, or the map checker's lines.
#include "world/loadreport.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

char gCheckedMapName[kReportNameSize];
int gLoaderMessages;

static bool isCheckingMap() { return gCheckedMapName[0] != '\0'; }

// The start of a message: the game's "\nError loading FILE[ at layer N]", or the checker's
// "MAP: [FILE ][layer N: ]".
static void printMessageStart(const char* file, int layer) {
    gLoaderMessages++;
    if (!isCheckingMap()) {
        printf("\nError loading %s", file);
        if (layer > 0) {
            printf(" at layer %d", layer);
        }
        return;
    }
    printf("%s: ", gCheckedMapName);
    if (strcmp(file, gCheckedMapName) != 0) {
        printf("%s ", file);
    }
    if (layer > 0) {
        printf("layer %d: ", layer);
    }
}

void reportLoadError(const char* file, int layer, const char* format, ...) {
    printMessageStart(file, layer);
    if (!isCheckingMap()) {
        fputs(": ", stdout);
    }
    va_list arguments;
    va_start(arguments, format);
    vprintf(format, arguments);
    va_end(arguments);
    if (isCheckingMap()) {
        putchar('\n'); // the game's messages begin with their line feed instead
    }
}

void reportMissingRowBreak(const char* file, int layer) {
    printMessageStart(file, layer);
    if (isCheckingMap()) {
        puts("a row does not start on a line of its own (was the map saved with Minimize output?)");
    } else {
        putchar('.');
    }
}

const char* baseName(const char* path) {
    const char* slash = strrchr(path, '/');
    return slash == nullptr ? path : slash + 1;
}
