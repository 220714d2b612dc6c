// Checks the committed sounds and music as the player hears them at the game's volumes.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/startup.h"
#include "loudness/loudness.h"
#include "render/media.h"
#include "support/test_env.h"

static const std::string kCommon = std::string(VELMOOR_SOURCE_DIR) + "/Common";
constexpr double kClipDb = -0.5;

// Every effect as heard, with its loudness; false when one cannot be read.
static bool hearEffects(Audio* heard, double* loudness) {
    for (int slot = 0; slot < kEffectCount; ++slot) {
        if (hearEffect(kCommon, slot, &heard[slot]) != 0) {
            return false;
        }
        loudness[slot] = loudestLoudness(heard[slot], kEffectWindowMs);
    }
    return true;
}

TEST(Loudness, IsMeasuredAtTheVolumesTheGameSets) {
    startHeadlessSDL();
    static Uint8 Silence[4] = {}; // the chunks' samples; only their volumes are looked at
    for (int slot = 0; slot < kSoundSlots; ++slot) {
        gSnd[slot] = Mix_QuickLoad_RAW(Silence, sizeof Silence);
    }
    setVolumes();
    for (int slot = 0; slot < kEffectCount; ++slot) {
        EXPECT_EQ(Mix_VolumeChunk(gSnd[slot], -1), kEffectVolume[slot]) << kEffectName[slot];
    }
    EXPECT_EQ(Mix_VolumeMusic(-1), kHeardMusicVolume);
}

TEST(Loudness, EffectsLieWithinSixDbWithTheGunshotOnTopAndNoneClipsEvenStacked) {
    Audio heard[kEffectCount];
    double loudness[kEffectCount];
    ASSERT_TRUE(hearEffects(heard, loudness));
    for (int slot = 0; slot < kEffectCount; ++slot) {
        EXPECT_LT(peakDb(heard[slot]), kClipDb) << kEffectName[slot];
    }
    const auto [quietest, loudest] = std::minmax_element(loudness, loudness + kEffectCount);
    EXPECT_LE(*loudest - *quietest, 6.0);
    EXPECT_GE(loudness[kGunshotSlot], *loudest - 1.0);
}

TEST(Loudness, EachEffectHasWhatItsMomentNeeds) {
    Audio heard[kEffectCount];
    double loudness[kEffectCount];
    ASSERT_TRUE(hearEffects(heard, loudness));
    struct Band {
        int slot;
        double lowHz, highHz, leastShare;
        const char* why;
    };
    const Band bands[] = {
        {kGunshotSlot, 1000, kHeardRate, 0.15, "a sharp crack, not a dull thump"},
        {kFootstepSlot, 1000, kHeardRate, 0.5, "a crunch of snow, not a thud"},
        {kDangerSlot, 200, 5000, 0.4, "carries on laptop speakers"},
    };
    for (const Band& band : bands) {
        EXPECT_GE(energyShare(heard[band.slot], band.lowHz, band.highHz), band.leastShare) << band.why;
    }
    EXPECT_GE(tailUnderPeakDb(heard[kSafeSlot], 0.05), 40.0) << "the chime dies away before its end";
    EXPECT_GE(lengthSeconds(heard[kEatingSlot]), 3.9) << "the munching covers a whole bite";
}

TEST(Loudness, EveryPieceSitsUnderTheEffectsByAtMostTenDb) {
    Audio heard[kEffectCount];
    double loudness[kEffectCount];
    ASSERT_TRUE(hearEffects(heard, loudness));
    std::sort(loudness, loudness + kEffectCount);
    const double median = loudness[kEffectCount / 2];
    std::vector<std::string> paths;
    for (int piece = 0; piece < kPieceCount; ++piece) {
        paths.push_back(kCommon + "/mus0" + std::to_string(piece) + ".mid");
    }
    std::vector<Audio> music;
    ASSERT_EQ(renderMusic(paths, &music), 0);
    for (int piece = 0; piece < kPieceCount; ++piece) {
        const double pieceLoudness = loudestLoudness(music[piece], kMusicWindowMs);
        EXPECT_GE(pieceLoudness, median - 10) << kPieceName[piece];
        EXPECT_LT(pieceLoudness, median) << kPieceName[piece];
        EXPECT_LT(peakDb(music[piece]), kClipDb) << kPieceName[piece];
    }
}
