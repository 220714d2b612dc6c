// The settings pass: bindings in order, keys already taken refused with the bell, the screen saved.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "game/bindings.h"
#include "render/font.h"
#include "render/media.h"
#include "settings/settings.h"
#include "support/test_env.h"

namespace {

std::vector<uint8_t> readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        enterTempCommon(nullptr, 0);
        startHeadlessSDL();
        resetBindings();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
};

TEST_F(SettingsTest, AKeyTakenEarlierInThePassRingsTheBellAndKeepsTheStep) {
    testing::internal::CaptureStdout();
    int step = applySettingsKey(9, SDLK_LEFT); // the old key of move left is free at step 9
    EXPECT_EQ(step, 8);
    EXPECT_EQ(gKeycodeUp, SDLK_LEFT);
    step = applySettingsKey(step, SDLK_LEFT); // now taken by move up
    EXPECT_EQ(step, 8);
    step = applySettingsKey(step, SDLK_DOWN);
    step = applySettingsKey(step, SDLK_LEFT); // move left may not take it either
    EXPECT_EQ(step, 7);
    step = applySettingsKey(step, SDLK_UP);
    EXPECT_EQ(step, 6);
    EXPECT_EQ(gKeycodeLeft, SDLK_UP);
    fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\a\a");
    EXPECT_EQ(applySettingsKey(1, 'q'), 0); // any key leaves the last step
    EXPECT_EQ(applySettingsKey(0, 'q'), 0);
}

TEST_F(SettingsTest, AFullPassWithTheDefaultKeysSavesTheDefaultFile) {
    gKeycodeUp = 'u'; // an older binding is replaced in the pass
    for (SDL_Keycode key :
         {SDLK_UP, SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_RSHIFT, SDLK_RETURN, SDLK_RCTRL, SDLK_F4, SDLK_F4}) {
        pushKey(SDL_KEYDOWN, key);
    }
    testing::internal::CaptureStdout();
    EXPECT_EQ(adjustSettings(), 1);
    testing::internal::GetCapturedStdout();
    std::vector<uint8_t> expected = {0x52, 0, 0, 0x40, 0x51, 0, 0, 0x40, 0x50, 0, 0, 0x40, 0x4F, 0, 0, 0x40,
                                     0xE5, 0, 0, 0x40, 0x0D, 0, 0, 0,    0xE4, 0, 0, 0x40, 0x3D, 0, 0, 0x40};
    EXPECT_EQ(readFile(kSettingsPath), expected);
}

TEST_F(SettingsTest, ClosingTheWindowLeavesWithoutSaving) {
    pushKey(SDL_KEYDOWN, 'a');
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(adjustSettings(), 0);
    EXPECT_EQ(gKeycodeUp, 'a');
    EXPECT_TRUE(readFile(kSettingsPath).empty());
}

TEST_F(SettingsTest, ASaveThatCannotOpenItsFileIsReportedAndKeepsTheBindings) {
    std::remove("../Common/Settings.bin");
    ASSERT_EQ(mkdir("../Common/Settings.bin.tmp", 0700), 0);
    for (SDL_Keycode key : {'1', '2', '3', '4', '5', '6', '7', '8', '9'}) {
        pushKey(SDL_KEYDOWN, key);
    }
    testing::internal::CaptureStdout();
    EXPECT_EQ(adjustSettings(), 2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error opening file Settings.bin");
    EXPECT_EQ(gKeycodeToggleFullscreen, '8');
    rmdir("../Common/Settings.bin.tmp");
}

TEST_F(SettingsTest, TheMarkerStandsOnTheLineOfTheActionBeingBound) {
    // A font sheet of one flat colour shows where glyphs land.
    SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, 160, 450, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_FillRect(sheet, nullptr, SDL_MapRGB(sheet->format, 200, 200, 200));
    SDL_DestroyTexture(gTexture[kTextureFont]);
    gTexture[kTextureFont] = SDL_CreateTextureFromSurface(gRenderer, sheet);
    SDL_FreeSurface(sheet);
    for (int step : {9, 8, 2}) {
        SDL_SetRenderDrawColor(gRenderer, 0, 0, 0, 255);
        SDL_RenderClear(gRenderer);
        renderSettings(step);
        int y = (14 - step) * 15;
        EXPECT_EQ(readPixel(15, y + 7).r, 200) << "no marker at step " << step;
        EXPECT_EQ(readPixel(15, y + 22).r, 0) << "marker below its line at step " << step;
        EXPECT_EQ(readPixel(235, y + 7).r, 200) << "no key name at x 232 at step " << step;
    }
    renderSettings(1);
    EXPECT_EQ(gTextY, 210);
}

} // namespace
