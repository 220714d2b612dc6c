// The command line: the options that run the game, record, replay, the player program and the
// map checker, and the one-line refusal of anything else, all before any window opens.
#include <gtest/gtest.h>

#include <filesystem>

#include "game/options.h"
#include "support/test_env.h"
#include "world/map.h"

namespace {

// Parses the arguments after the program's name; returns what was printed.
std::string parse(std::vector<const char*> arguments, Options* options) {
    arguments.insert(arguments.begin(), "velmoor");
    testing::internal::CaptureStdout();
    parseOptions(int(arguments.size()), const_cast<char**>(arguments.data()), options);
    return testing::internal::GetCapturedStdout();
}

// Each case: the arguments, the start of what is printed, what runs and the exit status.
TEST(Options, ChooseWhatRunsOrRefuseInOneLine) {
    const std::string usage = " Usage: velmoor [OPTION]...; velmoor --help lists the options.\n";
    const struct {
        std::vector<const char*> arguments;
        std::string printed;
        int run, status;
    } cases[] = {
        {{}, "", kRunGame, 0},
        {{"--record", "r.vrp"}, "", kRunGame, 0},
        {{"--replay", "r.vrp", "--headless"}, "", kRunReplay, 0},
        {{"--bot", "20", "--seed", "7", "--profile", "practised"}, "", kRunBot, 0},
        {{"--check-map", "a.tmx", "--json"}, "", kRunMapCheck, 0},
        {{"-h"}, "Usage: velmoor [OPTION]...\n", kRunExit, 0},
        {{"--version"}, "velmoor ", kRunExit, 0},
        {{"--mpa", "x.tmx"}, "velmoor: unknown option --mpa." + usage, kRunExit, 2},
        {{"x.tmx"}, "velmoor: unexpected argument x.tmx." + usage, kRunExit, 2},
        {{"--map"}, "velmoor: a value must follow --map." + usage, kRunExit, 2},
        {{"--bot", "0"}, "velmoor: --bot takes a number of games from 1 to 1000000, not 0.", kRunExit, 2},
        {{"--bot", "5", "--profile", "expert"}, "velmoor: --profile takes new or practised, not expert.", kRunExit, 2},
        {{"--headless"}, "velmoor: --headless goes with --replay:", kRunExit, 2},
        {{"--seed", "3"}, "velmoor: --seed, --profile and --bot-replays go with --bot:", kRunExit, 2},
        {{"--replay", "r", "--record", "s"},
         "velmoor: --record goes only with a game played in the window",
         kRunExit,
         2},
        {{"--map", "m.tmx", "--check-map"}, "velmoor: --check-map comes first", kRunExit, 2},
        {{"--map", "/none/x.tmx"},
         "velmoor: cannot read the map /none/x.tmx: No such file or directory.\n",
         kRunExit,
         2},
        {{"--map", "/"}, "velmoor: cannot read the map /: a folder, not a file.\n", kRunExit, 2},
    };
    for (const auto& c : cases) {
        Options options;
        const std::string printed = parse(c.arguments, &options);
        EXPECT_EQ(printed.substr(0, c.printed.size()), c.printed);
        EXPECT_EQ(c.printed.empty(), printed.empty()) << printed;
        EXPECT_EQ(options.run, c.run) << printed;
        EXPECT_EQ(options.exitStatus, c.status) << printed;
    }
}

// --map keeps a map file that the loader accepts, wherever it is; a file it refuses stops the
// program with the loader's message and the checker's name.
TEST(Options, MapPlaysAFileFromAnywhereThatTheLoaderAccepts) {
    const std::string common = enterTempCommon(nullptr, 0);
    const std::string path = common + "/../elsewhere.tmx";
    const std::string tooLong(kMapPathSize, 'm'); // one character past what gMapPath holds
    Options options;
    EXPECT_EQ(parse({"--map", tooLong.c_str()}, &options), "velmoor: the map's path is longer than 4095 characters.\n");
    writeCommonFile("../elsewhere.tmx", "<map>");
    const std::string refused = parse({"--map", path.c_str()}, &options);
    EXPECT_NE(refused.find("no map width"), std::string::npos) << refused;
    EXPECT_NE(refused.find("--check-map"), std::string::npos) << refused;
    EXPECT_EQ(options.exitStatus, kExitBadOption);
    EXPECT_EQ(gMapPath[0], '\0');

    std::filesystem::copy_file(common + "/map00000.tmx", path, std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(parse({"--map", path.c_str()}, &options), "");
    EXPECT_EQ(options.run, kRunGame);
    EXPECT_EQ(gMapPath, path);
    gMapPath[0] = '\0';
}

} // namespace
