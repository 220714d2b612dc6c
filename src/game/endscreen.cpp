// The end screens: victory and death, each an image with its own music until a key is pressed.
#include "game/endscreen.h"

#include <SDL.h>

#include "render/media.h"

constexpr int kEndScreenPassDelayMs = 25;

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
            if (event.type == SDL_KEYDOWN) {
                return 1;
            }
        }
        SDL_Delay(kEndScreenPassDelayMs);
    }
}
