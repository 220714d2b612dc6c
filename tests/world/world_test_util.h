// Helpers for the world tests: TMX text built in memory, read through the loaders with its output caught.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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

// A data block as Tiled writes it: a row per line, a comma after every value but the last; sep
// follows each comma within a row and eol ends each line.
inline std::string csvBlock(const std::vector<int>& values, int columns, const std::string& sep = "",
                            const std::string& eol = "\n") {
    std::string text = "<data encoding=\"csv\">" + eol;
    for (size_t i = 0; i < values.size(); i++) {
        text += std::to_string(values[i]) + (i + 1 < values.size() ? "," : "") + ((i + 1) % columns ? sep : eol);
    }
    return text + "</data>" + eol;
}

// A map of four layers of columns x rows ids in reading order: ground id 1, the rest empty.
struct TestMap {
    int columns;
    int rows;
    std::vector<int> layer[kMapLayers];
    TestMap(int c, int r) : columns(c), rows(r) {
        for (auto& ids : layer) {
            ids.assign(c * r, 0);
        }
        layer[0].assign(c * r, 1);
    }
    int& at(int l, int row, int column) { return layer[l][row * columns + column]; }
};

inline std::string toTmx(const TestMap& map, const std::string& music = "1") {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.8\" width=\"" +
                       std::to_string(map.columns) + "\" height=\"" + std::to_string(map.rows) +
                       "\" tilewidth=\"32\" tileheight=\"32\">\n <properties>\n  <property name=\"Music\" "
                       "type=\"int\" value=\"" +
                       music + "\"/>\n </properties>\n";
    for (const auto& ids : map.layer) {
        text += " <layer>\n  " + csvBlock(ids, map.columns) + " </layer>\n";
    }
    return text + "</map>\n";
}

// Empties the tile tables, the map and its obstacle grids.
inline void clearWorld() {
    memset(gTileTypeMovement, 0, sizeof gTileTypeMovement);
    memset(gTileTypeProjectiles, 0, sizeof gTileTypeProjectiles);
    memset(gTileTypeOverlay, 0, sizeof gTileTypeOverlay);
    memset(gMap, 0, sizeof gMap);
    memset(gMapMovementObstacle, 0, sizeof gMapMovementObstacle);
    memset(gMapProjectileObstacle, 0, sizeof gMapProjectileObstacle);
}
