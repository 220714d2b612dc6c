// Tests of the tile-property loader: values, white space and broken files.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

// {table (1 movement, 2 projectiles, 3 overlay), tile id, value written, value read}: only the low
// byte of a value counts (256 reads 0, 513 reads 1, -1 reads 255), then projectiles wrap at 64 and
// overlay classes at 112; tile 192 is the grid's last value, tile 1 the legend's first.
// clang-format off
constexpr int kSampleValues[][4] = {
    {1, 1, 0, 0}, {1, 2, 1, 1}, {1, 192, 1, 1}, {1, 4, 256, 0}, {1, 5, 513, 1}, {1, 6, -1, 255},
    {2, 64, 0, 0}, {2, 65, 1, 1}, {2, 66, 64, 0}, {2, 67, 65, 1},
    {3, 1, 1, 1}, {3, 2, 2, 2}, {3, 3, 2, 2}, {3, 4, 112, 0}, {3, 5, 113, 1}, {3, 6, 116, 4}, {3, 7, 255, 31},
    {3, 8, 0, 0}, {3, 131, 4, 4}};
// clang-format on

// A properties file: the legend block (ids 1 to 192), then movement, projectiles and overlay.
std::string sampleText(const std::string& sep = "", const std::string& eol = "\n") {
    std::vector<int> blocks[4];
    for (auto& block : blocks) {
        block.assign(kGridValues, 0);
    }
    for (int i = 0; i < kGridValues; i++) {
        blocks[0][i] = i + 1;
    }
    for (const auto& [table, id, written, read] : kSampleValues) {
        blocks[table][id - 1] = written;
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
    const char* names[] = {"", "movement", "projectiles", "overlay"};
    const uint8_t* tables[] = {nullptr, gTileTypeMovement, gTileTypeProjectiles, gTileTypeOverlay};
    for (const auto& [sep, eol] :
         {std::pair<std::string, std::string>{"", "\n"}, {" ", "\n"}, {"\t ", "\n"}, {"", "\r\n"}, {" ", "\r\n"}}) {
        const std::string what = "after comma '" + sep + (eol == "\n" ? "', LF: " : "', CRLF: ");
        clearWorld();
        gTileTypeMovement[0] = gTileTypeProjectiles[0] = gTileTypeOverlay[0] = 9;
        gTileTypeMovement[193] = 7;
        EXPECT_EQ(readProperties(sampleText(sep, eol)), "") << what;
        for (const auto& [table, id, written, read] : kSampleValues) {
            EXPECT_EQ(tables[table][id], read) << what << names[table] << " of tile " << id;
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

} // namespace
