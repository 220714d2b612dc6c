// Loading media: a missing image or sound is reported, every other file is still tried, and the
// shutdown runs cleanly after any start-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "render/media.h"
#include "support/test_env.h"

namespace {

const char* const kAllButFontAndSniff[] = {"Deer.png",  "Hunter.png", "Title.png", "GameOver.png", "Win.png",
                                           "Tiles.png", "Icon.png",   "Snow.png",  "snd00.wav",    "snd01.wav",
                                           "snd02.wav", "snd04.wav",  "snd05.wav", "snd06.wav"};

TEST(Media, AMissingImageAndSoundArePrintedWhileEveryOtherFileStillLoads) {
    enterTempCommon(kAllButFontAndSniff, 14);
    startHeadlessSDL();
    closeSDL(); // start again from empty slots, as a second start-up in one process
    startHeadlessSDL();
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 1) << "the mixer did not open the new audio device";
    testing::internal::CaptureStdout();
    int result = loadMedia();
    fflush(stdout);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, 1);
    EXPECT_NE(out.find("Unable to load image ../Common/Font.png! SDL Error: "), std::string::npos) << out;
    EXPECT_NE(out.find("Failed to load snd03 sound effect! SDL_mixer Error: "), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << out;
    for (int slot = 0; slot < kTextureSlots; slot++) {
        EXPECT_EQ(gTexture[slot] == nullptr, slot == kTextureFont) << slot;
    }
    for (int slot = 0; slot < kSoundSlots; slot++) {
        EXPECT_EQ(gSnd[slot] == nullptr, slot == kSoundSniff) << slot;
    }
    closeSDL();
    for (int slot = 0; slot < kTextureSlots; slot++) {
        EXPECT_EQ(gTexture[slot], nullptr);
    }
    EXPECT_EQ(gRenderer, nullptr);
    EXPECT_EQ(gWindow, nullptr);
    closeSDL(); // a second teardown, as after a failed start-up, finds only null handles
}

TEST(Media, MusicReplacesTheLoadedPieceAndRefusesNumbersWithoutAFileName) {
    enterTempCommon(nullptr, 0);
    startHeadlessSDL();
    playNumberedMusic(7);
    EXPECT_STREQ(gMusicFilePath, "../Common/mus07.mid");
    EXPECT_EQ(gMus, nullptr); // there is no piece 7: no music, nothing printed
    playNumberedMusic(100);
    EXPECT_STREQ(gMusicFilePath, "../Common/mus07.mid");
    playNumberedMusic(-5);
    EXPECT_STREQ(gMusicFilePath, "../Common/mus07.mid");
    EXPECT_EQ(gMus, nullptr);
    playNumberedMusic(2);
    EXPECT_STREQ(gMusicFilePath, "../Common/mus02.mid");
    EXPECT_NE(gMus, nullptr);
    playNumberedMusic(3); // the victory piece is released and replaced
    EXPECT_NE(gMus, nullptr);
    EXPECT_TRUE(Mix_PlayingMusic());
}

} // namespace
