// The plain A* search: an array open list scanned in full for the entry of lowest f-cost.
#include "hunter/reference_search.h"

#include <algorithm>
#include <cstring>

#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "render/mapview.h"

long gReferenceLowered;

static int Open[kGridCells]; // the open list of cells; each enters it at most once per search

int referenceComputeHunterPath(int row, int column) {
    const int rows = std::clamp(gMapRows, 1, kGridSide), columns = std::clamp(gMapColumns, 1, kGridSide);
    const int hr = gHunterY / gTileHeightToRender / 10, hc = gHunterX / gTileWidthToRender / 10;
    for (int r = 0; r < rows; r++)
        memset(gMapPathfindingParent + r * kGridSide, 0, columns);
    int count = 1;
    Open[0] = std::clamp(row, 0, rows - 1) * kGridSide + std::clamp(column, 0, columns - 1);
    gMapPathfindingG[Open[0]] = gMapPathfindingF[Open[0]] = 0;
    gMapPathfindingParent[Open[0]] = 1;
    while (count > 0) {
        int best = 0;
        for (int i = 1; i < count; i++)
            best = gMapPathfindingF[Open[i]] < gMapPathfindingF[Open[best]] ? i : best;
        const int r = Open[best] / kGridSide, c = Open[best] % kGridSide;
        Open[best] = Open[--count];
        const uint32_t g = gMapPathfindingG[r * kGridSide + c] + 1;
        // Right, up, left, down, each with the code of the step back to (r, c).
        const int dr[4] = {0, -1, 0, 1}, dc[4] = {1, 0, -1, 0}, code[4] = {4, 5, 2, 3};
        for (int i = 0; i < 4; i++) {
            const int nr = r + dr[i], nc = c + dc[i], cell = nr * kGridSide + nc;
            // A blocking cell is entered only when the hunter stands on it.
            if (nr < 0 || nr >= rows || nc < 0 || nc >= columns ||
                (gMapMovementObstacle[cell] != 0 && (nr != hr || nc != hc)))
                continue;
            const bool isNew = gMapPathfindingParent[cell] == 0;
            if (!isNew && gMapPathfindingG[cell] <= g)
                continue;
            gReferenceLowered += isNew ? 0 : 1;
            gMapPathfindingG[cell] = g;
            gMapPathfindingF[cell] = static_cast<int32_t>(g) + computeL1Norm(nr - hr, nc - hc);
            gMapPathfindingParent[cell] = static_cast<uint8_t>(code[i]);
            if (isNew)
                Open[count++] = cell;
        }
        if (hr >= 0 && hr < kGridSide && hc >= 0 && hc < kGridSide && gMapPathfindingParent[hr * kGridSide + hc] != 0)
            return 1;
    }
    return 0;
}
