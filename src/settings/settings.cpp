// The settings screen: bind the eight actions anew in order and save them to Settings.bin.
#include "settings/settings.h"

#include <cstdio>

#include "game/bindings.h"
#include "input/input.h"
#include "render/font.h"
#include "render/media.h"

constexpr int kLastBindingStep = 2; // step 2 binds the last action, toggle fullscreen
constexpr int kAnyKeyStep = 1;      // waits for any key before saving
constexpr char kBell = 7;
constexpr int kTextLeftMargin = 2;
constexpr int kSettingsFontStyle = 0;
constexpr int kSettingsPassDelayMs = 25;
constexpr int kMarkerLineBase = 14; // the marker of step s stands on line 14 - s
constexpr int kPadLayoutY = 480;    // the pad's layout, below the key bindings
constexpr int kRefusalSize = 160;   // the line that says why a key was refused

// The key refused last in this pass and the action it is bound to; -1: none. Set by
// applySettingsKey when a key is taken, cleared by the next key taken and when a pass begins.
static SDL_Keycode RefusedKey;
static int RefusedAction = -1;

// The actions' names as the screen lists them.
static const char* const kActionName[kBindingCount] = {"move up", "move down",    "move left",     "move right",
                                                       "run",     "eat, confirm", "smell, cancel", "toggle fullscreen"};

static const char* const kActionLabel[kBindingCount] = {
    "\n   -- Settings --\n\nPress the key to perform the following action\n\n   move up           : ",
    "\n   move down         : ",
    "\n   move left         : ",
    "\n   move right        : ",
    "\n   run               : ",
    "\n   eat, confirm      : ",
    "\n   smell, cancel     : ",
    "\n   toggle fullscreen : ",
};

int applySettingsKey(int step, SDL_Keycode key) {
    if (step >= kLastBindingStep && step <= kFirstSettingsStep) {
        int action = kFirstSettingsStep - step;
        for (int earlier = 0; earlier < action; earlier++) {
            if (*gBindingInOrder[earlier] == key) {
                putchar(kBell);
                fflush(stdout);
                RefusedKey = key;
                RefusedAction = earlier;
                return step;
            }
        }
        *gBindingInOrder[action] = key;
        RefusedAction = -1;
        return step - 1;
    }
    if (step == kAnyKeyStep) {
        return 0;
    }
    return step;
}

static void renderSettingsText(const char* text) {
    renderText(kTextLeftMargin, kScreenWidth, text, kSettingsFontStyle);
}

// The pad's fixed layout, with the buttons named as the pad plugged in marks them.
static void renderPadLayout() {
    char text[kRefusalSize * 2];
    snprintf(text, sizeof text,
             "   On a pad: left stick or d-pad to move, %s or the right shoulder to run,\n"
             "   %s to eat and confirm, %s to smell, %s to pause, %s for fullscreen.",
             findPadButtonName(kActionRun), findPadButtonName(kActionEat), findPadButtonName(kActionSmell),
             findPadButtonName(kActionPause), findPadButtonName(kActionFullscreen));
    gTextX = kTextLeftMargin;
    gTextY = kPadLayoutY;
    renderSettingsText(text);
}

void renderSettings(int step) {
    renderPadLayout();
    gTextX = kTextLeftMargin;
    gTextY = 0;
    for (int action = 0; action < kBindingCount; action++) {
        renderSettingsText(kActionLabel[action]);
        renderSettingsText(SDL_GetKeyName(*gBindingInOrder[action]));
    }
    if (RefusedAction >= 0 && step != kAnyKeyStep) {
        // A key already taken in this pass is refused in words, not only with the bell.
        char refusal[kRefusalSize];
        snprintf(refusal, sizeof refusal, "\n\n   %s is already bound to %s: press another key.",
                 SDL_GetKeyName(RefusedKey), kActionName[RefusedAction]);
        renderSettingsText(refusal);
    }
    if (step == kAnyKeyStep) {
        renderSettingsText("\n\nPress any key to return to title screen.");
    } else {
        renderCharacter(gCharacterWidthToRender + 2, (kMarkerLineBase - step) * kLineHeight, '>', kSettingsFontStyle);
    }
}

int adjustSettings() {
    int step = kFirstSettingsStep;
    RefusedAction = -1;
    SDL_SetRenderDrawColor(gRenderer, 0, 0, 0, 255);
    while (step != 0) {
        SDL_RenderClear(gRenderer);
        renderSettings(step);
        SDL_RenderPresent(gRenderer);
        SDL_Delay(kSettingsPassDelayMs);
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            if (event.type == SDL_QUIT) {
                return 0;
            }
            // Pads take no key bindings; a pad's confirm leaves the last step like any key.
            ActionChange changes[kMaxChanges];
            const int count = readInputEvent(&event, gBindingInOrder, changes);
            if (event.type == SDL_KEYDOWN) {
                step = applySettingsKey(step, event.key.keysym.sym);
            } else if (step == kAnyKeyStep) {
                for (int i = 0; i < count; i++) {
                    const int action = changes[i].action;
                    step = changes[i].pressed != 0 && (action == kActionEat || action == kActionPause) ? 0 : step;
                }
            }
        }
    }
    // A failed save says why; the new keys stay in effect until the game ends either way.
    const int saved = saveBindings(kSettingsPath);
    if (saved == kSaveOpenFailed) {
        printf("Error opening file Settings.bin: %s; the new keys last until the game ends.\n", describeSaveFailure());
    } else if (saved == kSaveWriteFailed) {
        printf("Error writing file Settings.bin: %s; the old file is kept and the new keys last until the game "
               "ends.\n",
               describeSaveFailure());
    }
    fflush(stdout);
    return saved == kSaveOk ? 1 : 2;
}
