// A* search producing the hunter's direction field.
#include "hunter/pathfinding.h"

#include <bit>
#include <cstring>

#include "hunter/navigation.h"
#include "render/mapview.h"

uint32_t gMapPathfindingG[kGridCells];
int32_t gMapPathfindingF[kGridCells];
uint8_t gMapPathfindingParent[kGridCells];

// The open list keeps the order of a plain array: entries are appended at the end, and a removed
// entry's place is taken by the last entry. The entry selected is the earliest one of the lowest
// f-cost. Every cell enters the list at most once per search (only when it is first reached), so
// a map's cell count bounds it.
//
// Why two sets of positions suffice: every step costs 1 and the Manhattan heuristic changes by
// exactly 1 per step, so it is consistent: the f-cost of the selected entry never decreases, and
// a cell reached from a selected entry of f-cost F gets F (a step nearer the hunter) or F + 2 (a
// step away). A cell reached again by a shorter route can only fall from F + 2 to F. So the
// waiting entries cost F or F + 2; for each of the two their positions are kept in a bit set,
// and the entry to select is the lowest position of the first set.
constexpr unsigned kOpenListCapacity = kGridCells;
constexpr unsigned kWordBits = 64;
constexpr unsigned kLeafWords = kOpenListCapacity / kWordBits;
constexpr unsigned kMiddleWords = kLeafWords / kWordBits;
static_assert(kMiddleWords <= kWordBits, "the top word covers every middle word");
static_assert(kOpenListCapacity - 1 <= UINT16_MAX, "positions and cells fit 16 bits");
constexpr unsigned kNoPosition = ~0u;

// Positions of the open list, in three levels: a set bit in a level above says that the word
// below it is not empty.
struct PositionSet {
    uint64_t top;
    uint64_t middle[kMiddleWords];
    uint64_t leaf[kLeafWords];
};

// The state of one search's open list.
struct OpenList {
    PositionSet* lowSet;  // positions of the entries of cost lowCost
    PositionSet* highSet; // positions of the entries of cost lowCost + 2
    int32_t lowCost;
    unsigned count;      // entries in the list
    unsigned lowFirst;   // the lowest position of lowSet, kNoPosition when it is empty
    unsigned hunterCell; // the one blocking cell that may be entered; kGridCells when he is off the grid
};

static uint16_t OpenCell[kOpenListCapacity]; // the open list: cell indices in list order
static uint16_t OpenPosition[kGridCells];    // a cell's position in the open list, while it is in it
static PositionSet OpenSets[2];              // the two sets of an OpenList, cleared at each search's start
static unsigned OpenHighWater;               // the longest the open list grew in the last search

static inline void insertPosition(PositionSet* set, unsigned position) {
    const unsigned word = position / kWordBits;
    if (set->leaf[word] == 0) {
        set->middle[word / kWordBits] |= uint64_t{1} << (word % kWordBits);
        set->top |= uint64_t{1} << (word / kWordBits);
    }
    set->leaf[word] |= uint64_t{1} << (position % kWordBits);
}

static inline void erasePosition(PositionSet* set, unsigned position) {
    const unsigned word = position / kWordBits;
    set->leaf[word] &= ~(uint64_t{1} << (position % kWordBits));
    if (set->leaf[word] == 0) {
        set->middle[word / kWordBits] &= ~(uint64_t{1} << (word % kWordBits));
        if (set->middle[word / kWordBits] == 0) {
            set->top &= ~(uint64_t{1} << (word / kWordBits));
        }
    }
}

static inline bool containsPosition(const PositionSet* set, unsigned position) {
    return (set->leaf[position / kWordBits] >> (position % kWordBits) & 1) != 0;
}

// The lowest position of a set, kNoPosition when it is empty.
static inline unsigned firstPosition(const PositionSet* set) {
    if (set->top == 0) {
        return kNoPosition;
    }
    const unsigned middleWord = std::countr_zero(set->top);
    const unsigned word = middleWord * kWordBits + std::countr_zero(set->middle[middleWord]);
    return word * kWordBits + std::countr_zero(set->leaf[word]);
}

// The lowest position of a set that holds none below from: mostly found in the word of from.
static inline unsigned firstPositionFrom(const PositionSet* set, unsigned from) {
    const uint64_t above = set->leaf[from / kWordBits] & (~uint64_t{0} << (from % kWordBits));
    if (above != 0) {
        return from / kWordBits * kWordBits + std::countr_zero(above);
    }
    return firstPosition(set);
}

// Empties both sets; only the leaf words that the last search can have used are touched.
static void clearOpenSets() {
    const unsigned words = (OpenHighWater + kWordBits - 1) / kWordBits;
    for (PositionSet& set : OpenSets) {
        set.top = 0;
        memset(set.middle, 0, sizeof(set.middle));
        memset(set.leaf, 0, words * sizeof(set.leaf[0]));
    }
}

// A cell reached before is reached by a shorter route. If it still waits in the list, its entry
// keeps its place and now selects with the lower cost.
static void lowerCost(OpenList* list, unsigned cell, uint32_t g, int32_t cost, uint8_t code) {
    const unsigned at = OpenPosition[cell];
    if (at < list->count && OpenCell[at] == cell) {
        erasePosition(gMapPathfindingF[cell] == list->lowCost ? list->lowSet : list->highSet, at);
        if (cost == list->lowCost) {
            insertPosition(list->lowSet, at);
            list->lowFirst = at < list->lowFirst ? at : list->lowFirst;
        } else {
            insertPosition(list->highSet, at);
        }
    }
    gMapPathfindingG[cell] = g;
    gMapPathfindingF[cell] = cost;
    gMapPathfindingParent[cell] = code;
}

// One neighbour of the expanded cell. A new cell is appended; one reached before whose g-cost
// this route beats gets the lower cost. A blocking cell gets a code only as the destination
// (whose g-cost 0 is never beaten) or as the hunter's cell (which ends the search), so the
// obstacle grid is read for new cells only.
static inline void reachCell(OpenList* list, unsigned cell, bool nearer, uint32_t g, int32_t cost, uint8_t code) {
    if (gMapPathfindingParent[cell] == kDirectionUnvisited) {
        if (gMapMovementObstacle[cell] != 0 && cell != list->hunterCell) {
            return;
        }
        gMapPathfindingG[cell] = g;
        gMapPathfindingF[cell] = cost;
        gMapPathfindingParent[cell] = code;
        const unsigned position = list->count++;
        OpenCell[position] = static_cast<uint16_t>(cell);
        OpenPosition[cell] = static_cast<uint16_t>(position);
        if (nearer) {
            insertPosition(list->lowSet, position);
            list->lowFirst = position < list->lowFirst ? position : list->lowFirst;
        } else {
            insertPosition(list->highSet, position);
        }
    } else if (gMapPathfindingG[cell] > g) {
        lowerCost(list, cell, g, cost, code);
    }
}

// Takes the earliest entry of the lowest cost out of the list; the last entry moves into its place.
static inline unsigned takeCell(OpenList* list) {
    if (list->lowFirst == kNoPosition) {
        PositionSet* emptied = list->lowSet;
        list->lowSet = list->highSet;
        list->highSet = emptied;
        list->lowCost += 2;
        list->lowFirst = firstPosition(list->lowSet);
    }
    const unsigned position = list->lowFirst;
    const unsigned cell = OpenCell[position];
    const unsigned last = --list->count;
    if (position == last) {
        // The last entry was the earliest of its cost, so it was the only one.
        erasePosition(list->lowSet, position);
        list->lowFirst = kNoPosition;
        return cell;
    }
    const unsigned lastCell = OpenCell[last];
    if (containsPosition(list->lowSet, last)) {
        // The taken position's bit now marks the moved entry, still the earliest of its cost.
        erasePosition(list->lowSet, last);
    } else {
        erasePosition(list->lowSet, position);
        erasePosition(list->highSet, last);
        insertPosition(list->highSet, position);
        list->lowFirst = firstPositionFrom(list->lowSet, position);
    }
    OpenCell[position] = static_cast<uint16_t>(lastCell);
    OpenPosition[lastCell] = static_cast<uint16_t>(position);
    return cell;
}

int computeL1Norm(int dx, int dy) { return (dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy); }

static int clampInt(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

void clampCellIntoMap(int* row, int* column) {
    *row = clampInt(*row, 0, clampInt(gMapRows, 1, kGridSide) - 1);
    *column = clampInt(*column, 0, clampInt(gMapColumns, 1, kGridSide) - 1);
}

int computeHunterPath(int row, int column) {
    const int rows = clampInt(gMapRows, 1, kGridSide);
    const int columns = clampInt(gMapColumns, 1, kGridSide);
    clampCellIntoMap(&row, &column);
    const int hunterRow = gHunterY / gTileHeightToRender / 10;
    const int hunterColumn = gHunterX / gTileWidthToRender / 10;
    const bool hunterInGrid = hunterRow >= 0 && hunterRow < kGridSide && hunterColumn >= 0 && hunterColumn < kGridSide;
    const unsigned hunterCell = hunterInGrid ? hunterRow * kGridSide + hunterColumn : kGridCells;

    const unsigned destination = row * kGridSide + column;
    gMapPathfindingG[destination] = 0;
    gMapPathfindingF[destination] = 0;
    for (int r = 0; r < rows; r++) {
        memset(gMapPathfindingParent + r * kGridSide, kDirectionUnvisited, columns);
    }
    gMapPathfindingParent[destination] = kDirectionDestination;

    // The destination starts the list alone; its neighbours cost its heuristic or 2 more.
    clearOpenSets();
    OpenList list{&OpenSets[0], &OpenSets[1], computeL1Norm(row - hunterRow, column - hunterColumn), 1, 0, hunterCell};
    OpenCell[0] = static_cast<uint16_t>(destination);
    OpenPosition[destination] = 0;
    insertPosition(list.lowSet, 0);
    OpenHighWater = 1;

    int reached = 0;
    while (list.count > 0) {
        const unsigned cell = takeCell(&list);
        const uint32_t g = gMapPathfindingG[cell] + 1;
        const int r = static_cast<int>(cell / kGridSide);
        const int c = static_cast<int>(cell % kGridSide);
        const int32_t fartherCost = static_cast<int32_t>(g) + computeL1Norm(r - hunterRow, c - hunterColumn) + 1;
        // Right, up, left, down, each with the code of its step back to this cell.
        if (c < columns - 1) {
            const bool nearer = c < hunterColumn;
            reachCell(&list, cell + 1, nearer, g, nearer ? fartherCost - 2 : fartherCost, kDirectionLeft);
        }
        if (r > 0) {
            const bool nearer = r > hunterRow;
            reachCell(&list, cell - kGridSide, nearer, g, nearer ? fartherCost - 2 : fartherCost, kDirectionDown);
        }
        if (c > 0) {
            const bool nearer = c > hunterColumn;
            reachCell(&list, cell - 1, nearer, g, nearer ? fartherCost - 2 : fartherCost, kDirectionRight);
        }
        if (r < rows - 1) {
            const bool nearer = r < hunterRow;
            reachCell(&list, cell + kGridSide, nearer, g, nearer ? fartherCost - 2 : fartherCost, kDirectionUp);
        }
        OpenHighWater = list.count > OpenHighWater ? list.count : OpenHighWater;
        if (hunterCell < kGridCells && gMapPathfindingParent[hunterCell] != kDirectionUnvisited) {
            reached = 1;
            break;
        }
    }
    return reached;
}
