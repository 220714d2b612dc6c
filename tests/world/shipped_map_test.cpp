// Tests of the shipped map: its contents, that the deer can reach every grass tile, and that the
// editor's own re-save loads to exactly the same game.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "movement/movement.h"
#include "render/mapview.h"
#include "support/test_env.h"
#include "world/world_test_util.h"

namespace {

// Reads both files from scratch and returns what they printed; *state gets every byte the game
// takes from them and *music the map's music number. A file that cannot be opened fails the test.
std::string loadWorld(const std::string& propertiesPath, const std::string& mapPath, std::string* state, int* music) {
    clearWorld();
    gTileWidthToRender = gTileHeightToRender = 64;
    gHuntingSpots = gFoodLeftToEat = 0;
    gPlayerX = gPlayerY = -1;
    *music = -2;
    FILE* properties = fopen(propertiesPath.c_str(), "r");
    FILE* map = fopen(mapPath.c_str(), "r");
    if (properties == nullptr || map == nullptr) {
        return "not opened: " + propertiesPath + ", " + mapPath; // fails the caller's check of the messages
    }
    const std::string messages = printed([&] {
        readTileProperties(properties);
        EXPECT_EQ(readMap(map, 1, music), 0);
    });
    fclose(properties);
    fclose(map);
    const int numbers[] = {gMapRows, gMapColumns, gFoodLeftToEat, gPlayerX, gPlayerY, *music, gHuntingSpots};
    const std::pair<const void*, size_t> parts[] = {{gMap, sizeof gMap},
                                                    {gMapMovementObstacle, sizeof gMapMovementObstacle},
                                                    {gMapProjectileObstacle, sizeof gMapProjectileObstacle},
                                                    {gTileTypeMovement, sizeof gTileTypeMovement},
                                                    {gTileTypeProjectiles, sizeof gTileTypeProjectiles},
                                                    {gTileTypeOverlay, sizeof gTileTypeOverlay},
                                                    {gHuntingSpotRow, gHuntingSpots * sizeof(int)},
                                                    {gHuntingSpotColumn, gHuntingSpots * sizeof(int)},
                                                    {numbers, sizeof numbers}};
    state->clear();
    for (const auto& [bytes, size] : parts) {
        state->append(static_cast<const char*>(bytes), size);
    }
    return messages;
}

std::string loadShippedWorld(std::string* state, int* music) {
    const char* files[] = {"properties.tmx", "map00000.tmx"};
    enterTempCommon(files, 2);
    return loadWorld("../Common/properties.tmx", "../Common/map00000.tmx", state, music);
}

uint16_t cell(int layer, int row, int column) { return gMap[layer * kGridCells + row * kGridSide + column]; }

TEST(ShippedMap, LoadsCleanlyWithItsGrassSpotsStartAndMusic) {
    std::string state;
    int music;
    EXPECT_EQ(loadShippedWorld(&state, &music), "");
    EXPECT_EQ(music, 1);
    EXPECT_EQ(gMapColumns, 48);
    EXPECT_EQ(gMapRows, 36);
    EXPECT_EQ(gFoodLeftToEat, 31);
    EXPECT_EQ(gPlayerX, 10 * 640 + 340);
    EXPECT_EQ(gPlayerY, 23 * 640 + 310);
    ASSERT_EQ(gHuntingSpots, 11);
    for (int i = 0; i < gHuntingSpots; i++) {
        EXPECT_EQ(gMapMovementObstacle[gHuntingSpotRow[i] * kGridSide + gHuntingSpotColumn[i]], 0) << "spot " << i;
    }
    for (int row = 0; row < gMapRows; row++) {
        for (int column = 0; column < gMapColumns; column++) {
            EXPECT_EQ(cell(3, row, column), 0) << "marker left at " << row << "," << column;
            for (int layer = 0; layer < kMapLayers; layer++) {
                const uint16_t id = cell(layer, row, column);
                EXPECT_TRUE(id == 0 || gTileTypeOverlay[id] != 0) << "undrawn tile " << id;
            }
        }
    }
}

// Walks the deer with the game's own moves from its start to every position it can stand on
// (all positions are whole pixels: every step and every limit is a multiple of ten tenths), with
// the facing it keeps while standing (the last horizontal direction), and collects the head cells.
TEST(ShippedMap, TheDeerCanReachAndEatEveryGrassTileFromItsStart) {
    std::string state;
    int music;
    ASSERT_EQ(loadShippedWorld(&state, &music), "");
    const int width = gMapColumns * 64 + 1; // x in pixels, 0 .. 64 * columns
    const int height = gMapRows * 64 + 20;  // y in pixels, -10 .. 64 * rows + 9
    auto stateOf = [&](int x, int y, int facing) { return ((y / 10 + 10) * width + x / 10) * 2 + facing / 2; };
    std::vector<uint8_t> seen(size_t(width) * height * 2, 0);
    std::vector<int> queue;
    std::vector<uint8_t> eatable(kGridCells, 0);
    queue.push_back(stateOf(gPlayerX, gPlayerY, 0));
    seen[queue[0]] = 1;
    int (*const moves[4])(int) = {moveRight, moveLeft, moveDown, moveUp};
    for (size_t next = 0; next < queue.size(); next++) {
        const int state = queue[next];
        const int facing = (state % 2) * 2;
        const int x = (state / 2 % width) * 10;
        const int y = (state / 2 / width - 10) * 10;
        const int headColumn = (x + 160 - 160 * facing) / 64 / 10;
        const int headRow = (y + 300) / 64 / 10;
        if (headRow < kGridSide) {
            eatable[headRow * kGridSide + headColumn] = 1;
        }
        for (int move = 0; move < 4; move++) {
            gPlayerX = x;
            gPlayerY = y;
            if (!moves[move](kDeerWalkSpeed)) {
                continue;
            }
            ASSERT_EQ(gPlayerX % 10 + gPlayerY % 10, 0);
            const int newFacing = move == 0 ? 0 : move == 1 ? 2 : facing;
            const int newState = stateOf(gPlayerX, gPlayerY, newFacing);
            if (!seen[newState]) {
                seen[newState] = 1;
                queue.push_back(newState);
            }
        }
    }
    int grass = 0;
    for (int row = 0; row < gMapRows; row++) {
        for (int column = 0; column < gMapColumns; column++) {
            if (isFoodTile(cell(1, row, column))) {
                grass++;
                EXPECT_TRUE(eatable[row * kGridSide + column]) << "grass at row " << row << ", column " << column;
            }
        }
    }
    EXPECT_EQ(grass, gFoodLeftToEat);
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The shipped files are the editor's own output: a re-save in place is byte for byte the same, and
// a re-save elsewhere (which rewrites the tile sheet's path) loads to exactly the same game.
TEST(ShippedMap, EditorResaveLoadsToTheSameGame) {
    if (std::system("command -v tiled > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "the Tiled editor is not installed";
    }
    std::string original, resaved;
    int music;
    ASSERT_EQ(loadShippedWorld(&original, &music), "");
    namespace fs = std::filesystem;
    const fs::path common = fs::absolute("../Common");
    const fs::path elsewhere = fs::absolute("resaved");
    fs::create_directories(elsewhere);
    const bool sheetPresent = fs::exists(fs::path(VELMOOR_SOURCE_DIR) / "Common" / "Tiles.png");
    if (sheetPresent) {
        fs::copy_file(fs::path(VELMOOR_SOURCE_DIR) / "Common" / "Tiles.png", common / "Tiles.png");
    }
    for (const std::string name : {"properties", "map00000"}) {
        const fs::path source = common / (name + ".tmx");
        for (const fs::path& target : {elsewhere / (name + ".tmx"), common / (name + ".again.tmx")}) {
            ASSERT_EQ(std::system(("QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$(mktemp -d) tiled --export-map tmx " +
                                   source.string() + " " + target.string() + " > /dev/null 2>&1")
                                      .c_str()),
                      0);
        }
        if (sheetPresent) {
            EXPECT_EQ(fileText(common / (name + ".again.tmx")), fileText(source)) << name;
        }
    }
    const std::string messages =
        loadWorld((elsewhere / "properties.tmx").string(), (elsewhere / "map00000.tmx").string(), &resaved, &music);
    EXPECT_EQ(messages, "");
    EXPECT_TRUE(resaved == original);
}

} // namespace
