// What the player program remembers of the map, and the ways it finds through it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bot/botmap.h"
#include "support/bot_drawing.h"

namespace {

// Learns a drawing, its '?' cells not seen.
void learnDrawing(BotMap* map, const std::vector<std::string>& rows) {
    learnBotDrawing(map, rows);
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

} // namespace
