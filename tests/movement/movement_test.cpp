// The deer's movement: step lengths, flush stops against blocking cells and the map's edges, sliding.
#include <gtest/gtest.h>

#include <cstring>

#include "movement/movement.h"
#include "render/mapview.h"
#include "world/map.h"

namespace {

// Each case takes one step, then walks on until the deer stops, where a further step is refused.
// The foot box spans x - 120 to x + 120 and y + 100 to y + 220 (tenths); a cell is 640 tenths.
TEST(Movement, StepsStopFlushAgainstBlockingCellsAndTheMapsEdgesAndSlideAlongWalls) {
    gTileWidthToRender = gTileHeightToRender = 64;
    gMapColumns = 20;
    gMapRows = 15;
    const struct {
        const char* name;
        int wallColumn, wallFrom, wallTo; // blocking cells of one column, rows wallFrom..wallTo
        int x, y, inputX, inputY, run, stepX, stepY, stopX, stopY;
    } cases[] = {
        // clang-format off
        {"walk right to a block", 5, 3, 3, 2260, 2230, 1, 0, 0, 2310, 2230, 3070, 2230},
        {"a run that ends short of the block is not cut", 5, 3, 3, 2660, 2230, 1, 0, 1, 2760, 2230, 3070, 2230},
        {"block in the box's upper row", 5, 3, 3, 2660, 2410, 1, 0, 0, 2710, 2410, 3070, 2410},
        {"block in the box's lower row", 5, 4, 4, 2660, 2410, 1, 0, 0, 2710, 2410, 3070, 2410},
        {"a block in the row above the box is passed", 5, 2, 2, 2660, 1900, 1, 0, 0, 2710, 1900, 12670, 1900},
        {"run left to column 0", 0, 3, 3, 4180, 2230, -1, 0, 1, 4080, 2230, 760, 2230},
        {"walk up to row 0 under the box's last column", 6, 0, 0, 3890, 2870, 0, -1, 0, 3890, 2820, 3890, 540},
        {"run down to row 7 under the box's first column", 5, 7, 7, 3890, 2230, 0, 1, 1, 3890, 2330, 3890, 4250},
        {"up-left to the top left corner", 0, 1, 0, 3200, 3200, -1, -1, 0, 3165, 3165, 120, -100},
        {"run down-right to the bottom right corner", 0, 1, 0, 3200, 3200, 1, 1, 1, 3270, 3270, 12670, 9370},
        {"walk down-right along a wall", 5, 0, 14, 3070, 3200, 1, 1, 0, 3070, 3235, 3070, 9370},
        {"run down-right: down tests the new column", 5, 6, 6, 3050, 3560, 1, 1, 1, 3120, 3610, 12670, 9370},
        // clang-format on
    };
    for (const auto& c : cases) {
        memset(gMapMovementObstacle, 0, sizeof gMapMovementObstacle);
        for (int row = c.wallFrom; row <= c.wallTo; row++) {
            gMapMovementObstacle[row * kGridSide + c.wallColumn] = 1;
        }
        gPlayerX = c.x;
        gPlayerY = c.y;
        gPlayerInputX = c.inputX;
        gPlayerInputY = c.inputY;
        movePlayer(c.run);
        EXPECT_EQ(gPlayerX, c.stepX) << c.name;
        EXPECT_EQ(gPlayerY, c.stepY) << c.name;
        for (int x = 0, y = 0, frames = 0; (x != gPlayerX || y != gPlayerY) && frames < 1000; frames++) {
            x = gPlayerX;
            y = gPlayerY;
            movePlayer(c.run);
        }
        EXPECT_EQ(gPlayerX, c.stopX) << c.name;
        EXPECT_EQ(gPlayerY, c.stopY) << c.name;
        const int movedX = c.inputX > 0 ? moveRight(1) : c.inputX < 0 ? moveLeft(1) : 0;
        const int movedY = c.inputY > 0 ? moveDown(1) : c.inputY < 0 ? moveUp(1) : 0;
        EXPECT_EQ(movedX + movedY, 0) << c.name << ": a step past the stop";
    }
}

} // namespace
