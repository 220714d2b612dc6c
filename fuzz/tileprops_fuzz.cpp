// Fuzzes the tile-property loader with arbitrary file contents.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "world/tileprops.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    std::vector<uint8_t> text(data, data + size);
    FILE* file = fmemopen(text.data(), text.size(), "r");
    if (file == nullptr) {
        return 0;
    }
    readTileProperties(file);
    fclose(file);
    if (gTileTypeMovement[0] != 0 || gTileTypeProjectiles[0] != 0 || gTileTypeOverlay[0] != 0) {
        __builtin_trap();
    }
    for (int id = 1; id < kTileIdCount; id++) {
        if (gTileTypeProjectiles[id] >= 64 || gTileTypeOverlay[id] >= 112) {
            __builtin_trap();
        }
    }
    return 0;
}
