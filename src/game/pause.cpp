// The pause: the game held, its last frame kept on screen under a box saying how to go on or leave.
#include "game/pause.h"

#include <SDL_mixer.h>

#include "game/bindings.h"
#include "game/hintbox.h"
#include "game/play.h"
#include "input/input.h"
#include "render/media.h"

constexpr int kPausePassDelayMs = 25;
constexpr int kPauseVeilAlpha = 80; // the kept frame is darkened this much (of 255) while paused
constexpr int kPauseBoxMargin = 20;
constexpr SDL_Rect kPauseBox{210, 0, 380, 52}; // three lines, in the middle, away from the other boxes

// The copy of the screen that a game's frames are drawn into: created with the first game's first
// frame, kept for the renderer's life (the program's). Null where the renderer cannot draw into
// textures; it is tried once, so that a failure allocates nothing frame after frame.
static SDL_Texture* KeptFrame = nullptr;
static bool HasTriedKeptFrame = false;

static bool isBound(SDL_Keycode key) {
    for (int32_t* binding : gBindingInOrder) {
        if (*binding == key) {
            return true;
        }
    }
    return false;
}

SDL_Keycode findPauseKey() { return isBound(SDLK_ESCAPE) && !isBound(SDLK_PAUSE) ? SDLK_PAUSE : SDLK_ESCAPE; }

bool isPauseKeyFree() { return !isBound(findPauseKey()); }

void beginKeptFrame() {
    if (gRenderer == nullptr) {
        return;
    }
    if (!HasTriedKeptFrame && SDL_RenderTargetSupported(gRenderer) == SDL_TRUE) {
        HasTriedKeptFrame = true;
        KeptFrame = SDL_CreateTexture(gRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, kScreenWidth,
                                      kScreenHeight);
        if (KeptFrame != nullptr) {
            SDL_SetTextureBlendMode(KeptFrame, SDL_BLENDMODE_NONE);
        }
    }
    if (KeptFrame != nullptr && SDL_SetRenderTarget(gRenderer, KeptFrame) != 0) {
        SDL_DestroyTexture(KeptFrame); // drawn straight to the window from now on
        KeptFrame = nullptr;
    }
}

// Puts the kept frame on the window's whole picture; black where there is none.
static void showKeptFrame() {
    SDL_SetRenderDrawColor(gRenderer, 0, 0, 0, 255);
    SDL_RenderClear(gRenderer);
    if (KeptFrame != nullptr) {
        SDL_RenderCopy(gRenderer, KeptFrame, nullptr, nullptr);
    }
}

void endKeptFrame() {
    if (gRenderer == nullptr || KeptFrame == nullptr || SDL_GetRenderTarget(gRenderer) != KeptFrame) {
        return;
    }
    SDL_SetRenderTarget(gRenderer, nullptr);
    showKeptFrame();
}

static void renderPause() {
    showKeptFrame();
    SDL_SetRenderDrawColor(gRenderer, 0, 0, 0, kPauseVeilAlpha);
    SDL_RenderFillRect(gRenderer, nullptr);
    HintText text{};
    const bool pad = gLastInputDevice == kDevicePad;
    addHintPiece(&text, "Paused\n");
    addHintPiece(&text, pad ? findPadButtonName(kActionPause) : SDL_GetKeyName(findPauseKey()));
    addHintPiece(&text, ": go on\n");
    addHintPiece(&text, pad ? findPadButtonName(kActionEat) : SDL_GetKeyName(gKeycodeConfirmEat));
    addHintPiece(&text, ": leave the game for the title");
    // At the bottom, away from the tutorial and the notices at the top; at the top when the deer
    // is at the bottom.
    SDL_Rect box = fitHintBox(&kPauseBox, kHintTextInset, &text, false);
    box.y = kScreenHeight - kPauseBoxMargin - box.h;
    if (coversDeer(&box)) {
        box.y = kPauseBoxMargin;
    }
    renderHintBox(&box, kHintTextInset, &text);
}

// Takes the pending events: the pause key or a pad's Start goes on, the confirm key or a pad's
// south button leaves, a close quits; other keys and buttons only set the held flags. Returns a
// result of pauseGame, or -1 to stay paused.
static int readPauseEvents(PlayState* state) {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (event.type == SDL_QUIT) {
            return kPauseQuit;
        }
        const bool pressed = event.type == SDL_KEYDOWN && event.key.repeat == 0;
        if (pressed && event.key.keysym.sym == findPauseKey()) {
            return kPauseGoOn;
        }
        if (pressed && event.key.keysym.sym == gKeycodeConfirmEat) {
            return kPauseLeave;
        }
        if (event.type == SDL_CONTROLLERBUTTONDOWN && event.cbutton.button == SDL_CONTROLLER_BUTTON_START) {
            return kPauseGoOn;
        }
        if (event.type == SDL_CONTROLLERBUTTONDOWN && event.cbutton.button == SDL_CONTROLLER_BUTTON_A) {
            return kPauseLeave;
        }
        handlePlayEvent(state, &event); // a focus lost again changes nothing
    }
    return -1;
}

int pauseGame(PlayState* state) {
    Mix_PauseMusic();
    Mix_Pause(-1);
    int result = -1;
    while (result < 0) {
        if (gRenderer != nullptr) {
            renderPause();
            SDL_RenderPresent(gRenderer);
        }
        result = readPauseEvents(state);
        if (result < 0) {
            SDL_Delay(kPausePassDelayMs);
        }
    }
    if (result == kPauseGoOn) {
        Mix_Resume(-1);
        Mix_ResumeMusic();
        return result;
    }
    // The game is over: its sounds stop, and the mixer is left ready for the title's music.
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_Resume(-1);
    Mix_ResumeMusic();
    return result;
}
