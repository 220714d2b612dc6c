// Small maps and tile-property files written by tests into their Common/ copy.
#pragma once

#include <string>
#include <vector>

// Tile ids the test files give properties to.
constexpr int kTestGround = 1; // drawn in the ground pass, free
constexpr int kTestIce = 9;    // stops movement, not sight
constexpr int kTestRock = 18;  // stops movement and sight, drawn around the deer
constexpr int kTestBush = 40;  // stops sight only, drawn over the deer
constexpr int kTestGrass = 21; // food
constexpr int kTestStart = 20; // deer start marker
constexpr int kTestSpot = 84;  // hunting-spot marker

// A map of four layers, each rows x columns tile ids.
struct TestMap {
    int columns, rows, music;
    std::vector<int> layer[4];
};

// A map of ground everywhere and nothing else.
TestMap makeOpenMap(int columns, int rows);

// Sets one cell of one layer.
void setCell(TestMap* map, int layer, int row, int column, int id);

// The TMX text of a map as the editor writes it.
std::string formatMap(const TestMap& map);

// A properties.tmx giving the test tile ids above their properties.
std::string formatTestProperties();

// Writes properties.tmx and map00000.tmx into the current Common/ copy.
void writeTestWorld(const TestMap& map);
