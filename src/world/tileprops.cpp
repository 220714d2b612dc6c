// Tile properties: reads the three property tables from properties.tmx, and the TMX text scanning.
#include "world/tileprops.h"

#include <cstring>

#include "world/datafile.h"
#include "world/loadreport.h"

uint8_t gTileTypeMovement[kTileIdCount];
uint8_t gTileTypeProjectiles[kTileIdCount];
uint8_t gTileTypeOverlay[kTileIdCount];

static const char kDataLiteral[] = "<data encoding=\"csv\">";
static const char kPropertiesName[] = "properties.tmx";
constexpr int kPropertyBlocks = 4; // block 1 is the legend, 2 to 4 are the property grids
constexpr int kMovementBlock = 2;
constexpr int kProjectilesBlock = 3;
constexpr int kProjectilesModulus = 64;
constexpr int kOverlayModulus = 112; // marker tiles 113..116 give overlay classes 1..4

int scanPastLiteral(FILE* file, const char* literal) {
    const int length = int(strlen(literal));
    int matched = 0;
    while (matched < length) {
        const int c = getc(file);
        if (c == EOF) {
            return 0;
        }
        if (c == literal[matched]) {
            matched++;
        } else {
            matched = c == literal[0] ? 1 : 0;
        }
    }
    return 1;
}

int readRowBreak(FILE* file) {
    int c = getc(file);
    if (c == '\r') {
        c = getc(file);
        if (c != '\n' && c != EOF) {
            ungetc(c, file);
        }
    } else if (c == '<') {
        ungetc(c, file); // markup stays for the literal scans: a short block must not swallow the next one
    }
    return c == '\n';
}

int peekTmxChar(FILE* file) {
    const int c = getc(file);
    if (c != EOF) {
        ungetc(c, file);
    }
    return c;
}

bool isTmxWhiteSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// True for the characters that may end a number: its terminator, white space, the start of markup.
static bool endsNumber(int c, int terminator) { return c == terminator || c == EOF || c == '<' || isTmxWhiteSpace(c); }

int readTmxNumber(FILE* file, int terminator, long long* value) {
    int c = getc(file);
    while (isTmxWhiteSpace(c)) {
        c = getc(file);
    }
    const bool negative = c == '-';
    if (c == '-' || c == '+') {
        c = getc(file);
    }
    if (c == EOF) {
        return -1;
    }
    long long magnitude = 0;
    const bool digits = c >= '0' && c <= '9';
    while (c >= '0' && c <= '9') {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kTmxNumberLimit) {
            magnitude = kTmxNumberLimit;
        }
        c = getc(file);
    }
    if (!digits || !endsNumber(c, terminator)) {
        // A stray token (x, 2x1, 1.5) counts as one value that cannot be read, so the values after
        // it keep their places; markup (the end of a short block) is left for the literal scans.
        while (!endsNumber(c, terminator)) {
            c = getc(file);
        }
        if (c != terminator && c != EOF) {
            ungetc(c, file);
        }
        return 0;
    }
    if (c != terminator && c != EOF) {
        ungetc(c, file);
    }
    *value = negative ? -magnitude : magnitude;
    return 1;
}

void readTileProperties(FILE* file) {
    gTileTypeMovement[0] = 0;
    gTileTypeProjectiles[0] = 0;
    gTileTypeOverlay[0] = 0;
    for (int block = 1; block <= kPropertyBlocks; block++) {
        scanPastLiteral(file, kDataLiteral);
        if (block == 1) {
            continue;
        }
        bool reportedValue = false; // one message per block for values that are not numbers
        for (int row = 0; row < kTilePropertyRows; row++) {
            if (!readRowBreak(file)) {
                reportMissingRowBreak(kPropertiesName, block);
            }
            for (int column = 0; column < kTilePropertyColumns; column++) {
                long long value = 0;
                const int result = readTmxNumber(file, ',', &value);
                if (result == 0 && !reportedValue) {
                    reportLoadError(kPropertiesName, block, "a value is not a number.");
                    reportedValue = true;
                }
                if (result != 1) {
                    value = 0;
                }
                // Only the low 8 bits of the value count, as for a 16-bit value cut to a byte.
                const uint8_t low = uint8_t(value & 0xFF);
                const int id = row * kTilePropertyColumns + column + 1;
                if (block == kMovementBlock) {
                    gTileTypeMovement[id] = low;
                } else if (block == kProjectilesBlock) {
                    gTileTypeProjectiles[id] = uint8_t(low % kProjectilesModulus);
                } else {
                    gTileTypeOverlay[id] = uint8_t(low % kOverlayModulus);
                }
            }
        }
    }
}

int loadTileProperties() {
    FILE* file = nullptr;
    const int opened = openDataFile("../Common/properties.tmx", &file);
    if (opened == kOpenNotRegular) {
        printf("\nError opening file properties.tmx: %s", describeOpenFailure()); // a pipe is never waited on
        return 1;
    }
    if (opened != kOpenOk) {
        printf("\nError opening file properties.tmx");
        return 1;
    }
    readTileProperties(file);
    fclose(file);
    return 0;
}
