// The player program in-process: what its view shows and hides, that it plays only by what it
// sees, how its summary counts, its replays, and the shipped level held to its windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "bot/botmind.h"
#include "game/botgame.h"
#include "game/deer.h"
#include "game/options.h"
#include "game/replaygame.h"
#include "game/startup.h"
#include "hunter/navigation.h"
#include "support/test_env.h"
#include "support/test_maps.h"
#include "world/map.h"

namespace {

namespace fs = std::filesystem;

// Under the sanitizers the games run many times slower: there the windows' hundreds of games
// give way to the soak's few.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
constexpr bool kSanitized = __has_feature(address_sanitizer);
#else
constexpr bool kSanitized = false;
#endif

// A map drawn as rows of letters: '.' snow, 'R' rock, 'b' bush, 'G' grass, 'D' the deer's start,
// 'H' a hunting spot. Its music 99 does not exist: quicker.
TestMap drawMap(const std::vector<std::string>& rows) {
    const int layers[] = {2, 2, 1, 3, 3}; // of 'R', 'b', 'G', 'D' and 'H'
    const int tiles[] = {kTestRock, kTestBush, kTestGrass, kTestStart, kTestSpot};
    TestMap map = makeOpenMap(int(rows[0].size()), int(rows.size()));
    map.music = 99;
    for (int row = 0; row < map.rows; row++) {
        for (int column = 0; column < map.columns; column++) {
            const size_t letter = std::string("RbGDH").find(rows[size_t(row)][size_t(column)]);
            if (letter != std::string::npos) {
                setCell(&map, layers[letter], row, column, tiles[letter]);
            }
        }
    }
    return map;
}

// Runs the program with these arguments after its name; returns what it printed, and its status.
std::string runVelmoor(std::vector<const char*> arguments, int* status) {
    arguments.insert(arguments.begin(), "velmoor");
    Options options{};
    testing::internal::CaptureStdout();
    parseOptions(int(arguments.size()), const_cast<char**>(arguments.data()), &options);
    *status = options.run == kRunExit ? options.exitStatus : runProgram(&options);
    return testing::internal::GetCapturedStdout();
}

// A game started in a yard with no hunting spot, the deer at column 3 of row 4 and the camera at
// the top-left corner (the screen shows columns 0 to 12 and rows 0 to 9).
PlayState* startInYard() {
    static PlayState State; // the game in the yard
    enterTempCommon();
    writeTestWorld(drawMap({
        "R.........R.............",
        "..R.............R.......",
        "...G...b..RR......R.....",
        "......R.................",
        "...D.R.........RR.......",
        "..........R.............",
        ".R.......R.....R........",
        "......R.........R.......",
        "........................",
        "....R.........R.........",
    }));
    fixRenderSizes();
    startGame(&State, nullptr);
    return &State;
}

// The screen shows the cells in view, the hunter where his figure shows, and nothing else of him.
TEST(BotView, ShowsTheHunterOnlyWhereTheScreenDoes) {
    PlayState* state = startInYard();
    static BotView View;       // one view filled for every case, as the game fills one every frame
    fillBotView(state, &View); // a rock, grass, a bush, snow, and below the map:
    EXPECT_EQ(std::tuple(View.cells[0][0], View.cells[2][3], View.cells[2][7], View.cells[1][1], View.cells[10][1]),
              std::tuple(kBotCellBlocks | kBotCellHidesSight, kBotCellGrass, kBotCellHidesSight, 0, kBotCellBlocks));
    const struct {
        int row, column, seen, smell, arrowDirection, arrowFar;
        const char* why;
    } cases[] = {
        {4, 22, 0, kBotSmellNone, 0, 0, "off screen: nothing of him"},
        {4, 22, 0, kBotSmellDanger, kBotArrowRight, 1, "off screen, smelled: the arrow, its second row"},
        {4, 11, 1, kBotSmellNone, 0, 0, "on screen, in the open"},
        {2, 7, 0, kBotSmellNone, 0, 0, "on screen, in a bush"},
        {2, 7, 1, kBotSmellDanger, kBotArrowUpRight, 0, "in a bush but smelled: drawn over everything"},
        {1, 3, 1, kBotSmellDanger, kBotArrowUp, 0, "straight up"},
        {1, 0, 1, kBotSmellDanger, kBotArrowUpLeft, 0, "up and left"},
        {4, 0, 1, kBotSmellDanger, kBotArrowLeft, 0, "left"},
        {8, 0, 1, kBotSmellDanger, kBotArrowDownLeft, 0, "down and left"},
        {8, 3, 1, kBotSmellDanger, kBotArrowDown, 0, "down"},
        {8, 8, 1, kBotSmellDanger, kBotArrowDownRight, 0, "down and right"},
    };
    for (const auto& c : cases) {
        gHunterX = c.column * 640 + 320; // the middle of the cell, tenths
        gHunterY = c.row * 640 + 320;
        state->deer.smellTime = c.smell != kBotSmellNone ? kSmellIndicatorFrame : 0;
        fillBotView(state, &View);
        EXPECT_EQ(
            std::tuple(View.hunterSeen, View.hunterX, View.hunterY, View.smell, View.arrowDirection, View.arrowFar),
            std::tuple(c.seen, c.seen * gHunterX / 10, c.seen * gHunterY / 10, c.smell, c.arrowDirection, c.arrowFar))
            << c.why;
    }
}

// The deer moves, and its sprint reserve runs, as the player program believes from what the
// screen showed it (remembered, and past the screen's edge the map's): thousands of frames of
// random keys among the yard's rocks and against its edges, unhurt and then wounded.
TEST(BotGame, KnowsHowTheDeerMoves) {
    PlayState* state = startInYard();
    static BotMap Known; // the yard as the player has seen it: nothing yet
    BotDeer deer{gPlayerX, gPlayerY, kBotStaminaFull, 0};
    BotView view{};
    fillBotView(state, &view); // the first screen, from the yard's top-left corner
    rememberBotView(&Known, &view);
    EXPECT_EQ(readBotCell(&Known, view.rows - 1, view.columns - 1), kBotCellKnown) << "the screen's far corner";
    uint32_t random = 12345;
    uint8_t keys = 0;
    for (int frame = 0; frame < 3000; frame++) {
        if (frame % 25 == 0) {
            random = random * 1103515245u + 12345u;
            keys = uint8_t((random >> 16) & (kBotUp | kBotDown | kBotLeft | kBotRight | kBotRun));
        }
        state->deer.isWounded = deer.wounded = frame >= 1500 ? 1 : 0;
        fillBotView(state, &view);
        rememberBotView(&Known, &view);
        moveBotDeer(&Known, &deer, spendBotStamina(&deer, keys));
        applyFrameActions(state, keys);
        advanceFrame(state);
        ASSERT_EQ(std::tuple(deer.x, deer.y, deer.stamina), std::tuple(gPlayerX, gPlayerY, state->deer.stamina))
            << "frame " << frame << ", keys " << int(keys);
    }
    const int changes = Known.changes;
    rememberBotView(&Known, &view);
    EXPECT_EQ(Known.changes, changes) << "the same screen again changes nothing";
}

// A hunter walled in out of view, more than 2000 map pixels from anywhere the deer goes (so that
// smelling shows the blue circle), changes nothing the player does: each profile plays the same
// game, action for action, as on the same map without a hunter.
TEST(BotGame, PlaysTheSameWhateverItCannotSee) {
    enterTempCommon();
    fixRenderSizes();
    std::vector<std::string> rows = {
        "RRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRR",
        "R...................RRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRR...RRR",
        "RG.G...bb......G...GRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRR...RRR",
        "R......bb...........RRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRR...RRR",
        "R...................RRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRR",
        "RG....D........G...GRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRR",
        "R..G.........bb....GRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRR",
        "RG...........bb..G.GRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRR",
        "RRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRR",
    };
    static Replay Records[2]; // the games without and with the hunter in his pen
    for (const BotProfile* profile : {&kBotProfileNew, &kBotProfilePractised}) {
        BotGame hunted{};
        for (int hunter = 0; hunter < 2; hunter++) {
            rows[2][55] = hunter != 0 ? 'H' : '.';
            writeTestWorld(drawMap(rows));
            hunted = playBotGame(7, profile, 20000, &Records[hunter]);
        }
        EXPECT_EQ(hunted.end, kBotWon) << "the hunter never comes near";
        EXPECT_GT(hunted.frames, 2000) << "the hunter came while the deer still grazed";
        EXPECT_TRUE(std::equal(Records[0].runs, Records[0].runs + Records[0].runCount, Records[1].runs,
                               Records[1].runs + Records[1].runCount, [](const ReplayRun& a, const ReplayRun& b) {
                                   return a.actions == b.actions && a.frames == b.frames;
                               }));
    }
}

// The summary of a fixed set of games, each lost one ended by its last frame's actions as the
// game used them, line by line. 7 of 13 is 53.8 %: the rate is rounded, not cut.
TEST(BotSummary, CountsTheGamesItPlayed) {
    static BotTally Tally; // the games counted
    clearBotTally(&Tally);
    const struct {
        int outcome;
        uint8_t lastActions;
        int frames, tuftsEaten;
    } games[] = {
        {kOutcomeWon, kActionBitEat, 4800, 11},
        {kOutcomeWon, 0, 7200, 11},
        {kOutcomeWon, kActionBitUp, 6000, 11},
        {kOutcomeWon, 0, 5200, 11},
        {kOutcomeWon, 0, 8000, 11},
        {kOutcomeWon, 0, 4000, 11},
        {kOutcomeWon, 0, 6400, 11},
        {kOutcomeKilled, kActionBitEat, 2400, 7},                                   // eating
        {kOutcomeKilled, kActionBitLeft | kActionBitEat, 3000, 5},                  // walking: eating needs it to stand
        {kOutcomeKilled, kActionBitLeft | kActionBitRight | kActionBitRun, 100, 0}, // standing: they cancel
        {kOutcomeKilled, kActionBitEat | kActionBitSmell, 900, 2}, // standing: smelling comes before eating
        {kOutcomeKilled, kActionBitDown | kActionBitRun, 3600, 9}, // sprinting
        {kOutcomeClosed, kActionBitRight, kBotMaxGameFrames, 10},  // given up
    };
    for (const auto& played : games) {
        const BotGame game{findBotEnd(played.outcome, played.lastActions), played.frames, played.tuftsEaten, 11};
        countBotGame(&Tally, &game);
    }
    testing::internal::CaptureStdout();
    printBotSummary("forest.tmx", "new", &Tally, 2.0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "forest.tmx: new: 7 of 13 games won (54 %, 95 % interval 29-77 %)\n"
              "  tufts eaten of the 11 needed: median 11, quartiles 7-11\n"
              "  a won game lasts 2:30 (median)\n"
              "  lost games: 1 shot while eating, 1 walking, 1 sprinting, 2 hiding or standing still; 1 given up after "
              "30:00\n"
              "  51:30 played in 2.0 s of wall time (1545 times as fast)\n");
}

// The same seed gives the same summary (all but the wall time), and the lost games' replays, kept
// in --bot-replays DIR and named by map, profile and seed, play back headless to their recorded end.
TEST(BotGame, RepeatsItsGamesAndKeepsTheLostOnes) {
    const fs::path folder = fs::path(enterTempCommon()).parent_path() / "lost";
    int status = 0;
    const std::string first = runVelmoor({"--bot", "2", "--seed", "1", "--bot-replays", folder.c_str()}, &status);
    EXPECT_EQ(status, 0) << first;
    const std::string second = runVelmoor({"--bot", "2", "--seed", "1"}, &status);
    const auto withoutWallTime = [](const std::string& text) { return text.substr(0, text.rfind("  ")); };
    EXPECT_EQ(withoutWallTime(first), withoutWallTime(second));
    int lost = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string path = entry.path().string();
        const std::string name = entry.path().filename().string(); // by map, profile and seed
        EXPECT_TRUE(name == "map00000-new-seed1.replay" || name == "map00000-new-seed2.replay") << name;
        const std::string line = runVelmoor({"--replay", path.c_str(), "--headless"}, &status);
        EXPECT_EQ(status, kReplayMatched) << line;
        EXPECT_EQ(line.rfind(path + ": killed after ", 0), 0u) << line << ": a won game's replay is not kept";
        lost++;
    }
    EXPECT_GT(lost, 0) << "a seed with a lost game: its replay is checked";
    EXPECT_EQ(runVelmoor({"--bot", "1", "--bot-replays", "/proc/version"}, &status),
              "velmoor: cannot keep replays in /proc/version: Not a directory.\n");
    EXPECT_EQ(status, kExitBadOption);
}

// The shipped level's windows, with the seeds 1 to 100: a player new to the map wins 40 to 70 %
// of its games (a fair chance within its first three), a practised one at least 90 %.
TEST(ShippedLevel, HoldsItsDifficultyWindows) {
    if (kSanitized) {
        GTEST_SKIP() << "200 whole games: the soak plays a few of them under the sanitizers";
    }
    enterTempCommon();
    for (const auto& [profile, fewest, most] : {std::tuple{"new", 40, 70}, {"practised", 90, 100}}) {
        int status = 0;
        const std::string summary = runVelmoor({"--bot", "100", "--seed", "1", "--profile", profile}, &status);
        int won = -1;
        ASSERT_EQ(sscanf(summary.c_str(), "map00000.tmx: %*s %d of 100 games won", &won), 1) << summary;
        EXPECT_GE(won, fewest) << summary;
        EXPECT_LE(won, most) << summary;
    }
}

// Twenty games on the shipped level, ten of each profile, and a few on the largest map the format
// allows, walls and grass scattered over it and the hunter's spots near the deer's start: every
// game ends, won, lost or given up, within its frames.
TEST(BotGame, SoaksOnTheShippedLevelAndTheLargestMap) {
    enterTempCommon();
    fixRenderSizes();
    for (const BotProfile* profile : {&kBotProfileNew, &kBotProfilePractised}) {
        for (uint32_t seed = 1; seed <= 10; seed++) {
            EXPECT_EQ(playBotGame(seed, profile, kBotMaxGameFrames, nullptr).tuftsNeeded, 11);
        }
    }
    TestMap largest = makeOpenMap(kGridSide, kGridSide);
    largest.music = 99;
    const int tiles[] = {kTestRock, kTestBush, kTestGrass};
    uint32_t random = 7;
    for (int row = 0; row < kGridSide; row++) {
        for (int column = 0; column < kGridSide; column++) {
            random = random * 1103515245u + 12345u;
            const int roll = int((random >> 16) % 100);                       // 4 % rocks, 4 % bushes, 2 % grass
            if (roll < 10 && (abs(row - 250) > 2 || abs(column - 250) > 2)) { // the deer's start stands free
                setCell(&largest, roll < 8 ? 2 : 1, row, column, tiles[roll / 4]);
            } else if (roll == 10 && row > 220 && column > 220) {
                setCell(&largest, 3, row, column, kTestSpot); // hunting spots about the deer's corner
            }
        }
    }
    setCell(&largest, 3, 250, 250, kTestStart);
    writeTestWorld(largest);
    static Replay Record; // a game on the largest map
    for (const BotProfile* profile : {&kBotProfileNew, &kBotProfilePractised}) {
        for (uint32_t seed = 1; seed <= 2; seed++) {
            EXPECT_LE(playBotGame(seed, profile, 3000, &Record).frames, 3000);
            EXPECT_GE(Record.end.hunterX, 0) << "the hunter came and hunted";
        }
    }
}

} // namespace
