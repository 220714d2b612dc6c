// Fuzzes the tile-property loader with arbitrary file contents and checks each table stays in its range.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "world/tileprops.h"

// True when each table holds values in its range, and the entries the file does not give (the empty
// cell and the ids past the grid) are all zero. Kept out of the coverage feedback so the loader alone
// steers the fuzzer.
__attribute__((no_sanitize("coverage"))) static bool tablesInRange() {
    for (int id = 0; id < kTileIdCount; id++) {
        const bool given = id > 0 && id <= kTilePropertyRows * kTilePropertyColumns;
        if (gTileTypeProjectiles[id] >= 64 || gTileTypeOverlay[id] >= 112 ||
            (!given && gTileTypeMovement[id] + gTileTypeProjectiles[id] + gTileTypeOverlay[id] != 0)) {
            return false;
        }
    }
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = size > 0 ? fmemopen(const_cast<uint8_t*>(data), size, "r") : nullptr;
    if (file == nullptr) {
        return 0;
    }
    readTileProperties(file);
    fclose(file);
    if (!tablesInRange()) {
        __builtin_trap();
    }
    return 0;
}
