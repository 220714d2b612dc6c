// The hunter's behaviour in every frame: rest, aim and shoot, chase, follow tracks, walk to spots.
#pragma once

constexpr int kAimFrames = 35;             // frames of aiming; the shot falls on the next one
constexpr int kShotCooldownFrames = 150;   // frames of rest after a shot
constexpr int kHunterAnimationFrames = 50; // the walk cycle: 10 columns of 5 frames

// Per-game state of the hunter, owned by the play loop.
struct HunterState {
    int shotCooldown;           // frames of rest left after a shot
    int aimCountdown;           // frames of aiming left before the shot
    int hunterAnimationCounter; // 0..49; sprite column is this / 5
    int hunterOrientation;      // sprite row: 0 facing right, 2 facing left
    int hunterMoveResult;       // this frame's moveHunter result
};

// Start values of a game: no hunter on the map, nothing aimed, a fresh navigation state.
void resetHunter(HunterState* hunter);

// The hunter arrives: placed on the farthest hunting spot, the first spot of the visit order used up.
void arriveHunter();

constexpr int kHunterStepGoesOn = 0;     // the frame goes on
constexpr int kHunterStepKilledDeer = 1; // the second hit: the game ends, nothing more is drawn

// The hunter's step of one frame, with his tracks and figure drawn. *isWounded is set by the
// first hit. Returns kHunterStepKilledDeer when the shot killed the deer.
int stepHunter(HunterState* hunter, int* isWounded);
