// The committed media of Common/ as the game cuts them and the player hears them: sheets big enough,
// seamless snow, glyphs where the character map has characters, tunes that loop cleanly, and sounds
// and music measured at the game's volumes (clean ends, no clipping, balance, character).
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "loudness/loudness.h"
#include "render/media.h"

namespace {

const std::string kCommon = std::string(VELMOOR_SOURCE_DIR) + "/Common/";
constexpr double kClipDb = -0.5;

using Image = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// A PNG of Common/ as 32-bit RGBA; empty when it does not load.
Image loadImage(const char* name) {
    Image loaded(IMG_Load((kCommon + name).c_str()), SDL_FreeSurface);
    return Image(loaded ? SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGBA32, 0) : nullptr, SDL_FreeSurface);
}

uint32_t rgbAt(const Image& image, int x, int y) {
    const unsigned char* p = static_cast<const unsigned char*>(image->pixels) + y * image->pitch + 4 * x;
    return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

// Whether a pixel is drawn, that is not the magenta that the game keys out.
bool isInked(const Image& image, int x, int y) { return rgbAt(image, x, y) != 0xFF00FF; }

TEST(Media, SheetsAreAsLargeAsTheGameCutsThem) {
    const struct {
        const char* name;
        int width, height;
    } sheets[] = {
        {"Deer.png", 288, 128},     {"Hunter.png", 320, 256}, {"Title.png", 800, 600},
        {"GameOver.png", 800, 600}, {"Win.png", 800, 600},    {"Font.png", 160, 450},
        {"Tiles.png", 2048, 96},    {"Icon.png", 160, 32},    {"Snow.png", 544, 128},
    };
    for (const auto& sheet : sheets) {
        const Image image = loadImage(sheet.name);
        ASSERT_TRUE(image) << IMG_GetError();
        EXPECT_GE(image->w, sheet.width) << sheet.name;
        EXPECT_GE(image->h, sheet.height) << sheet.name;
    }
}

TEST(Media, SnowRepeatsAcrossItsSeamAndNoFlakeStraddlesTwoBlocks) {
    const Image snow = loadImage("Snow.png");
    ASSERT_TRUE(snow);
    ASSERT_GE(snow->w, 576);
    for (int y = 0; y < snow->h; ++y) {
        for (int x = 512; x < 576; ++x) {
            ASSERT_EQ(rgbAt(snow, x, y), rgbAt(snow, x - 512, y)) << "at " << x << ", " << y;
        }
        // Neighbouring screen cells sample blocks 32 pixels apart.
        for (int x = 32; x < snow->w; x += 32) {
            EXPECT_FALSE(isInked(snow, x - 1, y) && isInked(snow, x, y)) << "at " << x << ", " << y;
        }
    }
}

TEST(Media, FontCellsHoldGlyphsExactlyWhereTheCharacterMapHasCharacters) {
    const Image font = loadImage("Font.png");
    ASSERT_TRUE(font);
    for (int style = 0; style < 5; ++style) {
        for (int row = 0; row < 6; ++row) {
            for (int column = 0; column < 16; ++column) {
                const bool character = row < 5 || column < 7; // row 5 holds < > [ ] # $ ^ and the blank space
                bool inked = false;
                for (int pixel = 0; pixel < 10 * 15; ++pixel) {
                    inked = inked || isInked(font, 10 * column + pixel % 10, 15 * (6 * style + row) + pixel / 10);
                }
                EXPECT_EQ(inked, character) << "style " << style << " row " << row << " column " << column;
            }
        }
    }
}

// A big-endian number of the given bytes at a place in data.
uint32_t big(const std::vector<unsigned char>& data, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) {
        v = (v << 8) | data.at(at + i);
    }
    return v;
}

TEST(Media, EveryTuneLoopsOnABarLineWithNoNoteLeftSounding) {
    for (int number = 0; number < kPieceCount; ++number) {
        const std::string name = "mus0" + std::to_string(number) + ".mid";
        SCOPED_TRACE(name);
        std::ifstream in(kCommon + name, std::ios::binary);
        const std::vector<unsigned char> d{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        ASSERT_GE(d.size(), 14u);
        ASSERT_EQ(std::string(d.begin(), d.begin() + 4), "MThd");
        const uint32_t tracks = big(d, 10, 2);
        const uint32_t division = big(d, 12, 2); // ticks a beat
        ASSERT_GT(division, 0u);
        std::set<uint32_t> ends; // the tick on which each track ends
        size_t at = 14;
        for (uint32_t t = 0; t < tracks; ++t) {
            ASSERT_LE(at + 8, d.size()) << "track " << t << " is missing";
            ASSERT_EQ(std::string(d.begin() + at, d.begin() + at + 4), "MTrk") << "track " << t;
            const size_t end = at + 8 + big(d, at + 4, 4);
            at += 8;
            uint32_t tick = 0;
            int sounding[16][128] = {};
            bool ended = false;
            while (at < end && !ended) {
                uint32_t delta = 0;
                unsigned char byte;
                do {
                    byte = d.at(at++);
                    delta = (delta << 7) | (byte & 0x7F);
                } while (byte & 0x80);
                tick += delta;
                const unsigned char status = d.at(at++);
                ASSERT_TRUE(status & 0x80) << "running status is not written";
                if (status == 0xFF) { // meta event: type, length, data
                    ended = d.at(at) == 0x2F;
                    at += 2 + d.at(at + 1);
                } else if ((status & 0xE0) == 0xC0) { // program change, channel pressure: one data byte
                    at += 1;
                } else { // two data bytes; note on and off counted
                    const bool on = (status & 0xF0) == 0x90 && d.at(at + 1) > 0;
                    if ((status & 0xF0) <= 0x90) {
                        int& count = sounding[status & 0x0F][d.at(at) & 0x7F];
                        count += on ? 1 : -1;
                        EXPECT_GE(count, 0) << "a note ends that was not sounding in track " << t;
                    }
                    at += 2;
                }
            }
            ASSERT_TRUE(ended) << "track " << t << " has no end-of-track event";
            EXPECT_EQ(at, end) << "events after the end of track " << t;
            EXPECT_TRUE(std::all_of(&sounding[0][0], &sounding[0][0] + 16 * 128, [](int c) { return c == 0; }))
                << "a note still sounds at the end of track " << t;
            ends.insert(tick);
        }
        ASSERT_EQ(ends.size(), 1u) << "the tracks end on different ticks";
        EXPECT_EQ(*ends.begin() % (4 * division), 0u) << "the loop does not end on a bar line";
    }
}

struct Effects {
    Audio file[kEffectCount];  // as snd0N.wav holds it
    Audio heard[kEffectCount]; // at its volume, the footstep stacked as the deer starts it
    double loudness[kEffectCount];
    bool read = true;
};

// Every effect, read once for all the tests.
const Effects& effects() {
    static const Effects Read = [] {
        Effects e;
        for (int slot = 0; slot < kEffectCount; ++slot) {
            e.read = e.read && readSound(kCommon + "snd0" + std::to_string(slot) + ".wav", &e.file[slot]) == 0 &&
                     !e.file[slot].empty() && hearEffect(kCommon, slot, &e.heard[slot]) == 0;
            e.loudness[slot] = e.read ? loudestLoudness(e.heard[slot], kEffectWindowMs) : kSilenceDb;
        }
        return e;
    }();
    return Read;
}

class Loudness : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(e.read); }
    const Effects& e = effects();
};

TEST_F(Loudness, EveryEffectStartsAndEndsInSilenceAndClipsNeitherInItsFileNorAsHeard) {
    constexpr float kSilentEnd = 64.0f / 32768; // no click where the sound starts, ends or loops
    for (int slot = 0; slot < kEffectCount; ++slot) {
        SCOPED_TRACE(kEffectName[slot]);
        EXPECT_LT(std::fabs(e.file[slot].front()), kSilentEnd);
        EXPECT_LT(std::fabs(e.file[slot].back()), kSilentEnd);
        EXPECT_LT(peakDb(e.file[slot]), kClipDb);
        EXPECT_LT(peakDb(e.heard[slot]), kClipDb);
    }
}

TEST_F(Loudness, EffectsLieWithinSixDbWithTheGunshotOnTop) {
    const auto [quietest, loudest] = std::minmax_element(e.loudness, e.loudness + kEffectCount);
    EXPECT_LE(*loudest - *quietest, 6.0);
    EXPECT_GE(e.loudness[kGunshotSlot], *loudest - 1.0);
}

TEST_F(Loudness, EachEffectHasWhatItsMomentNeeds) {
    const struct {
        int slot;
        double lowHz, highHz, leastShare;
        const char* why;
    } bands[] = {
        {kGunshotSlot, 1000, kHeardRate, 0.15, "a sharp crack, not a dull thump"},
        {kFootstepSlot, 1000, kHeardRate, 0.5, "a crunch of snow, not a thud"},
        {kDangerSlot, 200, 5000, 0.4, "carries on laptop speakers"},
    };
    for (const auto& band : bands) {
        EXPECT_GE(energyShare(e.heard[band.slot], band.lowHz, band.highHz), band.leastShare) << band.why;
    }
    EXPECT_GE(tailUnderPeakDb(e.heard[kSafeSlot], 0.05), 40.0) << "the chime dies away before its end";
    EXPECT_GE(lengthSeconds(e.heard[kEatingSlot]), 3.9) << "the munching covers a whole bite";
    // The sniff loops while the key is held: one breath, neither a stutter nor a drone.
    EXPECT_GE(lengthSeconds(e.file[kSniffSlot]), 0.6);
    EXPECT_LE(lengthSeconds(e.file[kSniffSlot]), 1.0);
}

TEST_F(Loudness, EveryPieceSitsUnderTheEffectsByAtMostTenDbAndNeverClips) {
    std::vector<double> loudness(e.loudness, e.loudness + kEffectCount);
    std::sort(loudness.begin(), loudness.end());
    std::vector<std::string> paths;
    for (int piece = 0; piece < kPieceCount; ++piece) {
        paths.push_back(kCommon + "mus0" + std::to_string(piece) + ".mid");
    }
    std::vector<Audio> music;
    ASSERT_EQ(renderMusic(paths, &music), 0);
    for (int piece = 0; piece < kPieceCount; ++piece) {
        const double pieceLoudness = loudestLoudness(music[piece], kMusicWindowMs);
        EXPECT_GE(pieceLoudness, loudness[kEffectCount / 2] - 10) << kPieceName[piece] << " under the effects' median";
        EXPECT_LT(pieceLoudness, loudness[kEffectCount / 2]) << kPieceName[piece] << " over the effects' median";
        EXPECT_LT(peakDb(music[piece]), kClipDb) << kPieceName[piece];
    }
}

} // namespace
