// Tests of the map loader: the grids, markers, food, widening, and files outside the format.
#include <gtest/gtest.h>

#include <vector>

#include "render/mapview.h"
#include "render/media.h"
#include "support/test_env.h"
#include "world/world_test_util.h"

namespace {

// Rock blocks movement and sight, ice movement only, a bush sight only; the heavy marker is a
// marker-layer tile that blocks movement.
constexpr int kRock = 19, kIce = 9, kBush = 40, kHeavyMarker = 100;
constexpr int kSampleX = 5 * 640 + 340; // the deer on the sample's start marker, row 2 column 5
constexpr int kSampleY = 2 * 640 + 310;

class MapLoad : public testing::Test {
  protected:
    void SetUp() override {
        clearWorld();
        gTileTypeMovement[kRock] = gTileTypeProjectiles[kRock] = 1;
        gTileTypeMovement[kIce] = gTileTypeProjectiles[kBush] = gTileTypeMovement[kHeavyMarker] = 1;
        gTileTypeMovement[kDeerStartMarker] = 1; // so the start cell's own property can be seen
        gMapRows = gMapColumns = gHuntingSpots = 0;
        gFoodLeftToEat = -2;
        gPlayerX = 111, gPlayerY = 222;
        gTileWidthToRender = gTileHeightToRender = 64;
    }
    // Reads the text; returns what was printed.
    std::string read(const std::string& text, int placeDeer = 1) {
        return printed([&] { withTextFile(text, [&](FILE* file) { result = readMap(file, placeDeer, &music); }); });
    }
    // What the last read gave the game besides the grids: {result, music, columns, rows, deer x, deer
    // y, food left, spots, first spot as row * 100 + column}.
    std::vector<int> loaded() const {
        const int spot = gHuntingSpots > 0 ? gHuntingSpotRow[0] * 100 + gHuntingSpotColumn[0] : -1;
        return {result, music, gMapColumns, gMapRows, gPlayerX, gPlayerY, gFoodLeftToEat, gHuntingSpots, spot};
    }
    int result = -1;
    int music = -2;
};

uint16_t cell(int layer, int row, int column) { return gMap[layer * kGridCells + row * kGridSide + column]; }

// 13 x 9 with two food tiles, one tile of each obstacle kind, a start and two spots out of reading order.
TestMap sampleMap() {
    TestMap map = makeOpenMap(13, 9);
    // clang-format off
    const int tiles[][4] = {{1, 0, 0, 21}, {1, 0, 1, 39}, {1, 0, 2, 20}, {1, 0, 3, 40}, {2, 4, 4, kRock},
                            {0, 4, 5, kIce}, {2, 4, 6, kBush}, {3, 2, 5, kDeerStartMarker},
                            {3, 2, 0, kHuntingSpotMarker}, {3, 1, 9, kHuntingSpotMarker}, {3, 8, 12, kHeavyMarker}};
    // clang-format on
    for (const auto& [layer, row, column, id] : tiles) {
        setCell(&map, layer, row, column, id);
    }
    return map;
}
const std::vector<int> kSampleLoaded = {0, 1, 13, 9, kSampleX, kSampleY, 0, 2, 109};

// The largest map fills the grids; a small map is widened with empty, free cells over what the
// larger one left, and the cells past its widened size keep what they held. Without a start marker
// the deer stays where it was.
TEST_F(MapLoad, LargestMapFillsTheGridAndASmallMapIsWidenedWithEmptyFreeCells) {
    TestMap big = makeOpenMap(256, 256);
    big.layer[2].assign(256 * 256, kRock);
    setCell(&big, 3, 255, 255, kHuntingSpotMarker);
    EXPECT_EQ(read(formatMap(big)), "");
    EXPECT_EQ(loaded(), (std::vector<int>{0, 1, 256, 256, 111, 222, -2, 1, 25755}));
    EXPECT_EQ(gMapMovementObstacle[kGridCells - 1], 1);
    TestMap small = makeOpenMap(5, 4);
    setCell(&small, 1, 0, 3, 25);
    setCell(&small, 3, 3, 4, kHuntingSpotMarker);
    setCell(&small, 2, 0, 0, kRock);
    gFoodLeftToEat = -2;
    gHuntingSpots = 0;
    read(formatMap(small));
    EXPECT_EQ(loaded(), (std::vector<int>{0, 1, 13, 9, 111, 222, -1, 1, 304}));
    EXPECT_EQ(gMapMovementObstacle[0], 1);
    for (int row = 0; row < 10; row++) {
        for (int column = row < 4 ? 5 : 0; column < 14; column++) {
            const int at = row * kGridSide + column;
            const int beyond = row == 9 || column == 13; // ground, rock, and blocked both ways
            EXPECT_EQ(cell(0, row, column) + cell(1, row, column) + cell(2, row, column) + cell(3, row, column) +
                          gMapMovementObstacle[at] + gMapProjectileObstacle[at],
                      beyond * (1 + kRock + 2))
                << row << "," << column;
        }
    }
}

// The worked example loads its layers, markers, food and obstacles. Faults inside a block, or in the
// music number, are reported and the map still loads; a value that is not a number (however it
// starts) or names no tile reads as empty and the values after it keep their places; a layer that
// ends early leaves the rest of its cells empty and the next layers intact. Files that lack a part
// of the format, or that the loader cannot read, change nothing; the message names the cause and
// the Tiled setting that mends it.
TEST_F(MapLoad, ReadsTheWorkedExampleReadsOnPastFaultsAndRefusesFilesOutsideTheFormat) {
    const std::string good = formatMap(sampleMap());
    const size_t second = good.find("<data encoding=\"csv\">\n", good.find("<data") + 1) + 21;
    const size_t fourth = good.rfind("<data encoding=\"csv\">\n") + 22;
    const size_t secondEnd = good.find("</data>", second);
    size_t fiveRowsShort = secondEnd; // the start of the fifth row from the block's end
    for (int row = 0; row < 5; row++) {
        fiveRowsShort = good.rfind('\n', fiveRowsShort - 2) + 1;
    }
    const auto spliced = [&](size_t from, size_t length, const std::string& with) {
        return good.substr(0, from) + with + good.substr(from + length);
    };
    const auto editor = [](const char* name) {
        return fileText(std::string(VELMOOR_SOURCE_DIR) + "/fuzz/corpus/map_fuzz/" + name);
    };
    TestMap badIds = sampleMap();
    for (const auto& [layer, column, id] : {std::tuple{2, 5, 4097}, {2, 6, -1}, {2, 7, 4096}, {0, 8, 70000}}) {
        setCell(&badIds, layer, 0, column, id);
    }
    const std::string at = "\nError loading map00000.tmx at layer ", error = "\nError loading map00000.tmx: ";
    const std::string badMusic = error + "the Music property is not a number from 0 to 99.";
    const std::string noTile = " is outside 0 to 4096; such cells are left empty.";
    const std::string fewLayers = "; four are needed (Ground, Grass, Objects, Markers).";
    const std::string notCsv = "; set the map's Tile Layer Format to CSV (Map > Map Properties) and save again.";
    const std::string outside = " is outside 1 x 1 to 256 x 256.";
    const std::pair<std::string, std::string> cases[] = {
        {good, ""},
        {spliced(second, 1, " "), at + "2."},
        {spliced(fourth, 1, "?"), at + "4: a value is not a number."},
        {spliced(good.find('\n', fourth) + 1, 3, "2x1,1.5"), at + "4: a value is not a number."},
        {spliced(fiveRowsShort, secondEnd - fiveRowsShort, ""),
         at + "2: the layer ends at (0, 4), short of the map's 13 x 9 cells; the rest is left empty."},
        {replaced(good, "value=\"1\"", "value=\"100\""), badMusic},
        {replaced(good, "value=\"1\"", "value=\"-1\""), badMusic},
        {replaced(good, "value=\"1\"", "value=\"one\""), badMusic},
        // A flipped tile as the editor writes it, in place of the food at (0, 1).
        {replaced(formatMap(badIds), "21,39", "21,2147483687"),
         at + "1: tile id 70000" + noTile + at +
             "2: tile id 2147483687 is tile 39 flipped or rotated, which the game cannot draw; such cells are left "
             "empty." +
             at + "3: tile id 4097" + noTile},
        // Refused: the map element's own width and height count, not tilewidth and tileheight.
        {replaced(good, "width=\"13\" ", ""), error + "no map width."},
        {replaced(good, "width=\"13\"", "width=\"x\""), error + "no map width."},
        {replaced(good, "height=\"9\" ", ""), error + "no map height."},
        {replaced(good, "width=\"13\"", "width=\"0\""), error + "map size 0 x 9" + outside},
        {replaced(good, "height=\"9\"", "height=\"0\""), error + "map size 13 x 0" + outside},
        {replaced(good, "width=\"13\"", "width=\"257\""), error + "map size 257 x 9" + outside},
        {replaced(good, "height=\"9\"", "height=\"257\""), error + "map size 13 x 257" + outside},
        {replaced(good, "height=\"9\"", "height=\"99999999999999999999\""),
         error + "map size 13 x 1099511627776" + outside},
        {replaced(good, "name=\"Music\" type=\"int\"", "name=\"Music\""), error + "no Music property."},
        {good.substr(0, good.find(" <layer", good.find("</data>"))),
         error + "the map has 1 CSV tile layer" + fewLayers},
        {good.substr(0, good.find(" <layer", good.find("</data>", good.find("</data>") + 1))),
         error + "the map has 2 CSV tile layers" + fewLayers},
        // The editor's own output in other Tile Layer Formats, and an infinite map.
        {replaced(good, "<data encoding=\"csv\">",
                  "<data encoding=\"base64\" compression=\"zlib\"" + std::string(200, ' ') + ">"),
         error + "layer 1 is not in CSV but Base64 (zlib compressed)" + notCsv}, // however long the tag
        {editor("tiled_base64.tmx"), error + "layer 1 is not in CSV but Base64 (uncompressed)" + notCsv},
        {editor("tiled_zlib.tmx"), error + "layer 1 is not in CSV but Base64 (zlib compressed)" + notCsv},
        {editor("tiled_infinite.tmx"), error + "the map is infinite (its layers are in chunks); make it fixed-size "
                                               "(Map > Map Properties > Infinite off) and save again."},
    };
    for (const auto& [text, message] : cases) {
        SetUp();
        read(formatMap(makeOpenMap(14, 10)));
        const std::vector<uint16_t> map(gMap, gMap + kMapLayers * kGridCells);
        const std::vector<uint8_t> moves(gMapMovementObstacle, gMapMovementObstacle + kGridCells);
        EXPECT_EQ(read(text), message);
        if (result != 0) {
            EXPECT_EQ(loaded(), (std::vector<int>{2, -1, 14, 10, 111, 222, -2, 0, -1})) << message;
            EXPECT_TRUE(std::equal(map.begin(), map.end(), gMap)) << message;
            EXPECT_TRUE(std::equal(moves.begin(), moves.end(), gMapMovementObstacle)) << message;
            continue;
        }
        std::vector<int> expected = kSampleLoaded;
        expected[1] = message == badMusic ? -1 : 1;
        expected[6] = message.find("flipped") != std::string::npos ? -1 : 0;
        EXPECT_EQ(loaded(), expected) << message; // 21 and 39 are food, 20 and 40 not; spots in reading order
        EXPECT_EQ(gHuntingSpotRow[1] * 100 + gHuntingSpotColumn[1], 200) << message;
        EXPECT_EQ(cell(3, 2, 5) + cell(3, 2, 0) + cell(3, 1, 9), 0) << message;
        EXPECT_EQ(cell(3, 8, 12) * 100 + cell(2, 4, 4), kHeavyMarker * 100 + kRock) << message; // other markers stay
        // {row, column, blocks movement, blocks sight}; the start marker's own property counts for (2, 5).
        const int cells[][4] = {{4, 4, 1, 1}, {4, 5, 1, 0}, {4, 6, 0, 1}, {4, 7, 0, 0}, {2, 5, 1, 0}, {8, 12, 1, 0}};
        for (const auto& [row, column, move, shot] : cells) {
            const int at = row * kGridSide + column;
            EXPECT_EQ(gMapMovementObstacle[at] * 10 + gMapProjectileObstacle[at], move * 10 + shot)
                << message << " at " << row << "," << column;
        }
    }
    gPlayerX = 111;
    read(good, 0);
    EXPECT_EQ(gPlayerX, 111); // placeDeer 0 leaves the deer where it was
    // The flipped tile's case: ids without a table entry were left empty, the last id with one kept.
    read(cases[8].first);
    EXPECT_EQ(cell(2, 0, 5) + cell(2, 0, 6) + cell(0, 0, 8) + cell(1, 0, 1), 0);
    EXPECT_EQ(cell(2, 0, 7), 4096);
}

TEST_F(MapLoad, HuntingSpotsPastTheSixtyFourthAreLeftOut) {
    TestMap map = makeOpenMap(20, 10);
    std::fill_n(map.layer[3].begin(), 70, kHuntingSpotMarker);
    const std::string tooMany = "\nError loading map00000.tmx: more than 64 hunting spots; the rest are left out.";
    EXPECT_EQ(read(formatMap(map)), tooMany);
    EXPECT_EQ(gHuntingSpots * 10000 + gHuntingSpotRow[63] * 100 + gHuntingSpotColumn[63], 640303);
    EXPECT_EQ(cell(3, 3, 9), 0); // every marker is removed all the same
    EXPECT_EQ(read(formatMap(map)), tooMany);
    EXPECT_EQ(gHuntingSpots, 64); // a list not emptied before the load is never overrun
}

TEST_F(MapLoad, LoadMapOpensTheNumberedFileOrTheGivenPathAndStartsItsMusic) {
    startHeadlessSDL();
    enterTempCommon(nullptr, 0);
    TestMap map = sampleMap();
    map.music = 7;
    writeCommonFile("map00003.tmx", formatMap(map));
    writeCommonFile("map00004.tmx", "<map width=\"13\">");
    gMapNumber = 3;
    EXPECT_EQ(loadMap(1), 0);
    EXPECT_STREQ(gMusicFilePath, "../Common/mus07.mid");
    EXPECT_EQ(gPlayerX, kSampleX);
    snprintf(gMapPath, sizeof gMapPath, "%s", "../Common/map00004.tmx"); // named in place of map 3
    EXPECT_EQ(printed([] {
                  EXPECT_EQ(loadMap(1), 1);
                  gMapPath[0] = '\0';
                  gMapNumber = 5;
                  EXPECT_EQ(loadMap(1), 1);
              }),
              "\nError loading map00004.tmx: no map height.\nError opening file ../Common/map00005.tmx");
    EXPECT_STREQ(gMusicFilePath, "../Common/mus07.mid");
    EXPECT_EQ(gMapColumns, 13);
}

} // namespace
