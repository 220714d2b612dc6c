// Maps drawn as rows of letters for the player program's tests: '.' snow, 'R' rock, 'b' bush,
// 'G' grass. Header only: the decision code's tests link nothing of the game's.
#pragma once

#include <string>
#include <vector>

#include "bot/botmap.h"

// Learns a drawing as the player would know the map; off the drawing lies the map's edge.
inline void learnBotDrawing(BotMap* map, const std::vector<std::string>& rows) {
    static uint8_t Cells[kBotGridCells]; // the drawing in view bits
    const int columns = int(rows[0].size());
    for (int row = 0; row < int(rows.size()); row++) {
        for (int column = 0; column < columns; column++) {
            const char c = rows[size_t(row)][size_t(column)];
            Cells[row * kBotGridSide + column] =
                uint8_t((c == 'R' ? kBotCellBlocks | kBotCellHidesSight : 0) | (c == 'b' ? kBotCellHidesSight : 0) |
                        (c == 'G' ? kBotCellGrass : 0));
        }
    }
    learnBotMap(map, Cells, int(rows.size()), columns);
}
