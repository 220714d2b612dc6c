// Text from the bitmap font: the cell of every character and digit, word wrap and the cursor.
#include <gtest/gtest.h>

#include "render/coded_sheet.h"
#include "render/font.h"

TEST(Font, EveryCharacterOfTheSheetDrawsItsCellOfTheStyleAndNoOtherCharacterDrawsAnything) {
    startHeadlessSDL();
    installCodedSheet(kTextureFont, kFontColumns, 5 * kFontRows, 10, 15); // style s, row r: sheet row 6 s + r
    // The sheet's rows; '~' marks a cell without a character.
    const char* const rows[kFontRows] = {"0123456789ABCDEF", "GHIJKLMNOPQRSTUV",   "WXYZabcdefghijkl",
                                         "mnopqrstuvwxyz.:", ",;|/\\'\"?!+-*=()_", "<>[]#$^~~~ "};
    for (int code = 0; code < 256; code++) {
        int cell = -1; // column * 100 + 6 * style + row, with style = code % 5
        for (int r = 0; r < kFontRows; r++)
            for (int c = 0; rows[r][c] != '\0'; c++)
                cell = rows[r][c] == char(code) && code != '~' ? c * 100 + kFontRows * (code % 5) + r : cell;
        SDL_RenderClear(gRenderer);
        EXPECT_EQ(renderCharacter(20, 30, char(code), code % 5), code == '\n' ? 2 : (cell < 0 ? 1 : 0)) << code;
        EXPECT_EQ(cellSeenAt(25, 37), cell) << "character " << code;
    }
    for (int digit = -1; digit <= 10; digit++) {
        SDL_RenderClear(gRenderer);
        const bool drawn = digit >= 0 && digit <= 9;
        EXPECT_EQ(renderDigit(20, 30, digit, 4), drawn ? 0 : 1) << "digit " << digit;
        EXPECT_EQ(cellSeenAt(25, 37), drawn ? digit * 100 + 24 : -1) << "digit " << digit;
    }
}

TEST(Font, TextWrapsWholeWordsAtTheLimitAndSeparatorsOnlyMoveTheCursor) {
    startHeadlessSDL(); // glyphs 10 pixels wide
    const struct {
        const char* name;
        int x, y, leftMargin, rightLimit;
        const char* text;
        int endX, endY;
    } cases[] = {
        // clang-format off
        {"a word ending on the limit stays", 125, 25, 125, 345, "abcdefghijklmnopqrstuv", 345, 25},
        {"a word passing the limit wraps", 345, 25, 125, 350, " x", 135, 40},
        {"a later word that fits stays", 0, 0, 0, 100, "abcd efgh", 90, 0},
        {"a word wider than a line wraps even at a line's start", 125, 100, 125, 350, "abcdefghijklmnopqrstuvw", 355, 115},
        {"line feeds begin lines at the margin", 50, 0, 2, 800, "\nab\n\ncd   e", 62, 45},
        {"spaces never wrap", 790, 0, 2, 800, "          ", 890, 0},
        {"an empty text past the limit wraps once", 810, 583, 2, 800, "", 2, 598},
        // clang-format on
    };
    for (const auto& c : cases) {
        gTextX = c.x;
        gTextY = c.y;
        EXPECT_EQ(renderText(c.leftMargin, c.rightLimit, c.text, 0), 0) << c.name;
        EXPECT_TRUE(gTextX == c.endX && gTextY == c.endY) << c.name << ": cursor at " << gTextX << "," << gTextY;
    }
}
