// Line of sight and the shooting window.
#include "hunter/sight.h"

#include "hunter/navigation.h"
#include "render/mapview.h"
#include "render/media.h"
#include "world/map.h"

static int clampInt(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

// 1 when a cell blocks the sight line; cells outside the map never do (a deer track can lie in
// the row just below the map).
static int isSightBlocked(int row, int column) {
    if (row < 0 || row >= gMapRows || column < 0 || column >= gMapColumns || row >= kGridSide || column >= kGridSide) {
        return 0;
    }
    return gMapProjectileObstacle[row * kGridSide + column] != 0;
}

int hasLineOfSight(int x1, int y1, int x2, int y2) {
    const int width = gTileWidthToRender;
    const int height = gTileHeightToRender;
    // Points are kept on the grid, so every cell of the walk lies inside it.
    x1 = clampInt(x1, 0, kGridSide * width - 1);
    y1 = clampInt(y1, 0, kGridSide * height - 1);
    x2 = clampInt(x2, 0, kGridSide * width - 1);
    y2 = clampInt(y2, 0, kGridSide * height - 1);
    int r = y1 / height;
    int c = x1 / width;
    const int endRow = y2 / height;
    const int endColumn = x2 / width;
    if (r == endRow && c == endColumn) {
        return 1;
    }
    const int dx = x2 - x1;
    const int dy = y2 - y1;
    // The leading corner of each cell and the steps out of it, by the signs of dx and dy.
    const int rowOffset = dy > 0 ? 1 : 0;
    const int columnOffset = dx > 0 ? 1 : 0;
    const int rowStep = dy > 0 ? 1 : -1;
    const int columnStep = dx > 0 ? 1 : -1;
    // Which step a positive side value takes: for down-right and up-left it crosses the vertical side.
    const bool positiveStepsColumn = (dx > 0) == (dy > 0);

    while (r != endRow || c != endColumn) {
        if (isSightBlocked(r, c)) {
            return 0;
        }
        const int side = (height * (r + rowOffset) - y1) * dx - (width * (c + columnOffset) - x1) * dy;
        if (side == 0) {
            if (dx == 0) {
                // Straight along a column boundary: stay in the column that holds both points.
                r += rowStep;
            } else if (dy == 0) {
                c += columnStep;
            } else if (r == endRow && c + columnStep == endColumn) {
                // The segment ends on the corner, and the end point belongs to a cell beside it.
                c += columnStep;
            } else if (c == endColumn && r + rowStep == endRow) {
                r += rowStep;
            } else {
                r += rowStep;
                c += columnStep;
            }
        } else if ((side > 0) == positiveStepsColumn) {
            c += columnStep;
        } else {
            r += rowStep;
        }
    }
    return 1;
}

int isInPositionToShoot() {
    const int hx = gHunterX / 10;
    const int hy = gHunterY / 10;
    const int px = gPlayerX / 10;
    const int py = gPlayerY / 10;
    int left = gScreenX + kShootingMargin;
    int right = gScreenX + kScreenWidth - kShootingMargin;
    int top = gScreenY + kShootingMargin;
    int bottom = gScreenY + kScreenHeight - kShootingMargin;
    // Where the camera is held at a map edge, the bound on that side again lies as far from the deer
    // as it would with the camera centred.
    const int mapWidth = gTileWidthToRender * gMapColumns;
    const int mapHeight = gTileHeightToRender * gMapRows;
    if (px <= kScreenWidth / 2) {
        left -= kScreenWidth / 2 - px;
    } else if (px >= mapWidth - kScreenWidth / 2) {
        right += px - (mapWidth - kScreenWidth / 2);
    }
    if (py <= kScreenHeight / 2) {
        top -= kScreenHeight / 2 - py;
    } else if (py >= mapHeight - kScreenHeight / 2) {
        bottom += py - (mapHeight - kScreenHeight / 2);
    }
    return left < hx && hx < right && top < hy && hy < bottom;
}
