// The SDL back end: a failing start-up step, loading every file, fullscreen, music and shutdown.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "render/media.h"
#include "support/test_env.h"

// Runs a step with standard output captured into *out; returns the step's result.
static int runPrinting(int (*step)(), std::string* out) {
    testing::internal::CaptureStdout();
    const int result = step();
    *out = testing::internal::GetCapturedStdout();
    return result;
}

TEST(Media, AFailedStartUpIsReportedAndShutDownAndTheNextIsWindowedAndTogglesFullscreen) {
    // A variable of the environment, the value that breaks one step, that step's message.
    const char* const cases[][3] = {
        {"SDL_VIDEODRIVER", "nonexistent", "SDL could not initialize! SDL Error: "},
        {"SDL_RENDER_DRIVER", "", "Renderer could not be created! SDL Error: "}, // dummy video: none accelerated
        {"SDL_AUDIODRIVER", "disk", "SDL_mixer could not initialize! SDL_mixer Error: "}}; // into a missing folder
    setenv("SDL_DISKAUDIOFILE", "/nonexistent/velmoor.raw", 1);
    for (const auto& c : cases) {
        startHeadlessSDL(); // the dummy drivers, then nothing open
        closeSDL();
        setenv(c[0], c[1], 1);
        std::string out;
        EXPECT_EQ(runPrinting(initializeSDL, &out), 1) << out;
        EXPECT_TRUE(out.rfind(c[2], 0) == 0 && std::count(out.begin(), out.end(), '\n') == 1) << out;
        closeSDL();
        EXPECT_TRUE(gWindow == nullptr && gRenderer == nullptr) << c[0];
    }
    startHeadlessSDL();
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 1) << "the mixer did not open the new audio device";
    // Fullscreen scales the 800 x 600 picture to the display (the dummy's 1024 x 768) till pressed again.
    const std::vector<int> windowed = {0, 0, 800, 600, 0, 0}, fullscreen = {1, 1, 1024, 768, 800, 600};
    for (int presses = 0; presses <= 2; presses++) {
        if (presses > 0)
            toggleFullscreen();
        std::vector<int> state(6, gIsFullscreen); // the flag, the window's flag, its size, the picture's
        state[1] = (SDL_GetWindowFlags(gWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
        SDL_GetWindowSize(gWindow, &state[2], &state[3]);
        SDL_RenderGetLogicalSize(gRenderer, &state[4], &state[5]);
        EXPECT_EQ(state, presses == 1 ? fullscreen : windowed) << presses << " presses";
    }
}

TEST(Media, MissingFilesAreReportedWhileTheOthersLoadMagentaIsTransparentAndMusicPlaysItsNumberedPiece) {
    const std::string common = enterTempCommon();
    std::remove((common + "/Font.png").c_str());
    std::remove((common + "/snd03.wav").c_str());
    Uint32 pixels[] = {0xffff00ff, 0xffffffff}; // a deer sheet of a magenta and a white pixel
    SDL_Surface* image = SDL_CreateRGBSurfaceWithFormatFrom(pixels, 2, 1, 32, 8, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_EQ(IMG_SavePNG(image, "../Common/Deer.png"), 0);
    SDL_FreeSurface(image);
    startHeadlessSDL();
    std::string out;
    EXPECT_EQ(runPrinting(loadMedia, &out), 1);
    EXPECT_TRUE(out.rfind("Unable to load image ../Common/Font.png! SDL Error: ", 0) == 0 &&
                out.find("\nFailed to load snd03 sound effect! SDL_mixer Error: ") != std::string::npos &&
                std::count(out.begin(), out.end(), '\n') == 2)
        << out;
    EXPECT_TRUE(std::count(gTexture, gTexture + kTextureSlots, nullptr) == 1 && gTexture[kTextureFont] == nullptr);
    EXPECT_TRUE(std::count(gSnd, gSnd + kSoundSlots, nullptr) == 1 && gSnd[kSoundSniff] == nullptr);
    SDL_RenderClear(gRenderer); // in the draw colour the start-up leaves, black
    SDL_RenderCopy(gRenderer, gTexture[kTextureDeer], nullptr, nullptr);
    const SDL_Color left = readPixel(0, 0), right = readPixel(799, 0);
    EXPECT_TRUE(left.r + left.g + left.b == 0 && right.r + right.g + right.b == 765) << "magenta is not transparent";
    // Number, the path it leaves, whether music plays: there is no piece 7 or 99.
    const std::tuple<int, const char*, bool> cases[] = {{0, "00", true},    {7, "07", false},  {99, "99", false},
                                                        {100, "99", false}, {-5, "99", false}, {3, "03", true}};
    for (const auto& [number, path, plays] : cases) {
        playNumberedMusic(number);
        EXPECT_EQ(gMusicFilePath, "../Common/mus" + std::string(path) + ".mid") << number;
        EXPECT_EQ(gMus != nullptr && Mix_PlayingMusic() == 1, plays) << number;
    }
    closeSDL();
    EXPECT_TRUE(std::count(gTexture, gTexture + kTextureSlots, nullptr) == kTextureSlots && gRenderer == nullptr &&
                std::count(gSnd, gSnd + kSoundSlots, nullptr) == kSoundSlots && gWindow == nullptr && gMus == nullptr);
    closeSDL(); // a second teardown, as after a failed start-up, finds only null handles
}
