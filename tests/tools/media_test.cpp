// Checks the committed media in Common/: sounds with clean ends, sheet layouts, seams, loops.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "loudness/loudness.h"

static std::string commonPath(const std::string& name) { return std::string(VELMOOR_SOURCE_DIR) + "/Common/" + name; }

static std::vector<unsigned char> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

static uint32_t big(const std::vector<unsigned char>& d, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) {
        v = (v << 8) | d[at + i];
    }
    return v;
}

TEST(Media, EverySoundStartsAndEndsInSilenceAndNeverClips) {
    constexpr float kSilentEnd = 64.0f / 32768; // no click where the sound starts, ends or loops
    for (int slot = 0; slot < kEffectCount; ++slot) {
        SCOPED_TRACE(kEffectName[slot]);
        Audio sound;
        ASSERT_EQ(readSound(commonPath("snd0" + std::to_string(slot) + ".wav"), &sound), 0);
        ASSERT_FALSE(sound.empty());
        EXPECT_LT(peakDb(sound), -0.5);
        EXPECT_LT(std::fabs(sound.front()), kSilentEnd);
        EXPECT_LT(std::fabs(sound.back()), kSilentEnd);
        if (slot == kSniffSlot) {
            // The sniff loops: long enough to breathe, silent at both ends so the loop has no seam.
            EXPECT_GE(lengthSeconds(sound), 0.6);
            EXPECT_LE(lengthSeconds(sound), 1.0);
        }
    }
}

TEST(Media, EveryTuneLoopsOnABarLineWithNoNoteLeftSounding) {
    for (int number = 0; number <= 3; ++number) {
        char name[16];
        std::snprintf(name, sizeof name, "mus%02d.mid", number);
        SCOPED_TRACE(name);
        std::vector<unsigned char> d = readFile(commonPath(name));
        ASSERT_GE(d.size(), 14u);
        ASSERT_EQ(std::string(d.begin(), d.begin() + 4), "MThd");
        const uint32_t tracks = big(d, 10, 2);
        const uint32_t division = big(d, 12, 2);
        ASSERT_GT(tracks, 1u);
        ASSERT_GT(division, 0u);
        size_t at = 14;
        int64_t loopEnd = -1;
        bool anyNote = false;
        for (uint32_t t = 0; t < tracks; ++t) {
            ASSERT_LE(at + 8, d.size());
            ASSERT_EQ(std::string(d.begin() + at, d.begin() + at + 4), "MTrk");
            const size_t end = at + 8 + big(d, at + 4, 4);
            ASSERT_LE(end, d.size());
            at += 8;
            uint32_t tick = 0;
            int sounding[16][128] = {};
            bool ended = false;
            while (at < end && !ended) {
                uint32_t delta = 0;
                unsigned char byte;
                do {
                    byte = d[at++];
                    delta = (delta << 7) | (byte & 0x7F);
                } while ((byte & 0x80) && at < end);
                tick += delta;
                const unsigned char status = d[at++];
                ASSERT_TRUE(status & 0x80) << "running status is not written";
                if (status == 0xFF) {
                    const unsigned char type = d[at++];
                    const unsigned char length = d[at++];
                    at += length;
                    ended = type == 0x2F;
                    continue;
                }
                const int kind = status & 0xF0;
                const int channel = status & 0x0F;
                if (kind == 0xC0 || kind == 0xD0) {
                    at += 1;
                    continue;
                }
                const int key = d[at];
                const int velocity = d[at + 1];
                at += 2;
                if (kind == 0x90 && velocity > 0) {
                    ++sounding[channel][key];
                    anyNote = true;
                } else if (kind == 0x80 || kind == 0x90) {
                    --sounding[channel][key];
                    EXPECT_GE(sounding[channel][key], 0);
                }
            }
            ASSERT_TRUE(ended) << "track " << t << " has no end-of-track event";
            EXPECT_EQ(at, end) << "events after the end of track " << t;
            for (const auto& channel : sounding) {
                for (int count : channel) {
                    EXPECT_EQ(count, 0) << "a note still sounds at the end of track " << t;
                }
            }
            if (loopEnd < 0) {
                loopEnd = tick;
            }
            EXPECT_EQ(tick, loopEnd) << "track " << t << " ends off the loop length";
        }
        EXPECT_TRUE(anyNote);
        EXPECT_EQ(loopEnd % (4 * division), 0) << "the loop does not end on a bar line";
    }
}

// A PNG of Common/ as 32-bit RGBA, or nullptr.
static SDL_Surface* loadImage(const char* name) {
    SDL_Surface* loaded = IMG_Load(commonPath(name).c_str());
    if (!loaded) {
        return nullptr;
    }
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    return rgba;
}

static uint32_t pixelAt(const SDL_Surface* s, int x, int y) {
    const unsigned char* p = static_cast<const unsigned char*>(s->pixels) + y * s->pitch + 4 * x;
    return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

constexpr uint32_t kMagentaRgb = 0xFF00FF;

TEST(Media, SheetsHaveTheSizesTheGameCutsThemBy) {
    struct Expected {
        const char* name;
        int width, height;
        bool exact;
    };
    const Expected sheets[] = {
        {"Deer.png", 288, 128, true},     {"Hunter.png", 320, 256, true}, {"Title.png", 800, 600, true},
        {"GameOver.png", 800, 600, true}, {"Win.png", 800, 600, true},    {"Font.png", 160, 450, false},
        {"Tiles.png", 2048, 96, true},    {"Icon.png", 160, 32, false},   {"Snow.png", 544, 128, false},
    };
    for (const Expected& e : sheets) {
        SCOPED_TRACE(e.name);
        SDL_Surface* s = loadImage(e.name);
        ASSERT_NE(s, nullptr) << IMG_GetError();
        if (e.exact) {
            EXPECT_EQ(s->w, e.width);
            EXPECT_EQ(s->h, e.height);
        } else {
            EXPECT_GE(s->w, e.width);
            EXPECT_GE(s->h, e.height);
        }
        SDL_FreeSurface(s);
    }
}

TEST(Media, SnowRepeatsAcrossItsSeamAndDownEachRow) {
    SDL_Surface* s = loadImage("Snow.png");
    ASSERT_NE(s, nullptr);
    ASSERT_GE(s->w, 576);
    for (int y = 0; y < s->h; ++y) {
        for (int x = 512; x < 576; ++x) {
            ASSERT_EQ(pixelAt(s, x, y), pixelAt(s, x - 512, y)) << "at " << x << ", " << y;
        }
    }
    // No flake may straddle a 32-pixel block: neighbouring screen cells sample blocks 32 apart.
    for (int y = 0; y < s->h; ++y) {
        for (int x = 32; x < s->w; x += 32) {
            EXPECT_FALSE(pixelAt(s, x - 1, y) != kMagentaRgb && pixelAt(s, x, y) != kMagentaRgb)
                << "at " << x << ", " << y;
        }
    }
    SDL_FreeSurface(s);
}

TEST(Media, FontCellsHoldGlyphsExactlyWhereTheCharacterMapHasCharacters) {
    SDL_Surface* s = loadImage("Font.png");
    ASSERT_NE(s, nullptr);
    for (int style = 0; style < 5; ++style) {
        for (int row = 0; row < 6; ++row) {
            for (int column = 0; column < 16; ++column) {
                bool character = row < 5 || column < 7; // row 5 holds < > [ ] # $ ^ and the blank space
                int inked = 0;
                for (int y = 0; y < 15; ++y) {
                    for (int x = 0; x < 10; ++x) {
                        inked += pixelAt(s, 10 * column + x, 15 * (6 * style + row) + y) != kMagentaRgb;
                    }
                }
                if (character) {
                    EXPECT_GT(inked, 0) << "style " << style << " row " << row << " column " << column;
                } else {
                    EXPECT_EQ(inked, 0) << "style " << style << " row " << row << " column " << column;
                }
            }
        }
    }
    SDL_FreeSurface(s);
}
