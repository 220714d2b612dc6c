// Tests of the hunter's A* search, and the fast search checked against the plain one.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "hunter/reference_search.h"
#include "render/mapview.h"
#include "world/map.h"

static void openMap(int rows, int columns) {
    gTileWidthToRender = 64;
    gTileHeightToRender = 64;
    gMapRows = rows;
    gMapColumns = columns;
    memset(gMapMovementObstacle, 0, sizeof(gMapMovementObstacle));
    memset(gMapProjectileObstacle, 0, sizeof(gMapProjectileObstacle));
    memset(gMapPathfindingParent, 0, sizeof(gMapPathfindingParent));
}

static void placeHunter(int row, int column) {
    gHunterX = (10 * column + 5) * 64;
    gHunterY = (10 * row + 5) * 64;
}

static uint8_t codeAt(int row, int column) { return gMapPathfindingParent[row * kGridSide + column]; }
static uint8_t& blockAt(int row, int column) { return gMapMovementObstacle[row * kGridSide + column]; }

// Steps from each cell to the destination by breadth-first search over open cells; -1 unreachable.
static std::vector<int> stepsFrom(int row, int column) {
    std::vector<int> steps(kGridCells, -1);
    std::vector<int> queue{row * kGridSide + column};
    steps[queue[0]] = 0;
    for (size_t i = 0; i < queue.size(); i++) {
        const int cell = queue[i];
        const int r = cell / kGridSide, c = cell % kGridSide;
        const int nr[4] = {r, r - 1, r, r + 1}, nc[4] = {c + 1, c, c - 1, c};
        for (int k = 0; k < 4; k++) {
            if (nr[k] < 0 || nr[k] >= gMapRows || nc[k] < 0 || nc[k] >= gMapColumns) continue;
            const int next = nr[k] * kGridSide + nc[k];
            if (gMapMovementObstacle[next] == 0 && steps[next] < 0) {
                steps[next] = steps[cell] + 1;
                queue.push_back(next);
            }
        }
    }
    return steps;
}

TEST(Pathfinding, DestinationOnTheHuntersCellIsExpandedOnceAndHoldsCodeOne) {
    openMap(9, 13);
    placeHunter(4, 6);
    EXPECT_EQ(computeHunterPath(4, 6), 1);
    EXPECT_EQ(codeAt(4, 6), kDirectionDestination);
    // Only its own neighbours were reached.
    EXPECT_EQ(codeAt(4, 7), kDirectionLeft);
    EXPECT_EQ(codeAt(3, 6), kDirectionDown);
    EXPECT_EQ(codeAt(4, 5), kDirectionRight);
    EXPECT_EQ(codeAt(5, 6), kDirectionUp);
    EXPECT_EQ(codeAt(4, 8), kDirectionUnvisited);
    EXPECT_EQ(codeAt(2, 6), kDirectionUnvisited);
}

TEST(Pathfinding, OpenRowLeadsStraightToADestinationOnTheRight) {
    openMap(9, 20);
    placeHunter(4, 3);
    EXPECT_EQ(computeHunterPath(4, 15), 1);
    for (int column = 3; column < 15; column++) {
        EXPECT_EQ(codeAt(4, column), kDirectionRight) << "column " << column;
        EXPECT_EQ(gMapPathfindingG[4 * kGridSide + column], static_cast<uint32_t>(15 - column));
    }
    EXPECT_EQ(codeAt(4, 15), kDirectionDestination);
}

TEST(Pathfinding, WalledOffHunterFloodsEveryReachableCellWithShortestRoutes) {
    openMap(12, 15);
    placeHunter(6, 7);
    blockAt(6, 8) = blockAt(5, 7) = blockAt(6, 6) = blockAt(7, 7) = 1;
    blockAt(2, 3) = blockAt(3, 3) = blockAt(4, 3) = 1;
    EXPECT_EQ(computeHunterPath(0, 0), 0);
    EXPECT_EQ(codeAt(6, 7), kDirectionUnvisited);
    const std::vector<int> steps = stepsFrom(0, 0);
    for (int row = 0; row < gMapRows; row++) {
        for (int column = 0; column < gMapColumns; column++) {
            const int cell = row * kGridSide + column;
            if (steps[cell] < 0) {
                EXPECT_EQ(codeAt(row, column), kDirectionUnvisited);
                continue;
            }
            ASSERT_NE(codeAt(row, column), kDirectionUnvisited) << row << "," << column;
            EXPECT_EQ(gMapPathfindingG[cell], static_cast<uint32_t>(steps[cell]));
        }
    }
}

TEST(Pathfinding, FollowingTheCodesFromTheHunterTakesAShortestRoute) {
    openMap(20, 30);
    std::mt19937 random(7);
    for (int cell = 0; cell < kGridCells; cell++) {
        gMapMovementObstacle[cell] = random() % 4 == 0;
    }
    blockAt(17, 25) = 0;
    blockAt(2, 3) = 0;
    placeHunter(17, 25);
    const std::vector<int> steps = stepsFrom(2, 3);
    ASSERT_GT(steps[17 * kGridSide + 25], 0) << "the seed must give a reachable hunter";
    EXPECT_EQ(computeHunterPath(2, 3), 1);
    int row = 17, column = 25, walked = 0;
    while (codeAt(row, column) != kDirectionDestination && walked < 1000) {
        const uint8_t code = codeAt(row, column);
        ASSERT_GE(code, kDirectionRight);
        ASSERT_LE(code, kDirectionDown);
        column += code == kDirectionRight ? 1 : (code == kDirectionLeft ? -1 : 0);
        row += code == kDirectionDown ? 1 : (code == kDirectionUp ? -1 : 0);
        ASSERT_EQ(blockAt(row, column), 0);
        walked++;
    }
    EXPECT_EQ(walked, steps[17 * kGridSide + 25]);
}

TEST(Pathfinding, BlockingDestinationIsStillSearchedFromAndEnteredLast) {
    openMap(9, 13);
    blockAt(4, 9) = 1;
    placeHunter(4, 2);
    EXPECT_EQ(computeHunterPath(4, 9), 1);
    EXPECT_EQ(codeAt(4, 9), kDirectionDestination);
    EXPECT_EQ(codeAt(4, 8), kDirectionRight);
    EXPECT_EQ(codeAt(4, 2), kDirectionRight);
}

TEST(Pathfinding, EqualCostsExpandTheEarliestEntryOfTheList) {
    // The destination appends its right neighbour before its lower one; both cost the same, so the
    // right one is expanded first and reaches the hunter from above.
    openMap(3, 3);
    placeHunter(2, 2);
    EXPECT_EQ(computeHunterPath(1, 1), 1);
    EXPECT_EQ(codeAt(2, 2), kDirectionUp);
    EXPECT_EQ(codeAt(2, 1), kDirectionUp);
    EXPECT_EQ(codeAt(1, 2), kDirectionLeft);
}

TEST(Pathfinding, DestinationOutsideTheMapIsTakenIntoItsLastRow) {
    openMap(9, 13);
    gMapPathfindingParent[9 * kGridSide + 4] = 0;
    placeHunter(2, 4);
    EXPECT_EQ(computeHunterPath(9, 4), 1);
    EXPECT_EQ(codeAt(8, 4), kDirectionDestination);
    EXPECT_EQ(codeAt(9, 4), kDirectionUnvisited) << "nothing is written below the map";
    EXPECT_EQ(codeAt(2, 4), kDirectionDown);

    // On a full-height map the row below lies outside the grids altogether.
    openMap(256, 256);
    placeHunter(250, 4);
    EXPECT_EQ(computeHunterPath(256, 300), 1);
    EXPECT_EQ(codeAt(255, 255), kDirectionDestination);
    EXPECT_EQ(computeHunterPath(-3, -1), 1);
    EXPECT_EQ(codeAt(0, 0), kDirectionDestination);
}

TEST(Pathfinding, FloodOfAWholeOpenMapKeepsEveryCellInTheList) {
    // Far more than 1024 cells wait at once while a full map is flooded from its centre.
    openMap(256, 256);
    placeHunter(0, 0);
    blockAt(0, 1) = blockAt(1, 0) = 1;
    EXPECT_EQ(computeHunterPath(128, 128), 0);
    int reached = 0;
    for (int cell = 0; cell < kGridCells; cell++) {
        reached += gMapPathfindingParent[cell] != kDirectionUnvisited;
    }
    EXPECT_EQ(reached, kGridCells - 3);
    EXPECT_EQ(gMapPathfindingG[255 * kGridSide + 255], 254u);
}

// Fills the map with obstacles: scattered cells, and walls with gaps that force detours.
static void scatterObstacles(std::mt19937& random) {
    const int density = static_cast<int>(random() % 7) * 8; // percent
    for (int row = 0; row <= gMapRows && row < kGridSide; row++) {
        for (int column = 0; column <= gMapColumns && column < kGridSide; column++) {
            // Just outside the map the grid holds junk that must not matter.
            const bool inMap = row < gMapRows && column < gMapColumns;
            gMapMovementObstacle[row * kGridSide + column] =
                inMap ? static_cast<int>(random() % 100) < density : random() % 2;
        }
    }
    const int walls = random() % 2 == 0 ? 0 : static_cast<int>(random() % 6);
    for (int wall = 0; wall < walls; wall++) {
        const bool across = random() % 2 == 0;
        const int at = static_cast<int>(random() % (across ? gMapRows : gMapColumns));
        const int length = across ? gMapColumns : gMapRows;
        for (int i = 0; i < length; i++) {
            if (random() % 9 != 0) {
                (across ? blockAt(at, i) : blockAt(i, at)) = 1;
            }
        }
    }
}

TEST(PathfindingDifferential, FastSearchMakesExactlyThePlainSearchsChoices) {
    std::mt19937 random(20250611);
    static uint8_t expectedParent[kGridCells];
    static uint32_t expectedG[kGridCells];
    static int32_t expectedF[kGridCells];
    gTileWidthToRender = 64;
    gTileHeightToRender = 64;
    const long loweredBefore = gReferenceLoweredWaiting;
    int reachedCount = 0;
    int bigMaps = 0;
    for (int trial = 0; trial < 3000; trial++) {
        const bool big = random() % 100 == 0 && bigMaps < 25;
        bigMaps += big;
        gMapRows = big ? 64 + static_cast<int>(random() % 193) : 1 + static_cast<int>(random() % 28);
        gMapColumns = big ? 64 + static_cast<int>(random() % 193) : 1 + static_cast<int>(random() % 28);
        scatterObstacles(random);
        // Several searches on one map, as while the hunter walks and renews his destination.
        for (int search = 0; search < 4; search++) {
            const int hunterRow = static_cast<int>(random() % gMapRows);
            const int hunterColumn = static_cast<int>(random() % gMapColumns);
            gHunterX = hunterColumn * 640 + static_cast<int>(random() % 640);
            gHunterY = hunterRow * 640 + static_cast<int>(random() % 640);
            const int kind = static_cast<int>(random() % 10);
            if (kind == 0) { // walled off
                for (int k = 0; k < 4; k++) {
                    const int r = hunterRow + (k == 1) - (k == 3), c = hunterColumn + (k == 0) - (k == 2);
                    if (r >= 0 && r < gMapRows && c >= 0 && c < gMapColumns) blockAt(r, c) = 1;
                }
            }
            int row = static_cast<int>(random() % gMapRows);
            int column = static_cast<int>(random() % gMapColumns);
            if (kind == 1) {
                row = gMapRows; // a deer track just below the map
            } else if (kind == 2) {
                row = hunterRow;
                column = hunterColumn;
            } else if (kind == 3) {
                row = static_cast<int>(random() % 600) - 300;
                column = static_cast<int>(random() % 600) - 300;
            } else if (kind == 4) {
                blockAt(row, column) = 1;
            }

            const int expected = referenceComputeHunterPath(row, column);
            memcpy(expectedParent, gMapPathfindingParent, sizeof(expectedParent));
            for (int r = 0; r < gMapRows; r++) {
                for (int c = 0; c < gMapColumns; c++) {
                    const int cell = r * kGridSide + c;
                    expectedG[cell] = gMapPathfindingG[cell];
                    expectedF[cell] = gMapPathfindingF[cell];
                    // Stale values in the map's part of the grids must not matter.
                    gMapPathfindingParent[cell] = static_cast<uint8_t>(random() % 6);
                    gMapPathfindingG[cell] = random();
                    gMapPathfindingF[cell] = static_cast<int32_t>(random());
                }
            }
            const int result = computeHunterPath(row, column);
            ASSERT_EQ(result, expected) << "trial " << trial << " search " << search;
            reachedCount += result;
            ASSERT_EQ(memcmp(gMapPathfindingParent, expectedParent, sizeof(expectedParent)), 0)
                << "trial " << trial << " search " << search;
            for (int r = 0; r < gMapRows; r++) {
                for (int c = 0; c < gMapColumns; c++) {
                    const int cell = r * kGridSide + c;
                    if (expectedParent[cell] != kDirectionUnvisited) {
                        ASSERT_EQ(gMapPathfindingG[cell], expectedG[cell]) << "trial " << trial << " cell " << cell;
                        ASSERT_EQ(gMapPathfindingF[cell], expectedF[cell]) << "trial " << trial << " cell " << cell;
                    }
                }
            }
        }
    }
    // The corpus must reach the cases that matter: both results, and costs lowered while waiting.
    EXPECT_GT(reachedCount, 3000);
    EXPECT_LT(reachedCount, 11000);
    EXPECT_GT(gReferenceLoweredWaiting - loweredBefore, 1000);
    // A consistent heuristic never lowers the cost of an expanded cell.
    EXPECT_EQ(gReferenceLoweredExpanded, 0);
}
