// The settings screen: a pass binds the actions in order, refuses keys taken earlier, saves Settings.bin.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "game/bindings.h"
#include "render/font.h"
#include "render/media.h"
#include "settings/settings.h"
#include "support/test_env.h"

namespace {

// What a regular file holds; empty for anything else.
static std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::filesystem::is_regular_file(path) ? std::string(std::istreambuf_iterator<char>(in), {}) : "";
}

TEST(Settings, APassBindsInOrderRefusesKeysTakenEarlierAndSavesOnlyWhenItEnds) {
    const std::string old(
        "\x52\0\0\x40\x51\0\0\x40\x50\0\0\x40\x4F\0\0\x40\xE5\0\0\x40\x0D\0\0\0\xE4\0\0\x40\x3D\0\0\x40", 32);
    const std::string passed = std::string("\x50\0\0\x40", 4) + old.substr(4, 4) + "\x52" + old.substr(9);
    // Up takes Left's old key; Left again, and Left for move left, ring the bell; the F4 repeat leaves.
    const std::vector<SDL_Keycode> pass = {SDLK_LEFT,   SDLK_LEFT,   SDLK_DOWN,  SDLK_LEFT, SDLK_UP, SDLK_RIGHT,
                                           SDLK_RSHIFT, SDLK_RETURN, SDLK_RCTRL, SDLK_F4,   SDLK_F4};
    const std::vector<SDL_Keycode> digits = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    // clang-format off
    const struct {
        const char* setup; // what stands in the save's way: no Common/ folder, a folder in Settings.bin's place
        std::vector<SDL_Keycode> keys; // pressed before the screen opens; 0: the window is closed
        int result; const char* printed; std::string file; // then what is printed, and Settings.bin (old before)
    } cases[] = {
        {"", pass, 1, "\a\a", passed},
        {"", {'a', 0}, 0, "", old},
        {"no folder", digits, 2, "Error opening file Settings.bin: No such file or directory; the new keys last until "
                                 "the game ends.\n", ""},
        {"folder", digits, 2, "Error writing file Settings.bin: Is a directory; the old file is kept and the new keys "
                              "last until the game ends.\n", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        const std::string setup = c.setup;
        enterTempCommon();
        startHeadlessSDL();
        resetBindings();
        writeCommonFile("Settings.bin", old);
        ASSERT_EQ(setup == "no folder" ? rename("../Common", "../Away") : 0, 0);
        if (setup == "folder") {
            std::filesystem::remove("../Common/Settings.bin");
            std::filesystem::create_directories("../Common/Settings.bin/inside");
        }
        for (SDL_Keycode key : c.keys) {
            SDL_Event quit{SDL_QUIT};
            key != 0 ? pushKey(SDL_KEYDOWN, key) : void(SDL_PushEvent(&quit));
        }
        SDL_SetRenderDrawColor(gRenderer, 255, 0, 0, 255); // the title screen's frame colour
        testing::internal::CaptureStdout();
        EXPECT_EQ(adjustSettings(), c.result) << c.printed;
        EXPECT_EQ(readPixel(799, 599).r, 0) << "the screen is not cleared to black: " << c.printed;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed);
        EXPECT_EQ(readFile(kSettingsPath), c.file) << c.printed;
    }
}

TEST(Settings, TheMarkerStandsOnTheLineOfTheActionBeingBoundAndTheLastStepAsksForAnyKey) {
    startHeadlessSDL();
    SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, 160, 450, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_FillRect(sheet, nullptr, SDL_MapRGB(sheet->format, 200, 200, 200)); // every glyph a flat block
    SDL_DestroyTexture(gTexture[kTextureFont]);
    gTexture[kTextureFont] = SDL_CreateTextureFromSurface(gRenderer, sheet);
    SDL_FreeSurface(sheet);
    // The red of one pixel of the screen drawn for a step: 200 on a glyph, 0 elsewhere.
    const auto shown = [](int step, int x, int y) {
        SDL_RenderClear(gRenderer);
        renderSettings(step);
        return readPixel(x, y).r;
    };
    for (auto [step, y] : {std::pair{9, 75}, {8, 90}, {2, 180}}) {
        EXPECT_TRUE(shown(step, 15, y + 7) == 200 && shown(step, 15, y + 22) == 0) << "no marker on its line: " << step;
    }
    EXPECT_EQ(shown(1, 5, 217), 200) << "the closing line is not written";
    EXPECT_EQ(shown(1, 35, 487), 200) << "the pad's layout is not shown below the bindings";
    // A key taken earlier in the pass is refused in words, two lines below the bindings, until a key is taken.
    resetBindings();
    applySettingsKey(9, SDLK_w);
    EXPECT_EQ(shown(8, 35, 217), 0) << "a refusal shown before any key was refused";
    EXPECT_EQ(applySettingsKey(8, SDLK_w), 8);
    EXPECT_EQ(shown(8, 35, 217), 200) << "the refused key is not named on the screen";
    EXPECT_EQ(applySettingsKey(8, SDLK_s), 7);
    EXPECT_EQ(shown(7, 35, 217), 0) << "the refusal stays after a key was taken";
    resetBindings();
}

} // namespace
