// Text drawn from the bitmap font sheet, with word wrap and a cursor carried across calls.
#include "render/font.h"

#include "render/media.h"

int gCharacterWidthToRender;
int gCharacterHeightToRender;
int gTextX;
int gTextY;

constexpr char kLineFeed = '\n';
constexpr char kSpace = ' ';
constexpr int kFontStyleHeight = kFontRows * gCharacterHeightInFile; // pixels per style band

// Glyph order of the sheet, row by row; '\0' marks a cell without a character.
static const char kCharacterMap[kFontRows][kFontColumns + 1] = {
    "0123456789ABCDEF", "GHIJKLMNOPQRSTUV",   "WXYZabcdefghijkl",
    "mnopqrstuvwxyz.:", ",;|/\\'\"?!+-*=()_", "<>[]#$^\0\0\0 \0\0\0\0\0",
};

int findGlyph(char character, int* row, int* column) {
    if (character == kLineFeed) {
        return 2;
    }
    if (character < kLineFeed || character > '|') {
        return 1;
    }
    for (int r = 0; r < kFontRows; r++) {
        for (int c = 0; c < kFontColumns; c++) {
            if (kCharacterMap[r][c] == character) {
                *row = r;
                *column = c;
                return 0;
            }
        }
    }
    return 1;
}

int renderCharacter(int x, int y, char character, int fontStyle) {
    int row = 0;
    int column = 0;
    int result = findGlyph(character, &row, &column);
    if (result != 0) {
        return result;
    }
    SDL_Rect source{gCharacterWidthInFile * column, fontStyle * kFontStyleHeight + gCharacterHeightInFile * row,
                    gCharacterWidthInFile, gCharacterHeightInFile};
    SDL_Rect destination{x, y, gCharacterWidthToRender, gCharacterHeightToRender};
    SDL_RenderCopy(gRenderer, gTexture[kTextureFont], &source, &destination);
    return 0;
}

int renderDigit(int x, int y, int digit, int fontStyle) {
    if (digit < 0 || digit > 9) {
        return 1;
    }
    return renderCharacter(x, y, char('0' + digit), fontStyle);
}

// Lays text out from the cursor as renderText describes, drawing its glyphs when draw is set.
static void layOutText(int leftMargin, int rightLimit, const char* text, int fontStyle, bool draw) {
    int i = 0;
    for (;;) {
        // Measure the word at i, wrap before it if its right edge would pass the limit, draw it.
        int j = i;
        while (text[j] != kSpace && text[j] != '\0' && text[j] != kLineFeed) {
            j++;
        }
        if (gTextX + (j - i) * gCharacterWidthToRender > rightLimit) {
            gTextX = leftMargin;
            gTextY += kLineHeight;
        }
        for (; i < j; i++) {
            if (draw) {
                renderCharacter(gTextX, gTextY, text[i], fontStyle);
            }
            gTextX += gCharacterWidthToRender;
        }
        // Separators only move the cursor.
        for (;; i++) {
            if (text[i] == kLineFeed) {
                gTextY += kLineHeight;
                gTextX = leftMargin;
            } else if (text[i] == kSpace) {
                gTextX += gCharacterWidthToRender;
            } else if (text[i] == '\0') {
                return;
            } else {
                break;
            }
        }
    }
}

int renderText(int leftMargin, int rightLimit, const char* text, int fontStyle) {
    layOutText(leftMargin, rightLimit, text, fontStyle, true);
    return 0;
}

void moveTextCursor(int leftMargin, int rightLimit, const char* text) {
    layOutText(leftMargin, rightLimit, text, 0, false);
}
