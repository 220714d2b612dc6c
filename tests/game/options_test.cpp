// The command line: the options that run the game, play a map from anywhere or check one, and
// the one-line refusal of anything else.
#include <gtest/gtest.h>

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

// Each case: the arguments, what is printed, the files checked, what runs and the exit status.
TEST(Options, CheckOrRefuseOrHelpBeforeAnyWindow) {
    const std::string usage = "Usage: velmoor [--map MAP.tmx | --check-map MAP.tmx [PROPERTIES.tmx]]\n";
    const std::string noMap = "velmoor: cannot read the map /none/x.tmx: No such file or directory.\n";
    const struct {
        std::vector<const char*> arguments;
        std::string printed, checked;
        int run, status;
    } cases[] = {
        {{}, "", "", kRunGame, 0},
        {{"--check-map", "a.tmx"}, "", "a.tmx ../Common/properties.tmx", kRunMapCheck, 0},
        {{"--check-map", "a.tmx", "p.tmx"}, "", "a.tmx p.tmx", kRunMapCheck, 0},
        {{"--help"}, usage, "", kRunExit, 0},
        {{"--mpa", "x.tmx"}, "velmoor: unknown option --mpa. " + usage, "", kRunExit, 2},
        {{"x.tmx"}, "velmoor: unexpected argument x.tmx. " + usage, "", kRunExit, 2},
        {{"--map"}, "velmoor: a map file must follow --map. " + usage, "", kRunExit, 2},
        {{"--check-map", "a", "b", "c"}, "velmoor: too many files after --check-map. " + usage, "", kRunExit, 2},
        {{"--map", "/none/x.tmx"}, noMap, "", kRunExit, 2},
    };
    for (const auto& c : cases) {
        Options options;
        EXPECT_EQ(parse(c.arguments, &options), c.printed);
        EXPECT_EQ(options.run * 10 + options.exitStatus, c.run * 10 + c.status) << c.printed;
        const bool checks = options.run == kRunMapCheck;
        EXPECT_EQ(checks ? std::string(options.checkedMap) + " " + options.checkedProperties : "", c.checked);
    }
}

// --map keeps a file that opens as the map to play, wherever it is.
TEST(Options, MapPlaysAFileFromAnywhere) {
    const std::string path = enterTempCommon(nullptr, 0) + "/../elsewhere.tmx";
    writeCommonFile("../elsewhere.tmx", "<map>");
    Options options;
    EXPECT_EQ(parse({"--map", path.c_str()}, &options), "");
    EXPECT_EQ(options.run, kRunGame);
    EXPECT_EQ(gMapPath, path);
    gMapPath[0] = '\0';
}

} // namespace
