// Tests of the map loader: the grids, markers, food, widening, and files outside the format.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "render/mapview.h"
#include "render/media.h"
#include "support/test_env.h"
#include "world/world_test_util.h"

namespace {

constexpr int kRock = 19;               // blocks movement and sight
constexpr int kIce = 9;                 // blocks movement only
constexpr int kBush = 40;               // blocks sight only
constexpr int kHeavyMarker = 100;       // a marker-layer tile that blocks movement
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

TEST_F(MapLoad, ReadsLayersMarkersFoodAndObstaclesOfTheWorkedExample) {
    TestMap noStart = sampleMap();
    setCell(&noStart, 3, 2, 5, 0);
    // Without a start marker, or with placeDeer 0, the deer stays where it was.
    for (const auto& [text, placeDeer] : {std::pair{formatMap(noStart), 1}, {formatMap(sampleMap()), 0}}) {
        read(text, placeDeer);
        EXPECT_EQ(gPlayerX * 1000 + gPlayerY, 111222) << placeDeer;
    }
    SetUp();
    EXPECT_EQ(read(formatMap(sampleMap())), "");
    EXPECT_EQ(result * 100 + music, 1);
    EXPECT_EQ(gMapColumns * 100 + gMapRows, 1309);
    EXPECT_EQ(gPlayerX * 10000 + gPlayerY, kSampleX * 10000 + kSampleY);
    EXPECT_EQ(gFoodLeftToEat, -2 + 2); // 21 and 39 are food, 20 and 40 are not
    ASSERT_EQ(gHuntingSpots, 2);       // in reading order
    EXPECT_EQ(gHuntingSpotRow[0] * 100 + gHuntingSpotColumn[0], 109);
    EXPECT_EQ(gHuntingSpotRow[1] * 100 + gHuntingSpotColumn[1], 200);
    EXPECT_EQ(cell(3, 2, 5) + cell(3, 2, 0) + cell(3, 1, 9), 0);
    EXPECT_EQ(cell(3, 8, 12), kHeavyMarker); // other marker-layer tiles stay
    EXPECT_EQ(cell(1, 0, 1), 39);
    // The start marker's own property counts for its cell, (2, 5).
    struct {
        int row, column, move, shot;
    } cells[] = {{4, 4, 1, 1}, {4, 5, 1, 0}, {4, 6, 0, 1}, {4, 7, 0, 0}, {2, 5, 1, 0}, {8, 12, 1, 0}};
    for (const auto& c : cells) {
        EXPECT_EQ(gMapMovementObstacle[c.row * kGridSide + c.column], c.move) << c.row << "," << c.column;
        EXPECT_EQ(gMapProjectileObstacle[c.row * kGridSide + c.column], c.shot) << c.row << "," << c.column;
    }
}

// The largest map fills the grids and leaves tiles and blocked cells where a small map is widened.
TEST_F(MapLoad, LargestMapFillsTheGridAndASmallMapIsWidenedWithEmptyFreeCells) {
    TestMap big = makeOpenMap(256, 256);
    big.layer[2].assign(256 * 256, kRock);
    setCell(&big, 3, 255, 255, kHuntingSpotMarker);
    EXPECT_EQ(read(formatMap(big)), "");
    EXPECT_EQ(gMapColumns * 1000 + gMapRows, 256256);
    EXPECT_EQ(gHuntingSpots * 10 + gMapMovementObstacle[kGridCells - 1], 11);
    TestMap small = makeOpenMap(5, 4);
    setCell(&small, 1, 0, 3, 25);
    setCell(&small, 3, 3, 4, kHuntingSpotMarker);
    setCell(&small, 2, 0, 0, kRock);
    gFoodLeftToEat = -2;
    gHuntingSpots = 0;
    read(formatMap(small));
    EXPECT_EQ(gMapColumns * 100 + gMapRows, 1309);
    EXPECT_EQ(gFoodLeftToEat, -1);
    ASSERT_EQ(gHuntingSpots, 1);
    EXPECT_EQ(gHuntingSpotRow[0] * 100 + gHuntingSpotColumn[0], 304);
    EXPECT_EQ(gMapMovementObstacle[0], 1);
    for (int row = 0; row < 10; row++) {
        for (int column = row < 4 ? 5 : 0; column < 14; column++) {
            const int at = row * kGridSide + column;
            const int beyond = row == 9 || column == 13; // cells past the widened size keep what they held
            EXPECT_EQ(cell(0, row, column) + cell(1, row, column) + cell(2, row, column) + cell(3, row, column) +
                          gMapMovementObstacle[at] + gMapProjectileObstacle[at],
                      beyond * (1 + kRock + 2))
                << row << "," << column;
        }
    }
}

std::string tiledVariant(const char* name) {
    std::ifstream in(std::string(VELMOOR_SOURCE_DIR) + "/fuzz/corpus/map_fuzz/" + name);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Files that lack a part of the format, or that the loader cannot read, change nothing; the message
// names the cause and the Tiled setting that mends it.
TEST_F(MapLoad, FilesOutsideTheFormatAreRefusedWithOneMessage) {
    const std::string good = formatMap(sampleMap());
    const std::string notCsv = "; set the map's Tile Layer Format to CSV (Map > Map Properties) and save again.";
    const std::string outside = " is outside 1 x 1 to 256 x 256.";
    const std::pair<std::string, std::string> cases[] = {
        // The map element's own width and height count, not tilewidth and tileheight.
        {replaced(good, "width=\"13\" ", ""), "no map width."},
        {replaced(good, "width=\"13\"", "width=\"x\""), "no map width."},
        {replaced(good, "height=\"9\" ", ""), "no map height."},
        {replaced(good, "width=\"13\"", "width=\"0\""), "map size 0 x 9" + outside},
        {replaced(good, "height=\"9\"", "height=\"0\""), "map size 13 x 0" + outside},
        {replaced(good, "width=\"13\"", "width=\"-5\""), "map size -5 x 9" + outside},
        {replaced(good, "width=\"13\"", "width=\"257\""), "map size 257 x 9" + outside},
        {replaced(good, "height=\"9\"", "height=\"257\""), "map size 13 x 257" + outside},
        {replaced(good, "height=\"9\"", "height=\"99999999999999999999\""), "map size 13 x 1099511627776" + outside},
        {replaced(good, "name=\"Music\" type=\"int\"", "name=\"Music\""), "no Music property."},
        {good.substr(0, good.find(" <layer", good.find("</data>", good.find("</data>") + 1))),
         "the map has 2 CSV tile layers; four are needed (Ground, Grass, Objects, Markers)."},
        {good.substr(0, good.find(" <layer", good.find("</data>"))),
         "the map has 1 CSV tile layer; four are needed (Ground, Grass, Objects, Markers)."},
        // The editor's own output in other Tile Layer Formats, and an infinite map.
        {tiledVariant("tiled_base64.tmx"), "layer 1 is not in CSV but Base64 (uncompressed)" + notCsv},
        {tiledVariant("tiled_zlib.tmx"), "layer 1 is not in CSV but Base64 (zlib compressed)" + notCsv},
        {tiledVariant("tiled_infinite.tmx"), "the map is infinite (its layers are in chunks); make it fixed-size "
                                             "(Map > Map Properties > Infinite off) and save again."},
    };
    read(formatMap(makeOpenMap(14, 10)));
    const std::vector<uint16_t> map(gMap, gMap + kMapLayers * kGridCells);
    const std::vector<uint8_t> moves(gMapMovementObstacle, gMapMovementObstacle + kGridCells);
    for (const auto& [text, message] : cases) {
        EXPECT_EQ(read(text), "\nError loading map00000.tmx: " + message);
        EXPECT_EQ(result * 10 + music, 2 * 10 - 1) << message;
        EXPECT_EQ(gMapColumns * 100 + gMapRows, 1410) << message;
        EXPECT_EQ(gPlayerX + gHuntingSpots, 111) << message;
        EXPECT_TRUE(std::equal(map.begin(), map.end(), gMap)) << message;
        EXPECT_TRUE(std::equal(moves.begin(), moves.end(), gMapMovementObstacle)) << message;
    }
}

// Faults inside a block, or in the music number, are reported and the map still loads; a value that
// is not a number (however it starts) or names no tile reads as empty and the values after it keep
// their places; a layer that ends early leaves the rest of its cells empty and the next layers intact.
TEST_F(MapLoad, FaultsInsideTheFileAreReportedAndTheRestIsRead) {
    const std::string good = formatMap(sampleMap());
    const size_t second = good.find("<data encoding=\"csv\">\n", good.find("<data") + 1) + 21;
    const size_t fourth = good.rfind("<data encoding=\"csv\">\n") + 22;
    const size_t secondEnd = good.find("</data>", second);
    size_t fiveRowsShort = secondEnd; // the start of the fifth row from the block's end
    for (int row = 0; row < 5; row++) {
        fiveRowsShort = good.rfind('\n', fiveRowsShort - 2) + 1;
    }
    TestMap badIds = sampleMap();
    // clang-format off
    const int ids[][4] = {{2, 0, 5, 4097}, {2, 0, 6, -1}, {2, 0, 7, 4096}, {0, 0, 8, 70000}, {1, 0, 9, 123456}};
    // clang-format on
    for (const auto& [layer, row, column, id] : ids) {
        setCell(&badIds, layer, row, column, id);
    }
    const auto spliced = [&](size_t from, size_t length, const std::string& with) {
        return good.substr(0, from) + with + good.substr(from + length);
    };
    const std::string at = "\nError loading map00000.tmx at layer ";
    const std::string badMusic = "\nError loading map00000.tmx: the Music property is not a number from 0 to 99.";
    const std::string notNumber = at + "4: a value is not a number.";
    const std::string noTile = " is outside 0 to 4096; such cells are left empty.";
    const struct {
        std::string text, message;
        int music;
    } cases[] = {
        {spliced(second, 1, " "), at + "2.", 1},
        {spliced(fourth, 1, "?"), notNumber, 1},
        {spliced(good.find('\n', fourth) + 1, 3, "2x1,1.5"), notNumber, 1},
        {spliced(fiveRowsShort, secondEnd - fiveRowsShort, ""),
         at + "2: the layer ends at (0, 4), short of the map's 13 x 9 cells; the rest is left empty.", 1},
        {replaced(good, "value=\"1\"", "value=\"100\""), badMusic, -1},
        {replaced(good, "value=\"1\"", "value=\"-1\""), badMusic, -1},
        {replaced(good, "value=\"1\"", "value=\"one\""), badMusic, -1},
        {replaced(formatMap(badIds), "123456", "2147483669"), // a flipped tile as the editor writes it
         at + "1: tile id 70000" + noTile + at +
             "2: tile id 2147483669 is tile 21 flipped or rotated, which the game cannot draw; such cells are left "
             "empty." +
             at + "3: tile id 4097" + noTile,
         1},
    };
    for (const auto& c : cases) {
        SetUp();
        EXPECT_EQ(read(c.text), c.message);
        EXPECT_EQ(result * 10 + music, c.music) << c.message;
        EXPECT_EQ(gFoodLeftToEat, 0) << c.message;
        EXPECT_TRUE(gPlayerX == kSampleX && gHuntingSpots == 2) << c.message;
        EXPECT_EQ(gHuntingSpotRow[0] * 100 + gHuntingSpotColumn[0], 109) << c.message;
        EXPECT_EQ(cell(2, 4, 4) * 10 + gMapMovementObstacle[8 * kGridSide + 12], kRock * 10 + 1) << c.message;
    }
    // The last case's ids without a table entry were left empty, and the last id with one was kept.
    EXPECT_EQ(cell(2, 0, 5) + cell(2, 0, 6) + cell(0, 0, 8) + cell(1, 0, 9), 0);
    EXPECT_EQ(cell(2, 0, 7), 4096);
}

TEST_F(MapLoad, HuntingSpotsPastTheSixtyFourthAreLeftOut) {
    TestMap map = makeOpenMap(20, 10);
    std::fill_n(map.layer[3].begin(), 70, kHuntingSpotMarker);
    const std::string tooMany = "\nError loading map00000.tmx: more than 64 hunting spots; the rest are left out.";
    EXPECT_EQ(read(formatMap(map)), tooMany);
    EXPECT_EQ(gHuntingSpots, 64);
    EXPECT_EQ(gHuntingSpotRow[63] * 100 + gHuntingSpotColumn[63], 303);
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
