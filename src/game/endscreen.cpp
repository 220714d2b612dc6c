// The end screens: victory and death, each an image with its own music until a key is pressed anew.
#include "game/endscreen.h"

#include <SDL.h>

#include "game/bindings.h"
#include "input/input.h"
#include "render/media.h"

constexpr int kEndScreenPassDelayMs = 25;

// Returns 1 when an event leaves the end screen, 0 otherwise: a key pressed now, not the repeats
// of a key held down (the eat key held through the last tuft, or the desktop's auto-repeat), which
// would skip the picture the player earned; or a pad's confirm (south) or Start pressed now. Every
// event goes through the input module, so that it knows what the devices hold.
static int isNewPress(const SDL_Event& event) {
    ActionChange changes[kMaxChanges];
    const int count = readInputEvent(&event, gBindingInOrder, changes);
    if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
        return event.type == SDL_KEYDOWN && event.key.repeat == 0 ? 1 : 0;
    }
    int pressed = 0;
    for (int i = 0; i < count; i++) {
        pressed |= changes[i].pressed != 0 && (changes[i].action == kActionEat || changes[i].action == kActionPause);
    }
    return pressed;
}

int displayGameOverScreen(int textureSlot, int musicNumber) {
    playNumberedMusic(musicNumber);
    SDL_Delay(kEndScreenPauseMs);
    // Keys pressed in the game's last moments and during the pause do not count; a window closed
    // meanwhile ends the program now.
    int closed = 0;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        closed |= event.type == SDL_QUIT ? 1 : 0;
        isNewPress(event); // noted by the input module, not counted
    }
    Mix_HaltChannel(-1);
    if (closed != 0) {
        return 0;
    }
    SDL_Rect screen{0, 0, kScreenWidth, kScreenHeight};
    SDL_SetRenderDrawColor(gRenderer, 0, 0, 0, 255); // the bars beside the picture in fullscreen
    for (;;) {
        SDL_RenderClear(gRenderer);
        SDL_RenderCopy(gRenderer, gTexture[textureSlot], &screen, &screen);
        SDL_RenderPresent(gRenderer);
        while (SDL_PollEvent(&event) != 0) {
            if (event.type == SDL_QUIT) {
                return 0;
            }
            if (isNewPress(event) != 0) {
                return 1;
            }
        }
        SDL_Delay(kEndScreenPassDelayMs);
    }
}
