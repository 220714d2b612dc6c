// The settings screen: a pass binds the actions in order, refuses keys taken earlier, saves Settings.bin.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "game/bindings.h"
#include "render/font.h"
#include "render/media.h"
#include "settings/settings.h"
#include "support/test_env.h"

namespace {

TEST(Settings, APassBindsInOrderRefusesKeysTakenEarlierAndSavesOnlyWhenItEnds) {
    const std::string old(
        "\x52\0\0\x40\x51\0\0\x40\x50\0\0\x40\x4F\0\0\x40\xE5\0\0\x40\x0D\0\0\0\xE4\0\0\x40\x3D\0\0\x40", 32);
    const std::string passed = std::string("\x50\0\0\x40", 4) + old.substr(4, 4) + "\x52" + old.substr(9);
    // Up takes Left's old key; Left again, and Left for move left, ring the bell; the F4 repeat leaves.
    const std::vector<SDL_Keycode> pass = {SDLK_LEFT,   SDLK_LEFT,   SDLK_DOWN,  SDLK_LEFT, SDLK_UP, SDLK_RIGHT,
                                           SDLK_RSHIFT, SDLK_RETURN, SDLK_RCTRL, SDLK_F4,   SDLK_F4};
    // clang-format off
    const struct {
        std::string blocker; // where the save's temporary file leads: nowhere to create it, a full disk
        std::vector<SDL_Keycode> keys; // pressed before the screen opens; 0: the window is closed
        int result; const char* printed; std::string file; // then what is printed, and Settings.bin (old before)
    } cases[] = {
        {"", pass, 1, "\a\a", passed},
        {"", {'a', 0}, 0, "", old},
        {"/nowhere/x", {'1', '2', '3', '4', '5', '6', '7', '8', '9'}, 2, "Error opening file Settings.bin", old},
        {"/dev/full", {'1', '2', '3', '4', '5', '6', '7', '8', '9'}, 2, "Error writing file Settings.bin\n", old},
    };
    // clang-format on
    for (const auto& c : cases) {
        enterTempCommon();
        startHeadlessSDL();
        resetBindings();
        writeCommonFile("Settings.bin", old);
        ASSERT_EQ(c.blocker.empty() ? 0 : symlink(c.blocker.c_str(), "../Common/Settings.bin.tmp"), 0);
        for (SDL_Keycode key : c.keys) {
            SDL_Event quit{SDL_QUIT};
            key != 0 ? pushKey(SDL_KEYDOWN, key) : void(SDL_PushEvent(&quit));
        }
        SDL_SetRenderDrawColor(gRenderer, 255, 0, 0, 255); // the title screen's frame colour
        testing::internal::CaptureStdout();
        EXPECT_EQ(adjustSettings(), c.result) << c.printed;
        EXPECT_EQ(readPixel(799, 599).r, 0) << "the screen is not cleared to black: " << c.printed;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed);
        std::ifstream in(kSettingsPath, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.file) << c.printed;
        EXPECT_NE(access("../Common/Settings.bin.tmp", F_OK), 0) << "a save left its temporary file: " << c.printed;
    }
}

TEST(Settings, TheMarkerStandsOnTheLineOfTheActionBeingBoundAndTheLastStepAsksForAnyKey) {
    startHeadlessSDL();
    SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, 160, 450, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_FillRect(sheet, nullptr, SDL_MapRGB(sheet->format, 200, 200, 200)); // every glyph a flat block
    SDL_DestroyTexture(gTexture[kTextureFont]);
    gTexture[kTextureFont] = SDL_CreateTextureFromSurface(gRenderer, sheet);
    SDL_FreeSurface(sheet);
    for (auto [step, y] : {std::pair{9, 75}, {8, 90}, {2, 180}}) {
        SDL_RenderClear(gRenderer);
        renderSettings(step);
        EXPECT_EQ(readPixel(15, y + 7).r, 200) << "no marker on its line at step " << step;
        EXPECT_EQ(readPixel(15, y + 22).r, 0) << "a marker below its line at step " << step;
    }
    renderSettings(1);
    EXPECT_EQ(gTextY, 210) << "the closing line is not written";
}

} // namespace
