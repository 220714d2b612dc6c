// Tests of the tile-property loader: values, white space, broken files and the shipped file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "support/test_env.h"
#include "world/world_test_util.h"

namespace {

constexpr int kGridValues = kTilePropertyRows * kTilePropertyColumns;

struct PropertyGrids {
    std::vector<int> movement = std::vector<int>(kGridValues, 0);
    std::vector<int> projectiles = std::vector<int>(kGridValues, 0);
    std::vector<int> overlay = std::vector<int>(kGridValues, 0);
};

std::string propertiesText(const PropertyGrids& grids, const std::string& sep = "", const std::string& eol = "\n") {
    std::vector<int> legend(kGridValues);
    for (int i = 0; i < kGridValues; i++) {
        legend[i] = i + 1;
    }
    return "<map>" + eol + "<layer>" + csvBlock(legend, kTilePropertyColumns, sep, eol) + "</layer>" + eol +
           "<layer>" + csvBlock(grids.movement, kTilePropertyColumns, sep, eol) + "</layer>" + eol + "<layer>" +
           csvBlock(grids.projectiles, kTilePropertyColumns, sep, eol) + "</layer>" + eol + "<layer>" +
           csvBlock(grids.overlay, kTilePropertyColumns, sep, eol) + "</layer>" + eol + "</map>" + eol;
}

std::string readProperties(const std::string& text) {
    testing::internal::CaptureStdout();
    withTextFile(text, [](FILE* file) { readTileProperties(file); });
    fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

void clearTables(uint8_t value) {
    memset(gTileTypeMovement, value, sizeof gTileTypeMovement);
    memset(gTileTypeProjectiles, value, sizeof gTileTypeProjectiles);
    memset(gTileTypeOverlay, value, sizeof gTileTypeOverlay);
}

PropertyGrids sampleGrids() {
    PropertyGrids grids;
    grids.movement[1] = 1;        // tile 2 blocks movement
    grids.movement[191] = 1;      // tile 192, the last value of the grid
    grids.projectiles[64] = 1;    // tile 65
    grids.overlay[0] = 1;         // tile 1 class 1, tiles 2 and 3 class 2
    grids.overlay[1] = 2;
    grids.overlay[2] = 2;
    grids.overlay[130] = 4;
    return grids;
}

void expectSampleTables() {
    EXPECT_EQ(gTileTypeMovement[2], 1);
    EXPECT_EQ(gTileTypeMovement[192], 1);
    EXPECT_EQ(gTileTypeMovement[1], 0);
    EXPECT_EQ(gTileTypeProjectiles[65], 1);
    EXPECT_EQ(gTileTypeProjectiles[64], 0);
    EXPECT_EQ(gTileTypeOverlay[1], 1);
    EXPECT_EQ(gTileTypeOverlay[2], 2);
    EXPECT_EQ(gTileTypeOverlay[3], 2);
    EXPECT_EQ(gTileTypeOverlay[131], 4);
    EXPECT_EQ(gTileTypeOverlay[4], 0);
}

TEST(TileProperties, ReadsTheThreePropertyBlocksAndSkipsTheLegend) {
    clearTables(0);
    gTileTypeMovement[0] = gTileTypeProjectiles[0] = gTileTypeOverlay[0] = 9;
    gTileTypeMovement[193] = 7;
    EXPECT_EQ(readProperties(propertiesText(sampleGrids())), "");
    expectSampleTables();
    EXPECT_EQ(gTileTypeMovement[0], 0); // the empty cell never blocks and is never drawn
    EXPECT_EQ(gTileTypeProjectiles[0], 0);
    EXPECT_EQ(gTileTypeOverlay[0], 0);
    EXPECT_EQ(gTileTypeMovement[193], 7); // ids past the grid are never written
}

TEST(TileProperties, KeepsTheLowEightBitsAndReducesEachBlock) {
    PropertyGrids grids;
    grids.movement[0] = 256;
    grids.movement[1] = -1;
    grids.movement[2] = 513;
    grids.projectiles[0] = 64;
    grids.projectiles[1] = 65;
    grids.overlay[0] = 112;
    grids.overlay[1] = 113;
    grids.overlay[2] = 116;
    grids.overlay[3] = 255;
    readProperties(propertiesText(grids));
    EXPECT_EQ(gTileTypeMovement[1], 0);
    EXPECT_EQ(gTileTypeMovement[2], 255);
    EXPECT_EQ(gTileTypeMovement[3], 1);
    EXPECT_EQ(gTileTypeProjectiles[1], 0);
    EXPECT_EQ(gTileTypeProjectiles[2], 1);
    EXPECT_EQ(gTileTypeOverlay[1], 0);
    EXPECT_EQ(gTileTypeOverlay[2], 1);
    EXPECT_EQ(gTileTypeOverlay[3], 4);
    EXPECT_EQ(gTileTypeOverlay[4], 255 % 112);
}

TEST(TileProperties, WhiteSpaceAfterCommasAndWindowsLineEndsReadTheSame) {
    for (const auto& [sep, eol] : {std::pair<std::string, std::string>{" ", "\n"}, {"\t ", "\n"}, {"", "\r\n"},
                                   {" ", "\r\n"}}) {
        clearTables(0);
        EXPECT_EQ(readProperties(propertiesText(sampleGrids(), sep, eol)), "") << "separator '" << sep << "'";
        expectSampleTables();
    }
}

TEST(TileProperties, TextWhereANumberBelongsIsReportedOncePerBlockAndReadAsZero) {
    std::string text = propertiesText(sampleGrids());
    const size_t overlay = text.rfind("<data encoding=\"csv\">\n") + 22;
    text.replace(overlay, 1, "x");   // tile 1's class
    gTileTypeOverlay[1] = 5;
    const std::string out = readProperties(text);
    EXPECT_EQ(out.rfind("\nError loading properties.tmx at layer 4: a value is not a number.", 0), 0u) << out;
    EXPECT_EQ(gTileTypeOverlay[1], 0);
    EXPECT_EQ(gTileTypeMovement[2], 1); // the blocks before are intact

    // White space before a comma makes the comma a value that cannot be read.
    text = propertiesText(sampleGrids());
    text.insert(text.find(',', text.find("<data", text.find("<data") + 1)), " ");
    EXPECT_NE(readProperties(text).find("\nError loading properties.tmx at layer 2: a value is not a number."),
              std::string::npos);
}

TEST(TileProperties, MissingBlocksPrintTheRowMessageForEveryMissingRow) {
    const std::string full = propertiesText(sampleGrids());
    const std::string twoBlocks = full.substr(0, full.find("<layer>", full.find("</data>") + 1) + 7) +
                                  csvBlock(std::vector<int>(kGridValues, 1), kTilePropertyColumns);
    std::string out = readProperties(twoBlocks);
    EXPECT_EQ(out, "\nError loading properties.tmx at layer 3.\nError loading properties.tmx at layer 3."
                   "\nError loading properties.tmx at layer 3.\nError loading properties.tmx at layer 4."
                   "\nError loading properties.tmx at layer 4.\nError loading properties.tmx at layer 4.");
    EXPECT_EQ(gTileTypeMovement[100], 1);
    EXPECT_EQ(gTileTypeOverlay[1], 0);
    out = readProperties("");
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 9);
}

TEST(TileProperties, LoadReadsTheFileTwiceToTheSameTablesAndReportsAMissingFile) {
    enterTempCommon(nullptr, 0);
    writeCommonFile("properties.tmx", propertiesText(sampleGrids()));
    clearTables(3);
    EXPECT_EQ(loadTileProperties(), 0);
    uint8_t first[kTileIdCount];
    memcpy(first, gTileTypeOverlay, sizeof first);
    EXPECT_EQ(loadTileProperties(), 0);
    EXPECT_EQ(memcmp(first, gTileTypeOverlay, sizeof first), 0);
    expectSampleTables();

    enterTempCommon(nullptr, 0);
    remove("../Common/properties.tmx");
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadTileProperties(), 1);
    fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nError opening file properties.tmx");
    EXPECT_EQ(memcmp(first, gTileTypeOverlay, sizeof first), 0);
}

// The shipped file must give every tile of the sheet exactly the properties agreed for it.
TEST(TileProperties, ShippedFileMatchesTheTileTable) {
    const char* files[] = {"properties.tmx"};
    enterTempCommon(files, 1);
    clearTables(9);
    testing::internal::CaptureStdout();
    ASSERT_EQ(loadTileProperties(), 0);
    fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    for (int id = 1; id <= kGridValues; id++) {
        int movement = 0, projectiles = 0, overlay = 0;
        if (id <= 8 || (id >= 21 && id <= 39) || (id >= 44 && id <= 47)) {
            overlay = 1;
        } else if (id <= 17) {
            movement = 1, overlay = 1;
        } else if (id == 18 || id == 19 || id == 48 || id == 49) {
            movement = 1, projectiles = 1, overlay = 2;
        } else if (id >= 40 && id <= 43) {
            projectiles = 1, overlay = 3;
        } else if (id == 56 || (id >= 57 && id <= 62)) {
            overlay = 3;
        }
        EXPECT_EQ(gTileTypeMovement[id] != 0, movement != 0) << "tile " << id;
        EXPECT_EQ(gTileTypeProjectiles[id] != 0, projectiles != 0) << "tile " << id;
        EXPECT_EQ(gTileTypeOverlay[id], overlay) << "tile " << id;
    }
    EXPECT_EQ(gTileTypeMovement[193], 9);
}

} // namespace
