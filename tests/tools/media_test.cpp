// The committed media of Common/ as the game cuts them and the player hears them: sheets big enough,
// seamless snow, glyphs where the character map has characters, grass and bushes that cannot be
// confused, blocking tiles drawn across their cells, tunes that loop cleanly, and sounds and music
// measured at the game's volumes (clean ends, no clipping, balance, character).
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "loudness/loudness.h"
#include "world/tileprops.h"

namespace {

const std::string kCommon = std::string(VELMOOR_SOURCE_DIR) + "/Common/";
constexpr double kClipDb = -0.5;
constexpr int kTile = 32; // a tile of Tiles.png, pixels on a side

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

// A pixel of tile id's cell in Tiles.png (64 tiles a row, ids from 1).
uint32_t tileRgb(const Image& sheet, int id, int x, int y) {
    return rgbAt(sheet, (id - 1) % 64 * kTile + x, (id - 1) / 64 * kTile + y);
}

// Whether a pixel is drawn, that is not the magenta that the game keys out.
bool isInked(uint32_t rgb) { return rgb != 0xFF00FF; }

TEST(Media, SheetsAreAsLargeAsTheGameCutsThem) {
    const std::tuple<const char*, int, int> sheets[] = {
        {"Deer.png", 288, 128},     {"Hunter.png", 320, 256}, {"Title.png", 800, 600},
        {"GameOver.png", 800, 600}, {"Win.png", 800, 600},    {"Font.png", 160, 450},
        {"Tiles.png", 2048, 96},    {"Icon.png", 160, 32},    {"Snow.png", 544, 128},
    };
    for (const auto& [name, width, height] : sheets) {
        const Image image = loadImage(name);
        ASSERT_TRUE(image) << IMG_GetError();
        EXPECT_TRUE(image->w >= width && image->h >= height) << name;
    }
}

TEST(Media, SnowRepeatsAcrossItsSeamAndNoFlakeStraddlesTwoBlocks) {
    const Image snow = loadImage("Snow.png");
    ASSERT_TRUE(snow && snow->w >= 576);
    for (int y = 0; y < snow->h; ++y) {
        for (int x = 512; x < 576; ++x) {
            ASSERT_EQ(rgbAt(snow, x, y), rgbAt(snow, x - 512, y)) << "at " << x << ", " << y;
        }
        // Neighbouring screen cells sample blocks 32 pixels apart.
        for (int x = 32; x < snow->w; x += 32) {
            EXPECT_FALSE(isInked(rgbAt(snow, x - 1, y)) && isInked(rgbAt(snow, x, y))) << "at " << x << ", " << y;
        }
    }
}

TEST(Media, FontCellsHoldGlyphsExactlyWhereTheCharacterMapHasCharacters) {
    const Image font = loadImage("Font.png");
    ASSERT_TRUE(font);
    for (int cell = 0; cell < 5 * 6 * 16; ++cell) {        // five styles of six rows of 16 cells, 10 x 15 pixels each
        const int row = cell / 16 % 6, column = cell % 16; // row 5 holds < > [ ] # $ ^ and the blank space
        bool inked = false;
        for (int pixel = 0; pixel < 10 * 15; ++pixel) {
            inked = inked || isInked(rgbAt(font, 10 * column + pixel % 10, 15 * (cell / 16) + pixel / 10));
        }
        EXPECT_EQ(inked, row < 5 || column < 7) << "style " << cell / 96 << " row " << row << " column " << column;
    }
}

// The living green of grass and needles; not the near-black outlines around them.
bool isGreen(uint32_t rgb) {
    const int r = int(rgb >> 16), g = int(rgb >> 8 & 0xFF), b = int(rgb & 0xFF);
    return g > r + 12 && g > b + 4 && g > 60;
}

// Players took round light-green grass patches for bushes: grass must be plenty of thin blades (their green nearly
// all edge, beside a pixel that is not green) of a warm yellow-green, and bushes round clumps (mostly inside) of a
// cold dark green.
TEST(Media, GrassTuftsAreThinWarmBladesAndBushesRoundColdClumps) {
    const Image sheet = loadImage("Tiles.png");
    ASSERT_TRUE(sheet);
    for (int id = 21; id <= 43; ++id) {
        auto green = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < kTile && y < kTile && isGreen(tileRgb(sheet, id, x, y));
        };
        double count = 0, edge = 0, red = 0, blue = 0; // red and blue summed over the green pixels
        for (int pixel = 0; pixel < kTile * kTile; ++pixel) {
            const int x = pixel % kTile, y = pixel / kTile;
            if (green(x, y)) {
                count++;
                red += tileRgb(sheet, id, x, y) >> 16;
                blue += tileRgb(sheet, id, x, y) & 0xFF;
                edge += green(x - 1, y) && green(x + 1, y) && green(x, y - 1) && green(x, y + 1) ? 0 : 1;
            }
        }
        const bool grass = id <= 39; // then bushes
        EXPECT_TRUE(count >= 150 &&
                    (grass ? edge / count >= 0.55 && red >= blue + 50 * count : edge / count < 0.45 && blue > red))
            << "tile " << id << ": " << count << " green, " << edge / count << " of it edge, red " << red / count
            << ", blue " << blue / count;
    }
}

// Whether a pixel is the ice's, not its snow bank's.
bool isIce(uint32_t rgb) { return int(rgb & 0xFF) - int(rgb >> 16) > 50 && isInked(rgb); }

// A tile that blocks movement blocks its whole cell, so it is drawn across it, or the deer stops short of what the
// player sees: a tree's foot, a rock, from side to side at the bottom of the cell; the ice (opaque) right up to the
// middles of the cell's sides, under a snow bank at most 4 pixels deep (the banks of the corners are rounded).
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
        int left = kTile, right = -1, bottom = -1, inked = 0; // left and right: of the foot, the bottom 8 rows
        for (int pixel = 0; pixel < kTile * kTile; ++pixel) {
            const int x = pixel % kTile, y = pixel / kTile;
            if (isInked(tileRgb(sheet, id, x, y))) {
                std::tie(inked, bottom) = std::pair(inked + 1, y);
                std::tie(left, right) =
                    y < 24 ? std::pair(left, right) : std::pair(std::min(left, x), std::max(right, x));
            }
        }
        if (inked < kTile * kTile) {
            objects++;
            EXPECT_TRUE(left <= 1 && right >= kTile - 2 && bottom >= kTile - 3)
                << "the drawing stops short of the cell's sides or bottom: " << left << ", " << right << ", " << bottom;
            continue;
        }
        ice++;
        for (int line = 8; line < kTile - 8; ++line) {
            for (int side = 0; side < 4; ++side) { // left, right, top, bottom
                bool reached = false;
                for (int k = 0; k <= 4; ++k) {
                    const int along = side % 2 == 0 ? k : kTile - 1 - k;
                    reached =
                        reached || isIce(side < 2 ? tileRgb(sheet, id, along, line) : tileRgb(sheet, id, line, along));
                }
                EXPECT_TRUE(reached) << "snow deeper than 4 pixels on side " << side << " at line " << line;
            }
        }
    }
    EXPECT_TRUE(objects >= 4 && ice == 9) << objects << " rocks and tree feet, " << ice << " ice tiles that block: "
                                          << "not the at least 4 and the 9 of properties.tmx";
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
        SCOPED_TRACE(kPieceName[number]);
        std::ifstream in(kCommon + "mus0" + std::to_string(number) + ".mid", std::ios::binary);
        const std::vector<unsigned char> d{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        ASSERT_TRUE(d.size() >= 14 && std::string(d.begin(), d.begin() + 4) == "MThd" && big(d, 12, 2) > 0);
        std::set<uint32_t> ends; // the tick on which each track ends
        size_t at = 14;
        for (uint32_t t = 0; t < big(d, 10, 2); ++t) {
            ASSERT_TRUE(at + 8 <= d.size() && std::string(d.begin() + at, d.begin() + at + 4) == "MTrk") << t;
            const size_t end = at + 8 + big(d, at + 4, 4);
            at += 8;
            uint32_t tick = 0;
            int notes[16][128] = {}, sounding = 0; // by channel and key, and in all
            bool ended = false;
            while (at < end && !ended) {
                uint32_t delta = 0; // 7 bits a byte, the last without the top bit
                for (unsigned char byte = 0x80; byte & 0x80; delta = (delta << 7) | (byte & 0x7F)) {
                    byte = d.at(at++);
                }
                tick += delta;
                const unsigned char status = d.at(at++);
                ASSERT_TRUE(status & 0x80) << "running status is not written";
                if (status == 0xFF) { // meta event: type, length, data
                    ended = d.at(at) == 0x2F;
                    at += 2 + d.at(at + 1);
                    continue;
                }
                if ((status & 0xF0) <= 0x90) { // note off and on counted
                    const int change = (status & 0xF0) == 0x90 && d.at(at + 1) > 0 ? 1 : -1;
                    sounding += change;
                    EXPECT_GE(notes[status & 0x0F][d.at(at) & 0x7F] += change, 0) << "a note ends that did not sound";
                }
                at += (status & 0xE0) == 0xC0 ? 1 : 2; // program change and channel pressure have one data byte
            }
            EXPECT_TRUE(ended && at == end) << "track " << t << " has no end-of-track event, or events after it";
            EXPECT_EQ(sounding, 0) << "a note still sounds at the end of track " << t;
            ends.insert(tick);
        }
        ASSERT_EQ(ends.size(), 1u) << "the tracks end on different ticks";
        EXPECT_EQ(*ends.begin() % (4 * big(d, 12, 2)), 0u) << "the loop does not end on a bar line";
    }
}

// Every effect as its file holds it and as the player hears it (at its volume, the footstep stacked as the deer
// starts it), with its loudness.
struct Effect {
    Audio file, heard;
    double loudness;
};
std::vector<Effect> readEffects() {
    std::vector<Effect> effects(kEffectCount);
    for (int slot = 0; slot < kEffectCount; ++slot) {
        Effect& e = effects[size_t(slot)];
        EXPECT_TRUE(readSound(kCommon + "snd0" + std::to_string(slot) + ".wav", &e.file) == 0 && !e.file.empty() &&
                    hearEffect(kCommon, slot, &e.heard) == 0)
            << kEffectName[slot];
        e.loudness = e.heard.empty() ? kSilenceDb : loudestLoudness(e.heard, kEffectWindowMs);
    }
    return effects;
}

// No click where a sound starts, ends or loops; no clipping in the file or as heard; no effect drowns another, and the
// gunshot is among the loudest; and each has what its moment needs.
TEST(Loudness, EveryEffectIsCleanBalancedWithTheGunshotOnTopAndHasWhatItsMomentNeeds) {
    const std::vector<Effect> e = readEffects();
    ASSERT_FALSE(HasFailure());
    double quietest = 0, loudest = kSilenceDb;
    for (const Effect& effect : e) {
        SCOPED_TRACE(kEffectName[&effect - e.data()]);
        EXPECT_LT(std::max(std::fabs(effect.file.front()), std::fabs(effect.file.back())), 64.0f / 32768);
        EXPECT_LT(std::max(peakDb(effect.file), peakDb(effect.heard)), kClipDb);
        std::tie(quietest, loudest) =
            std::pair(std::min(quietest, effect.loudness), std::max(loudest, effect.loudness));
    }
    EXPECT_LE(loudest - quietest, 6.0);
    EXPECT_GE(e[kGunshotSlot].loudness, loudest - 1.0);
    // clang-format off
    const struct { int slot; double lowHz, highHz, leastShare; const char* why; } bands[] = {
        {kGunshotSlot, 1000, kHeardRate, 0.15, "a sharp crack, not a dull thump"},
        {kFootstepSlot, 1000, kHeardRate, 0.5, "a crunch of snow, not a thud"},
        {kDangerSlot, 200, 5000, 0.4, "carries on laptop speakers"},
    };
    // clang-format on
    for (const auto& band : bands) {
        EXPECT_GE(energyShare(e[band.slot].heard, band.lowHz, band.highHz), band.leastShare) << band.why;
    }
    EXPECT_GE(tailUnderPeakDb(e[kSafeSlot].heard, 0.05), 40.0) << "the chime dies away before its end";
    EXPECT_GE(lengthSeconds(e[kEatingSlot].heard), 3.9) << "the munching covers a whole bite";
    // The sniff loops while the key is held: one breath, neither a stutter nor a drone.
    EXPECT_GE(lengthSeconds(e[kSniffSlot].file), 0.6);
    EXPECT_LE(lengthSeconds(e[kSniffSlot].file), 1.0);
}

TEST(Loudness, EveryPieceSitsUnderTheEffectsByAtMostTenDbAndNeverClips) {
    std::vector<double> loudness;
    for (const Effect& effect : readEffects()) {
        loudness.push_back(effect.loudness);
    }
    std::sort(loudness.begin(), loudness.end());
    const double median = loudness[kEffectCount / 2];
    std::vector<std::string> paths;
    for (int piece = 0; piece < kPieceCount; ++piece) {
        paths.push_back(kCommon + "mus0" + std::to_string(piece) + ".mid");
    }
    std::vector<Audio> music;
    ASSERT_EQ(renderMusic(paths, &music), 0);
    for (int piece = 0; piece < kPieceCount; ++piece) {
        const double pieceLoudness = loudestLoudness(music[size_t(piece)], kMusicWindowMs);
        EXPECT_TRUE(pieceLoudness >= median - 10 && pieceLoudness < median)
            << kPieceName[piece] << ": " << pieceLoudness;
        EXPECT_LT(peakDb(music[size_t(piece)]), kClipDb) << kPieceName[piece];
    }
}

} // namespace
