// Fuzzes the map loader with arbitrary file contents and checks the loaded state stays in its tables.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "render/mapview.h"
#include "world/map.h"
#include "world/tileprops.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    gTileWidthToRender = gTileHeightToRender = 64;
    gTileTypeMovement[19] = gTileTypeProjectiles[19] = 1;
    gHuntingSpots = 0;
    gFoodLeftToEat = -2;
    std::vector<uint8_t> text(data, data + size);
    FILE* file = fmemopen(text.data(), text.size(), "r");
    if (file == nullptr) {
        return 0;
    }
    int music = -7;
    const int result = readMap(file, 1, &music);
    fclose(file);
    if (result != 0 && result != 2) {
        __builtin_trap();
    }
    if (music < -1 || music > 99 || (result != 0 && music != -1)) {
        __builtin_trap();
    }
    if (gHuntingSpots < 0 || gHuntingSpots > kMaxHuntingSpots) {
        __builtin_trap();
    }
    if (result == 0) {
        if (gMapRows < kMinMapRows || gMapRows > kGridSide || gMapColumns < kMinMapColumns || gMapColumns > kGridSide) {
            __builtin_trap();
        }
        for (int row = 0; row < gMapRows; row++) {
            for (int column = 0; column < gMapColumns; column++) {
                for (int layer = 0; layer < kMapLayers; layer++) {
                    if (gMap[layer * kGridCells + row * kGridSide + column] >= kTileIdCount) {
                        __builtin_trap();
                    }
                }
                const uint16_t marker = gMap[3 * kGridCells + row * kGridSide + column];
                if (marker == kDeerStartMarker || marker == kHuntingSpotMarker) {
                    __builtin_trap();
                }
            }
        }
    }
    return 0;
}
