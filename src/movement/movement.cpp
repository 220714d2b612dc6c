// The deer's movement with collision against the movement grid.
#include "movement/movement.h"

#include "render/mapview.h"
#include "world/map.h"

int gPlayerInputX;
int gPlayerInputY;
int gPlayerOrientation;

static int cellWidth() { return 10 * gTileWidthToRender; }
static int cellHeight() { return 10 * gTileHeightToRender; }

// A cell blocks when its movement byte is set; cells outside the grid are never read.
static bool blocks(int row, int column) {
    if (row < 0 || row >= kGridSide || column < 0 || column >= kGridSide) {
        return false;
    }
    return gMapMovementObstacle[row * kGridSide + column] != 0;
}

// True when any cell of the column within the foot box's rows blocks.
static bool columnBlocks(int column) {
    for (int row = (gPlayerY + kFootTop) / cellHeight(); row <= (gPlayerY + kFootBottom) / cellHeight(); row++) {
        if (blocks(row, column)) {
            return true;
        }
    }
    return false;
}

// True when any cell of the row within the foot box's columns blocks.
static bool rowBlocks(int row) {
    for (int column = (gPlayerX - kFootHalfWidth) / cellWidth(); column <= (gPlayerX + kFootHalfWidth) / cellWidth();
         column++) {
        if (blocks(row, column)) {
            return true;
        }
    }
    return false;
}

int moveRight(int step) {
    const int old = gPlayerX;
    const int column = (gPlayerX + kFootHalfWidth) / cellWidth() + 1;
    gPlayerX += step;
    int limit = gPlayerX;
    if (column < gMapColumns) {
        if (columnBlocks(column)) {
            limit = (gTileWidthToRender * column - 1) * 10 - kFootHalfWidth;
        }
    } else {
        limit = (gTileWidthToRender * gMapColumns - 1) * 10 - kFootHalfWidth;
    }
    if (gPlayerX > limit) {
        gPlayerX = limit;
    }
    return gPlayerX != old;
}

int moveLeft(int step) {
    const int old = gPlayerX;
    const int column = (gPlayerX - kFootHalfWidth) / cellWidth() - 1;
    gPlayerX -= step;
    int limit = gPlayerX;
    if (column >= 0) {
        if (columnBlocks(column)) {
            limit = (column + 1) * gTileWidthToRender * 10 + kFootHalfWidth;
        }
    } else {
        limit = kFootHalfWidth;
    }
    if (gPlayerX < limit) {
        gPlayerX = limit;
    }
    return gPlayerX != old;
}

int moveDown(int step) {
    const int old = gPlayerY;
    const int row = (gPlayerY + kFootBottom) / cellHeight() + 1;
    gPlayerY += step;
    int limit = gPlayerY;
    if (row < gMapRows) {
        if (rowBlocks(row)) {
            limit = (gTileHeightToRender * row - 1) * 10 - kFootBottom;
        }
    } else {
        limit = (gTileHeightToRender * gMapRows - 1) * 10 - kFootBottom;
    }
    if (gPlayerY > limit) {
        gPlayerY = limit;
    }
    return gPlayerY != old;
}

int moveUp(int step) {
    const int old = gPlayerY;
    const int row = (gPlayerY + kFootTop) / cellHeight() - 1;
    gPlayerY -= step;
    int limit = gPlayerY;
    if (row >= 0) {
        if (rowBlocks(row)) {
            limit = (row + 1) * gTileHeightToRender * 10 - kFootTop;
        }
    } else {
        limit = -kFootTop;
    }
    if (gPlayerY < limit) {
        gPlayerY = limit;
    }
    return gPlayerY != old;
}

void movePlayer(int run) {
    const bool diagonal = gPlayerInputX != 0 && gPlayerInputY != 0;
    int step = run ? kDeerRunSpeed : kDeerWalkSpeed;
    if (diagonal) {
        step = run ? gDeerRunSpeedDiagonal : gDeerWalkSpeedDiagonal;
    }
    if (gPlayerInputX == 1) {
        moveRight(step);
    } else if (gPlayerInputX == -1) {
        moveLeft(step);
    }
    if (gPlayerInputY == 1) {
        moveDown(step);
    } else if (gPlayerInputY == -1) {
        moveUp(step);
    }
}
