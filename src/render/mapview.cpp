// Drawing the world through the camera: map passes by overlay class, sprites and falling snow.
#include "render/mapview.h"

#include "render/media.h"
#include "world/map.h"
#include "world/tileprops.h"

int gTileWidthToRender;
int gTileHeightToRender;
int gPlayerWidthToRender;
int gPlayerHeightToRender;
int gScreenX;
int gScreenY;

constexpr int kSnowCell = 64;       // the snow is laid on the map's 64-pixel grid
constexpr int kSnowPhaseFrames = 8; // calls per snow phase
constexpr int kSnowPhaseStep = 32;  // source pixels between phases

static int ceilDivide(int value, int divisor) { return value / divisor + (value % divisor > 0 ? 1 : 0); }

void computeVisibleWindow(int cellWidth, int cellHeight, int* firstRow, int* endRow, int* firstColumn, int* endColumn) {
    *firstRow = gScreenY / cellHeight;
    *endRow = ceilDivide(gScreenY + kScreenHeight, cellHeight);
    *firstColumn = gScreenX / cellWidth;
    *endColumn = ceilDivide(gScreenX + kScreenWidth, cellWidth);
}

// Clamps a visible range to the grids so that a camera above or left of the map, or a window
// past row or column 255, never reads outside them.
static void clampToGrid(int* first, int* end) {
    if (*first < 0) {
        *first = 0;
    }
    if (*end > kGridSide) {
        *end = kGridSide;
    }
}

void renderMap(int overlay, int rowRange) {
    if (gRenderer == nullptr) {
        return; // headless play: nothing to draw
    }
    int firstRow = 0;
    int endRow = 0;
    int firstColumn = 0;
    int endColumn = 0;
    computeVisibleWindow(gTileWidthToRender, gTileHeightToRender, &firstRow, &endRow, &firstColumn, &endColumn);
    int deerRow = ((gPlayerY + 100) / gTileHeightToRender) / 10;
    if (rowRange == kRowsAboveDeer) {
        endRow = deerRow;
    } else if (rowRange == kRowsFromDeer) {
        firstRow = deerRow;
    }
    clampToGrid(&firstRow, &endRow);
    clampToGrid(&firstColumn, &endColumn);
    SDL_Rect source{0, 0, gTileWidthInFile, gTileHeightInFile};
    SDL_Rect destination{0, 0, gTileWidthToRender, gTileHeightToRender};
    for (int row = firstRow; row < endRow; row++) {
        for (int column = firstColumn; column < endColumn; column++) {
            for (int layer = 0; layer < kMapLayers; layer++) {
                uint16_t id = gMap[layer * kGridCells + row * kGridSide + column];
                if (id == 0 || id >= kTileIdCount || gTileTypeOverlay[id] != overlay) {
                    continue;
                }
                source.x = gTileWidthInFile * ((id - 1) % kTileSheetColumns);
                source.y = gTileHeightInFile * ((id - 1) / kTileSheetColumns);
                destination.x = column * gTileWidthToRender - gScreenX;
                destination.y = row * gTileHeightToRender - gScreenY;
                SDL_RenderCopy(gRenderer, gTexture[kTextureTiles], &source, &destination);
            }
        }
    }
}

void renderSnow(int sheetRow) {
    static int Frame = 0; // animation step, runs 0..128 and on across games
    Frame++;
    if (Frame >= kSnowFramePeriod) {
        Frame = 0;
    }
    if (gRenderer == nullptr) {
        return;
    }
    int firstRow = 0;
    int endRow = 0;
    int firstColumn = 0;
    int endColumn = 0;
    computeVisibleWindow(kSnowCell, kSnowCell, &firstRow, &endRow, &firstColumn, &endColumn);
    SDL_Rect source{0, kSnowCell * sheetRow, kSnowCell, kSnowCell};
    SDL_Rect destination{0, 0, kSnowCell, kSnowCell};
    for (int j = firstColumn; j < endColumn; j++) {
        source.x = kSnowPhaseStep * ((Frame / kSnowPhaseFrames + j) % kSnowPhases);
        destination.x = kSnowCell * j - gScreenX;
        for (int i = firstRow; i < endRow; i++) {
            destination.y = kSnowCell * i - gScreenY;
            SDL_RenderCopy(gRenderer, gTexture[kTextureSnow], &source, &destination);
        }
    }
}

void renderEntity(int textureSlot, int x, int y, int frame, int orientation) {
    if (gRenderer == nullptr) {
        return;
    }
    SDL_Rect source{gPlayerWidthInFile * frame, gPlayerHeightInFile * orientation, gPlayerWidthInFile,
                    gPlayerHeightInFile};
    SDL_Rect destination{x / 10 - gPlayerWidthToRender / 2 - gScreenX, y / 10 - gPlayerHeightToRender / 2 - gScreenY,
                         gPlayerWidthToRender, gPlayerHeightToRender};
    SDL_RenderCopy(gRenderer, gTexture[textureSlot], &source, &destination);
}

void centerScreenOnXY(int x, int y) {
    int mapWidth = gMapColumns * gTileWidthToRender;
    int mapHeight = gMapRows * gTileHeightToRender;
    if (x <= kScreenWidth / 2) {
        gScreenX = 0;
    } else if (x >= mapWidth - kScreenWidth / 2) {
        gScreenX = mapWidth - kScreenWidth;
    } else {
        gScreenX = x - kScreenWidth / 2;
    }
    if (y <= kScreenHeight / 2) {
        gScreenY = 0;
    } else if (y >= mapHeight - kScreenHeight / 2) {
        gScreenY = mapHeight - kScreenHeight;
    } else {
        gScreenY = y - kScreenHeight / 2;
    }
}
