// The play loop: one game on map 0, from loading to the end screen.
#pragma once

#include <SDL.h>

#include "game/deer.h"
#include "hunter/hunter.h"

constexpr int kFramePeriodMs = 25; // at most 40 frames a second
constexpr int kEatHintFrames = 165;
constexpr int kHunterWarningDelayFrames = 300;
constexpr int kHunterWarningFrames = 600;

// Per-game state, created afresh for every game.
struct PlayState {
    int rightHeld, leftHeld, downHeld, upHeld; // a movement binding is held down
    int runHeld;
    int eatHeld;
    int smellHeld;
    int showIntroduction;   // the introduction box is shown
    int eatHintTimer;       // -1 not triggered; 1..165 frames to show; 0 the pause; -2 over
    int hunterWarningDelay; // frames of the pause before the hunter warning
    int hunterWarningTimer; // frames of the warning to show; -1 before it starts
    DeerState deer;
    HunterState hunter;
};

// Results of playFrame.
constexpr int kFrameGoesOn = 0;
constexpr int kFrameQuit = 1;    // the window was closed
constexpr int kFrameVictory = 2; // all food but two eaten; the frame is not presented
constexpr int kFrameDeath = 3;   // the second hit; the frame is not presented

// Game start: fresh state, empty rings, no hunter, the tile properties and map 0 loaded,
// the camera on the deer, pending events discarded.
void startGame(PlayState* state);

// Turns one event into held flags (repeats ignored, the first matching binding only).
// Returns 1 for a quit event.
int handlePlayEvent(PlayState* state, const SDL_Event* event);

// One frame without its present and wait: events, the deer, drawing, the tutorial, the victory test.
int playFrame(PlayState* state);

// Runs one game. Returns 0 when the window was closed, 1 when the end screen was left with a key.
int play();
