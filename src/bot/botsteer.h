// The deer's movement as a player knows it: where the keys just pressed have taken it, and which
// keys take it on to a cell.
#pragma once

#include <cstdint>

#include "bot/botmap.h"

constexpr int kBotStaminaFull = 640; // the sprint reserve: 64 frames of sprinting
constexpr int kBotSprintCost = 10;   // reserve a sprinting frame costs
constexpr int kBotEatStaminaBonus = 50;

// The deer as the player believes it to be now.
struct BotDeer {
    int x, y;    // centre, tenths of a map pixel
    int stamina; // the sprint reserve as the player counts it
    int wounded; // a wounded deer's reserve recovers more slowly
};

// The cell the deer's feet stand in.
int findBotDeerRow(const BotDeer* deer);
int findBotDeerColumn(const BotDeer* deer);

// Counts one frame's actions against the reserve as the game does (a sprint costs, walking and
// standing recover). Returns the actions with kBotRun cleared when the reserve is too low to sprint.
uint8_t spendBotStamina(BotDeer* deer, uint8_t actions);

// Moves the believed deer by one frame's actions (kBotRun: at sprinting speed) as the game would,
// its foot box kept out of the cells the player knows to block.
void moveBotDeer(const BotMap* map, BotDeer* deer, uint8_t actions);

// The movement keys that take the deer's feet towards the middle of cell (row, column); 0 once
// they stand within tolerance tenths of it on both axes.
uint8_t steerBotDeer(const BotDeer* deer, int row, int column, int tolerance);

// True when the deer's feet stand within tolerance tenths of the middle of cell (row, column).
bool isBotDeerAt(const BotDeer* deer, int row, int column, int tolerance);
