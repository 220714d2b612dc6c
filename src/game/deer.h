// The deer's step of every frame (walk, sprint, tracks, eat, smell) and the smell indicator.
#pragma once

struct HunterState;

constexpr int kStaminaFull = 640; // sprint reserve
constexpr int kSprintCost = 10;   // reserve per sprinting frame
constexpr int kEatFrames = 165;   // frames of eating per grass tile
constexpr int kEatStaminaBonus = 50;
constexpr int kSmellIndicatorFrame = 48; // the indicator shows from this frame of smelling on

// Per-game state of the deer, owned by the play loop.
struct DeerState {
    int stamina;                   // sprint reserve, at most 640 at the end of a frame
    int isWounded;                 // set by the hunter's first hit
    int deerAnimationCounter;      // sprite column is this / 10
    int animationStep;             // +1 or -1: direction of the eat and smell poses
    int trackStepCounter;          // moving frames since the last track
    int lastHorizontalOrientation; // 0 right or 2 left: the facing kept while standing
    int smellTime;                 // consecutive standing frames of smelling
    int isSniffSoundOn;
    int smellChannel;
    int smellResultPending; // the smell result sound may still play once
    int eatTime;            // frames spent eating the tile under the head
    int eatChannel;
    int isEatingPose;
    int isFoodUnderHead;
    int hasEatenInPose; // a tuft was eaten since the head last went down
};

// Start values of a game.
void resetDeer(DeerState* deer);

// The map cell under the deer's mouth for its current facing.
void findHeadCell(int* row, int* column);

// True when the head cell lies inside the map and holds a grass tile in layer 1.
bool isFoodUnderDeerHead();

// Results of stepDeer: what the player may want to be told of.
constexpr int kDeerGoesOn = 0;
constexpr int kDeerAteTuft = 1;     // a tuft was eaten this frame
constexpr int kDeerMissedGrass = 2; // the head went down and found no grass to eat

// The deer's step for this frame's input; clears *runHeld when a sprint runs dry. Returns one of
// the results above.
int stepDeer(DeerState* deer, int* runHeld, int eatHeld, int smellHeld);

// While the deer eats a tuft, draws the ground of its cell again without it (after the ground
// pass), so that only renderEatenTuft shows it. Nothing otherwise, or without a renderer.
void clearEatenTuft(const DeerState* deer);

// While the deer eats a tuft, draws it in its cell over the deer (whose figure would hide it),
// at 4/5, 3/5, 2/5, then 1/5 of its size as it is eaten, shrinking towards the mouth. Nothing
// otherwise, or without a renderer.
void renderEatenTuft(const DeerState* deer);

// Draws the blue circle or the hunter and the red arrow once the deer has smelled long enough,
// starting the safe or danger sound on the first frame of each smelling spell.
void renderSmellIndicator(DeerState* deer, const HunterState* hunter);
