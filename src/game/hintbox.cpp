// Boxes of text over the game in the tutorial's style: a white box, a black outline, font style 3.
#include "game/hintbox.h"

#include "render/font.h"
#include "render/mapview.h"
#include "render/media.h"
#include "world/map.h"

constexpr int kHintFontStyle = 3;
constexpr int kHintDeerClearance = 16; // pixels a box that must not cover the deer keeps from its figure

void addHintPiece(HintText* text, const char* piece) {
    for (int i = 0; piece[i] != '\0' && text->length < kHintTextSize - 1; i++) {
        text->text[text->length++] = piece[i];
    }
    text->text[text->length] = '\0';
}

// Lays the text out from the box's text corner, drawing it when draw is set; the cursor ends
// where the text ends.
static void layOutHintText(const SDL_Rect* box, int rightMargin, const HintText* text, bool draw) {
    const int leftMargin = box->x + kHintTextInset;
    const int rightLimit = box->x + box->w - rightMargin;
    gTextX = leftMargin;
    gTextY = box->y + kHintTextInset;
    if (draw) {
        renderText(leftMargin, rightLimit, text->text, kHintFontStyle);
    } else {
        moveTextCursor(leftMargin, rightLimit, text->text);
    }
}

SDL_Rect fitHintBox(const SDL_Rect* box, int rightMargin, const HintText* text, bool fitWidth) {
    layOutHintText(box, rightMargin, text, false);
    const int textTop = box->y + kHintTextInset;
    const int linesHeld = (box->h - kHintTextInset) / kLineHeight;
    const int linesNeeded = (gTextY - textTop) / kLineHeight + 1;
    SDL_Rect fitted = *box;
    if (linesNeeded > linesHeld) {
        fitted.h += (linesNeeded - linesHeld) * kLineHeight;
    }
    if (fitWidth && linesNeeded == 1) {
        // As much room after the text as before it; the cursor stands one glyph past a trailing blank.
        fitted.w = gTextX - box->x + kHintTextInset;
    }
    return fitted;
}

void renderHintBox(const SDL_Rect* box, int rightMargin, const HintText* text) {
    if (gRenderer == nullptr) {
        return;
    }
    SDL_SetRenderDrawColor(gRenderer, 255, 255, 255, 255);
    SDL_RenderFillRect(gRenderer, box);
    SDL_SetRenderDrawColor(gRenderer, 0, 0, 0, 255);
    SDL_RenderDrawRect(gRenderer, box);
    layOutHintText(box, rightMargin, text, true);
}

bool coversDeer(const SDL_Rect* box) {
    const SDL_Rect deer{gPlayerX / 10 - gScreenX - gPlayerWidthToRender / 2 - kHintDeerClearance,
                        gPlayerY / 10 - gScreenY - gPlayerHeightToRender / 2 - kHintDeerClearance,
                        gPlayerWidthToRender + 2 * kHintDeerClearance, gPlayerHeightToRender + 2 * kHintDeerClearance};
    return SDL_HasIntersection(box, &deer) == SDL_TRUE;
}
