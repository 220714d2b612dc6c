// What the player program remembers of the map, and the ways it finds through what it knows.
#pragma once

#include <cstdint>

#include "bot/botview.h"

constexpr uint8_t kBotCellKnown = 1 << 7; // in memory: the cell has been seen (or was known from the start)
constexpr int kBotNoWay = -1;             // a cell the last search did not reach

// The cells as the player remembers them: kBotCellKnown and what the screen showed there.
struct BotMap {
    uint8_t cells[kBotGridCells]; // index row * 256 + column
    int changes;                  // counts the changes to the cells, so that a way found stays good until one
};

// The ways from one cell to every known cell the deer can walk to, by the fewest cells.
struct BotWay {
    int fromRow, fromColumn;
    int distance[kBotGridCells];     // cells walked from the start; kBotNoWay where not reached
    uint8_t cameFrom[kBotGridCells]; // the step that led into the cell; 0 at the start
    int reached[kBotGridCells];      // the cells reached (row * 256 + column), nearest first
    int reachedCount;
};

// Forgets everything: no cell known.
void forgetBotMap(BotMap* map);

// Learns a whole map (the practised player knows it): cells[row * 256 + column] holds view bits
// for rows x columns cells; everything beyond is the edge.
void learnBotMap(BotMap* map, const uint8_t* cells, int rows, int columns);

// Remembers the cells of a view. Cells near the deer that the screen does not show lie beyond the
// map's edge (the camera only stops at the edge), so they are remembered as blocking.
void rememberBotView(BotMap* map, const BotView* view);

// The bits remembered for a cell; cells off the grid block.
uint8_t readBotCell(const BotMap* map, int row, int column);

// True when the deer can walk into a cell as far as the player knows (known and not blocking).
bool isBotCellWalkable(const BotMap* map, int row, int column);

// True when no cell the player knows to hide sight lies on the segment between two map points,
// the end point's cell left out (as the hunter's sight: a deer in a bush sees out but is not seen).
bool isBotSightClear(const BotMap* map, int x1, int y1, int x2, int y2);

// Empties the ways: no cell reached. Needed once before the first findBotWays.
void clearBotWays(BotWay* way);

// Finds the ways from (row, column) over walkable known cells (the start is always taken).
void findBotWays(const BotMap* map, int row, int column, BotWay* way);

// The first cell of the way to (row, column): *nextRow, *nextColumn. Returns 1, or 0 when the
// cell was not reached (or is the start itself, which is then given).
int findFirstBotStep(const BotWay* way, int row, int column, int* nextRow, int* nextColumn);
