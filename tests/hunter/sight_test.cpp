// Tests of the sight line through the projectile grid and of the shooting window.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "hunter/navigation.h"
#include "hunter/sight.h"
#include "render/mapview.h"
#include "world/map.h"

static void openMap(int rows, int columns) {
    gTileWidthToRender = 64;
    gTileHeightToRender = 64;
    gMapRows = rows;
    gMapColumns = columns;
    memset(gMapProjectileObstacle, 0, sizeof(gMapProjectileObstacle));
}

static uint8_t& sightBlockAt(int row, int column) { return gMapProjectileObstacle[row * kGridSide + column]; }

TEST(LineOfSight, SameCellIsClearEvenWhenItBlocks) {
    openMap(9, 13);
    sightBlockAt(1, 1) = 1;
    EXPECT_EQ(hasLineOfSight(70, 70, 120, 120), 1);
}

TEST(LineOfSight, BlockingStartCellBlocksButBlockingEndCellDoesNot) {
    openMap(9, 13);
    sightBlockAt(1, 1) = 1;
    EXPECT_EQ(hasLineOfSight(100, 100, 300, 100), 0);
    EXPECT_EQ(hasLineOfSight(300, 100, 100, 100), 1);
}

TEST(LineOfSight, RowSegmentTestsEveryCellButTheEndCell) {
    openMap(9, 13);
    EXPECT_EQ(hasLineOfSight(100, 100, 300, 100), 1);
    sightBlockAt(1, 4) = 1;
    EXPECT_EQ(hasLineOfSight(100, 100, 300, 100), 1);
    sightBlockAt(1, 3) = 1;
    EXPECT_EQ(hasLineOfSight(100, 100, 300, 100), 0);
    // Cells beside the segment do not matter.
    openMap(9, 13);
    sightBlockAt(0, 2) = sightBlockAt(2, 2) = 1;
    EXPECT_EQ(hasLineOfSight(100, 100, 300, 100), 1);
}

TEST(LineOfSight, SideCrossingsStepOneColumnOrOneRow) {
    openMap(9, 13);
    // From (10, 10) to (200, 60): it leaves cell (0,0) through its right side, (0,1) likewise.
    sightBlockAt(1, 0) = sightBlockAt(1, 1) = sightBlockAt(1, 2) = 1;
    EXPECT_EQ(hasLineOfSight(10, 10, 200, 60), 1);
    sightBlockAt(0, 2) = 1;
    EXPECT_EQ(hasLineOfSight(10, 10, 150, 40), 1) << "the end cell is not tested";
    EXPECT_EQ(hasLineOfSight(10, 10, 200, 60), 0);
    // Steep: from (10, 10) to (60, 200) goes down column 0.
    openMap(9, 13);
    sightBlockAt(0, 1) = sightBlockAt(1, 1) = 1;
    EXPECT_EQ(hasLineOfSight(10, 10, 60, 200), 1);
    sightBlockAt(2, 0) = 1;
    EXPECT_EQ(hasLineOfSight(10, 10, 60, 260), 0);
}

TEST(LineOfSight, ExactCornerStepsDiagonallyBetweenTwoBlockingCells) {
    openMap(9, 13);
    sightBlockAt(0, 1) = sightBlockAt(1, 0) = 1;
    EXPECT_EQ(hasLineOfSight(32, 32, 160, 160), 1);
    EXPECT_EQ(hasLineOfSight(160, 160, 32, 32), 1);
    sightBlockAt(0, 1) = sightBlockAt(1, 0) = 0;
    sightBlockAt(1, 1) = sightBlockAt(2, 2) = 1; // up-right through the corner (128, 128)
    EXPECT_EQ(hasLineOfSight(96, 160, 160, 96), 1);
    EXPECT_EQ(hasLineOfSight(160, 96, 96, 160), 1);
}

TEST(LineOfSight, SegmentsAlongACellBoundaryStayInTheColumnOrRowOfTheirPoints) {
    openMap(9, 13);
    // x = 64 is the boundary of columns 0 and 1; both points lie in column 1.
    sightBlockAt(1, 0) = sightBlockAt(2, 0) = sightBlockAt(3, 0) = 1;
    EXPECT_EQ(hasLineOfSight(64, 10, 64, 300), 1);
    EXPECT_EQ(hasLineOfSight(64, 300, 64, 10), 1);
    sightBlockAt(2, 1) = 1;
    EXPECT_EQ(hasLineOfSight(64, 10, 64, 300), 0);
    EXPECT_EQ(hasLineOfSight(64, 300, 64, 10), 0);
    // y = 128 between rows 1 and 2; both points in row 2.
    openMap(9, 13);
    sightBlockAt(1, 1) = sightBlockAt(1, 2) = 1;
    EXPECT_EQ(hasLineOfSight(10, 128, 300, 128), 1);
    EXPECT_EQ(hasLineOfSight(300, 128, 10, 128), 1);
    sightBlockAt(2, 3) = 1;
    EXPECT_EQ(hasLineOfSight(10, 128, 300, 128), 0);
    EXPECT_EQ(hasLineOfSight(300, 128, 10, 128), 0);
    // Along the map's own left and top edges nothing outside the map is walked into.
    openMap(9, 13);
    EXPECT_EQ(hasLineOfSight(0, 500, 0, 10), 1);
    EXPECT_EQ(hasLineOfSight(700, 0, 10, 0), 1);
}

TEST(LineOfSight, SegmentsEndingOnACornerEndInTheEndCell) {
    openMap(9, 13);
    // Up and right to the corner (128, 64): the end point lies in cell (1, 2).
    EXPECT_EQ(hasLineOfSight(10, 300, 128, 64), 1);
    sightBlockAt(0, 2) = sightBlockAt(0, 3) = 1; // the cells a diagonal step would go to
    EXPECT_EQ(hasLineOfSight(10, 300, 128, 64), 1);
    // Down and left to the corner (128, 192): the end point lies in cell (3, 2).
    openMap(9, 13);
    sightBlockAt(3, 1) = sightBlockAt(4, 1) = 1;
    EXPECT_EQ(hasLineOfSight(300, 10, 128, 192), 1);
    // At the top edge of the map: an up-right segment to (128, 0) must not step above row 0.
    openMap(9, 13);
    EXPECT_EQ(hasLineOfSight(10, 100, 128, 0), 1);
    EXPECT_EQ(hasLineOfSight(100, 10, 0, 128), 1);
}

TEST(LineOfSight, PointsOutsideTheMapCountAsClearAndNothingOutsideTheGridIsRead) {
    openMap(9, 13);
    // A deer track in the row just below the map.
    EXPECT_EQ(hasLineOfSight(200, 9 * 64 + 5, 200, 100), 1);
    sightBlockAt(5, 3) = 1;
    EXPECT_EQ(hasLineOfSight(200, 9 * 64 + 5, 200, 100), 0);
    // A full-size map, and points beyond every edge of the grid.
    openMap(256, 256);
    EXPECT_EQ(hasLineOfSight(100, 256 * 64 + 10, 100, 100), 1);
    EXPECT_EQ(hasLineOfSight(-500, -500, 256 * 64 + 500, 256 * 64 + 500), 1);
    EXPECT_EQ(hasLineOfSight(256 * 64, 0, 0, 256 * 64), 1);
}

TEST(LineOfSight, RandomSegmentsAlwaysArriveAtTheirEndCell) {
    // Points on the grid lines and corners as often as not; every walk must end (an open map
    // answers 1) and agree in both directions on whether a lone blocking cell on it is hit.
    openMap(20, 20);
    std::mt19937 random(99);
    auto coordinate = [&random]() {
        const int cell = static_cast<int>(random() % 20);
        switch (random() % 3) {
        case 0: return cell * 64;
        case 1: return cell * 64 + 32;
        default: return cell * 64 + static_cast<int>(random() % 64);
        }
    };
    for (int i = 0; i < 200000; i++) {
        const int x1 = coordinate(), y1 = coordinate(), x2 = coordinate(), y2 = coordinate();
        ASSERT_EQ(hasLineOfSight(x1, y1, x2, y2), 1) << x1 << "," << y1 << " -> " << x2 << "," << y2;
    }
    // A blocking cell that holds neither point blocks a segment exactly when it blocks the reverse.
    for (int i = 0; i < 20000; i++) {
        const int x1 = static_cast<int>(random() % 1280), y1 = static_cast<int>(random() % 1280);
        const int x2 = static_cast<int>(random() % 1280), y2 = static_cast<int>(random() % 1280);
        const int row = static_cast<int>(random() % 20), column = static_cast<int>(random() % 20);
        if ((row == y1 / 64 && column == x1 / 64) || (row == y2 / 64 && column == x2 / 64)) continue;
        sightBlockAt(row, column) = 1;
        ASSERT_EQ(hasLineOfSight(x1, y1, x2, y2), hasLineOfSight(x2, y2, x1, y1))
            << x1 << "," << y1 << " -> " << x2 << "," << y2 << " cell " << row << "," << column;
        sightBlockAt(row, column) = 0;
    }
}

// The deer at map pixel (px, py), the hunter at (hx, hy), the camera where it stands.
static int inPosition(int px, int py, int hx, int hy) {
    gPlayerX = px * 10;
    gPlayerY = py * 10;
    gHunterX = hx * 10;
    gHunterY = hy * 10;
    return isInPositionToShoot();
}

TEST(ShootingWindow, CentredCameraGivesStrictBoundsAroundTheDeer) {
    openMap(40, 40); // 2560 x 2560 pixels
    gScreenX = 600;
    gScreenY = 700;
    EXPECT_EQ(inPosition(1000, 1000, 1000, 1000), 1);
    EXPECT_EQ(inPosition(1000, 1000, 690, 1000), 0);
    EXPECT_EQ(inPosition(1000, 1000, 691, 1000), 1);
    EXPECT_EQ(inPosition(1000, 1000, 1309, 1000), 1);
    EXPECT_EQ(inPosition(1000, 1000, 1310, 1000), 0);
    EXPECT_EQ(inPosition(1000, 1000, 1000, 790), 0);
    EXPECT_EQ(inPosition(1000, 1000, 1000, 791), 1);
    EXPECT_EQ(inPosition(1000, 1000, 1000, 1209), 1);
    EXPECT_EQ(inPosition(1000, 1000, 1000, 1210), 0);
}

TEST(ShootingWindow, BoundsAtAHeldCameraLieAsFarFromTheDeerAsWhenCentred) {
    openMap(40, 40);
    // Left and top edges: the camera at (0, 0), the deer at (200, 100).
    gScreenX = 0;
    gScreenY = 0;
    EXPECT_EQ(inPosition(200, 100, 709, 100), 1);
    EXPECT_EQ(inPosition(200, 100, 710, 100), 0);
    EXPECT_EQ(inPosition(200, 100, 0, 100), 1) << "left bound lowered to -110";
    EXPECT_EQ(inPosition(200, 100, 200, 509), 1);
    EXPECT_EQ(inPosition(200, 100, 200, 510), 0);
    EXPECT_EQ(inPosition(200, 100, 200, 0), 1) << "top bound lowered to -110";
    // Right and bottom edges: the camera at (1760, 1960), the deer at (2400, 2500).
    gScreenX = 2560 - 800;
    gScreenY = 2560 - 600;
    EXPECT_EQ(inPosition(2400, 2500, 2709, 2500), 1) << "right bound raised to 2710";
    EXPECT_EQ(inPosition(2400, 2500, 2710, 2500), 0);
    EXPECT_EQ(inPosition(2400, 2500, 1850, 2500), 0);
    EXPECT_EQ(inPosition(2400, 2500, 1851, 2500), 1);
    EXPECT_EQ(inPosition(2400, 2500, 2400, 2709), 1) << "bottom bound raised to 2710";
    EXPECT_EQ(inPosition(2400, 2500, 2400, 2710), 0);
    EXPECT_EQ(inPosition(2400, 2500, 2400, 2050), 0);
    EXPECT_EQ(inPosition(2400, 2500, 2400, 2051), 1);
}
