// Tests of the map loader: the grids, markers, food, widening, and files outside the format.
#include <gtest/gtest.h>

#include <cstring>

#include "render/mapview.h"
#include "render/media.h"
#include "support/test_env.h"
#include "world/world_test_util.h"

namespace {

constexpr uint16_t kRock = 19;      // blocks movement and sight
constexpr uint16_t kIce = 9;        // blocks movement only
constexpr uint16_t kBush = 40;      // blocks sight only
constexpr uint16_t kHeavyMarker = 100; // a marker-layer tile given a movement property below

class MapLoad : public testing::Test {
protected:
    void SetUp() override {
        memset(gMap, 0, sizeof gMap);
        memset(gMapMovementObstacle, 0, sizeof gMapMovementObstacle);
        memset(gMapProjectileObstacle, 0, sizeof gMapProjectileObstacle);
        memset(gTileTypeMovement, 0, sizeof gTileTypeMovement);
        memset(gTileTypeProjectiles, 0, sizeof gTileTypeProjectiles);
        gTileTypeMovement[kRock] = gTileTypeProjectiles[kRock] = 1;
        gTileTypeMovement[kIce] = 1;
        gTileTypeProjectiles[kBush] = 1;
        gTileTypeMovement[kHeavyMarker] = 1;
        gTileTypeMovement[kDeerStartMarker] = 1; // so the start cell's own property can be seen
        gMapRows = gMapColumns = 0;
        gHuntingSpots = 0;
        gFoodLeftToEat = -2;
        gPlayerX = 111;
        gPlayerY = 222;
        gMapNumber = 0;
        gTileWidthToRender = gTileHeightToRender = 64;
    }

    // Reads the text; returns what was printed.
    std::string read(const std::string& text, int placeDeer = 1) {
        testing::internal::CaptureStdout();
        result = readMapText(text, placeDeer, &music);
        fflush(stdout);
        return testing::internal::GetCapturedStdout();
    }

    int result = -1;
    int music = -2;
};

uint16_t cell(int layer, int row, int column) {
    return gMap[layer * kGridCells + row * kGridSide + column];
}

TestMap sampleMap() {
    TestMap map = emptyTestMap(13, 9);
    auto at = [&](int layer, int row, int column) -> int& { return map.layer[layer][row * 13 + column]; };
    at(1, 0, 0) = 21;
    at(1, 0, 1) = 39;
    at(1, 0, 2) = 20;
    at(1, 0, 3) = 40;
    at(2, 4, 4) = kRock;
    at(0, 4, 5) = kIce;
    at(2, 4, 6) = kBush;
    at(3, 2, 5) = kDeerStartMarker;
    at(3, 2, 0) = kHuntingSpotMarker;  // reading order: (1, 9) before (2, 0)
    at(3, 1, 9) = kHuntingSpotMarker;
    at(3, 8, 12) = kHeavyMarker;
    return map;
}

TEST_F(MapLoad, ReadsLayersMarkersFoodAndObstaclesOfTheWorkedExample) {
    EXPECT_EQ(read(toTmx(sampleMap())), "");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(music, 1);
    EXPECT_EQ(gMapColumns, 13);
    EXPECT_EQ(gMapRows, 9);
    EXPECT_EQ(gPlayerX, 3540);
    EXPECT_EQ(gPlayerY, 1590);
    EXPECT_EQ(gFoodLeftToEat, -2 + 2); // 21 and 39 are food, 20 and 40 are not
    ASSERT_EQ(gHuntingSpots, 2);
    EXPECT_EQ(gHuntingSpotRow[0], 1);
    EXPECT_EQ(gHuntingSpotColumn[0], 9);
    EXPECT_EQ(gHuntingSpotRow[1], 2);
    EXPECT_EQ(gHuntingSpotColumn[1], 0);
    EXPECT_EQ(cell(3, 2, 5), 0);
    EXPECT_EQ(cell(3, 2, 0), 0);
    EXPECT_EQ(cell(3, 8, 12), kHeavyMarker); // other marker-layer tiles stay
    EXPECT_EQ(cell(0, 8, 12), 1);
    EXPECT_EQ(cell(1, 0, 1), 39);
    const uint8_t* move = gMapMovementObstacle;
    const uint8_t* shot = gMapProjectileObstacle;
    EXPECT_EQ(move[4 * 256 + 4] * 10 + shot[4 * 256 + 4], 11);
    EXPECT_EQ(move[4 * 256 + 5] * 10 + shot[4 * 256 + 5], 10);
    EXPECT_EQ(move[4 * 256 + 6] * 10 + shot[4 * 256 + 6], 1);
    EXPECT_EQ(move[4 * 256 + 7] * 10 + shot[4 * 256 + 7], 0);
    EXPECT_EQ(move[2 * 256 + 5], 1); // the start marker's own property counts for its cell
    EXPECT_EQ(move[8 * 256 + 12], 1);
}

TEST_F(MapLoad, PlaceDeerZeroOrNoStartMarkerLeavesTheDeerWhereItWas) {
    read(toTmx(sampleMap()), 0);
    EXPECT_EQ(gPlayerX, 111);
    EXPECT_EQ(gPlayerY, 222);
    EXPECT_EQ(cell(3, 2, 5), 0);
    TestMap map = sampleMap();
    map.layer[3][2 * 13 + 5] = 0;
    read(toTmx(map), 1);
    EXPECT_EQ(gPlayerX, 111);
    EXPECT_EQ(gPlayerY, 222);
}

TEST_F(MapLoad, SmallMapIsWidenedWithEmptyFreeCells) {
    // A larger map first leaves tiles and blocked cells where the small map will be widened.
    TestMap big = emptyTestMap(20, 12);
    for (auto& id : big.layer[2]) {
        id = kRock;
    }
    read(toTmx(big));
    TestMap small = emptyTestMap(5, 4);
    small.layer[1][3] = 25;
    small.layer[3][4 * 5 - 1] = kHuntingSpotMarker;
    small.layer[2][0] = kRock;
    gFoodLeftToEat = -2;
    gHuntingSpots = 0;
    read(toTmx(small));
    EXPECT_EQ(gMapColumns, 13);
    EXPECT_EQ(gMapRows, 9);
    EXPECT_EQ(gFoodLeftToEat, -1);
    ASSERT_EQ(gHuntingSpots, 1);
    EXPECT_EQ(gHuntingSpotRow[0], 3);
    EXPECT_EQ(gHuntingSpotColumn[0], 4);
    EXPECT_EQ(gMapMovementObstacle[0], 1);
    for (int row = 0; row < 9; row++) {
        for (int column = 0; column < 13; column++) {
            if (row < 4 && column < 5) {
                continue;
            }
            for (int layer = 0; layer < kMapLayers; layer++) {
                EXPECT_EQ(cell(layer, row, column), 0) << row << "," << column;
            }
            EXPECT_EQ(gMapMovementObstacle[row * 256 + column], 0) << row << "," << column;
            EXPECT_EQ(gMapProjectileObstacle[row * 256 + column], 0) << row << "," << column;
        }
    }
    EXPECT_EQ(cell(2, 10, 15), kRock); // cells beyond the widened size are left as they were
}

TEST_F(MapLoad, LargestMapFitsTheGridExactly) {
    TestMap map = emptyTestMap(256, 256);
    map.layer[3][255 * 256 + 255] = kHuntingSpotMarker;
    map.layer[2][255 * 256 + 254] = kRock;
    EXPECT_EQ(read(toTmx(map)), "");
    EXPECT_EQ(gMapColumns, 256);
    EXPECT_EQ(gMapRows, 256);
    EXPECT_EQ(gHuntingSpots, 1);
    EXPECT_EQ(gMapMovementObstacle[kGridCells - 2], 1);
}

TEST_F(MapLoad, RowWithoutLineFeedIsReportedAndReadOn) {
    std::string text = toTmx(sampleMap());
    const size_t second = text.find("<data encoding=\"csv\">\n", text.find("<data") + 1) + 21;
    text.replace(second, 1, " ");
    EXPECT_EQ(read(text), "\nError loading map00000.tmx at layer 2.");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(gFoodLeftToEat, 0);
}

// Files that lack a part of the format, or whose sizes do not fit the grids, change nothing.
TEST_F(MapLoad, FilesOutsideTheFormatAreRefusedWithOneMessage) {
    const std::string good = toTmx(sampleMap());
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::string twoBlocks = good.substr(0, good.find("<layer>", good.find("</data>", good.find("</data>") + 1)));
    const std::pair<std::string, std::string> cases[] = {
        // tilewidth="32" holds width=" too: a map without a width must lack both.
        {replaced("width=\"13\" height=\"9\" tilewidth", "height=\"9\" tile"), "\nError loading map00000.tmx: no map width."},
        {replaced("width=\"13\"", "width=\"x\""), "\nError loading map00000.tmx: no map width."},
        {replaced("height=\"9\" tilewidth=\"32\" tileheight", "tilewidth=\"32\" tile"),
         "\nError loading map00000.tmx: no map height."},
        {replaced("width=\"13\"", "width=\"0\""),
         "\nError loading map00000.tmx: map size 0 x 9 is outside 1 x 1 to 256 x 256."},
        {replaced("width=\"13\"", "width=\"-5\""),
         "\nError loading map00000.tmx: map size -5 x 9 is outside 1 x 1 to 256 x 256."},
        {replaced("width=\"13\"", "width=\"257\""),
         "\nError loading map00000.tmx: map size 257 x 9 is outside 1 x 1 to 256 x 256."},
        {replaced("height=\"9\"", "height=\"99999999999999999999\""),
         "\nError loading map00000.tmx: map size 13 x 1099511627776 is outside 1 x 1 to 256 x 256."},
        {replaced("name=\"Music\" type=\"int\"", "name=\"Music\""), "\nError loading map00000.tmx: no Music property."},
        {twoBlocks, "\nError loading map00000.tmx: data block 3 is missing."},
    };
    read(toTmx(emptyTestMap(14, 10)));
    const std::vector<uint16_t> before(gMap, gMap + kMapLayers * kGridCells);
    for (const auto& [text, message] : cases) {
        gPlayerX = 111;
        EXPECT_EQ(read(text), message);
        EXPECT_EQ(result, 2);
        EXPECT_EQ(music, -1);
        EXPECT_EQ(gMapColumns, 14);
        EXPECT_EQ(gMapRows, 10);
        EXPECT_EQ(gPlayerX, 111);
        EXPECT_EQ(gHuntingSpots, 0);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), gMap)) << message;
    }
}

TEST_F(MapLoad, UnusableMusicNumberIsReportedAndTheMapStillLoads) {
    for (const char* value : {"100", "-1", "one"}) {
        EXPECT_EQ(read(toTmx(sampleMap(), value)),
                  "\nError loading map00000.tmx: the Music property is not a number from 0 to 99.");
        EXPECT_EQ(result, 0);
        EXPECT_EQ(music, -1);
        EXPECT_EQ(gPlayerX, 3540);
    }
}

TEST_F(MapLoad, TileIdsWithoutTableEntriesBecomeEmptyCells) {
    TestMap map = sampleMap();
    map.layer[2][0] = 4097;
    map.layer[2][1] = -1;       // id 65535 as a 16-bit id
    map.layer[2][2] = 4096;     // the last id with a table entry
    map.layer[0][3] = 70000;
    map.layer[1][4] = 123456;
    std::string text = toTmx(map);
    text.replace(text.find("123456"), 6, "2147483669"); // a flipped tile as the editor writes it
    EXPECT_EQ(read(text), "\nError loading map00000.tmx at layer 1: tile id 70000 is outside 0 to 4096; such "
                                "cells are left empty.\nError loading map00000.tmx at layer 2: tile id 2147483669 is "
                                "outside 0 to 4096; such cells are left empty.\nError loading map00000.tmx at layer "
                                "3: tile id 4097 is outside 0 to 4096; such cells are left empty.");
    EXPECT_EQ(cell(2, 0, 0), 0);
    EXPECT_EQ(cell(2, 0, 1), 0);
    EXPECT_EQ(cell(2, 0, 2), 4096);
    EXPECT_EQ(cell(0, 0, 3), 0);
    EXPECT_EQ(cell(1, 0, 4), 0);
}

TEST_F(MapLoad, ValuesThatAreNotNumbersAreReportedAndReadAsEmpty) {
    std::string text = toTmx(sampleMap());
    const size_t fourth = text.rfind("<data encoding=\"csv\">\n") + 22;
    text.replace(fourth, 1, "?");
    const std::string out = read(text);
    EXPECT_EQ(out.rfind("\nError loading map00000.tmx at layer 4: a value is not a number.", 0), 0u) << out;
    EXPECT_EQ(result, 0);
    EXPECT_EQ(cell(3, 0, 0), 0);
}

TEST_F(MapLoad, HuntingSpotsPastTheSixtyFourthAreLeftOut) {
    TestMap map = emptyTestMap(20, 10);
    for (int i = 0; i < 70; i++) {
        map.layer[3][i] = kHuntingSpotMarker;
    }
    EXPECT_EQ(read(toTmx(map)), "\nError loading map00000.tmx: more than 64 hunting spots; the rest are left out.");
    EXPECT_EQ(gHuntingSpots, 64);
    EXPECT_EQ(gHuntingSpotRow[63], 3);
    EXPECT_EQ(gHuntingSpotColumn[63], 3);
    EXPECT_EQ(cell(3, 3, 9), 0); // every marker is removed all the same
    EXPECT_EQ(read(toTmx(map)), "\nError loading map00000.tmx: more than 64 hunting spots; the rest are left out.");
    EXPECT_EQ(gHuntingSpots, 64); // a list not emptied before the load is never overrun
}

TEST_F(MapLoad, LoadMapOpensTheNumberedFileAndStartsItsMusic) {
    startHeadlessSDL();
    enterTempCommon(nullptr, 0);
    writeCommonFile("map00003.tmx", toTmx(sampleMap(), "7"));
    gMapNumber = 3;
    EXPECT_EQ(loadMap(1), 0);
    EXPECT_STREQ(gMusicFilePath, "../Common/mus07.mid");
    EXPECT_EQ(gPlayerX, 3540);

    writeCommonFile("map00004.tmx", "<map width=\"13\">");
    gMapNumber = 4;
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadMap(1), 1);
    gMapNumber = 5;
    EXPECT_EQ(loadMap(1), 1);
    fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\nError loading map00004.tmx: no map height.\nError opening file ../Common/map00005.tmx");
    EXPECT_STREQ(gMusicFilePath, "../Common/mus07.mid");
    EXPECT_EQ(gMapColumns, 13);
}

} // namespace
