// Hunter placement, hunting spots, track following and walking.
#include "hunter/navigation.h"

#include <cstring>
#include <random>

#include "hunter/pathfinding.h"
#include "hunter/sight.h"
#include "render/mapview.h"
#include "world/tracks.h"

int gHunterX = -1;
int gHunterY = -1;
int gHuntingSpotToVisit[kMaxHuntingSpots];
int gIndexOfHuntingSpotToVisit;
int gAgeOfHunterDestination = kNoDestinationAge;

// moveHunter's step in progress: its direction code and the coordinate, in tenths, of the cell
// centre where it ends. Zero at program start; resetHunterNavigation clears them for a new game.
static int Direction;
static int Threshold;

// The hunting spots' shuffle: the standard's minimal standard generator, the same on every
// platform, seeded by each game.
static std::minstd_rand SpotRandom;

void seedHuntingSpotShuffle(uint32_t seed) { SpotRandom.seed(seed); }

// The number of hunting spots that can be indexed.
static int countHuntingSpots() {
    if (gHuntingSpots < 0) {
        return 0;
    }
    return gHuntingSpots > kMaxHuntingSpots ? kMaxHuntingSpots : gHuntingSpots;
}

int spawnHunter() {
    const int spots = countHuntingSpots();
    if (spots == 0) {
        return -1;
    }
    const int width = gTileWidthToRender;
    const int height = gTileHeightToRender;
    const int deerColumn = gPlayerX / width / 10;
    const int deerRow = gPlayerY / height / 10;
    int best = 0;
    int bestDistance = computeL1Norm(gHuntingSpotColumn[0] - deerColumn, gHuntingSpotRow[0] - deerRow);
    for (int spot = 1; spot < spots; spot++) {
        const int distance = computeL1Norm(gHuntingSpotColumn[spot] - deerColumn, gHuntingSpotRow[spot] - deerRow);
        if (distance > bestDistance) {
            best = spot;
            bestDistance = distance;
        }
    }
    gHunterX = (10 * gHuntingSpotColumn[best] + 5) * width;
    gHunterY = (10 * gHuntingSpotRow[best] + 5) * height;
    gIndexOfHuntingSpotToVisit = -1;
    return best;
}

int getNextHuntingSpot() {
    const int spots = countHuntingSpots();
    if (spots == 0) {
        return -1;
    }
    // A used-up list, or one left over from a map with more spots, is shuffled afresh.
    if (gIndexOfHuntingSpotToVisit < 0 || gIndexOfHuntingSpotToVisit >= spots) {
        int pool[kMaxHuntingSpots];
        for (int i = 0; i < spots; i++) {
            pool[i] = i;
        }
        for (int k = 0; k < spots; k++) {
            const int j = int(SpotRandom() % unsigned(spots - k));
            gHuntingSpotToVisit[k] = pool[j];
            pool[j] = pool[spots - 1 - k];
        }
        gIndexOfHuntingSpotToVisit = spots - 1;
    }
    return gHuntingSpotToVisit[gIndexOfHuntingSpotToVisit--];
}

static bool isTrackIndex(int index) { return index >= 0 && index < kTrackRing; }

int computeHunterPathToMostRecentDeerTrack() {
    constexpr int kDeer = 0;
    const int oldest = gOldestTrackIndex[kDeer];
    int index = gNextTrackIndex[kDeer];
    if (!isTrackIndex(index) || !isTrackIndex(oldest)) {
        return 0;
    }
    const int hunterX = gHunterX / 10;
    const int hunterY = gHunterY / 10;
    while (index != oldest) {
        index = index == 0 ? kTrackRing - 1 : index - 1;
        const Track* track = &gTrack[kDeer][index];
        if (track->age > gAgeOfHunterDestination) {
            return 0;
        }
        // A track in a cell that stops him (ice along a shore) is passed over as if unseen: the
        // search would start inside it and lead him in.
        int row = track->y / gTileHeightToRender;
        int column = track->x / gTileWidthToRender;
        clampCellIntoMap(&row, &column);
        if (gMapMovementObstacle[row * kGridSide + column] == 0 &&
            hasLineOfSight(track->x, track->y, hunterX, hunterY)) {
            computeHunterPath(row, column);
            gAgeOfHunterDestination = track->age;
            return 1;
        }
    }
    return 0;
}

int moveHunter(int run) {
    const int width = gTileWidthToRender;
    const int height = gTileHeightToRender;
    const int hunterRow = gHunterY / height / 10;
    const int hunterColumn = gHunterX / width / 10;
    const int speed = run != 0 ? kHunterRunSpeed : kHunterWalkSpeed;

    bool continues = false;
    switch (Direction) {
    case kDirectionRight: continues = gHunterX + speed <= Threshold; break;
    case kDirectionUp: continues = gHunterY - speed >= Threshold; break;
    case kDirectionLeft: continues = gHunterX - speed >= Threshold; break;
    case kDirectionDown: continues = gHunterY + speed <= Threshold; break;
    default: break;
    }
    if (!continues) {
        const bool inGrid = hunterRow >= 0 && hunterRow < kGridSide && hunterColumn >= 0 && hunterColumn < kGridSide;
        Direction = inGrid ? gMapPathfindingParent[hunterRow * kGridSide + hunterColumn] : kDirectionUnvisited;
        switch (Direction) {
        case kDirectionRight: Threshold = (10 * hunterColumn + 15) * width; break;
        case kDirectionUp: Threshold = (10 * hunterRow - 5) * height; break;
        case kDirectionLeft: Threshold = (10 * hunterColumn - 5) * width; break;
        case kDirectionDown: Threshold = (10 * hunterRow + 15) * height; break;
        default: break;
        }
    }
    switch (Direction) {
    case kDirectionRight: gHunterX += speed; return kDirectionRight;
    case kDirectionUp: gHunterY -= speed; return kDirectionUp;
    case kDirectionLeft: gHunterX -= speed; return kDirectionLeft;
    case kDirectionDown: gHunterY += speed; return kDirectionDown;
    default: return 0;
    }
}

void resetHunterNavigation() {
    Direction = kDirectionUnvisited;
    Threshold = 0;
    memset(gMapPathfindingParent, kDirectionUnvisited, sizeof(gMapPathfindingParent));
    gAgeOfHunterDestination = kNoDestinationAge;
}
