// The play loop: one game on map 0, from loading to the end screen.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "game/deer.h"
#include "game/notices.h"
#include "hunter/hunter.h"

constexpr int kFramePeriodMs = 25; // at most 40 frames a second
constexpr int kEatHintFrames = 165;
constexpr int kHunterWarningDelayFrames = 300;
constexpr int kHunterWarningFrames = 600;

// What a game follows from besides its map files and its actions frame by frame.
struct GameStart {
    uint32_t seed;    // the hunting spots' shuffle draws from it
    int trackSides;   // findTrackSides() when the game started
    int deerX, deerY; // the deer's place once the map loaded, tenths
};

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
    int fullscreenPressed;  // the fullscreen binding was pressed among this frame's events
    int frames;             // frames advanced so far
    GameStart start;        // what this game started from
    DeerState deer;
    HunterState hunter;
    NoticeState notices;
};

// Results of playFrame.
constexpr int kFrameGoesOn = 0;
constexpr int kFrameQuit = 1;    // the window was closed
constexpr int kFrameVictory = 2; // all food but two eaten; the frame is not presented
constexpr int kFrameDeath = 3;   // the second hit; the frame is not presented
constexpr int kFramePause = 4;   // the pause key was pressed or the window lost the focus; nothing advanced

// Game start: fresh state, empty rings, no hunter, the tile properties and the map loaded, the
// camera on the deer, pending events discarded. With start null the game draws a new seed from
// the clock; with a start (a replay's) it starts from that exactly. state->start holds it.
void startGame(PlayState* state, const GameStart* start);

// Turns one event into held flags (repeats ignored, the first matching binding only). Returns
// kFrameQuit for a quit event, kFramePause for a press of the pause key (when no action has it) or
// the window losing the focus, else kFrameGoesOn.
int handlePlayEvent(PlayState* state, const SDL_Event* event);

// Takes every pending event into the held flags. Returns kFrameQuit at a quit event and
// kFramePause at a pause (the rest stay queued), else kFrameGoesOn.
int readPlayEvents(PlayState* state);

// The frame's actions as the play loop uses them, as replay action bits (kActionBit...).
uint8_t findFrameActions(const PlayState* state);

// Sets the held flags from replay action bits (a fullscreen press is not acted on).
void applyFrameActions(PlayState* state, uint8_t actions);

// The frame after its events, without its present and wait: the deer, the drawing with the
// hunter's step, the tutorial and the notices, the victory test. Returns kFrameGoesOn,
// kFrameVictory or kFrameDeath.
int advanceFrame(PlayState* state);

// Shows the end screen of a won (kFrameVictory) or lost (kFrameDeath) game and returns its result.
int showGameEnd(int frameResult);

// One frame without its present and wait: readPlayEvents, then advanceFrame unless the events
// closed the window or paused.
int playFrame(PlayState* state);

// Runs one game, recorded: its replay goes into ../Replays/ and also to recordPath when that is
// not null. A pause holds it (paused time is no frame of the game); a game left from the pause
// ends its replay as closed. Returns 0 when the window was closed, 1 when the end screen was left
// with a key or the game was left from the pause.
int play(const char* recordPath);
