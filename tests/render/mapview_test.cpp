// Drawing the world through the camera: the visible window, the camera held inside the map, the
// passes by overlay class around the deer, sprites and the falling snow.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "render/coded_sheet.h"
#include "render/mapview.h"
#include "world/map.h"
#include "world/tileprops.h"

class MapViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        startHeadlessSDL();
        std::memset(gMap, 0, sizeof gMap);
        std::memset(gTileTypeOverlay, 0, sizeof gTileTypeOverlay);
        gScreenX = gScreenY = 20; // off the 64-pixel grid: what is drawn against the camera shows
        installCodedSheet(kTextureTiles, 64, 3, 32, 32);
    }
    static void putTile(int layer, int row, int column, int id, int overlay) {
        gMap[layer * kGridCells + row * kGridSide + column] = uint16_t(id);
        gTileTypeOverlay[id] = uint8_t(overlay);
    }
    static int tileAt(int row, int column) { return cellSeenAt(column * 64 - gScreenX + 30, row * 64 - gScreenY + 30); }
};

TEST_F(MapViewTest, TheWindowRoundsItsEndsUpAndTheCameraCentresThePointHeldInsideTheMap) {
    // The camera at (c, c); the end row, the end column: (c + 600) / 64 and (c + 800) / 64 rounded up.
    const int ends[][3] = {{0, 10, 13}, {32, 10, 13}, {40, 10, 14}, {41, 11, 14}};
    for (const auto& c : ends) {
        gScreenX = gScreenY = c[0];
        int window[4];
        computeVisibleWindow(64, 64, &window[0], &window[1], &window[2], &window[3]);
        EXPECT_TRUE(window[0] == 0 && window[1] == c[1] && window[2] == 0 && window[3] == c[2]) << "camera at " << c[0];
    }
    // Map columns, rows, point x, y; camera x, y: on 40 x 30 cells (2560 x 1920 pixels), and on
    // 13 x 9, only 576 pixels high.
    const int cameras[][6] = {// clang-format off
        {40, 30, 2400, 100, 1760, 0}, {40, 30, 1000, 1000, 600, 700}, {40, 30, 300, 1650, 0, 1320},
        {40, 30, 2200, 250, 1760, 0}, {13, 9, 400, 301, 0, -24}};
    // clang-format on
    for (const auto& c : cameras) {
        gMapColumns = c[0];
        gMapRows = c[1];
        centerScreenOnXY(c[2], c[3]);
        EXPECT_TRUE(gScreenX == c[4] && gScreenY == c[5])
            << "to " << c[2] << "," << c[3] << ": " << gScreenX << "," << gScreenY;
    }
}

TEST_F(MapViewTest, EachTileIsDrawnFromItsSheetCellInThePassOfItsClassAndObjectsSplitAtTheDeersRow) {
    putTile(0, 0, 0, 65, 1); // sheet column 0, row 1
    putTile(0, 1, 1, 64, 1); // sheet column 63, row 0
    putTile(0, 2, 2, 2, 1);
    putTile(3, 2, 2, 5, 1); // a higher layer covers a lower one
    putTile(0, 0, 3, 7, 0); // classes 0 and 5 are never drawn
    putTile(0, 0, 4, 9, 5);
    putTile(0, 0, 5, 1, 1);
    renderMap(1, kAllRows);
    const int seen[] = {tileAt(0, 0), tileAt(1, 1), tileAt(2, 2), tileAt(0, 3), tileAt(0, 4), tileAt(0, 5)};
    EXPECT_EQ(std::vector<int>(seen, seen + 6), (std::vector<int>{1, 6300, 400, -1, -1, 0}));
    // Objects in column 3 down to row 19. The deer's row holds the point 10 pixels below its
    // centre: 639.9 lies in row 9, 640 in row 10.
    for (int row = 0; row < 20; row++)
        putTile(2, row, 3, 18, 2);
    gScreenY = 300;
    for (const int deerY : {6299, 6300}) {
        gPlayerY = deerY;
        const int deerRow = deerY == 6299 ? 9 : 10;
        for (const int range : {kAllRows, kRowsAboveDeer, kRowsFromDeer}) {
            SDL_RenderClear(gRenderer);
            renderMap(2, range);
            EXPECT_TRUE((tileAt(deerRow - 1, 3) >= 0) == (range != kRowsFromDeer) &&
                        (tileAt(deerRow, 3) >= 0) == (range != kRowsAboveDeer))
                << "deer at " << deerY << ", range " << range;
        }
    }
    gScreenX = gScreenY = 256 * 64 - 570; // the window passes the grid's last row and column
    renderMap(1, kAllRows);               // and reads nothing outside it (the sanitizers check)
}

TEST_F(MapViewTest, ASpriteIsCentredOnItsPointAndTheSnowScrollsWithTheMapAdvancingEveryEightCalls) {
    installCodedSheet(kTextureDeer, 9, 4, 32, 32);
    renderEntity(kTextureDeer, 3540, 1590, 2, 3); // 64 x 64 from the camera's (354 - 32, 159 - 32)
    const int seen[] = {cellSeenAt(302, 107), cellSeenAt(365, 170), cellSeenAt(301, 107),
                        cellSeenAt(366, 107), cellSeenAt(302, 106), cellSeenAt(302, 171)};
    EXPECT_EQ(std::vector<int>(seen, seen + 6), (std::vector<int>{203, 203, -1, -1, -1, -1}));
    // Sheet cells of 32 pixels: a 64-pixel snow cell shows two neighbouring phases. In the program's
    // first calls the counter runs 1, 2, ..., 128, 0, 1, ... and the phase is the counter / 8. Map
    // (32, 16) lies in the right half of snow column 0, map (132, 66) in the left of column 2.
    installCodedSheet(kTextureSnow, 18, 4, 32, 32);
    gScreenX = 32;
    gScreenY = 16;
    for (int call = 1; call <= 140; call++) {
        renderSnow(1);
        const int phase = (call % 129) / 8;
        EXPECT_TRUE(cellSeenAt(0, 0) == (phase % 16 + 1) * 100 + 2 && cellSeenAt(100, 50) == (phase + 2) % 16 * 100 + 2)
            << "call " << call << ": sheet row 1 begins with coded row 2";
    }
}
