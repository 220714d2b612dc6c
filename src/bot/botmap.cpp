// What the player program remembers of the map, and the ways it finds through what it knows.
#include "bot/botmap.h"

#include <cstdlib>
#include <cstring>

constexpr int kNearRows = 3; // the screen always shows this many rows and columns around the deer
constexpr int kNearColumns = 5;
constexpr int kDeerFeetPixels = 16; // the deer's feet lie this far below its centre

// Steps between cells, as BotWay::cameFrom holds them: none, then right, up, left and down.
constexpr uint8_t kStepNone = 0;
constexpr uint8_t kStepRight = 1;
constexpr uint8_t kStepDown = 4;
constexpr int kStepRow[] = {0, 0, -1, 0, 1};
constexpr int kStepColumn[] = {0, 1, 0, -1, 0};

static bool isOnGrid(int row, int column) {
    return row >= 0 && row < kBotGridSide && column >= 0 && column < kBotGridSide;
}

void forgetBotMap(BotMap* map) {
    memset(map->cells, 0, sizeof map->cells);
    map->changes++;
}

// Remembers what a cell shows, counting a change.
static void rememberCell(BotMap* map, int cell, uint8_t bits) {
    if (map->cells[cell] != bits) {
        map->cells[cell] = bits;
        map->changes++;
    }
}

void clearBotWays(BotWay* way) {
    for (int& distance : way->distance) {
        distance = kBotNoWay;
    }
    way->reachedCount = 0;
    way->fromRow = 0;
    way->fromColumn = 0;
}

void learnBotMap(BotMap* map, const uint8_t* cells, int rows, int columns) {
    for (int row = 0; row < kBotGridSide; row++) {
        for (int column = 0; column < kBotGridSide; column++) {
            const int cell = row * kBotGridSide + column;
            const bool inside = row < rows && column < columns;
            rememberCell(map, cell, uint8_t(kBotCellKnown | (inside ? cells[cell] : kBotCellBlocks)));
        }
    }
}

void rememberBotView(BotMap* map, const BotView* view) {
    for (int i = 0; i < view->rows && i < kBotViewRows; i++) {
        for (int j = 0; j < view->columns && j < kBotViewColumns; j++) {
            const int row = view->firstRow + i;
            const int column = view->firstColumn + j;
            if (isOnGrid(row, column)) {
                rememberCell(map, row * kBotGridSide + column, uint8_t(kBotCellKnown | view->cells[i][j]));
            }
        }
    }
    const int deerRow = (view->deerY + kDeerFeetPixels) / kBotCellPixels;
    const int deerColumn = view->deerX / kBotCellPixels;
    for (int row = deerRow - kNearRows; row <= deerRow + kNearRows; row++) {
        for (int column = deerColumn - kNearColumns; column <= deerColumn + kNearColumns; column++) {
            const bool shown = row >= view->firstRow && row < view->firstRow + view->rows &&
                               column >= view->firstColumn && column < view->firstColumn + view->columns;
            if (!shown && isOnGrid(row, column)) {
                rememberCell(map, row * kBotGridSide + column, kBotCellKnown | kBotCellBlocks);
            }
        }
    }
}

uint8_t readBotCell(const BotMap* map, int row, int column) {
    return isOnGrid(row, column) ? map->cells[row * kBotGridSide + column] : uint8_t(kBotCellKnown | kBotCellBlocks);
}

bool isBotCellWalkable(const BotMap* map, int row, int column) {
    const uint8_t cell = readBotCell(map, row, column);
    return (cell & kBotCellKnown) != 0 && (cell & kBotCellBlocks) == 0;
}

bool isBotSightClear(const BotMap* map, int x1, int y1, int x2, int y2) {
    const int sampleEvery = 8; // map pixels between the points looked at, well under a cell
    const int endRow = y2 / kBotCellPixels;
    const int endColumn = x2 / kBotCellPixels;
    const int dx = x2 - x1;
    const int dy = y2 - y1;
    const int longer = abs(dx) > abs(dy) ? abs(dx) : abs(dy);
    const int samples = longer / sampleEvery + 1;
    for (int i = 0; i <= samples; i++) {
        const int x = x1 + dx * i / samples;
        const int y = y1 + dy * i / samples;
        const int row = y / kBotCellPixels;
        const int column = x / kBotCellPixels;
        if (row == endRow && column == endColumn) {
            return true;
        }
        if ((readBotCell(map, row, column) & kBotCellHidesSight) != 0) {
            return false;
        }
    }
    return true;
}

void findBotWays(const BotMap* map, int row, int column, BotWay* way) {
    int* queue = way->reached; // the cells reached are expanded in the order they were reached
    // Only the cells the last search reached hold a distance.
    for (int i = 0; i < way->reachedCount; i++) {
        way->distance[queue[i]] = kBotNoWay;
    }
    way->reachedCount = 0;
    way->fromRow = row;
    way->fromColumn = column;
    if (!isOnGrid(row, column)) {
        return;
    }
    int head = 0;
    int tail = 0;
    const int start = row * kBotGridSide + column;
    way->distance[start] = 0;
    way->cameFrom[start] = kStepNone;
    queue[tail++] = start;
    while (head < tail) {
        const int cell = queue[head++];
        const int r = cell / kBotGridSide;
        const int c = cell % kBotGridSide;
        for (uint8_t step = kStepRight; step <= kStepDown; step++) {
            const int nr = r + kStepRow[step];
            const int nc = c + kStepColumn[step];
            if (!isBotCellWalkable(map, nr, nc)) {
                continue;
            }
            const int next = nr * kBotGridSide + nc;
            if (way->distance[next] == kBotNoWay) {
                way->distance[next] = way->distance[cell] + 1;
                way->cameFrom[next] = step;
                queue[tail++] = next;
            }
        }
    }
    way->reachedCount = tail;
}

int findFirstBotStep(const BotWay* way, int row, int column, int* nextRow, int* nextColumn) {
    *nextRow = way->fromRow;
    *nextColumn = way->fromColumn;
    if (!isOnGrid(row, column) || way->distance[row * kBotGridSide + column] <= 0) {
        return 0;
    }
    // Back along the steps until the cell one step from the start.
    while (way->distance[row * kBotGridSide + column] > 1) {
        const uint8_t step = way->cameFrom[row * kBotGridSide + column];
        row -= kStepRow[step];
        column -= kStepColumn[step];
    }
    *nextRow = row;
    *nextColumn = column;
    return 1;
}
