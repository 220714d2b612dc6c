// The plain A* search: an array open list scanned in full for the entry of lowest f-cost.
#include "hunter/reference_search.h"

#include <cstring>

#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "render/mapview.h"

long gReferenceLoweredWaiting;
long gReferenceLoweredExpanded;

struct OpenEntry {
    int row;
    int column;
};

static OpenEntry Open[kGridCells]; // the open list; each cell enters it at most once per search
static int Expanded[kGridCells];   // search number in which a cell was expanded, for the counters
static int SearchNumber;           // counts the searches of the run

static int clampInt(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

int referenceComputeHunterPath(int row, int column) {
    SearchNumber++;
    const int rows = clampInt(gMapRows, 1, kGridSide);
    const int columns = clampInt(gMapColumns, 1, kGridSide);
    row = clampInt(row, 0, rows - 1);
    column = clampInt(column, 0, columns - 1);
    const int hr = gHunterY / gTileHeightToRender / 10;
    const int hc = gHunterX / gTileWidthToRender / 10;
    const bool hunterInGrid = hr >= 0 && hr < kGridSide && hc >= 0 && hc < kGridSide;

    int count = 1;
    Open[0] = OpenEntry{row, column};
    gMapPathfindingG[row * kGridSide + column] = 0;
    gMapPathfindingF[row * kGridSide + column] = 0;
    for (int r = 0; r < rows; r++) {
        for (int c = 0; c < columns; c++) {
            gMapPathfindingParent[r * kGridSide + c] = 0;
        }
    }
    gMapPathfindingParent[row * kGridSide + column] = 1;

    while (count > 0) {
        int best = 0;
        for (int i = 1; i < count; i++) {
            if (gMapPathfindingF[Open[i].row * kGridSide + Open[i].column] <
                gMapPathfindingF[Open[best].row * kGridSide + Open[best].column]) {
                best = i;
            }
        }
        const int r = Open[best].row;
        const int c = Open[best].column;
        count--;
        if (best != count) {
            Open[best] = Open[count];
        }
        Expanded[r * kGridSide + c] = SearchNumber;

        const uint32_t g = gMapPathfindingG[r * kGridSide + c] + 1;
        const int nr[4] = {r, r - 1, r, r + 1};
        const int nc[4] = {c + 1, c, c - 1, c};
        const bool exists[4] = {c<columns - 1, r> 0, c > 0, r < rows - 1};
        const uint8_t code[4] = {4, 5, 2, 3};
        for (int i = 0; i < 4; i++) {
            if (!exists[i]) {
                continue;
            }
            const int cell = nr[i] * kGridSide + nc[i];
            if (gMapMovementObstacle[cell] != 0 && !(nr[i] == hr && nc[i] == hc)) {
                continue; // a blocking cell is entered only when the hunter stands on it
            }
            if (gMapPathfindingParent[cell] == 0) {
                gMapPathfindingG[cell] = g;
                gMapPathfindingF[cell] = static_cast<int32_t>(g) + computeL1Norm(nr[i] - hr, nc[i] - hc);
                gMapPathfindingParent[cell] = code[i];
                Open[count++] = OpenEntry{nr[i], nc[i]};
            } else if (gMapPathfindingG[cell] > g) {
                if (Expanded[cell] == SearchNumber) {
                    gReferenceLoweredExpanded++;
                } else {
                    gReferenceLoweredWaiting++;
                }
                gMapPathfindingG[cell] = g;
                gMapPathfindingF[cell] = static_cast<int32_t>(g) + computeL1Norm(nr[i] - hr, nc[i] - hc);
                gMapPathfindingParent[cell] = code[i];
            }
        }
        if (hunterInGrid && gMapPathfindingParent[hr * kGridSide + hc] != 0) {
            return 1;
        }
    }
    return 0;
}
