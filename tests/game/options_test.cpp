// The command line: the options that run the game, play a map from anywhere or check one, and
// the one-line refusal of anything else.
#include <gtest/gtest.h>

#include "game/options.h"
#include "render/media.h"
#include "support/test_env.h"
#include "support/test_maps.h"
#include "world/map.h"

namespace {

// Parses the arguments after the program's name; returns what was printed.
std::string parse(std::vector<const char*> arguments, Options* options) {
    arguments.insert(arguments.begin(), "velmoor");
    testing::internal::CaptureStdout();
    parseOptions(int(arguments.size()), const_cast<char**>(arguments.data()), options);
    return testing::internal::GetCapturedStdout();
}

TEST(Options, BadOptionsAndUnreadableMapsExitWithOneLine) {
    const std::string usage = " Usage: velmoor [--map MAP.tmx | --check-map MAP.tmx [PROPERTIES.tmx]]\n";
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"--mpa", "x.tmx"}, "velmoor: unknown option --mpa." + usage},
        {{"x.tmx"}, "velmoor: unexpected argument x.tmx." + usage},
        {{"--map"}, "velmoor: a map file must follow --map." + usage},
        {{"--check-map", "a.tmx", "b.tmx", "c.tmx"}, "velmoor: too many files after --check-map." + usage},
        {{"--map", "/nonexistent/level.tmx"},
         "velmoor: cannot read the map /nonexistent/level.tmx: No such file or "
         "directory.\n"},
    };
    for (const auto& [arguments, line] : cases) {
        Options options;
        EXPECT_EQ(parse(arguments, &options), line);
        EXPECT_EQ(options.run * 10 + options.exitStatus, kRunExit * 10 + kExitBadOption) << line;
    }
    Options options;
    EXPECT_EQ(parse({"--help"}, &options), usage.substr(1));
    EXPECT_EQ(options.run * 10 + options.exitStatus, kRunExit * 10);
}

TEST(Options, CheckMapTakesTheMapAndOptionallyItsProperties) {
    Options options;
    EXPECT_EQ(parse({}, &options), "");
    EXPECT_EQ(options.run, kRunGame);
    parse({"--check-map", "a.tmx"}, &options);
    EXPECT_EQ(options.run, kRunMapCheck);
    EXPECT_STREQ(options.checkedMap, "a.tmx");
    EXPECT_STREQ(options.checkedProperties, "../Common/properties.tmx");
    parse({"--check-map", "a.tmx", "p.tmx"}, &options);
    EXPECT_STREQ(options.checkedProperties, "p.tmx");
}

// --map plays a file outside Common/ in place of map00000.tmx; the messages name that file.
TEST(Options, MapPlaysAFileFromAnywhere) {
    startHeadlessSDL();
    const std::string common = enterTempCommon(nullptr, 0);
    TestMap map = makeOpenMap(20, 12);
    setCell(&map, 3, 4, 7, kTestStart);
    map.music = 3;
    const std::string path = common + "/../elsewhere.tmx";
    writeCommonFile("../elsewhere.tmx", formatMap(map));
    Options options;
    EXPECT_EQ(parse({"--map", path.c_str()}, &options), "");
    EXPECT_EQ(options.run, kRunGame);
    gHuntingSpots = 0;
    EXPECT_EQ(loadMap(1), 0);
    EXPECT_EQ(gMapColumns * 100 + gMapRows, 2012);
    EXPECT_EQ(gPlayerX, 7 * 640 + 340);
    EXPECT_STREQ(gMusicFilePath, "../Common/mus03.mid");
    writeCommonFile("../elsewhere.tmx", "<map width=\"13\">");
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadMap(1), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nError loading elsewhere.tmx: no map height.");
    gMapPath[0] = '\0';
}

} // namespace
