// The map checker: reads a map exactly as the game does and reports what would spoil a game on it.
#include "game/mapcheck.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "game/deer.h"
#include "game/startup.h"
#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "movement/movement.h"
#include "render/mapview.h"
#include "world/loadreport.h"
#include "world/map.h"
#include "world/tileprops.h"

constexpr int kCellTenths = 640; // a cell's side in tenths of a map pixel (64 pixels)
constexpr int kPixelTenths = 10;
constexpr int kFacingRight = 0; // the deer's sprite rows that standing uses
constexpr int kFacingLeft = 2;
constexpr int kFigureHalf = 32; // the deer's 64 x 64 figure reaches this many pixels from its centre
constexpr int kMinGrass = 3;    // the game is won when all grass but two is eaten
constexpr int kLayerMarkers = 3;
constexpr int kLayerGrass = 1;
constexpr int kSheetTiles = kTilePropertyRows * kTilePropertyColumns; // tiles in Tiles.png, ids 1 to 192
constexpr int kListedStarts = 4;                                      // deer starts named in the message about too many
constexpr int kMusicPathSize = 32;                                    // "../Common/mus%02d.mid" with room to spare
static const char* const kLayerName[kMapLayers] = {"Ground", "Grass", "Objects", "Markers"};

// The checker's state for one map: what it found and how many problems it printed.
struct MapCheck {
    const char* name;       // the map's file name
    const char* properties; // the tile-property file's name
    int problems;
    int starts;                // deer start markers
    int startRow, startColumn; // the last of them, where the game puts the deer
    int grassTiles;            // grass in the Grass layer
};

// The deer's reach in the map being checked, filled afresh by each check.
static uint8_t Reached[kGridCells];   // cells its feet can reach from the start
static uint8_t HeadReach[kGridCells]; // cells its head can reach while it stands
static int Queue[kGridCells];         // the flood's queue of cell indices

static int cellAt(int row, int column) { return row * kGridSide + column; }

static bool blocks(int row, int column) { return gMapMovementObstacle[cellAt(row, column)] != 0; }

// Starts one problem line: the map's name first.
static void beginProblem(MapCheck* check) {
    check->problems++;
    printf("%s: ", check->name);
}

// Counts the deer start markers as the file gave them, and keeps the last (the one the game uses).
static void findStarts(MapCheck* check) {
    for (int row = 0; row < gMapRows; row++) {
        for (int column = 0; column < gMapColumns; column++) {
            if (gMapLayersRead[kLayerMarkers * kGridCells + cellAt(row, column)] == kDeerStartMarker) {
                check->starts++;
                check->startRow = row;
                check->startColumn = column;
            }
        }
    }
    if (check->starts == 0) {
        beginProblem(check);
        printf("no deer start: put one deer start marker (tile 20) in the Markers layer.\n");
    } else if (check->starts > 1) {
        beginProblem(check);
        printf("%d deer starts, at", check->starts);
        int listed = 0;
        for (int row = 0; row < gMapRows; row++) {
            for (int column = 0; column < gMapColumns; column++) {
                if (gMapLayersRead[kLayerMarkers * kGridCells + cellAt(row, column)] == kDeerStartMarker &&
                    listed++ < kListedStarts) {
                    printf("%s (%d, %d)", listed == 1 ? "" : ",", column, row);
                }
            }
        }
        printf("%s; keep one (the game uses the last).\n", listed > kListedStarts ? " and more" : "");
    }
}

// Reports a deer start whose foot box, where the game puts the deer, overlaps a blocking cell.
static void checkStartCell(MapCheck* check) {
    bool blocked = false;
    for (int row = (gPlayerY + kFootTop) / kCellTenths; row <= (gPlayerY + kFootBottom) / kCellTenths; row++) {
        for (int column = (gPlayerX - kFootHalfWidth) / kCellTenths;
             column <= (gPlayerX + kFootHalfWidth) / kCellTenths; column++) {
            blocked = blocked || blocks(row, column);
        }
    }
    if (blocked) {
        beginProblem(check);
        printf("the deer start at (%d, %d) is on a cell that blocks movement.\n", check->startColumn, check->startRow);
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
// reached one. The start cell counts even when it blocks (the moves test only the cells ahead).
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

// Grass: enough of it, only in the Grass layer, and each tile within reach of the deer's head.
static void checkGrass(MapCheck* check) {
    for (int layer = 0; layer < kMapLayers; layer++) {
        for (int row = 0; row < gMapRows; row++) {
            for (int column = 0; column < gMapColumns; column++) {
                if (!isFoodTile(gMap[layer * kGridCells + cellAt(row, column)])) {
                    continue;
                }
                if (layer != kLayerGrass) {
                    beginProblem(check);
                    printf("grass at (%d, %d) is in layer %d (%s), where the deer cannot eat it; grass belongs in"
                           " layer 2 (Grass).\n",
                           column, row, layer + 1, kLayerName[layer]);
                    continue;
                }
                check->grassTiles++;
                if (check->starts > 0 && !HeadReach[cellAt(row, column)]) {
                    beginProblem(check);
                    printf("the deer cannot reach the grass at (%d, %d) from its start at (%d, %d).\n", column, row,
                           check->startColumn, check->startRow);
                }
            }
        }
    }
    if (check->grassTiles < kMinGrass) {
        beginProblem(check);
        printf("%d grass tile%s in the Grass layer; at least %d are needed, as the game is won when all but two"
               " are eaten.\n",
               check->grassTiles, check->grassTiles == 1 ? "" : "s", kMinGrass);
    }
}

// Hunting spots: at least one, each on a free cell from which the hunter's search reaches the deer's start.
static void checkHuntingSpots(MapCheck* check) {
    if (gHuntingSpots == 0) {
        beginProblem(check);
        printf("no hunting spot: put hunting spot markers (tile 84) in the Markers layer, or the hunter never"
               " comes.\n");
    }
    for (int spot = 0; spot < gHuntingSpots; spot++) {
        const int row = gHuntingSpotRow[spot];
        const int column = gHuntingSpotColumn[spot];
        if (blocks(row, column)) {
            beginProblem(check);
            printf("the hunting spot at (%d, %d) is on a cell that blocks movement.\n", column, row);
            continue;
        }
        if (check->starts == 0) {
            continue;
        }
        gHunterX = (10 * column + 5) * gTileWidthToRender;
        gHunterY = (10 * row + 5) * gTileHeightToRender;
        if (computeHunterPath(check->startRow, check->startColumn) == 0) {
            beginProblem(check);
            printf("the hunter cannot walk from the hunting spot at (%d, %d) to the deer start at (%d, %d).\n", column,
                   row, check->startColumn, check->startRow);
        }
    }
    gHunterX = -1;
    gHunterY = -1;
}

// Reports one run of open cells along an edge.
static void reportOpenEdge(MapCheck* check, const char* edge, int firstX, int firstY, int lastX, int lastY) {
    beginProblem(check);
    if (firstX == lastX && firstY == lastY) {
        printf("open edge at (%d, %d): ", firstX, firstY);
    } else {
        printf("open edge from (%d, %d) to (%d, %d): ", firstX, firstY, lastX, lastY);
    }
    printf("the deer can walk there and its figure passes the map's %s edge; line the edge with trees, rocks or"
           " water.\n",
           edge);
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

// Open edges: runs of outer cells where the deer can stand with its figure past the map's edge.
static void checkEdges(MapCheck* check) {
    static const char* const kEdgeName[4] = {"top", "right", "bottom", "left"};
    for (int side = 0; side < 4; side++) {
        const bool alongRow = side == 0 || side == 2;
        const int length = alongRow ? gMapColumns : gMapRows;
        const int fixed = side == 0 ? 0 : (side == 1 ? gMapColumns - 1 : (side == 2 ? gMapRows - 1 : 0));
        int runStart = -1;
        for (int i = 0; i <= length; i++) {
            const int row = alongRow ? fixed : i;
            const int column = alongRow ? i : fixed;
            const bool open = i < length && isOpenToEdge(row, column, side);
            if (open && runStart < 0) {
                runStart = i;
            } else if (!open && runStart >= 0) {
                if (alongRow) {
                    reportOpenEdge(check, kEdgeName[side], runStart, fixed, i - 1, fixed);
                } else {
                    reportOpenEdge(check, kEdgeName[side], fixed, runStart, fixed, i - 1);
                }
                runStart = -1;
            }
        }
    }
}

// Tiles that cannot be seen: ids past the tile sheet, and tiles without a drawing pass. One line per id.
static void checkTiles(MapCheck* check) {
    static int Count[kTileIdCount];     // cells holding each id, cleared at each check
    static int FirstCell[kTileIdCount]; // the first of them, layer * kGridCells + cell
    memset(Count, 0, sizeof Count);
    for (int layer = 0; layer < kMapLayers; layer++) {
        for (int row = 0; row < gMapRows; row++) {
            for (int column = 0; column < gMapColumns; column++) {
                const uint16_t id = gMap[layer * kGridCells + cellAt(row, column)];
                if (id != 0 && id < kTileIdCount && (id > kSheetTiles || gTileTypeOverlay[id] == 0)) {
                    if (Count[id]++ == 0) {
                        FirstCell[id] = layer * kGridCells + cellAt(row, column);
                    }
                }
            }
        }
    }
    for (int id = 1; id < kTileIdCount; id++) {
        if (Count[id] == 0) {
            continue;
        }
        const int layer = FirstCell[id] / kGridCells;
        const int cell = FirstCell[id] % kGridCells;
        beginProblem(check);
        if (id > kSheetTiles) {
            printf("tile id %d has no tile in the tile sheet (ids 1 to %d)", id, kSheetTiles);
        } else {
            printf("tile %d has no drawing pass in %s, so it is never drawn", id, check->properties);
        }
        printf(": at (%d, %d) in layer %d (%s)", cell % kGridSide, cell / kGridSide, layer + 1, kLayerName[layer]);
        if (Count[id] > 1) {
            printf(" and %d more cell%s", Count[id] - 1, Count[id] == 2 ? "" : "s");
        }
        printf(".\n");
    }
}

// The map's music file must be there.
static void checkMusic(MapCheck* check, int musicNumber) {
    if (musicNumber < 0) {
        return; // the loader has said what is wrong with the Music property
    }
    char path[kMusicPathSize];
    snprintf(path, sizeof path, "../Common/mus%02d.mid", musicNumber);
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        beginProblem(check);
        printf("Music %d plays %s, which cannot be read: %s.\n", musicNumber, path, strerror(errno));
        return;
    }
    fclose(file);
}

int checkMap(const char* mapPath, const char* propertiesPath) {
    MapCheck check{baseName(mapPath), baseName(propertiesPath), 0, 0, 0, 0, 0};
    FILE* map = fopen(mapPath, "r");
    if (map == nullptr) {
        printf("%s: cannot read %s: %s.\n", check.name, mapPath, strerror(errno));
        return kMapCheckUnreadable;
    }
    FILE* properties = fopen(propertiesPath, "r");
    if (properties == nullptr) {
        printf("%s: cannot read the tile properties %s: %s.\n", check.name, propertiesPath, strerror(errno));
        fclose(map);
        return kMapCheckUnreadable;
    }

    // Read both files as the game does, its messages printed as the checker's lines.
    fixRenderSizes();
    snprintf(gCheckedMapName, sizeof gCheckedMapName, "%s", check.name);
    snprintf(gMapPath, sizeof gMapPath, "%s", mapPath);
    gHuntingSpots = 0;
    gFoodLeftToEat = -2;
    const int messagesBefore = gLoaderMessages;
    readTileProperties(properties);
    int musicNumber = -1;
    const int result = readMap(map, 1, &musicNumber);
    fclose(properties);
    fclose(map);
    gCheckedMapName[0] = '\0';
    check.problems = gLoaderMessages - messagesBefore;
    if (result != 0) {
        return kMapCheckProblems; // refused: the loader's message says why
    }

    findStarts(&check);
    if (check.starts > 0) {
        checkStartCell(&check);
        floodDeerReach(&check);
    }
    checkGrass(&check);
    checkHuntingSpots(&check);
    if (check.starts > 0) {
        checkEdges(&check);
    }
    checkTiles(&check);
    checkMusic(&check, musicNumber);
    return check.problems == 0 ? kMapCheckClean : kMapCheckProblems;
}

int runMapCheckCommand(int argc, char** argv) {
    if (argc < 1 || argc > 2) {
        printf("velmoor: --check-map takes a map and, after it, the tile properties: velmoor --check-map MAP.tmx "
               "[PROPERTIES.tmx].\n");
        return kMapCheckUnreadable;
    }
    return checkMap(argv[0], argc == 2 ? argv[1] : "../Common/properties.tmx");
}
