// The deer's step of every frame (walk, sprint, tracks, eat, smell) and the smell indicator.
#include "game/deer.h"

#include <SDL_mixer.h>

#include "hunter/hunter.h"
#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "movement/movement.h"
#include "render/mapview.h"
#include "render/media.h"
#include "world/map.h"
#include "world/tileprops.h"
#include "world/tracks.h"

constexpr int kIdleCounter = 9;       // standing pose, column 0
constexpr int kWalkFirstCounter = 10; // walking cycle: counters 10..39
constexpr int kWalkLastCounter = 39;
constexpr int kEatPoseStart = 41; // the head goes down from here...
constexpr int kEatPoseDown = 69;  // ...to here, where the deer eats
constexpr int kEatPoseUp = 40;    // the head held up while the eat binding stays held
constexpr int kSmellPoseLow = 70; // counters 71..89 raise the nose
constexpr int kSmellPoseHigh = 88;
constexpr int kFootstepEvery = 10; // a footstep sound on every tenth track index
constexpr int kHeadOffsetX = 160;  // tenths: head point by facing, see findHeadCell
constexpr int kHeadOffsetY = 300;
constexpr int kGrassLayer = 1;      // the map layer of the food
constexpr int kGroundOverlay = 1;   // the drawing pass under the deer
constexpr int kEatenTuftStages = 4; // the tuft being eaten is drawn 4/5, 3/5, 2/5, then 1/5 its size

void resetDeer(DeerState* deer) {
    *deer = DeerState{};
    deer->stamina = kStaminaFull;
    deer->deerAnimationCounter = kIdleCounter;
    deer->animationStep = 1;
    deer->smellResultPending = 1;
    deer->smellChannel = -1;
    deer->eatChannel = -1;
}

void findHeadCell(int* row, int* column) {
    *column = (gPlayerX + kHeadOffsetX - kHeadOffsetX * gPlayerOrientation) / gTileWidthToRender / 10;
    *row = (gPlayerY + kHeadOffsetY) / gTileHeightToRender / 10;
}

bool isFoodUnderDeerHead() {
    int row = 0;
    int column = 0;
    findHeadCell(&row, &column);
    // At the bottom edge the head reaches below the map's last row: no food there.
    if (row < 0 || row >= gMapRows || column < 0 || column >= gMapColumns) {
        return false;
    }
    return isFoodTile(gMap[kGrassLayer * kGridCells + row * kGridSide + column]);
}

static int playSound(int slot, int loops) { return Mix_PlayChannelTimed(-1, gSnd[slot], loops, -1); }

// Halts a channel the deer started, but only while it still plays the deer's chunk: a sound that
// ended has freed its channel, which may carry another sound by now. -1 (the sound did not
// start) must not halt every channel.
static void haltSound(int channel, int slot) {
    if (channel >= 0 && Mix_Playing(channel) != 0 && Mix_GetChunk(channel) == gSnd[slot]) {
        Mix_HaltChannel(channel);
    }
}

static int findFacing(int inputX, int inputY) {
    if (inputY < 0) {
        return inputX > 0 ? 0 : 1;
    }
    if (inputY == 0) {
        return inputX > 0 ? 0 : 2;
    }
    return inputX < 0 ? 2 : 3;
}

static void moveDeer(DeerState* deer, int* runHeld) {
    deer->smellTime = 0;
    deer->smellResultPending = 1;
    deer->isEatingPose = 0;
    if (*runHeld != 0 && deer->stamina > kSprintCost - 1) {
        deer->stamina -= kSprintCost;
    } else {
        *runHeld = 0; // a sprint that ran dry needs a fresh press
        deer->stamina += 1 - deer->isWounded;
    }
    movePlayer(*runHeld);
    centerScreenOnXY(gPlayerX / 10, gPlayerY / 10);
    deer->trackStepCounter++;
    if ((*runHeld != 0 && deer->trackStepCounter > 1) || (*runHeld == 0 && deer->trackStepCounter > 2)) {
        addTrack(0, gPlayerX / 10, gPlayerY / 10, gPlayerInputX, gPlayerInputY, deer->isWounded);
        deer->trackStepCounter = 0;
    }
    if (gNextTrackIndex[0] % kFootstepEvery == 0) {
        playSound(kSoundFootstep, 0);
    }
    deer->deerAnimationCounter += *runHeld != 0 ? 2 : 1;
    if (deer->deerAnimationCounter > kWalkLastCounter || deer->deerAnimationCounter < kWalkFirstCounter) {
        deer->deerAnimationCounter = kWalkFirstCounter;
    }
    gPlayerOrientation = findFacing(gPlayerInputX, gPlayerInputY);
}

static void smellAir(DeerState* deer) {
    if (deer->smellTime == 0) {
        deer->smellChannel = playSound(kSoundSniff, -1);
        deer->isSniffSoundOn = 1;
    }
    deer->smellTime++;
    deer->isEatingPose = 0;
    // The nose rises (71..89), sinks (88..70), the deer stands a moment (8..0, 1..9), and again.
    int& counter = deer->deerAnimationCounter;
    if (counter >= kIdleCounter && counter <= kSmellPoseLow) {
        counter = deer->animationStep > 0 ? kSmellPoseLow + 1 : kIdleCounter - 1;
    } else if (counter <= 0) {
        counter = 1;
        deer->animationStep = 1;
    } else if (counter > kSmellPoseHigh) {
        counter = kSmellPoseHigh;
        deer->animationStep = -1;
    } else {
        counter += deer->animationStep;
    }
}

static int eatGrass(DeerState* deer) {
    int result = kDeerGoesOn;
    deer->smellTime = 0;
    deer->smellResultPending = 1;
    if (deer->isEatingPose == 0) {
        deer->isEatingPose = 1;
        deer->isFoodUnderHead = 1;
        deer->hasEatenInPose = 0;
        deer->deerAnimationCounter = kEatPoseStart;
        deer->animationStep = 1;
    }
    if (deer->isFoodUnderHead != 0 && deer->deerAnimationCounter > kEatPoseDown - 1) {
        deer->deerAnimationCounter = kEatPoseDown;
        if (isFoodUnderDeerHead()) {
            if (deer->eatTime == 0) {
                deer->eatChannel = playSound(kSoundEating, 0);
            }
            deer->eatTime++;
            if (deer->eatTime == kEatFrames) {
                int row = 0;
                int column = 0;
                findHeadCell(&row, &column);
                deer->eatTime = 0;
                gMap[kGrassLayer * kGridCells + row * kGridSide + column] = 0;
                gFoodLeftToEat--;
                deer->animationStep = -1;
                deer->stamina += kEatStaminaBonus;
                deer->hasEatenInPose = 1;
                result = kDeerAteTuft;
            }
        } else {
            // After a tuft the head finds its cell empty and comes up: only a head that went down
            // over no grass missed it.
            deer->isFoodUnderHead = 0;
            deer->animationStep = -1;
            result = deer->hasEatenInPose != 0 ? kDeerGoesOn : kDeerMissedGrass;
        }
    } else if (deer->deerAnimationCounter > kEatPoseUp) {
        deer->deerAnimationCounter += deer->animationStep;
    }
    return result;
}

static void standIdle(DeerState* deer) {
    deer->smellTime = 0;
    deer->smellResultPending = 1;
    if (deer->isEatingPose != 0 && deer->deerAnimationCounter > kEatPoseUp) {
        deer->deerAnimationCounter--;
    } else {
        deer->isEatingPose = 0;
        deer->deerAnimationCounter = kIdleCounter;
    }
}

int stepDeer(DeerState* deer, int* runHeld, int eatHeld, int smellHeld) {
    int result = kDeerGoesOn;
    if (gPlayerInputX != 0) {
        deer->lastHorizontalOrientation = 1 - gPlayerInputX;
    }
    if (gPlayerInputX != 0 || gPlayerInputY != 0) {
        moveDeer(deer, runHeld);
    } else {
        deer->stamina += 2 - deer->isWounded;
        gPlayerOrientation = deer->lastHorizontalOrientation;
        if (smellHeld != 0) {
            smellAir(deer);
        } else if (eatHeld != 0) {
            result = eatGrass(deer);
        } else {
            standIdle(deer);
        }
    }
    if (deer->stamina > kStaminaFull) {
        deer->stamina = kStaminaFull;
    }
    if (deer->smellTime == 0 && deer->isSniffSoundOn != 0) {
        haltSound(deer->smellChannel, kSoundSniff);
        deer->isSniffSoundOn = 0;
    }
    if (deer->eatTime != 0 && eatHeld == 0) {
        haltSound(deer->eatChannel, kSoundEating);
        deer->eatTime = 0; // releasing the binding loses the progress on this tile
    }
    return result;
}

// One of the eight arrows of the icon sheet, with its place beside the deer.
struct Arrow {
    int sourceX;
    int offsetX;
    int offsetY;
};

// Picks the arrow nearest the hunter's direction; the boundaries lie at about 22 and 67 degrees.
static Arrow findArrow(int a, int b) {
    if (b < a) {
        if (b < -6 * a) {
            return b < 6 * a ? Arrow{64, 0, -72} : Arrow{80, -28, -60}; // up, up and left
        }
        return b < -a ? Arrow{48, 28, -60} : Arrow{32, 40, -32}; // up and right, right
    }
    if (b < -6 * a) {
        return b < -a ? Arrow{96, -40, -32} : Arrow{112, -28, -4}; // left, down and left
    }
    return b < 6 * a ? Arrow{144, 28, -4} : Arrow{128, 0, 8}; // down and right, down
}

constexpr int kArrowCell = 16;     // arrow cell in the icon sheet, pixels
constexpr int kArrowOnScreen = 32; // drawn at twice its size
constexpr int kDangerDistance = 1; // thousands of map pixels: 0 or 1 means the hunter is near

void renderSmellIndicator(DeerState* deer, const HunterState* hunter) {
    if (deer->smellTime < kSmellIndicatorFrame) {
        return;
    }
    int a = (gHunterX - gPlayerX) / 5;
    int b = (gHunterY - gPlayerY) / 2;
    int distance = computeL1Norm(a / 2, b / 5) / 1000;
    if (gHunterX < 0 || distance > kDangerDistance) {
        if (deer->smellResultPending != 0) {
            playSound(kSoundSafe, 0);
            deer->smellResultPending = 0;
        }
        renderEntity(kTextureIcon, gPlayerX + kHeadOffsetX - kHeadOffsetX * gPlayerOrientation, gPlayerY - 160, 0, 0);
        return;
    }
    if (deer->smellResultPending != 0) {
        playSound(kSoundDanger, 0);
        deer->smellResultPending = 0;
    }
    renderEntity(kTextureHunter, gHunterX, gHunterY, hunter->hunterAnimationCounter / 5, hunter->hunterOrientation + 4);
    Arrow arrow = findArrow(a, b);
    SDL_Rect source{arrow.sourceX, kArrowCell * distance, kArrowCell, kArrowCell};
    SDL_Rect destination{gPlayerX / 10 - gScreenX - 16 * gPlayerOrientation + arrow.offsetX,
                         gPlayerY / 10 - gScreenY + arrow.offsetY, kArrowOnScreen, kArrowOnScreen};
    SDL_RenderCopy(gRenderer, gTexture[kTextureIcon], &source, &destination);
}

// Copies the sheet tile id over the screen rectangle destination.
static void renderTile(uint16_t id, const SDL_Rect* destination) {
    const SDL_Rect source{gTileWidthInFile * ((id - 1) % kTileSheetColumns),
                          gTileHeightInFile * ((id - 1) / kTileSheetColumns), gTileWidthInFile, gTileHeightInFile};
    SDL_RenderCopy(gRenderer, gTexture[kTextureTiles], &source, destination);
}

// The head cell on screen and the index of its grid cell, when the deer is eating a tuft drawn in
// the ground pass there. Returns false otherwise.
static bool findEatenTuftCell(const DeerState* deer, SDL_Rect* cell, int* cellIndex) {
    if (gRenderer == nullptr || deer->eatTime == 0 || !isFoodUnderDeerHead()) {
        return false;
    }
    int row = 0;
    int column = 0;
    findHeadCell(&row, &column);
    *cellIndex = row * kGridSide + column;
    *cell = SDL_Rect{column * gTileWidthToRender - gScreenX, row * gTileHeightToRender - gScreenY, gTileWidthToRender,
                     gTileHeightToRender};
    return gTileTypeOverlay[gMap[kGrassLayer * kGridCells + *cellIndex]] == kGroundOverlay;
}

void clearEatenTuft(const DeerState* deer) {
    SDL_Rect cell;
    int cellIndex = 0;
    if (!findEatenTuftCell(deer, &cell, &cellIndex)) {
        return;
    }
    for (int layer = 0; layer < kMapLayers; layer++) {
        const uint16_t id = gMap[layer * kGridCells + cellIndex];
        if (layer != kGrassLayer && id != 0 && id < kTileIdCount && gTileTypeOverlay[id] == kGroundOverlay) {
            renderTile(id, &cell);
        }
    }
}

void renderEatenTuft(const DeerState* deer) {
    SDL_Rect cell;
    int cellIndex = 0;
    if (!findEatenTuftCell(deer, &cell, &cellIndex)) {
        return;
    }
    // Stage 1 from the first frame of eating, so the player sees at once which tuft it is. It
    // shrinks towards the mouth (the head point, kept inside the cell), not onto the deer's back.
    const int stage = 1 + deer->eatTime * kEatenTuftStages / kEatFrames;
    const int left = kEatenTuftStages + 1 - stage;
    const int mouthX = SDL_clamp((gPlayerX + kHeadOffsetX - kHeadOffsetX * gPlayerOrientation) / 10 - gScreenX, cell.x,
                                 cell.x + cell.w - 1);
    const int mouthY = SDL_clamp((gPlayerY + kHeadOffsetY) / 10 - gScreenY, cell.y, cell.y + cell.h - 1);
    const SDL_Rect tuft{mouthX - (mouthX - cell.x) * left / (kEatenTuftStages + 1),
                        mouthY - (mouthY - cell.y) * left / (kEatenTuftStages + 1),
                        cell.w * left / (kEatenTuftStages + 1), cell.h * left / (kEatenTuftStages + 1)};
    renderTile(gMap[kGrassLayer * kGridCells + cellIndex], &tuft);
}
