// Fuzzes the map loader with arbitrary file contents and checks the loaded state stays in its tables.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "render/mapview.h"
#include "world/map.h"
#include "world/tileprops.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> text(data, data + size);
    FILE* file = size > 0 ? fmemopen(text.data(), size, "r") : nullptr;
    if (file == nullptr) {
        return 0;
    }
    gTileWidthToRender = gTileHeightToRender = 64;
    gHuntingSpots = 0;
    static std::vector<uint16_t> Before; // the map as it was before this read
    Before.assign(gMap, gMap + kMapLayers * kGridCells);
    int music = -7;
    const int result = readMap(file, 1, &music);
    fclose(file);
    const bool refused = result == 2 && music == -1 && memcmp(Before.data(), gMap, sizeof gMap) == 0;
    const bool sized =
        gMapRows >= kMinMapRows && gMapRows <= kGridSide && gMapColumns >= kMinMapColumns && gMapColumns <= kGridSide;
    if ((result == 0 ? !sized : !refused) || music < -1 || music > 99 || gHuntingSpots > kMaxHuntingSpots) {
        __builtin_trap();
    }
    for (int i = 0; i < kMapLayers * kGridCells; i++) { // every id has table entries; markers are gone
        const bool marker = i >= 3 * kGridCells && (gMap[i] == kDeerStartMarker || gMap[i] == kHuntingSpotMarker);
        if (gMap[i] >= kTileIdCount || marker) {
            __builtin_trap();
        }
    }
    return 0;
}
