// Small maps and tile-property files written by tests into their Common/ copy.
#include "support/test_maps.h"

#include "support/test_env.h"

TestMap makeOpenMap(int columns, int rows) {
    const std::vector<int> empty(size_t(columns * rows), 0);
    return TestMap{columns, rows, 1, {std::vector<int>(empty.size(), kTestGround), empty, empty, empty}};
}

void setCell(TestMap* map, int layer, int row, int column, int id) {
    map->layer[layer][size_t(row * map->columns + column)] = id;
}

// A CSV data block: one row a line, a comma after every value but the last.
static std::string formatLayer(const std::vector<int>& values, int columns) {
    std::string text = "  <data encoding=\"csv\">\n";
    for (size_t i = 0; i < values.size(); i++) {
        text += std::to_string(values[i]) + (i + 1 < values.size() ? "," : "");
        text += (i + 1) % size_t(columns) == 0 ? "\n" : "";
    }
    return text + "</data>\n";
}

std::string formatMap(const TestMap& map) {
    const std::string size =
        "width=\"" + std::to_string(map.columns) + "\" height=\"" + std::to_string(map.rows) + "\"";
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.8\" tiledversion=\"1.8.2\" "
                       "orientation=\"orthogonal\" renderorder=\"right-down\" " +
                       size +
                       " tilewidth=\"32\" tileheight=\"32\" infinite=\"0\" nextlayerid=\"5\" nextobjectid=\"1\">\n"
                       " <properties>\n  <property name=\"Music\" type=\"int\" value=\"" +
                       std::to_string(map.music) + "\"/>\n </properties>\n";
    for (int layer = 0; layer < 4; layer++) {
        text += " <layer id=\"" + std::to_string(layer + 1) + "\" name=\"Layer " + std::to_string(layer) + "\" " +
                size + ">\n" + formatLayer(map.layer[layer], map.columns) + " </layer>\n";
    }
    return text + "</map>\n";
}

std::string formatTestProperties() {
    // The legend shows every id; the other layers give each id its movement and projectile
    // markers and its overlay class (grass is free ground).
    const int properties[][4] = {
        {kTestGround, 0, 0, 1}, {kTestIce, 1, 0, 1}, {kTestRock, 1, 1, 2}, {kTestBush, 0, 1, 3}};
    std::string text = "<map width=\"64\" height=\"3\">\n";
    for (int layer = 0; layer < 4; layer++) {
        std::vector<int> values(192);
        for (int id = 1; id <= 192; id++) {
            values[size_t(id - 1)] = layer == 0 ? id : layer == 3 && id >= kTestGrass && id <= 39;
        }
        for (const auto& p : properties) {
            values[size_t(p[0] - 1)] = layer == 0 ? p[0] : p[layer];
        }
        text += "<layer>" + formatLayer(values, 64) + "</layer>\n";
    }
    return text + "</map>\n";
}

void writeTestWorld(const TestMap& map) {
    writeCommonFile("properties.tmx", formatTestProperties());
    writeCommonFile("map00000.tmx", formatMap(map));
}
