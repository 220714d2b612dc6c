// The hunter's behaviour per frame.
#include "hunter/hunter.h"

#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "hunter/sight.h"
#include "render/mapview.h"
#include "render/media.h"
#include "world/map.h"
#include "world/tracks.h"

constexpr int kHunterOwner = 1;           // the hunter's track ring
constexpr int kDeerSightDrop = 12;        // the sight line starts this many map pixels below the deer's centre
constexpr int kFramesPerHunterColumn = 5; // frames of each column of his walk
constexpr int kTrackEveryFrames = 3;      // he lays a track when the animation counter is a multiple of this
constexpr int kFacingRight = 0;           // sprite rows
constexpr int kFacingLeft = 2;

void resetHunter(HunterState* hunter) {
    *hunter = HunterState{0, kAimFrames, 0, kFacingRight, 0};
    gHunterX = -1;
    gHunterY = -1;
    resetHunterNavigation();
}

void arriveHunter() {
    if (spawnHunter() >= 0) {
        getNextHuntingSpot(); // shuffles the visit order; its first spot is used up unvisited
    }
}

// He walks: towards the deer he sees, the freshest track he sees, or else his next hunting spot.
static void walkHunter(HunterState* hunter, int seesDeer) {
    hunter->aimCountdown = kAimFrames;
    if (seesDeer) {
        computeHunterPath((gPlayerY / 10 + kDeerSightDrop) / gTileHeightToRender, (gPlayerX / 10) / gTileWidthToRender);
        gAgeOfHunterDestination = 0;
    } else {
        computeHunterPathToMostRecentDeerTrack();
    }
    hunter->hunterMoveResult = moveHunter(0);
    if (hunter->hunterMoveResult == 0) {
        const int spot = getNextHuntingSpot();
        if (spot >= 0) {
            computeHunterPath(gHuntingSpotRow[spot], gHuntingSpotColumn[spot]);
            hunter->hunterMoveResult = moveHunter(0);
        }
    }

    const int result = hunter->hunterMoveResult;
    if (hunter->hunterAnimationCounter % kTrackEveryFrames == 0) {
        const int dx = result == kDirectionRight ? 1 : (result == kDirectionLeft ? -1 : 0);
        const int dy = result == kDirectionDown ? 1 : (result == kDirectionUp ? -1 : 0);
        addTrack(kHunterOwner, gHunterX / 10, gHunterY / 10, dx, dy, 0);
    }
    if (result == kDirectionRight) {
        hunter->hunterOrientation = kFacingRight;
    } else if (result == kDirectionLeft) {
        hunter->hunterOrientation = kFacingLeft;
    }
    hunter->hunterAnimationCounter++;
    if (hunter->hunterAnimationCounter >= kHunterAnimationFrames) {
        hunter->hunterAnimationCounter = 0;
    }
}

int stepHunter(HunterState* hunter, int* isWounded) {
    if (hunter->shotCooldown != 0) {
        hunter->shotCooldown--; // resting after a shot
    } else {
        const int seesDeer =
            hasLineOfSight(gPlayerX / 10, gPlayerY / 10 + kDeerSightDrop, gHunterX / 10, gHunterY / 10);
        if (seesDeer && isInPositionToShoot()) {
            if (hunter->aimCountdown != 0) {
                hunter->aimCountdown--;
            } else {
                Mix_PlayChannelTimed(-1, gSnd[kSoundGunshot], 0, -1);
                hunter->shotCooldown = kShotCooldownFrames;
                hunter->aimCountdown = kAimFrames;
                if (*isWounded) {
                    return kHunterStepKilledDeer;
                }
                *isWounded = 1;
            }
        } else {
            walkHunter(hunter, seesDeer);
        }
    }

    renderTrack(kHunterOwner);
    renderEntity(kTextureHunter, gHunterX, gHunterY, hunter->hunterAnimationCounter / kFramesPerHunterColumn,
                 hunter->hunterOrientation);
    gAgeOfHunterDestination += 1;
    return kHunterStepGoesOn;
}
