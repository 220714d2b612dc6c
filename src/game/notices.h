// Short-lived boxes that tell the player what just happened (a tuft eaten, grass missed, a wound)
// and the red flash of a hit.
#pragma once

#include <SDL.h>

constexpr int kProgressFrames = 100;    // 2.5 s: how many tufts are left, after each tuft eaten
constexpr int kMissedGrassFrames = 100; // 2.5 s: why the head came up with nothing
constexpr int kMissedGrassHints = 3;    // times a game at most
constexpr int kWoundFrames = 240;       // 6 s: the wound and what it means
constexpr int kHitFlashFrames = 16;     // 0.4 s of red at the screen's edges

// Per-game state of the notices, owned by the play loop; all zero at game start.
struct NoticeState {
    int progressFrames;    // frames the progress box still shows
    int progressLeft;      // the tufts still to eat that it names
    int missedGrassFrames; // frames the no-grass hint still shows
    int missedGrassShown;  // times it was shown this game
    int woundFrames;       // frames the wound box still shows
    int hitFlashFrames;    // frames of the red flash still to show
};

// A tuft was eaten and foodLeft remain to eat: the progress box shows (not when none is left).
void noteTuftEaten(NoticeState* notices, int foodLeft);

// The head went down over no grass: the hint shows, at most kMissedGrassHints times a game.
void noteMissedGrass(NoticeState* notices);

// A shot wounded the deer: the red flash and the wound box show.
void noteWound(NoticeState* notices);

// The progress box's text for foodLeft tufts left ("7 more tufts and spring comes", "One more
// tuft!"), written into text (size bytes). Returns text.
const char* formatProgress(char* text, int size, int foodLeft);

// Draws the red flash at the screen's edges while it lasts. Draws nothing without a renderer.
void renderHitFlash(const NoticeState* notices);

// Draws the boxes that show, stacked at the screen's top right, or at its bottom right when they
// would cover the deer there (none without a renderer); then ages them and the flash by a frame.
void renderNotices(NoticeState* notices);
