// Drawing the world: the visible window, the camera held at the map's edges, the passes by
// overlay class around the deer, sheet coordinates of tile ids, sprites and the snow's phase.
#include <gtest/gtest.h>

#include <cstring>

#include "render/mapview.h"
#include "render/media.h"
#include "support/test_env.h"
#include "world/map.h"
#include "world/tileprops.h"

namespace {

// A sheet of cells cellSize wide whose every cell is one colour: red and green give its column,
// blue its row.
SDL_Texture* makeCodedSheet(int columns, int rows, int cellSize) {
    SDL_Surface* sheet =
        SDL_CreateRGBSurfaceWithFormat(0, columns * cellSize, rows * cellSize, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int row = 0; row < rows; row++) {
        for (int column = 0; column < columns; column++) {
            SDL_Rect cell{column * cellSize, row * cellSize, cellSize, cellSize};
            SDL_FillRect(sheet, &cell,
                         SDL_MapRGB(sheet->format, 4 * (column % 64) + 1, 40 * (column / 64) + 1, 40 * row + 1));
        }
    }
    SDL_Texture* texture = SDL_CreateTextureFromSurface(gRenderer, sheet);
    SDL_FreeSurface(sheet);
    return texture;
}

// The sheet cell seen at a screen point: column * 1000 + row, or -1 for the black background.
int cellSeenAt(int x, int y) {
    SDL_Color c = readPixel(x, y);
    if (c.r == 0 && c.g == 0 && c.b == 0) {
        return -1;
    }
    return ((c.r - 1) / 4 + 64 * ((c.g - 1) / 40)) * 1000 + (c.b - 1) / 40;
}

class MapViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        startHeadlessSDL();
        std::memset(gMap, 0, sizeof gMap);
        std::memset(gTileTypeOverlay, 0, sizeof gTileTypeOverlay);
        gMapColumns = 40;
        gMapRows = 30;
        gScreenX = 0;
        gScreenY = 0;
        SDL_DestroyTexture(gTexture[kTextureTiles]);
        gTexture[kTextureTiles] = makeCodedSheet(64, 3, 32);
        SDL_SetRenderDrawColor(gRenderer, 0, 0, 0, 255);
        SDL_RenderClear(gRenderer);
    }
};

TEST_F(MapViewTest, TheVisibleWindowRoundsItsEndsUp) {
    struct Case {
        int screenX, screenY, firstRow, endRow, firstColumn, endColumn;
    };
    for (Case c : {Case{0, 0, 0, 10, 0, 13}, Case{10, 10, 0, 10, 0, 13}, Case{64, 40, 0, 10, 1, 14},
                   Case{64, 50, 0, 11, 1, 14}}) {
        gScreenX = c.screenX;
        gScreenY = c.screenY;
        int firstRow, endRow, firstColumn, endColumn;
        computeVisibleWindow(64, 64, &firstRow, &endRow, &firstColumn, &endColumn);
        EXPECT_EQ(firstRow, c.firstRow);
        EXPECT_EQ(endRow, c.endRow);
        EXPECT_EQ(firstColumn, c.firstColumn);
        EXPECT_EQ(endColumn, c.endColumn);
    }
}

TEST_F(MapViewTest, TheCameraCentresThePointAndHoldsAtTheMapsEdges) {
    centerScreenOnXY(2400, 100);
    EXPECT_EQ(gScreenX, 1760);
    EXPECT_EQ(gScreenY, 0);
    centerScreenOnXY(1000, 1000);
    EXPECT_EQ(gScreenX, 600);
    EXPECT_EQ(gScreenY, 700);
    centerScreenOnXY(5, 1900);
    EXPECT_EQ(gScreenX, 0);
    EXPECT_EQ(gScreenY, 1920 - 600);
    gMapColumns = 13; // a 9-row map is 576 pixels high: the camera leaves a band above it
    gMapRows = 9;
    centerScreenOnXY(400, 301);
    EXPECT_EQ(gScreenY, -24);
}

TEST_F(MapViewTest, TileIdsComeFromTheirSheetCellAndOnlyTheGivenClassIsDrawn) {
    gMap[0 * kGridCells + 0 * kGridSide + 0] = 65; // sheet column 0, row 1
    gMap[0 * kGridCells + 0 * kGridSide + 1] = 64; // sheet column 63, row 0
    gMap[2 * kGridCells + 0 * kGridSide + 1] = 5;  // a higher layer of the same cell covers it
    gMap[0 * kGridCells + 0 * kGridSide + 2] = 7;  // class 0: never drawn
    gMap[0 * kGridCells + 0 * kGridSide + 3] = 9;  // class 5: never drawn
    gTileTypeOverlay[65] = 1;
    gTileTypeOverlay[64] = 1;
    gTileTypeOverlay[5] = 1;
    gTileTypeOverlay[9] = 5;
    renderMap(1, kAllRows);
    EXPECT_EQ(cellSeenAt(10, 10), 0 * 1000 + 1);
    EXPECT_EQ(cellSeenAt(64 + 10, 63), 4 * 1000 + 0);
    EXPECT_EQ(cellSeenAt(128 + 10, 10), -1);
    EXPECT_EQ(cellSeenAt(192 + 10, 10), -1);
    gMap[2 * kGridCells + 0 * kGridSide + 1] = 0;
    renderMap(1, kAllRows);
    EXPECT_EQ(cellSeenAt(64 + 10, 10), 63 * 1000 + 0);
    SDL_RenderClear(gRenderer);
    renderMap(2, kAllRows);
    EXPECT_EQ(cellSeenAt(10, 10), -1);
}

TEST_F(MapViewTest, TheDeersRowSplitsTheSecondPassAndTheCameraShiftsTheTiles) {
    for (int row = 0; row < 20; row++) {
        gMap[2 * kGridCells + row * kGridSide + 3] = 18;
    }
    gTileTypeOverlay[18] = 2;
    gPlayerY = 6300; // the deer's row is (6400 / 64) / 10 = 10
    gScreenY = 300;
    gScreenX = 10;
    renderMap(2, kRowsAboveDeer);
    EXPECT_NE(cellSeenAt(3 * 64 - 10 + 5, 9 * 64 - 300 + 5), -1);
    EXPECT_EQ(cellSeenAt(3 * 64 - 10 + 5, 10 * 64 - 300 + 5), -1);
    SDL_RenderClear(gRenderer);
    renderMap(2, kRowsFromDeer);
    EXPECT_EQ(cellSeenAt(3 * 64 - 10 + 5, 9 * 64 - 300 + 5), -1);
    EXPECT_NE(cellSeenAt(3 * 64 - 10 + 5, 10 * 64 - 300 + 5), -1);
    EXPECT_NE(cellSeenAt(3 * 64 - 10 + 63, 10 * 64 - 300 + 63), -1);
    EXPECT_EQ(cellSeenAt(3 * 64 - 10 - 1, 10 * 64 - 300 + 5), -1);
}

TEST_F(MapViewTest, ACameraNearTheGridsLastRowDrawsNothingOutsideTheGrid) {
    gMapRows = 256;
    gMapColumns = 256;
    gScreenX = 256 * 64 - 800 + 30; // one column past the grid is in view
    gScreenY = 256 * 64 - 600 + 30;
    gTileTypeOverlay[0] = 1;
    renderMap(1, kAllRows); // must not read past the 256 x 256 grid (the sanitizers check)
    SUCCEED();
}

TEST_F(MapViewTest, AnEntityIsCentredOnItsPointAndTakenFromItsSheetCell) {
    SDL_DestroyTexture(gTexture[kTextureDeer]);
    gTexture[kTextureDeer] = makeCodedSheet(9, 4, 32);
    gScreenX = 0;
    gScreenY = 0;
    renderEntity(kTextureDeer, 3540, 1590, 2, 3);
    EXPECT_EQ(cellSeenAt(322, 127), 2 * 1000 + 3);
    EXPECT_EQ(cellSeenAt(322 + 63, 127 + 63), 2 * 1000 + 3);
    EXPECT_EQ(cellSeenAt(321, 127), -1);
    EXPECT_EQ(cellSeenAt(322 + 64, 127), -1);
}

TEST_F(MapViewTest, TheSnowAdvancesOnePhaseEveryEightCallsAndNeighbouringColumnsDifferByOne) {
    SDL_DestroyTexture(gTexture[kTextureSnow]);
    gTexture[kTextureSnow] = makeCodedSheet(18, 4, 32); // 32-pixel phases; a 64-pixel window spans two
    // Find the call that shows phase 0 in column 0: the counter's period is 129 calls.
    int phaseOfColumn0[300];
    for (int call = 0; call < 300; call++) {
        renderSnow(1);
        phaseOfColumn0[call] = cellSeenAt(5, 5) / 1000;
        EXPECT_EQ(cellSeenAt(5, 70) / 1000, phaseOfColumn0[call]); // one phase for a whole column
        EXPECT_EQ(cellSeenAt(64 + 5, 5) / 1000, (phaseOfColumn0[call] + 1) % 16);
        EXPECT_EQ(cellSeenAt(5, 5) % 1000, 2); // sheet row 1: the second 32-pixel cell row is y 64..95
    }
    for (int call = 129; call < 300; call++) {
        EXPECT_EQ(phaseOfColumn0[call], phaseOfColumn0[call - 129]);
    }
    int zeros = 0;
    for (int call = 0; call < 129; call++) {
        zeros += phaseOfColumn0[call] == 0 ? 1 : 0;
    }
    EXPECT_EQ(zeros, 9); // counter values 128 and 0 to 7
}

} // namespace
