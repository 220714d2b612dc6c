// The play loop: one game on map 0, from loading to the end screen.
#include "game/play.h"

#include <ctime>

#include "game/bindings.h"
#include "game/endscreen.h"
#include "game/hintbox.h"
#include "game/pause.h"
#include "game/replaygame.h"
#include "hunter/navigation.h"
#include "input/input.h"
#include "movement/movement.h"
#include "render/font.h"
#include "render/mapview.h"
#include "render/media.h"
#include "world/map.h"
#include "world/tileprops.h"
#include "world/tracks.h"

constexpr int kIntroductionEndTrack = 5; // the introduction goes with the deer's fifth track
constexpr SDL_Rect kTallBox{120, 20, 250, 170};
constexpr SDL_Rect kShortBox{120, 20, 250, 22};
constexpr int kVictoryImage = kTextureWin;
constexpr int kVictoryMusic = 2;
constexpr int kDeathImage = kTextureGameOver;
constexpr int kDeathMusic = 3;

static void discardEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
    }
}

// A new game's seed: the clock, so that games differ.
static uint32_t drawSeed() { return uint32_t(time(nullptr)) ^ uint32_t(SDL_GetPerformanceCounter()); }

void startGame(PlayState* state, const GameStart* start) {
    *state = PlayState{};
    state->showIntroduction = 1;
    state->eatHintTimer = -1;
    state->hunterWarningDelay = -1;
    state->hunterWarningTimer = -1;
    resetDeer(&state->deer);
    resetHunter(&state->hunter); // also: no hunter on the map
    for (int owner = 0; owner < kTrackOwners; owner++) {
        gNextTrackIndex[owner] = 0;
        gOldestTrackIndex[owner] = 0;
    }
    gFoodLeftToEat = -2; // the game is won when all food tiles but two are eaten
    gHuntingSpots = 0;
    loadTileProperties();
    gMapNumber = 0;
    loadMap(1);
    if (start == nullptr) {
        state->start = GameStart{drawSeed(), findTrackSides(), gPlayerX, gPlayerY};
    } else {
        // A replayed game: the same seed and track sides, and the deer where it stood (a map
        // without a start marker leaves it where the game before left it).
        state->start = *start;
        setTrackSides(start->trackSides);
        gPlayerX = start->deerX;
        gPlayerY = start->deerY;
    }
    seedHuntingSpotShuffle(state->start.seed);
    centerScreenOnXY(gPlayerX / 10, gPlayerY / 10);
    discardEvents();
    clearInputState(); // what the devices held before the game counts for nothing in it
}

// The held flag of an action in the play state; null for the fullscreen switch and the pause.
static int* findHeldFlag(PlayState* state, int action) {
    switch (action) {
    case kActionUp: return &state->upHeld;
    case kActionDown: return &state->downHeld;
    case kActionLeft: return &state->leftHeld;
    case kActionRight: return &state->rightHeld;
    case kActionRun: return &state->runHeld;
    case kActionEat: return &state->eatHeld;
    case kActionSmell: return &state->smellHeld;
    default: return nullptr;
    }
}

int handlePlayEvent(PlayState* state, const SDL_Event* event) {
    if (event->type == SDL_QUIT) {
        return kFrameQuit;
    }
    if (event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        return kFramePause; // the player turned to another window
    }
    // A pad pulled out mid-game pauses it, after letting go of what it held.
    int result = isPadPulledOut(event) != 0 ? kFramePause : kFrameGoesOn;
    // Keys through the bindings (only the first that matches, in the order right, left, down, up,
    // run, eat, smell, fullscreen, takes a key) and pads by their layout: a press sets the action's
    // flag, a release clears it once no device holds the action; key repeats change nothing.
    ActionChange changes[kMaxChanges];
    const int count = readInputEvent(event, gBindingInOrder, changes);
    for (int i = 0; i < count; i++) {
        const ActionChange& change = changes[i];
        int* flag = findHeldFlag(state, change.action);
        if (change.repeat != 0) {
            continue;
        }
        if (flag != nullptr) {
            *flag = change.pressed;
        } else if (change.action == kActionFullscreen && change.pressed != 0) {
            toggleFullscreen();
            state->fullscreenPressed = 1;
        } else if (change.action == kActionPause && change.pressed != 0) {
            result = kFramePause; // the pad's Start
        }
    }
    if (count == 0 && event->type == SDL_KEYDOWN && event->key.repeat == 0 && event->key.keysym.sym == findPauseKey()) {
        result = kFramePause; // a bound key drives its action above, so only a free one gets here
    }
    return result;
}

int readPlayEvents(PlayState* state) {
    state->fullscreenPressed = 0;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        const int result = handlePlayEvent(state, &event);
        if (result != kFrameGoesOn) {
            return result;
        }
    }
    return kFrameGoesOn;
}

uint8_t findFrameActions(const PlayState* state) {
    const int bits[][2] = {
        {state->upHeld, kActionBitUp},       {state->downHeld, kActionBitDown},
        {state->leftHeld, kActionBitLeft},   {state->rightHeld, kActionBitRight},
        {state->runHeld, kActionBitRun},     {state->eatHeld, kActionBitEat},
        {state->smellHeld, kActionBitSmell}, {state->fullscreenPressed, kActionBitFullscreen},
    };
    uint8_t actions = 0;
    for (const auto& bit : bits) {
        actions |= bit[0] != 0 ? uint8_t(bit[1]) : 0;
    }
    return actions;
}

void applyFrameActions(PlayState* state, uint8_t actions) {
    state->upHeld = (actions & kActionBitUp) != 0;
    state->downHeld = (actions & kActionBitDown) != 0;
    state->leftHeld = (actions & kActionBitLeft) != 0;
    state->rightHeld = (actions & kActionBitRight) != 0;
    state->runHeld = (actions & kActionBitRun) != 0;
    state->eatHeld = (actions & kActionBitEat) != 0;
    state->smellHeld = (actions & kActionBitSmell) != 0;
    state->fullscreenPressed = (actions & kActionBitFullscreen) != 0;
}

constexpr int kTutorialRightMargin = 20; // the text wraps 20 pixels inside the box's right edge

static bool areMovementKeysArrows() {
    return gKeycodeUp == SDLK_UP && gKeycodeDown == SDLK_DOWN && gKeycodeLeft == SDLK_LEFT &&
           gKeycodeRight == SDLK_RIGHT;
}

// Draws a tutorial box, grown downwards when its text needs more lines than the box holds (a long
// key name); with the default keys every text fits its box.
static void renderTutorialBox(const SDL_Rect* box, const HintText* text) {
    const SDL_Rect fitted = fitHintBox(box, kTutorialRightMargin, text, false);
    renderHintBox(&fitted, kTutorialRightMargin, text);
}

// The name the hints give the control of an action (kAction...): the pad's button while the pad
// was used last, else the key bound to it.
static const char* nameControl(int action) {
    const char* button = gLastInputDevice == kDevicePad ? findPadButtonName(action) : nullptr;
    if (button != nullptr) {
        return button;
    }
    return SDL_GetKeyName(action == kActionPause ? findPauseKey() : *gBindingInOrder[action]);
}

static void renderIntroduction() {
    HintText text{};
    addHintPiece(&text, "Snow came early this year but you need to eat 10 to 15 kg of vegetation daily. So "
                        "you'll have to search for the last pieces of green grass.\nPress ");
    if (gLastInputDevice == kDevicePad) {
        addHintPiece(&text, "the left stick or the d-pad");
    } else if (areMovementKeysArrows()) {
        addHintPiece(&text, "arrow keys");
    } else {
        addHintPiece(&text, SDL_GetKeyName(gKeycodeUp));
        addHintPiece(&text, ", ");
        addHintPiece(&text, SDL_GetKeyName(gKeycodeDown));
        addHintPiece(&text, ", ");
        addHintPiece(&text, SDL_GetKeyName(gKeycodeLeft));
        addHintPiece(&text, " and ");
        addHintPiece(&text, SDL_GetKeyName(gKeycodeRight));
    }
    addHintPiece(&text, " to move and hold ");
    addHintPiece(&text, nameControl(kActionRun));
    addHintPiece(&text, " to sprint for a while.");
    if (isPauseKeyFree() || gLastInputDevice == kDevicePad) {
        addHintPiece(&text, "\nPress ");
        addHintPiece(&text, nameControl(kActionPause));
        addHintPiece(&text, " to pause.");
    }
    renderTutorialBox(&kTallBox, &text);
}

static void renderEatHint() {
    HintText text{};
    addHintPiece(&text, "Hold ");
    addHintPiece(&text, nameControl(kActionEat));
    addHintPiece(&text, " to eat");
    renderTutorialBox(&kShortBox, &text);
}

static void renderHunterWarning() {
    HintText text{};
    addHintPiece(&text, "Some very unpleasant smell suddenly reached your nose: a HUNTER ! You can detect the "
                        "source of that threat if you smell the air for a short while by holding ");
    addHintPiece(&text, nameControl(kActionSmell));
    addHintPiece(&text, ".\nBlue circle = safety\nRed arrow = danger");
    renderTutorialBox(&kTallBox, &text);
}

// The tutorial boxes a frame shows, and whether the hunter arrives in it.
struct TutorialFrame {
    bool introduction;
    bool eatHint;
    bool hunterWarning;
    bool hunterArrives; // the hunter warning ran out
};

// Moves the tutorial on by one frame: the introduction ends with the deer's fifth track; the eat
// hint starts when the head is first over grass, then the pause, then the hunter warning.
static TutorialFrame stepTutorial(PlayState* state) {
    TutorialFrame frame{false, false, false, false};
    if (gNextTrackIndex[0] == kIntroductionEndTrack) {
        state->showIntroduction = 0;
    }
    frame.introduction = state->showIntroduction != 0;
    if (state->eatHintTimer == -1 && isFoodUnderDeerHead()) {
        state->eatHintTimer = kEatHintFrames;
    }
    if (state->eatHintTimer > 0) {
        frame.eatHint = true;
        state->eatHintTimer--;
        state->hunterWarningDelay = kHunterWarningDelayFrames;
    } else if (state->eatHintTimer == 0) {
        if (state->hunterWarningDelay == 0) {
            state->hunterWarningTimer = kHunterWarningFrames;
            state->eatHintTimer = -2;
        }
        state->hunterWarningDelay--;
    }
    if (state->hunterWarningTimer > 0) {
        frame.hunterWarning = true;
        state->hunterWarningTimer--;
        frame.hunterArrives = state->hunterWarningTimer == 0;
    }
    return frame;
}

// Draws the frame's tutorial boxes, each over the one before.
static void renderTutorial(const TutorialFrame* frame) {
    if (gRenderer == nullptr) {
        return;
    }
    if (frame->introduction) {
        renderIntroduction();
    }
    if (frame->eatHint) {
        renderEatHint();
    }
    if (frame->hunterWarning) {
        renderHunterWarning();
    }
}

int advanceFrame(PlayState* state) {
    // Input: the frame's direction from the held flags.
    state->frames++;
    gPlayerInputX = state->rightHeld - state->leftHeld;
    gPlayerInputY = state->downHeld - state->upHeld;

    // The deer acts: moves, sprints, lays tracks, eats or smells; the player hears of a tuft eaten
    // and of a head that found no grass.
    const int deerResult = stepDeer(&state->deer, &state->runHeld, state->eatHeld, state->smellHeld);
    if (deerResult == kDeerAteTuft) {
        noteTuftEaten(&state->notices, gFoodLeftToEat);
    } else if (deerResult == kDeerMissedGrass) {
        noteMissedGrass(&state->notices);
    }

    // Drawing in painter's order, with the hunter's step among it. Headless play has no
    // renderer: nothing is drawn, but the hunter's step and the tracks' ageing keep their places.
    if (gRenderer != nullptr) {
        SDL_SetRenderDrawColor(gRenderer, 0, 0, 0, 255);
        SDL_RenderClear(gRenderer);
    }
    renderMap(1, kAllRows);
    clearEatenTuft(&state->deer);
    if (gNextTrackIndex[0] != gOldestTrackIndex[0]) {
        renderTrack(0);
    }
    if (gHunterX >= 0) {
        const int wasWounded = state->deer.isWounded;
        if (stepHunter(&state->hunter, &state->deer.isWounded) == kHunterStepKilledDeer) {
            return kFrameDeath;
        }
        if (wasWounded == 0 && state->deer.isWounded != 0) {
            noteWound(&state->notices);
        }
    }
    renderMap(2, kRowsAboveDeer);
    renderEntity(kTextureDeer, gPlayerX, gPlayerY, state->deer.deerAnimationCounter / 10, gPlayerOrientation);
    renderEatenTuft(&state->deer);
    renderMap(2, kRowsFromDeer);
    renderMap(3, kAllRows);
    renderMap(4, kAllRows);
    renderSnow(1);
    renderSmellIndicator(&state->deer, &state->hunter);
    renderHitFlash(&state->notices);

    // The tutorial's boxes; when the hunter warning runs out, the hunter arrives. Then the boxes
    // that tell of what just happened, at the other side.
    const TutorialFrame tutorial = stepTutorial(state);
    renderTutorial(&tutorial);
    if (tutorial.hunterArrives) {
        arriveHunter();
    }
    renderNotices(&state->notices);

    // Victory: all food but two eaten. This frame is not presented.
    if (gFoodLeftToEat == 0) {
        return kFrameVictory;
    }
    return kFrameGoesOn;
}

int showGameEnd(int frameResult) {
    if (frameResult == kFrameVictory) {
        return displayGameOverScreen(kVictoryImage, kVictoryMusic);
    }
    return displayGameOverScreen(kDeathImage, kDeathMusic);
}

int playFrame(PlayState* state) {
    const int result = readPlayEvents(state);
    if (result != kFrameGoesOn) {
        return result;
    }
    return advanceFrame(state);
}

int play(const char* recordPath) {
    // The game being recorded: about 1 MB, filled afresh by each game.
    static Replay Recording;
    static PlayState State;
    PlayState& state = State;
    startGame(&state, nullptr);
    beginGameRecord(&Recording, &state);
    for (;;) {
        Uint32 start = SDL_GetTicks();
        int result = readPlayEvents(&state);
        // A pause is no frame of the game: nothing advances and nothing is recorded. A game left
        // from it (or closed in it) ends as a closed one, without an end screen.
        if (result == kFramePause) {
            const int pause = pauseGame(&state);
            if (pause == kPauseGoOn) {
                continue;
            }
            saveGameRecord(&Recording, &state, kFrameQuit, recordPath);
            return pause == kPauseLeave ? 1 : 0;
        }
        if (result != kFrameQuit) {
            recordReplayFrame(&Recording, findFrameActions(&state));
            beginKeptFrame();
            result = advanceFrame(&state);
            endKeptFrame();
        }
        if (result != kFrameGoesOn) {
            saveGameRecord(&Recording, &state, result, recordPath);
        }
        if (result == kFrameQuit) {
            return 0;
        }
        if (result != kFrameGoesOn) {
            return showGameEnd(result);
        }
        SDL_RenderPresent(gRenderer);
        // Wait out the rest of the frame period; a slow frame is not made up for.
        Uint32 elapsed = SDL_GetTicks() - start;
        if (elapsed < kFramePeriodMs) {
            SDL_Delay(kFramePeriodMs - elapsed);
        }
    }
}
