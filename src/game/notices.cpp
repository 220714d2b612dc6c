// Short-lived boxes that tell the player what just happened (a tuft eaten, grass missed, a wound)
// and the red flash of a hit.
#include "game/notices.h"

#include <cstdio>

#include "game/hintbox.h"
#include "render/media.h"

constexpr int kNoticeMargin = 20; // pixels between the boxes and the screen's top, right and bottom edges
constexpr int kNoticeGap = 6;     // pixels between stacked boxes
constexpr int kNoticeWidth = 330; // the widest box; shorter texts get boxes as wide as they need
constexpr int kNoticeHeight = 22; // one line, as the eat hint's box
constexpr int kMaxNotices = 3;
constexpr int kProgressTextSize = 40;
constexpr int kHitFlashAlpha = 170; // the flash's outer edge in its first frame, of 255
constexpr int kHitFlashBands = 8;   // bands of fading red from the edge inwards
constexpr int kHitFlashBandWidth = 5;

static const char kWoundText[] =
    "You are wounded! Your tracks are red now and you recover more slowly. Hide from the hunter.";
static const char kMissedGrassText[] = "Nothing to eat here: your head must be over the grass.";

void noteTuftEaten(NoticeState* notices, int foodLeft) {
    if (foodLeft > 0) {
        notices->progressFrames = kProgressFrames;
        notices->progressLeft = foodLeft;
    }
}

void noteMissedGrass(NoticeState* notices) {
    if (notices->missedGrassShown < kMissedGrassHints) {
        notices->missedGrassShown++;
        notices->missedGrassFrames = kMissedGrassFrames;
    }
}

void noteWound(NoticeState* notices) {
    notices->woundFrames = kWoundFrames;
    notices->hitFlashFrames = kHitFlashFrames;
}

const char* formatProgress(char* text, int size, int foodLeft) {
    if (foodLeft == 1) {
        snprintf(text, size_t(size), "One more tuft!");
    } else {
        snprintf(text, size_t(size), "%d more tufts and spring comes", foodLeft);
    }
    return text;
}

void renderHitFlash(const NoticeState* notices) {
    if (gRenderer == nullptr || notices->hitFlashFrames <= 0) {
        return;
    }
    // Bands along the four edges, fading towards the middle and, frame by frame, away.
    for (int band = 0; band < kHitFlashBands; band++) {
        const int alpha =
            kHitFlashAlpha * notices->hitFlashFrames / kHitFlashFrames * (kHitFlashBands - band) / kHitFlashBands;
        SDL_SetRenderDrawColor(gRenderer, 220, 0, 0, Uint8(alpha));
        const int inset = band * kHitFlashBandWidth;
        const int width = kScreenWidth - 2 * inset;
        const int height = kScreenHeight - 2 * inset - 2 * kHitFlashBandWidth;
        const SDL_Rect strips[4] = {
            {inset, inset, width, kHitFlashBandWidth},
            {inset, kScreenHeight - inset - kHitFlashBandWidth, width, kHitFlashBandWidth},
            {inset, inset + kHitFlashBandWidth, kHitFlashBandWidth, height},
            {kScreenWidth - inset - kHitFlashBandWidth, inset + kHitFlashBandWidth, kHitFlashBandWidth, height},
        };
        SDL_RenderFillRects(gRenderer, strips, 4);
    }
}

// The texts of the boxes that show, most urgent first. Returns how many.
static int collectNotices(const NoticeState* notices, HintText texts[kMaxNotices]) {
    int count = 0;
    if (notices->woundFrames > 0) {
        texts[count] = HintText{};
        addHintPiece(&texts[count++], kWoundText);
    }
    if (notices->progressFrames > 0) {
        char progress[kProgressTextSize];
        texts[count] = HintText{};
        addHintPiece(&texts[count++], formatProgress(progress, sizeof progress, notices->progressLeft));
    }
    if (notices->missedGrassFrames > 0) {
        texts[count] = HintText{};
        addHintPiece(&texts[count++], kMissedGrassText);
    }
    return count;
}

// Stacks the boxes from the top of the screen's right side, or, when one of them would cover the
// deer's figure there, from the bottom.
static void placeNotices(SDL_Rect* boxes, int count) {
    int y = kNoticeMargin;
    bool hidesDeer = false;
    for (int i = 0; i < count; i++) {
        boxes[i].x = kScreenWidth - kNoticeMargin - boxes[i].w;
        boxes[i].y = y;
        y += boxes[i].h + kNoticeGap;
        hidesDeer = hidesDeer || coversDeer(&boxes[i]);
    }
    if (hidesDeer) {
        const int shift = kScreenHeight - kNoticeMargin - (y - kNoticeGap); // the stack's bottom to the margin
        for (int i = 0; i < count; i++) {
            boxes[i].y += shift;
        }
    }
}

void renderNotices(NoticeState* notices) {
    if (gRenderer != nullptr) {
        HintText texts[kMaxNotices];
        SDL_Rect boxes[kMaxNotices];
        const int count = collectNotices(notices, texts);
        for (int i = 0; i < count; i++) {
            const SDL_Rect widest{0, 0, kNoticeWidth, kNoticeHeight};
            boxes[i] = fitHintBox(&widest, kHintTextInset, &texts[i], true);
        }
        placeNotices(boxes, count);
        for (int i = 0; i < count; i++) {
            renderHintBox(&boxes[i], kHintTextInset, &texts[i]);
        }
    }
    int* const timers[] = {&notices->progressFrames, &notices->missedGrassFrames, &notices->woundFrames,
                           &notices->hitFlashFrames};
    for (int* frames : timers) {
        if (*frames > 0) {
            (*frames)--;
        }
    }
}
