// The player program's decisions without the game: what it remembers of the screen, the ways it
// finds through what it knows, and that it acts on what it saw no sooner than its reaction time.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "bot/botmind.h"

namespace {

// Learns a map drawn as rows of letters ('.' snow, 'R' rock, 'b' bush, 'G' grass, '?' a cell not
// seen) as the player would know it; off the drawing lies the map's edge.
void learnDrawing(BotMap* map, const std::vector<std::string>& rows) {
    static const uint8_t Snow[kBotGridCells] = {}; // the drawing's size learnt first, the edge beyond it
    learnBotMap(map, Snow, int(rows.size()), int(rows[0].size()));
    for (size_t row = 0; row < rows.size(); row++) {
        for (size_t column = 0; column < rows[0].size(); column++) {
            const char c = rows[row][column];
            const int shown = (c == 'R' ? kBotCellBlocks | kBotCellHidesSight : 0) |
                              (c == 'b' ? kBotCellHidesSight : 0) | (c == 'G' ? kBotCellGrass : 0);
            map->cells[row * kBotGridSide + column] = c == '?' ? 0 : uint8_t(kBotCellKnown | shown);
        }
    }
}

// The way leads round walls and through what it has seen only; the first step is the next cell on it.
TEST(BotMap, FindsTheShortestWayThroughWhatItKnows) {
    static BotMap Map;  // the map learnt
    static BotWay Ways; // the ways from the start
    learnDrawing(&Map, {"..R...", "..R.?.", "..R.R.", "......"});
    EXPECT_GT(Map.changes, 0) << "learning counts as a change: ways found before must be found again";
    clearBotWays(&Ways);
    findBotWays(&Map, 0, 0, &Ways);
    const struct {
        int row, column, distance, nextRow, nextColumn;
        const char* why;
    } cases[] = {
        {0, 0, 0, 0, 0, "the start itself"},
        {0, 3, 9, 0, 1, "round the wall's foot"},
        {1, 5, 10, 0, 1, "round the wall and past the cell not seen"},
        {1, 4, kBotNoWay, 0, 0, "a cell not seen is no way"},
        {0, 2, kBotNoWay, 0, 0, "a rock"},
        {0, 6, kBotNoWay, 0, 0, "the map's edge on the right"},
        {4, 0, kBotNoWay, 0, 0, "and below"},
    };
    for (const auto& c : cases) {
        int row = -1;
        int column = -1;
        const int found = findFirstBotStep(&Ways, c.row, c.column, &row, &column);
        EXPECT_EQ(std::tuple(Ways.distance[c.row * kBotGridSide + c.column], found, row, column),
                  std::tuple(c.distance, c.distance > 0 ? 1 : 0, c.nextRow, c.nextColumn))
            << c.why;
    }
    findBotWays(&Map, 3, 5, &Ways);
    EXPECT_EQ(Ways.distance[0], 8) << "a second search from elsewhere forgets the first one's distances";
}

// A meadow walled with rock, all of it on the screen: a tuft, and a thicket in its south-west.
const std::vector<std::string> kMeadow = {
    "RRRRRRRRRRRRRR", "R............R", "R............R", "R......G.....R", "R............R", "R............R",
    "R............R", "R.bbb........R", "R.bbb........R", "R............R", "RRRRRRRRRRRRRR",
};

// The actions of one game in the meadow, which the player knows: the deer moves as its keys take
// it, and from frame hunterFrame on (never when negative) the hunter stands in view.
std::vector<uint8_t> playMeadow(const BotProfile* profile, int hunterFrame, int frames) {
    static BotMap Meadow; // the world, held as the screen shows it
    static BotMind Mind;  // the player's mind
    learnDrawing(&Meadow, kMeadow);
    startBotMind(&Mind, profile, 1, Meadow.cells, int(kMeadow.size()), int(kMeadow[0].size()));
    BotDeer deer{3 * kBotCellTenths + 320, 6 * kBotCellTenths + 160, kBotStaminaFull, 0}; // in (6, 3)
    std::vector<uint8_t> actions;
    for (int frame = 0; frame < frames; frame++) {
        BotView view{};
        view.deerX = deer.x / kBotPixelTenths;
        view.deerY = deer.y / kBotPixelTenths;
        view.rows = int(kMeadow.size());
        view.columns = int(kMeadow[0].size());
        for (int i = 0; i < view.rows; i++) {
            for (int j = 0; j < view.columns; j++) {
                view.cells[i][j] = uint8_t(Meadow.cells[i * kBotGridSide + j] & ~kBotCellKnown);
            }
        }
        view.hunterSeen = hunterFrame >= 0 && frame >= hunterFrame ? 1 : 0;
        view.hunterX = view.hunterSeen * 11 * kBotCellPixels; // in (4, 11) when he shows
        view.hunterY = view.hunterSeen * 4 * kBotCellPixels;
        actions.push_back(decideBotActions(&Mind, &view));
        moveBotDeer(&Meadow, &deer, spendBotStamina(&deer, actions.back()));
    }
    return actions;
}

// No player acts on the hunter sooner than its reaction time after he shows (400 ms new to the
// map, 250 ms practised), and each does then: it runs.
TEST(BotMind, ReactsToTheHunterAfterItsReactionTimeAndNoSooner) {
    const int shows = 200; // the frame the hunter comes into view
    const struct {
        const BotProfile* profile;
        int reactionFrames;
    } players[] = {{&kBotProfileNew, 16}, {&kBotProfilePractised, 10}};
    for (const auto& player : players) {
        const std::vector<uint8_t> unaware = playMeadow(player.profile, -1, shows + 60);
        const std::vector<uint8_t> aware = playMeadow(player.profile, shows, shows + 60);
        const int first = int(std::mismatch(aware.begin(), aware.end(), unaware.begin()).first - aware.begin());
        EXPECT_GE(first, shows + player.reactionFrames);
        ASSERT_LE(first, shows + player.reactionFrames + 2) << "it does react";
        EXPECT_NE(aware[size_t(first + 2)] & (kBotUp | kBotDown | kBotLeft | kBotRight), 0) << "it runs";
        EXPECT_NE(std::find_if(unaware.begin(), unaware.end(), [](uint8_t keys) { return (keys & kBotEat) != 0; }),
                  unaware.end())
            << "it went to the tuft and ate";
    }
}

} // namespace
