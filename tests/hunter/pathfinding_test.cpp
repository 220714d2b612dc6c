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

// An open map of rows x columns with an empty direction field and the hunter on a cell's centre.
static void openMap(int rows, int columns, int hunterRow, int hunterColumn) {
    gTileWidthToRender = gTileHeightToRender = 64;
    gMapRows = rows;
    gMapColumns = columns;
    memset(gMapMovementObstacle, 0, sizeof(gMapMovementObstacle));
    memset(gMapPathfindingParent, 0, sizeof(gMapPathfindingParent));
    gHunterX = (10 * hunterColumn + 5) * 64;
    gHunterY = (10 * hunterRow + 5) * 64;
}

static uint8_t& blockAt(int row, int column) { return gMapMovementObstacle[row * kGridSide + column]; }

struct Cell {
    int row, column;
};
struct CellCheck {
    int row, column, code, g;
}; // code or g -1: not checked
struct SearchCase {
    const char* name;
    int rows, columns, hunterRow, hunterColumn, row, column;
    std::vector<Cell> blocked;
    int result;
    int reached; // cells given a direction code; -1: not checked
    std::vector<CellCheck> checks;
};

TEST(Pathfinding, HandMadeMapsGetTheExpectedDirectionField) {
    const int R = kDirectionRight, U = kDirectionUp, L = kDirectionLeft, D = kDirectionDown;
    const int Dest = kDirectionDestination, None = kDirectionUnvisited;
    // One case a line.
    // clang-format off
    const SearchCase cases[] = {
        // The destination on the hunter's cell is expanded once.
        {"hunter's cell", 9, 13, 4, 6, 4, 6, {}, 1, 5,
         {{4, 6, Dest, 0}, {4, 7, L, 1}, {3, 6, D, 1}, {4, 5, R, 1}, {5, 6, U, 1}}},
        {"open row", 9, 20, 4, 3, 4, 15, {}, 1, -1, {{4, 3, R, 12}, {4, 9, R, 6}, {4, 14, R, 1}, {4, 15, Dest, 0}}},
        // A walled-off hunter: every cell the destination reaches is flooded.
        {"walled off", 12, 15, 6, 7, 0, 0, {{6, 8}, {5, 7}, {6, 6}, {7, 7}, {2, 3}, {3, 3}, {4, 3}}, 0, 12 * 15 - 8,
         {{6, 7, None, -1}, {3, 4, -1, 7}, {11, 14, -1, 25}}},
        {"blocking destination", 9, 13, 4, 2, 4, 9, {{4, 9}}, 1, -1, {{4, 9, Dest, 0}, {4, 8, R, 1}, {4, 2, R, 7}}},
        {"hunter on a rock (a spot put there) is led out", 9, 13, 4, 6, 4, 10, {{4, 6}}, 1, -1, {{4, 6, R, 4}}},
        // The destination appends its right neighbour before its lower one; at equal f-cost the
        // earlier entry is expanded first and reaches the hunter from above.
        {"equal f-costs", 3, 3, 2, 2, 1, 1, {}, 1, -1, {{2, 2, U, 2}, {2, 1, U, 1}, {1, 2, L, 1}}},
        {"destination below the map", 9, 13, 2, 4, 9, 4, {}, 1, -1, {{8, 4, Dest, 0}, {9, 4, None, -1}, {2, 4, D, 6}}},
        {"beyond a full map's corner", 256, 256, 250, 4, 256, 300, {}, 1, -1, {{255, 255, Dest, 0}}},
        {"above and left of the map", 256, 256, 250, 4, -3, -1, {}, 1, -1, {{0, 0, Dest, 0}}},
        // Far more than 1024 cells wait at once while a full map is flooded from its centre.
        {"whole flood", 256, 256, 0, 0, 128, 128, {{0, 1}, {1, 0}}, 0, kGridCells - 3, {{255, 255, -1, 254}}},
    };
    // clang-format on
    for (const SearchCase& c : cases) {
        openMap(c.rows, c.columns, c.hunterRow, c.hunterColumn);
        for (const Cell& b : c.blocked)
            blockAt(b.row, b.column) = 1;
        EXPECT_EQ(computeHunterPath(c.row, c.column), c.result) << c.name;
        int reached = 0;
        for (int cell = 0; cell < kGridCells; cell++)
            reached += gMapPathfindingParent[cell] != kDirectionUnvisited;
        EXPECT_TRUE(c.reached < 0 || reached == c.reached) << c.name << ": " << reached << " cells reached";
        for (const CellCheck& k : c.checks) {
            const int cell = k.row * kGridSide + k.column;
            const int code = gMapPathfindingParent[cell], g = static_cast<int>(gMapPathfindingG[cell]);
            EXPECT_TRUE((k.code < 0 || code == k.code) && (k.g < 0 || g == k.g))
                << c.name << " at " << k.row << "," << k.column << ": code " << code << ", g " << g;
        }
    }
}

// Fills the map with obstacles: scattered cells, and walls with gaps that force detours. Just
// outside the map the grid holds junk that must not matter.
static void scatterObstacles(std::mt19937& random) {
    const int density = static_cast<int>(random() % 7) * 8; // percent
    for (int row = 0; row <= gMapRows && row < kGridSide; row++) {
        for (int column = 0; column <= gMapColumns && column < kGridSide; column++) {
            const bool inMap = row < gMapRows && column < gMapColumns;
            blockAt(row, column) = inMap ? static_cast<int>(random() % 100) < density : random() % 2;
        }
    }
    const int walls = random() % 2 == 0 ? 0 : static_cast<int>(random() % 6);
    for (int wall = 0; wall < walls; wall++) {
        const bool across = random() % 2 == 0;
        const int at = static_cast<int>(random() % (across ? gMapRows : gMapColumns));
        for (int i = 0; i < (across ? gMapColumns : gMapRows); i++) {
            if (random() % 9 != 0)
                (across ? blockAt(at, i) : blockAt(i, at)) = 1;
        }
    }
}

TEST(PathfindingDifferential, FastSearchMakesExactlyThePlainSearchsChoices) {
    std::mt19937 random(20250611);
    static uint8_t expectedParent[kGridCells];
    static uint32_t expectedG[kGridCells];
    static int32_t expectedF[kGridCells];
    gTileWidthToRender = gTileHeightToRender = 64;
    const long loweredBefore = gReferenceLoweredWaiting;
    int reachedCount = 0, bigMaps = 0;
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
                    if (r >= 0 && r < gMapRows && c >= 0 && c < gMapColumns)
                        blockAt(r, c) = 1;
                }
            }
            int row = static_cast<int>(random() % gMapRows);
            int column = static_cast<int>(random() % gMapColumns);
            if (kind == 1)
                row = gMapRows; // a deer track just below the map
            if (kind == 2) {
                row = hunterRow;
                column = hunterColumn;
            }
            if (kind == 3) { // far outside the map
                row = static_cast<int>(random() % 600) - 300;
                column = static_cast<int>(random() % 600) - 300;
            }
            if (kind == 4)
                blockAt(row, column) = 1; // a blocking destination
            if (kind == 5)
                blockAt(hunterRow, hunterColumn) = 1; // he stands on a rock

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
                    if (expectedParent[cell] == kDirectionUnvisited)
                        continue;
                    ASSERT_TRUE(gMapPathfindingG[cell] == expectedG[cell] && gMapPathfindingF[cell] == expectedF[cell])
                        << "trial " << trial << " search " << search << " cell " << cell;
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
