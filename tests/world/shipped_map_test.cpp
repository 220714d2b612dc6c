// Tests of the shipped map: its contents, that the deer can reach every grass tile, and that the
// editor's own re-save loads to exactly the same game.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "movement/movement.h"
#include "render/mapview.h"
#include "support/test_env.h"
#include "world/world_test_util.h"

namespace {

// Everything the game takes from the two files.
struct LoadedWorld {
    std::vector<uint16_t> map;
    std::vector<uint8_t> movement, projectiles;
    std::vector<int> spotRows, spotColumns;
    int rows, columns, food, playerX, playerY, music;
    std::string messages;
    bool operator==(const LoadedWorld&) const = default;
};

LoadedWorld loadWorld(const std::string& propertiesPath, const std::string& mapPath) {
    memset(gTileTypeMovement, 0, sizeof gTileTypeMovement);
    memset(gTileTypeProjectiles, 0, sizeof gTileTypeProjectiles);
    memset(gTileTypeOverlay, 0, sizeof gTileTypeOverlay);
    memset(gMap, 0, sizeof gMap);
    memset(gMapMovementObstacle, 0, sizeof gMapMovementObstacle);
    memset(gMapProjectileObstacle, 0, sizeof gMapProjectileObstacle);
    gTileWidthToRender = gTileHeightToRender = 64;
    gHuntingSpots = 0;
    gFoodLeftToEat = 0;
    gPlayerX = gPlayerY = -1;
    LoadedWorld world{};
    testing::internal::CaptureStdout();
    FILE* file = fopen(propertiesPath.c_str(), "r");
    EXPECT_NE(file, nullptr) << propertiesPath;
    if (file != nullptr) {
        readTileProperties(file);
        fclose(file);
    }
    file = fopen(mapPath.c_str(), "r");
    EXPECT_NE(file, nullptr) << mapPath;
    if (file != nullptr) {
        EXPECT_EQ(readMap(file, 1, &world.music), 0);
        fclose(file);
    }
    fflush(stdout);
    world.messages = testing::internal::GetCapturedStdout();
    world.map.assign(gMap, gMap + kMapLayers * kGridCells);
    world.movement.assign(gMapMovementObstacle, gMapMovementObstacle + kGridCells);
    world.projectiles.assign(gMapProjectileObstacle, gMapProjectileObstacle + kGridCells);
    world.spotRows.assign(gHuntingSpotRow, gHuntingSpotRow + gHuntingSpots);
    world.spotColumns.assign(gHuntingSpotColumn, gHuntingSpotColumn + gHuntingSpots);
    world.rows = gMapRows;
    world.columns = gMapColumns;
    world.food = gFoodLeftToEat;
    world.playerX = gPlayerX;
    world.playerY = gPlayerY;
    for (int i = 0; i < kTileIdCount; i++) {
        world.movement.push_back(gTileTypeMovement[i]);
        world.projectiles.push_back(gTileTypeProjectiles[i]);
        world.map.push_back(gTileTypeOverlay[i]);
    }
    return world;
}

LoadedWorld loadShippedWorld() {
    const char* files[] = {"properties.tmx", "map00000.tmx"};
    enterTempCommon(files, 2);
    return loadWorld("../Common/properties.tmx", "../Common/map00000.tmx");
}

TEST(ShippedMap, LoadsCleanlyWithItsGrassSpotsStartAndMusic) {
    const LoadedWorld world = loadShippedWorld();
    EXPECT_EQ(world.messages, "");
    EXPECT_EQ(world.columns, 48);
    EXPECT_EQ(world.rows, 36);
    EXPECT_EQ(world.music, 1);
    EXPECT_EQ(world.food, 31);
    EXPECT_EQ(world.spotRows.size(), 11u);
    EXPECT_EQ(world.playerX, 10 * 640 + 340);
    EXPECT_EQ(world.playerY, 23 * 640 + 310);
    for (size_t i = 0; i < world.spotRows.size(); i++) {
        EXPECT_EQ(world.movement[world.spotRows[i] * kGridSide + world.spotColumns[i]], 0) << "spot " << i;
    }
    for (int row = 0; row < world.rows; row++) {
        for (int column = 0; column < world.columns; column++) {
            EXPECT_EQ(world.map[3 * kGridCells + row * kGridSide + column], 0);  // markers all taken out
            for (int layer = 0; layer < kMapLayers; layer++) {
                const uint16_t id = world.map[layer * kGridCells + row * kGridSide + column];
                EXPECT_TRUE(id == 0 || gTileTypeOverlay[id] != 0) << "undrawn tile " << id;
            }
        }
    }
}

// Walks the deer with the game's own moves from its start to every position it can stand on
// (all positions are whole pixels: every step and every limit is a multiple of ten tenths), with
// the facing it keeps while standing (the last horizontal direction), and collects the head cells.
TEST(ShippedMap, TheDeerCanReachAndEatEveryGrassTileFromItsStart) {
    const LoadedWorld world = loadShippedWorld();
    const int width = world.columns * 64 + 1;   // x in pixels, 0 .. 64 * columns
    const int height = world.rows * 64 + 20;    // y in pixels, -10 .. 64 * rows + 9
    auto stateOf = [&](int x, int y, int facing) { return ((y / 10 + 10) * width + x / 10) * 2 + facing / 2; };
    std::vector<uint8_t> seen(size_t(width) * height * 2, 0);
    std::vector<int> queue;
    std::vector<uint8_t> eatable(kGridCells, 0);
    queue.push_back(stateOf(world.playerX, world.playerY, 0));
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
    for (int row = 0; row < world.rows; row++) {
        for (int column = 0; column < world.columns; column++) {
            if (isFoodTile(world.map[kGridCells + row * kGridSide + column])) {
                grass++;
                EXPECT_TRUE(eatable[row * kGridSide + column]) << "grass at row " << row << ", column " << column;
            }
        }
    }
    EXPECT_EQ(grass, world.food);
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The shipped files are the editor's own output: a re-save in place is byte for byte the same, and
// a re-save elsewhere (which rewrites the tile sheet's path) loads to exactly the same game.
TEST(ShippedMap, EditorResaveLoadsToTheSameGame) {
    if (std::system("command -v tiled > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "the Tiled editor is not installed";
    }
    const LoadedWorld original = loadShippedWorld();
    namespace fs = std::filesystem;
    const fs::path common = fs::absolute("../Common");
    const fs::path elsewhere = fs::absolute("resaved");
    fs::create_directories(elsewhere);
    const bool sheetPresent = fs::exists(fs::path(VELMOOR_SOURCE_DIR) / "Common" / "Tiles.png");
    if (sheetPresent) {
        fs::copy_file(fs::path(VELMOOR_SOURCE_DIR) / "Common" / "Tiles.png", common / "Tiles.png");
    }
    for (const char* name : {"properties", "map00000"}) {
        const std::string export_ = "QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$(mktemp -d) tiled --export-map tmx ";
        const std::string source = (common / (std::string(name) + ".tmx")).string();
        ASSERT_EQ(std::system((export_ + source + " " + (elsewhere / (std::string(name) + ".tmx")).string() +
                               " > /dev/null 2>&1").c_str()), 0);
        ASSERT_EQ(std::system((export_ + source + " " + (common / (std::string(name) + ".again.tmx")).string() +
                               " > /dev/null 2>&1").c_str()), 0);
        if (sheetPresent) {
            EXPECT_EQ(fileText(common / (std::string(name) + ".again.tmx")), fileText(source)) << name;
        }
    }
    const LoadedWorld resaved = loadWorld((elsewhere / "properties.tmx").string(), (elsewhere / "map00000.tmx").string());
    EXPECT_EQ(resaved.messages, "");
    EXPECT_TRUE(resaved == original);
}

} // namespace
