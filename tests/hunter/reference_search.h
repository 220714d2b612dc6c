// The plain A* search with a linear scan of its open list, the yardstick for the fast search.
#pragma once

// Cells reached again with a lower g-cost during the searches so far.
extern long gReferenceLowered;

// Same contract and the same writes to gMapPathfindingG, gMapPathfindingF and gMapPathfindingParent
// as computeHunterPath, found by scanning the whole open list for every selection.
int referenceComputeHunterPath(int row, int column);
