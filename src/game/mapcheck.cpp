// The map checker: reads a map exactly as the game does and reports what would spoil a game on it.
#include "game/mapcheck.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "game/botgame.h"
#include "game/deer.h"
#include "game/startup.h"
#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "movement/movement.h"
#include "render/mapview.h"
#include "world/datafile.h"
#include "world/jsontext.h"
#include "world/loadreport.h"
#include "world/map.h"
#include "world/maplayout.h"
#include "world/tileprops.h"

constexpr int kCellTenths = 640; // a cell's side in tenths of a map pixel (64 pixels)
constexpr int kPixelTenths = 10;
constexpr int kFacingRight = 0; // the deer's sprite rows that standing uses
constexpr int kFacingLeft = 2;
constexpr int kFigureHalf = 32; // the deer's 64 x 64 figure reaches this many pixels from its centre
constexpr int kMinGrass = 3;    // the game is won when all grass but two is eaten
constexpr int kLayerGrass = 1;
constexpr int kLayerObjects = 2;
constexpr int kLayerMarkers = 3;
constexpr int kFirstCoveringPass = 2; // tiles of these drawing passes are drawn over the grass
constexpr int kSheetTiles = kTilePropertyRows * kTilePropertyColumns; // tiles in Tiles.png, ids 1 to 192
constexpr int kLabelSize = kLayoutNameSize + 48;                      // "layer 3 ("NAME", read as Objects)"
constexpr int kPlaceSize = 160;                                       // a cell or a place, in words
static const char kCommonProperties[] = "../Common/properties.tmx";   // the game's own, from where it runs
static const char kPropertiesWanted[] = "the tile properties (a 64 x 3 Tiled map, such as the game's properties.tmx)";
static const char kUsage[] = "velmoor --check-map MAP.tmx... [--properties FILE] [--json] [--difficulty [GAMES]]";
constexpr long kMaxDifficultyGames = 100000;
static const unsigned char kMidiSignature[] = {'M', 'T', 'h', 'd'};

// The checker's state for one map: its start and grass.
struct MapCheck {
    const char* properties;    // the tile-property file's path
    int starts;                // deer start markers
    int startRow, startColumn; // the last of them, where the game puts the deer
    int grassTiles;            // grass in the Grass layer
};

// The deer's reach in the map being checked, filled afresh by each check.
static uint8_t Reached[kGridCells];   // cells its feet can reach from the start
static uint8_t HeadReach[kGridCells]; // cells its head can reach while it stands
static int Queue[kGridCells];         // the flood's queue of cell indices
// The cells of the problem being reported (row * 256 + column), filled afresh for each.
static int Cells[kMapLayers * kGridCells];

static int cellAt(int row, int column) { return row * kGridSide + column; }

static bool blocks(int row, int column) { return gMapMovementObstacle[cellAt(row, column)] != 0; }

// True for a cell of the map as its author made it, before the game widened it.
static bool isAuthorsCell(int row, int column) { return row < gMapRowsRead && column < gMapColumnsRead; }

// A layer as messages name it: "layer 3 (Objects)", or, in a map whose layers carry the names
// Ground, Grass, Objects or Markers, with the name Tiled shows when that is another: "layer 3
// ("Grass", read as Objects)". Two labels can be in use at a time.
static const char* layerLabel(int layer) {
    static char Label[2][kLabelSize]; // the last two labels made, in turn
    static int Next;                  // the one the next call fills
    char* label = Label[Next];
    Next = 1 - Next;
    bool named = false; // the author names layers as the game does
    for (int described = 0; described < gMapLayout.tileLayers && described < kLayoutLayers; described++) {
        named = named || findLayerByName(gMapLayout.layer[described].name) >= 0;
    }
    const int described = gMapLayout.readAs[layer];
    const char* name = described >= 0 && described < kLayoutLayers ? gMapLayout.layer[described].name : "";
    if (!named || name[0] == '\0' || findLayerByName(name) == layer) {
        snprintf(label, kLabelSize, "layer %d (%s)", layer + 1, kLayerNames[layer]);
    } else {
        snprintf(label, kLabelSize, "layer %d (\"%s\", read as %s)", layer + 1, name, kLayerNames[layer]);
    }
    return label;
}

// "at (x, y)" for one cell, "at N cells, the first at (x, y)" for more: the cells of a message.
static const char* describeCells(int count, int first) {
    static char Text[kPlaceSize]; // the last description made
    if (count == 1) {
        snprintf(Text, sizeof Text, "at (%d, %d)", first % kGridSide, first / kGridSide);
    } else {
        snprintf(Text, sizeof Text, "at %d cells, the first at (%d, %d)", count, first % kGridSide, first / kGridSide);
    }
    return Text;
}

// A map smaller than the screen: the game adds empty cells, which no other message names.
static void checkSize() {
    if (gMapColumnsRead >= kMinMapColumns && gMapRowsRead >= kMinMapRows) {
        return;
    }
    const char* where = gMapColumnsRead >= kMinMapColumns ? "below it"
                        : gMapRowsRead >= kMinMapRows     ? "to its right"
                                                          : "to its right and below it";
    reportMapProblem("small-map", 0, nullptr, 0,
                     "the map is %d x %d cells, smaller than the screen (%d x %d): the game adds empty cells %s, drawn"
                     " black, where the deer can walk; make it at least %d x %d.",
                     gMapColumnsRead, gMapRowsRead, kMinMapColumns, kMinMapRows, where, kMinMapColumns, kMinMapRows);
}

// What Tiled shows and the game ignores: layer offsets and objects that show tiles.
static void checkLayout() {
    for (int layer = 0; layer < kMapLayers; layer++) {
        const int described = gMapLayout.readAs[layer];
        if (described < 0 || described >= kLayoutLayers) {
            continue;
        }
        const LayoutLayer& shown = gMapLayout.layer[described];
        if (shown.offsetX != 0 || shown.offsetY != 0) {
            reportMapProblem("layer-offset", layer + 1, nullptr, 0,
                             "%s is drawn by Tiled shifted by (%d, %d) pixels (its Offset), which the game ignores, so"
                             " its tiles are not where Tiled shows them; set the layer's Offset to 0, 0.",
                             layerLabel(layer), shown.offsetX, shown.offsetY);
        }
    }
    const int objects = gMapLayout.tileObjects;
    if (objects == 0) {
        return;
    }
    const int tile = gMapLayout.firstObjectTile;
    char shows[kPlaceSize];
    snprintf(shows, sizeof shows,
             tile == kDeerStartMarker     ? "a deer start marker (tile %d)"
             : tile == kHuntingSpotMarker ? "a hunting spot marker (tile %d)"
                                          : "tile %d",
             tile);
    // Where its centre is, in cells of Tiled's tile size.
    const double x = gMapLayout.firstObjectX / gMapLayout.tileWidth;
    const double y = gMapLayout.firstObjectY / gMapLayout.tileHeight;
    char first[kPlaceSize] = "outside the map";
    int cellCount = 0;
    if (x >= 0 && y >= 0 && x < gMapColumnsRead && y < gMapRowsRead) {
        Cells[cellCount++] = cellAt(int(y), int(x));
        snprintf(first, sizeof first, "at (%d, %d)", int(x), int(y));
    }
    if (objects == 1) {
        reportMapProblem("tile-objects", 0, Cells, cellCount,
                         "a tile object in object layer \"%s\" shows %s %s, which the game ignores; paint tiles and"
                         " markers into the tile layers instead.",
                         gMapLayout.firstObjectLayer, shows, first);
    } else {
        reportMapProblem("tile-objects", 0, Cells, cellCount,
                         "%d tile objects in object layers show tiles, which the game ignores; the first, in \"%s\","
                         " shows %s %s; paint tiles and markers into the tile layers instead.",
                         objects, gMapLayout.firstObjectLayer, shows, first);
    }
}

// Counts the deer start markers as the file gave them, and keeps the last (the one the game uses).
static void findStarts(MapCheck* check) {
    int count = 0;
    for (int row = 0; row < gMapRowsRead; row++) {
        for (int column = 0; column < gMapColumnsRead; column++) {
            if (gMapLayersRead[kLayerMarkers * kGridCells + cellAt(row, column)] == kDeerStartMarker) {
                Cells[count++] = cellAt(row, column);
                check->startRow = row;
                check->startColumn = column;
            }
        }
    }
    check->starts = count;
    if (count == 0) {
        reportMapProblem("no-deer-start", 0, nullptr, 0,
                         "no deer start: put one deer start marker (tile 20) in the Markers layer.");
    } else if (count > 1) {
        reportMapProblem("deer-starts", kLayerMarkers + 1, Cells, count,
                         "%d deer starts, the first at (%d, %d); keep one (the game uses the last, at (%d, %d)).",
                         count, Cells[0] % kGridSide, Cells[0] / kGridSide, check->startColumn, check->startRow);
    }
}

// Reports a deer start whose foot box, where the game puts the deer, overlaps a blocking cell.
static void checkStartCell(const MapCheck* check) {
    bool blocked = false;
    for (int row = (gPlayerY + kFootTop) / kCellTenths; row <= (gPlayerY + kFootBottom) / kCellTenths; row++) {
        for (int column = (gPlayerX - kFootHalfWidth) / kCellTenths;
             column <= (gPlayerX + kFootHalfWidth) / kCellTenths; column++) {
            blocked = blocked || blocks(row, column);
        }
    }
    if (blocked) {
        Cells[0] = cellAt(check->startRow, check->startColumn);
        reportMapProblem("deer-start-blocked", 0, Cells, 1,
                         "the deer start at (%d, %d) is on a cell that blocks movement.", check->startColumn,
                         check->startRow);
    }
}

// Marks the head cells of a deer standing anywhere in the cell, facing either way: its centre
// ranges over the positions that keep the foot box in the cell, and the head cell is found by
// the same rule that eating uses.
static void markHeadReach(int row, int column) {
    const int savedX = gPlayerX;
    const int savedY = gPlayerY;
    const int savedOrientation = gPlayerOrientation;
    const int lastTenth = kCellTenths - kPixelTenths; // the start of the cell's last pixel
    gPlayerX = column * kCellTenths + kFootHalfWidth;
    gPlayerY = row * kCellTenths - kFootTop;
    gPlayerOrientation = kFacingLeft; // at the cell's left end: the head's leftmost cell
    int firstRow = 0;
    int firstColumn = 0;
    findHeadCell(&firstRow, &firstColumn);
    gPlayerX = column * kCellTenths + lastTenth - kFootHalfWidth;
    gPlayerY = row * kCellTenths + lastTenth - kFootBottom;
    gPlayerOrientation = kFacingRight; // at the right end: the rightmost
    int lastRow = 0;
    int lastColumn = 0;
    findHeadCell(&lastRow, &lastColumn);
    for (int r = firstRow < 0 ? 0 : firstRow; r <= lastRow && r < gMapRows; r++) {
        for (int c = firstColumn < 0 ? 0 : firstColumn; c <= lastColumn && c < gMapColumns; c++) {
            HeadReach[cellAt(r, c)] = 1;
        }
    }
    gPlayerX = savedX;
    gPlayerY = savedY;
    gPlayerOrientation = savedOrientation;
}

// Floods the cells the deer's feet can reach from its start: free cells that share a side with a
// reached one, in the map as the game plays it (widened). The start cell counts even when it
// blocks (the moves test only the cells ahead).
static void floodDeerReach(const MapCheck* check) {
    memset(Reached, 0, sizeof Reached);
    memset(HeadReach, 0, sizeof HeadReach);
    int head = 0;
    int tail = 0;
    Queue[tail++] = cellAt(check->startRow, check->startColumn);
    Reached[Queue[0]] = 1;
    const int steps[4][2] = {{0, 1}, {-1, 0}, {0, -1}, {1, 0}};
    while (head < tail) {
        const int row = Queue[head] / kGridSide;
        const int column = Queue[head++] % kGridSide;
        markHeadReach(row, column);
        for (const auto& step : steps) {
            const int r = row + step[0];
            const int c = column + step[1];
            if (r >= 0 && r < gMapRows && c >= 0 && c < gMapColumns && !Reached[cellAt(r, c)] && !blocks(r, c)) {
                Reached[cellAt(r, c)] = 1;
                Queue[tail++] = cellAt(r, c);
            }
        }
    }
}

// The id of the first tile above the grass layer in the cell that is drawn over the grass, or 0.
static int coveringTile(int row, int column, int* layer) {
    for (*layer = kLayerObjects; *layer < kMapLayers; (*layer)++) {
        const uint16_t id = gMap[*layer * kGridCells + cellAt(row, column)];
        if (id != 0 && id < kTileIdCount && gTileTypeOverlay[id] >= kFirstCoveringPass) {
            return id;
        }
    }
    return 0;
}

// Grass: enough of it, only in the Grass layer, each tile within reach of the deer's head and
// not hidden under a tile drawn over it.
static void checkGrass(MapCheck* check) {
    for (int layer = 0; layer < kMapLayers; layer++) {
        int count = 0;
        for (int row = 0; row < gMapRowsRead; row++) {
            for (int column = 0; column < gMapColumnsRead; column++) {
                if (layer != kLayerGrass && isFoodTile(gMapLayersRead[layer * kGridCells + cellAt(row, column)])) {
                    Cells[count++] = cellAt(row, column);
                }
            }
        }
        if (count == 1) {
            reportMapProblem("grass-layer", layer + 1, Cells, count,
                             "grass at (%d, %d) is in %s, where the deer cannot eat it; grass belongs in %s.",
                             Cells[0] % kGridSide, Cells[0] / kGridSide, layerLabel(layer), layerLabel(kLayerGrass));
        } else if (count > 1) {
            reportMapProblem("grass-layer", layer + 1, Cells, count,
                             "%d grass tiles are in %s, the first at (%d, %d), where the deer cannot eat them; grass"
                             " belongs in %s.",
                             count, layerLabel(layer), Cells[0] % kGridSide, Cells[0] / kGridSide,
                             layerLabel(kLayerGrass));
        }
    }
    int unreachable = 0;
    for (int row = 0; row < gMapRowsRead; row++) {
        for (int column = 0; column < gMapColumnsRead; column++) {
            if (isFoodTile(gMap[kLayerGrass * kGridCells + cellAt(row, column)])) {
                check->grassTiles++;
                if (check->starts > 0 && !HeadReach[cellAt(row, column)]) {
                    Cells[unreachable++] = cellAt(row, column);
                }
            }
        }
    }
    if (unreachable == 1) {
        reportMapProblem("unreachable-grass", kLayerGrass + 1, Cells, 1,
                         "the deer cannot reach the grass at (%d, %d) from its start at (%d, %d).",
                         Cells[0] % kGridSide, Cells[0] / kGridSide, check->startColumn, check->startRow);
    } else if (unreachable > 1) {
        reportMapProblem("unreachable-grass", kLayerGrass + 1, Cells, unreachable,
                         "the deer cannot reach %d grass tiles from its start at (%d, %d), the first at (%d, %d).",
                         unreachable, check->startColumn, check->startRow, Cells[0] % kGridSide, Cells[0] / kGridSide);
    }
    int hidden = 0;
    int firstCover = 0;
    int firstCoverLayer = 0;
    for (int row = 0; row < gMapRowsRead; row++) {
        for (int column = 0; column < gMapColumnsRead; column++) {
            int layer = 0;
            const int cover = isFoodTile(gMap[kLayerGrass * kGridCells + cellAt(row, column)])
                                  ? coveringTile(row, column, &layer)
                                  : 0;
            if (cover != 0 && hidden++ == 0) {
                firstCover = cover;
                firstCoverLayer = layer;
            }
            if (cover != 0) {
                Cells[hidden - 1] = cellAt(row, column);
            }
        }
    }
    if (hidden == 1) {
        reportMapProblem("hidden-grass", kLayerGrass + 1, Cells, 1,
                         "the grass at (%d, %d) is hidden under tile %d in %s, which is drawn over it, so the player"
                         " cannot see it; move the grass or the tile.",
                         Cells[0] % kGridSide, Cells[0] / kGridSide, firstCover, layerLabel(firstCoverLayer));
    } else if (hidden > 1) {
        reportMapProblem(
            "hidden-grass", kLayerGrass + 1, Cells, hidden,
            "%d grass tiles are hidden under tiles drawn over them (bushes, tree tops, rocks), the first"
            " at (%d, %d) under tile %d in %s, so the player cannot see them; move the grass or the tiles.",
            hidden, Cells[0] % kGridSide, Cells[0] / kGridSide, firstCover, layerLabel(firstCoverLayer));
    }
    if (check->grassTiles < kMinGrass) {
        reportMapProblem(
            "too-little-grass", kLayerGrass + 1, nullptr, 0,
            "%d grass tile%s in the Grass layer; at least %d are needed, as the game is won when all but two"
            " are eaten.",
            check->grassTiles, check->grassTiles == 1 ? "" : "s", kMinGrass);
    }
}

// Markers in a layer other than the Markers layer: the game does not take them as markers.
static void checkMarkerLayers() {
    for (int layer = 0; layer < kLayerMarkers; layer++) {
        int count = 0;
        for (int row = 0; row < gMapRowsRead; row++) {
            for (int column = 0; column < gMapColumnsRead; column++) {
                const uint16_t id = gMap[layer * kGridCells + cellAt(row, column)];
                if (id == kDeerStartMarker || id == kHuntingSpotMarker) {
                    Cells[count++] = cellAt(row, column);
                }
            }
        }
        if (count == 1) {
            reportMapProblem("marker-layer", layer + 1, Cells, count,
                             "a marker (tile %d) is in %s at (%d, %d), where the game does not take it as a marker;"
                             " markers belong in %s.",
                             gMap[layer * kGridCells + Cells[0]], layerLabel(layer), Cells[0] % kGridSide,
                             Cells[0] / kGridSide, layerLabel(kLayerMarkers));
        } else if (count > 1) {
            reportMapProblem(
                "marker-layer", layer + 1, Cells, count,
                "%d markers (tiles 20 and 84) are in %s, the first at (%d, %d), where the game does not take"
                " them as markers; markers belong in %s.",
                count, layerLabel(layer), Cells[0] % kGridSide, Cells[0] / kGridSide, layerLabel(kLayerMarkers));
        }
    }
}

// Hunting spots: at least one, each on a free cell from which the hunter's search reaches the deer's start.
static void checkHuntingSpots(const MapCheck* check) {
    if (gHuntingSpots == 0) {
        reportMapProblem("no-hunting-spot", 0, nullptr, 0,
                         "no hunting spot: put hunting spot markers (tile 84) in the Markers layer, or the hunter never"
                         " comes.");
        return;
    }
    int blocked = 0;
    for (int spot = 0; spot < gHuntingSpots; spot++) {
        if (blocks(gHuntingSpotRow[spot], gHuntingSpotColumn[spot])) {
            Cells[blocked++] = cellAt(gHuntingSpotRow[spot], gHuntingSpotColumn[spot]);
        }
    }
    if (blocked == 1) {
        reportMapProblem("hunting-spot-blocked", kLayerMarkers + 1, Cells, 1,
                         "the hunting spot at (%d, %d) is on a cell that blocks movement.", Cells[0] % kGridSide,
                         Cells[0] / kGridSide);
    } else if (blocked > 1) {
        reportMapProblem("hunting-spot-blocked", kLayerMarkers + 1, Cells, blocked,
                         "%d hunting spots are on cells that block movement, the first at (%d, %d).", blocked,
                         Cells[0] % kGridSide, Cells[0] / kGridSide);
    }
    if (check->starts == 0) {
        return;
    }
    int cut = 0;
    for (int spot = 0; spot < gHuntingSpots; spot++) {
        const int row = gHuntingSpotRow[spot];
        const int column = gHuntingSpotColumn[spot];
        if (blocks(row, column)) {
            continue;
        }
        gHunterX = (10 * column + 5) * gTileWidthToRender;
        gHunterY = (10 * row + 5) * gTileHeightToRender;
        if (computeHunterPath(check->startRow, check->startColumn) == 0) {
            Cells[cut++] = cellAt(row, column);
        }
    }
    gHunterX = -1;
    gHunterY = -1;
    if (cut == 1) {
        reportMapProblem("hunting-spot-cut-off", kLayerMarkers + 1, Cells, 1,
                         "the hunter cannot walk from the hunting spot at (%d, %d) to the deer start at (%d, %d).",
                         Cells[0] % kGridSide, Cells[0] / kGridSide, check->startColumn, check->startRow);
    } else if (cut > 1) {
        reportMapProblem("hunting-spot-cut-off", kLayerMarkers + 1, Cells, cut,
                         "the hunter cannot walk from %d hunting spots to the deer start at (%d, %d), the first at"
                         " (%d, %d).",
                         cut, check->startColumn, check->startRow, Cells[0] % kGridSide, Cells[0] / kGridSide);
    }
}

// True when the deer's figure passes the map's edge on side (0 top, 1 right, 2 bottom, 3 left)
// somewhere in a reachable cell: its centre ranges as far as the foot box stays in the cell.
static bool isOpenToEdge(int row, int column, int side) {
    if (!Reached[cellAt(row, column)]) {
        return false;
    }
    const int lastTenth = kCellTenths - kPixelTenths;
    switch (side) {
    case 0: return (row * kCellTenths - kFootTop) / kPixelTenths - kFigureHalf < 0;
    case 1:
        return (column * kCellTenths + lastTenth - kFootHalfWidth) / kPixelTenths + kFigureHalf >
               gMapColumns * gTileWidthToRender;
    case 2:
        return (row * kCellTenths + lastTenth - kFootBottom) / kPixelTenths + kFigureHalf >
               gMapRows * gTileHeightToRender;
    default: return (column * kCellTenths + kFootHalfWidth) / kPixelTenths - kFigureHalf < 0;
    }
}

// Open edges: outer cells where the deer can stand with its figure past the map's edge, one line
// for each side. An edge the game added to a small map is not the author's: the message about the
// map's size covers it.
static void checkEdges() {
    static const char* const kEdgeName[4] = {"top", "right", "bottom", "left"};
    for (int side = 0; side < 4; side++) {
        const bool alongRow = side == 0 || side == 2;
        const int length = alongRow ? gMapColumns : gMapRows;
        const int fixed = side == 0 ? 0 : (side == 1 ? gMapColumns - 1 : (side == 2 ? gMapRows - 1 : 0));
        int count = 0;
        for (int i = 0; i < length; i++) {
            const int row = alongRow ? fixed : i;
            const int column = alongRow ? i : fixed;
            if (isAuthorsCell(row, column) && isOpenToEdge(row, column, side)) {
                Cells[count++] = cellAt(row, column);
            }
        }
        if (count > 0) {
            reportMapProblem(
                "open-edge", 0, Cells, count,
                "the map's %s edge is open %s: the deer can walk there and its figure passes the edge; line"
                " it with trees, rocks or water.",
                kEdgeName[side], describeCells(count, Cells[0]));
        }
    }
}

// Tiles that cannot be seen: ids past the tile sheet (one line for all), and tiles without a
// drawing pass (one line per id). Markers out of their layer have their own message.
static void checkTiles(const MapCheck* check) {
    static int Count[kTileIdCount]; // cells holding each id, counted afresh by each check
    static int Start[kTileIdCount]; // where each id's cells begin in Cells
    memset(Count, 0, sizeof Count);
    int pastSheet = 0;
    int firstPast = -1; // the first cell, as layer * kGridCells + cell, and its id
    int firstPastId = 0;
    for (int pass = 0; pass < 2; pass++) {
        int total = 0;
        for (int id = 1; id < kTileIdCount && pass == 1; id++) {
            Start[id] = total;
            total += Count[id];
            Count[id] = 0;
        }
        for (int layer = 0; layer < kMapLayers; layer++) {
            for (int row = 0; row < gMapRowsRead; row++) {
                for (int column = 0; column < gMapColumnsRead; column++) {
                    const uint16_t id = gMap[layer * kGridCells + cellAt(row, column)];
                    const bool marker = id == kDeerStartMarker || id == kHuntingSpotMarker;
                    if (id == 0 || id >= kTileIdCount || (id <= kSheetTiles && (gTileTypeOverlay[id] != 0 || marker))) {
                        continue;
                    }
                    if (pass == 1) {
                        Cells[Start[id] + Count[id]] = cellAt(row, column);
                    } else if (id > kSheetTiles && pastSheet++ == 0) {
                        firstPast = layer * kGridCells + cellAt(row, column);
                        firstPastId = id;
                    }
                    Count[id]++;
                }
            }
        }
    }
    for (int id = 1; id <= kSheetTiles; id++) {
        if (Count[id] == 0) {
            continue;
        }
        int layer = 0; // the layer of the first cell: the first layer holding the id there
        while (gMap[layer * kGridCells + Cells[Start[id]]] != id) {
            layer++;
        }
        reportMapProblem("tile-not-drawn", 0, Cells + Start[id], Count[id],
                         "tile %d has no drawing pass in %s, so it is never drawn: %s in %s.", id, check->properties,
                         describeCells(Count[id], Cells[Start[id]]), layerLabel(layer));
    }
    if (pastSheet > 0) {
        const int layer = firstPast / kGridCells;
        const int cell = firstPast % kGridCells;
        if (pastSheet == 1) {
            reportMapProblem("tile-outside-sheet", 0, Cells + Start[kSheetTiles + 1], pastSheet,
                             "tile id %d at (%d, %d) in %s has no tile in the tile sheet (ids 1 to %d), so it is never"
                             " drawn.",
                             firstPastId, cell % kGridSide, cell / kGridSide, layerLabel(layer), kSheetTiles);
        } else {
            reportMapProblem("tile-outside-sheet", 0, Cells + Start[kSheetTiles + 1], pastSheet,
                             "%d cells hold tile ids that have no tile in the tile sheet (ids 1 to %d), so they are"
                             " never drawn; the first, tile id %d, at (%d, %d) in %s.",
                             pastSheet, kSheetTiles, firstPastId, cell % kGridSide, cell / kGridSide,
                             layerLabel(layer));
        }
    }
}

// The folder of path, with its last '/': "" for a file in the working folder.
static void folderOf(const char* path, char* folder, int size) {
    const char* name = baseName(path);
    snprintf(folder, size_t(size), "%.*s", int(name - path), path);
}

// The game's data folder as the checker finds it: "../Common/" when the game's own properties are
// there from the working directory, else the Common folder beside the executable's.
static const char* gameDataFolder() {
    static char Folder[kMapPathSize]; // made afresh at each call: the working directory may change
    FILE* file = nullptr;
    char* base = SDL_GetBasePath();
    if (openDataFile(kCommonProperties, &file) == kOpenOk || base == nullptr) {
        snprintf(Folder, sizeof Folder, "%s", "../Common/");
    } else {
        snprintf(Folder, sizeof Folder, "%s../Common/", base);
    }
    if (file != nullptr) {
        fclose(file);
    }
    SDL_free(base);
    return Folder;
}

const char* defaultPropertiesPath() {
    static char Path[kMapPathSize + sizeof "properties.tmx"]; // made afresh at each call
    snprintf(Path, sizeof Path, "%sproperties.tmx", gameDataFolder());
    return Path;
}

// Opens a MIDI file: 1 when it is there and a MIDI file, 0 when it is missing, -1 when it is
// something else (what, in *why).
static int findMidi(const char* path, const char** why) {
    FILE* file = nullptr;
    const int opened = openDataFile(path, &file);
    if (opened != kOpenOk) {
        *why = describeOpenFailure();
        return opened == kOpenNotRegular ? -1 : 0;
    }
    unsigned char signature[sizeof kMidiSignature] = {};
    const size_t read = fread(signature, 1, sizeof signature, file);
    fclose(file);
    *why = "not a MIDI file";
    return read == sizeof signature && memcmp(signature, kMidiSignature, sizeof signature) == 0 ? 1 : -1;
}

// The map's music file must be there, beside the tile properties or in the game's data folder.
static void checkMusic(const MapCheck* check, int musicNumber) {
    if (musicNumber < 0) {
        return; // the loader has said what is wrong with the Music property
    }
    char beside[kMapPathSize];
    char data[kMapPathSize];
    folderOf(check->properties, beside, kMapPathSize);
    snprintf(data, sizeof data, "%s", gameDataFolder());
    char name[kPlaceSize];
    snprintf(name, sizeof name, "mus%02d.mid", musicNumber);
    char path[kMapPathSize + kPlaceSize];
    const char* why = "";
    for (const char* folder : {beside, data}) {
        snprintf(path, sizeof path, "%s%s", folder, name);
        const int found = findMidi(path, &why);
        if (found > 0) {
            return;
        }
        if (found < 0) {
            reportMapProblem("music-missing", 0, nullptr, 0, "Music %d plays %s, which cannot be played: %s.",
                             musicNumber, path, why);
            return;
        }
    }
    if (strcmp(beside, data) == 0) {
        reportMapProblem("music-missing", 0, nullptr, 0,
                         "Music %d plays %s, which is not beside the tile properties, in %s.", musicNumber, name,
                         beside[0] == '\0' ? "./" : beside);
    } else {
        reportMapProblem("music-missing", 0, nullptr, 0,
                         "Music %d plays %s, which is neither beside the tile properties (%s) nor in the game's data"
                         " folder (%s).",
                         musicNumber, name, beside[0] == '\0' ? "./" : beside, data);
    }
}

// Says what a file in the tile properties' place is when it is not tile properties; returns
// false then. Leaves the file at its start.
static bool checkPropertiesFile(FILE* file, const char* path) {
    MapLayout layout;
    surveyMapLayout(file, &layout);
    rewind(file);
    if (layout.png) {
        reportMapProblem("properties-file", 0, nullptr, 0, "%s is a PNG image, not %s.", path, kPropertiesWanted);
    } else if (!layout.hasMap) {
        reportMapProblem("properties-file", 0, nullptr, 0, "%s is not a Tiled map (.tmx), so not %s.", path,
                         kPropertiesWanted);
    } else if (layout.width != kTilePropertyColumns || layout.height != kTilePropertyRows) {
        reportMapProblem("properties-file", 0, nullptr, 0, "%s is a %lld x %lld map, not %s.", path, layout.width,
                         layout.height, kPropertiesWanted);
    } else if (layout.csvData < 4) {
        reportMapProblem("properties-file", 0, nullptr, 0,
                         "%s has %d tile layer%s in CSV; the tile properties need four (Legend, Movement, Projectiles,"
                         " Overlay), saved in CSV.",
                         path, layout.csvData, layout.csvData == 1 ? "" : "s");
    } else {
        return true;
    }
    return false;
}

// Opens the map and the tile properties, reads them as the game does and checks the map; *read
// says whether both files could be read.
static int checkOpenedMap(const char* mapPath, const char* propertiesPath, bool* read) {
    *read = false;
    MapCheck check{propertiesPath, 0, 0, 0, 0};
    FILE* map = nullptr;
    if (openDataFile(mapPath, &map) != kOpenOk) {
        reportMapProblem("unreadable", 0, nullptr, 0, "cannot read the map: %s.", describeOpenFailure());
        return kMapCheckUnusable;
    }
    FILE* properties = nullptr;
    if (openDataFile(propertiesPath, &properties) != kOpenOk) {
        reportMapProblem("unreadable", 0, nullptr, 0,
                         "cannot read the tile properties %s: %s; give them with --properties FILE.", propertiesPath,
                         describeOpenFailure());
        fclose(map);
        return kMapCheckUnusable;
    }
    if (!checkPropertiesFile(properties, propertiesPath)) {
        fclose(properties);
        fclose(map);
        return kMapCheckUnusable;
    }

    // Read both files as the game does, its messages printed as the checker's lines.
    *read = true;
    fixRenderSizes();
    snprintf(gMapPath, sizeof gMapPath, "%s", mapPath);
    gHuntingSpots = 0;
    gFoodLeftToEat = -2;
    gCheckedFilePath = propertiesPath;
    readTileProperties(properties);
    finishRowBreaks();
    gCheckedFilePath = nullptr;
    int musicNumber = -1;
    const int result = readMap(map, 1, &musicNumber);
    const int misreadRows = finishRowBreaks();
    fclose(properties);
    fclose(map);
    if (result != 0) {
        return kMapCheckUnusable; // refused: the loader's message says why
    }
    if (misreadRows > 0) {
        return kMapCheckProblems; // what follows the misread rows would only mislead
    }

    checkSize();
    checkLayout();
    findStarts(&check);
    if (check.starts > 0) {
        checkStartCell(&check);
        floodDeerReach(&check);
    }
    checkGrass(&check);
    checkMarkerLayers();
    checkHuntingSpots(&check);
    if (check.starts > 0) {
        checkEdges();
    }
    checkTiles(&check);
    checkMusic(&check, musicNumber);
    return mapProblems() == 0 ? kMapCheckClean : kMapCheckProblems;
}

int checkMap(const char* mapPath, const char* propertiesPath) {
    gCheckedMapPath = mapPath;
    gCheckedFilePath = nullptr;
    beginMapReport();
    if (gReportJson != 0) {
        fputs("  {\"map\": ", stdout);
        printJsonString(mapPath);
        fputs(", \"problems\": [", stdout);
    }
    bool read = false;
    const int result = checkOpenedMap(mapPath, propertiesPath, &read);
    const int problems = mapProblems();
    if (gReportJson != 0) {
        printf("\n  ], \"status\": %d}", result);
    } else if (read) { // a file that cannot be read or used has its one line
        printf("%s: ", mapPath);
        if (problems == 0) {
            puts("no problems");
        } else {
            printf("%d problem%s%s\n", problems, problems == 1 ? "" : "s",
                   result == kMapCheckUnusable ? "; the game refuses this map" : "");
        }
    }
    gCheckedMapPath = nullptr;
    return result;
}

// True when the file at path is tile properties: a 64 x 3 map without a Music property.
static bool isPropertiesFile(const char* path) {
    FILE* file = nullptr;
    if (openDataFile(path, &file) != kOpenOk) {
        return false;
    }
    MapLayout layout;
    surveyMapLayout(file, &layout);
    fclose(file);
    return layout.hasMap && layout.width == kTilePropertyColumns && layout.height == kTilePropertyRows &&
           layout.musicOn == kOnNothing && layout.otherMusicOn == kOnNothing;
}

// True for an argument that is a map: not an option (after "--", everything is a map).
static bool isMapArgument(const char* argument, bool onlyMaps) {
    return onlyMaps || argument[0] != '-' || argument[1] == '\0';
}

int runMapCheckCommand(int argc, char** argv) {
    const char* properties = nullptr;
    const char* mapsGiven[2] = {}; // the first two maps
    int maps = 0;
    int json = 0;
    int difficultyGames = 0; // --difficulty: the player program's games of each profile; 0: none
    bool onlyMaps = false;
    for (int i = 0; i < argc; i++) {
        const char* argument = argv[i];
        if (strcmp(argument, "--difficulty") == 0 && !onlyMaps) {
            // An optional number of games follows.
            char* end = nullptr;
            const long games = i + 1 < argc ? strtol(argv[i + 1], &end, 10) : 0;
            const bool counted = i + 1 < argc && end != argv[i + 1] && *end == '\0';
            if (counted && (games < 1 || games > kMaxDifficultyGames)) {
                printf("velmoor: --difficulty takes a number of games from 1 to 100000. Usage: %s\n", kUsage);
                return kMapCheckUnusable;
            }
            difficultyGames = counted ? int(games) : kDifficultyGames;
            i += counted ? 1 : 0;
        } else if (isMapArgument(argument, onlyMaps)) {
            if (maps < 2) {
                mapsGiven[maps] = argument;
            }
            maps++;
        } else if (strcmp(argument, "--") == 0) {
            onlyMaps = true;
        } else if (strcmp(argument, "--json") == 0) {
            json = 1;
        } else if (strcmp(argument, "--properties") == 0 && (properties != nullptr || i + 1 == argc)) {
            printf("velmoor: --properties takes one file, once. Usage: %s\n", kUsage);
            return kMapCheckUnusable;
        } else if (strcmp(argument, "--properties") == 0) {
            properties = argv[++i];
        } else {
            printf("velmoor: --check-map does not know the option %s. Usage: %s\n", argument, kUsage);
            return kMapCheckUnusable;
        }
    }
    if (maps == 0) {
        printf("velmoor: --check-map needs a map to check. Usage: %s\n", kUsage);
        return kMapCheckUnusable;
    }
    if (json != 0 && difficultyGames > 0) {
        printf("velmoor: --difficulty prints lines of text, not JSON: leave out one of them. Usage: %s\n", kUsage);
        return kMapCheckUnusable;
    }
    // The older form: a map, then its tile properties.
    const char* skipped = nullptr;
    if (properties == nullptr && maps == 2 && isPropertiesFile(mapsGiven[1])) {
        properties = skipped = mapsGiven[1];
    }
    if (properties == nullptr) {
        properties = defaultPropertiesPath();
    }
    gReportJson = json;
    int worst = kMapCheckClean;
    int checked = 0;
    onlyMaps = false;
    for (int i = 0; i < argc; i++) {
        const char* argument = argv[i];
        if (strcmp(argument, "--difficulty") == 0 && !onlyMaps) {
            char* end = nullptr;
            i += i + 1 < argc && strtol(argv[i + 1], &end, 10) >= 0 && end != argv[i + 1] && *end == '\0' ? 1 : 0;
            continue;
        }
        if (!isMapArgument(argument, onlyMaps)) {
            onlyMaps = onlyMaps || strcmp(argument, "--") == 0;
            i += strcmp(argument, "--properties") == 0; // its file
            continue;
        }
        if (argument == skipped) {
            continue;
        }
        fputs(json == 0 ? "" : (checked == 0 ? "[\n" : ",\n"), stdout);
        checked++;
        const int result = checkMap(argument, properties);
        worst = result > worst ? result : worst;
        if (difficultyGames > 0 && result != kMapCheckUnusable) {
            printDifficulty(argument, difficultyGames); // after the map's problems: how often it is won
            fflush(stdout);
        }
    }
    if (json != 0) {
        puts("\n]");
    }
    gReportJson = 0;
    return worst;
}
