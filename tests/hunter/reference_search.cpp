// The plain A* search: an array open list scanned in full for the entry of lowest f-cost.
#include "hunter/reference_search.h"

#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "render/mapview.h"

long gReferenceLowered;

static int Open[kGridCells]; // the open list of cells; each enters it at most once per search

static int clampInt(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

int referenceComputeHunterPath(int row, int column) {
    const int rows = clampInt(gMapRows, 1, kGridSide), columns = clampInt(gMapColumns, 1, kGridSide);
    const int hr = gHunterY / gTileHeightToRender / 10, hc = gHunterX / gTileWidthToRender / 10;
    for (int r = 0; r < rows; r++)
        for (int c = 0; c < columns; c++)
            gMapPathfindingParent[r * kGridSide + c] = 0;
    int count = 1;
    Open[0] = clampInt(row, 0, rows - 1) * kGridSide + clampInt(column, 0, columns - 1);
    gMapPathfindingG[Open[0]] = 0;
    gMapPathfindingF[Open[0]] = 0;
    gMapPathfindingParent[Open[0]] = 1;
    while (count > 0) {
        int best = 0;
        for (int i = 1; i < count; i++)
            best = gMapPathfindingF[Open[i]] < gMapPathfindingF[Open[best]] ? i : best;
        const int r = Open[best] / kGridSide, c = Open[best] % kGridSide;
        Open[best] = Open[--count];
        const uint32_t g = gMapPathfindingG[r * kGridSide + c] + 1;
        // Right, up, left, down, each with the code of the step back to (r, c).
        const bool exists[4] = {c<columns - 1, r> 0, c > 0, r < rows - 1};
        const int neighbour[4] = {r * kGridSide + c + 1, (r - 1) * kGridSide + c, r * kGridSide + c - 1,
                                  (r + 1) * kGridSide + c};
        const uint8_t code[4] = {4, 5, 2, 3};
        for (int i = 0; i < 4; i++) {
            const int cell = neighbour[i];
            const bool isNew = exists[i] && gMapPathfindingParent[cell] == 0;
            // A blocking cell is entered only when the hunter stands on it.
            if (!exists[i] || (gMapMovementObstacle[cell] != 0 && cell != hr * kGridSide + hc) ||
                (!isNew && gMapPathfindingG[cell] <= g))
                continue;
            gReferenceLowered += isNew ? 0 : 1;
            gMapPathfindingG[cell] = g;
            gMapPathfindingF[cell] =
                static_cast<int32_t>(g) + computeL1Norm(cell / kGridSide - hr, cell % kGridSide - hc);
            gMapPathfindingParent[cell] = code[i];
            if (isNew)
                Open[count++] = cell;
        }
        if (hr >= 0 && hr < kGridSide && hc >= 0 && hc < kGridSide && gMapPathfindingParent[hr * kGridSide + hc] != 0)
            return 1;
    }
    return 0;
}
