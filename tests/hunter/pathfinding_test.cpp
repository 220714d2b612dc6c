// The hunter's A* search on hand-made maps, and the fast search checked against the plain one.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "hunter/reference_search.h"
#include "render/mapview.h"
#include "world/map.h"

static uint8_t& blockAt(int row, int column) { return gMapMovementObstacle[row * kGridSide + column]; }

TEST(Pathfinding, HandMadeMapsGetTheExpectedDirectionField) {
    const int R = kDirectionRight, U = kDirectionUp, L = kDirectionLeft, D = kDirectionDown;
    const struct {
        const char* name;
        int rows, columns, hunterRow, hunterColumn, row, column;
        std::vector<int> blocked;               // row, column pairs
        int result, reached;                    // reached: the cells given a code, -1 not checked
        std::vector<std::array<int, 4>> checks; // row, column, code, g; -1 not checked
    } cases[] = {
        // clang-format off
        // The destination on the hunter's cell is expanded once.
        {"hunter's cell", 9, 13, 4, 6, 4, 6, {}, 1, 5, {{4, 6, 1, 0}, {4, 7, L, 1}, {3, 6, D, 1}, {4, 5, R, 1}, {5, 6, U, 1}}},
        // A walled-off hunter: every cell the destination reaches is flooded.
        {"walled off", 12, 15, 6, 7, 0, 0, {6, 8, 5, 7, 6, 6, 7, 7, 2, 3, 3, 3, 4, 3}, 0, 12 * 15 - 8, {{6, 7, 0, -1}, {3, 4, -1, 7}, {11, 14, -1, 25}}},
        {"blocking destination", 9, 13, 4, 2, 4, 9, {4, 9}, 1, -1, {{4, 9, 1, 0}, {4, 8, R, 1}, {4, 2, R, 7}}},
        {"hunter on a rock (a spot put there) is led out", 9, 13, 4, 6, 4, 10, {4, 6}, 1, -1, {{4, 6, R, 4}}},
        // The destination appends its right neighbour before its lower one; at equal f-cost the
        // earlier entry is expanded first and reaches the hunter from above.
        {"equal f-costs", 3, 3, 2, 2, 1, 1, {}, 1, -1, {{2, 2, U, 2}, {2, 1, U, 1}, {1, 2, L, 1}}},
        {"destination below the map", 9, 13, 2, 4, 9, 4, {}, 1, -1, {{8, 4, 1, 0}, {9, 4, 0, -1}, {2, 4, D, 6}}},
        // Far more than 1024 cells wait at once while a full map is flooded from its centre.
        {"whole flood", 256, 256, 0, 0, 128, 128, {0, 1, 1, 0}, 0, kGridCells - 3, {{255, 255, -1, 254}}},
        // clang-format on
    };
    gTileWidthToRender = gTileHeightToRender = 64;
    for (const auto& c : cases) {
        gMapRows = c.rows;
        gMapColumns = c.columns;
        gHunterX = (10 * c.hunterColumn + 5) * 64;
        gHunterY = (10 * c.hunterRow + 5) * 64;
        memset(gMapMovementObstacle, 0, sizeof(gMapMovementObstacle));
        memset(gMapPathfindingParent, 0, sizeof(gMapPathfindingParent));
        for (size_t i = 0; i < c.blocked.size(); i += 2)
            blockAt(c.blocked[i], c.blocked[i + 1]) = 1;
        EXPECT_EQ(computeHunterPath(c.row, c.column), c.result) << c.name;
        const long reached = kGridCells - std::count(gMapPathfindingParent, gMapPathfindingParent + kGridCells, 0);
        EXPECT_TRUE(c.reached < 0 || reached == c.reached) << c.name << ": " << reached << " cells reached";
        for (const auto& [row, column, code, g] : c.checks) {
            const int cell = row * kGridSide + column;
            EXPECT_TRUE((code < 0 || gMapPathfindingParent[cell] == code) &&
                        (g < 0 || gMapPathfindingG[cell] == unsigned(g)))
                << c.name << " at " << row << "," << column << ": code " << int(gMapPathfindingParent[cell]) << ", g "
                << gMapPathfindingG[cell];
        }
    }
}

TEST(PathfindingDifferential, FastSearchLeavesExactlyThePlainSearchsDirectionField) {
    std::mt19937 random(20250611);
    auto below = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    static uint8_t expected[kGridCells];
    gTileWidthToRender = gTileHeightToRender = 64;
    const long loweredBefore = gReferenceLowered;
    int reachedCount = 0;
    for (int trial = 0; trial < 3000; trial++) {
        // Small maps and, now and then, one up to the whole grid; scattered obstacles, and walls with
        // gaps that force detours. Just outside the map the grid holds junk that must not matter.
        gMapRows = trial % 120 == 0 ? 64 + below(193) : 1 + below(28);
        gMapColumns = trial % 120 == 0 ? 64 + below(193) : 1 + below(28);
        const int density = below(7) * 8; // percent
        for (int row = 0; row <= gMapRows && row < kGridSide; row++)
            for (int column = 0; column <= gMapColumns && column < kGridSide; column++)
                blockAt(row, column) = row < gMapRows && column < gMapColumns ? below(100) < density : below(2);
        for (int wall = below(2) * below(6); wall > 0; wall--) {
            const bool across = below(2) == 0;
            const int at = below(across ? gMapRows : gMapColumns);
            for (int i = 0; i < (across ? gMapColumns : gMapRows); i++)
                (across ? blockAt(at, i) : blockAt(i, at)) |= below(9) != 0;
        }
        // Several searches on one map, as while the hunter walks and renews his destination.
        for (int search = 0; search < 4; search++) {
            const int hunterRow = below(gMapRows), hunterColumn = below(gMapColumns);
            gHunterX = hunterColumn * 640 + below(640);
            gHunterY = hunterRow * 640 + below(640);
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
            reachedCount += result;
        }
    }
    // The corpus must reach the cases that matter: both results, and costs lowered while waiting.
    EXPECT_TRUE(reachedCount > 3000 && reachedCount < 11000) << reachedCount;
    EXPECT_GT(gReferenceLowered - loweredBefore, 1000);
}
