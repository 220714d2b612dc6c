// Tests of the shipped map and tile properties: the checker finds them clean, each tile has the
// properties agreed for it, the map holds its grass, spots and start, and the editor's own re-save
// loads to exactly the same game.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "game/mapcheck.h"
#include "support/test_env.h"
#include "world/world_test_util.h"

namespace {

// Checks the map with the properties as the map checker does, expecting it clean, and returns every
// byte the game takes from the two files.
std::string checkedWorld(const std::string& propertiesPath, const std::string& mapPath) {
    clearWorld();
    EXPECT_EQ(printed([&] { EXPECT_EQ(checkMap(mapPath.c_str(), propertiesPath.c_str()), kMapCheckClean); }), "");
    gMapPath[0] = '\0';
    const int numbers[] = {gMapRows, gMapColumns, gFoodLeftToEat, gPlayerX, gPlayerY, gHuntingSpots};
    const std::pair<const void*, size_t> parts[] = {{gMap, sizeof gMap},
                                                    {gMapMovementObstacle, sizeof gMapMovementObstacle},
                                                    {gMapProjectileObstacle, sizeof gMapProjectileObstacle},
                                                    {gTileTypeMovement, sizeof gTileTypeMovement},
                                                    {gTileTypeProjectiles, sizeof gTileTypeProjectiles},
                                                    {gTileTypeOverlay, sizeof gTileTypeOverlay},
                                                    {gHuntingSpotRow, gHuntingSpots * sizeof(int)},
                                                    {gHuntingSpotColumn, gHuntingSpots * sizeof(int)},
                                                    {numbers, sizeof numbers}};
    std::string state;
    for (const auto& [bytes, size] : parts) {
        state.append(static_cast<const char*>(bytes), size);
    }
    return state;
}

// The shipped files are the editor's own output: a re-save in place is byte for byte the same, and
// a re-save elsewhere (which rewrites the tile sheet's path) loads to exactly the same game.
TEST(ShippedMap, IsCleanHoldsItsGrassSpotsAndStartAndAnEditorResaveLoadsTheSame) {
    const char* files[] = {"properties.tmx", "map00000.tmx", "mus01.mid"};
    enterTempCommon(files, 3);
    const std::string original = checkedWorld("../Common/properties.tmx", "../Common/map00000.tmx");
    EXPECT_EQ(gMapColumns * 100 + gMapRows, 4030);
    EXPECT_EQ(gFoodLeftToEat, 13 - 2); // tufts; the game is won when all but two are eaten
    EXPECT_EQ(gPlayerX * 100000 + gPlayerY, (5 * 640 + 340) * 100000 + 15 * 640 + 310);
    EXPECT_EQ(gHuntingSpots, 8);
    // {first id, last id, blocks movement, blocks sight, overlay class}; the tiles between are never drawn.
    // clang-format off
    const int ranges[][5] = {{1, 8, 0, 0, 1}, {9, 17, 1, 0, 1}, {18, 19, 1, 1, 2}, {21, 39, 0, 0, 1}, {40, 43, 0, 1, 3},
                             {44, 47, 0, 0, 1}, {48, 49, 1, 1, 2}, {56, 62, 0, 0, 3}};
    // clang-format on
    for (int id = 1; id <= kTilePropertyRows * kTilePropertyColumns; id++) {
        int expected[3] = {0, 0, 0};
        for (const auto& [first, last, movement, sight, overlay] : ranges) {
            if (id >= first && id <= last) {
                expected[0] = movement, expected[1] = sight, expected[2] = overlay;
            }
        }
        const int got[3] = {gTileTypeMovement[id] != 0, gTileTypeProjectiles[id] != 0, gTileTypeOverlay[id]};
        EXPECT_TRUE(std::equal(got, got + 3, expected)) << "tile " << id << ": " << got[0] << got[1] << got[2];
    }
    // The game's own load reads the same file, and reports it once it is gone, changing nothing.
    memset(gTileTypeOverlay, 9, sizeof gTileTypeOverlay);
    EXPECT_EQ(printed([] { EXPECT_EQ(loadTileProperties(), 0); }), "");
    EXPECT_EQ(gTileTypeOverlay[18] * 1000 + gTileTypeOverlay[193], 2009);
    rename("../Common/properties.tmx", "../Common/away.tmx");
    EXPECT_EQ(printed([] { EXPECT_EQ(loadTileProperties(), 1); }), "\nError opening file properties.tmx");
    rename("../Common/away.tmx", "../Common/properties.tmx");
    EXPECT_EQ(gTileTypeOverlay[18], 2);
    if (std::system("command -v tiled > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "the Tiled editor is not installed";
    }
    namespace fs = std::filesystem;
    const fs::path common = fs::absolute("../Common");
    const fs::path elsewhere = fs::absolute("resaved");
    fs::create_directories(elsewhere);
    fs::copy_file(fs::path(VELMOOR_SOURCE_DIR) / "Common" / "Tiles.png", common / "Tiles.png");
    for (const std::string name : {"properties", "map00000"}) {
        const fs::path source = common / (name + ".tmx");
        for (const fs::path& target : {elsewhere / (name + ".tmx"), common / (name + ".again.tmx")}) {
            ASSERT_EQ(std::system(("QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$(mktemp -d) tiled --export-map tmx " +
                                   source.string() + " " + target.string() + " > /dev/null 2>&1")
                                      .c_str()),
                      0);
        }
        EXPECT_EQ(fileText(common / (name + ".again.tmx")), fileText(source)) << name;
    }
    EXPECT_TRUE(checkedWorld((elsewhere / "properties.tmx").string(), (elsewhere / "map00000.tmx").string()) ==
                original);
}

} // namespace
