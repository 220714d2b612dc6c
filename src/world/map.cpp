// The map loader and the obstacle grids.
#include "world/map.h"

#include <cstring>

#include "render/mapview.h"
#include "render/media.h"
#include "world/loadreport.h"
#include "world/tileprops.h"

uint16_t gMap[kMapLayers * kGridCells];
int gMapRows;
int gMapColumns;
uint8_t gMapMovementObstacle[kGridCells];
uint8_t gMapProjectileObstacle[kGridCells];
int gHuntingSpotRow[kMaxHuntingSpots];
int gHuntingSpotColumn[kMaxHuntingSpots];
int gHuntingSpots;
int gFoodLeftToEat;
int gMapNumber;
int gPlayerX;
int gPlayerY;
char gMapPath[kMapPathSize];
uint16_t gMapLayersRead[kMapLayers * kGridCells];

static const char kMapLiteral[] = "<map";
static const char kWidthAttribute[] = "width=\"";
static const char kHeightAttribute[] = "height=\"";
static const char kInfiniteAttribute[] = "infinite=\"";
static const char kMusicLiteral[] = "<property name=\"Music\" type=\"int\" value=\"";
static const char kDataLiteral[] = "<data";
static const char kCsvDataAttributes[] = " encoding=\"csv\""; // all a CSV data element may hold
constexpr int kMarkerLayer = 3;
constexpr int kFoodLayer = 1;
constexpr long long kMaxTileId = kTileIdCount - 1;
constexpr long long kTileFlagBits = 0xF0000000LL; // Tiled's flip and rotation flags in a tile id
constexpr long long kMaxTiledId = 0xFFFFFFFFLL;
constexpr long long kMaxMusicNumber = 99;
constexpr int kStartOffsetX = 34 * 10; // the deer stands 34 pixels right of its start cell's corner
constexpr int kStartOffsetY = 31 * 10; // and 31 pixels below it, in tenths
constexpr int kMapRefused = 2;
constexpr int kMapNameSize = 16;        // "map%05d.tmx" for any int, with room to spare
constexpr int kDataAttributesSize = 96; // the attributes of a data element that messages describe

static int cellIndex(int layer, int row, int column) { return layer * kGridCells + row * kGridSide + column; }

const char* mapFileName() {
    static char NumberedName[kMapNameSize]; // "map%05d.tmx", formatted at each call
    if (gMapPath[0] != '\0') {
        return baseName(gMapPath);
    }
    snprintf(NumberedName, sizeof NumberedName, "map%05d.tmx", gMapNumber);
    return NumberedName;
}

// Moves the stream past an attribute (name=") of the element whose start tag is being read, where
// it stands as a whole name after white space (so width=" is not found in tilewidth=").
// Returns 0 when the start tag or the file ends first.
static int scanPastAttribute(FILE* file, const char* literal) {
    const int length = int(strlen(literal));
    int matched = 0;
    int previous = 0;
    while (matched < length) {
        const int c = getc(file);
        if (c == EOF || c == '>') {
            return 0;
        }
        if (matched > 0 && c == literal[matched]) {
            matched++;
        } else {
            matched = c == literal[0] && isTmxWhiteSpace(previous) ? 1 : 0;
        }
        previous = c;
    }
    return 1;
}

// Reads the width or height attribute of the map element; prints the message and returns 0 when
// the element has none.
static int readMapSize(FILE* file, const char* literal, const char* name, long long* size) {
    if (!scanPastAttribute(file, literal) || readTmxNumber(file, '"', size) != 1) {
        reportLoadError(mapFileName(), 0, "no map %s.", name);
        return 0;
    }
    return 1;
}

// Reads the rest of a start tag up to its '>' into attributes (cut to its size).
static void readTagAttributes(FILE* file, char* attributes, int size) {
    int length = 0;
    for (int c = getc(file); c != EOF && c != '>'; c = getc(file)) {
        if (length < size - 1) {
            attributes[length++] = char(c);
        }
    }
    attributes[length] = '\0';
}

// Copies the value of the attribute name=" in attributes into value, or "" when it has none.
static void findAttribute(const char* attributes, const char* name, char* value, int size) {
    value[0] = '\0';
    const char* at = strstr(attributes, name);
    if (at == nullptr) {
        return;
    }
    at += strlen(name);
    int length = 0;
    while (at[length] != '\0' && at[length] != '"' && length < size - 1) {
        value[length] = at[length];
        length++;
    }
    value[length] = '\0';
}

// A data element's format in the words of Tiled's Tile Layer Format setting. Nothing of the file
// is echoed.
static const char* describeLayerFormat(const char* encoding, const char* compression) {
    if (encoding[0] == '\0') {
        return "XML";
    }
    if (strcmp(encoding, "base64") != 0) {
        return "a format the game cannot read";
    }
    if (compression[0] == '\0') {
        return "Base64 (uncompressed)";
    }
    if (strcmp(compression, "zlib") == 0) {
        return "Base64 (zlib compressed)";
    }
    if (strcmp(compression, "gzip") == 0) {
        return "Base64 (gzip compressed)";
    }
    return strcmp(compression, "zstd") == 0 ? "Base64 (Zstandard compressed)" : "Base64 (compressed)";
}

// Reports a tile layer whose data is not CSV, and the setting that mends it.
static void reportLayerFormat(int tileLayer, const char* attributes) {
    char encoding[kDataAttributesSize];
    char compression[kDataAttributesSize];
    findAttribute(attributes, "encoding=\"", encoding, kDataAttributesSize);
    findAttribute(attributes, "compression=\"", compression, kDataAttributesSize);
    reportLoadError(mapFileName(), 0,
                    "layer %d is not in CSV but %s; set the map's Tile Layer Format to CSV (Map > Map Properties)"
                    " and save again.",
                    tileLayer, describeLayerFormat(encoding, compression));
}

// Finds the next CSV data block and moves the stream past its start tag, passing over the data of
// tile layers in other formats (the first of them is reported). *tileLayers counts the data
// elements met. Returns 0 when the file ends first.
static int scanPastCsvData(FILE* file, int* tileLayers, bool* reportedFormat) {
    char attributes[kDataAttributesSize];
    while (scanPastLiteral(file, kDataLiteral)) {
        (*tileLayers)++;
        readTagAttributes(file, attributes, kDataAttributesSize);
        if (strcmp(attributes, kCsvDataAttributes) == 0) {
            return 1;
        }
        if (!*reportedFormat) {
            reportLayerFormat(*tileLayers, attributes);
            *reportedFormat = true;
        }
    }
    return 0;
}

// The messages about bad values already printed for one block: each kind is printed once.
struct BlockReports {
    bool notNumber;
    bool noTile;
};

// Reads the tile id of one cell into *id: 0 for a value that is not a number or has no tile, each
// reported once per block. Returns 0 when the block has ended (markup or the end of the file where
// a value belongs).
static int readTileId(FILE* file, int block, BlockReports* reports, uint16_t* id) {
    long long value = 0;
    const int result = readTmxNumber(file, ',', &value);
    *id = 0;
    if (result != 1) {
        const int next = peekTmxChar(file);
        if (result == -1 || next == '<') {
            return 0;
        }
        if (!reports->notNumber) {
            reportLoadError(mapFileName(), block, "a value is not a number.");
            reports->notNumber = true;
        }
        return 1;
    }
    if (value < 0 || value > kMaxTileId) {
        if (!reports->noTile) {
            const long long tile = value & ~kTileFlagBits;
            if (value > kMaxTileId && value <= kMaxTiledId && tile <= kMaxTileId) {
                reportLoadError(mapFileName(), block,
                                "tile id %lld is tile %lld flipped or rotated, which the game cannot draw;"
                                " such cells are left empty.",
                                value, tile);
            } else {
                reportLoadError(mapFileName(), block, "tile id %lld is outside 0 to 4096; such cells are left empty.",
                                value);
            }
            reports->noTile = true;
        }
        return 1;
    }
    *id = uint16_t(value);
    return 1;
}

// Reads the four CSV data blocks of rows x columns ids into layers (same indexing as gMap). A block
// that ends early leaves the rest of its cells empty. Returns 0, after its message, when fewer than
// four CSV blocks are found.
static int readLayers(FILE* file, int rows, int columns, uint16_t* layers) {
    int tileLayers = 0;
    bool reportedFormat = false;
    for (int block = 1; block <= kMapLayers; block++) {
        if (!scanPastCsvData(file, &tileLayers, &reportedFormat)) {
            if (!reportedFormat) {
                reportLoadError(mapFileName(), 0,
                                "the map has %d CSV tile layer%s; four are needed (Ground, Grass, Objects, Markers).",
                                block - 1, block == 2 ? "" : "s");
            }
            return 0;
        }
        BlockReports reports{false, false};
        bool ended = false; // the block's data ended before its last cell
        for (int row = 0; row < rows; row++) {
            // Where the data has ended, the first value read below says so.
            const int next = ended ? EOF : peekTmxChar(file);
            if (next != '<' && next != EOF && !readRowBreak(file)) {
                reportMissingRowBreak(mapFileName(), block);
            }
            for (int column = 0; column < columns; column++) {
                uint16_t id = 0;
                if (!ended && !readTileId(file, block, &reports, &id)) {
                    reportLoadError(mapFileName(), block,
                                    "the layer ends at (%d, %d), short of the map's %d x %d cells;"
                                    " the rest is left empty.",
                                    column, row, columns, rows);
                    ended = true;
                }
                layers[cellIndex(block - 1, row, column)] = id;
            }
        }
    }
    return 1;
}

// Clears one cell in all four layers, as read and as played, and frees it in both obstacle grids.
static void clearCell(int row, int column) {
    for (int layer = 0; layer < kMapLayers; layer++) {
        gMap[cellIndex(layer, row, column)] = 0;
        gMapLayersRead[cellIndex(layer, row, column)] = 0;
    }
    computeObstacle(row, column);
}

int readMap(FILE* file, int placeDeer, int* musicNumber) {
    *musicNumber = -1;
    long long columns = 0;
    long long rows = 0;
    scanPastLiteral(file, kMapLiteral);
    if (!readMapSize(file, kWidthAttribute, "width", &columns) ||
        !readMapSize(file, kHeightAttribute, "height", &rows)) {
        return kMapRefused;
    }
    if (columns < 1 || columns > kGridSide || rows < 1 || rows > kGridSide) {
        reportLoadError(mapFileName(), 0, "map size %lld x %lld is outside 1 x 1 to 256 x 256.", columns, rows);
        return kMapRefused;
    }
    long long infinite = 0;
    if (scanPastAttribute(file, kInfiniteAttribute) && readTmxNumber(file, '"', &infinite) == 1 && infinite != 0) {
        reportLoadError(mapFileName(), 0,
                        "the map is infinite (its layers are in chunks); make it fixed-size"
                        " (Map > Map Properties > Infinite off) and save again.");
        return kMapRefused;
    }
    if (!scanPastLiteral(file, kMusicLiteral)) {
        reportLoadError(mapFileName(), 0, "no Music property.");
        return kMapRefused;
    }
    long long music = -1;
    if (readTmxNumber(file, '"', &music) != 1 || music < 0 || music > kMaxMusicNumber) {
        reportLoadError(mapFileName(), 0, "the Music property is not a number from 0 to 99.");
        music = -1;
    }
    if (!readLayers(file, int(rows), int(columns), gMapLayersRead)) {
        return kMapRefused;
    }

    gMapColumns = int(columns);
    gMapRows = int(rows);
    for (int layer = 0; layer < kMapLayers; layer++) {
        for (int row = 0; row < gMapRows; row++) {
            for (int column = 0; column < gMapColumns; column++) {
                gMap[cellIndex(layer, row, column)] = gMapLayersRead[cellIndex(layer, row, column)];
            }
        }
    }

    bool reportedSpots = false;
    for (int row = 0; row < gMapRows; row++) {
        for (int column = 0; column < gMapColumns; column++) {
            // The markers are still in place here, so their own properties count for their cells.
            computeObstacle(row, column);
            uint16_t& marker = gMap[cellIndex(kMarkerLayer, row, column)];
            if (marker == kDeerStartMarker) {
                if (placeDeer) {
                    gPlayerX = column * gTileWidthToRender * 10 + kStartOffsetX;
                    gPlayerY = row * gTileHeightToRender * 10 + kStartOffsetY;
                }
                marker = 0;
            } else if (marker == kHuntingSpotMarker) {
                if (gHuntingSpots >= 0 && gHuntingSpots < kMaxHuntingSpots) {
                    gHuntingSpotRow[gHuntingSpots] = row;
                    gHuntingSpotColumn[gHuntingSpots] = column;
                    gHuntingSpots++;
                } else if (!reportedSpots) {
                    reportLoadError(mapFileName(), 0, "more than 64 hunting spots; the rest are left out.");
                    reportedSpots = true;
                }
                marker = 0;
            }
            if (isFoodTile(gMap[cellIndex(kFoodLayer, row, column)])) {
                gFoodLeftToEat++;
            }
        }
    }

    // Widen a map narrower or lower than the screen with empty, free cells.
    if (gMapColumns < kMinMapColumns) {
        for (int row = 0; row < gMapRows; row++) {
            for (int column = gMapColumns; column < kMinMapColumns; column++) {
                clearCell(row, column);
            }
        }
        gMapColumns = kMinMapColumns;
    }
    if (gMapRows < kMinMapRows) {
        for (int row = gMapRows; row < kMinMapRows; row++) {
            for (int column = 0; column < gMapColumns; column++) {
                clearCell(row, column);
            }
        }
        gMapRows = kMinMapRows;
    }
    *musicNumber = int(music);
    return 0;
}

int loadMap(int placeDeer) {
    char numberedPath[kMapPathSize];
    snprintf(numberedPath, sizeof numberedPath, "../Common/map%05d.tmx", gMapNumber);
    const char* path = gMapPath[0] != '\0' ? gMapPath : numberedPath;
    FILE* file = fopen(path, "r");
    if (file == nullptr) {
        printf("\nError opening file %s", path);
        return 1;
    }
    int musicNumber = -1;
    const int result = readMap(file, placeDeer, &musicNumber);
    fclose(file);
    if (result != 0) {
        return 1;
    }
    playNumberedMusic(musicNumber);
    return 0;
}

void computeObstacle(int row, int column) {
    if (row < 0 || row >= kGridSide || column < 0 || column >= kGridSide) {
        return;
    }
    uint8_t movement = 0;
    uint8_t projectiles = 0;
    for (int layer = 0; layer < kMapLayers; layer++) {
        const uint16_t id = gMap[cellIndex(layer, row, column)];
        if (id < kTileIdCount) { // ids without a table entry have no properties
            movement |= gTileTypeMovement[id] != 0;
            projectiles |= gTileTypeProjectiles[id] != 0;
        }
    }
    gMapMovementObstacle[row * kGridSide + column] = movement;
    gMapProjectileObstacle[row * kGridSide + column] = projectiles;
}
