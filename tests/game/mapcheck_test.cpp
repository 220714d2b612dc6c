// The map checker: one small map per kind of problem, its reachability against the deer's own
// moves, its command line, exit statuses and JSON, and where it finds the tile properties and music.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "game/deer.h"
#include "game/mapcheck.h"
#include "movement/movement.h"
#include "support/test_env.h"
#include "support/test_maps.h"
#include "world/map.h"

namespace {

namespace fs = std::filesystem;

constexpr int kOther = 50; // a sheet tile the test properties never draw
const std::string kLevel = "../Common/level.tmx";

// A map drawn as rows of characters: '.' snow, R rock, B bush, ~ ice, G grass, S the deer start, H a
// hunting spot.
TestMap drawnMap(const std::vector<std::string>& rows) {
    const std::map<char, std::pair<int, int>> tiles = {{'R', {2, kTestRock}},  {'B', {2, kTestBush}},
                                                       {'~', {0, kTestIce}},   {'G', {1, kTestGrass}},
                                                       {'S', {3, kTestStart}}, {'H', {3, kTestSpot}}};
    TestMap map = makeOpenMap(int(rows[0].size()), int(rows.size()));
    for (int row = 0; row < map.rows; row++) {
        for (int column = 0; column < map.columns; column++) {
            if (const auto tile = tiles.find(rows[row][column]); tile != tiles.end()) {
                setCell(&map, tile->second.first, row, column, tile->second.second);
            }
        }
    }
    return map;
}

// 15 x 11 cells framed by rocks, the deer start at (3, 5), three tufts, two hunting spots.
TestMap cleanMap() {
    return drawnMap({"RRRRRRRRRRRRRRR", "R.............R", "R..........H..R", "R.....GGG.....R", "R.............R",
                     "R..S..........R", "R.............R", "R.............R", "R..........H..R", "R.............R",
                     "RRRRRRRRRRRRRRR"});
}

// The clean map's text with these cells changed: {layer, row, column, tile id}.
std::string cleanWith(const std::vector<std::array<int, 4>>& cells, int music = 1) {
    TestMap map = cleanMap();
    for (const auto& [layer, row, column, id] : cells) {
        setCell(&map, layer, row, column, id);
    }
    map.music = music;
    return formatMap(map);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

// Runs the checker's command line; returns what it printed and its exit status in *status.
std::string run(std::vector<const char*> arguments, int* status) {
    testing::internal::CaptureStdout();
    *status = runMapCheckCommand(int(arguments.size()), const_cast<char**>(arguments.data()));
    return testing::internal::GetCapturedStdout();
}

// Writes the map's text as level.tmx beside the test properties and music 1, and checks it.
std::string check(const std::string& text, int* status) {
    const char* files[] = {"mus01.mid"};
    enterTempCommon(files, 1);
    writeCommonFile("properties.tmx", formatTestProperties());
    writeCommonFile("level.tmx", text);
    return run({kLevel.c_str()}, status);
}

// The checker's lines for these problems of level.tmx, then its summary.
std::string lines(const std::vector<std::string>& problems) {
    std::string text;
    for (const std::string& problem : problems) {
        text += kLevel + ": " + problem + "\n";
    }
    return text + kLevel + ": " + std::to_string(problems.size()) +
           (problems.size() == 1 ? " problem\n" : " problems\n");
}

// Each cause on one line with its first cell and how many; what Tiled shows otherwise than the game
// reads it; and no cell named outside a map smaller than the screen (the open right and bottom
// edges there are the game's, not the author's). Each map is one the game plays: status 1.
TEST(MapCheck, ReportsEachCauseOnOneLineWithItsFirstCellAndHowMany) {
    const std::string edge =
        ": the deer can walk there and its figure passes the edge; line it with trees, rocks or water.";
    std::vector<std::array<int, 4>> iceWall = {{1, 3, 12, kTestGrass}};
    for (int row = 1; row < 10; row++) {
        iceWall.push_back({0, row, 10, kTestIce}); // the head reaches one cell beside the feet, not two
    }
    const std::string map = formatMap(cleanMap());
    std::string minimized = map; // each row after the first runs on from the one before, as Minimize output saves
    for (size_t at = minimized.find(",\n"); at != std::string::npos; at = minimized.find(",\n", at)) {
        minimized.erase(at + 1, 1);
    }
    const std::string object = "<objectgroup id=\"8\" name=\"Things\"><object id=\"1\" gid=\"20\" x=\"160\" y=\"96\" "
                               "width=\"32\" height=\"32\"/></objectgroup>\n</map>";
    const std::string small =
        formatMap(drawnMap({"..........", ".....GGG..", "...S......", "..........", "........H.", ".........."}));
    // clang-format off
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {cleanWith({{3, 5, 3, 0}}), {"no deer start: put one deer start marker (tile 20) in the Markers layer."}},
        {cleanWith({{3, 7, 2, kTestStart}, {3, 9, 1, kTestStart}}), {"3 deer starts, the first at (3, 5); keep one (the game uses the last, at (1, 9))."}},
        {cleanWith({{2, 5, 3, kTestIce}}), {"the deer start at (3, 5) is on a cell that blocks movement."}},
        {cleanWith({{1, 3, 8, 0}}), {"2 grass tiles in the Grass layer; at least 3 are needed, as the game is won when all but two are eaten."}},
        {cleanWith({{2, 7, 7, 30}, {2, 7, 8, 30}}), {"2 grass tiles are in layer 3 (Objects), the first at (7, 7), where the deer cannot eat them; grass belongs in layer 2 (Grass)."}},
        {cleanWith(iceWall), {"the deer cannot reach the grass at (12, 3) from its start at (3, 5).", "the hunter cannot walk from 2 hunting spots to the deer start at (3, 5), the first at (11, 2)."}},
        // A pocket at (13, 7) and (14, 7) that only a way round outside the open edge would reach.
        {cleanWith({{2, 2, 14, 0}, {2, 3, 14, 0}, {2, 7, 14, 0}, {2, 6, 12, kTestIce}, {2, 6, 13, kTestIce}, {2, 7, 12, kTestIce}, {2, 8, 13, kTestIce}, {1, 7, 13, kTestGrass}}), {"the deer cannot reach the grass at (13, 7) from its start at (3, 5).", "the map's right edge is open at 2 cells, the first at (14, 2)" + edge}},
        {cleanWith({{2, 4, 4, kTestSpot}}), {"a marker (tile 84) is in layer 3 (Objects) at (4, 4), where the game does not take it as a marker; markers belong in layer 4 (Markers)."}},
        {cleanWith({{2, 2, 11, kTestRock}}), {"the hunting spot at (11, 2) is on a cell that blocks movement."}},
        {cleanWith({{2, 10, 5, 0}}), {"the map's bottom edge is open at (5, 10)" + edge}},
        {cleanWith({{2, 4, 4, kOther}, {0, 6, 6, kOther}}), {"tile 50 has no drawing pass in ../Common/properties.tmx, so it is never drawn: at 2 cells, the first at (6, 6) in layer 1 (Ground)."}},
        {cleanWith({{2, 4, 4, 300}}), {"tile id 300 at (4, 4) in layer 3 (Objects) has no tile in the tile sheet (ids 1 to 192), so it is never drawn."}},
        {cleanWith({}, 42), {"Music 42 plays mus42.mid, which is not beside the tile properties, in ../Common/."}},
        // Layers named in another order are read by position; messages name them as the author does.
        {replaced(replaced(cleanWith({{0, 4, 4, kTestGrass}}), "Layer 0", "Grass"), "Layer 1", "Ground"), {"the layers are out of order: the game reads them by position, so it takes \"Grass\" as Ground and \"Ground\" as Grass; from the bottom of the Layers view, order them Ground, Grass, Objects, Markers and save again.", "grass at (4, 4) is in layer 1 (\"Grass\", read as Ground), where the deer cannot eat it; grass belongs in layer 2 (\"Ground\", read as Grass)."}},
        {replaced(map, "name=\"Layer 3\"", "name=\"Layer 3\" offsetx=\"32\" offsety=\"-32\""), {"layer 4 (Markers) is drawn by Tiled shifted by (32, -32) pixels (its Offset), which the game ignores, so its tiles are not where Tiled shows them; set the layer's Offset to 0, 0."}},
        {replaced(map, "</map>", object), {"a tile object in object layer \"Things\" shows a deer start marker (tile 20) at (5, 2), which the game ignores; paint tiles and markers into the tile layers instead."}},
        // What follows misread rows would mislead: the checker says only that they are.
        {minimized, {"40 rows in layers 1 to 4 do not start on a line of their own, the first at (0, 1) in layer 1, so the game misreads them; was the map saved with Minimize output? Save it again without it."}},
        {small, {"the map is 10 x 6 cells, smaller than the screen (13 x 9): the game adds empty cells to its right and below it, drawn black, where the deer can walk; make it at least 13 x 9.", "the map's top edge is open at 10 cells, the first at (0, 0)" + edge, "the map's left edge is open at 6 cells, the first at (0, 0)" + edge}},
    };
    // clang-format on
    for (const auto& [text, problems] : cases) {
        int status = -1;
        EXPECT_EQ(check(text, &status), lines(problems));
        EXPECT_EQ(status, kMapCheckProblems) << problems[0];
    }
}

// The cells of the first problem of a kind in the checker's JSON, as (x, y).
std::set<std::pair<int, int>> jsonCells(const std::string& json, const std::string& kind) {
    std::set<std::pair<int, int>> cells;
    const size_t problem = json.find("\"kind\": \"" + kind + "\"");
    if (problem == std::string::npos) {
        return cells;
    }
    const size_t end = json.find("]]", problem);
    for (size_t at = json.find("\"cells\": [", problem) + 10; at < end; at = json.find('[', at + 1)) {
        int x = 0, y = 0;
        sscanf(json.c_str() + at, "[%d, %d]", &x, &y);
        cells.insert({x, y});
    }
    return cells;
}

// Grass on every cell of a map of rocks, ice and bushes: the checker calls unreachable exactly the
// tufts whose cell no head reaches when the deer walks from its start by its own moves (every
// whole-pixel position, with the facing it keeps while standing). Its JSON lists them all.
TEST(MapCheck, GrassReachIsTheDeersOwnHeadReach) {
    // A pocket of rocks at (11, 3), a corner at (5, 8) that only a diagonal step would pass, and a
    // dead end at (13, 2) to (13, 4) that only steps straight down from its top reach.
    TestMap map = drawnMap({"RRRRRRRRRRRRRRR", "R......R......R", "R..B...R..RRR.R", "R......R..R.R.R",
                            "RRRR...R..RRR.R", "R..S.........RR", "R......RR.....R", "R~~~~~..R.....R",
                            "R.....~.R.....R", "R.....~.......R", "RRRRRRRRRRRRRRR"});
    for (int row = 1; row < 10; row++) {
        for (int column = 1; column < 14; column++) {
            setCell(&map, 1, row, column, kTestGrass);
        }
    }
    int status = -1;
    check(formatMap(map), &status);
    const std::set<std::pair<int, int>> reported =
        jsonCells(run({kLevel.c_str(), "--json"}, &status), "unreachable-grass");
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

// Several maps in one call: each gets its lines and summary, the exit status is the worst; the
// older second argument still names the tile properties when it is such a file, else a map.
// --difficulty adds each profile's first summary line after a map's problems, none for a refused map.
TEST(MapCheckCommand, ChecksSeveralMapsAndExitsWithTheWorstResult) {
    int status = -1;
    check(formatMap(cleanMap()), &status);
    writeCommonFile("nospots.tmx", cleanWith({{3, 2, 11, 0}, {3, 8, 11, 0}}));
    std::ofstream("-nospots.tmx") << cleanWith({{3, 2, 11, 0}, {3, 8, 11, 0}}); // after "--", a map all the same
    writeCommonFile("broken.tmx", "<map width=\"13\">");
    const char* props = "../Common/properties.tmx";
    const std::string clean = kLevel + ": no problems\n";
    // clang-format off
    const auto spots = [](const std::string& map) { return map + ": no hunting spot: put hunting spot markers (tile 84) in the Markers layer, or the hunter never comes.\n" + map + ": 1 problem\n"; };
    const std::string problems = spots("../Common/nospots.tmx");
    const std::string broken = "../Common/broken.tmx: no map height.\n../Common/broken.tmx: 1 problem; the game refuses this map\n";
    const struct { std::vector<const char*> arguments; std::string printed; int status; } cases[] = {
        {{kLevel.c_str(), props}, clean, kMapCheckClean},
        {{kLevel.c_str(), "../Common/nospots.tmx"}, clean + problems, kMapCheckProblems},
        {{kLevel.c_str(), "--properties", props, "../Common/nospots.tmx"}, clean + problems, kMapCheckProblems},
        {{"../Common/broken.tmx", "--", kLevel.c_str(), "-nospots.tmx"}, broken + clean + spots("-nospots.tmx"), kMapCheckUnusable},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.arguments, &status), c.printed);
        EXPECT_EQ(status, c.status) << c.printed;
    }
    const std::string printed = run({kLevel.c_str(), "--difficulty", "3", "../Common/broken.tmx"}, &status);
    const std::string won = " of 3 games won \\(\\d+ %, 95 % interval \\d+-\\d+ %\\)\n";
    EXPECT_TRUE(std::regex_match(
        printed, std::regex(clean + "level.tmx: new: \\d+" + won + "level.tmx: practised: \\d+" + won + broken)))
        << printed;
    EXPECT_EQ(status, kMapCheckUnusable);
}

// A file the checker cannot read or use, a pipe and a device included, gets one line and status 2
// at once; so does a command line it cannot use.
TEST(MapCheckCommand, RefusesFilesItCannotUseAndBadArgumentsInOneLine) {
    int status = -1;
    check(formatMap(cleanMap()), &status);
    ASSERT_EQ(mkfifo("../Common/pipe.tmx", 0600), 0);
    writeCommonFile("base64.tmx", "<map width=\"64\" height=\"3\"><layer><data encoding=\"csv\">\n</data></layer>"
                                  "<layer><data encoding=\"base64\">AAAA</data></layer></map>");
    writeCommonFile("sheet.png", "\x89PNG\r\n\x1a\n" + std::string(64, '\0'));
    const char* level = kLevel.c_str();
    const std::string usage =
        " Usage: velmoor --check-map MAP.tmx... [--properties FILE] [--json] [--difficulty [GAMES]]\n";
    const std::string wanted = ", not the tile properties (a 64 x 3 Tiled map, such as the game's properties.tmx).\n";
    // clang-format off
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"../Common/pipe.tmx"}, "../Common/pipe.tmx: cannot read the map: a pipe, not a file.\n"},
        {{"/dev/zero"}, "/dev/zero: cannot read the map: a device, not a file.\n"},
        {{level, "--properties", "../Common/pipe.tmx"}, kLevel + ": cannot read the tile properties ../Common/pipe.tmx: a pipe, not a file; give them with --properties FILE.\n"},
        {{level, "--properties", "/dev/zero"}, kLevel + ": cannot read the tile properties /dev/zero: a device, not a file; give them with --properties FILE.\n"},
        {{level, "--properties", level}, kLevel + ": " + kLevel + " is a 15 x 11 map" + wanted},
        {{level, "--properties", "../Common/mus01.mid"}, kLevel + ": ../Common/mus01.mid is not a Tiled map (.tmx), so not" + wanted.substr(5)},
        {{level, "--properties", "../Common/base64.tmx"}, kLevel + ": ../Common/base64.tmx has 1 tile layer in CSV; the tile properties need four (Legend, Movement, Projectiles, Overlay), saved in CSV.\n"},
        {{level, "--properties", "../Common/sheet.png"}, kLevel + ": ../Common/sheet.png is a PNG image" + wanted},
        {{"--json"}, "velmoor: --check-map needs a map to check." + usage}, // an option is not a map
        {{level, "--bogus"}, "velmoor: --check-map does not know the option --bogus." + usage},
        {{level, "--properties"}, "velmoor: --properties takes one file, once." + usage},
        {{level, "--properties", "a", "--properties", "b"}, "velmoor: --properties takes one file, once." + usage},
        {{level, "--difficulty", "0"}, "velmoor: --difficulty takes a number of games from 1 to 100000." + usage},
        {{level, "--json", "--difficulty"}, "velmoor: --difficulty prints lines of text, not JSON: leave out one of them." + usage},
    };
    // clang-format on
    for (const auto& [arguments, printed] : cases) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(run(arguments, &status), printed);
        EXPECT_EQ(status, kMapCheckUnusable) << printed;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << printed;
    }
}

// --json prints the same problems, with every cell, as one JSON array; paths are escaped. A rock
// hides grass as a bush does.
TEST(MapCheckCommand, PrintsTheProblemsAsJson) {
    int status = -1;
    check(cleanWith({{2, 3, 6, kTestBush}, {2, 3, 8, kTestRock}}), &status);
    EXPECT_EQ(run({"--json", kLevel.c_str(), "../Common/no\"\xff.tmx"}, &status),
              "[\n  {\"map\": \"../Common/level.tmx\", \"problems\": [\n    {\"kind\": \"hidden-grass\", \"layer\": 2, "
              "\"message\": \"2 grass tiles are hidden under tiles drawn over them (bushes, tree tops, rocks), the "
              "first at (6, 3) under tile 40 in layer 3 (Objects), so the player cannot see them; move the grass or "
              "the tiles.\", \"cells\": [[6, 3], [8, 3]]}\n  ], \"status\": 1},\n  {\"map\": \"../Common/no\\\"\\ufffd"
              ".tmx\", \"problems\": [\n    {\"kind\": \"unreadable\", \"layer\": null, \"message\": \"cannot read the "
              "map: No such file or directory.\", \"cells\": []}\n  ], \"status\": 2}\n]\n");
    EXPECT_EQ(status, kMapCheckUnusable);
}

// The tile properties default to the game's own, from where the checker runs or, when there are
// none there, from the data folder beside the executable; the music is looked for beside the
// properties, then in that data folder, never in the working folder.
TEST(MapCheckCommand, FindsPropertiesAndMusicFromTheGamesPlacesNotTheWorkingFolder) {
    char* base = SDL_GetBasePath();
    const fs::path data = fs::path(base != nullptr ? base : "") / ".." / "Common";
    SDL_free(base);
    if (!fs::exists(data / "properties.tmx")) {
        GTEST_SKIP() << "no Common folder beside the build folder";
    }
    int status = -1;
    check(formatMap(cleanMap()), &status);
    const fs::path root = fs::absolute("..");
    fs::create_directories(root / "own" / "run");
    fs::copy_file(root / "Common" / "properties.tmx", root / "own" / "properties.tmx");
    writeCommonFile("level42.tmx", cleanWith({}, 42));
    std::ofstream(root / "own" / "run" / "mus42.mid") << "MThd";
    ASSERT_EQ(chdir((root / "own" / "run").c_str()), 0); // no ../Common here
    const std::string level = (root / "Common" / "level.tmx").string();
    const std::string level42 = (root / "Common" / "level42.tmx").string();
    const std::string own = (root / "own" / "properties.tmx").string(), ownFolder = (root / "own").string();
    // Music 1 is beside the properties given, or in the data folder; music 42 only in the working folder.
    EXPECT_EQ(run({level.c_str(), "--properties", own.c_str()}, &status), level + ": no problems\n");
    EXPECT_EQ(run({level42.c_str(), "--properties", own.c_str()}, &status),
              level42 + ": Music 42 plays mus42.mid, which is neither beside the tile properties (" + ownFolder +
                  "/) nor in the game's data folder (" + data.string() + "/).\n" + level42 + ": 1 problem\n");
    std::ofstream(root / "own" / "mus42.mid") << "RIFF"; // beside the properties: taken, and told when it is not MIDI
    EXPECT_EQ(run({level42.c_str(), "--properties", own.c_str()}, &status),
              level42 + ": Music 42 plays " + ownFolder + "/mus42.mid, which cannot be played: not a MIDI file.\n" +
                  level42 + ": 1 problem\n");
    std::ofstream(root / "own" / "mus42.mid") << "MThd";
    EXPECT_EQ(run({level42.c_str(), "--properties", own.c_str()}, &status), level42 + ": no problems\n");
    const std::string shipped = (data / "map00000.tmx").string(); // with the data folder's own properties
    EXPECT_EQ(run({shipped.c_str()}, &status), shipped + ": no problems\n");
    EXPECT_EQ(status, kMapCheckClean);
}

} // namespace
