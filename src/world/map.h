// The map: four layers of tile ids, the obstacle grids derived from them, markers and food.
#pragma once

#include <cstdint>
#include <cstdio>

constexpr int kGridSide = 256; // every per-cell grid is 256 x 256
constexpr int kGridCells = kGridSide * kGridSide;
constexpr int kMapLayers = 4;
constexpr int kMinMapColumns = 13; // 13 x 64 pixels fill the 800-pixel screen
constexpr int kMinMapRows = 9;
constexpr int kMaxHuntingSpots = 64;
constexpr uint16_t kFirstFoodTile = 21; // layer 1 ids 21 to 39 are grass
constexpr uint16_t kLastFoodTile = 39;
constexpr uint16_t kDeerStartMarker = 20; // layer 3 marker tiles, removed on load
constexpr uint16_t kHuntingSpotMarker = 84;
constexpr int kMapPathSize = 4096; // a map file's path, with its terminating zero
// What each layer holds, in the order the game reads them; the names Tiled's layers should carry.
constexpr const char* kLayerNames[kMapLayers] = {"Ground", "Grass", "Objects", "Markers"};

extern uint16_t gMap[kMapLayers * kGridCells];     // tile ids, index layer * 65536 + row * 256 + column
extern int gMapRows;                               // map height in cells (9..256 after a load)
extern int gMapColumns;                            // map width in cells (13..256 after a load)
extern int gMapRowsRead;                           // the map's height as its file gives it, before widening (1..256)
extern int gMapColumnsRead;                        // the map's width as its file gives it, before widening (1..256)
extern uint8_t gMapMovementObstacle[kGridCells];   // 1: the cell blocks movement
extern uint8_t gMapProjectileObstacle[kGridCells]; // 1: the cell blocks projectiles and sight
extern int gHuntingSpotRow[kMaxHuntingSpots];      // hunting spots in reading order
extern int gHuntingSpotColumn[kMaxHuntingSpots];
extern int gHuntingSpots;  // number of hunting spots (0..64)
extern int gFoodLeftToEat; // food tiles still to eat; the game is won at 0
extern int gMapNumber;     // selects "../Common/map%05d.tmx" (0..99999)
extern int gPlayerX;       // deer centre, tenths of a map pixel
extern int gPlayerY;
extern char gMapPath[kMapPathSize]; // the map file loaded in place of the numbered one; empty: none
// The ids as the last accepted file gave them, markers included, 0 where the map was widened.
extern uint16_t gMapLayersRead[kMapLayers * kGridCells];

// True for the grass tiles of layer 1 that the deer can eat.
constexpr bool isFoodTile(uint16_t id) { return id >= kFirstFoodTile && id <= kLastFoodTile; }

// Loads the map at gMapPath, or map gMapNumber when it is empty, derives the obstacle grids, takes
// out the markers (placing the deer on its start when placeDeer is nonzero), counts the food,
// starts the map's music and widens small maps. Returns 0 when the file was opened and read, 1
// when it could not be opened (or is not a regular file) or was refused (see readMap; nothing
// changed, no music started).
int loadMap(int placeDeer);

// The map file's name as messages give it: the last part of gMapPath, or "map%05d.tmx".
const char* mapFileName();

// Reads a map from an open, seekable text stream exactly as loadMap does, without opening or music,
// and describes its layout in gMapLayout. Returns 0 when read, 2 when the file was refused (nothing
// changed): not a map, no width or height on the map element, a size outside 1 x 1 to 256 x 256,
// an infinite map, no int Music property, or fewer than four CSV tile layers. Tile ids outside 0
// to 4096 are read as empty cells, a layer that ends early leaves the rest of its cells empty, and
// hunting spots past the 64th are left out, each with its message (one for each cause, naming the
// first cell and how many). Layers out of order, more than four tile layers and a Music property
// that is not the map's own are reported too. The music number is stored in *musicNumber (-1 when
// the map gives none that can be used).
int readMap(FILE* file, int placeDeer, int* musicNumber);

// The layer (0 to 3) whose name, in any case, a Tiled layer's name is ("Grass": 1), or -1.
int findLayerByName(const char* name);

// Recomputes the movement and projectile bytes of one cell from its four tile ids.
void computeObstacle(int row, int column);
