// The hunter's spots, the tracks he follows, his walk, and his behaviour frame by frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "hunter/hunter.h"
#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "render/mapview.h"
#include "render/media.h"
#include "support/test_env.h"
#include "world/tracks.h"

static HunterState Hunter; // the test's hunter, reset by openMap
static int IsWounded;      // set by his first hit, cleared by openMap

static int centre(int cell) { return (10 * cell + 5) * 64; }
static uint8_t& codeAt(int row, int column) { return gMapPathfindingParent[row * kGridSide + column]; }
static int step() { return stepHunter(&Hunter, &IsWounded); }

// An open map of 20 x 30 cells without spots or tracks, a fresh game with the hunter at cell
// (hunterRow, hunterColumn), and the deer at (deerX, deerY) tenths with the camera centred on it.
static void openMap(int hunterRow, int hunterColumn, int deerX = centre(2), int deerY = centre(2)) {
    startHeadlessSDL();
    gMapRows = 20, gMapColumns = 30;
    memset(gMapMovementObstacle, 0, sizeof(gMapMovementObstacle));
    memset(gMapProjectileObstacle, 0, sizeof(gMapProjectileObstacle));
    gHuntingSpots = 0; // and far beyond the count, stale spots that must not count
    std::fill(gHuntingSpotRow, gHuntingSpotRow + kMaxHuntingSpots, 19);
    std::fill(gHuntingSpotColumn, gHuntingSpotColumn + kMaxHuntingSpots, 29);
    gNextTrackIndex[0] = gOldestTrackIndex[0] = gNextTrackIndex[1] = gOldestTrackIndex[1] = 0;
    gPlayerX = deerX, gPlayerY = deerY;
    centerScreenOnXY(deerX / 10, deerY / 10);
    resetHunter(&Hunter);
    IsWounded = 0;
    gHunterX = centre(hunterColumn), gHunterY = centre(hunterRow);
}

static void addSpot(int row, int column) {
    gHuntingSpotRow[gHuntingSpots] = row;
    gHuntingSpotColumn[gHuntingSpots++] = column;
}

static void layDeerTrack(int x, int y, int age) {
    gTrack[0][gNextTrackIndex[0]] = Track{x, y, age, 0};
    gNextTrackIndex[0] = (gNextTrackIndex[0] + 1) % kTrackRing;
}

static void setSightWall(int column, uint8_t blocks) {
    for (int row = 0; row < gMapRows; row++)
        gMapProjectileObstacle[row * kGridSide + column] = blocks;
}

// Runs frames until one ends the game or count frames have run; returns the frames run.
static int runFrames(int count) {
    for (int frame = 1; frame <= count; frame++)
        if (step() == kHunterStepKilledDeer)
            return frame;
    return count;
}

TEST(HuntingSpots, TheHunterArrivesOnTheFarthestSpotAndEachShuffleHandsOutEverySpotOnce) {
    // Spots as row, column pairs, then the one he arrives on for a deer at cell (1, 1): the farthest,
    // the first of two as far. His first spot of a fresh visit order is used up unvisited.
    // clang-format off
    const std::vector<std::vector<int>> cases = {{3, 5, 0}, {2, 2, 5, 1, 1, 5, 1}, {10, 0, 0, 9, 0, 11, 2}, {7, 0, 0, 3, 2, 2, 0},
                                                 {0, 1, 0, 2, 0, 3, 1, 3, 2, 3, 3, 3, 4, 4, 0, 7, 7}};
    // clang-format on
    for (const std::vector<int>& c : cases) {
        openMap(0, 0, centre(1), centre(1));
        for (size_t i = 0; i + 1 < c.size(); i += 2)
            addSpot(c[i], c[i + 1]);
        const int spots = gHuntingSpots, chosen = c.back();
        arriveHunter();
        EXPECT_TRUE(gHunterX == centre(c[2 * chosen + 1]) && gHunterY == centre(c[2 * chosen]) &&
                    gIndexOfHuntingSpotToVisit == spots - 2 && spawnHunter() == chosen)
            << spots << " spots: at " << gHunterX << "," << gHunterY << ", next " << gIndexOfHuntingSpotToVisit;
        std::vector<int> handed(3 * spots); // three visit orders in a row
        std::generate(handed.begin(), handed.end(), getNextHuntingSpot);
        for (int spot = 0; spot < spots; spot++)
            EXPECT_EQ(std::count(handed.begin(), handed.end(), spot), 3) << spots << " spots, spot " << spot;
    }
    gHuntingSpots = 1; // an order left from a map with more spots is shuffled afresh
    gIndexOfHuntingSpotToVisit = 1;
    EXPECT_EQ(getNextHuntingSpot(), 0);
    openMap(0, 0); // without spots no hunter is placed
    gHunterX = -1;
    arriveHunter();
    EXPECT_TRUE(spawnHunter() == -1 && getNextHuntingSpot() == -1 && gHunterX < 0);
}

TEST(TrackFollowing, HeHeadsForTheNewestTrackHeSeesInACellHeMayEnterButNeverForAnOlderOne) {
    // Behind a sight wall, or in cells that stop him (ice along a shore, and the row below a map
    // whose last row is ice), newer tracks are passed over; one older than his destination is not taken.
    openMap(2, 2);
    gMapRows = 9;
    setSightWall(6, 1);
    for (int column = 3; column < 13; column++)
        gMapMovementObstacle[5 * kGridSide + column] = gMapMovementObstacle[8 * kGridSide + column] = 1;
    gNextTrackIndex[0] = gOldestTrackIndex[0] = 1022; // the ring wraps between the tracks
    layDeerTrack(5 * 64 + 10, 7 * 64 + 10, 40);       // visible, cell (7, 5)
    layDeerTrack(2 * 64 + 10, 6 * 64 + 10, 30);       // visible, cell (6, 2), in the ring's last slot
    layDeerTrack(3 * 64 + 10, 5 * 64 + 10, 25);       // visible, on the ice
    layDeerTrack(4 * 64, 9 * 64 + 2, 22);             // visible, below the map
    layDeerTrack(9 * 64 + 10, 1 * 64 + 10, 20);       // hidden behind the wall
    gAgeOfHunterDestination = 29;
    EXPECT_TRUE(computeHunterPathToMostRecentDeerTrack() == 0 && gAgeOfHunterDestination == 29 &&
                codeAt(6, 2) == kDirectionUnvisited)
        << "the path is left alone";
    gAgeOfHunterDestination = 30;
    EXPECT_TRUE(computeHunterPathToMostRecentDeerTrack() == 1 && gAgeOfHunterDestination == 30 &&
                codeAt(6, 2) == kDirectionDestination && codeAt(2, 2) != 0);
    gOldestTrackIndex[0] = 0; // none but those: nothing changes
    EXPECT_TRUE(computeHunterPathToMostRecentDeerTrack() == 0 && gAgeOfHunterDestination == 30);
    // The line runs to his centre: a bush beside him hides him from a track level with it.
    openMap(10, 20);
    gMapProjectileObstacle[10 * kGridSide + 19] = 1;
    layDeerTrack(10 * 64 + 32, 10 * 64 + 32, 5);
    EXPECT_EQ(computeHunterPathToMostRecentDeerTrack(), 0);
}

TEST(HunterFrame, HeShootsOnThe36thFrameOfAnUnbrokenAimRestsThenChasesADeerHeSeesAndKillsItWhenHeMayShoot) {
    // The deer in cell (10, 15), its centre 28 pixels below the cell's top, under a bush that hides
    // that cell; the hunter three cells to its right in row 11, in the shooting window, sees the
    // point 12 pixels below the deer's centre. His gunshot is ten seconds of silence: it plays on.
    static Uint8 Silence[10 * 44100 * 4];
    openMap(11, 18, centre(15), 10 * (64 * 10 + 60));
    gMapProjectileObstacle[10 * kGridSide + 15] = 1;
    Mix_HaltChannel(-1);
    Mix_FreeChunk(gSnd[kSoundGunshot]);
    gSnd[kSoundGunshot] = Mix_QuickLoad_RAW(Silence, sizeof Silence);
    runFrames(34);
    setSightWall(16, 1); // the deer is out of sight in the 35th frame: the aim starts again
    step();
    setSightWall(16, 0);
    EXPECT_TRUE(runFrames(35) == 35 && IsWounded == 0 && Mix_Playing(-1) == 0);
    EXPECT_TRUE(step() == kHunterStepGoesOn && IsWounded == 1 && Mix_Playing(-1) == 1) << "the first shot only wounds";
    // The camera moves on: he rests 150 frames, then, out of the window but seeing the deer,
    // steps towards the cell 12 pixels below its centre.
    gScreenX -= 400;
    runFrames(kShotCooldownFrames);
    EXPECT_EQ(gHunterX, centre(18)) << "no step while resting";
    step();
    EXPECT_TRUE(Hunter.hunterMoveResult == kDirectionLeft && gHunterX == centre(18) - kHunterWalkSpeed &&
                codeAt(11, 15) == kDirectionDestination && gAgeOfHunterDestination == 1 &&
                Hunter.hunterOrientation == 2);
    // Back in the window he aims again, and the 36th frame kills, undrawn.
    gScreenX += 400;
    EXPECT_EQ(runFrames(35), 35);
    const int ageBefore = gAgeOfHunterDestination;
    EXPECT_TRUE(step() == kHunterStepKilledDeer && gAgeOfHunterDestination == ageBefore) << "not killed, or drawn";
    EXPECT_EQ(gHunterX, centre(18) - kHunterWalkSpeed) << "he stands while he aims";
}

TEST(HunterFrame, WalkingHeFinishesEachStepToACellsCentreLaysATrackEveryThirdFrameAndFacesHisLastSidewaysStep) {
    openMap(0, 0, centre(12));      // the deer beyond the wall
    gHunterX += 10, gHunterY += 10; // each side of the loop below is then 18 steps exactly
    setSightWall(5, 1);             // the deer is out of sight
    addSpot(0, 29);
    // With no path he turns to his next spot and steps towards it in the same frame.
    step();
    EXPECT_TRUE(Hunter.hunterMoveResult == kDirectionRight && gHunterX == centre(0) + 10 + kHunterWalkSpeed);
    // Then round a loop of four cells in the map's corner: he reads the field only when the next step
    // would pass the next cell's centre, and turns where he stands.
    codeAt(0, 1) = kDirectionDown;
    codeAt(1, 1) = kDirectionLeft;
    codeAt(1, 0) = kDirectionUp;
    codeAt(0, 0) = kDirectionRight;
    // A side takes 18 frames; a track every third frame of the walk cycle, at his feet beside his way.
    const int sides[4][3] = {
        {kDirectionRight, 1, 0}, {kDirectionDown, 0, 1}, {kDirectionLeft, -1, 0}, {kDirectionUp, 0, -1}};
    for (int frame = 1; frame <= 150; frame++) {
        const int tracks = gNextTrackIndex[1], x = gHunterX, y = gHunterY;
        const auto [side, dx, dy] = sides[frame / 18 % 4];
        codeAt(0, 1) = frame % 72 == 9 ? kDirectionUp : kDirectionDown; // a new field mid-step changes nothing
        step();
        ASSERT_TRUE(Hunter.hunterMoveResult == side && gHunterX == x + kHunterWalkSpeed * dx &&
                    gHunterY == y + kHunterWalkSpeed * dy && Hunter.hunterOrientation == (dx + dy > 0 ? 0 : 2) &&
                    Hunter.hunterAnimationCounter == (frame + 1) % 50)
            << "frame " << frame << ": step " << Hunter.hunterMoveResult << " to " << gHunterX << "," << gHunterY
            << " facing " << Hunter.hunterOrientation;
        const Track& t = gTrack[1][tracks];
        ASSERT_TRUE(gNextTrackIndex[1] - tracks == (frame % 50 % 3 == 0) &&
                    (gNextTrackIndex[1] == tracks || (std::abs(t.x - gHunterX / 10) == 3 * dy * dy &&
                                                      std::abs(t.y - gHunterY / 10 - 27) == 3 * dx * dx && !t.isBlood)))
            << "frame " << frame << ": " << gNextTrackIndex[1] - tracks << " tracks, at " << t.x << "," << t.y;
    }
    resetHunter(&Hunter); // a new game forgets the step in progress and the path
    EXPECT_TRUE(Hunter.shotCooldown == 0 && Hunter.aimCountdown == kAimFrames && gHunterX < 0 &&
                gAgeOfHunterDestination == kNoDestinationAge);
    gHunterX = gHunterY = centre(0);
    EXPECT_EQ(moveHunter(0), 0) << "a new game's hunter reads the cleared field at once";
}
