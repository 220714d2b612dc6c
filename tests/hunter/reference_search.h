// The plain A* search with a linear scan of its open list, the yardstick for the fast search.
#pragma once

// Cells reached again with a lower g-cost during the searches so far.
extern long gReferenceLowered;

// computeHunterPath's contract and writes to the three grids, found by scanning the whole open list.
int referenceComputeHunterPath(int row, int column);
