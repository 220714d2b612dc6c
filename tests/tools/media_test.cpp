// The committed media of Common/ as the game cuts them and the player hears them: sheets big enough,
// seamless snow, glyphs where the character map has characters, grass and bushes that cannot be
// confused, blocking tiles drawn across their cells, tunes that loop cleanly, and sounds and music
// measured at the game's volumes (clean ends, no clipping, balance, character).
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "loudness/loudness.h"
#include "render/media.h"
#include "world/tileprops.h"

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

constexpr int kTile = 32; // a tile of Tiles.png, pixels on a side

// The top-left pixel of a tile id's cell in Tiles.png (64 tiles a row, ids from 1).
int tileLeft(int id) { return (id - 1) % 64 * kTile; }
int tileTop(int id) { return (id - 1) / 64 * kTile; }

// The living green of grass and needles; not the near-black outlines around them.
bool isGreen(uint32_t rgb) {
    const int r = int(rgb >> 16), g = int(rgb >> 8 & 0xFF), b = int(rgb & 0xFF);
    return g > r + 12 && g > b + 4 && g > 60;
}

// What a tile's green looks like: how many pixels, their mean red and blue, and the share of them
// on an edge (with a pixel that is not green beside them): thin blades are nearly all edge, round
// clumps mostly inside.
struct Green {
    int count = 0;
    double red = 0, blue = 0, edgeShare = 0;
};

Green measureGreen(const Image& sheet, int id) {
    Green green;
    int edge = 0;
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            const uint32_t rgb = rgbAt(sheet, tileLeft(id) + x, tileTop(id) + y);
            if (!isGreen(rgb)) {
                continue;
            }
            green.count++;
            green.red += rgb >> 16;
            green.blue += rgb & 0xFF;
            bool inside = true;
            for (const auto& [dx, dy] : {std::pair(1, 0), std::pair(-1, 0), std::pair(0, 1), std::pair(0, -1)}) {
                const int nx = x + dx, ny = y + dy;
                inside = inside && nx >= 0 && ny >= 0 && nx < kTile && ny < kTile &&
                         isGreen(rgbAt(sheet, tileLeft(id) + nx, tileTop(id) + ny));
            }
            edge += inside ? 0 : 1;
        }
    }
    if (green.count > 0) {
        green.red /= green.count;
        green.blue /= green.count;
        green.edgeShare = double(edge) / green.count;
    }
    return green;
}

// Players took round light-green grass patches for bushes: grass must be thin blades of a warm
// yellow-green, plenty of them, and bushes round clumps of a cold dark green.
TEST(Media, GrassTuftsAreThinWarmBladesAndBushesRoundColdClumps) {
    const Image sheet = loadImage("Tiles.png");
    ASSERT_TRUE(sheet);
    for (int id = 21; id <= 43; ++id) {
        const bool grass = id <= 39;
        const Green green = measureGreen(sheet, id);
        SCOPED_TRACE("tile " + std::to_string(id) + (grass ? " (grass)" : " (bush)"));
        EXPECT_GE(green.count, 150) << "too little green to see";
        if (grass) {
            EXPECT_GE(green.edgeShare, 0.55) << "a clump, not blades";
            EXPECT_GE(green.red, green.blue + 50) << "not a warm yellow-green";
        } else {
            EXPECT_LT(green.edgeShare, 0.45) << "not a round clump";
            EXPECT_GT(green.blue, green.red) << "not a cold green";
        }
    }
}

// Whether a pixel is the ice's, not its snow bank's.
bool isIce(uint32_t rgb) { return int(rgb & 0xFF) - int(rgb >> 16) > 50 && rgb != 0xFF00FF; }

// A tile that blocks movement blocks its whole cell, so it is drawn across it, or the deer stops
// short of what the player sees: a tree's foot, a rock, from side to side at the bottom of the
// cell; the ice right up to the cell's sides, under a snow bank at most 4 pixels deep.
TEST(Media, WhatBlocksMovementIsDrawnAcrossItsCell) {
    FILE* properties = fopen((kCommon + "properties.tmx").c_str(), "r");
    ASSERT_NE(properties, nullptr);
    readTileProperties(properties);
    fclose(properties);
    const Image sheet = loadImage("Tiles.png");
    ASSERT_TRUE(sheet);
    int objects = 0, ice = 0;
    for (int id = 1; id <= 3 * 64; ++id) {
        if (gTileTypeMovement[id] == 0 || gTileTypeOverlay[id] == 0) {
            continue;
        }
        SCOPED_TRACE("tile " + std::to_string(id));
        int left = kTile, right = -1, bottom = -1;
        bool opaque = true;
        for (int y = 0; y < kTile; ++y) {
            for (int x = 0; x < kTile; ++x) {
                const bool inked = isInked(sheet, tileLeft(id) + x, tileTop(id) + y);
                opaque = opaque && inked;
                left = inked && y >= 24 ? std::min(left, x) : left;
                right = inked && y >= 24 ? std::max(right, x) : right;
                bottom = inked ? std::max(bottom, y) : bottom;
            }
        }
        if (!opaque) {
            objects++;
            EXPECT_LE(left, 1) << "the foot of the drawing stops short of the cell's left side";
            EXPECT_GE(right, kTile - 2) << "the foot of the drawing stops short of the cell's right side";
            EXPECT_GE(bottom, kTile - 3) << "the drawing stops short of the cell's bottom";
            continue;
        }
        ice++;
        // Ice within 5 pixels of each side (left, right, top, bottom), along the middle lines: the
        // banks of the corners are rounded.
        for (int line = 8; line < kTile - 8; ++line) {
            for (int side = 0; side < 4; ++side) {
                bool reached = false;
                for (int k = 0; k <= 4; ++k) {
                    const int along = side % 2 == 0 ? k : kTile - 1 - k;
                    const int x = side < 2 ? along : line, y = side < 2 ? line : along;
                    reached = reached || isIce(rgbAt(sheet, tileLeft(id) + x, tileTop(id) + y));
                }
                EXPECT_TRUE(reached) << "snow deeper than 4 pixels on side " << side << " at line " << line;
            }
        }
    }
    EXPECT_GE(objects, 4) << "rocks and tree feet that block: fewer than properties.tmx had";
    EXPECT_EQ(ice, 9) << "ice tiles that block: not the nine of properties.tmx";
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
