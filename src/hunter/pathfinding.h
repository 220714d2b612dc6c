// A* search over the movement grid, from a destination back to the hunter's cell.
#pragma once

#include <cstdint>

#include "world/map.h"

// Direction codes of gMapPathfindingParent and of moveHunter's result.
constexpr uint8_t kDirectionUnvisited = 0;
constexpr uint8_t kDirectionDestination = 1;
constexpr uint8_t kDirectionRight = 2;
constexpr uint8_t kDirectionUp = 3;
constexpr uint8_t kDirectionLeft = 4;
constexpr uint8_t kDirectionDown = 5;

extern uint32_t gMapPathfindingG[kGridCells];     // steps from the destination (g-cost)
extern int32_t gMapPathfindingF[kGridCells];      // g-cost plus the Manhattan heuristic (f-cost)
extern uint8_t gMapPathfindingParent[kGridCells]; // direction code: the step towards the destination

// |dx| + |dy|.
int computeL1Norm(int dx, int dy);

// Clamps a destination cell into the map, as computeHunterPath does: a deer track can lie in the
// row just below the map, and the search then starts from the last row.
void clampCellIntoMap(int* row, int* column);

// Fills the direction field over the map from the destination cell (clamped into the map) until
// the hunter's cell is reached; cells outside the map are left alone. Blocking cells are never
// entered, except the hunter's own, so a hunter standing on one can still be led out. Returns 1
// when his cell was reached, 0 when the search ran out of cells first.
int computeHunterPath(int row, int column);
