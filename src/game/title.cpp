// The title screen and its three-entry menu.
#include "game/title.h"

#include <SDL.h>

#include "game/bindings.h"
#include "input/input.h"
#include "render/font.h"
#include "render/media.h"

constexpr SDL_Color kFrameColour{255, 45, 0, 255};
constexpr int kHintX = 290; // the fullscreen key hint at the bottom of the title
constexpr int kHintY = 583;
constexpr int kHintLeftMargin = 2;
constexpr int kHintFontStyle = 4;
constexpr int kTitlePassDelayMs = 25;

// Menu entries from top to bottom.
static const int kMenuOrder[3] = {kMenuStartGame, kMenuSettings, kMenuQuit};
static const int kMenuFrameTop[3] = {223, 285, 347};

static int findMenuPosition(int menuSelection) {
    for (int i = 0; i < 3; i++) {
        if (kMenuOrder[i] == menuSelection) {
            return i;
        }
    }
    return 0;
}

int findMenuFrameTop(int menuSelection) { return kMenuFrameTop[findMenuPosition(menuSelection)]; }

int moveMenuSelection(int menuSelection, int direction) {
    return kMenuOrder[(findMenuPosition(menuSelection) + direction + 3) % 3];
}

void renderTitleScreen(int menuSelection) {
    SDL_SetRenderDrawColor(gRenderer, 0, 0, 0, 255); // the bars beside the picture in fullscreen
    SDL_RenderClear(gRenderer);
    SDL_Rect screen{0, 0, kScreenWidth, kScreenHeight};
    SDL_RenderCopy(gRenderer, gTexture[kTextureTitle], &screen, &screen);
    SDL_SetRenderDrawColor(gRenderer, kFrameColour.r, kFrameColour.g, kFrameColour.b, kFrameColour.a);
    SDL_Rect frame{kMenuFrameX, findMenuFrameTop(menuSelection), kMenuFrameWidth, kMenuFrameHeight};
    SDL_RenderDrawRect(gRenderer, &frame);
    gTextX = kHintX;
    gTextY = kHintY;
    renderText(kHintLeftMargin, kScreenWidth, "Toggle fullscreen : ", kHintFontStyle);
    renderText(kHintLeftMargin, kScreenWidth, SDL_GetKeyName(gKeycodeToggleFullscreen), kHintFontStyle);
}

// Moves the menu on one entry, with the menu sound.
static void moveMenu(int* menuSelection, int direction) {
    Mix_PlayChannelTimed(-1, gSnd[kSoundMenu], 0, -1);
    *menuSelection = moveMenuSelection(*menuSelection, direction);
}

int readTitleEvent(const SDL_Event* event, int* menuSelection) {
    ActionChange changes[kMaxChanges];
    const int count = readInputEvent(event, gBindingInOrder, changes);
    if (event->type == SDL_KEYDOWN) {
        // Keys by their bindings, repeats included (a held key scrolls the menu), but not for the
        // confirm: the eat key held from an end screen must not start a new game.
        const SDL_Keycode key = event->key.keysym.sym;
        if (key == gKeycodeToggleFullscreen) {
            toggleFullscreen();
        }
        if (key == gKeycodeUp) {
            moveMenu(menuSelection, -1);
        } else if (key == gKeycodeDown) {
            moveMenu(menuSelection, +1);
        } else if (key == gKeycodeConfirmEat && event->key.repeat == 0) {
            return *menuSelection;
        }
        return -1;
    }
    if (event->type == SDL_KEYUP) {
        return -1;
    }
    // A pad: the stick or d-pad moves, the south button or Start confirms, Back switches fullscreen.
    for (int i = 0; i < count; i++) {
        if (changes[i].pressed == 0) {
            continue;
        }
        switch (changes[i].action) {
        case kActionUp: moveMenu(menuSelection, -1); break;
        case kActionDown: moveMenu(menuSelection, +1); break;
        case kActionFullscreen: toggleFullscreen(); break;
        case kActionEat:
        case kActionPause: return *menuSelection;
        default: break;
        }
    }
    return -1;
}

int displayTitleScreen() {
    int menuSelection = kMenuStartGame;
    for (;;) {
        renderTitleScreen(menuSelection);
        SDL_RenderPresent(gRenderer);
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            if (event.type == SDL_QUIT) {
                return kMenuQuit;
            }
            const int choice = readTitleEvent(&event, &menuSelection);
            if (choice >= 0) {
                return choice;
            }
        }
        SDL_Delay(kTitlePassDelayMs);
    }
}
