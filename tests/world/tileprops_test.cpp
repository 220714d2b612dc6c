// Tests of the tile-property loader: values, white space, broken files and the shipped file.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_env.h"
#include "world/world_test_util.h"

namespace {

constexpr int kGridValues = kTilePropertyRows * kTilePropertyColumns;

// A properties file: the legend block (ids 1 to 192), then movement, projectiles and overlay. Values
// past 255, or past each block's range, show how they are cut down.
std::string sampleText(const std::string& sep = "", const std::string& eol = "\n") {
    std::vector<int> legend(kGridValues), movement(kGridValues), projectiles(kGridValues), overlay(kGridValues);
    for (int i = 0; i < kGridValues; i++) {
        legend[i] = i + 1;
    }
    movement[1] = movement[191] = 1; // tiles 2 and 192, the last value of the grid
    movement[3] = 256;
    movement[4] = 513;
    movement[5] = -1;
    projectiles[64] = 1;
    projectiles[65] = 64;
    projectiles[66] = 65;
    const int classes[] = {1, 2, 2, 112, 113, 116, 255};
    std::copy(std::begin(classes), std::end(classes), overlay.begin());
    overlay[130] = 4;
    std::string text = "<map>" + eol;
    for (const auto* block : {&legend, &movement, &projectiles, &overlay}) {
        text += "<layer>" + csvBlock(*block, kTilePropertyColumns, sep, eol) + "</layer>" + eol;
    }
    return text + "</map>" + eol;
}

void expectSampleTables(const std::string& what) {
    const char* names[] = {"movement", "projectiles", "overlay"};
    const uint8_t* tables[] = {gTileTypeMovement, gTileTypeProjectiles, gTileTypeOverlay};
    const std::vector<std::pair<int, int>> tiles[] = {
        // {tile id, value} for each table
        {{1, 0}, {2, 1}, {192, 1}, {4, 0}, {5, 1}, {6, 255}},
        {{64, 0}, {65, 1}, {66, 0}, {67, 1}},
        {{1, 1}, {2, 2}, {3, 2}, {4, 0}, {5, 1}, {6, 4}, {7, 31}, {8, 0}, {131, 4}}};
    for (int table = 0; table < 3; table++) {
        for (const auto& [id, value] : tiles[table]) {
            EXPECT_EQ(tables[table][id], value) << what << names[table] << " of tile " << id;
        }
    }
}

std::string readProperties(const std::string& text) {
    return printed([&] { withTextFile(text, [](FILE* file) { readTileProperties(file); }); });
}

TEST(TileProperties, ReadsTheThreeBlocksSkipsTheLegendAndReadsAnyWhiteSpaceTheSame) {
    for (const auto& [sep, eol] :
         {std::pair<std::string, std::string>{"", "\n"}, {" ", "\n"}, {"\t ", "\n"}, {"", "\r\n"}, {" ", "\r\n"}}) {
        const std::string what = "after comma '" + sep + (eol == "\n" ? "', LF: " : "', CRLF: ");
        clearWorld();
        gTileTypeMovement[0] = gTileTypeProjectiles[0] = gTileTypeOverlay[0] = 9;
        gTileTypeMovement[193] = 7;
        EXPECT_EQ(readProperties(sampleText(sep, eol)), "") << what;
        expectSampleTables(what);
        // The empty cell never blocks and is never drawn; ids past the grid are never written.
        EXPECT_EQ(gTileTypeMovement[0] + gTileTypeProjectiles[0] + gTileTypeOverlay[0], 0) << what;
        EXPECT_EQ(gTileTypeMovement[193], 7) << what;
    }
}

TEST(TileProperties, TextWhereANumberBelongsIsReportedOncePerBlockAndReadAsZero) {
    std::string text = sampleText();
    text.replace(text.rfind("<data encoding=\"csv\">\n") + 22, 1, "x"); // tile 1's class
    gTileTypeOverlay[1] = 5;
    const std::string out = readProperties(text);
    EXPECT_EQ(out.rfind("\nError loading properties.tmx at layer 4: a value is not a number.", 0), 0u) << out;
    EXPECT_EQ(gTileTypeOverlay[1], 0);
    EXPECT_EQ(gTileTypeMovement[2], 1); // the blocks before are intact

    // White space before a comma makes the comma a value that cannot be read.
    text = sampleText();
    text.insert(text.find(',', text.find("<data", text.find("<data") + 1)), " ");
    EXPECT_NE(readProperties(text).find("\nError loading properties.tmx at layer 2: a value is not a number."),
              std::string::npos);
}

TEST(TileProperties, MissingBlocksPrintTheRowMessageForEveryMissingRow) {
    const std::string full = sampleText();
    const std::string twoBlocks = full.substr(0, full.find("<layer>", full.find("</data>") + 1) + 7) +
                                  csvBlock(std::vector<int>(kGridValues, 1), kTilePropertyColumns);
    const std::string layer3 = "\nError loading properties.tmx at layer 3.";
    const std::string layer4 = "\nError loading properties.tmx at layer 4.";
    EXPECT_EQ(readProperties(twoBlocks), layer3 + layer3 + layer3 + layer4 + layer4 + layer4);
    EXPECT_EQ(gTileTypeMovement[100], 1);
    EXPECT_EQ(gTileTypeOverlay[1], 0);
    const std::string out = readProperties("");
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 9);
}

// The shipped file, loaded twice, gives every tile of the sheet exactly the properties agreed for it;
// once the file is gone a load reports it and changes nothing.
TEST(TileProperties, ShippedFileMatchesTheTileTableAndAMissingFileIsReported) {
    const char* files[] = {"properties.tmx"};
    enterTempCommon(files, 1);
    memset(gTileTypeMovement, 9, sizeof gTileTypeMovement);
    memset(gTileTypeOverlay, 9, sizeof gTileTypeOverlay);
    EXPECT_EQ(printed([] { EXPECT_EQ(loadTileProperties() + loadTileProperties(), 0); }), "");
    remove("../Common/properties.tmx");
    EXPECT_EQ(printed([] { EXPECT_EQ(loadTileProperties(), 1); }), "\nError opening file properties.tmx");
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
        } else if (id >= 56 && id <= 62) {
            overlay = 3;
        }
        EXPECT_EQ(gTileTypeMovement[id] != 0, movement != 0) << "tile " << id;
        EXPECT_EQ(gTileTypeProjectiles[id] != 0, projectiles != 0) << "tile " << id;
        EXPECT_EQ(gTileTypeOverlay[id], overlay) << "tile " << id;
    }
    EXPECT_EQ(gTileTypeMovement[193], 9);
}

} // namespace
