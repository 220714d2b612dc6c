// Small maps and tile-property files written by tests into their Common/ copy.
#include "support/test_maps.h"

#include "support/test_env.h"

TestMap makeOpenMap(int columns, int rows) {
    TestMap map{columns, rows, 1, {}};
    for (auto& layer : map.layer) {
        layer.assign(size_t(columns * rows), 0);
    }
    map.layer[0].assign(size_t(columns * rows), kTestGround);
    return map;
}

void setCell(TestMap* map, int layer, int row, int column, int id) {
    map->layer[layer][size_t(row * map->columns + column)] = id;
}

static std::string formatLayer(const std::vector<int>& values, int columns, int rows) {
    std::string text = "  <data encoding=\"csv\">\n";
    for (int row = 0; row < rows; row++) {
        for (int column = 0; column < columns; column++) {
            text += std::to_string(values[size_t(row * columns + column)]);
            if (row < rows - 1 || column < columns - 1) {
                text += ",";
            }
        }
        text += "\n";
    }
    return text + "</data>\n";
}

std::string formatMap(const TestMap& map) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.8\" tiledversion=\"1.8.2\" "
                       "orientation=\"orthogonal\" renderorder=\"right-down\" width=\"" +
                       std::to_string(map.columns) + "\" height=\"" + std::to_string(map.rows) +
                       "\" tilewidth=\"32\" tileheight=\"32\" infinite=\"0\" nextlayerid=\"5\" nextobjectid=\"1\">\n"
                       " <properties>\n  <property name=\"Music\" type=\"int\" value=\"" +
                       std::to_string(map.music) + "\"/>\n </properties>\n";
    for (int layer = 0; layer < 4; layer++) {
        text += " <layer id=\"" + std::to_string(layer + 1) + "\" name=\"Layer " + std::to_string(layer) +
                "\" width=\"" + std::to_string(map.columns) + "\" height=\"" + std::to_string(map.rows) + "\">\n";
        text += formatLayer(map.layer[layer], map.columns, map.rows) + " </layer>\n";
    }
    return text + "</map>\n";
}

std::string formatTestProperties() {
    std::vector<int> legend(192);
    std::vector<int> movement(192, 0);
    std::vector<int> projectiles(192, 0);
    std::vector<int> overlay(192, 0);
    for (int id = 1; id <= 192; id++) {
        legend[size_t(id - 1)] = id;
    }
    auto set = [&](int id, int blocksMovement, int blocksSight, int overlayClass) {
        movement[size_t(id - 1)] = blocksMovement;
        projectiles[size_t(id - 1)] = blocksSight;
        overlay[size_t(id - 1)] = overlayClass;
    };
    set(kTestGround, 0, 0, 1);
    set(kTestIce, 1, 0, 1);
    set(kTestRock, 1, 1, 2);
    set(kTestBush, 0, 1, 3);
    for (int id = 21; id <= 39; id++) {
        set(id, 0, 0, 1);
    }
    std::string text = "<map width=\"64\" height=\"3\">\n";
    for (const auto* layer : {&legend, &movement, &projectiles, &overlay}) {
        text += "<layer>" + formatLayer(*layer, 64, 3) + "</layer>\n";
    }
    return text + "</map>\n";
}

void writeTestWorld(const TestMap& map) {
    writeCommonFile("properties.tmx", formatTestProperties());
    writeCommonFile("map00000.tmx", formatMap(map));
}
