// Fuzzes the tile-property loader with arbitrary file contents and checks each table stays in its range.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "world/tileprops.h"

constexpr int kReadIds = kTilePropertyRows * kTilePropertyColumns + 1; // entries 0 to 192 are read
static const uint8_t Untouched[kTileIdCount] = {};                     // the tables past them; never changes

// True when each table holds values in its range for the ids read, all zero for the empty cell, and
// is left untouched past them. Kept out of the coverage feedback so the loader alone steers.
__attribute__((no_sanitize("coverage"))) static bool tablesInRange() {
    for (int id = 0; id < kReadIds; id++) {
        if (gTileTypeProjectiles[id] >= 64 || gTileTypeOverlay[id] >= 112) {
            return false;
        }
    }
    const size_t rest = kTileIdCount - kReadIds;
    return gTileTypeMovement[0] + gTileTypeProjectiles[0] + gTileTypeOverlay[0] == 0 &&
           memcmp(gTileTypeMovement + kReadIds, Untouched, rest) == 0 &&
           memcmp(gTileTypeProjectiles + kReadIds, Untouched, rest) == 0 &&
           memcmp(gTileTypeOverlay + kReadIds, Untouched, rest) == 0;
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
