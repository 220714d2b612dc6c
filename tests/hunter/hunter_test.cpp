// Tests of the hunter's spots, the tracks he follows, his walk and his behaviour frame by frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <vector>

#include "hunter/hunter.h"
#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "movement/movement.h"
#include "render/mapview.h"
#include "support/test_env.h"
#include "world/map.h"
#include "world/tracks.h"

static HunterState Hunter; // the test's hunter, reset by openMap
static int IsWounded;      // set by his first hit, cleared by openMap

static int centre(int cell) { return (10 * cell + 5) * 64; }
static uint8_t& codeAt(int row, int column) { return gMapPathfindingParent[row * kGridSide + column]; }

// An open map without spots or tracks and a fresh game with no hunter on it; the deer stands on
// the centre of a cell with the camera centred on it.
static void openMap(int rows, int columns, int deerRow = 0, int deerColumn = 0) {
    startHeadlessSDL();
    gTileWidthToRender = gTileHeightToRender = 64;
    gMapRows = rows;
    gMapColumns = columns;
    memset(gMapMovementObstacle, 0, sizeof(gMapMovementObstacle));
    memset(gMapProjectileObstacle, 0, sizeof(gMapProjectileObstacle));
    memset(gMapPathfindingParent, 0, sizeof(gMapPathfindingParent));
    gHuntingSpots = 0;
    for (int owner = 0; owner < kTrackOwners; owner++)
        gNextTrackIndex[owner] = gOldestTrackIndex[owner] = 0;
    gPlayerX = centre(deerColumn);
    gPlayerY = centre(deerRow);
    gScreenX = gPlayerX / 10 - 400;
    gScreenY = gPlayerY / 10 - 300;
    resetHunter(&Hunter);
    IsWounded = 0;
}

// A 20 x 30 map with the deer at cell (10, 15) and the hunter three cells to its right, in the
// shooting window with a clear line to the deer.
static void openHuntingGround() {
    openMap(20, 30, 10, 15);
    gHunterX = centre(18);
    gHunterY = centre(10);
}

static void addSpot(int row, int column) {
    gHuntingSpotRow[gHuntingSpots] = row;
    gHuntingSpotColumn[gHuntingSpots++] = column;
}

// Lays a deer track record directly, as the newest of the ring.
static void layDeerTrack(int x, int y, int age) {
    gTrack[0][gNextTrackIndex[0]] = Track{x, y, age, 0};
    gNextTrackIndex[0] = (gNextTrackIndex[0] + 1) % kTrackRing;
}

static void setSightWall(int column, uint8_t blocks) {
    for (int row = 0; row < gMapRows; row++)
        gMapProjectileObstacle[row * kGridSide + column] = blocks;
}

static int step() { return stepHunter(&Hunter, &IsWounded); }

// Runs frames until one ends the game or count frames have run; returns the frames run.
static int runFrames(int count) {
    for (int frame = 1; frame <= count; frame++) {
        if (step() == kHunterStepKilledDeer)
            return frame;
    }
    return count;
}

TEST(HunterSpawn, TakesTheFarthestSpotWithTheLowerIndexOnTiesAndNeedsASpot) {
    openMap(20, 20);
    addSpot(2, 2);
    addSpot(5, 1);
    addSpot(1, 5);
    gIndexOfHuntingSpotToVisit = 2;
    EXPECT_EQ(spawnHunter(), 1);
    EXPECT_EQ(gHunterX, centre(1));
    EXPECT_EQ(gHunterY, centre(5));
    EXPECT_LT(gIndexOfHuntingSpotToVisit, 0) << "the next spot comes from a new shuffle";
    // Without spots no hunter is placed; too many spots are held to the arrays' capacity.
    openMap(20, 20);
    EXPECT_EQ(spawnHunter(), -1);
    EXPECT_LT(gHunterX, 0);
    EXPECT_EQ(getNextHuntingSpot(), -1);
    arriveHunter();
    EXPECT_LT(gHunterX, 0);
    gHuntingSpots = kMaxHuntingSpots + 10;
    for (int i = 0; i < kMaxHuntingSpots; i++)
        gHuntingSpotRow[i] = gHuntingSpotColumn[i] = 1;
    EXPECT_GE(spawnHunter(), 0);
    for (int i = 0; i < 3 * kMaxHuntingSpots; i++) {
        const int spot = getNextHuntingSpot();
        ASSERT_TRUE(spot >= 0 && spot < kMaxHuntingSpots) << spot;
    }
}

TEST(HuntingSpots, EachShuffleHandsOutEverySpotOnce) {
    for (int spots : {1, 7}) {
        openMap(20, 20);
        for (int i = 0; i < spots; i++)
            addSpot(i, 2 * i);
        std::vector<int> all(spots);
        std::iota(all.begin(), all.end(), 0);
        srand(12345);
        spawnHunter();
        for (int round = 0; round < 3; round++) {
            std::vector<int> handed;
            for (int i = 0; i < spots; i++)
                handed.push_back(getNextHuntingSpot());
            EXPECT_LT(gIndexOfHuntingSpotToVisit, 0) << "used up after " << spots << " calls";
            std::sort(handed.begin(), handed.end());
            EXPECT_EQ(handed, all) << spots << " spots, round " << round;
        }
    }
}

TEST(TrackFollowing, TakesTheNewestVisibleTrackOfTheDestinationsAgeButNeverAnOlderOne) {
    openMap(9, 13);
    gHunterX = gHunterY = centre(2);
    layDeerTrack(600, 300, 150); // cell (4, 9), the only track
    gAgeOfHunterDestination = 149;
    EXPECT_EQ(computeHunterPathToMostRecentDeerTrack(), 0);
    EXPECT_EQ(gAgeOfHunterDestination, 149);
    EXPECT_EQ(codeAt(4, 9), kDirectionUnvisited) << "the field is left alone";
    gAgeOfHunterDestination = 150;
    EXPECT_EQ(computeHunterPathToMostRecentDeerTrack(), 1);
    EXPECT_EQ(gAgeOfHunterDestination, 150);
    EXPECT_EQ(codeAt(4, 9), kDirectionDestination);
    // An older visible track is taken when the newer ones are hidden behind a sight wall.
    openMap(9, 13);
    gHunterX = gHunterY = centre(2);
    setSightWall(6, 1);
    gNextTrackIndex[0] = gOldestTrackIndex[0] = 1021; // the ring wraps between the tracks
    layDeerTrack(5 * 64 + 10, 7 * 64 + 10, 40);       // visible, cell (7, 5)
    layDeerTrack(2 * 64 + 10, 6 * 64 + 10, 30);       // visible, cell (6, 2)
    layDeerTrack(9 * 64 + 10, 1 * 64 + 10, 20);       // hidden behind the wall
    layDeerTrack(10 * 64 + 10, 4 * 64 + 10, 10);      // hidden, the newest
    EXPECT_EQ(computeHunterPathToMostRecentDeerTrack(), 1);
    EXPECT_EQ(gAgeOfHunterDestination, 30);
    EXPECT_EQ(codeAt(6, 2), kDirectionDestination);
    gOldestTrackIndex[0] = 0; // hidden tracks only: nothing changes
    EXPECT_EQ(computeHunterPathToMostRecentDeerTrack(), 0);
    EXPECT_EQ(gAgeOfHunterDestination, 30);
}

TEST(TrackFollowing, PassesOverTracksInCellsThatStopHimAsIfUnseen) {
    openMap(9, 13);
    gHunterX = gHunterY = centre(1);
    for (int column = 0; column < 13; column++) {
        gMapMovementObstacle[5 * kGridSide + column] = 1; // a frozen lake's shore: stops feet, not sight
        gMapMovementObstacle[8 * kGridSide + column] = 1; // ice along the last row
    }
    gPlayerX = centre(3);
    gPlayerY = centre(3);
    addTrack(0, gPlayerX / 10, gPlayerY / 10, 1, 0, 0); // on free snow, cell (3, 3)
    while (moveDown(kDeerWalkSpeed) != 0) {
    }
    for (int i = 0; i < 2; i++) { // walking right along the shore, feet flush against the ice
        moveRight(kDeerWalkSpeed);
        addTrack(0, gPlayerX / 10, gPlayerY / 10, 1, 0, 0);
        ASSERT_EQ(gTrack[0][gNextTrackIndex[0] - 1].y / 64, 5) << "the track lies in the ice";
    }
    layDeerTrack(4 * 64, 9 * 64 + 2, 0); // below the map: the search would start in the icy last row
    EXPECT_EQ(computeHunterPathToMostRecentDeerTrack(), 1);
    EXPECT_EQ(codeAt(3, 3), kDirectionDestination);
    EXPECT_NE(codeAt(1, 1), kDirectionUnvisited);
}

TEST(HunterWalk, FinishesEachStepToTheNextCellCentreBeforeReadingTheField) {
    openMap(9, 13);
    for (int column = 0; column < 13; column++)
        codeAt(4, column) = kDirectionRight;
    gHunterX = 1600; // centre of column 2
    gHunterY = centre(4);
    EXPECT_EQ(moveHunter(0), kDirectionRight);
    EXPECT_EQ(gHunterX, 1635);
    // A new field does not turn a step in progress: he goes on to just short of 2240.
    memset(gMapPathfindingParent, 0, sizeof(gMapPathfindingParent));
    for (int x = 1670; x <= 2230; x += kHunterWalkSpeed) {
        ASSERT_EQ(moveHunter(0), kDirectionRight);
        ASSERT_EQ(gHunterX, x);
    }
    // At 2230 the next step would pass 2240: column 3 is read, and it holds no step.
    EXPECT_EQ(moveHunter(0), 0);
    EXPECT_EQ(gHunterX, 2230);
    // Column 3 now leads down: the turn is taken where he stands, running to the centre of row 5.
    codeAt(4, 3) = kDirectionDown;
    int steps = 0;
    while (moveHunter(1) == kDirectionDown)
        steps++;
    EXPECT_EQ(steps, 12);
    EXPECT_EQ(gHunterX, 2230);
    EXPECT_EQ(gHunterY, centre(5) - 40) << "he stops less than one step short of the centre";
    // Steps up and left end at the centre before their cell.
    openMap(9, 13);
    codeAt(4, 6) = kDirectionUp;
    gHunterX = centre(6);
    gHunterY = centre(4);
    steps = 0;
    while (moveHunter(0) == kDirectionUp)
        steps++;
    EXPECT_EQ(steps, 18);
    EXPECT_EQ(gHunterY, centre(3) + 10);
    codeAt(3, 6) = kDirectionLeft;
    EXPECT_EQ(moveHunter(0), kDirectionLeft);
    EXPECT_EQ(gHunterX, centre(6) - kHunterWalkSpeed);
}

TEST(HunterFrame, ResetStartsAFreshGameAndForgetsTheStepInProgress) {
    openHuntingGround();
    codeAt(10, 18) = kDirectionRight;
    EXPECT_EQ(moveHunter(0), kDirectionRight);
    const int steppedX = gHunterX, steppedY = gHunterY;
    Hunter = HunterState{7, 3, 12, 2, 5};
    gAgeOfHunterDestination = 5;
    resetHunter(&Hunter);
    EXPECT_EQ(Hunter.shotCooldown, 0);
    EXPECT_EQ(Hunter.aimCountdown, kAimFrames);
    EXPECT_LT(gHunterX, 0);
    EXPECT_EQ(gAgeOfHunterDestination, kNoDestinationAge);
    EXPECT_EQ(codeAt(10, 18), kDirectionUnvisited);
    gHunterX = steppedX;
    gHunterY = steppedY;
    EXPECT_EQ(moveHunter(0), 0) << "a new game's hunter reads the field at once";
}

TEST(HunterFrame, ShotFallsOnThe36thFrameAndTheSecondHitKills186FramesLater) {
    openHuntingGround();
    const int standingAt = gHunterX;
    EXPECT_EQ(runFrames(35), 35);
    EXPECT_EQ(IsWounded, 0);
    EXPECT_EQ(gHunterX, standingAt) << "he stands while he aims";
    EXPECT_EQ(step(), kHunterStepGoesOn);
    EXPECT_EQ(IsWounded, 1) << "the first hit only wounds";
    EXPECT_EQ(Hunter.shotCooldown, kShotCooldownFrames);
    // 150 frames of rest and 35 of aiming later the 186th frame after the hit kills, undrawn.
    EXPECT_EQ(runFrames(185), 185);
    const int ageBefore = gAgeOfHunterDestination;
    EXPECT_EQ(step(), kHunterStepKilledDeer);
    EXPECT_EQ(gAgeOfHunterDestination, ageBefore) << "the killing frame is not drawn";
    EXPECT_EQ(gHunterX, standingAt);
}

TEST(HunterFrame, AimBrokenInIts35thFrameStartsAgainFromTheBeginning) {
    openHuntingGround();
    runFrames(34);
    setSightWall(16, 1); // the deer slips out of sight for one frame
    step();
    EXPECT_EQ(Hunter.aimCountdown, kAimFrames);
    setSightWall(16, 0);
    runFrames(35);
    EXPECT_EQ(IsWounded, 0);
    step();
    EXPECT_EQ(IsWounded, 1) << "36 frames after the break";
}

TEST(HunterFrame, RestsFor150FramesThenChasesADeerHeSeesFromOutsideTheWindow) {
    openHuntingGround();
    runFrames(36);
    ASSERT_EQ(IsWounded, 1);
    gScreenX -= 400; // the camera moves on: he is out of the window but still sees the deer
    const int standingAt = gHunterX;
    runFrames(kShotCooldownFrames);
    EXPECT_EQ(gHunterX, standingAt) << "no step while resting";
    step();
    EXPECT_EQ(Hunter.hunterMoveResult, kDirectionLeft);
    EXPECT_EQ(gHunterX, standingAt - kHunterWalkSpeed);
    EXPECT_EQ(gAgeOfHunterDestination, 1) << "the deer's own cell, seen this frame";
    EXPECT_EQ(codeAt(10, 15), kDirectionDestination);
    EXPECT_EQ(Hunter.hunterOrientation, 2) << "facing left";
    EXPECT_EQ(Hunter.aimCountdown, kAimFrames);
}

TEST(HunterFrame, AtTheEndOfHisPathHeTurnsToTheNextSpotAndStepsInTheSameFrame) {
    openHuntingGround();
    setSightWall(16, 1);
    addSpot(10, 29);
    gIndexOfHuntingSpotToVisit = -1;
    Hunter.hunterOrientation = 2;
    const int startX = gHunterX;
    step();
    EXPECT_EQ(Hunter.hunterMoveResult, kDirectionRight);
    EXPECT_EQ(gHunterX, startX + kHunterWalkSpeed);
    EXPECT_EQ(Hunter.hunterOrientation, 0);
    ASSERT_EQ(gNextTrackIndex[1], 1) << "a track on the first walking frame";
    EXPECT_EQ(gTrack[1][0].x, gHunterX / 10);
}
