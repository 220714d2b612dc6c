// What the player program remembers of the map, the ways it finds and the sight lines it judges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bot/botmap.h"

namespace {

// Learns a map drawn as rows of letters: '.' snow, 'R' rock, 'b' bush, 'G' grass, '?' not seen.
void learnDrawing(BotMap* map, const std::vector<std::string>& rows) {
    static uint8_t Cells[kBotGridCells]; // the drawing in view bits
    for (int row = 0; row < int(rows.size()); row++) {
        for (int column = 0; column < int(rows[0].size()); column++) {
            const char c = rows[size_t(row)][size_t(column)];
            Cells[row * kBotGridSide + column] =
                uint8_t((c == 'R' ? kBotCellBlocks | kBotCellHidesSight : 0) | (c == 'b' ? kBotCellHidesSight : 0) |
                        (c == 'G' ? kBotCellGrass : 0));
        }
    }
    learnBotMap(map, Cells, int(rows.size()), int(rows[0].size()));
    for (int row = 0; row < int(rows.size()); row++) {
        for (int column = 0; column < int(rows[0].size()); column++) {
            if (rows[size_t(row)][size_t(column)] == '?') {
                map->cells[row * kBotGridSide + column] = 0;
            }
        }
    }
}

// The way leads round walls and through what it has seen only; the first step is the next cell on it.
TEST(BotMap, FindsTheShortestWayThroughWhatItKnows) {
    static BotMap Map;  // the map learnt
    static BotWay Ways; // the ways from the start
    learnDrawing(&Map, {
                           "..R...",
                           "..R.?.",
                           "..R.R.",
                           "......",
                       });
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
        {0, 6, kBotNoWay, 0, 0, "the map's edge"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Ways.distance[c.row * kBotGridSide + c.column], c.distance) << c.why;
        int row = -1;
        int column = -1;
        EXPECT_EQ(findFirstBotStep(&Ways, c.row, c.column, &row, &column), c.distance > 0 ? 1 : 0) << c.why;
        EXPECT_EQ(row * kBotGridSide + column, c.nextRow * kBotGridSide + c.nextColumn) << c.why;
    }
    // A second search from elsewhere forgets the first one's distances.
    findBotWays(&Map, 3, 5, &Ways);
    EXPECT_EQ(Ways.distance[0], 8);
    EXPECT_EQ(Ways.distance[1 * kBotGridSide + 4], kBotNoWay);
}

// What the screen shows is remembered; near the deer, what it does not show lies past the map's edge.
TEST(BotMap, RemembersTheScreenAndTheMapsEdge) {
    static BotMap Map; // the map remembered
    forgetBotMap(&Map);
    BotView view{};
    view.deerX = 2 * kBotCellPixels + 32; // the deer in cell (1, 2), the screen from (0, 0)
    view.deerY = 1 * kBotCellPixels + 20;
    view.rows = 3; // the screen shows rows 0 to 2 only: the map ends below them
    view.columns = 13;
    view.cells[1][3] = kBotCellGrass;
    view.cells[0][0] = kBotCellBlocks;
    const int changes = Map.changes;
    rememberBotView(&Map, &view);
    EXPECT_NE(Map.changes, changes);
    EXPECT_EQ(readBotCell(&Map, 1, 3), kBotCellKnown | kBotCellGrass);
    EXPECT_EQ(readBotCell(&Map, 0, 0), kBotCellKnown | kBotCellBlocks);
    EXPECT_TRUE(isBotCellWalkable(&Map, 2, 12)) << "the screen's far corner";
    EXPECT_EQ(readBotCell(&Map, 4, 7) & kBotCellBlocks, kBotCellBlocks) << "below the screen, near the deer: no map";
    EXPECT_EQ(readBotCell(&Map, 12, 2), 0) << "far below: not seen, not known";
    EXPECT_FALSE(isBotCellWalkable(&Map, 12, 2));
    EXPECT_EQ(readBotCell(&Map, -1, 0), kBotCellKnown | kBotCellBlocks) << "off the grid";
    const int after = Map.changes;
    rememberBotView(&Map, &view);
    EXPECT_EQ(Map.changes, after) << "the same screen again changes nothing";
}

// Sight is hidden by a rock or bush between the two points, or by the bush the first one is in,
// but not by the cell the line ends in.
TEST(BotMap, JudgesSightLines) {
    static BotMap Map; // the map learnt
    learnDrawing(&Map, {
                           "......",
                           ".b..R.",
                           "......",
                       });
    const int middle = kBotCellPixels / 2;
    const auto at = [middle](int cell) { return cell * kBotCellPixels + middle; };
    EXPECT_TRUE(isBotSightClear(&Map, at(0), at(0), at(5), at(0))) << "along an open row";
    EXPECT_FALSE(isBotSightClear(&Map, at(0), at(1), at(5), at(1))) << "through the bush";
    EXPECT_FALSE(isBotSightClear(&Map, at(2), at(1), at(5), at(1))) << "through the rock";
    EXPECT_TRUE(isBotSightClear(&Map, at(2), at(1), at(4), at(1))) << "to the rock's own cell";
    EXPECT_FALSE(isBotSightClear(&Map, at(1), at(1), at(1), at(2))) << "out of a bush";
    EXPECT_TRUE(isBotSightClear(&Map, at(1), at(2), at(1), at(1))) << "into one";
}

} // namespace
