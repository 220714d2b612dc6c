// Helpers for the world tests: TMX text built in memory and read through the loaders.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "world/map.h"
#include "world/tileprops.h"

// Runs fn over text as if it were an open file.
template <typename Fn>
inline void withTextFile(std::string text, Fn fn) {
    text += ' ';   // fmemopen needs a byte; the size below leaves it out
    FILE* file = fmemopen(text.data(), text.size() - 1, "r");
    fn(file);
    fclose(file);
}

// Rows of comma-separated values as Tiled writes them: each row on its own line, a comma after every
// value but the last; sep follows each comma within a row and eol ends each line.
inline std::string csvBlock(const std::vector<int>& values, int columns, const std::string& sep = "",
                            const std::string& eol = "\n") {
    std::string text = "<data encoding=\"csv\">" + eol;
    for (size_t i = 0; i < values.size(); i++) {
        text += std::to_string(values[i]);
        if (i + 1 < values.size()) {
            text += ",";
        }
        text += (i + 1) % columns == 0 ? eol : sep;
    }
    return text + "</data>" + eol;
}

// A map of four layers, each rows x columns ids in reading order.
struct TestMap {
    int columns;
    int rows;
    std::vector<int> layer[kMapLayers];
};

inline TestMap emptyTestMap(int columns, int rows) {
    TestMap map{columns, rows, {}};
    for (auto& layer : map.layer) {
        layer.assign(columns * rows, 0);
    }
    map.layer[0].assign(columns * rows, 1);
    return map;
}

inline std::string toTmx(const TestMap& map, const std::string& music = "1", const std::string& sep = "",
                         const std::string& eol = "\n") {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + eol + "<map version=\"1.8\" width=\"" +
                       std::to_string(map.columns) + "\" height=\"" + std::to_string(map.rows) +
                       "\" tilewidth=\"32\" tileheight=\"32\">" + eol + " <properties>" + eol +
                       "  <property name=\"Music\" type=\"int\" value=\"" + music + "\"/>" + eol + " </properties>" +
                       eol;
    for (const auto& layer : map.layer) {
        text += " <layer>" + eol + "  " + csvBlock(layer, map.columns, sep, eol) + " </layer>" + eol;
    }
    return text + "</map>" + eol;
}

inline int readMapText(const std::string& text, int placeDeer, int* musicNumber) {
    int result = -1;
    withTextFile(text, [&](FILE* file) { result = readMap(file, placeDeer, musicNumber); });
    return result;
}
