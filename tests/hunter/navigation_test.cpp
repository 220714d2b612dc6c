// Tests of the hunter's placement, his hunting spots, the tracks he follows and his walk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "render/mapview.h"
#include "world/map.h"
#include "world/tracks.h"

static void openMap(int rows, int columns) {
    gTileWidthToRender = 64;
    gTileHeightToRender = 64;
    gMapRows = rows;
    gMapColumns = columns;
    memset(gMapMovementObstacle, 0, sizeof(gMapMovementObstacle));
    memset(gMapProjectileObstacle, 0, sizeof(gMapProjectileObstacle));
    gHuntingSpots = 0;
    gNextTrackIndex[0] = gOldestTrackIndex[0] = 0;
    gHunterX = gHunterY = -1;
    resetHunterNavigation();
}

static int centre(int cell) { return (10 * cell + 5) * 64; }

static void addSpot(int row, int column) {
    gHuntingSpotRow[gHuntingSpots] = row;
    gHuntingSpotColumn[gHuntingSpots] = column;
    gHuntingSpots++;
}

// Lays a deer track record directly, as the newest of the ring.
static void layDeerTrack(int x, int y, int age) {
    gTrack[0][gNextTrackIndex[0]] = Track{x, y, age, 0};
    gNextTrackIndex[0] = (gNextTrackIndex[0] + 1) % kTrackRing;
}

static uint8_t codeAt(int row, int column) { return gMapPathfindingParent[row * kGridSide + column]; }

TEST(HunterSpawn, TakesTheFarthestSpotAndTheLowerIndexOnTies) {
    openMap(20, 20);
    gPlayerX = centre(0);
    gPlayerY = centre(0);
    addSpot(2, 2);
    addSpot(5, 1);
    addSpot(1, 5);
    gIndexOfHuntingSpotToVisit = 2;
    EXPECT_EQ(spawnHunter(), 1);
    EXPECT_EQ(gHunterX, centre(1));
    EXPECT_EQ(gHunterY, centre(5));
    EXPECT_LT(gIndexOfHuntingSpotToVisit, 0) << "the next spot comes from a new shuffle";
}

TEST(HunterSpawn, OneSpotMapAlwaysUsesSpotZero) {
    openMap(20, 20);
    gPlayerX = centre(10);
    gPlayerY = centre(10);
    addSpot(3, 5);
    EXPECT_EQ(spawnHunter(), 0);
    EXPECT_EQ(gHunterX, 3520);
    EXPECT_EQ(gHunterY, 2240);
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(getNextHuntingSpot(), 0);
    }
}

TEST(HunterSpawn, MapWithoutSpotsPlacesNoHunterAndHandsOutNoSpot) {
    openMap(20, 20);
    EXPECT_EQ(spawnHunter(), -1);
    EXPECT_LT(gHunterX, 0);
    EXPECT_EQ(getNextHuntingSpot(), -1);
    EXPECT_EQ(getNextHuntingSpot(), -1);
    // A count beyond the arrays' capacity is held to it.
    gHuntingSpots = kMaxHuntingSpots + 10;
    for (int i = 0; i < kMaxHuntingSpots; i++) {
        gHuntingSpotRow[i] = gHuntingSpotColumn[i] = 1;
    }
    EXPECT_GE(spawnHunter(), 0);
    for (int i = 0; i < 3 * kMaxHuntingSpots; i++) {
        const int spot = getNextHuntingSpot();
        ASSERT_GE(spot, 0);
        ASSERT_LT(spot, kMaxHuntingSpots);
    }
}

TEST(HuntingSpots, EachShuffleHandsOutEverySpotOnce) {
    openMap(20, 20);
    for (int i = 0; i < 7; i++) {
        addSpot(i, 2 * i);
    }
    srand(12345);
    spawnHunter();
    for (int round = 0; round < 3; round++) {
        std::vector<int> handed;
        for (int i = 0; i < 7; i++) {
            handed.push_back(getNextHuntingSpot());
        }
        EXPECT_LT(gIndexOfHuntingSpotToVisit, 0) << "used up after n calls";
        std::sort(handed.begin(), handed.end());
        EXPECT_EQ(handed, (std::vector<int>{0, 1, 2, 3, 4, 5, 6})) << "round " << round;
    }
}

TEST(TrackFollowing, TakesATrackOfTheDestinationsAgeButNeverAnOlderOne) {
    openMap(9, 13);
    gHunterX = centre(2);
    gHunterY = centre(2);
    layDeerTrack(600, 300, 150); // cell (4, 9), the only track, older than the destination
    gAgeOfHunterDestination = 149;
    EXPECT_EQ(computeHunterPathToMostRecentDeerTrack(), 0);
    EXPECT_EQ(gAgeOfHunterDestination, 149);
    EXPECT_EQ(codeAt(4, 9), kDirectionUnvisited) << "the field is left alone";

    gAgeOfHunterDestination = 150;
    EXPECT_EQ(computeHunterPathToMostRecentDeerTrack(), 1);
    EXPECT_EQ(gAgeOfHunterDestination, 150);
    EXPECT_EQ(codeAt(4, 9), kDirectionDestination);
    EXPECT_NE(codeAt(2, 2), kDirectionUnvisited);
}

TEST(TrackFollowing, HeadsForAnOlderVisibleTrackWhenTheNewestIsHidden) {
    openMap(9, 13);
    gHunterX = centre(2);
    gHunterY = centre(2);
    // A sight wall down column 6; the hunter stands left of it.
    for (int row = 0; row < 9; row++) {
        gMapProjectileObstacle[row * kGridSide + 6] = 1;
    }
    gNextTrackIndex[0] = gOldestTrackIndex[0] = 1021; // the ring wraps between the tracks
    layDeerTrack(5 * 64 + 10, 7 * 64 + 10, 40);  // visible, cell (7, 5)
    layDeerTrack(2 * 64 + 10, 6 * 64 + 10, 30);  // visible, cell (6, 2)
    layDeerTrack(9 * 64 + 10, 1 * 64 + 10, 20);  // hidden behind the wall
    layDeerTrack(10 * 64 + 10, 4 * 64 + 10, 10); // hidden, the newest
    ASSERT_EQ(gNextTrackIndex[0], 1);
    gAgeOfHunterDestination = kNoDestinationAge;
    EXPECT_EQ(computeHunterPathToMostRecentDeerTrack(), 1);
    EXPECT_EQ(gAgeOfHunterDestination, 30);
    EXPECT_EQ(codeAt(6, 2), kDirectionDestination);

    // Hidden tracks only: nothing changes.
    gOldestTrackIndex[0] = 0;
    EXPECT_EQ(computeHunterPathToMostRecentDeerTrack(), 0);
    EXPECT_EQ(gAgeOfHunterDestination, 30);
}

TEST(HunterWalk, FinishesEachStepToTheNextCellCentreBeforeReadingTheField) {
    openMap(9, 13);
    for (int column = 0; column < 13; column++) {
        gMapPathfindingParent[4 * kGridSide + column] = kDirectionRight;
    }
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
    EXPECT_EQ(gHunterY, centre(4));
    // Column 3 now leads down: the turn is taken where he stands, towards the centre of row 5.
    gMapPathfindingParent[4 * kGridSide + 3] = kDirectionDown;
    EXPECT_EQ(moveHunter(1), kDirectionDown);
    EXPECT_EQ(gHunterX, 2230);
    EXPECT_EQ(gHunterY, centre(4) + kHunterRunSpeed);
    int steps = 1;
    while (moveHunter(1) == kDirectionDown) {
        steps++;
    }
    EXPECT_EQ(steps, 12);
    EXPECT_EQ(gHunterY, centre(5) - 40) << "he stops less than one step short of the centre";
}

TEST(HunterWalk, StepsUpAndLeftEndAtTheCentreBeforeTheirCell) {
    openMap(9, 13);
    gMapPathfindingParent[4 * kGridSide + 6] = kDirectionUp;
    gHunterX = centre(6);
    gHunterY = centre(4);
    int steps = 0;
    while (moveHunter(0) == kDirectionUp) {
        steps++;
    }
    EXPECT_EQ(steps, 18);
    EXPECT_EQ(gHunterY, centre(4) - 18 * kHunterWalkSpeed);
    EXPECT_EQ(gHunterY, centre(3) + 10);
    gMapPathfindingParent[3 * kGridSide + 6] = kDirectionLeft;
    EXPECT_EQ(moveHunter(0), kDirectionLeft);
    EXPECT_EQ(gHunterX, centre(6) - kHunterWalkSpeed);
}

TEST(HunterWalk, ResetForgetsTheStepInProgressAndTheField) {
    openMap(9, 13);
    gMapPathfindingParent[4 * kGridSide + 2] = kDirectionRight;
    gHunterX = centre(2);
    gHunterY = centre(4);
    gAgeOfHunterDestination = 5;
    EXPECT_EQ(moveHunter(0), kDirectionRight);
    resetHunterNavigation();
    EXPECT_EQ(gAgeOfHunterDestination, kNoDestinationAge);
    EXPECT_EQ(codeAt(4, 2), kDirectionUnvisited);
    EXPECT_EQ(moveHunter(0), 0) << "a new game's hunter reads the field at once";
    EXPECT_EQ(gHunterX, centre(2) + kHunterWalkSpeed);
}
