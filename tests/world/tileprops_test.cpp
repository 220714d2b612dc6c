// Tests of the tile-property loader: values, white space, broken files and the shipped file.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support/test_env.h"
#include "world/world_test_util.h"

namespace {

constexpr int kGridValues = kTilePropertyRows * kTilePropertyColumns;

// A data block: a row per line, a comma after every value but the last; sep follows each comma
// within a row and eol ends each line.
std::string csvBlock(const std::vector<int>& values, const std::string& sep = "", const std::string& eol = "\n") {
    std::string text = "<data encoding=\"csv\">" + eol;
    for (size_t i = 0; i < values.size(); i++) {
        text += std::to_string(values[i]) + (i + 1 < values.size() ? "," : "") +
                ((i + 1) % kTilePropertyColumns ? sep : eol);
    }
    return text + "</data>" + eol;
}

// A properties file: the legend block (ids 1 to 192), then movement, projectiles and overlay. Values
// past 255, or past each block's range, show how they are cut down.
std::string sampleText(const std::string& sep = "", const std::string& eol = "\n") {
    std::vector<int> blocks[4];
    for (auto& block : blocks) {
        block.assign(kGridValues, 0);
    }
    for (int i = 0; i < kGridValues; i++) {
        blocks[0][i] = i + 1;
    }
    // {block, index, value}: tiles 2 and 192 (the grid's last value) block movement; 256 cuts to 0, 513
    // to 1, -1 to 255; projectiles and overlay classes wrap at 64 and 112 after the cut to a byte.
    // clang-format off
    const int values[][3] = {{1, 1, 1}, {1, 191, 1}, {1, 3, 256}, {1, 4, 513}, {1, 5, -1}, {2, 64, 1}, {2, 65, 64},
                             {2, 66, 65}, {3, 0, 1}, {3, 1, 2}, {3, 2, 2}, {3, 3, 112}, {3, 4, 113}, {3, 5, 116},
                             {3, 6, 255}, {3, 130, 4}};
    // clang-format on
    for (const auto& [block, index, value] : values) {
        blocks[block][index] = value;
    }
    std::string text = "<map>" + eol;
    for (const auto& block : blocks) {
        text += "<layer>" + csvBlock(block, sep, eol) + "</layer>" + eol;
    }
    return text + "</map>" + eol;
}

std::string readProperties(const std::string& text) {
    return printed([&] { withTextFile(text, [](FILE* file) { readTileProperties(file); }); });
}

TEST(TileProperties, ReadsTheThreeBlocksSkipsTheLegendAndReadsAnyWhiteSpaceTheSame) {
    const char* names[] = {"movement", "projectiles", "overlay"};
    const uint8_t* tables[] = {gTileTypeMovement, gTileTypeProjectiles, gTileTypeOverlay};
    const std::vector<std::pair<int, int>> tiles[] = {
        // {tile id, value} for each table
        {{1, 0}, {2, 1}, {192, 1}, {4, 0}, {5, 1}, {6, 255}},
        {{64, 0}, {65, 1}, {66, 0}, {67, 1}},
        {{1, 1}, {2, 2}, {3, 2}, {4, 0}, {5, 1}, {6, 4}, {7, 31}, {8, 0}, {131, 4}}};
    for (const auto& [sep, eol] :
         {std::pair<std::string, std::string>{"", "\n"}, {" ", "\n"}, {"\t ", "\n"}, {"", "\r\n"}, {" ", "\r\n"}}) {
        const std::string what = "after comma '" + sep + (eol == "\n" ? "', LF: " : "', CRLF: ");
        clearWorld();
        gTileTypeMovement[0] = gTileTypeProjectiles[0] = gTileTypeOverlay[0] = 9;
        gTileTypeMovement[193] = 7;
        EXPECT_EQ(readProperties(sampleText(sep, eol)), "") << what;
        for (int table = 0; table < 3; table++) {
            for (const auto& [id, value] : tiles[table]) {
                EXPECT_EQ(tables[table][id], value) << what << names[table] << " of tile " << id;
            }
        }
        // The empty cell never blocks and is never drawn; ids past the grid are never written.
        EXPECT_EQ(gTileTypeMovement[0] + gTileTypeProjectiles[0] + gTileTypeOverlay[0], 0) << what;
        EXPECT_EQ(gTileTypeMovement[193], 7) << what;
    }
}

// A value that cannot be read is reported once per block and read as zero, the rest in place; a
// missing block gives the row message for each of its rows.
TEST(TileProperties, BrokenValuesAndMissingBlocksAreReportedAndTheRestIsRead) {
    const std::string full = sampleText();
    const size_t overlay = full.rfind("<data encoding=\"csv\">\n") + 22;             // tile 1's class
    const size_t comma = full.find(',', full.find("<data", full.find("<data") + 1)); // movement's first
    const size_t second = full.find("<layer>", full.find("</data>")) + 7;
    const std::string at = "\nError loading properties.tmx at layer ";
    const std::string rows[] = {"", at + "2." + at + "2." + at + "2.", at + "3." + at + "3." + at + "3.",
                                at + "4." + at + "4." + at + "4."};
    const struct {
        std::string text, message;
        int overlays, movement; // classes of tiles 1 and 2 added up; movement of tile 100
    } cases[] = {
        {full.substr(0, overlay) + "x,y" + full.substr(overlay + 3), at + "4: a value is not a number.", 0, 0},
        {full.substr(0, comma) + " " + full.substr(comma), at + "2: a value is not a number." + at + "2." + at + "2.",
         3, 0},
        {full.substr(0, second) + csvBlock(std::vector<int>(kGridValues, 1)), rows[2] + rows[3], 0, 1},
        {"", rows[1] + rows[2] + rows[3], 0, 0},
    };
    for (const auto& c : cases) {
        gTileTypeOverlay[1] = gTileTypeOverlay[2] = 5;
        EXPECT_EQ(readProperties(c.text), c.message);
        EXPECT_EQ(gTileTypeOverlay[1] + gTileTypeOverlay[2], c.overlays) << c.message;
        EXPECT_EQ(gTileTypeMovement[100], c.movement) << c.message;
    }
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
