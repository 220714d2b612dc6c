// The player program's decisions without the game: what it remembers of the screen, the ways and
// sight lines it finds, and that it acts on what it saw no sooner than its reaction time allows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bot/botmind.h"
#include "support/bot_drawing.h"

namespace {

constexpr int kRows = 20; // the worlds below: 30 x 20 cells
constexpr int kColumns = 30;

// The screen of a deer at (x, y) tenths, the camera centred on it.
BotView viewWorld(const BotMap* world, int x, int y) {
    BotView view{};
    view.deerX = x / kBotPixelTenths;
    view.deerY = y / kBotPixelTenths;
    view.firstRow = (view.deerY - kBotScreenHeight / 2) / kBotCellPixels;
    view.firstColumn = (view.deerX - kBotScreenWidth / 2) / kBotCellPixels;
    view.rows = kBotViewRows;
    view.columns = kBotViewColumns;
    for (int i = 0; i < kBotViewRows; i++) {
        for (int j = 0; j < kBotViewColumns; j++) {
            const int row = view.firstRow + i;
            const int column = view.firstColumn + j;
            const bool inside = row >= 0 && row < kBotGridSide && column >= 0 && column < kBotGridSide;
            view.cells[i][j] =
                inside ? uint8_t(world->cells[row * kBotGridSide + column] & ~kBotCellKnown) : kBotCellBlocks;
        }
    }
    return view;
}

const std::vector<std::string> kMeadow = {
    "RRRRRRRRRRRRRRRRRRRRRRRRRRRRRR", "R............................R", "R............................R",
    "R............................R", "R.......bbb..................R", "R.......bbb..................R",
    "R............................R", "R............................R", "R............................R",
    "R.............G..............R", "R............................R", "R............................R",
    "R............................R", "R............................R", "R............................R",
    "R............................R", "R............................R", "R............................R",
    "R............................R", "RRRRRRRRRRRRRRRRRRRRRRRRRRRRRR",
};

// One scripted game: the deer moves as its keys take it; the hunter's warning shows in frames 0
// to 29, and from frame hunterFrame on (never when negative) the hunter stands in view. Returns
// the actions of the first frames; those pressed over the tuft get kOverTuft added.
constexpr int kOverTuft = 1 << 8;

std::vector<int> playScript(const BotProfile* profile, int hunterFrame, int frames) {
    static BotMap Meadow;              // the world the script plays in
    static BotMind Mind;               // the player's mind
    learnBotDrawing(&Meadow, kMeadow); // the world, held as the screen shows it
    startBotMind(&Mind, profile, 1, Meadow.cells, kRows, kColumns);
    BotDeer deer{10 * kBotCellTenths + 320, 12 * kBotCellTenths + 160, kBotStaminaFull, 0};
    std::vector<int> actions;
    int smellTime = 0; // frames of smelling standing still
    for (int frame = 0; frame < frames; frame++) {
        BotView view = viewWorld(&Meadow, deer.x, deer.y);
        view.hunterWarning = frame < 30 ? 1 : 0;
        const bool hunterShows = hunterFrame >= 0 && frame >= hunterFrame;
        if (hunterShows) {
            view.hunterSeen = 1;
            view.hunterX = 20 * kBotCellPixels;
            view.hunterY = 14 * kBotCellPixels;
        }
        if (smellTime >= 48) {
            view.smell = hunterShows ? kBotSmellDanger : kBotSmellSafe;
        }
        const uint8_t keys = decideBotActions(&Mind, &view);
        const bool overTuft = findBotDeerRow(&deer) == 9 && findBotDeerColumn(&deer) == 14;
        actions.push_back(keys | (overTuft ? kOverTuft : 0));
        const bool moves = (keys & (kBotUp | kBotDown | kBotLeft | kBotRight)) != 0;
        smellTime = (keys & kBotSmell) != 0 && !moves ? smellTime + 1 : 0;
        moveBotDeer(&Meadow, &deer, spendBotStamina(&deer, keys));
    }
    return actions;
}

// No player acts on the hunter sooner than its reaction time after he shows, and each reacts then.
TEST(BotMind, ReactsToTheHunterAfterItsReactionTimeAndNoSooner) {
    const int shows = 200; // the frame the hunter comes into view
    for (const BotProfile* profile : {&kBotProfileNew, &kBotProfilePractised}) {
        const std::vector<int> unaware = playScript(profile, -1, shows + 60);
        const std::vector<int> aware = playScript(profile, shows, shows + 60);
        int first = 0;
        while (first < int(aware.size()) && aware[size_t(first)] == unaware[size_t(first)]) {
            first++;
        }
        EXPECT_GE(first, shows + profile->reactionFrames) << "reaction " << profile->reactionFrames;
        EXPECT_LE(first, shows + profile->reactionFrames + 2) << "it does react";
        EXPECT_NE(aware[size_t(first + 2)] & (kBotUp | kBotDown | kBotLeft | kBotRight), 0) << "it runs";
        int eating = 0;
        for (int keys : unaware) {
            EXPECT_TRUE((keys & kBotEat) == 0 || (keys & kOverTuft) != 0) << "it eats only over the tuft";
            eating += (keys & kBotEat) != 0 ? 1 : 0;
        }
        EXPECT_GT(eating, 0) << "it went to the tuft and ate";
    }
    EXPECT_GE(kBotProfileNew.reactionFrames, 16);
    EXPECT_GE(kBotProfilePractised.reactionFrames, kBotMinReactionFrames);
}

} // namespace
