// Tests of the map and tile-property loaders: grids, markers, food, widening, faults, the shipped files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "game/mapcheck.h"
#include "render/mapview.h"
#include "render/media.h"
#include "support/test_env.h"
#include "support/test_maps.h"
#include "world/loadreport.h"
#include "world/map.h"
#include "world/tileprops.h"

namespace {

// Runs fn over text as if it were an open file and returns what it printed.
template <typename Fn> std::string printed(Fn fn, std::string text = "") {
    text += ' '; // fmemopen needs a byte; the size below leaves it out
    FILE* file = fmemopen(text.data(), text.size() - 1, "r");
    testing::internal::CaptureStdout();
    fn(file);
    fflush(stdout);
    fclose(file);
    return testing::internal::GetCapturedStdout();
}

std::string replaced(const std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    return text.substr(0, at) + to + text.substr(at + from.size());
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Empties the tile tables and the map, and names the numbered map in messages.
void clearWorld() {
    for (uint8_t* table : {gTileTypeMovement, gTileTypeProjectiles, gTileTypeOverlay}) {
        memset(table, 0, kTileIdCount);
    }
    memset(gMap, 0, sizeof gMap);
    gMapPath[0] = '\0', gMapNumber = 0;
}

// Rock blocks movement and sight, ice movement, a bush sight; the heavy marker is a marker tile that blocks.
constexpr int kRock = 19, kIce = 9, kBush = 40, kHeavyMarker = 100;
constexpr int kSampleX = 5 * 640 + 340, kSampleY = 2 * 640 + 310; // the deer on the sample's start (2, 5)

class MapLoad : public testing::Test {
  protected:
    void SetUp() override {
        clearWorld();
        gTileTypeMovement[kRock] = gTileTypeProjectiles[kRock] = 1;
        gTileTypeMovement[kIce] = gTileTypeProjectiles[kBush] = gTileTypeMovement[kHeavyMarker] = 1;
        gTileTypeMovement[kDeerStartMarker] = 1; // so the start cell's own property can be seen
        gMapRows = gMapColumns = gHuntingSpots = 0;
        gFoodLeftToEat = -2, gPlayerX = 111, gPlayerY = 222;
        gTileWidthToRender = gTileHeightToRender = 64;
    }
    std::string read(const std::string& text, int placeDeer = 1) {
        return printed([&](FILE* file) { result = readMap(file, placeDeer, &music); }, text);
    }
    // What the last read gave the game besides the grids: {result, music, columns, rows, deer x, deer
    // y, food left, spots, first spot as row * 100 + column}.
    std::vector<int> loaded() const {
        const int spot = gHuntingSpots > 0 ? gHuntingSpotRow[0] * 100 + gHuntingSpotColumn[0] : -1;
        return {result, music, gMapColumns, gMapRows, gPlayerX, gPlayerY, gFoodLeftToEat, gHuntingSpots, spot};
    }
    int result = -1, music = -2;
};

// One cell as the game has it: its four tile ids, then whether it blocks movement and sight.
std::vector<int> cellState(int row, int column) {
    const int at = row * kGridSide + column, n = kGridCells;
    const int move = gMapMovementObstacle[at], shot = gMapProjectileObstacle[at];
    return {gMap[at], gMap[at + n], gMap[at + 2 * n], gMap[at + 3 * n], move, shot};
}

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

// The largest map fills the grids, leaving out spots past the 64th (markers removed all the same)
// however full the list was. A 1 x 1 map is widened with empty, free cells; the cells past its
// widened size keep what they held.
TEST_F(MapLoad, LargestMapFillsTheGridAndASmallMapIsWidenedWithEmptyFreeCells) {
    TestMap big = makeOpenMap(256, 256);
    big.layer[2].assign(256 * 256, kRock);
    std::fill_n(big.layer[3].begin(), 70, kHuntingSpotMarker);
    const std::vector<int> rock = {1, 0, kRock, 0, 1, 1}; // ground and rock: blocked both ways
    for (int load = 0; load < 2; load++) {
        EXPECT_EQ(read(formatMap(big)), "\nError loading map00000.tmx: 70 hunting spots, more than the 64 the game "
                                        "takes; it leaves out the last 6, the first of them at (64, 0).");
        EXPECT_EQ(loaded(), (std::vector<int>{0, 1, 256, 256, 111, 222, -2, 64, 0})) << load;
        EXPECT_EQ(gHuntingSpotColumn[63], 63);
        EXPECT_EQ(cellState(0, 69), rock); // a spot left out, its marker taken out all the same
        EXPECT_EQ(cellState(255, 255), rock);
    }
    const TestMap small{1, 1, 1, {{1}, {25}, {kRock}, {kHuntingSpotMarker}}};
    gHuntingSpots = 0;
    read(formatMap(small));
    EXPECT_EQ(loaded(), (std::vector<int>{0, 1, 13, 9, 111, 222, -1, 1, 0}));
    const std::vector<int> first = {1, 25, kRock, 0, 1, 1}, empty(6, 0);
    for (int row = 0; row < 10; row++) {
        for (int column = 0; column < 14; column++) {
            const bool beyond = row == 9 || column == 13; // as the large map left them
            EXPECT_EQ(cellState(row, column), row + column == 0 ? first : (beyond ? rock : empty))
                << row << "," << column;
        }
    }
}

// The worked example loads (start and spot markers taken out, other marker tiles kept); faults inside
// the file are reported and the rest is read, a value that cannot be used read as empty with the
// values after it in place. Files the loader cannot read change nothing; the message names the
// cause and the Tiled setting that mends it.
TEST_F(MapLoad, ReadsTheWorkedExampleReadsOnPastFaultsAndRefusesFilesOutsideTheFormat) {
    const std::string good = formatMap(sampleMap());
    const size_t second = good.find("<data encoding=\"csv\">\n", good.find("<data") + 1) + 21;
    const size_t fourth = good.rfind("<data encoding=\"csv\">\n") + 22;
    const auto spliced = [&](size_t from, size_t length, const std::string& with) {
        return good.substr(0, from) + with + good.substr(from + length);
    };
    const std::string editor = std::string(VELMOOR_SOURCE_DIR) + "/fuzz/corpus/map_fuzz/";
    TestMap shortLayer = sampleMap(), badIds = sampleMap();
    shortLayer.layer[1].resize(4 * 13);
    for (const auto& [layer, column, id] : {std::tuple{2, 5, 4097}, {2, 6, -1}, {2, 7, 4096}, {0, 8, 70000}}) {
        setCell(&badIds, layer, 0, column, id);
    }
    const std::string at = "\nError loading map00000.tmx at layer ", error = "\nError loading map00000.tmx: ";
    const std::string flipped = replaced(formatMap(badIds), "21,39", "21,2147483687");
    const std::string badMusic = error + "the Music property is not a number from 0 to 99.";
    const std::string notCsv = "; set the map's Tile Layer Format to CSV (Map > Map Properties) and save again.";
    const std::string outside = " is outside 1 x 1 to 256 x 256.";
    const std::string fifth = " <layer name=\"Rock wall\"><data encoding=\"csv\">\n0</data></layer>\n</map>";
    // The map with its Music property, of the type given, on "Layer N", and the loader's message.
    const auto musicOn = [&](int layer, const std::string& type, const std::string& advice) {
        const std::string tag = "name=\"Layer " + std::to_string(layer) + "\" width=\"13\" height=\"9\">";
        return std::pair(replaced(replaced(good, "name=\"Music\"", "name=\"Tune\""), tag,
                                  tag + "<properties><property name=\"Music\"" + type + " value=\"1\"/></properties>"),
                         error + "the Music property is on layer " + std::to_string(layer + 1) + " (\"Layer " +
                             std::to_string(layer) + "\"), not on the map" + advice);
    };
    const std::string moveMusic = "; move it to the map's own properties (Map > Map Properties) and save again.";
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {good, ""},
        {spliced(second, 1, " "), at + "2."},
        {spliced(fourth, 1, "?"), at + "4: the value at (0, 0) is not a number; the cell is left empty."},
        {spliced(good.find('\n', fourth) + 1, 3, "2x1,1.5"), at + "4: 2 values are not numbers, the first at (0, 1); such cells are left empty."},
        {replaced(formatMap(shortLayer), "0\n</data>", "0</data>"), at + "2: the layer ends at (0, 4), short of the map's 13 x 9 cells; the 65 cells from there on are left empty."},
        // A fifth layer and a Music property on the first layer: read by position all the same.
        {replaced(good, "</map>", fifth), error + "the map has 5 tile layers, but the game reads four, by position, and ignores layer 5 (\"Rock wall\"); keep four (from the bottom of the Layers view: Ground, Grass, Objects, Markers), merging or deleting the others, and save again."},
        musicOn(0, " type=\"int\"", moveMusic),
        {replaced(good, "value=\"1\"", "value=\"100\""), badMusic},
        {replaced(good, "value=\"1\"", "value=\"-1\""), badMusic},
        // A flipped tile as the editor writes it, in place of the food at (1, 0); one line for each
        // cause, with its first cell and how many.
        {flipped, at + "1: tile id 70000 at (8, 0) is outside 0 to 4096; the cell is left empty." + at + "2: tile id 2147483687 at (1, 0) is tile 39 flipped or rotated, which the game cannot draw; the cell is left empty." + at + "3: 2 cells hold tile ids outside 0 to 4096, the first at (5, 0) (tile id 4097); such cells are left empty."},
        // Refused: the map element's own width counts, not tilewidth.
        {replaced(good, "width=\"13\" ", ""), error + "no map width."},
        {replaced(good, "width=\"13\"", "width=\"0\""), error + "map size 0 x 9" + outside},
        {replaced(good, "height=\"9\"", "height=\"0\""), error + "map size 13 x 0" + outside},
        {replaced(good, "width=\"13\"", "width=\"257\""), error + "map size 257 x 9" + outside},
        {replaced(good, "height=\"9\"", "height=\"99999999999999999999\""), error + "map size 13 x 1099511627776" + outside},
        {replaced(good, "name=\"Music\" type=\"int\"", "name=\"Music\""), error + "the Music property has the type string, not int; delete it in Map > Map Properties, add it again as an int and save again."},
        {replaced(good, "name=\"Music\"", "name=\"Tune\""), error + "no Music property."},
        // On a later layer, the loader passes over the layers before it: the property's place is the cause.
        musicOn(1, " type=\"int\"", moveMusic),
        musicOn(1, "", ", and has the type string, not int; delete it there, add it to the map's own properties (Map > Map Properties) as an int and save again."),
        {std::string("\x89PNG\r\n") + good, error + "the file is a PNG image, not a Tiled map (.tmx)."},
        {"<?xml version=\"1.0\"?>\n<tileset name=\"Tiles\"/>", error + "the file is not a Tiled map (.tmx): it has no map element."},
        {good.substr(0, good.find(" <layer", good.find("</data>"))), error + "the map has 1 CSV tile layer; four are needed (Ground, Grass, Objects, Markers)."},
        // The editor's own output in another Tile Layer Format, one however long its tag, and an infinite map.
        {fileText(editor + "tiled_base64.tmx"), error + "layer 1 is not in CSV but Base64 (uncompressed)" + notCsv},
        {replaced(good, "<data encoding=\"csv\">", "<data encoding=\"base64\" compression=\"zlib\"" + std::string(200, ' ') + ">"), error + "layer 1 is not in CSV but Base64 (zlib compressed)" + notCsv},
        {fileText(editor + "tiled_infinite.tmx"), error + "the map is infinite (its layers are in chunks); make it fixed-size (Map > Map Properties > Infinite off) and save again."},
    };
    // clang-format on
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
        // 21 and 39 are food, 20 and 40 not; spots in reading order.
        const bool isFlipped = message.find("flipped") != std::string::npos;
        EXPECT_EQ(loaded(), (std::vector<int>{0, message == badMusic ? -1 : 1, 13, 9, kSampleX, kSampleY,
                                              isFlipped ? -1 : 0, 2, 109}))
            << message;
        EXPECT_EQ(gHuntingSpotRow[1] * 100 + gHuntingSpotColumn[1], 200) << message;
        // Each kind of obstacle, a spot and the start taken out (its marker's own property counts),
        // the heavy marker kept: {row, column} and the cell as cellState gives it.
        const std::pair<std::pair<int, int>, std::vector<int>> cells[] = {
            {{4, 4}, {1, 0, kRock, 0, 1, 1}}, {{4, 5}, {kIce, 0, 0, 0, 1, 0}},
            {{4, 6}, {1, 0, kBush, 0, 0, 1}}, {{2, 0}, {1, 0, 0, 0, 0, 0}},
            {{2, 5}, {1, 0, 0, 0, 1, 0}},     {{8, 12}, {1, 0, 0, kHeavyMarker, 1, 0}}};
        for (const auto& [at, cell] : cells) {
            EXPECT_EQ(cellState(at.first, at.second), cell) << message << " at " << at.first << "," << at.second;
        }
    }
    gPlayerX = 111;
    read(good, 0);
    EXPECT_EQ(gPlayerX, 111);              // placeDeer 0 leaves the deer where it was
    gCheckedMapPath = "maps/map00000.tmx"; // the map checker's lines instead: one for all misread rows
    EXPECT_EQ(read(spliced(good.find("<data encoding=\"csv\">\n") + 21, 1, " ")), "");
    EXPECT_EQ(printed([](FILE*) { finishRowBreaks(); }),
              "maps/map00000.tmx: layer 1: the row at (0, 0) does not start on a line of its own, so the game misreads "
              "it; was the map saved with Minimize output?\n");
    gCheckedMapPath = nullptr;
    // The flipped tile's case: ids without a table entry were left empty, 4096 (the last with one) kept.
    read(flipped);
    EXPECT_EQ((std::vector<int>{cellState(0, 5)[2], cellState(0, 6)[2], cellState(0, 8)[0], cellState(0, 1)[1],
                                cellState(0, 7)[2]}),
              (std::vector<int>{0, 0, 0, 0, 4096}));
}

// {table (1 movement, 2 projectiles, 3 overlay), tile, value written, value read}: a value's low byte
// counts, then projectiles wrap at 64 and overlay classes at 112; tile 192 is the grid's last value.
constexpr int kSampleValues[][4] = {{1, 2, 1, 1}, {1, 192, 1, 1}, {1, 6, -1, 255}, {2, 65, 65, 1},
                                    {3, 1, 1, 1}, {3, 2, 2, 2},   {3, 6, 116, 4}};

// A properties file (legend, movement, projectiles, overlay) with sep after commas and eol for line breaks.
std::string sampleProperties(const std::string& sep = "", const std::string& eol = "\n") {
    TestMap blocks = makeOpenMap(kTilePropertyColumns, kTilePropertyRows);
    for (int id = 1; id <= kTilePropertyColumns * kTilePropertyRows; id++) {
        blocks.layer[0][id - 1] = id;
    }
    for (const auto& [table, id, written, read] : kSampleValues) {
        blocks.layer[table][id - 1] = written;
    }
    const std::string plain = formatMap(blocks);
    std::string text;
    for (size_t i = 0; i < plain.size(); i++) { // sep only within a row
        text += plain[i] == ',' && plain[i + 1] != '\n' ? "," + sep : plain[i] == '\n' ? eol : plain.substr(i, 1);
    }
    return text;
}

std::string readProperties(const std::string& text) {
    return printed([](FILE* file) { readTileProperties(file); }, text);
}

// The three blocks are read in any white space the same, the legend skipped. A value that cannot be read
// is reported once per block and read as 0, the rest in place; a missing block reports each row.
TEST(TileProperties, ReadsTheBlocksInAnyWhiteSpaceAndReportsBrokenValuesAndMissingBlocks) {
    const std::string full = sampleProperties();
    const size_t overlay = full.rfind("<data encoding=\"csv\">\n") + 22; // tile 1's class
    const std::string at = "\nError loading properties.tmx at layer ";
    const std::string rows[] = {"", at + "2." + at + "2." + at + "2.", at + "3." + at + "3." + at + "3.",
                                at + "4." + at + "4." + at + "4."};
    const struct {
        std::string text, message;
        int overlays, movement; // classes of tiles 1 and 2 added up; movement of tile 2
    } cases[] = {
        {full, "", 3, 1},
        {sampleProperties("\t ", "\r\n"), "", 3, 1},
        {full.substr(0, overlay) + "x,y" + full.substr(overlay + 3), at + "4: a value is not a number.", 0, 1},
        {full.substr(0, full.find("</data>", full.find("</data>") + 1)), rows[2] + rows[3], 0, 1},
        {"", rows[1] + rows[2] + rows[3], 0, 0},
    };
    const uint8_t* tables[] = {nullptr, gTileTypeMovement, gTileTypeProjectiles, gTileTypeOverlay};
    for (const auto& c : cases) {
        clearWorld();
        gTileTypeMovement[0] = gTileTypeProjectiles[0] = gTileTypeOverlay[0] = gTileTypeMovement[193] = 5;
        gTileTypeOverlay[1] = gTileTypeOverlay[2] = 5;
        const std::string what = "case " + std::to_string(&c - cases) + ": ";
        EXPECT_EQ(readProperties(c.text), c.message) << what;
        EXPECT_EQ(gTileTypeOverlay[1] + gTileTypeOverlay[2], c.overlays) << what;
        EXPECT_EQ(gTileTypeMovement[2], c.movement) << what;
        // The empty cell never blocks and is never drawn; ids past the grid are never written.
        EXPECT_EQ(gTileTypeMovement[0] + gTileTypeProjectiles[0] + gTileTypeOverlay[0], 0) << what;
        EXPECT_EQ(gTileTypeMovement[193], 5) << what;
        for (const auto& [table, id, written, read] : kSampleValues) {
            EXPECT_TRUE(!c.message.empty() || tables[table][id] == read)
                << what << "table " << table << ", tile " << id;
        }
    }
}

// Checks the map as the map checker does, expecting it clean; returns every byte the game takes from it.
std::string checkedWorld(const std::string& propertiesPath, const std::string& mapPath) {
    clearWorld();
    EXPECT_EQ(printed([&](FILE*) { EXPECT_EQ(checkMap(mapPath.c_str(), propertiesPath.c_str()), kMapCheckClean); }),
              mapPath + ": no problems\n");
    gMapPath[0] = '\0';
    const int numbers[] = {gMapRows, gMapColumns, gFoodLeftToEat, gPlayerX, gPlayerY, gHuntingSpots};
    // The ids as read, markers included, and the tables give every grid the game derives from them.
    std::string state(reinterpret_cast<const char*>(gMapLayersRead), sizeof gMapLayersRead);
    for (const uint8_t* table : {gTileTypeMovement, gTileTypeProjectiles, gTileTypeOverlay}) {
        state.append(reinterpret_cast<const char*>(table), kTileIdCount);
    }
    return state + std::string(reinterpret_cast<const char*>(numbers), sizeof numbers);
}

// The shipped files are the editor's own output: a re-save in place is byte for byte the same, and
// a re-save elsewhere (which rewrites the tile sheet's path) loads to exactly the same game.
TEST(ShippedMap, IsCleanHoldsItsGrassSpotsAndStartAndAnEditorResaveLoadsTheSame) {
    const char* files[] = {"properties.tmx", "map00000.tmx", "mus01.mid"};
    enterTempCommon(files, 3);
    const std::string original = checkedWorld("../Common/properties.tmx", "../Common/map00000.tmx");
    // 40 x 30 with 13 tufts (the game is won when all but two are eaten), 6 spots, the start at (15, 5).
    const int got[] = {gMapColumns, gMapRows, gFoodLeftToEat, gHuntingSpots, gPlayerX, gPlayerY};
    EXPECT_EQ(std::vector<int>(got, got + 6), (std::vector<int>{40, 30, 13 - 2, 6, 5 * 640 + 340, 15 * 640 + 310}));
    // Tiles 1 to 64 in order: whether each blocks movement, blocks sight, and its overlay class (0:
    // never drawn); the rest of the sheet is never drawn and blocks nothing.
    const std::string agreed[] = {"0000000011111111111000000000000000000000000000011000000000000000",
                                  "0000000000000000011000000000000000000001111000011000000000000000",
                                  "1111111111111111122011111111111111111113333111122000000333333300"};
    for (int id = 1; id <= kTilePropertyRows * kTilePropertyColumns; id++) {
        const int tile[] = {gTileTypeMovement[id] != 0, gTileTypeProjectiles[id] != 0, gTileTypeOverlay[id]};
        for (int table = 0; table < 3; table++) {
            EXPECT_EQ(tile[table], id <= 64 ? agreed[table][id - 1] - '0' : 0) << "tile " << id << ", table " << table;
        }
    }
    // The game opens the numbered map, or the one named in its place, and starts the map's music.
    startHeadlessSDL();
    EXPECT_EQ(loadMap(1), 0);
    EXPECT_STREQ(gMusicFilePath, "../Common/mus01.mid");
    writeCommonFile("broken.tmx", "<map width=\"13\">");
    snprintf(gMapPath, sizeof gMapPath, "%s", "../Common/broken.tmx");
    EXPECT_EQ(printed([](FILE*) {
                  EXPECT_EQ(loadMap(1), 1);
                  gMapPath[0] = '\0', gMapNumber = 5;
                  EXPECT_EQ(loadMap(1), 1);
              }),
              "\nError loading broken.tmx: no map height.\nError opening file ../Common/map00005.tmx");
    EXPECT_STREQ(gMusicFilePath, "../Common/mus01.mid"); // a refused map starts no music
    ASSERT_EQ(mkfifo("../Common/pipe.tmx", 0600), 0);    // nor does a pipe, which is not waited on
    snprintf(gMapPath, sizeof gMapPath, "%s", "../Common/pipe.tmx");
    EXPECT_EQ(printed([](FILE*) { EXPECT_EQ(loadMap(1), 1); }),
              "\nError opening file ../Common/pipe.tmx: a pipe, not a file");
    gMapPath[0] = '\0';
    if (std::system("command -v tiled > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "the Tiled editor is not installed";
    }
    namespace fs = std::filesystem;
    const fs::path common = fs::absolute("../Common"), elsewhere = fs::absolute("resaved");
    fs::create_directories(elsewhere);
    fs::copy_file(fs::path(VELMOOR_SOURCE_DIR) / "Common" / "Tiles.png", common / "Tiles.png");
    for (const std::string name : {"properties", "map00000"}) {
        const fs::path source = common / (name + ".tmx");
        for (const fs::path& target : {elsewhere / (name + ".tmx"), common / (name + ".again.tmx")}) {
            const std::string command =
                "QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$(mktemp -d) tiled --export-map tmx " + source.string() +
                " " + target.string() + " > /dev/null 2>&1";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
        }
        EXPECT_EQ(fileText(common / (name + ".again.tmx")), fileText(source)) << name;
    }
    EXPECT_TRUE(checkedWorld((elsewhere / "properties.tmx").string(), (elsewhere / "map00000.tmx").string()) ==
                original);
}

} // namespace
