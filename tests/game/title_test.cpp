// The title menu: wrap-around, the frame drawn where and in the colour it belongs, the choices.
#include <gtest/gtest.h>

#include "game/bindings.h"
#include "game/title.h"
#include "render/media.h"
#include "support/test_env.h"

namespace {

TEST(TitleMenu, UpAndDownWrapAroundTheThreeEntries) {
    EXPECT_EQ(moveMenuSelection(kMenuStartGame, -1), kMenuQuit);
    EXPECT_EQ(moveMenuSelection(kMenuQuit, -1), kMenuSettings);
    EXPECT_EQ(moveMenuSelection(kMenuSettings, -1), kMenuStartGame);
    EXPECT_EQ(moveMenuSelection(kMenuStartGame, 1), kMenuSettings);
    EXPECT_EQ(moveMenuSelection(kMenuSettings, 1), kMenuQuit);
    EXPECT_EQ(moveMenuSelection(kMenuQuit, 1), kMenuStartGame);
}

class TitleScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        enterTempCommon(nullptr, 0);
        startHeadlessSDL();
        resetBindings();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
};

TEST_F(TitleScreenTest, TheFrameIsARedOutlineAroundTheSelectedEntry) {
    SDL_Surface* image = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_FillRect(image, nullptr, SDL_MapRGB(image->format, 20, 30, 80));
    SDL_DestroyTexture(gTexture[kTextureTitle]);
    gTexture[kTextureTitle] = SDL_CreateTextureFromSurface(gRenderer, image);
    SDL_FreeSurface(image);
    SDL_SetRenderDrawColor(gRenderer, 255, 45, 0, 255);
    renderTitleScreen(kMenuSettings);
    SDL_Color edge = readPixel(135 + 95, 285);
    EXPECT_EQ(edge.r, 255);
    EXPECT_EQ(edge.g, 45);
    EXPECT_EQ(edge.b, 0);
    SDL_Color corner = readPixel(135 + 189, 285 + 49);
    EXPECT_EQ(corner.g, 45);
    EXPECT_EQ(readPixel(135 + 95, 285 + 50).r, 20);
    EXPECT_EQ(readPixel(135 + 95, 285 + 25).r, 20); // an outline, not a filled box
    EXPECT_EQ(readPixel(135 + 95, 223).r, 20);      // no frame around the other entries
}

TEST_F(TitleScreenTest, KeysMoveTheSelectionAndConfirmReturnsIt) {
    pushKey(SDL_KEYDOWN, SDLK_DOWN);
    pushKey(SDL_KEYDOWN, SDLK_DOWN, 1); // a key repeat counts like a press
    pushKey(SDL_KEYDOWN, SDLK_UP);
    pushKey(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_EQ(displayTitleScreen(), kMenuSettings);
    // The screen starts on "start a game" every time it is entered.
    pushKey(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_EQ(displayTitleScreen(), kMenuStartGame);
    pushKey(SDL_KEYDOWN, SDLK_UP);
    pushKey(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_EQ(displayTitleScreen(), kMenuQuit);
}

TEST_F(TitleScreenTest, AKeyBoundToFullscreenAndConfirmSwitchesAndThenConfirms) {
    gKeycodeToggleFullscreen = SDLK_RETURN;
    int wasFullscreen = gIsFullscreen;
    pushKey(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_EQ(displayTitleScreen(), kMenuStartGame);
    EXPECT_NE(gIsFullscreen, wasFullscreen);
    toggleFullscreen();
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(displayTitleScreen(), kMenuQuit);
}

} // namespace
