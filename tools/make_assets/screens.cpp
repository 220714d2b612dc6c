// The full-screen pictures (Title.png, GameOver.png, Win.png) and the font sheet (Font.png).
#include "assets.h"

#include <algorithm>
#include <cmath>

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr double kPi = 3.14159265358979323846;

// ---- Scenery helpers ----

// A soft tapered stroke from (x0, y0), width w0, to (x1, y1), width w1, with round ends.
static void softStroke(Image& image, double x0, double y0, double x1, double y1, double w0, double w1, Colour colour) {
    double dx = x1 - x0;
    double dy = y1 - y0;
    double length = std::max(1e-6, std::hypot(dx, dy));
    double nx = -dy / length;
    double ny = dx / length;
    double quad[] = {x0 + nx * w0 / 2, y0 + ny * w0 / 2, x1 + nx * w1 / 2, y1 + ny * w1 / 2,
                     x1 - nx * w1 / 2, y1 - ny * w1 / 2, x0 - nx * w0 / 2, y0 - ny * w0 / 2};
    softPolygon(image, quad, 4, colour, 1.0);
    softEllipse(image, x1, y1, w1 / 2, w1 / 2, colour, 1.0);
}

// Fills the whole picture: from top to bottom the colour runs from one to the other, then stays.
static void verticalGradient(Image& image, int top, int bottom, Colour from, Colour to) {
    for (int y = 0; y < image.height; ++y) {
        Colour c = mixColour(from, to, static_cast<double>(y - top) / std::max(1, bottom - top - 1));
        for (int x = 0; x < image.width; ++x) {
            setPixel(image, x, y, c);
        }
    }
}

// Layers of faint light around a bright body (moon, sun).
static void glow(Image& image, double cx, double cy, double radius, Colour colour, double strength) {
    const double reach = radius * 4;
    for (int y = std::max(0, static_cast<int>(cy - reach)); y < std::min(image.height, static_cast<int>(cy + reach));
         ++y) {
        for (int x = std::max(0, static_cast<int>(cx - reach)); x < std::min(image.width, static_cast<int>(cx + reach));
             ++x) {
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d > radius * 0.9 && d < reach) {
                blendPixel(image, x, y, colour, strength * std::exp(-(d - radius) / (radius * 0.7)) * (1 - d / reach));
            }
        }
    }
}

// Height of a rolling ridge at x: base plus a few slow waves.
static double ridge(double x, double base, double amplitude, double seed) {
    return base - amplitude * (0.55 * std::sin(x / 130.0 + seed) + 0.3 * std::sin(x / 57.0 + 2.1 * seed) +
                               0.15 * std::sin(x / 23.0 + 3.7 * seed));
}

// Fills everything below a ridge line from its height down to bottom, shaded top to bottom.
static void fillHills(Image& image, double base, double amplitude, double seed, Colour top, Colour bottom,
                      int bottomY) {
    for (int x = 0; x < image.width; ++x) {
        double h = ridge(x, base, amplitude, seed);
        for (int y = static_cast<int>(std::floor(h)); y < bottomY; ++y) {
            double cover = std::clamp(y + 1 - h, 0.0, 1.0);
            blendPixel(image, x, y, mixColour(top, bottom, (y - h) / std::max(1.0, bottomY - h)), cover);
        }
    }
}

// A spruce silhouette standing on (x, baseY), soft-edged, of the given height.
static void spruceSilhouette(Image& image, double x, double baseY, double height, Colour colour, Colour snow) {
    const int tiers = 5;
    double trunk[] = {x - height * 0.03,  baseY - height * 0.12,
                      x + height * 0.03,  baseY - height * 0.12,
                      x + height * 0.035, baseY,
                      x - height * 0.035, baseY};
    softPolygon(image, trunk, 4, colour, 1.0);
    for (int k = tiers - 1; k >= 0; --k) {
        double f0 = static_cast<double>(k) / tiers;
        double f1 = static_cast<double>(k + 1) / tiers;
        double top = baseY - height + height * 0.88 * f0 * 0.75;
        double bottom = baseY - height + height * 0.88 * f1;
        double half = height * 0.2 * (0.25 + 0.75 * f1);
        double tier[] = {x,
                         top,
                         x + half,
                         bottom,
                         x + half * 0.3,
                         bottom - height * 0.025,
                         x - half * 0.3,
                         bottom - height * 0.025,
                         x - half,
                         bottom};
        softPolygon(image, tier, 5, colour, 1.0);
        double cap[] = {x,
                        top,
                        x + half * 0.55,
                        top + (bottom - top) * 0.5,
                        x,
                        top + (bottom - top) * 0.3,
                        x - half * 0.75,
                        top + (bottom - top) * 0.62};
        softPolygon(image, cap, 4, snow, 0.55);
    }
}

static void scatterStars(Image& image, int count, int maxY, uint32_t seed) {
    Rng rng = {seed};
    for (int k = 0; k < count; ++k) {
        int x = randomInt(rng, 0, image.width - 1);
        int y = randomInt(rng, 0, maxY);
        double bright = randomRange(rng, 0.25, 1.0);
        blendPixel(image, x, y, {255, 255, 240}, bright);
        if (bright > 0.9) {
            blendPixel(image, x + 1, y, {220, 230, 255}, 0.4);
            blendPixel(image, x - 1, y, {220, 230, 255}, 0.4);
            blendPixel(image, x, y + 1, {220, 230, 255}, 0.4);
            blendPixel(image, x, y - 1, {220, 230, 255}, 0.4);
        }
    }
}

static void scatterFlakes(Image& image, int count, Colour colour, uint32_t seed) {
    Rng rng = {seed};
    for (int k = 0; k < count; ++k) {
        double x = randomRange(rng, 0, image.width);
        double y = randomRange(rng, 0, image.height);
        double r = randomRange(rng, 0.7, 2.2);
        softEllipse(image, x, y, r, r, colour, randomRange(rng, 0.45, 0.9));
    }
}

// Draws a sprite cell scaled up, pixel for pixel, skipping its magenta.
static void pasteSprite(Image& image, const Image& cell, int left, int top, int scale, double shade) {
    for (int y = 0; y < cell.height; ++y) {
        for (int x = 0; x < cell.width; ++x) {
            if (isMagenta(cell, x, y)) {
                continue;
            }
            Colour c = scaleColour(getPixel(cell, x, y), shade);
            fillRect(image, left + x * scale, top + y * scale, scale, scale, c);
        }
    }
}

// ---- Title ----

constexpr int kMenuLeft = 135; // the program draws its selection frame around these
constexpr int kMenuWidth = 190;
constexpr int kMenuHeight = 50;
constexpr int kMenuTops[3] = {223, 285, 347};
constexpr int kHintTop = 575; // the key hint's strip at the bottom

static int makeTitle(const std::string& outDir) {
    Image image = makeImage(kScreenWidth, kScreenHeight, {0, 0, 0});
    verticalGradient(image, 0, 430, {6, 10, 34}, {44, 66, 118});
    scatterStars(image, 260, 380, 3101);
    // A faint green veil of northern light.
    for (int x = 0; x < kScreenWidth; ++x) {
        double centre = 150 + 40 * std::sin(x / 110.0) + 15 * std::sin(x / 37.0);
        double strength = 0.10 + 0.08 * std::sin(x / 70.0 + 1.0);
        for (int y = static_cast<int>(centre) - 60; y < static_cast<int>(centre) + 30; ++y) {
            double d = (y - centre) / (y < centre ? 60.0 : 30.0);
            blendPixel(image, x, y, {90, 220, 170}, strength * (1 - d * d));
        }
    }
    glow(image, 660, 118, 40, {190, 210, 255}, 0.35);
    softEllipse(image, 660, 118, 40, 40, {238, 240, 226}, 1.0);
    softEllipse(image, 648, 106, 8, 7, {214, 216, 204}, 0.8);
    softEllipse(image, 674, 132, 11, 9, {220, 222, 208}, 0.7);
    softEllipse(image, 672, 100, 5, 5, {218, 220, 206}, 0.7);

    // Far ridge with a fringe of tiny spruces, a nearer ridge, the moonlit foreground.
    fillHills(image, 410, 26, 0.7, {78, 100, 150}, {58, 76, 122}, kScreenHeight);
    for (int k = 0; k < 42; ++k) {
        double x = 10 + k * 19.0 + 7 * std::sin(k * 2.3);
        spruceSilhouette(image, x, ridge(x, 410, 26, 0.7) + 4, 22 + 10 * std::fabs(std::sin(k * 1.7)), {20, 30, 54},
                         {90, 110, 150});
    }
    fillHills(image, 468, 30, 2.9, {132, 156, 204}, {92, 114, 164}, kScreenHeight);
    const double midTrees[] = {440, 470, 500, 720, 748, 775};
    for (double x : midTrees) {
        spruceSilhouette(image, x, ridge(x, 468, 30, 2.9) + 6, 60 + 20 * std::fabs(std::sin(x)), {16, 30, 44},
                         {150, 172, 214});
    }
    // The deer on the near slope, looking out over the valley.
    pasteSprite(image, drawDeerCell(0, 0), 560, ridge(600, 468, 30, 2.9) - 90, 3, 0.72);
    fillHills(image, 535, 14, 5.3, {160, 182, 224}, {60, 74, 112}, kScreenHeight);
    // Tall dark spruces framing the left and right.
    spruceSilhouette(image, 40, 610, 330, {10, 20, 30}, {120, 140, 180});
    spruceSilhouette(image, 105, 620, 240, {12, 24, 34}, {120, 140, 180});
    spruceSilhouette(image, 770, 615, 300, {10, 20, 30}, {120, 140, 180});
    scatterFlakes(image, 220, {240, 246, 255}, 3102);
    // The hint strip: darkened so that the light key hint reads over it.
    for (int y = kHintTop - 30; y < kScreenHeight; ++y) {
        double t = std::clamp((y - (kHintTop - 30)) / 30.0, 0.0, 1.0);
        for (int x = 0; x < kScreenWidth; ++x) {
            blendPixel(image, x, y, {10, 14, 30}, 0.82 * t);
        }
    }

    TextStyle title = {11.0, {246, 250, 255}, {150, 190, 240}, {10, 18, 48}, 4.0, 6.0, 0.38};
    drawTextCentred(image, 400, 44, "Velmoor", title);
    TextStyle subtitle = {2.0, {200, 220, 250}, {170, 195, 235}, {10, 18, 48}, 1.5, 0.0, 0.0};
    drawTextCentred(image, 400, 140, "A deer's long winter", subtitle);

    TextStyle label = {2.0, {255, 255, 255}, {214, 228, 250}, {8, 14, 40}, 1.5, 2.0, 0.0};
    const char* labels[3] = {"Start a game", "Settings", "Quit"};
    for (int k = 0; k < 3; ++k) {
        // A dark plate inside the frame, leaving the frame's own pixels on the plain sky.
        for (int y = kMenuTops[k] + 4; y < kMenuTops[k] + kMenuHeight - 4; ++y) {
            for (int x = kMenuLeft + 4; x < kMenuLeft + kMenuWidth - 4; ++x) {
                blendPixel(image, x, y, {8, 14, 38}, 0.55);
            }
        }
        drawTextCentred(image, kMenuLeft + kMenuWidth / 2.0, kMenuTops[k] + 18, labels[k], label);
    }
    return writePng(outDir + "Title.png", image);
}

// ---- Death ----

static void drawAntler(Image& image, double x, double y, double scale, Colour colour) {
    // A shed antler lying on its side: a curved beam, its tines pointing up and forward.
    auto beam = [&](double t, double* bx, double* by) {
        *bx = x + scale * t;
        *by = y - scale * 0.22 * std::sin(t * kPi * 0.8) + scale * 0.06 * t * t;
    };
    const int steps = 24;
    for (int k = 0; k < steps; ++k) {
        double ax, ay, bx, by;
        beam(static_cast<double>(k) / steps, &ax, &ay);
        beam(static_cast<double>(k + 1) / steps, &bx, &by);
        softStroke(image, ax, ay, bx, by, scale * (0.07 - 0.035 * k / steps), scale * (0.07 - 0.035 * (k + 1) / steps),
                   colour);
    }
    softEllipse(image, x, y + scale * 0.01, scale * 0.06, scale * 0.05, colour, 1.0); // the burr
    const double tines[4][3] = {{0.12, 0.30, -0.08}, {0.42, 0.36, 0.04}, {0.68, 0.30, 0.12}, {0.88, 0.20, 0.16}};
    for (const auto& tine : tines) {
        double bx, by;
        beam(tine[0], &bx, &by);
        double tx = bx + scale * tine[2];
        double ty = by - scale * tine[1];
        double mx = bx + scale * tine[2] * 0.3;
        double my = by - scale * tine[1] * 0.6;
        softStroke(image, bx, by, mx, my, scale * 0.045, scale * 0.032, colour);
        softStroke(image, mx, my, tx, ty, scale * 0.032, scale * 0.012, colour);
    }
}

static void bareTree(Image& image, double x, double baseY, double height, Colour colour, uint32_t seed) {
    Rng rng = {seed};
    struct Branch {
        double x, y, angle, length, width;
    };
    Branch stack[64];
    int count = 0;
    stack[count++] = {x, baseY, -kPi / 2, height * 0.45, height * 0.05};
    while (count > 0) {
        Branch b = stack[--count];
        double ex = b.x + b.length * std::cos(b.angle);
        double ey = b.y + b.length * std::sin(b.angle);
        softStroke(image, b.x, b.y, ex, ey, b.width, b.width * 0.65, colour);
        if (b.length > height * 0.06 && count < 60) {
            stack[count++] = {ex, ey, b.angle - randomRange(rng, 0.3, 0.6), b.length * randomRange(rng, 0.6, 0.75),
                              b.width * 0.65};
            stack[count++] = {ex, ey, b.angle + randomRange(rng, 0.3, 0.6), b.length * randomRange(rng, 0.6, 0.75),
                              b.width * 0.65};
        }
    }
}

static int makeGameOver(const std::string& outDir) {
    Image image = makeImage(kScreenWidth, kScreenHeight, {0, 0, 0});
    verticalGradient(image, 0, 400, {26, 8, 14}, {128, 44, 38});
    glow(image, 560, 392, 58, {200, 70, 40}, 0.35);
    softEllipse(image, 560, 392, 58, 58, {196, 70, 44}, 0.9);
    // Low banks of cloud across the dusk.
    for (int k = 0; k < 6; ++k) {
        double y = 250 + k * 26;
        for (int x = 0; x < kScreenWidth; x += 4) {
            double thick = 5 + 4 * std::sin(x / 60.0 + k * 1.3);
            softEllipse(image, x, y + 6 * std::sin(x / 90.0 + k), 14, thick, {60, 26, 32}, 0.12);
        }
    }
    fillHills(image, 405, 18, 1.9, {74, 68, 76}, {56, 50, 58}, kScreenHeight);
    bareTree(image, 130, ridge(130, 405, 18, 1.9) + 4, 170, {22, 14, 18}, 31);
    bareTree(image, 690, ridge(690, 405, 18, 1.9) + 4, 120, {24, 16, 20}, 32);
    fillHills(image, 470, 12, 4.1, {98, 92, 100}, {40, 36, 44}, kScreenHeight);
    // The shed antler on the trampled snow, and the last red marks beside it.
    softEllipse(image, 420, 520, 190, 26, {34, 30, 38}, 0.5);
    drawAntler(image, 280, 520, 270, {30, 20, 22});
    const double drops[7][3] = {{250, 540, 6}, {232, 552, 4}, {560, 530, 5},  {585, 545, 3},
                                {600, 525, 4}, {215, 530, 3}, {610, 556, 2.5}};
    for (const auto& d : drops) {
        softEllipse(image, d[0], d[1], d[2] * 1.6, d[2] * 0.7, {120, 12, 16}, 0.9);
    }
    scatterFlakes(image, 140, {170, 160, 168}, 3201);
    TextStyle title = {7.0, {236, 214, 206}, {186, 106, 96}, {22, 4, 8}, 3.0, 5.0, 0.38};
    drawTextCentred(image, 400, 80, "The hunt is over", title);
    TextStyle line = {2.0, {214, 190, 186}, {180, 150, 146}, {22, 4, 8}, 1.5, 0.0, 0.0};
    drawTextCentred(image, 400, 160, "The hunter found you in the snow.", line);
    drawTextCentred(image, 400, 566, "Press any key", line);
    return writePng(outDir + "GameOver.png", image);
}

// ---- Victory ----

static int makeWin(const std::string& outDir) {
    Image image = makeImage(kScreenWidth, kScreenHeight, {0, 0, 0});
    verticalGradient(image, 0, 360, {96, 168, 236}, {206, 232, 250});
    glow(image, 130, 110, 46, {255, 250, 200}, 0.45);
    softEllipse(image, 130, 110, 46, 46, {255, 248, 214}, 1.0);
    const double clouds[4][3] = {{420, 90, 1.0}, {560, 150, 0.8}, {700, 70, 1.2}, {300, 200, 0.6}};
    for (const auto& c : clouds) {
        for (int k = 0; k < 5; ++k) {
            softEllipse(image, c[0] + (k - 2) * 28 * c[2], c[1] - (k % 2) * 12 * c[2], 34 * c[2], 20 * c[2],
                        {255, 255, 255}, 0.85);
        }
    }
    fillHills(image, 372, 26, 1.3, {136, 188, 112}, {112, 168, 92}, kScreenHeight);
    // The last snow lingering on the far hills.
    Rng rng = {3301};
    for (int k = 0; k < 24; ++k) {
        double x = randomRange(rng, 0, kScreenWidth);
        double y = ridge(x, 372, 26, 1.3) + randomRange(rng, 8, 40);
        double width = randomRange(rng, 10, 30); // one draw per statement: argument order is the compiler's
        double height = randomRange(rng, 3, 6);
        softEllipse(image, x, y, width, height, {236, 244, 250}, 0.9);
    }
    fillHills(image, 440, 20, 3.7, {112, 184, 70}, {62, 140, 40}, kScreenHeight);
    // Melting snow patches and the first flowers on the meadow.
    for (int k = 0; k < 18; ++k) {
        double x = randomRange(rng, 0, kScreenWidth);
        double y = randomRange(rng, 470, 590);
        double rx = randomRange(rng, 18, 60);
        softEllipse(image, x + 3, y + 3, rx, rx * 0.22, {70, 120, 50}, 0.5);
        softEllipse(image, x, y, rx, rx * 0.22, {238, 246, 252}, 1.0);
    }
    const Colour petals[4] = {{255, 236, 80}, {255, 255, 255}, {196, 140, 230}, {255, 170, 200}};
    for (int k = 0; k < 160; ++k) {
        double x = randomRange(rng, 0, kScreenWidth);
        double y = randomRange(rng, 455, 598);
        double r = 1.2 + (y - 450) / 90.0;
        softEllipse(image, x, y, r, r, petals[k % 4], 1.0);
    }
    for (int k = 0; k < 500; ++k) {
        double x = randomRange(rng, 0, kScreenWidth);
        double y = randomRange(rng, 450, 600);
        double h = 3 + (y - 450) / 25.0;
        double blade[] = {x - 1, y, x + 1, y, x + randomRange(rng, -2, 2), y - h};
        softPolygon(image, blade, 3, k % 2 ? Colour{60, 140, 40} : Colour{140, 210, 80}, 0.9);
    }
    pasteSprite(image, drawDeerCell(7, 0), 470, 378, 4, 1.0);
    TextStyle title = {7.0, {255, 252, 224}, {255, 196, 80}, {54, 88, 28}, 3.0, 5.0, 0.38};
    drawTextCentred(image, 400, 190, "Spring has come", title);
    TextStyle sub = {4.0, {255, 255, 240}, {236, 246, 200}, {54, 88, 28}, 2.0, 3.0, 0.3};
    drawTextCentred(image, 400, 260, "you survived", sub);
    TextStyle line = {2.0, {255, 255, 255}, {230, 240, 220}, {40, 70, 20}, 1.5, 0.0, 0.0};
    drawTextCentred(image, 400, 570, "Press any key", line);
    return writePng(outDir + "Win.png", image);
}

// ---- Font sheet ----

constexpr int kCellWidth = 10; // glyph cell in the sheet
constexpr int kCellHeight = 15;
constexpr int kStyleRows = 6;
constexpr int kStyles = 5;
// Screen pixels per glyph grid column and row: the 5 x 9 drawing grid becomes 8 x 13 pixels,
// thick on the lines where strokes usually run.
constexpr int kColumnWidths[kGlyphColumns] = {2, 1, 2, 1, 2};
constexpr int kRowHeights[kGlyphRows] = {2, 1, 2, 1, 2, 1, 2, 1, 1};

struct FontStyle {
    Colour fill;
    Colour lower;   // the glyph's lower half, for a slight sheen
    Colour outline; // drawn around the glyph when hasOutline
    bool hasOutline;
    bool hasShadow; // a shadow one pixel down and right, in the outline colour
};

static const FontStyle kFontStyles[kStyles] = {
    {{236, 242, 255}, {200, 218, 250}, {0, 0, 0}, false, false},   // 0: on the black settings screen
    {{255, 226, 96}, {236, 180, 50}, {70, 40, 10}, false, true},   // 1: gold
    {{188, 192, 202}, {160, 164, 176}, {40, 42, 50}, false, true}, // 2: grey
    {{22, 24, 32}, {22, 24, 32}, {0, 0, 0}, false, false},         // 3: on the white tutorial boxes
    {{255, 255, 255}, {226, 234, 250}, {12, 18, 44}, true, false}, // 4: over the title picture
};

static void drawFontGlyph(Image& sheet, int left, int top, char character, const FontStyle& style) {
    const char* const* rows = findGlyphRows(character);
    if (!rows) {
        return;
    }
    Image cell = makeImage(kCellWidth, kCellHeight, kMagenta);
    int y = 1;
    for (int r = 0; r < kGlyphRows; ++r) {
        int x = 1;
        for (int c = 0; c < kGlyphColumns; ++c) {
            if (rows[r] && rows[r][c] == '#') {
                fillRect(cell, x, y, kColumnWidths[c], kRowHeights[r], r < 4 ? style.fill : style.lower);
            }
            x += kColumnWidths[c];
        }
        y += kRowHeights[r];
    }
    if (style.hasShadow) {
        Image shaded = cell;
        for (int j = 1; j < kCellHeight; ++j) {
            for (int i = 1; i < kCellWidth; ++i) {
                if (isMagenta(cell, i, j) && !isMagenta(cell, i - 1, j - 1)) {
                    setPixel(shaded, i, j, style.outline);
                }
            }
        }
        cell = shaded;
    }
    if (style.hasOutline) {
        // An eight-way outline, so that the light glyph reads over any part of a picture.
        Image grown = cell;
        for (int j = 0; j < kCellHeight; ++j) {
            for (int i = 0; i < kCellWidth; ++i) {
                if (!isMagenta(cell, i, j)) {
                    continue;
                }
                bool near = false;
                for (int dj = -1; dj <= 1; ++dj) {
                    for (int di = -1; di <= 1; ++di) {
                        near = near || !isMagenta(cell, i + di, j + dj);
                    }
                }
                if (near) {
                    setPixel(grown, i, j, style.outline);
                }
            }
        }
        cell = grown;
    }
    copyBlock(cell, 0, 0, kCellWidth, kCellHeight, sheet, left, top);
}

static int makeFont(const std::string& outDir) {
    Image sheet = makeImage(16 * kCellWidth, kStyles * kStyleRows * kCellHeight, kMagenta);
    for (int s = 0; s < kStyles; ++s) {
        for (int code = 33; code < 127; ++code) {
            int row = 0;
            int column = 0;
            if (findFontCell(static_cast<char>(code), &row, &column)) {
                drawFontGlyph(sheet, column * kCellWidth, (s * kStyleRows + row) * kCellHeight, static_cast<char>(code),
                              kFontStyles[s]);
            }
        }
    }
    return writePng(outDir + "Font.png", sheet);
}

int makeScreens(const std::string& outDir) {
    return makeTitle(outDir) + makeGameOver(outDir) + makeWin(outDir) + makeFont(outDir);
}
