// The title screen and its three-entry menu.
#include "game/title.h"

#include <SDL.h>

#include "game/bindings.h"
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
            if (event.type != SDL_KEYDOWN) {
                continue;
            }
            SDL_Keycode key = event.key.keysym.sym;
            if (key == gKeycodeToggleFullscreen) {
                toggleFullscreen();
            }
            if (key == gKeycodeUp) {
                Mix_PlayChannelTimed(-1, gSnd[kSoundMenu], 0, -1);
                menuSelection = moveMenuSelection(menuSelection, -1);
            } else if (key == gKeycodeDown) {
                Mix_PlayChannelTimed(-1, gSnd[kSoundMenu], 0, -1);
                menuSelection = moveMenuSelection(menuSelection, +1);
            } else if (key == gKeycodeConfirmEat) {
                return menuSelection;
            }
        }
        SDL_Delay(kTitlePassDelayMs);
    }
}
