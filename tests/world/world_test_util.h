// Helpers for the world tests: TMX text read through the loaders from memory, with their output caught.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "support/test_maps.h"
#include "world/map.h"
#include "world/tileprops.h"

// Runs fn and returns what it printed.
template <typename Fn> inline std::string printed(Fn fn) {
    testing::internal::CaptureStdout();
    fn();
    fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// Runs fn over text as if it were an open file.
template <typename Fn> inline void withTextFile(std::string text, Fn fn) {
    text += ' '; // fmemopen needs a byte; the size below leaves it out
    FILE* file = fmemopen(text.data(), text.size() - 1, "r");
    fn(file);
    fclose(file);
}

// Empties the tile tables, the map and its obstacle grids, and names the numbered map in messages.
inline void clearWorld() {
    memset(gTileTypeMovement, 0, sizeof gTileTypeMovement);
    memset(gTileTypeProjectiles, 0, sizeof gTileTypeProjectiles);
    memset(gTileTypeOverlay, 0, sizeof gTileTypeOverlay);
    memset(gMap, 0, sizeof gMap);
    memset(gMapMovementObstacle, 0, sizeof gMapMovementObstacle);
    memset(gMapProjectileObstacle, 0, sizeof gMapProjectileObstacle);
    gMapPath[0] = '\0';
    gMapNumber = 0;
}

// The text with the first occurrence of from replaced by to.
inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    return text.substr(0, at) + to + text.substr(at + from.size());
}

// The whole text of a file; empty when it cannot be read.
inline std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
