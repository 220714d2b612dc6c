// Tests of the deer's movement: flush stops against blocking cells and map edges, sliding, speeds.
#include <gtest/gtest.h>

#include <cstring>

#include "movement/movement.h"
#include "render/mapview.h"
#include "world/map.h"

namespace {

constexpr int kCell = 640; // a cell in tenths; the foot box runs from x - 120 to x + 120, y + 100 to y + 220

class Movement : public testing::Test {
  protected:
    void SetUp() override {
        memset(gMapMovementObstacle, 0, sizeof gMapMovementObstacle);
        gTileWidthToRender = gTileHeightToRender = 64;
        gMapColumns = 20;
        gMapRows = 15;
        gPlayerInputX = gPlayerInputY = 0;
    }
    static void block(int row, int column) { gMapMovementObstacle[row * kGridSide + column] = 1; }
    static void place(int x, int y) {
        gPlayerX = x;
        gPlayerY = y;
    }
};

// Walking on until a move is refused stops with the foot box on the last free pixel.
TEST_F(Movement, WalkingStopsFlushAgainstBlockingCellsAndTheMapEdges) {
    const struct {
        const char* name;
        int (*move)(int);
        int blockRow, blockColumn, x, y, stop;
    } rows[] = {
        {"right to column 5", moveRight, 3, 5, 3 * kCell + 340, 3 * kCell + 310, (64 * 5 - 1) * 10 - 120},
        {"right, block in the box's upper row", moveRight, 3, 5, 4 * kCell + 100, 4 * kCell - 150, 3070},
        {"right, block in the box's lower row", moveRight, 4, 5, 4 * kCell + 100, 4 * kCell - 150, 3070},
        {"left to column 2", moveLeft, 3, 2, 6 * kCell + 340, 3 * kCell + 310, 3 * kCell + 120},
        {"up to row 1", moveUp, 1, 6, 6 * kCell + 340, 4 * kCell + 310, 2 * kCell - 100},
        {"down to row 7", moveDown, 7, 6, 6 * kCell + 340, 3 * kCell + 310, (64 * 7 - 1) * 10 - 220},
        {"left edge", moveLeft, 0, 19, 5 * kCell, 5 * kCell, 120},
        {"top edge", moveUp, 0, 19, 5 * kCell, 5 * kCell, -100},
        {"right edge", moveRight, 0, 0, 5 * kCell, 5 * kCell, (64 * 20 - 1) * 10 - 120},
        {"bottom edge", moveDown, 0, 0, 5 * kCell, 5 * kCell, (64 * 15 - 1) * 10 - 220},
    };
    for (const auto& row : rows) {
        SetUp();
        block(row.blockRow, row.blockColumn);
        place(row.x, row.y);
        int moves = 0;
        while (row.move(50) && moves < 1000) {
            moves++;
        }
        const bool horizontal = row.move == moveRight || row.move == moveLeft;
        EXPECT_EQ(horizontal ? gPlayerX : gPlayerY, row.stop) << row.name;
        EXPECT_EQ(horizontal ? gPlayerY : gPlayerX, horizontal ? row.y : row.x) << row.name;
        EXPECT_EQ(row.move(1), 0) << row.name;
    }
}

TEST_F(Movement, OnlyTheStepThatWouldCrossIntoABlockIsShortened) {
    block(3, 5);
    place(4 * kCell + 100, 3 * kCell + 310); // right edge at 2780, leading column 5 starts at 3200
    EXPECT_EQ(moveRight(100), 1);
    EXPECT_EQ(gPlayerX, 4 * kCell + 200);
    place(3000, 3 * kCell + 310); // the step would cross into column 5: cut to 3070
    EXPECT_EQ(moveRight(100), 1);
    EXPECT_EQ(gPlayerX, 3070);
}

// A diagonal into a wall slides along it; x moves first, so the vertical test sees the new columns.
TEST_F(Movement, StepLengthsFollowWalkRunAndDiagonalAndSlideAlongWalls) {
    const struct {
        const char* name;
        int wallFrom, wallTo, x, y, inputX, inputY, run, endX, endY;
    } rows[] = {
        {"walk right", 1, 0, 3200, 3200, 1, 0, 0, 3250, 3200},
        {"run left", 1, 0, 3200, 3200, -1, 0, 1, 3100, 3200},
        {"walk down", 1, 0, 3200, 3200, 0, 1, 0, 3200, 3250},
        {"run up", 1, 0, 3200, 3200, 0, -1, 1, 3200, 3100},
        {"walk diagonal", 1, 0, 3200, 3200, 1, 1, 0, 3235, 3235},
        {"run diagonal", 1, 0, 3200, 3200, -1, -1, 1, 3130, 3130},
        {"run up-right", 1, 0, 3200, 3200, 1, -1, 1, 3270, 3130},
        {"walk into the wall", 0, 14, 3070, 3200, 1, 1, 0, 3070, 3235}, // column 5 blocked in every row
        {"run into the wall", 0, 14, 3070, 3200, 1, 1, 1, 3070, 3270},
        {"down into the new column (6, 5)", 6, 6, 3050, 3560, 1, 1, 1, 3120, (64 * 6 - 1) * 10 - 220},
    };
    for (const auto& row : rows) {
        SetUp();
        for (int blocked = row.wallFrom; blocked <= row.wallTo; blocked++) {
            block(blocked, 5);
        }
        place(row.x, row.y);
        gPlayerInputX = row.inputX;
        gPlayerInputY = row.inputY;
        movePlayer(row.run);
        EXPECT_EQ(gPlayerX, row.endX) << row.name;
        EXPECT_EQ(gPlayerY, row.endY) << row.name;
    }
}

} // namespace
