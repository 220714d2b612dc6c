// The settings screen: bind the eight actions anew in order and save them to Settings.bin.
#include "settings/settings.h"

#include <cstdio>

#include "game/bindings.h"
#include "render/font.h"
#include "render/media.h"

constexpr int kLastBindingStep = 2; // step 2 binds the last action, toggle fullscreen
constexpr int kAnyKeyStep = 1;      // waits for any key before saving
constexpr char kBell = 7;
constexpr int kTextLeftMargin = 2;
constexpr int kSettingsFontStyle = 0;
constexpr int kSettingsPassDelayMs = 25;
constexpr int kMarkerLineBase = 14; // the marker of step s stands on line 14 - s

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
                return step;
            }
        }
        *gBindingInOrder[action] = key;
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

void renderSettings(int step) {
    gTextX = kTextLeftMargin;
    gTextY = 0;
    for (int action = 0; action < kBindingCount; action++) {
        renderSettingsText(kActionLabel[action]);
        renderSettingsText(SDL_GetKeyName(*gBindingInOrder[action]));
    }
    if (step == kAnyKeyStep) {
        renderSettingsText("\n\nPress any key to return to title screen.");
    } else {
        renderCharacter(gCharacterWidthToRender + 2, (kMarkerLineBase - step) * kLineHeight, '>', kSettingsFontStyle);
    }
}

int adjustSettings() {
    int step = kFirstSettingsStep;
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
            if (event.type == SDL_KEYDOWN) {
                step = applySettingsKey(step, event.key.keysym.sym);
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
