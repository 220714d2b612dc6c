// What the player program sees of a frame: the screen as a player reads it, and the eight actions.
#pragma once

#include <cstdint>

constexpr int kBotGridSide = 256;                          // the largest map, in cells on a side
constexpr int kBotGridCells = kBotGridSide * kBotGridSide; // cells of the largest map
constexpr int kBotCellTenths = 640;                        // a cell's side in tenths of a map pixel
constexpr int kBotPixelTenths = 10;
constexpr int kBotCellPixels = kBotCellTenths / kBotPixelTenths;
constexpr int kBotScreenWidth = 800; // map pixels the screen shows
constexpr int kBotScreenHeight = 600;
constexpr int kBotViewRows = kBotScreenHeight / kBotCellPixels + 2; // cells the screen shows, in part
constexpr int kBotViewColumns = kBotScreenWidth / kBotCellPixels + 2;

// What a cell on screen shows, as bits.
constexpr uint8_t kBotCellBlocks = 1 << 0;     // a trunk, rock, spruce base, ice or the map's edge: no way through
constexpr uint8_t kBotCellHidesSight = 1 << 1; // a trunk, rock, spruce base or bush: no one sees through it
constexpr uint8_t kBotCellGrass = 1 << 2;      // green grass (under a bush too: its blades show at the edges)

// The smell indicator.
constexpr int kBotSmellNone = 0;   // not shown
constexpr int kBotSmellSafe = 1;   // the blue circle: no hunter within 2000 map pixels
constexpr int kBotSmellDanger = 2; // the red arrow: a hunter within 2000 map pixels
// The arrow's eight directions, counter-clockwise from the right, in steps of 45 degrees.
constexpr int kBotArrowRight = 0;
constexpr int kBotArrowUpRight = 1;
constexpr int kBotArrowUp = 2;
constexpr int kBotArrowUpLeft = 3;
constexpr int kBotArrowLeft = 4;
constexpr int kBotArrowDownLeft = 5;
constexpr int kBotArrowDown = 6;
constexpr int kBotArrowDownRight = 7;
constexpr int kBotArrowDirections = 8;
constexpr int kBotArrowFarPixels = 1000; // the arrow's second row: the hunter 1000 map pixels away or more

// The eight actions a player has, as the bits of one frame (a replay's action bits).
constexpr uint8_t kBotUp = 1 << 0;
constexpr uint8_t kBotDown = 1 << 1;
constexpr uint8_t kBotLeft = 1 << 2;
constexpr uint8_t kBotRight = 1 << 3;
constexpr uint8_t kBotRun = 1 << 4;
constexpr uint8_t kBotEat = 1 << 5;
constexpr uint8_t kBotSmell = 1 << 6;

// One frame's screen as the player reads it. Positions are map pixels, as the sprites are drawn.
struct BotView {
    int deerX, deerY;                             // the deer's centre
    int firstRow, firstColumn;                    // the map cell drawn at the screen's top-left corner
    int rows, columns;                            // the cells the screen shows from there, in part or whole
    uint8_t cells[kBotViewRows][kBotViewColumns]; // what they show; kBotCellBlocks off the map
    int hunterSeen;       // the hunter's figure shows on screen (he is not in a bush), or smelling shows it
    int hunterX, hunterY; // his centre, when seen
    int smell;            // kBotSmellNone, kBotSmellSafe or kBotSmellDanger
    int arrowDirection;   // with danger: where the arrow points, kBotArrowRight and on
    int arrowFar;         // with danger: the arrow's second row, 1000 map pixels or more
    int hunterWarning;    // the box warning of the hunter is on screen
    int wounded;          // the deer's tracks are red
};
