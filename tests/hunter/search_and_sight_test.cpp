// The hunter's A* search on hand-made maps and against the plain search; his line of sight and
// the window from which he may shoot.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "hunter/reference_search.h"
#include "hunter/sight.h"
#include "render/mapview.h"

static uint8_t& blockAt(int row, int column) { return gMapMovementObstacle[row * kGridSide + column]; }

TEST(Pathfinding, HandMadeMapsGetTheExpectedDirectionField) {
    const int R = kDirectionRight, U = kDirectionUp, L = kDirectionLeft, D = kDirectionDown;
    // Blocked cells in row, column pairs; reached: the cells given a code (-1: unchecked); checks: row, column, code.
    // clang-format off
    const struct { const char* name; int rows, columns, hunterRow, hunterColumn, row, column; std::vector<int> blocked;
                   int result, reached; std::vector<std::array<int, 3>> checks; } cases[] = {
        // The destination on the hunter's cell is expanded once.
        {"hunter's cell", 9, 13, 4, 6, 4, 6, {}, 1, 5, {{4, 6, 1}, {4, 7, L}, {3, 6, D}, {4, 5, R}, {5, 6, U}}},
        {"blocking destination", 9, 13, 4, 2, 4, 9, {4, 9}, 1, -1, {{4, 9, 1}, {4, 8, R}, {4, 2, R}}},
        {"hunter on a rock (a spot put there) is led out", 9, 13, 4, 6, 4, 10, {4, 6}, 1, -1, {{4, 6, R}}},
        // At equal f-cost the earlier entry, the right neighbour before the lower, reaches him from above.
        {"equal f-costs", 3, 3, 2, 2, 1, 1, {}, 1, -1, {{2, 2, U}, {2, 1, U}, {1, 2, L}}},
        {"destination below the map", 9, 13, 2, 4, 9, 4, {}, 1, -1, {{8, 4, 1}, {9, 4, 0}, {2, 4, D}}},
        // A walled-off hunter: every cell is flooded, far more than 1024 waiting at once.
        {"whole flood", 256, 256, 0, 0, 128, 128, {0, 1, 1, 0}, 0, kGridCells - 3, {}},
    };
    // clang-format on
    gTileWidthToRender = gTileHeightToRender = 64;
    for (const auto& c : cases) {
        gMapRows = c.rows, gMapColumns = c.columns;
        gHunterX = (10 * c.hunterColumn + 5) * 64, gHunterY = (10 * c.hunterRow + 5) * 64;
        memset(gMapMovementObstacle, 0, sizeof(gMapMovementObstacle));
        memset(gMapPathfindingParent, 0, sizeof(gMapPathfindingParent));
        for (size_t i = 0; i < c.blocked.size(); i += 2)
            blockAt(c.blocked[i], c.blocked[i + 1]) = 1;
        EXPECT_EQ(computeHunterPath(c.row, c.column), c.result) << c.name;
        const long reached = kGridCells - std::count(gMapPathfindingParent, gMapPathfindingParent + kGridCells, 0);
        EXPECT_TRUE(c.reached < 0 || reached == c.reached) << c.name << ": " << reached << " cells reached";
        for (const auto& [row, column, code] : c.checks)
            EXPECT_EQ(gMapPathfindingParent[row * kGridSide + column], code)
                << c.name << " at " << row << "," << column;
    }
}

TEST(PathfindingDifferential, FastSearchLeavesExactlyThePlainSearchsDirectionField) {
    std::mt19937 random(20250611);
    auto below = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    static uint8_t expected[kGridCells];
    gTileWidthToRender = gTileHeightToRender = 64;
    for (int trial = 0; trial < 3000; trial++) {
        // Small maps and, now and then, one up to the whole grid, with scattered obstacles that force
        // detours. Just outside the map the grid holds junk that must not matter.
        gMapRows = trial % 120 == 0 ? 64 + below(193) : 1 + below(28);
        gMapColumns = trial % 120 == 0 ? 64 + below(193) : 1 + below(28);
        const int density = below(7) * 8; // percent
        for (int row = 0; row <= gMapRows && row < kGridSide; row++)
            for (int column = 0; column <= gMapColumns && column < kGridSide; column++)
                blockAt(row, column) = row < gMapRows && column < gMapColumns ? below(100) < density : below(2);
        for (int search = 0; search < 4; search++) { // as while he walks and renews his destination
            const int hunterRow = below(gMapRows), hunterColumn = below(gMapColumns);
            gHunterX = hunterColumn * 640 + below(640), gHunterY = hunterRow * 640 + below(640);
            int row = below(gMapRows), column = below(gMapColumns);
            switch (below(8)) {
            case 0: row = gMapRows; break; // a deer track just below the map
            case 1: row = hunterRow, column = hunterColumn; break;
            case 2: row = below(600) - 300, column = below(600) - 300; break; // far outside the map
            case 3: blockAt(row, column) = 1; break;                          // a blocking destination
            case 4: blockAt(hunterRow, hunterColumn) = 1; break;              // he stands on a rock
            }
            const int result = referenceComputeHunterPath(row, column);
            memcpy(expected, gMapPathfindingParent, sizeof(expected));
            for (int r = 0; r < gMapRows; r++) // stale codes in the map's part of the field must not matter
                for (int c = 0; c < gMapColumns; c++)
                    gMapPathfindingParent[r * kGridSide + c] = static_cast<uint8_t>(below(6));
            ASSERT_EQ(computeHunterPath(row, column), result) << "trial " << trial << " search " << search;
            ASSERT_EQ(memcmp(gMapPathfindingParent, expected, sizeof(expected)), 0)
                << "trial " << trial << " search " << search;
        }
    }
}

TEST(LineOfSight, SegmentsTestEveryCellTheyCrossButTheEndCell) {
    // Blocked cells as row, column pairs; the segment; its answer, also the reverse segment's where
    // reverseToo; a map of 256 x 256 cells where fullMap, else 9 x 13.
    // clang-format off
    const struct { const char* name; std::vector<int> blocked; int x1, y1, x2, y2, expected; bool reverseToo, fullMap; } cases[] = {
        {"same cell, even when it blocks", {1, 1}, 70, 70, 120, 120, 1, true, false},
        {"blocking start cell", {1, 1}, 100, 100, 300, 100, 0, false, false},
        {"blocking end cell", {1, 1}, 300, 100, 100, 100, 1, false, false},
        // From (100, 100) to (300, 100) along row 1, columns 1 to 4.
        {"row, blocking cell on the way", {1, 3}, 100, 100, 300, 100, 0, false, false},
        {"shallow, cells below it", {1, 0, 1, 1, 1, 2}, 10, 10, 200, 60, 1, false, false},
        {"shallow, blocking cell on the way", {0, 2}, 10, 10, 200, 60, 0, false, false},
        {"steep, cells beside it", {0, 1, 1, 1}, 10, 10, 60, 200, 1, false, false},
        {"steep, blocking cell on the way", {2, 0}, 10, 10, 60, 260, 0, false, false},
        {"exact corner between two blocking cells, down-right", {0, 1, 1, 0}, 32, 32, 160, 160, 1, true, false},
        {"exact corner between two blocking cells, up-right", {1, 1, 2, 2}, 96, 160, 160, 96, 1, true, false},
        // Along a cell boundary a segment stays in the column or row of its points.
        {"on x = 64, column 0 blocks", {1, 0, 2, 0, 3, 0}, 64, 10, 64, 300, 1, true, false},
        {"on x = 64, column 1 blocks", {2, 1}, 64, 10, 64, 300, 0, true, false},
        {"on y = 128, row 1 blocks", {1, 1, 1, 2}, 10, 128, 300, 128, 1, true, false},
        {"on y = 128, row 2 blocks", {2, 3}, 10, 128, 300, 128, 0, true, false},
        // A segment ending on a corner ends in the cell holding its end point.
        {"up-right to corner (128, 64)", {0, 2, 0, 3}, 10, 300, 128, 64, 1, false, false},
        {"down-left to corner (128, 192)", {3, 1, 4, 1}, 300, 10, 128, 192, 1, false, false},
        {"from the row below the map, whatever the grid holds there", {9, 3, 9, 4}, 200, 9 * 64 + 5, 200, 100, 1, false, false},
        {"from beyond the right edge, whatever the grid holds there", {1, 13}, 13 * 64 + 5, 100, 100, 100, 1, false, false},
        {"across a full map from beyond its corners", {}, -500, -500, 256 * 64 + 500, 256 * 64 + 500, 1, false, true},
        {"along a full map's diagonal", {}, 256 * 64, 0, 0, 256 * 64, 1, false, true},
    };
    // clang-format on
    gTileWidthToRender = gTileHeightToRender = 64;
    for (const auto& c : cases) {
        gMapRows = c.fullMap ? 256 : 9, gMapColumns = c.fullMap ? 256 : 13;
        memset(gMapProjectileObstacle, 0, sizeof(gMapProjectileObstacle));
        for (size_t i = 0; i < c.blocked.size(); i += 2)
            gMapProjectileObstacle[c.blocked[i] * kGridSide + c.blocked[i + 1]] = 1;
        EXPECT_EQ(hasLineOfSight(c.x1, c.y1, c.x2, c.y2), c.expected) << c.name;
        EXPECT_TRUE(!c.reverseToo || hasLineOfSight(c.x2, c.y2, c.x1, c.y1) == c.expected) << c.name << ", reversed";
    }
}

TEST(ShootingWindow, ItsBoundsAreStrictAndAsFarFromTheDeerAtTheMapsEdgesAsWhereTheCameraIsCentred) {
    // On a 2560 x 2560 map, in map pixels: camera x, y, deer x, y; the window's left, right, top and
    // bottom bounds, 310 and 210 pixels from the deer but for the sides away from a held camera.
    const int cases[][8] = {{600, 700, 1000, 1000, 690, 1310, 790, 1210},      // centred
                            {0, 0, 300, 290, -10, 710, 80, 510},               // held at the left and top
                            {1760, 1960, 2400, 2350, 1850, 2710, 2050, 2560},  // held at the right and bottom
                            {1760, 1960, 2200, 2300, 1850, 2510, 2050, 2510}}; // and nearer the middle
    gMapRows = gMapColumns = 40;
    gTileWidthToRender = gTileHeightToRender = 64;
    for (const auto& c : cases) {
        gScreenX = c[0], gScreenY = c[1], gPlayerX = c[2] * 10, gPlayerY = c[3] * 10;
        // The hunter on each bound, then one pixel inside it, level with the deer.
        for (int probe = 0; probe < 8; probe++) {
            const int at = c[4 + probe / 2] + (probe / 2 % 2 == 0 ? 1 : -1) * (probe % 2);
            gHunterX = (probe < 4 ? at : c[2]) * 10, gHunterY = (probe < 4 ? c[3] : at) * 10;
            EXPECT_EQ(isInPositionToShoot(), probe % 2)
                << "camera " << c[0] << "," << c[1] << ", hunter " << gHunterX / 10 << "," << gHunterY / 10;
        }
    }
}
