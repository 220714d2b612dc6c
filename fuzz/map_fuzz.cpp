// Fuzzes the map loader with arbitrary file contents and checks the loaded state stays in its tables
// and the layout it describes is sound.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "render/mapview.h"
#include "world/map.h"
#include "world/maplayout.h"
#include "world/tileprops.h"

// Every run starts from an all-empty map and empties again only the window it loaded, so a run
// costs what its map's size costs rather than four whole grids.
static const uint16_t Empty[kGridCells] = {}; // a grid of empty cells to compare with; never changes

// True when the map holds only tile ids with table entries and no markers inside the window of rows
// x columns, and only empty cells outside it; empties the window for the next run. Kept out of the
// coverage feedback so the loader alone steers the fuzzer.
__attribute__((no_sanitize("coverage"))) static bool checkAndEmptyWindow(int rows, int columns) {
    for (int layer = 0; layer < kMapLayers; layer++) {
        uint16_t* grid = gMap + layer * kGridCells;
        for (uint16_t* cells = grid; cells < grid + rows * kGridSide; cells += kGridSide) {
            if (memcmp(cells + columns, Empty, (kGridSide - columns) * sizeof *cells) != 0) {
                return false;
            }
            for (int column = 0; column < columns; column++) {
                const bool marker =
                    layer == 3 && (cells[column] == kDeerStartMarker || cells[column] == kHuntingSpotMarker);
                if (cells[column] >= kTileIdCount || marker) {
                    return false;
                }
            }
            memset(cells, 0, columns * sizeof *cells);
        }
        if (memcmp(grid + rows * kGridSide, Empty, (kGridSide - rows) * kGridSide * sizeof *grid) != 0) {
            return false;
        }
    }
    return true;
}

// True when the layout the loader described holds terminated names and layer numbers in range.
__attribute__((no_sanitize("coverage"))) static bool isLayoutSound(const MapLayout& layout) {
    for (int layer = 0; layer < kLayoutLayers; layer++) {
        if (memchr(layout.layer[layer].name, '\0', kLayoutNameSize) == nullptr) {
            return false;
        }
    }
    for (int as : layout.readAs) {
        if (as < -1 || as >= layout.tileLayers) {
            return false;
        }
    }
    return memchr(layout.firstObjectLayer, '\0', kLayoutNameSize) != nullptr &&
           memchr(layout.otherMusicType, '\0', kLayoutTypeSize) != nullptr && layout.tileWidth > 0 &&
           layout.tileHeight > 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = size > 0 ? fmemopen(const_cast<uint8_t*>(data), size, "r") : nullptr;
    if (file == nullptr) {
        return 0;
    }
    gTileWidthToRender = gTileHeightToRender = 64;
    gHuntingSpots = gMapRows = gMapColumns = 0;
    int music = -7;
    const int result = readMap(file, 1, &music);
    fclose(file);
    const bool sized =
        gMapRows >= kMinMapRows && gMapRows <= kGridSide && gMapColumns >= kMinMapColumns && gMapColumns <= kGridSide;
    // A refused file leaves the map as it was: empty, with no size.
    const bool refused = result == 2 && music == -1 && gMapRows == 0 && gMapColumns == 0;
    if ((result == 0 ? !sized : !refused) || music < -1 || music > 99 || gHuntingSpots > kMaxHuntingSpots ||
        !checkAndEmptyWindow(gMapRows, gMapColumns) || !isLayoutSound(gMapLayout)) {
        __builtin_trap();
    }
    return 0;
}
