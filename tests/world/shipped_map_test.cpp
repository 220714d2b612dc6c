// Tests of the shipped map: its size, grass, start and music, and that the editor's own re-save
// loads to exactly the same game. The map checker's test holds it to the rules of a good level.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

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

TEST(ShippedMap, LoadsCleanlyWithItsGrassSpotsStartAndMusic) {
    std::string state;
    int music;
    EXPECT_EQ(loadShippedWorld(&state, &music), "");
    EXPECT_EQ(music, 1);
    EXPECT_EQ(gMapColumns * 100 + gMapRows, 4030);
    EXPECT_EQ(gFoodLeftToEat, 13); // tufts; the game is won when all but two are eaten
    EXPECT_EQ(gPlayerX, 5 * 640 + 340);
    EXPECT_EQ(gPlayerY, 15 * 640 + 310);
    EXPECT_EQ(gHuntingSpots, 8);
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
