// The end screens: victory and death, each an image with its own music until a key is pressed anew.
#include "game/endscreen.h"

#include <SDL.h>

#include "render/media.h"

constexpr int kEndScreenPassDelayMs = 25;

// Returns 1 when an event leaves the end screen, 0 otherwise: a key pressed now, not the repeats
// of a key held down (the eat key held through the last tuft, or the desktop's auto-repeat), which
// would skip the picture the player earned.
static int isNewPress(const SDL_Event& event) { return event.type == SDL_KEYDOWN && event.key.repeat == 0 ? 1 : 0; }

int displayGameOverScreen(int textureSlot, int musicNumber) {
    playNumberedMusic(musicNumber);
    SDL_Delay(kEndScreenPauseMs);
    // Keys pressed in the game's last moments and during the pause do not count; a window closed
    // meanwhile ends the program now.
    int closed = 0;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        closed |= event.type == SDL_QUIT ? 1 : 0;
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
