// The deer's step: the sprint reserve, eating a tile, smelling, facing, and the smell indicator.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include "game/deer.h"
#include "game/play.h"
#include "hunter/navigation.h"
#include "movement/movement.h"
#include "render/mapview.h"
#include "render/media.h"
#include "support/test_env.h"
#include "support/test_maps.h"
#include "world/map.h"
#include "world/tracks.h"

namespace {

class DeerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        enterTempCommon(nullptr, 0);
        startHeadlessSDL();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        TestMap map = makeOpenMap(80, 20);
        setCell(&map, 1, 10, 10, kTestGrass);
        setCell(&map, 3, 10, 10, kTestStart);
        writeTestWorld(map);
        startGame(&state);
    }
    void step(int inputX, int inputY) {
        gPlayerInputX = inputX;
        gPlayerInputY = inputY;
        stepDeer(&state.deer, &state.runHeld, state.eatHeld, state.smellHeld);
    }
    PlayState state{};
};

TEST_F(DeerTest, AFullReserveSprintsSixtyFourFramesThenTheDeerWalksOnUntilRunIsPressedAgain) {
    state.runHeld = 1;
    int tracksBefore = gNextTrackIndex[0];
    for (int frame = 1; frame <= 64; frame++) {
        int x = gPlayerX;
        step(1, 0);
        ASSERT_EQ(gPlayerX - x, 100) << frame;
    }
    EXPECT_EQ(gNextTrackIndex[0] - tracksBefore, 32); // a track every second sprinting frame
    EXPECT_EQ(state.deer.stamina, 0);
    int x = gPlayerX;
    step(1, 0);
    EXPECT_EQ(gPlayerX - x, 50);
    EXPECT_EQ(state.runHeld, 0);
    EXPECT_EQ(state.deer.stamina, 1);
    // Standing recovers two a frame; holding run while standing costs nothing.
    state.runHeld = 1;
    step(0, 0);
    EXPECT_EQ(state.deer.stamina, 3);
    // Once wounded, walking no longer refills the reserve and the tracks turn to blood.
    state.deer.isWounded = 1;
    state.runHeld = 0;
    for (int frame = 0; frame < 3; frame++) {
        step(1, 0);
    }
    EXPECT_EQ(state.deer.stamina, 3);
    EXPECT_NE(gTrack[0][(gNextTrackIndex[0] + kTrackRing - 1) % kTrackRing].isBlood, 0);
}

TEST_F(DeerTest, HoldingEatOverGrassClearsTheTileAfterTwentyEightAndOneHundredSixtyFiveFrames) {
    const uint16_t& grass = gMap[kGridCells + 10 * kGridSide + 10];
    int food = gFoodLeftToEat;
    state.eatHeld = 1;
    for (int frame = 1; frame < 28 + 165; frame++) {
        step(0, 0);
        ASSERT_EQ(grass, kTestGrass) << frame;
    }
    EXPECT_EQ(state.deer.deerAnimationCounter / 10, 6); // head down, eating
    // Releasing the binding one frame early loses the progress on the tile.
    state.eatHeld = 0;
    step(0, 0);
    EXPECT_EQ(grass, kTestGrass);
    EXPECT_EQ(state.deer.eatTime, 0);
    for (int frame = 0; frame < 40; frame++) {
        step(0, 0);
    }
    state.eatHeld = 1;
    state.deer.stamina = 0;
    for (int frame = 1; frame <= 28 + 165; frame++) {
        step(0, 0);
    }
    EXPECT_EQ(grass, 0);
    EXPECT_EQ(gFoodLeftToEat, food - 1);
    EXPECT_EQ(state.deer.stamina, 2 * 193 + 50); // standing recovers 2 a frame, a tile gives 50
    // The head comes up again in 29 frames and stays at column 4 while eat is held.
    for (int frame = 0; frame < 30; frame++) {
        step(0, 0);
    }
    EXPECT_EQ(state.deer.deerAnimationCounter, 40);
}

TEST_F(DeerTest, EatingWhereThereIsNoGrassLowersAndRaisesTheHeadAndChangesNothing) {
    gPlayerX += 640;
    int food = gFoodLeftToEat;
    state.eatHeld = 1;
    for (int frame = 0; frame < 100; frame++) {
        step(0, 0);
    }
    EXPECT_EQ(state.deer.deerAnimationCounter, 40);
    EXPECT_EQ(gFoodLeftToEat, food);
}

TEST_F(DeerTest, SmellingBeatsEatingAndTheIndicatorShowsFromTheFortyEighthFrame) {
    state.eatHeld = 1;
    state.smellHeld = 1;
    for (int frame = 1; frame <= 60; frame++) {
        step(0, 0);
        renderSmellIndicator(&state.deer, &state.hunter);
        EXPECT_EQ(state.deer.smellResultPending, frame < 48 ? 1 : 0) << frame;
    }
    EXPECT_EQ(state.deer.eatTime, 0);
    EXPECT_EQ(state.deer.smellTime, 60);
    // The smell cycle: the nose rises to 89 and sinks to 70, then the deer stands a moment.
    EXPECT_GE(state.deer.deerAnimationCounter, 0);
    EXPECT_LE(state.deer.deerAnimationCounter, 89);
    // Moving ends the spell; a new spell plays its result again.
    step(1, 0);
    EXPECT_EQ(state.deer.smellTime, 0);
    EXPECT_EQ(state.deer.smellResultPending, 1);
    EXPECT_EQ(state.deer.isSniffSoundOn, 0);
}

TEST_F(DeerTest, ReleasingAKeyHaltsOnlyTheDeersOwnSoundNotOneThatTookItsChannelSince) {
    loadHeadlessMedia();
    Mix_HaltChannel(-1);
    state.eatHeld = 1;
    for (int frame = 0; frame < 30; frame++) {
        step(0, 0); // the head goes down in 28 frames, then eating starts its sound
    }
    ASSERT_GT(state.deer.eatTime, 0);
    Mix_HaltChannel(state.deer.eatChannel); // the eating sound ends long before the tile is eaten
    state.smellHeld = 1;
    step(0, 0); // the sniff loop takes the freed channel
    ASSERT_EQ(state.deer.smellChannel, state.deer.eatChannel);
    state.eatHeld = 0;
    step(0, 0);
    EXPECT_NE(Mix_Playing(state.deer.smellChannel), 0) << "releasing eat stopped the sniff";
    state.smellHeld = 0;
    step(0, 0);
    EXPECT_EQ(Mix_Playing(state.deer.smellChannel), 0);
}

// An icon sheet whose every 16 x 16 cell is one colour: red names the cell's column, green its row.
void installCodedIcons() {
    SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, 160, 32, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int column = 0; column < 10; column++) {
        for (int row = 0; row < 2; row++) {
            SDL_Rect cell{16 * column, 16 * row, 16, 16};
            SDL_FillRect(sheet, &cell, SDL_MapRGB(sheet->format, 20 * column + 5, 100 * row + 50, 200));
        }
    }
    SDL_DestroyTexture(gTexture[kTextureIcon]);
    gTexture[kTextureIcon] = SDL_CreateTextureFromSurface(gRenderer, sheet);
    SDL_FreeSurface(sheet);
    SDL_DestroyTexture(gTexture[kTextureHunter]);
    gTexture[kTextureHunter] = nullptr;
}

// Where the arrow or circle landed: the sheet cell seen at a screen point, or {-1, -1}.
struct SheetCell {
    int sourceX, row;
};
SheetCell sheetCellAt(int x, int y) {
    SDL_Color c = readPixel(x, y);
    if (c.b != 200) {
        return {-1, -1};
    }
    return {16 * ((c.r - 5) / 20), (c.g - 50) / 100};
}

TEST_F(DeerTest, TheIndicatorPointsTheNearestOfEightArrowsAndShowsTheCircleWhenSafe) {
    installCodedIcons();
    state.deer.smellTime = kSmellIndicatorFrame;
    gPlayerOrientation = 0;
    auto arrowFor = [&](int dx, int dy) { // hunter offset in map pixels
        gHunterX = gPlayerX + 10 * dx;
        gHunterY = gPlayerY + 10 * dy;
        SDL_SetRenderDrawColor(gRenderer, 0, 0, 0, 255);
        SDL_RenderClear(gRenderer);
        renderSmellIndicator(&state.deer, &state.hunter);
    };
    int px = gPlayerX / 10 - gScreenX;
    int py = gPlayerY / 10 - gScreenY;
    struct Case {
        int dx, dy, sourceX, row, offsetX, offsetY;
    };
    const Case cases[] = {
        {0, -500, 64, 0, 0, -72},      {0, -1500, 64, 1, 0, -72},   {300, 300, 144, 0, 28, -4},
        {-600, 0, 96, 0, -40, -32},    {600, 0, 32, 0, 40, -32},    {0, 600, 128, 0, 0, 8},
        {-400, -400, 80, 0, -28, -60}, {400, -400, 48, 0, 28, -60}, {-400, 400, 112, 0, -28, -4},
    };
    for (const Case& c : cases) {
        arrowFor(c.dx, c.dy);
        SheetCell seen = sheetCellAt(px + c.offsetX + 16, py + c.offsetY + 16);
        EXPECT_EQ(seen.sourceX, c.sourceX) << c.dx << "," << c.dy;
        EXPECT_EQ(seen.row, c.row) << c.dx << "," << c.dy;
    }
    // Far away, or no hunter at all: the blue circle, above the deer towards the side it faces.
    // The circle is the sheet's 32 x 32 corner drawn 64 x 64, centred on (px + 16, py - 16).
    arrowFor(0, -2500);
    EXPECT_EQ(sheetCellAt(px + 16 - 16, py - 16 - 16).sourceX, 0);
    EXPECT_EQ(sheetCellAt(px + 16 + 16, py - 16 + 16).sourceX, 16);
    EXPECT_EQ(sheetCellAt(px + 16 + 16, py - 16 + 16).row, 1);
    EXPECT_EQ(sheetCellAt(px + 16 + 40, py - 16).sourceX, -1);
    gHunterX = -1;
    SDL_RenderClear(gRenderer);
    renderSmellIndicator(&state.deer, &state.hunter);
    EXPECT_EQ(sheetCellAt(px + 16 - 16, py - 16 - 16).sourceX, 0);
}

} // namespace
