// The map loader and the obstacle grids.
#include "world/map.h"

#include <strings.h>

#include <cstring>

#include "render/mapview.h"
#include "render/media.h"
#include "world/datafile.h"
#include "world/loadreport.h"
#include "world/maplayout.h"
#include "world/tileprops.h"

uint16_t gMap[kMapLayers * kGridCells];
int gMapRows;
int gMapColumns;
int gMapRowsRead;
int gMapColumnsRead;
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
constexpr int kPlaceSize = 96;          // where a property stands, in words
constexpr int kLayerListSize = 512;     // the layers named in the message about their order

// Why the value of a cell could not be used.
constexpr int kFaultNone = 0;
constexpr int kFaultNotNumber = 1;
constexpr int kFaultFlipped = 2; // a tile id with Tiled's flip or rotation flags
constexpr int kFaultNoTile = 3;  // an id outside 0 to 4096
constexpr int kFaults = 4;

static uint8_t CellFault[kGridCells]; // the fault of each cell of the block being read; cleared after it
static int FaultCells[kGridCells];    // the cells of one fault or cause, for its message

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
        reportProblem(mapFileName(), "map-size", 0, nullptr, 0, "no map %s.", name);
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
    reportProblem(mapFileName(), "layer-format", 0, nullptr, 0,
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

// The cells of one block whose values could not be used, by fault: how many, the first and its value.
struct BlockFaults {
    int count[kFaults];
    int firstCell[kFaults];
    long long firstValue[kFaults];
};

// Reads the tile id of the cell at index cell into *id: 0 for a value that is not a number or has
// no tile, its fault noted. Returns 0 when the block has ended (markup or the end of the file where
// a value belongs).
static int readTileId(FILE* file, int cell, BlockFaults* faults, uint16_t* id) {
    long long value = 0;
    const int result = readTmxNumber(file, ',', &value);
    *id = 0;
    int fault = kFaultNone;
    if (result != 1) {
        const int next = peekTmxChar(file);
        if (result == -1 || next == '<') {
            return 0;
        }
        fault = kFaultNotNumber;
    } else if (value < 0 || value > kMaxTileId) {
        const long long tile = value & ~kTileFlagBits;
        fault = value > kMaxTileId && value <= kMaxTiledId && tile <= kMaxTileId ? kFaultFlipped : kFaultNoTile;
    } else {
        *id = uint16_t(value);
        return 1;
    }
    CellFault[cell] = uint8_t(fault);
    if (faults->count[fault]++ == 0) {
        faults->firstCell[fault] = cell;
        faults->firstValue[fault] = value;
    }
    return 1;
}

// Reports the faults of one block, one line for each, and clears them.
static void reportBlockFaults(int block, int rows, int columns, const BlockFaults& faults, bool report) {
    for (int fault = kFaultNotNumber; fault < kFaults; fault++) {
        const int count = faults.count[fault];
        if (count == 0) {
            continue;
        }
        int cells = 0;
        for (int row = 0; row < rows; row++) {
            for (int column = 0; column < columns; column++) {
                const int cell = row * kGridSide + column;
                if (CellFault[cell] == fault) {
                    FaultCells[cells++] = cell;
                    CellFault[cell] = kFaultNone;
                }
            }
        }
        if (!report) {
            continue;
        }
        const int x = faults.firstCell[fault] % kGridSide;
        const int y = faults.firstCell[fault] / kGridSide;
        const long long value = faults.firstValue[fault];
        if (fault == kFaultNotNumber && count == 1) {
            reportProblem(mapFileName(), "not-a-number", block, FaultCells, cells,
                          "the value at (%d, %d) is not a number; the cell is left empty.", x, y);
        } else if (fault == kFaultNotNumber) {
            reportProblem(mapFileName(), "not-a-number", block, FaultCells, cells,
                          "%d values are not numbers, the first at (%d, %d); such cells are left empty.", count, x, y);
        } else if (fault == kFaultFlipped && count == 1) {
            reportProblem(mapFileName(), "flipped-tile", block, FaultCells, cells,
                          "tile id %lld at (%d, %d) is tile %lld flipped or rotated, which the game cannot draw;"
                          " the cell is left empty.",
                          value, x, y, value & ~kTileFlagBits);
        } else if (fault == kFaultFlipped) {
            reportProblem(mapFileName(), "flipped-tile", block, FaultCells, cells,
                          "%d cells hold tiles flipped or rotated, which the game cannot draw, the first at (%d, %d)"
                          " (tile id %lld is tile %lld flipped or rotated); such cells are left empty.",
                          count, x, y, value, value & ~kTileFlagBits);
        } else if (count == 1) {
            reportProblem(mapFileName(), "tile-id-outside", block, FaultCells, cells,
                          "tile id %lld at (%d, %d) is outside 0 to 4096; the cell is left empty.", value, x, y);
        } else {
            reportProblem(mapFileName(), "tile-id-outside", block, FaultCells, cells,
                          "%d cells hold tile ids outside 0 to 4096, the first at (%d, %d) (tile id %lld); such"
                          " cells are left empty.",
                          count, x, y, value);
        }
    }
}

// Reads the four CSV data blocks of rows x columns ids into layers (same indexing as gMap), and
// notes in readData which data element of the file (from the Music property on, from 0) each
// came from. A block that ends early leaves the rest of its cells empty. Returns 0, after its
// message, when fewer than four CSV blocks are found.
static int readLayers(FILE* file, int rows, int columns, uint16_t* layers, int* readData) {
    int tileLayers = 0;
    bool reportedFormat = false;
    int missingBreaks = 0; // rows read without their line break: the values after them are misread
    for (int block = 1; block <= kMapLayers; block++) {
        if (!scanPastCsvData(file, &tileLayers, &reportedFormat)) {
            // A Music property on a later layer has its own message: the layers before it were passed over.
            const bool musicOnLayer =
                gMapLayout.musicOn != kOnMap && gMapLayout.musicOn != kOnNothing && gMapLayout.dataBeforeMusic > 0;
            if (!reportedFormat && !musicOnLayer) {
                reportProblem(mapFileName(), "tile-layers", 0, nullptr, 0,
                              "the map has %d CSV tile layer%s; four are needed (Ground, Grass, Objects, Markers).",
                              block - 1, block == 2 ? "" : "s");
            }
            return 0;
        }
        readData[block - 1] = tileLayers - 1;
        BlockFaults faults{};
        bool ended = false; // the block's data ended before its last cell
        for (int row = 0; row < rows; row++) {
            // Where the data has ended, the first value read below says so.
            const int next = ended ? EOF : peekTmxChar(file);
            if (next != '<' && next != EOF && !readRowBreak(file)) {
                reportMissingRowBreakAt(mapFileName(), block, row);
                missingBreaks++;
            }
            for (int column = 0; column < columns; column++) {
                uint16_t id = 0;
                if (!ended && !readTileId(file, row * kGridSide + column, &faults, &id)) {
                    // The checker says only that rows are misread when they are: the rest follows from it.
                    if (missingBreaks == 0 || !isCheckingMap()) {
                        int cells = 0;
                        for (int cell = row * kGridSide + column; cell < rows * kGridSide; cell++) {
                            if (cell % kGridSide < columns) {
                                FaultCells[cells++] = cell;
                            }
                        }
                        reportProblem(mapFileName(), "layer-ends", block, FaultCells, cells,
                                      "the layer ends at (%d, %d), short of the map's %d x %d cells; the %d cells from"
                                      " there on are left empty.",
                                      column, row, columns, rows, (rows - row) * columns - column);
                    }
                    ended = true;
                }
                layers[cellIndex(block - 1, row, column)] = id;
            }
        }
        reportBlockFaults(block, rows, columns, faults, missingBreaks == 0 || !isCheckingMap());
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

// Where a property stands, in words: "on layer 2 ("Grass")", "on the tileset".
static void describePlace(int on, int layer, char* text, int size) {
    if (on == kOnTileLayer && layer >= 0 && layer < kLayoutLayers && gMapLayout.layer[layer].name[0] != '\0') {
        snprintf(text, size_t(size), "on layer %d (\"%s\")", layer + 1, gMapLayout.layer[layer].name);
    } else if (on == kOnTileLayer) {
        snprintf(text, size_t(size), "on layer %d", layer + 1);
    } else {
        snprintf(text, size_t(size), "%s",
                 on == kOnOtherLayer ? "on an object, image or group layer"
                 : on == kOnTileset  ? "on the tileset"
                                     : "on an object");
    }
}

// The Music properties that are not the int property of the map the game reads: one of another
// type, one that stands elsewhere. found says whether the loader found an int Music property.
static void reportMusicPlace(bool found) {
    const MapLayout& layout = gMapLayout;
    char place[kPlaceSize];
    if (layout.otherMusicOn == kOnMap && (!found || layout.musicOn != kOnMap)) {
        if (strcmp(layout.otherMusicType, "int") == 0) {
            reportProblem(mapFileName(), "music-property", 0, nullptr, 0,
                          "the Music property is not written as Tiled writes it; delete it in Map > Map Properties,"
                          " add it again as an int and save again.");
        } else {
            reportProblem(mapFileName(), "music-property", 0, nullptr, 0,
                          "the Music property has the type %s, not int; delete it in Map > Map Properties, add it"
                          " again as an int and save again.",
                          layout.otherMusicType);
        }
    }
    if (found && layout.musicOn != kOnMap && layout.musicOn != kOnNothing) {
        describePlace(layout.musicOn, layout.musicLayer, place, kPlaceSize);
        reportProblem(mapFileName(), "music-property", 0, nullptr, 0,
                      "the Music property is %s, not on the map; move it to the map's own properties (Map > Map"
                      " Properties) and save again.",
                      place);
    } else if (!found && layout.otherMusicOn != kOnMap && layout.otherMusicOn != kOnNothing) {
        describePlace(layout.otherMusicOn, layout.otherMusicLayer, place, kPlaceSize);
        reportProblem(mapFileName(), "music-property", 0, nullptr, 0,
                      "the Music property is %s, not on the map, and has the type %s, not int; delete it there, add"
                      " it to the map's own properties (Map > Map Properties) as an int and save again.",
                      place, layout.otherMusicType);
    } else if (!found && layout.otherMusicOn == kOnNothing) {
        reportProblem(mapFileName(), "music-property", 0, nullptr, 0, "no Music property.");
    }
}

int findLayerByName(const char* name) {
    for (int layer = 0; layer < kMapLayers; layer++) {
        if (strcasecmp(name, kLayerNames[layer]) == 0) {
            return layer;
        }
    }
    return -1;
}

// Says when the tile layers the game read by position carry the names of other layers, and when
// the map has tile layers that the game does not read.
static void reportLayerOrder() {
    const MapLayout& layout = gMapLayout;
    if (layout.tileLayers > kMapLayers) {
        int ignored = 0;
        int first = -1;
        for (int layer = 0; layer < layout.tileLayers; layer++) {
            bool read = false;
            for (int as : layout.readAs) {
                read = read || as == layer;
            }
            if (!read && ignored++ == 0) {
                first = layer;
            }
        }
        char name[kLayoutNameSize + 8] = "";
        if (first < kLayoutLayers && layout.layer[first].name[0] != '\0') {
            snprintf(name, sizeof name, " (\"%s\")", layout.layer[first].name);
        }
        char which[kPlaceSize];
        if (ignored == 1) {
            snprintf(which, sizeof which, "layer %d%s", first + 1, name);
        } else {
            snprintf(which, sizeof which, "%d layers, the first layer %d%s", ignored, first + 1, name);
        }
        reportProblem(mapFileName(), "extra-layers", 0, nullptr, 0,
                      "the map has %d tile layers, but the game reads four, by position, and ignores %s; keep four"
                      " (from the bottom of the Layers view: Ground, Grass, Objects, Markers), merging or deleting"
                      " the others, and save again.",
                      layout.tileLayers, which);
    }
    int misplaced[kMapLayers]; // the layers read as another layer than the one their name says
    int count = 0;
    for (int as = 0; as < kMapLayers; as++) {
        const int layer = layout.readAs[as];
        const int named = layer >= 0 && layer < kLayoutLayers ? findLayerByName(layout.layer[layer].name) : -1;
        if (named >= 0 && named != as) {
            misplaced[count++] = as;
        }
    }
    char list[kLayerListSize] = "";
    for (int i = 0; i < count; i++) {
        const size_t length = strlen(list);
        snprintf(list + length, sizeof list - length, "%s\"%s\" as %s", i == 0 ? "" : (i + 1 == count ? " and " : ", "),
                 layout.layer[layout.readAs[misplaced[i]]].name, kLayerNames[misplaced[i]]);
    }
    if (count > 0) {
        reportProblem(mapFileName(), "layer-order", 0, nullptr, 0,
                      "the layers are out of order: the game reads them by position, so it takes %s; from the bottom"
                      " of the Layers view, order them Ground, Grass, Objects, Markers and save again.",
                      list);
    }
}

int readMap(FILE* file, int placeDeer, int* musicNumber) {
    *musicNumber = -1;
    // What the file shows in Tiled, for the messages; the reading below does not depend on it.
    const long start = ftell(file);
    surveyMapLayout(file, &gMapLayout);
    clearerr(file);
    if (start < 0 || fseek(file, start, SEEK_SET) != 0) {
        reportProblem(mapFileName(), "not-a-map", 0, nullptr, 0, "the file cannot be read again from its start.");
        return kMapRefused;
    }
    if (gMapLayout.png) {
        reportProblem(mapFileName(), "not-a-map", 0, nullptr, 0, "the file is a PNG image, not a Tiled map (.tmx).");
        return kMapRefused;
    }
    if (!scanPastLiteral(file, kMapLiteral)) {
        reportProblem(mapFileName(), "not-a-map", 0, nullptr, 0,
                      "the file is not a Tiled map (.tmx): it has no map element.");
        return kMapRefused;
    }
    long long columns = 0;
    long long rows = 0;
    if (!readMapSize(file, kWidthAttribute, "width", &columns) ||
        !readMapSize(file, kHeightAttribute, "height", &rows)) {
        return kMapRefused;
    }
    if (columns < 1 || columns > kGridSide || rows < 1 || rows > kGridSide) {
        reportProblem(mapFileName(), "map-size", 0, nullptr, 0, "map size %lld x %lld is outside 1 x 1 to 256 x 256.",
                      columns, rows);
        return kMapRefused;
    }
    long long infinite = 0;
    if (scanPastAttribute(file, kInfiniteAttribute) && readTmxNumber(file, '"', &infinite) == 1 && infinite != 0) {
        reportProblem(mapFileName(), "infinite-map", 0, nullptr, 0,
                      "the map is infinite (its layers are in chunks); make it fixed-size"
                      " (Map > Map Properties > Infinite off) and save again.");
        return kMapRefused;
    }
    const bool foundMusic = scanPastLiteral(file, kMusicLiteral);
    reportMusicPlace(foundMusic);
    if (!foundMusic) {
        return kMapRefused;
    }
    long long music = -1;
    if (readTmxNumber(file, '"', &music) != 1 || music < 0 || music > kMaxMusicNumber) {
        reportProblem(mapFileName(), "music-number", 0, nullptr, 0, "the Music property is not a number from 0 to 99.");
        music = -1;
    }
    int readData[kMapLayers] = {};
    if (!readLayers(file, int(rows), int(columns), gMapLayersRead, readData)) {
        return kMapRefused;
    }
    for (int layer = 0; layer < kMapLayers; layer++) {
        const int data = gMapLayout.dataBeforeMusic + readData[layer];
        gMapLayout.readAs[layer] =
            data < kLayoutLayers && data < gMapLayout.dataElements ? gMapLayout.dataLayer[data] : -1;
    }
    reportLayerOrder();

    gMapColumnsRead = int(columns);
    gMapRowsRead = int(rows);
    gMapColumns = int(columns);
    gMapRows = int(rows);
    for (int layer = 0; layer < kMapLayers; layer++) {
        for (int row = 0; row < gMapRows; row++) {
            for (int column = 0; column < gMapColumns; column++) {
                gMap[cellIndex(layer, row, column)] = gMapLayersRead[cellIndex(layer, row, column)];
            }
        }
    }

    int spots = 0;   // hunting-spot markers in the map
    int leftOut = 0; // those past the 64th, which the game leaves out
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
                if (++spots > kMaxHuntingSpots) {
                    FaultCells[leftOut++] = row * kGridSide + column;
                }
                if (gHuntingSpots >= 0 && gHuntingSpots < kMaxHuntingSpots) {
                    gHuntingSpotRow[gHuntingSpots] = row;
                    gHuntingSpotColumn[gHuntingSpots] = column;
                    gHuntingSpots++;
                }
                marker = 0;
            }
            if (isFoodTile(gMap[cellIndex(kFoodLayer, row, column)])) {
                gFoodLeftToEat++;
            }
        }
    }

    if (leftOut > 0) {
        reportProblem(mapFileName(), "hunting-spots", 0, FaultCells, leftOut,
                      "%d hunting spots, more than the 64 the game takes; it leaves out the last %d, the first of them"
                      " at (%d, %d).",
                      spots, leftOut, FaultCells[0] % kGridSide, FaultCells[0] / kGridSide);
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
    FILE* file = nullptr;
    const int opened = openDataFile(path, &file);
    if (opened == kOpenNotRegular) {
        printf("\nError opening file %s: %s", path, describeOpenFailure());
        return 1;
    }
    if (opened != kOpenOk) {
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
