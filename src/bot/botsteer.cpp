// The deer's movement as a player knows it: prediction from the keys pressed, and steering.
#include "bot/botsteer.h"

constexpr int kWalkStep = 50; // tenths a frame on one axis
constexpr int kRunStep = 100;
constexpr int kWalkStepDiagonal = 35; // on each axis
constexpr int kRunStepDiagonal = 70;
constexpr int kFootHalfWidth = 120; // the foot box in tenths around the centre: 12 pixels either
constexpr int kFootTop = 100;       // side, 10 to 22 pixels below
constexpr int kFootBottom = 220;
constexpr int kFeetMiddle = (kFootTop + kFootBottom) / 2;
constexpr int kFeetMiddleX = kBotCellTenths / 2; // the feet in the middle of a cell
constexpr int kFeetMiddleY = kBotCellTenths / 2 - kFeetMiddle;

int findBotDeerRow(const BotDeer* deer) { return (deer->y + kFeetMiddle) / kBotCellTenths; }

int findBotDeerColumn(const BotDeer* deer) { return deer->x / kBotCellTenths; }

static bool isBlocking(const BotMap* map, int row, int column) {
    return (readBotCell(map, row, column) & kBotCellBlocks) != 0;
}

// Is a cell of the column blocking on the rows the foot box spans?
static bool isColumnBlocking(const BotMap* map, int column, int y) {
    for (int row = (y + kFootTop) / kBotCellTenths; row <= (y + kFootBottom) / kBotCellTenths; row++) {
        if (isBlocking(map, row, column)) {
            return true;
        }
    }
    return false;
}

// Is a cell of the row blocking on the columns the foot box spans?
static bool isRowBlocking(const BotMap* map, int row, int x) {
    for (int column = (x - kFootHalfWidth) / kBotCellTenths; column <= (x + kFootHalfWidth) / kBotCellTenths;
         column++) {
        if (isBlocking(map, row, column)) {
            return true;
        }
    }
    return false;
}

// The four axis moves: the step is cut short where the line of cells beyond the foot box blocks
// (the map's edge counts as blocking), leaving the box flush against it.
static void moveBotDeerX(const BotMap* map, BotDeer* deer, int direction, int step) {
    if (direction > 0) {
        const int column = (deer->x + kFootHalfWidth) / kBotCellTenths + 1;
        const int limit = column * kBotCellTenths - kBotPixelTenths - kFootHalfWidth;
        deer->x += step;
        if (isColumnBlocking(map, column, deer->y) && deer->x > limit) {
            deer->x = limit;
        }
    } else if (direction < 0) {
        const int column = (deer->x - kFootHalfWidth) / kBotCellTenths - 1;
        const int limit = (column + 1) * kBotCellTenths + kFootHalfWidth;
        deer->x -= step;
        if (isColumnBlocking(map, column, deer->y) && deer->x < limit) {
            deer->x = limit;
        }
    }
}

static void moveBotDeerY(const BotMap* map, BotDeer* deer, int direction, int step) {
    if (direction > 0) {
        const int row = (deer->y + kFootBottom) / kBotCellTenths + 1;
        const int limit = row * kBotCellTenths - kBotPixelTenths - kFootBottom;
        deer->y += step;
        if (isRowBlocking(map, row, deer->x) && deer->y > limit) {
            deer->y = limit;
        }
    } else if (direction < 0) {
        const int row = (deer->y + kFootTop) / kBotCellTenths - 1;
        const int limit = (row + 1) * kBotCellTenths - kFootTop;
        deer->y -= step;
        if (isRowBlocking(map, row, deer->x) && deer->y < limit) {
            deer->y = limit;
        }
    }
}

static int findInputX(uint8_t actions) {
    return ((actions & kBotRight) != 0 ? 1 : 0) - ((actions & kBotLeft) != 0 ? 1 : 0);
}

static int findInputY(uint8_t actions) {
    return ((actions & kBotDown) != 0 ? 1 : 0) - ((actions & kBotUp) != 0 ? 1 : 0);
}

uint8_t spendBotStamina(BotDeer* deer, uint8_t actions) {
    if (findInputX(actions) == 0 && findInputY(actions) == 0) {
        deer->stamina += 2 - deer->wounded;
    } else if ((actions & kBotRun) != 0 && deer->stamina >= kBotSprintCost) {
        deer->stamina -= kBotSprintCost;
    } else {
        actions &= uint8_t(~kBotRun);
        deer->stamina += 1 - deer->wounded;
    }
    if (deer->stamina > kBotStaminaFull) {
        deer->stamina = kBotStaminaFull;
    }
    return actions;
}

void moveBotDeer(const BotMap* map, BotDeer* deer, uint8_t actions) {
    const int inputX = findInputX(actions);
    const int inputY = findInputY(actions);
    const bool sprints = (actions & kBotRun) != 0;
    const bool diagonal = inputX != 0 && inputY != 0;
    const int step = sprints ? (diagonal ? kRunStepDiagonal : kRunStep) : (diagonal ? kWalkStepDiagonal : kWalkStep);
    moveBotDeerX(map, deer, inputX, step);
    moveBotDeerY(map, deer, inputY, step);
}

uint8_t steerBotDeer(const BotDeer* deer, int row, int column, int tolerance) {
    const int dx = column * kBotCellTenths + kFeetMiddleX - deer->x;
    const int dy = row * kBotCellTenths + kFeetMiddleY - deer->y;
    uint8_t keys = 0;
    if (dx > tolerance) {
        keys |= kBotRight;
    } else if (dx < -tolerance) {
        keys |= kBotLeft;
    }
    if (dy > tolerance) {
        keys |= kBotDown;
    } else if (dy < -tolerance) {
        keys |= kBotUp;
    }
    return keys;
}

bool isBotDeerAt(const BotDeer* deer, int row, int column, int tolerance) {
    return steerBotDeer(deer, row, column, tolerance) == 0;
}
