// Fuzzes the tile-property loader with arbitrary file contents and checks each table stays in its range.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "world/tileprops.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> text(data, data + size);
    FILE* file = size > 0 ? fmemopen(text.data(), size, "r") : nullptr;
    if (file == nullptr) {
        return 0;
    }
    readTileProperties(file);
    fclose(file);
    for (int id = 0; id < kTileIdCount; id++) {
        if (gTileTypeProjectiles[id] >= 64 || gTileTypeOverlay[id] >= 112 ||
            (id == 0 && gTileTypeMovement[0] + gTileTypeProjectiles[0] + gTileTypeOverlay[0] != 0)) {
            __builtin_trap();
        }
    }
    return 0;
}
