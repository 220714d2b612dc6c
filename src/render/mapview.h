// Drawing the world through the camera: map passes by overlay class, sprites and falling snow.
#pragma once

constexpr int gTileWidthInFile = 32; // tile cell in Tiles.png, pixels
constexpr int gTileHeightInFile = 32;
constexpr int gPlayerWidthInFile = 32; // entity cell in the sprite sheets, pixels
constexpr int gPlayerHeightInFile = 32;
constexpr int kTileSheetColumns = 64;
constexpr int kSnowPhases = 16;
constexpr int kSnowFramePeriod = 129; // renderSnow's counter runs 0..128

// Row ranges of renderMap.
constexpr int kAllRows = 0;
constexpr int kRowsAboveDeer = 1;
constexpr int kRowsFromDeer = 2;

extern int gTileWidthToRender; // map cell on screen, pixels (64)
extern int gTileHeightToRender;
extern int gPlayerWidthToRender; // sprite on screen, pixels (64)
extern int gPlayerHeightToRender;
extern int gScreenX; // map pixel at the screen's top-left corner
extern int gScreenY;

// Visible window of 64-pixel cells: rows [*firstRow, *endRow), columns [*firstColumn, *endColumn).
void computeVisibleWindow(int cellWidth, int cellHeight, int* firstRow, int* endRow, int* firstColumn, int* endColumn);

// Draws every visible tile, in any layer, whose overlay class is overlay, over rowRange. The
// drawing functions draw nothing without a renderer (headless play); renderSnow still advances.
void renderMap(int overlay, int rowRange);

// Advances the snow animation one step and draws sheet row sheetRow over the visible window.
void renderSnow(int sheetRow);

// Draws sheet cell (frame, orientation) of a texture slot as a 64 x 64 sprite centred on (x/10, y/10).
void renderEntity(int textureSlot, int x, int y, int frame, int orientation);

// Centres the camera on map point (x, y), held inside the map.
void centerScreenOnXY(int x, int y);
