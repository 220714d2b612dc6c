// A sheet whose every cell is one flat colour naming it, to tell which cell was drawn where.
#pragma once

#include "render/media.h"
#include "support/test_env.h"

// Puts in a slot a sheet of columns x rows cells coloured red 3 column + 1, green 8 row + 1, blue 128.
inline void installCodedSheet(int slot, int columns, int rows, int cellWidth, int cellHeight) {
    SDL_Surface* sheet =
        SDL_CreateRGBSurfaceWithFormat(0, columns * cellWidth, rows * cellHeight, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int row = 0; row < rows; row++) {
        for (int column = 0; column < columns; column++) {
            SDL_Rect cell{column * cellWidth, row * cellHeight, cellWidth, cellHeight};
            SDL_FillRect(sheet, &cell, SDL_MapRGB(sheet->format, Uint8(3 * column + 1), Uint8(8 * row + 1), 128));
        }
    }
    SDL_DestroyTexture(gTexture[slot]);
    gTexture[slot] = SDL_CreateTextureFromSurface(gRenderer, sheet);
    SDL_FreeSurface(sheet);
    SDL_SetRenderDrawColor(gRenderer, 0, 0, 0, 255);
    SDL_RenderClear(gRenderer);
}

// The coded cell seen at a screen point (the frame was cleared black), as column * 100 + row, or -1.
inline int cellSeenAt(int x, int y) {
    const SDL_Color c = readPixel(x, y);
    return c.b == 128 ? (c.r - 1) / 3 * 100 + (c.g - 1) / 8 : -1;
}
