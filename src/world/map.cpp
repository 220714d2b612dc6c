// The map loader and the obstacle grids.
#include "world/map.h"

#include "render/mapview.h"
#include "render/media.h"
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

static const char kWidthLiteral[] = "width=\"";
static const char kHeightLiteral[] = "height=\"";
static const char kMusicLiteral[] = "<property name=\"Music\" type=\"int\" value=\"";
static const char kDataLiteral[] = "<data encoding=\"csv\">";
constexpr int kMarkerLayer = 3;
constexpr int kFoodLayer = 1;
constexpr long long kMaxTileId = kTileIdCount - 1;
constexpr long long kMaxMusicNumber = 99;
constexpr int kStartOffsetX = 34 * 10; // the deer stands 34 pixels right of its start cell's corner
constexpr int kStartOffsetY = 31 * 10; // and 31 pixels below it, in tenths
constexpr int kMapRefused = 2;
constexpr int kMapPathSize = 40; // "../Common/map%05d.tmx" for any int, with room to spare

static int cellIndex(int layer, int row, int column) { return layer * kGridCells + row * kGridSide + column; }

// Scans for a size attribute and reads it; prints the message and returns 0 when there is none.
static int readMapSize(FILE* file, const char* literal, const char* name, long long* size) {
    if (!scanPastLiteral(file, literal) || readTmxNumber(file, '"', size) != 1) {
        printf("\nError loading map%05d.tmx: no map %s.", gMapNumber, name);
        return 0;
    }
    return 1;
}

// Reads the four data blocks of rows x columns ids into layers (same indexing as gMap).
// Returns 0, after its message, when a block is missing.
static int readLayers(FILE* file, int rows, int columns, uint16_t* layers) {
    for (int block = 1; block <= kMapLayers; block++) {
        if (!scanPastLiteral(file, kDataLiteral)) {
            printf("\nError loading map%05d.tmx: data block %d is missing.", gMapNumber, block);
            return 0;
        }
        bool reportedValue = false; // one message per block for each kind of bad value
        bool reportedId = false;
        for (int row = 0; row < rows; row++) {
            if (!readRowBreak(file)) {
                printf("\nError loading map%05d.tmx at layer %d.", gMapNumber, block);
            }
            for (int column = 0; column < columns; column++) {
                long long value = 0;
                const int result = readTmxNumber(file, ',', &value);
                if (result == 0 && !reportedValue) {
                    printf("\nError loading map%05d.tmx at layer %d: a value is not a number.", gMapNumber, block);
                    reportedValue = true;
                }
                if (result != 1) {
                    value = 0;
                } else if (value < 0 || value > kMaxTileId) {
                    if (!reportedId) {
                        printf("\nError loading map%05d.tmx at layer %d: tile id %lld is outside 0 to 4096;"
                               " such cells are left empty.",
                               gMapNumber, block, value);
                        reportedId = true;
                    }
                    value = 0;
                }
                layers[cellIndex(block - 1, row, column)] = uint16_t(value);
            }
        }
    }
    return 1;
}

// Clears one cell in all four layers and frees it in both obstacle grids.
static void clearCell(int row, int column) {
    for (int layer = 0; layer < kMapLayers; layer++) {
        gMap[cellIndex(layer, row, column)] = 0;
    }
    computeObstacle(row, column);
}

int readMap(FILE* file, int placeDeer, int* musicNumber) {
    // The four layers as read, copied into gMap only once the whole file has been accepted;
    // overwritten by every load.
    static uint16_t ReadLayers[kMapLayers * kGridCells];
    *musicNumber = -1;
    long long columns = 0;
    long long rows = 0;
    if (!readMapSize(file, kWidthLiteral, "width", &columns) || !readMapSize(file, kHeightLiteral, "height", &rows)) {
        return kMapRefused;
    }
    if (columns < 1 || columns > kGridSide || rows < 1 || rows > kGridSide) {
        printf("\nError loading map%05d.tmx: map size %lld x %lld is outside 1 x 1 to 256 x 256.", gMapNumber, columns,
               rows);
        return kMapRefused;
    }
    if (!scanPastLiteral(file, kMusicLiteral)) {
        printf("\nError loading map%05d.tmx: no Music property.", gMapNumber);
        return kMapRefused;
    }
    long long music = -1;
    if (readTmxNumber(file, '"', &music) != 1 || music < 0 || music > kMaxMusicNumber) {
        printf("\nError loading map%05d.tmx: the Music property is not a number from 0 to 99.", gMapNumber);
        music = -1;
    }
    if (!readLayers(file, int(rows), int(columns), ReadLayers)) {
        return kMapRefused;
    }

    gMapColumns = int(columns);
    gMapRows = int(rows);
    for (int layer = 0; layer < kMapLayers; layer++) {
        for (int row = 0; row < gMapRows; row++) {
            for (int column = 0; column < gMapColumns; column++) {
                gMap[cellIndex(layer, row, column)] = ReadLayers[cellIndex(layer, row, column)];
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
                    printf("\nError loading map%05d.tmx: more than 64 hunting spots; the rest are left out.",
                           gMapNumber);
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
    char path[kMapPathSize];
    snprintf(path, sizeof path, "../Common/map%05d.tmx", gMapNumber);
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
