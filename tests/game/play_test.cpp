// The play loop in-process: held flags, the first matching binding, the tutorial's frame counts,
// victory, and a second game that starts fresh.
#include <gtest/gtest.h>

#include "game/bindings.h"
#include "game/endscreen.h"
#include "game/play.h"
#include "hunter/navigation.h"
#include "movement/movement.h"
#include "render/media.h"
#include "support/test_env.h"
#include "support/test_maps.h"
#include "world/map.h"
#include "world/tracks.h"

namespace {

bool isBlack(SDL_Color c) { return c.r == 0 && c.g == 0 && c.b == 0; }
bool isWhite(SDL_Color c) { return c.r == 255 && c.g == 255 && c.b == 255; }
// The tutorial boxes: both have their top-left corner at (120, 20); the short one is 22 high.
// Text stops at x 350, so the boxes' right ends show their white inside and black outline.
bool isShortBoxShown() { return isBlack(readPixel(362, 41)) && isWhite(readPixel(362, 35)); }
bool isTallBoxShown() { return isBlack(readPixel(362, 189)) && isWhite(readPixel(362, 180)); }

class PlayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        enterTempCommon(nullptr, 0);
        startHeadlessSDL();
        loadHeadlessMedia();
        resetBindings();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    PlayState state{};
};

TEST_F(PlayTest, KeysBecomeHeldFlagsAndRepeatsChangeNothing) {
    TestMap map = makeOpenMap(20, 12);
    setCell(&map, 3, 5, 5, kTestStart);
    writeTestWorld(map);
    startGame(&state);
    pushKey(SDL_KEYDOWN, SDLK_RIGHT);
    pushKey(SDL_KEYDOWN, SDLK_LEFT, 1); // a repeat is not a press
    ASSERT_EQ(playFrame(&state), kFrameGoesOn);
    EXPECT_EQ(gPlayerInputX, 1);
    pushKey(SDL_KEYUP, SDLK_RIGHT, 1);
    ASSERT_EQ(playFrame(&state), kFrameGoesOn);
    EXPECT_EQ(state.rightHeld, 1);
    pushKey(SDL_KEYDOWN, SDLK_LEFT);
    ASSERT_EQ(playFrame(&state), kFrameGoesOn);
    EXPECT_EQ(gPlayerInputX, 0); // left and right together cancel out
    pushKey(SDL_KEYUP, SDLK_RIGHT);
    pushKey(SDL_KEYDOWN, SDLK_UP);
    pushKey(SDL_KEYDOWN, SDLK_DOWN);
    ASSERT_EQ(playFrame(&state), kFrameGoesOn);
    EXPECT_EQ(gPlayerInputX, -1);
    EXPECT_EQ(gPlayerInputY, 0);
}

TEST_F(PlayTest, AKeyBoundTwiceDrivesOnlyTheFirstActionInBindingOrder) {
    writeTestWorld(makeOpenMap(20, 12));
    gKeycodeCancelSmell = SDLK_RETURN; // eat comes before smell
    gKeycodeUp = SDLK_RIGHT;           // right comes before up
    startGame(&state);
    pushKey(SDL_KEYDOWN, SDLK_RETURN);
    pushKey(SDL_KEYDOWN, SDLK_RIGHT);
    ASSERT_EQ(playFrame(&state), kFrameGoesOn);
    EXPECT_EQ(state.eatHeld, 1);
    EXPECT_EQ(state.smellHeld, 0);
    EXPECT_EQ(state.rightHeld, 1);
    EXPECT_EQ(state.upHeld, 0);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(playFrame(&state), kFrameQuit);
}

TEST_F(PlayTest, TheIntroductionGoesWithTheFifthTrack) {
    TestMap map = makeOpenMap(40, 12);
    setCell(&map, 3, 5, 2, kTestStart);
    writeTestWorld(map);
    startGame(&state);
    pushKey(SDL_KEYDOWN, SDLK_RIGHT);
    for (int frame = 1; frame <= 20; frame++) {
        ASSERT_EQ(playFrame(&state), kFrameGoesOn);
        EXPECT_EQ(isTallBoxShown(), frame < 15) << "frame " << frame; // tracks on frames 3, 6, 9, 12, 15
    }
}

TEST_F(PlayTest, TutorialBoxesGrowDownwardsToHoldTheLinesOfLongKeyNames) {
    TestMap map = makeOpenMap(20, 12);
    setCell(&map, 1, 5, 5, kTestGrass);
    setCell(&map, 3, 5, 5, kTestStart);
    writeTestWorld(map);
    gKeycodeUp = SDLK_KP_8; // the introduction needs a twelfth line
    gKeycodeDown = SDLK_KP_2;
    gKeycodeLeft = SDLK_KP_4;
    gKeycodeRight = SDLK_KP_6;
    gKeycodeConfirmEat = SDLK_KP_ENTER; // "Hold Keypad Enter to eat" needs a second line
    startGame(&state);
    ASSERT_EQ(playFrame(&state), kFrameGoesOn);
    EXPECT_TRUE(isBlack(readPixel(362, 204)) && isWhite(readPixel(362, 195))) << "the tall box is one line taller";
    EXPECT_TRUE(isBlack(readPixel(362, 56)) && isWhite(readPixel(362, 50))) << "the short box is one line taller";
}

TEST_F(PlayTest, TheEatHintThePauseTheWarningAndTheHunterFollowOnTheirFrames) {
    TestMap map = makeOpenMap(30, 20);
    setCell(&map, 1, 10, 10, kTestGrass);
    setCell(&map, 3, 10, 10, kTestStart);
    setCell(&map, 3, 1, 1, kTestSpot);
    setCell(&map, 3, 18, 28, kTestSpot);
    writeTestWorld(map);
    startGame(&state);
    state.showIntroduction = 0; // keep the tall box for the warning alone
    // The deer stands with its head over the grass from the first frame on: F = 1.
    for (int frame = 1; frame <= 1066; frame++) {
        ASSERT_EQ(playFrame(&state), kFrameGoesOn) << frame;
        EXPECT_EQ(isShortBoxShown(), frame <= 165) << "eat hint, frame " << frame;
        EXPECT_EQ(isTallBoxShown(), frame >= 466 && frame <= 1065) << "warning, frame " << frame;
        EXPECT_EQ(gHunterX >= 0, frame >= 1065) << "hunter, frame " << frame;
    }
    EXPECT_EQ(state.eatHintTimer, -2);
    // He arrives on the spot farthest from the deer.
    EXPECT_EQ(gHunterX / 640, 28);
    EXPECT_EQ(gHunterY / 640, 18);
}

TEST_F(PlayTest, AMapWithTwoFoodTilesIsWonInItsFirstFrameAndTheThirdTileWinsAfterEating) {
    TestMap map = makeOpenMap(20, 12);
    setCell(&map, 1, 2, 2, kTestGrass);
    setCell(&map, 1, 2, 4, kTestGrass);
    writeTestWorld(map);
    startGame(&state);
    EXPECT_EQ(playFrame(&state), kFrameVictory);

    setCell(&map, 1, 6, 6, kTestGrass);
    setCell(&map, 3, 6, 6, kTestStart);
    writeTestWorld(map);
    startGame(&state);
    EXPECT_EQ(gFoodLeftToEat, 1);
    pushKey(SDL_KEYDOWN, SDLK_RETURN);
    for (int frame = 1; frame < 28 + 165; frame++) {
        ASSERT_EQ(playFrame(&state), kFrameGoesOn) << frame;
    }
    EXPECT_EQ(playFrame(&state), kFrameVictory);
    EXPECT_EQ(gMap[kGridCells + 6 * kGridSide + 6], 0);
}

// Presses a key from SDL's timer thread, so that an end screen that lost the close request ends.
Uint32 pressSpaceLater(Uint32, void*) {
    pushKey(SDL_KEYDOWN, SDLK_SPACE);
    return 0;
}

TEST_F(PlayTest, TheEndScreensPauseDiscardsKeysButAWindowClosedDuringItEndsTheProgram) {
    pushKey(SDL_KEYDOWN, SDLK_RETURN); // still held from the game's last frames
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    SDL_TimerID timer = SDL_AddTimer(3000, pressSpaceLater, nullptr);
    EXPECT_EQ(displayGameOverScreen(kTextureWin, 2), 0);
    SDL_RemoveTimer(timer);
}

TEST_F(PlayTest, ASecondGameStartsWithEmptyRingsNoHunterAndAFreshSpotList) {
    TestMap map = makeOpenMap(30, 20);
    setCell(&map, 3, 10, 10, kTestStart);
    setCell(&map, 3, 1, 1, kTestSpot);
    writeTestWorld(map);
    startGame(&state);
    pushKey(SDL_KEYDOWN, SDLK_DOWN);
    for (int frame = 0; frame < 30; frame++) {
        playFrame(&state);
    }
    ASSERT_GT(gNextTrackIndex[0], 5);
    gHunterX = 1000;
    gHunterY = 1000;
    state.deer.isWounded = 1;
    startGame(&state);
    EXPECT_EQ(gNextTrackIndex[0], 0);
    EXPECT_EQ(gOldestTrackIndex[0], 0);
    EXPECT_EQ(gNextTrackIndex[1], 0);
    EXPECT_LT(gHunterX, 0);
    EXPECT_EQ(gHuntingSpots, 1);
    EXPECT_EQ(state.deer.isWounded, 0);
    EXPECT_EQ(state.showIntroduction, 1);
    EXPECT_EQ(state.eatHintTimer, -1);
    EXPECT_EQ(state.rightHeld + state.downHeld, 0);
    EXPECT_EQ(gPlayerX, 10 * 640 + 340);
    EXPECT_EQ(gPlayerY, 10 * 640 + 310);
}

} // namespace
