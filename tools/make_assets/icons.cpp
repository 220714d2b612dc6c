// The desktop icon: the game's own deer standing in moonlit snow, on a rounded night-sky tile.
#include "icons.h"

#include "assets.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

struct IconSize {
    int pixels;    // width and height
    int deerScale; // screen pixels per sprite pixel: whole numbers keep the pixel art crisp
};

constexpr IconSize kIconSizes[] = {{32, 1}, {48, 1}, {64, 2}, {128, 3}, {256, 6}};
constexpr int kGrid = 32;           // the scene is laid out in 32 units across, whatever the size
constexpr int kSupersample = 4;     // samples per pixel side for the tile's rounded edge
constexpr double kTileInset = 1.0;  // units of empty margin around the tile
constexpr double kTileRadius = 6.0; // units
constexpr double kRimWidth = 0.4;   // units: a pale edge that keeps the dark tile visible on dark panels
constexpr int kDeerCentreX = 17;    // the standing deer's middle column in its sprite cell
constexpr int kDeerHeight = 30;     // sprite pixels from the antlers' tips to the hooves

constexpr Colour kSkyTop = {6, 10, 34}; // the title screen's night
constexpr Colour kSkyLow = {44, 66, 118};
constexpr Colour kMoon = {236, 236, 214};
constexpr Colour kMoonShade = {206, 208, 190};
constexpr Colour kSnowLight = {236, 242, 252};
constexpr Colour kSnowShade = {150, 170, 214};
constexpr Colour kTrack = {104, 122, 172};
constexpr Colour kRim = {150, 172, 220};
constexpr Colour kMoonlight = {214, 226, 248}; // rim of light around the deer against the sky

// How much of pixel (x, y) lies inside the rounded tile shrunk by inset units, 0..1.
static double tileCoverage(int x, int y, double unit, double inset) {
    const double low = inset * unit;
    const double high = (kGrid - inset) * unit;
    const double radius = (kTileRadius - (inset - kTileInset)) * unit;
    int inside = 0;
    for (int sy = 0; sy < kSupersample; ++sy) {
        for (int sx = 0; sx < kSupersample; ++sx) {
            double px = x + (sx + 0.5) / kSupersample;
            double py = y + (sy + 0.5) / kSupersample;
            double cx = std::clamp(px, low + radius, high - radius);
            double cy = std::clamp(py, low + radius, high - radius);
            if (px >= low && px <= high && py >= low && py <= high && std::hypot(px - cx, py - cy) <= radius) {
                ++inside;
            }
        }
    }
    return static_cast<double>(inside) / (kSupersample * kSupersample);
}

// Height of the snow's surface at x, in units: a gentle swell.
static double snowLine(double x) { return 23.0 - 1.2 * std::sin(x / 7.0 + 0.6); }

// Sky, stars, moon, snow and a line of tracks, at unit pixels per unit.
static void paintScene(Image& image, double unit) {
    for (int y = 0; y < image.height; ++y) {
        Colour c = mixColour(kSkyTop, kSkyLow, y / (22.0 * unit));
        for (int x = 0; x < image.width; ++x) {
            setPixel(image, x, y, c);
        }
    }
    Rng rng = {4401};
    for (int k = 0; k < 14; ++k) {
        double sx = randomRange(rng, 3.0, 29.0);
        double sy = randomRange(rng, 3.0, 16.0);
        double bright = randomRange(rng, 0.4, 1.0);
        softEllipse(image, sx * unit, sy * unit, 0.3 * unit, 0.3 * unit, {255, 255, 240}, bright);
    }
    for (double halo = 5.5; halo > 3.2; halo -= 0.75) {
        softEllipse(image, 7.5 * unit, 7.5 * unit, halo * unit, halo * unit, kMoon, 0.06);
    }
    softEllipse(image, 7.5 * unit, 7.5 * unit, 3.0 * unit, 3.0 * unit, kMoon, 1.0);
    softEllipse(image, 6.6 * unit, 6.7 * unit, 0.8 * unit, 0.7 * unit, kMoonShade, 1.0);
    softEllipse(image, 8.6 * unit, 8.7 * unit, 0.6 * unit, 0.5 * unit, kMoonShade, 1.0);
    for (int x = 0; x < image.width; ++x) {
        double surface = snowLine((x + 0.5) / unit) * unit;
        for (int y = static_cast<int>(std::floor(surface)); y < image.height; ++y) {
            double cover = std::clamp(y + 1 - surface, 0.0, 1.0);
            blendPixel(image, x, y, mixColour(kSnowLight, kSnowShade, (y - surface) / (9.0 * unit)), cover);
        }
    }
    // The deer's tracks, left and right alternately, leading in from the lower left.
    for (int k = 0; k < 4; ++k) {
        double side = k % 2 == 0 ? 0.45 : -0.45;
        double tx = 4.2 + 1.6 * k + 0.3 * side;
        double ty = 28.2 - 0.7 * k + side;
        softEllipse(image, (tx - 0.2) * unit, ty * unit, 0.18 * unit, 0.3 * unit, kTrack, 1.0);
        softEllipse(image, (tx + 0.2) * unit, ty * unit, 0.18 * unit, 0.3 * unit, kTrack, 1.0);
    }
}

// Pastes the standing deer at scale pixels per sprite pixel, centred, with a rim of moonlight;
// its pixels are made opaque in alpha, so antlers may reach past the tile's edge.
static void pasteDeer(Image& image, std::vector<unsigned char>& alpha, int scale) {
    Image deer = drawDeerCell(0, 0);
    outlineShapes(deer, 0, 0, kGrid, kGrid, kMoonlight);
    const int left = image.width / 2 - kDeerCentreX * scale;
    const int top = (image.height - kDeerHeight * scale) / 2;
    for (int y = 0; y < kGrid; ++y) {
        for (int x = 0; x < kGrid; ++x) {
            if (isMagenta(deer, x, y)) {
                continue;
            }
            fillRect(image, left + x * scale, top + y * scale, scale, scale, getPixel(deer, x, y));
            for (int py = std::max(0, top + y * scale); py < std::min(image.height, top + (y + 1) * scale); ++py) {
                for (int px = std::max(0, left + x * scale); px < std::min(image.width, left + (x + 1) * scale); ++px) {
                    alpha[static_cast<size_t>(py) * image.width + px] = 255;
                }
            }
        }
    }
}

static void appendBigEndian32(std::vector<unsigned char>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

static void appendChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data) {
    appendBigEndian32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    appendBigEndian32(out, static_cast<uint32_t>(crc));
}

// Writes an 8-bit RGBA PNG: colours from the picture, opacity from alpha (one byte per pixel).
static int writeRgbaPng(const std::string& path, const Image& image, const std::vector<unsigned char>& alpha) {
    std::vector<unsigned char> raw;
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0); // no filter: icons are small
        for (int x = 0; x < image.width; ++x) {
            size_t i = static_cast<size_t>(y) * image.width + x;
            raw.insert(raw.end(), {image.rgb[3 * i], image.rgb[3 * i + 1], image.rgb[3 * i + 2], alpha[i]});
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
        std::printf("Could not compress %s\n", path.c_str());
        return 1;
    }
    packed.resize(packedSize);
    std::vector<unsigned char> header;
    appendBigEndian32(header, static_cast<uint32_t>(image.width));
    appendBigEndian32(header, static_cast<uint32_t>(image.height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, adaptive filters, no interlace
    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    appendChunk(file, "IHDR", header);
    appendChunk(file, "IDAT", packed);
    appendChunk(file, "IEND", {});

    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        std::printf("Could not write %s\n", path.c_str());
        return 1;
    }
    size_t written = std::fwrite(file.data(), 1, file.size(), out);
    if (std::fclose(out) != 0 || written != file.size()) {
        std::printf("Could not write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

static int makeIcon(const std::string& outDir, const IconSize& size) {
    const double unit = static_cast<double>(size.pixels) / kGrid;
    Image image = makeImage(size.pixels, size.pixels, kSkyTop);
    paintScene(image, unit);
    std::vector<unsigned char> alpha(static_cast<size_t>(size.pixels) * size.pixels);
    for (int y = 0; y < size.pixels; ++y) {
        for (int x = 0; x < size.pixels; ++x) {
            double outer = tileCoverage(x, y, unit, kTileInset);
            double inner = tileCoverage(x, y, unit, kTileInset + kRimWidth);
            if (outer > inner) {
                blendPixel(image, x, y, kRim, 0.7 * (outer - inner) / outer);
            }
            alpha[static_cast<size_t>(y) * size.pixels + x] = static_cast<unsigned char>(std::lround(255 * outer));
        }
    }
    pasteDeer(image, alpha, size.deerScale);
    std::string folder = outDir + std::to_string(size.pixels) + "x" + std::to_string(size.pixels) + "/apps/";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::printf("Could not create %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }
    return writeRgbaPng(folder + "velmoor.png", image, alpha);
}

int makeDesktopIcons(const std::string& outDir) {
    int failures = 0;
    for (const IconSize& size : kIconSizes) {
        failures += makeIcon(outDir, size);
    }
    return failures;
}
