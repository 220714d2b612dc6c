// The map checker: one small map per kind of problem, and its reachability against the deer's own moves.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <set>

#include "game/deer.h"
#include "game/mapcheck.h"
#include "movement/movement.h"
#include "support/test_env.h"
#include "support/test_maps.h"
#include "world/map.h"

namespace {

constexpr int kOther = 50; // a sheet tile the test properties never draw

// 15 x 11 cells framed by rocks, the deer start at (3, 5), three tufts, two hunting spots.
TestMap cleanMap() {
    TestMap map = makeOpenMap(15, 11);
    for (int row = 0; row < 11; row++) {
        for (int column = 0; column < 15; column++) {
            if (row == 0 || row == 10 || column == 0 || column == 14) {
                setCell(&map, 2, row, column, kTestRock);
            }
        }
    }
    setCell(&map, 3, 5, 3, kTestStart);
    for (int column = 6; column <= 8; column++) {
        setCell(&map, 1, 3, column, kTestGrass);
    }
    setCell(&map, 3, 2, 11, kTestSpot); // right beside the ice wall one case below builds
    setCell(&map, 3, 8, 11, kTestSpot);
    return map;
}

// Writes the map's text as level.tmx beside the test properties and checks it; returns what was printed.
std::string check(const std::string& text, int* status, const char* properties = "../Common/properties.tmx") {
    const char* files[] = {"mus01.mid"};
    enterTempCommon(files, 1);
    writeCommonFile("properties.tmx", formatTestProperties());
    writeCommonFile("level.tmx", text);
    testing::internal::CaptureStdout();
    *status = checkMap("../Common/level.tmx", properties);
    return testing::internal::GetCapturedStdout();
}

TEST(MapCheck, ReportsEachKindOfProblemOnItsOwnLine) {
    const std::pair<std::function<void(TestMap*)>, std::string> cases[] = {
        {[](TestMap*) {}, ""},
        {[](TestMap* m) { setCell(m, 3, 5, 3, 0); },
         "no deer start: put one deer start marker (tile 20) in the Markers layer."},
        {[](TestMap* m) { setCell(m, 3, 7, 2, kTestStart); },
         "2 deer starts, at (3, 5), (2, 7); keep one (the game uses the last)."},
        {[](TestMap* m) { setCell(m, 2, 5, 3, kTestIce); },
         "the deer start at (3, 5) is on a cell that blocks movement."},
        {[](TestMap* m) { setCell(m, 1, 3, 8, 0); },
         "2 grass tiles in the Grass layer; at least 3 are needed, as the game is won when all but two are eaten."},
        {[](TestMap* m) { setCell(m, 2, 7, 7, 30); },
         "grass at (7, 7) is in layer 3 (Objects), where the deer cannot eat it; grass belongs in layer 2 (Grass)."},
        // Walled in on the right by ice: the head reaches one cell beside the feet, not two.
        {[](TestMap* m) {
             for (int row = 1; row < 10; row++) {
                 setCell(m, 0, row, 10, kTestIce);
             }
             setCell(m, 1, 3, 12, kTestGrass);
         },
         "the deer cannot reach the grass at (12, 3) from its start at (3, 5).\n"
         "level.tmx: the hunter cannot walk from the hunting spot at (11, 2) to the deer start at (3, 5).\n"
         "level.tmx: the hunter cannot walk from the hunting spot at (11, 8) to the deer start at (3, 5)."},
        // A pocket at (13, 7) and (14, 7) that only a way round outside the open edge would reach.
        {[](TestMap* m) {
             for (int row : {2, 3, 7}) {
                 setCell(m, 2, row, 14, 0);
             }
             for (auto [column, row] : {std::pair{12, 6}, {13, 6}, {12, 7}, {13, 8}}) {
                 setCell(m, 2, row, column, kTestIce);
             }
             setCell(m, 1, 7, 13, kTestGrass);
         },
         "the deer cannot reach the grass at (13, 7) from its start at (3, 5).\nlevel.tmx: open edge from (14, 2) to "
         "(14, 3): the deer can walk there and its figure passes the map's right edge; line the edge with trees, "
         "rocks or water."},
        {[](TestMap* m) { setCell(m, 3, 2, 11, 0), setCell(m, 3, 8, 11, 0); },
         "no hunting spot: put hunting spot markers (tile 84) in the Markers layer, or the hunter never comes."},
        {[](TestMap* m) { setCell(m, 2, 2, 11, kTestRock); },
         "the hunting spot at (11, 2) is on a cell that blocks movement."},
        {[](TestMap* m) {
             for (int i = 1; i < 14; i++) {
                 setCell(m, 2, 0, i, 0), setCell(m, 2, i < 10 ? i : 9, 0, 0);
             }
         },
         "open edge from (1, 0) to (13, 0): the deer can walk there and its figure passes the map's top edge; line "
         "the edge with trees, rocks or water.\nlevel.tmx: open edge from (0, 1) to (0, 9): the deer can walk there "
         "and "
         "its figure passes the map's left edge; line the edge with trees, rocks or water."},
        {[](TestMap* m) { setCell(m, 2, 4, 4, kOther), setCell(m, 0, 6, 6, kOther); },
         "tile 50 has no drawing pass in properties.tmx, so it is never drawn: at (6, 6) in layer 1 (Ground) and 1 "
         "more cell."},
        {[](TestMap* m) { setCell(m, 2, 4, 4, 300); },
         "tile id 300 has no tile in the tile sheet (ids 1 to 192): at (4, 4) in layer 3 (Objects)."},
        {[](TestMap* m) { m->music = 42; },
         "Music 42 plays ../Common/mus42.mid, which cannot be read: No such file or directory."},
    };
    for (const auto& [change, problem] : cases) {
        TestMap map = cleanMap();
        change(&map);
        int status = -1;
        EXPECT_EQ(check(formatMap(map), &status), problem.empty() ? "" : "level.tmx: " + problem + "\n");
        EXPECT_EQ(status, problem.empty() ? kMapCheckClean : kMapCheckProblems) << problem;
    }
}

TEST(MapCheck, PrintsTheLoadersMessagesAsItsLinesAndTellsUnreadableFiles) {
    std::string text = formatMap(cleanMap());
    text.replace(text.find("<data encoding=\"csv\">"), 21, "<data encoding=\"base64\" compression=\"zlib\">");
    int status = -1;
    EXPECT_EQ(check(text, &status), "level.tmx: layer 1 is not in CSV but Base64 (zlib compressed); set the map's Tile "
                                    "Layer Format to CSV (Map > Map Properties) and save again.\n");
    EXPECT_EQ(status, kMapCheckProblems);
    EXPECT_EQ(check(text, &status, "../Common/none.tmx"),
              "level.tmx: cannot read the tile properties ../Common/none.tmx: No such file or directory.\n");
    EXPECT_EQ(status, kMapCheckUnreadable);
}

// Grass on every cell of a map of rocks, ice and bushes: the checker calls unreachable exactly the
// tufts whose cell no head reaches when the deer walks from its start by its own moves (every
// whole-pixel position, with the facing it keeps while standing).
TEST(MapCheck, GrassReachIsTheDeersOwnHeadReach) {
    TestMap map = cleanMap();
    // A pocket of rocks at (11, 3), and a corner at (5, 8) that only a diagonal step would pass.
    const char* rows[] = {"......R......", "..B...R..RRR.", "......R..R.R.", "RRR...R..RRR.", ".............",
                          "......RR.....", "~~~~~..R.....", ".....~.R.....", ".....~......."};
    for (int row = 0; row < 9; row++) {
        for (int column = 0; column < 13; column++) {
            const char c = rows[row][column];
            setCell(&map, 1, row + 1, column + 1, kTestGrass);
            setCell(&map, 2, row + 1, column + 1, c == 'R' ? kTestRock : c == 'B' ? kTestBush : 0);
            setCell(&map, 0, row + 1, column + 1, c == '~' ? kTestIce : kTestGround);
        }
    }
    int status = -1;
    const std::string out = check(formatMap(map), &status);
    std::set<std::pair<int, int>> reported; // (x, y) of each tuft called unreachable
    for (size_t at = out.find("grass at ("); at != std::string::npos; at = out.find("grass at (", at + 1)) {
        int x = 0, y = 0;
        sscanf(out.c_str() + at, "grass at (%d, %d)", &x, &y);
        reported.insert({x, y});
    }
    std::set<std::array<int, 3>> seen; // positions in tenths, with the facing kept while standing
    std::vector<std::array<int, 3>> queue{{gPlayerX, gPlayerY, 0}};
    std::set<std::pair<int, int>> eatable;
    int (*const moves[4])(int) = {moveRight, moveLeft, moveDown, moveUp};
    for (size_t next = 0; next < queue.size(); next++) {
        const auto [x, y, facing] = queue[next];
        gPlayerX = x, gPlayerY = y, gPlayerOrientation = facing;
        int headRow = 0, headColumn = 0;
        findHeadCell(&headRow, &headColumn);
        eatable.insert({headColumn, headRow});
        for (int move = 0; move < 4; move++) {
            gPlayerX = x, gPlayerY = y;
            const int newFacing = move == 0 ? 0 : move == 1 ? 2 : facing;
            if (moves[move](kDeerWalkSpeed) && seen.insert({gPlayerX, gPlayerY, newFacing}).second) {
                queue.push_back({gPlayerX, gPlayerY, newFacing});
            }
        }
    }
    int unreachable = 0;
    for (int y = 1; y <= 9; y++) {
        for (int x = 1; x <= 13; x++) {
            unreachable += !eatable.count({x, y});
            EXPECT_EQ(reported.count({x, y}), 1 - eatable.count({x, y})) << "grass at " << x << ", " << y;
        }
    }
    EXPECT_GT(unreachable, 3);
}

} // namespace
