// Tests of the hunter's behaviour frame by frame: aiming, shooting, resting, chasing, his spots.
#include <gtest/gtest.h>

#include <cstring>

#include "hunter/hunter.h"
#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "render/mapview.h"
#include "support/test_env.h"
#include "world/map.h"
#include "world/tracks.h"

static int centre(int cell) { return (10 * cell + 5) * 64; }

// A 20 x 30 open map with the deer at cell (10, 15), the camera centred on it and the hunter
// three cells to its right, in the shooting window with a clear line to the deer.
static void setUpWorld(HunterState* hunter) {
    startHeadlessSDL();
    gMapRows = 20;
    gMapColumns = 30;
    memset(gMapMovementObstacle, 0, sizeof(gMapMovementObstacle));
    memset(gMapProjectileObstacle, 0, sizeof(gMapProjectileObstacle));
    gHuntingSpots = 0;
    for (int owner = 0; owner < kTrackOwners; owner++) {
        gNextTrackIndex[owner] = gOldestTrackIndex[owner] = 0;
    }
    gPlayerX = centre(15);
    gPlayerY = centre(10);
    gScreenX = gPlayerX / 10 - 400;
    gScreenY = gPlayerY / 10 - 300;
    resetHunter(hunter);
    gHunterX = centre(18);
    gHunterY = centre(10);
}

static void setSightWall(int column, uint8_t blocks) {
    for (int row = 0; row < gMapRows; row++) {
        gMapProjectileObstacle[row * kGridSide + column] = blocks;
    }
}

// Runs frames until one ends the game or count frames have run; returns the frames run.
static int runFrames(HunterState* hunter, int* isWounded, int count) {
    for (int frame = 1; frame <= count; frame++) {
        if (stepHunter(hunter, isWounded) == kHunterStepKilledDeer) {
            return frame;
        }
    }
    return count;
}

TEST(HunterFrame, ResetGivesTheStartValuesOfAGame) {
    HunterState hunter{7, 3, 12, 2, 5};
    gHunterX = 1000;
    gAgeOfHunterDestination = 3;
    resetHunter(&hunter);
    EXPECT_EQ(hunter.shotCooldown, 0);
    EXPECT_EQ(hunter.aimCountdown, kAimFrames);
    EXPECT_EQ(hunter.hunterAnimationCounter, 0);
    EXPECT_EQ(hunter.hunterOrientation, 0);
    EXPECT_LT(gHunterX, 0);
    EXPECT_EQ(gAgeOfHunterDestination, kNoDestinationAge);
}

TEST(HunterFrame, ShotFallsOnThe36thFrameAndTheSecondHitKills186FramesLater) {
    HunterState hunter;
    int isWounded = 0;
    setUpWorld(&hunter);
    const int standingAt = gHunterX;
    EXPECT_EQ(runFrames(&hunter, &isWounded, 35), 35);
    EXPECT_EQ(isWounded, 0);
    EXPECT_EQ(gHunterX, standingAt) << "he stands while he aims";
    EXPECT_EQ(stepHunter(&hunter, &isWounded), kHunterStepGoesOn);
    EXPECT_EQ(isWounded, 1) << "the first hit only wounds";
    EXPECT_EQ(hunter.shotCooldown, kShotCooldownFrames);

    // 150 frames of rest and 35 of aiming later the 186th frame after the hit kills, undrawn.
    EXPECT_EQ(runFrames(&hunter, &isWounded, 185), 185);
    const int ageBefore = gAgeOfHunterDestination;
    EXPECT_EQ(stepHunter(&hunter, &isWounded), kHunterStepKilledDeer);
    EXPECT_EQ(gAgeOfHunterDestination, ageBefore) << "the killing frame is not drawn";
    EXPECT_EQ(gHunterX, standingAt);
}

TEST(HunterFrame, AimBrokenInIts35thFrameStartsAgainFromTheBeginning) {
    HunterState hunter;
    int isWounded = 0;
    setUpWorld(&hunter);
    runFrames(&hunter, &isWounded, 34);
    setSightWall(16, 1); // the deer slips out of sight for one frame
    stepHunter(&hunter, &isWounded);
    EXPECT_EQ(hunter.aimCountdown, kAimFrames);
    setSightWall(16, 0);
    runFrames(&hunter, &isWounded, 35);
    EXPECT_EQ(isWounded, 0);
    stepHunter(&hunter, &isWounded);
    EXPECT_EQ(isWounded, 1) << "36 frames after the break";
}

TEST(HunterFrame, RestsFor150FramesThenChasesADeerHeSeesFromOutsideTheWindow) {
    HunterState hunter;
    int isWounded = 0;
    setUpWorld(&hunter);
    runFrames(&hunter, &isWounded, 36);
    ASSERT_EQ(isWounded, 1);
    // The camera moves on: the hunter is out of the window but still sees the deer.
    gScreenX -= 400;
    const int standingAt = gHunterX;
    runFrames(&hunter, &isWounded, kShotCooldownFrames);
    EXPECT_EQ(gHunterX, standingAt) << "no step while resting";
    for (int frame = 1; frame <= 3; frame++) {
        stepHunter(&hunter, &isWounded);
        EXPECT_EQ(hunter.hunterMoveResult, kDirectionLeft);
        EXPECT_EQ(gHunterX, standingAt - frame * kHunterWalkSpeed);
        EXPECT_EQ(gAgeOfHunterDestination, 1) << "the deer's own cell, seen this frame";
        EXPECT_EQ(gMapPathfindingParent[10 * kGridSide + 15], kDirectionDestination);
    }
    EXPECT_EQ(hunter.hunterOrientation, 2) << "facing left";
    EXPECT_EQ(hunter.aimCountdown, kAimFrames);
}

TEST(HunterFrame, AtTheEndOfHisPathHeTurnsToTheNextSpotAndStepsInTheSameFrame) {
    HunterState hunter;
    int isWounded = 0;
    setUpWorld(&hunter);
    setSightWall(16, 1);
    gHuntingSpotRow[0] = 10;
    gHuntingSpotColumn[0] = 29;
    gHuntingSpots = 1;
    gIndexOfHuntingSpotToVisit = -1;
    hunter.hunterOrientation = 2;
    const int startX = gHunterX;
    stepHunter(&hunter, &isWounded);
    EXPECT_EQ(hunter.hunterMoveResult, kDirectionRight);
    EXPECT_EQ(gHunterX, startX + kHunterWalkSpeed);
    EXPECT_EQ(hunter.hunterOrientation, 0);
    ASSERT_EQ(gNextTrackIndex[1], 1) << "a track on the first walking frame";
    EXPECT_EQ(gTrack[1][0].x, gHunterX / 10);
    EXPECT_EQ(gTrack[1][0].isBlood, 0);

    // 49 more walking frames: a track whenever the counter is a multiple of 3, 17 in 50.
    runFrames(&hunter, &isWounded, 49);
    EXPECT_EQ(gNextTrackIndex[1], 17);
    EXPECT_EQ(hunter.hunterAnimationCounter, 0);
    EXPECT_EQ(gHunterX, startX + 50 * kHunterWalkSpeed);
}

TEST(HunterFrame, MovingUpOrDownKeepsTheFacingOfTheLastHorizontalMove) {
    HunterState hunter;
    int isWounded = 0;
    setUpWorld(&hunter);
    setSightWall(16, 1);
    gHuntingSpotRow[0] = 2;
    gHuntingSpotColumn[0] = 18;
    gHuntingSpots = 1;
    gIndexOfHuntingSpotToVisit = -1;
    hunter.hunterOrientation = 2;
    const int startY = gHunterY;
    runFrames(&hunter, &isWounded, 10);
    EXPECT_EQ(hunter.hunterMoveResult, kDirectionUp);
    EXPECT_EQ(gHunterY, startY - 10 * kHunterWalkSpeed);
    EXPECT_EQ(hunter.hunterOrientation, 2);
}

TEST(HunterFrame, ArrivalUsesUpTheFirstSpotOfTheShuffleAndNeedsASpot) {
    HunterState hunter;
    setUpWorld(&hunter);
    resetHunter(&hunter);
    arriveHunter();
    EXPECT_LT(gHunterX, 0) << "no spots, no hunter";

    for (int i = 0; i < 4; i++) {
        gHuntingSpotRow[i] = 1 + i;
        gHuntingSpotColumn[i] = 2 + i;
    }
    gHuntingSpots = 4;
    arriveHunter();
    EXPECT_EQ(gHunterX, centre(2)) << "spot 0 lies farthest from the deer";
    EXPECT_EQ(gHunterY, centre(1));
    EXPECT_EQ(gIndexOfHuntingSpotToVisit, 2) << "one of four handed out";
}
