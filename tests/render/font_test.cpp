// Text layout: word wrap, line feeds, spaces, the carried cursor, glyph lookup and the cells drawn.
#include <gtest/gtest.h>

#include "render/font.h"
#include "render/media.h"
#include "support/test_env.h"

namespace {

// A font sheet whose every cell is one flat colour that names it: red = column, green = row, blue = style.
void installCodedFont() {
    startHeadlessSDL();
    SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, 160, 450, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int style = 0; style < 5; style++) {
        for (int row = 0; row < kFontRows; row++) {
            for (int column = 0; column < kFontColumns; column++) {
                SDL_Rect cell{10 * column, 15 * (6 * style + row), 10, 15};
                SDL_FillRect(sheet, &cell, SDL_MapRGB(sheet->format, 10 * column + 5, 20 * row + 5, 40 * style + 5));
            }
        }
    }
    SDL_DestroyTexture(gTexture[kTextureFont]);
    gTexture[kTextureFont] = SDL_CreateTextureFromSurface(gRenderer, sheet);
    SDL_FreeSurface(sheet);
    SDL_SetRenderDrawColor(gRenderer, 0, 0, 0, 255);
    SDL_RenderClear(gRenderer);
}

// The glyph cell drawn with its top-left corner at (x, y): {column, row, style}, or -1s when none.
struct Cell {
    int column, row, style;
    bool operator==(const Cell&) const = default;
};
Cell cellAt(int x, int y) {
    SDL_Color c = readPixel(x + 5, y + 7);
    if (c.r == 0 && c.g == 0 && c.b == 0) {
        return {-1, -1, -1};
    }
    return {(c.r - 5) / 10, (c.g - 5) / 20, (c.b - 5) / 40};
}

class FontTest : public ::testing::Test {
  protected:
    void SetUp() override {
        installCodedFont();
        gTextX = 0;
        gTextY = 0;
    }
};

TEST(CharacterMap, EveryCharacterOfTheMapHasItsCellAndTheRestHaveNone) {
    const char* rows[6] = {"0123456789ABCDEF", "GHIJKLMNOPQRSTUV",   "WXYZabcdefghijkl",
                           "mnopqrstuvwxyz.:", ",;|/\\'\"?!+-*=()_", "<>[]#$^"};
    int glyphs = 0;
    for (int r = 0; r < 6; r++) {
        for (int c = 0; rows[r][c] != '\0'; c++) {
            int row = -1;
            int column = -1;
            ASSERT_EQ(findGlyph(rows[r][c], &row, &column), 0) << rows[r][c];
            EXPECT_EQ(row, r);
            EXPECT_EQ(column, c);
            glyphs++;
        }
    }
    int row = -1;
    int column = -1;
    ASSERT_EQ(findGlyph(' ', &row, &column), 0);
    EXPECT_EQ(row * 16 + column, 5 * 16 + 10);
    EXPECT_EQ(glyphs + 1, 88);
    for (int code :
         {0, 9, 11, 31, int('%'), int('&'), int('@'), int('`'), int('{'), int('}'), int('~'), 127, 128, 200, 255}) {
        EXPECT_EQ(findGlyph(char(code), &row, &column), 1) << code;
    }
    EXPECT_EQ(findGlyph('\n', &row, &column), 2);
}

TEST_F(FontTest, CharacterAndDigitDrawTheirCellOfTheGivenStyle) {
    EXPECT_EQ(renderCharacter(100, 100, 'Z', 3), 0);
    EXPECT_EQ(cellAt(100, 100), (Cell{3, 2, 3}));
    EXPECT_EQ(renderDigit(200, 100, 7, 4), 0);
    EXPECT_EQ(cellAt(200, 100), (Cell{7, 0, 4}));
    EXPECT_EQ(renderDigit(300, 100, 10, 0), 1);
    EXPECT_EQ(renderDigit(300, 100, -1, 0), 1);
    EXPECT_EQ(cellAt(300, 100), (Cell{-1, -1, -1}));
    EXPECT_EQ(renderCharacter(400, 100, '%', 0), 1);
    EXPECT_EQ(renderCharacter(400, 100, '\n', 0), 2);
    EXPECT_EQ(cellAt(400, 100), (Cell{-1, -1, -1}));
}

TEST_F(FontTest, WordsWrapOnlyWhenTheirRightEdgePassesTheLimit) {
    // Margin 125, limit 350: 22 cells fit exactly.
    gTextX = 125;
    gTextY = 25;
    renderText(125, 350, "abcdefghijklmnopqrstuv", 3);
    EXPECT_EQ(gTextX, 345);
    EXPECT_EQ(gTextY, 25);
    EXPECT_EQ(cellAt(335, 25), (Cell{9, 3, 3})); // 'v'
    renderText(125, 350, " x", 3);
    EXPECT_EQ(gTextY, 40);
    EXPECT_EQ(cellAt(125, 40), (Cell{11, 3, 3})); // 'x' begins the new line
    // A word longer than the line moves to a new line even from the start of one, then runs past.
    gTextX = 125;
    gTextY = 100;
    renderText(125, 350, "abcdefghijklmnopqrstuvw", 3);
    EXPECT_EQ(gTextY, 115);
    EXPECT_EQ(gTextX, 125 + 230);
}

TEST_F(FontTest, LineFeedsAndSpacesOnlyMoveTheCursor) {
    gTextX = 50;
    gTextY = 0;
    renderText(2, 800, "\nab\n\ncd   e", 0);
    EXPECT_EQ(cellAt(2, 15), (Cell{4, 2, 0}));  // 'a' at the margin of the next line
    EXPECT_EQ(cellAt(12, 15), (Cell{5, 2, 0})); // 'b'
    EXPECT_EQ(cellAt(2, 45), (Cell{6, 2, 0}));  // 'c' after an empty line
    EXPECT_EQ(cellAt(22, 45), (Cell{-1, -1, -1}));
    EXPECT_EQ(cellAt(42, 45), (Cell{-1, -1, -1}));
    EXPECT_EQ(cellAt(52, 45), (Cell{8, 2, 0})); // 'e' after three blanks
    // A run of spaces is never wrapped, even far past the limit.
    gTextX = 790;
    gTextY = 0;
    renderText(2, 800, "          ", 0);
    EXPECT_EQ(gTextX, 890);
    EXPECT_EQ(gTextY, 0);
}

TEST_F(FontTest, TheCursorCarriesAcrossCallsAndAnEmptyTextStillTestsTheWrap) {
    gTextX = 290;
    gTextY = 583;
    renderText(2, 800, "Toggle fullscreen : ", 4);
    EXPECT_EQ(gTextX, 290 + 200);
    renderText(2, 800, "F4", 4);
    EXPECT_EQ(cellAt(490, 583), (Cell{15, 0, 4}));
    EXPECT_EQ(cellAt(500, 583), (Cell{4, 0, 4}));
    renderText(2, 800, "", 4);
    EXPECT_EQ(gTextX, 510);
    gTextX = 810;
    renderText(2, 800, "", 4);
    EXPECT_EQ(gTextX, 2);
    EXPECT_EQ(gTextY, 598);
}

TEST_F(FontTest, CharactersWithoutGlyphKeepAnEmptyCellInsideTheirWord) {
    gTextX = 0;
    gTextY = 300;
    renderText(0, 800, "5%&@\x80x", 0);
    EXPECT_EQ(cellAt(0, 300), (Cell{5, 0, 0}));
    for (int x = 10; x <= 40; x += 10) {
        EXPECT_EQ(cellAt(x, 300), (Cell{-1, -1, -1})) << x;
    }
    EXPECT_EQ(cellAt(50, 300), (Cell{11, 3, 0}));
    EXPECT_EQ(gTextX, 60);
}

} // namespace
