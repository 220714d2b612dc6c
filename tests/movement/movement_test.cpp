// Tests of the deer's movement: flush stops against blocking cells and map edges, sliding, speeds.
#include <gtest/gtest.h>

#include <cstring>

#include "movement/movement.h"
#include "render/mapview.h"
#include "world/map.h"

namespace {

constexpr int kCell = 640; // a cell in tenths

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

TEST_F(Movement, WalkingRightStopsFlushOnePixelShortOfABlockingColumn) {
    block(3, 5);
    place(3 * kCell + 340, 3 * kCell + 310);       // box rows 3..3
    int moves = 0;
    while (moveRight(50)) {
        moves++;
    }
    EXPECT_EQ(gPlayerX, (64 * 5 - 1) * 10 - 120);  // box's right edge on pixel 319
    EXPECT_EQ((gPlayerX + 120) / 10, 5 * 64 - 1);
    EXPECT_EQ(moves, 17);
    EXPECT_EQ(moveRight(50), 0);
    EXPECT_EQ(gPlayerX, 3070);
}

TEST_F(Movement, ABlockInEitherRowOfTheBoxStopsTheDeer) {
    // Box from y + 100 to y + 220 spans rows 3 and 4 at this height.
    for (int blockedRow : {3, 4}) {
        SetUp();
        block(blockedRow, 5);
        place(4 * kCell + 100, 4 * kCell - 150);
        ASSERT_EQ((gPlayerY + 100) / kCell, 3);
        ASSERT_EQ((gPlayerY + 220) / kCell, 4);
        for (int i = 0; i < 20; i++) {
            moveRight(100);
        }
        EXPECT_EQ(gPlayerX, 3070) << "blocked row " << blockedRow;
    }
}

TEST_F(Movement, StepEndingBeforeTheLeadingColumnIsNotShortened) {
    block(3, 5);
    place(4 * kCell + 100, 3 * kCell + 310);   // right edge at 2780, leading column 5 starts at 3200
    EXPECT_EQ(moveRight(100), 1);
    EXPECT_EQ(gPlayerX, 4 * kCell + 200);
    place(3000, 3 * kCell + 310);              // the step would cross into column 5: cut to 3070
    EXPECT_EQ(moveRight(100), 1);
    EXPECT_EQ(gPlayerX, 3070);
}

TEST_F(Movement, LeftAndUpStopOnTheFirstFreePixelAfterABlock) {
    block(3, 2);
    block(1, 6);
    place(6 * kCell + 340, 3 * kCell + 310);
    while (moveLeft(50)) {
    }
    EXPECT_EQ(gPlayerX, 3 * kCell + 120);      // box's left edge on pixel 192, next to column 2
    place(6 * kCell + 340, 4 * kCell + 310);
    while (moveUp(50)) {
    }
    EXPECT_EQ(gPlayerY, 2 * kCell - 100);      // box's top on pixel 128, below row 1
    place(6 * kCell + 340, 3 * kCell + 310);
    block(7, 6);
    while (moveDown(50)) {
    }
    EXPECT_EQ(gPlayerY, (64 * 7 - 1) * 10 - 220);
}

TEST_F(Movement, TheFootBoxStaysInsideTheMapAtAllFourEdges) {
    place(5 * kCell, 5 * kCell);
    while (moveLeft(100)) {
    }
    EXPECT_EQ(gPlayerX, 120);
    while (moveUp(100)) {
    }
    EXPECT_EQ(gPlayerY, -100);
    while (moveRight(100)) {
    }
    EXPECT_EQ(gPlayerX, (64 * 20 - 1) * 10 - 120);
    while (moveDown(100)) {
    }
    EXPECT_EQ(gPlayerY, (64 * 15 - 1) * 10 - 220);
    EXPECT_EQ((gPlayerX + 120) / 10, 64 * 20 - 1);
    EXPECT_EQ((gPlayerY + 220) / 10, 64 * 15 - 1);
    EXPECT_EQ(moveRight(1) + moveDown(1), 0);
}

TEST_F(Movement, StepLengthsFollowWalkRunAndDiagonal) {
    struct Case {
        int inputX, inputY, run, dx, dy;
    };
    for (const Case& c : {Case{1, 0, 0, 50, 0}, Case{-1, 0, 1, -100, 0}, Case{0, 1, 0, 0, 50}, Case{0, -1, 1, 0, -100},
                          Case{1, 1, 0, 35, 35}, Case{-1, -1, 1, -70, -70}, Case{1, -1, 1, 70, -70}}) {
        place(5 * kCell, 5 * kCell);
        gPlayerInputX = c.inputX;
        gPlayerInputY = c.inputY;
        movePlayer(c.run);
        EXPECT_EQ(gPlayerX - 5 * kCell, c.dx) << c.inputX << "," << c.inputY << " run " << c.run;
        EXPECT_EQ(gPlayerY - 5 * kCell, c.dy) << c.inputX << "," << c.inputY << " run " << c.run;
    }
}

TEST_F(Movement, DiagonalIntoAWallSlidesAlongIt) {
    for (int row = 0; row < 15; row++) {
        block(row, 5);
    }
    place(3070, 5 * kCell);                    // flush against the wall on the right
    gPlayerInputX = 1;
    gPlayerInputY = 1;
    movePlayer(0);
    EXPECT_EQ(gPlayerX, 3070);
    EXPECT_EQ(gPlayerY, 5 * kCell + 35);
    movePlayer(1);
    EXPECT_EQ(gPlayerY, 5 * kCell + 105);
}

TEST_F(Movement, VerticalMoveTestsTheColumnsAtTheNewX) {
    block(6, 5);
    place(3050, 3560);                         // box in column 4 and row 5; cell (6, 5) is blocked
    gPlayerInputX = 1;
    gPlayerInputY = 1;
    movePlayer(1);                             // x first: the box now reaches into column 5
    EXPECT_EQ(gPlayerX, 3120);
    EXPECT_EQ(gPlayerY, (64 * 6 - 1) * 10 - 220);
}

} // namespace
