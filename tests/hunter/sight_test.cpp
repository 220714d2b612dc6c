// The sight line through the projectile grid, and the window from which the hunter may shoot.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "hunter/navigation.h"
#include "hunter/sight.h"
#include "render/mapview.h"
#include "world/map.h"

static void openMap(int rows, int columns) {
    gTileWidthToRender = gTileHeightToRender = 64;
    gMapRows = rows;
    gMapColumns = columns;
    memset(gMapProjectileObstacle, 0, sizeof(gMapProjectileObstacle));
}

TEST(LineOfSight, SegmentsTestEveryCellTheyCrossButTheEndCell) {
    const struct {
        const char* name;
        std::vector<int> blocked; // row, column pairs
        int x1, y1, x2, y2, expected;
        bool reverseToo, fullMap; // the reverse segment answers the same; 256 x 256 cells, not 9 x 13
    } cases[] = {
        // clang-format off
        {"same cell, even when it blocks", {1, 1}, 70, 70, 120, 120, 1, true, false},
        {"blocking start cell", {1, 1}, 100, 100, 300, 100, 0, false, false},
        {"blocking end cell", {1, 1}, 300, 100, 100, 100, 1, false, false},
        // From (100, 100) to (300, 100) along row 1, columns 1 to 4.
        {"open row", {}, 100, 100, 300, 100, 1, false, false},
        {"row, blocking cell on the way", {1, 3}, 100, 100, 300, 100, 0, false, false},
        {"row, blocking cells beside it", {0, 2, 2, 2}, 100, 100, 300, 100, 1, false, false},
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
        {"along the map's left edge", {}, 0, 500, 0, 10, 1, false, false},
        {"along the map's top edge", {}, 700, 0, 10, 0, 1, false, false},
        // A segment ending on a corner ends in the cell holding its end point.
        {"up-right to corner (128, 64)", {0, 2, 0, 3}, 10, 300, 128, 64, 1, false, false},
        {"down-left to corner (128, 192)", {3, 1, 4, 1}, 300, 10, 128, 192, 1, false, false},
        {"up-right to a corner on the top edge", {}, 10, 100, 128, 0, 1, false, false},
        {"from the row below the map, whatever the grid holds there", {9, 3, 9, 4}, 200, 9 * 64 + 5, 200, 100, 1, false, false},
        {"from the row below the map, blocked", {5, 3}, 200, 9 * 64 + 5, 200, 100, 0, false, false},
        {"from beyond the right edge, whatever the grid holds there", {1, 13}, 13 * 64 + 5, 100, 100, 100, 1, false, false},
        {"from below a full map", {}, 100, 256 * 64 + 10, 100, 100, 1, false, true},
        {"across a full map from beyond its corners", {}, -500, -500, 256 * 64 + 500, 256 * 64 + 500, 1, false, true},
        {"along a full map's diagonal", {}, 256 * 64, 0, 0, 256 * 64, 1, false, true},
        // clang-format on
    };
    for (const auto& c : cases) {
        openMap(c.fullMap ? 256 : 9, c.fullMap ? 256 : 13);
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
                            {1760, 1960, 2400, 2350, 1850, 2710, 2050, 2560}}; // held at the right and bottom
    openMap(40, 40);
    for (const auto& c : cases) {
        gScreenX = c[0];
        gScreenY = c[1];
        gPlayerX = c[2] * 10;
        gPlayerY = c[3] * 10;
        // The hunter on each bound, then one pixel inside it, level with the deer.
        const int probes[][3] = {{c[4], c[3], 0}, {c[4] + 1, c[3], 1}, {c[5], c[3], 0}, {c[5] - 1, c[3], 1},
                                 {c[2], c[6], 0}, {c[2], c[6] + 1, 1}, {c[2], c[7], 0}, {c[2], c[7] - 1, 1}};
        for (const auto& p : probes) {
            gHunterX = p[0] * 10;
            gHunterY = p[1] * 10;
            EXPECT_EQ(isInPositionToShoot(), p[2])
                << "camera " << c[0] << "," << c[1] << ", hunter " << p[0] << "," << p[1];
        }
    }
}
