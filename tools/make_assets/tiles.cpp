// The tile sheet (Tiles.png: snow, ice, rocks, grass, bushes, trees, editor markers) and the
// falling-snow sheet (Snow.png).
#include "assets.h"

#include <algorithm>
#include <cmath>

constexpr int kTile = 32;         // tile edge, pixels
constexpr int kSheetColumns = 64; // tiles per sheet row
constexpr int kSheetRows = 3;
constexpr double kPi = 3.14159265358979323846;

constexpr Colour kSnowBright = {246, 249, 255};
constexpr Colour kSnowMid = {228, 236, 248};
constexpr Colour kSnowShade = {204, 218, 238};
constexpr Colour kSnowDeep = {178, 196, 224};
constexpr Colour kShadowOnSnow = {188, 202, 226};
constexpr Colour kIce = {172, 222, 238};
constexpr Colour kIceDeep = {128, 190, 222};
constexpr Colour kIceGleam = {226, 246, 252};
constexpr Colour kRock = {128, 130, 138};
constexpr Colour kRockDark = {88, 90, 100};
constexpr Colour kRockLight = {168, 170, 178};
constexpr Colour kRockOutline = {48, 50, 60};
constexpr Colour kNeedles = {30, 78, 52};
constexpr Colour kNeedlesLight = {52, 108, 68};
constexpr Colour kNeedlesDark = {18, 50, 36};
constexpr Colour kTreeOutline = {12, 34, 26};
constexpr Colour kBark = {104, 70, 44};
constexpr Colour kBarkDark = {70, 46, 30};
// Grass is a warm yellow-green, far from the bushes' cold dark needles.
constexpr Colour kGrassDark = {78, 136, 30};
constexpr Colour kGrass = {120, 182, 40};
constexpr Colour kGrassLight = {168, 216, 62};
constexpr Colour kGrassTip = {212, 236, 120};
constexpr Colour kEarth = {112, 92, 56};
constexpr Colour kEarthDark = {82, 64, 40};
constexpr Colour kTwig = {96, 64, 40};

static int tileLeft(int id) { return ((id - 1) % kSheetColumns) * kTile; }
static int tileTop(int id) { return ((id - 1) / kSheetColumns) * kTile; }

// ---- Ground: snow and ice, both repeating every tile so that any neighbours join ----

static Colour snowAt(int x, int y) {
    double n = 0.6 * periodicNoise(x / 8.0, y / 8.0, 4, 11) + 0.4 * periodicNoise(x / 4.0, y / 4.0, 8, 12);
    double fine = periodicNoise(x / 2.0, y / 2.0, 16, 13);
    Colour c = mixColour(kSnowShade, kSnowBright, 0.25 + 0.9 * n);
    return mixColour(c, kSnowMid, fine * 0.35);
}

static Colour iceAt(int x, int y) {
    double n = periodicNoise(x / 8.0, y / 8.0, 4, 21);
    Colour c = mixColour(kIceDeep, kIce, 0.3 + 0.8 * n);
    // Streaks of frozen gleam running diagonally, repeating with the tile.
    double streak = std::sin(2 * kPi * (x + y) / 32.0 + 5 * periodicNoise(x / 8.0, y / 8.0, 4, 22));
    double patch = periodicNoise(x / 16.0, y / 16.0, 2, 23);
    if (streak > 0.96 && patch > 0.45) {
        c = mixColour(c, kIceGleam, 0.6);
    }
    return c;
}

static void paintGround(Image& sheet, int id) {
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            setPixel(sheet, tileLeft(id) + x, tileTop(id) + y, snowAt(x, y));
        }
    }
}

// 1 in the middle of a tile, falling to 0 towards its edges: keeps details off the seams.
static double interiorWeight(double x, double y) {
    double edge = std::min(std::min(x, kTile - x), std::min(y, kTile - y));
    return std::clamp((edge - 2.0) / 6.0, 0.0, 1.0);
}

static void paintSnowVariant(Image& sheet, int id) {
    paintGround(sheet, id);
    const int left = tileLeft(id);
    const int top = tileTop(id);
    Rng rng = {static_cast<uint32_t>(7000 + id)};
    auto shade = [&](int x, int y, Colour colour, double amount) {
        blendPixel(sheet, left + x, top + y, colour, amount * interiorWeight(x + 0.5, y + 0.5));
    };
    if (id == 2 || id == 7) {
        // A soft drift: a curved ridge, bright on its windward side, shaded behind.
        double tilt = id == 2 ? 0.35 : -0.3;
        for (int y = 0; y < kTile; ++y) {
            for (int x = 0; x < kTile; ++x) {
                double ridge = 16 + tilt * (x - 16) + 3.5 * std::sin((x - 4) * kPi / 24);
                double d = y + 0.5 - ridge;
                if (d > 0 && d < 6) {
                    shade(x, y, kSnowDeep, 0.55 * (1 - d / 6));
                } else if (d <= 0 && d > -3) {
                    shade(x, y, kSnowBright, 0.9);
                }
            }
        }
    } else if (id == 3 || id == 8) {
        // Wind ripples: thin wavy shade lines.
        int lines = id == 3 ? 4 : 2;
        for (int k = 0; k < lines; ++k) {
            double base = 7 + k * (18.0 / lines) + (id == 8 ? 4 : 0);
            for (int x = 0; x < kTile; ++x) {
                int y = static_cast<int>(std::lround(base + 1.6 * std::sin(x * 0.35 + k)));
                shade(x, y, kSnowShade, 0.9);
                shade(x, y + 1, kSnowDeep, 0.35);
                shade(x, y - 1, kSnowBright, 0.8);
            }
        }
    } else if (id == 4) {
        // A twig half sunk in the snow.
        drawLine(sheet, left + 9, top + 20, left + 23, top + 13, 1.4, kTwig);
        drawLine(sheet, left + 17, top + 16, left + 19, top + 10, 1.0, kTwig);
        drawLine(sheet, left + 13, top + 18, left + 12, top + 14, 1.0, kTwig);
        drawLine(sheet, left + 10, top + 21, left + 23, top + 14, 1.0, kShadowOnSnow);
    } else if (id == 5) {
        // Small pebbles with snow on their tops.
        const double pebbles[4][3] = {{11, 13, 2.2}, {19, 18, 1.8}, {14, 21, 1.5}, {22, 11, 1.3}};
        for (const auto& p : pebbles) {
            fillEllipse(sheet, left + p[0] + 0.6, top + p[1] + 0.8, p[2] + 0.4, p[2] * 0.8, kShadowOnSnow);
            fillEllipse(sheet, left + p[0], top + p[1], p[2], p[2] * 0.8, kRockDark);
            fillEllipse(sheet, left + p[0] - 0.3, top + p[1] - 0.5, p[2] * 0.7, p[2] * 0.45, kRockLight);
        }
    }
    if (id == 6 || id == 8) {
        // Sparkle: a few glints of frost.
        for (int k = 0; k < 7; ++k) {
            int x = randomInt(rng, 5, 26);
            int y = randomInt(rng, 5, 26);
            setPixel(sheet, left + x, top + y, {255, 255, 255});
            if (k % 2 == 0) {
                setPixel(sheet, left + x - 1, top + y, {236, 244, 255});
                setPixel(sheet, left + x + 1, top + y, {236, 244, 255});
                setPixel(sheet, left + x, top + y - 1, {236, 244, 255});
                setPixel(sheet, left + x, top + y + 1, {236, 244, 255});
            }
        }
        if (id == 6) {
            for (int y = 0; y < kTile; ++y) {
                for (int x = 0; x < kTile; ++x) {
                    double n = periodicNoise(x / 4.0, y / 4.0, 8, 61);
                    if (n > 0.78) {
                        shade(x, y, kSnowBright, 0.8);
                    }
                }
            }
        }
    }
}

// Depth of the snow bank over the ice along an edge, repeating with the tile. The bank is a thin
// lip: the whole edge cell blocks, so the ice reaches almost to where the snow begins.
static double bankDepth(double t) {
    return 2.4 + 0.7 * std::sin(2 * kPi * t / kTile) + 0.4 * std::sin(4 * kPi * t / kTile + 1.0);
}

// Ice tiles: 9 centre; 10-13 edges with snow on top, bottom, left, right; 14-17 the corners.
static void paintIce(Image& sheet, int id) {
    const bool snowTop = id == 10 || id == 14 || id == 15;
    const bool snowBottom = id == 11 || id == 16 || id == 17;
    const bool snowLeft = id == 12 || id == 14 || id == 16;
    const bool snowRight = id == 13 || id == 15 || id == 17;
    constexpr double kCornerRadius = 5.0;
    constexpr double kCornerInset = 2.4; // the bank's mean depth
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            double px = x + 0.5;
            double py = y + 0.5;
            // Distance into the ice from each snowy side (negative: under the snow).
            double inside = 99;
            if (snowTop)
                inside = std::min(inside, py - bankDepth(px));
            if (snowBottom)
                inside = std::min(inside, (kTile - py) - bankDepth(px));
            if (snowLeft)
                inside = std::min(inside, px - bankDepth(py));
            if (snowRight)
                inside = std::min(inside, (kTile - px) - bankDepth(py));
            if ((snowTop || snowBottom) && (snowLeft || snowRight)) {
                // Round the ice's corner.
                double cx = snowLeft ? kCornerInset + kCornerRadius : kTile - kCornerInset - kCornerRadius;
                double cy = snowTop ? kCornerInset + kCornerRadius : kTile - kCornerInset - kCornerRadius;
                bool inCornerBox = (snowLeft ? px < cx : px > cx) && (snowTop ? py < cy : py > cy);
                if (inCornerBox) {
                    inside = std::min(inside, kCornerRadius - std::hypot(px - cx, py - cy));
                }
            }
            Colour c;
            if (inside < 0) {
                c = snowAt(x, y);
                if (inside > -1.5) {
                    c = mixColour(c, kSnowBright, 0.8); // the bank's lit rim
                }
            } else {
                c = iceAt(x, y);
                if (inside < 2.5) {
                    c = mixColour(c, kIceDeep, 0.55 * (1 - inside / 2.5)); // the bank's shade on the ice
                }
            }
            setPixel(sheet, tileLeft(id) + x, tileTop(id) + y, c);
        }
    }
}

// ---- Objects on transparent ground ----

static void shadowEllipse(Image& sheet, double cx, double cy, double rx, double ry) {
    for (int y = static_cast<int>(cy - ry) - 1; y <= static_cast<int>(cy + ry) + 1; ++y) {
        for (int x = static_cast<int>(cx - rx) - 1; x <= static_cast<int>(cx + rx) + 1; ++x) {
            double dx = (x + 0.5 - cx) / rx;
            double dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0 && isMagenta(sheet, x, y)) {
                setPixel(sheet, x, y, kShadowOnSnow);
            }
        }
    }
}

// One stone of a rock tile, shaded from the upper left, with snow lying on its top.
static void paintStone(Image& sheet, double cx, double cy, double rx, double ry, double phase) {
    fillEllipse(sheet, cx, cy, rx, ry, kRock);
    fillEllipse(sheet, cx + rx * 0.25, cy + ry * 0.3, rx * 0.8, ry * 0.7, kRockDark);
    fillEllipse(sheet, cx - rx * 0.1, cy, rx * 0.75, ry * 0.65, kRock);
    fillEllipse(sheet, cx - rx * 0.35, cy - ry * 0.1, rx * 0.35, ry * 0.35, kRockLight);
    for (int y = static_cast<int>(cy - ry) - 1; y <= static_cast<int>(cy); ++y) {
        for (int x = static_cast<int>(cx - rx); x <= static_cast<int>(cx + rx); ++x) {
            double dx = (x + 0.5 - cx) / rx;
            double dy = (y + 0.5 - cy) / ry;
            double lineY = cy - ry * 0.3 + 1.5 * std::sin(x * 0.7 + phase);
            if (dx * dx + dy * dy <= 1.0 && y + 0.5 < lineY) {
                setPixel(sheet, x, y, (y + 0.5 > lineY - 1.2) ? kSnowShade : kSnowBright);
            }
        }
    }
}

// Rocks 18 (a pile of stones) and 19 (a boulder with two stones at its foot), each as wide and
// as deep as its cell, which blocks: the deer stops where the stone is seen.
static void paintRock(Image& sheet, int id) {
    const double l = tileLeft(id);
    const double t = tileTop(id);
    if (id == 19) {
        paintStone(sheet, l + 16, t + 16.5, 14.0, 12.0, 0.0);
        paintStone(sheet, l + 5.5, t + 26, 4.8, 3.6, 1.0);
        paintStone(sheet, l + 27, t + 27, 4.2, 3.2, 2.0);
    } else {
        paintStone(sheet, l + 16, t + 10, 7.5, 6.0, 0.5);
        paintStone(sheet, l + 8.5, t + 19, 7.5, 6.5, 1.5);
        paintStone(sheet, l + 23.5, t + 19.5, 7.0, 6.0, 2.5);
        paintStone(sheet, l + 15, t + 26, 7.0, 4.5, 3.5);
    }
    outlineShapes(sheet, static_cast<int>(l), static_cast<int>(t), kTile, kTile, kRockOutline);
    shadowEllipse(sheet, l + 16, t + 29.5, 16.5, 2.5);
}

// Grass tufts 21-39: clumps of thin spring-green blades standing up out of thawed earth, spread
// over the cell so that the eaten cell is plain to see. Spiky and yellow-green, they cannot be taken
// for the bushes' round, dark, snow-capped clumps.
static void paintGrass(Image& sheet, int id) {
    Image tile = makeImage(kTile, kTile, kMagenta); // blades leaning out of it are cut off at its edge
    Rng rng = {static_cast<uint32_t>(4100 + 37 * id)};
    // Where the tufts stand (their roots), over the middle of the cell; each tile leaves out one or two.
    constexpr int kSpots = 6;
    const double spots[kSpots][2] = {{10, 14}, {22, 12}, {15, 20}, {24, 22}, {9, 27}, {19, 28}};
    const int skipA = (id - 21) % kSpots;
    const int skipB = (id - 21) % 3 == 0 ? (skipA + 3) % kSpots : -1;
    struct Tuft {
        double x, y;
        int blades;
    };
    Tuft tufts[kSpots];
    int count = 0;
    for (int k = 0; k < kSpots; ++k) {
        if (k == skipA || k == skipB) {
            continue;
        }
        double x = spots[k][0] + randomRange(rng, -1.5, 1.5);
        double y = spots[k][1] + randomRange(rng, -1.0, 1.0);
        tufts[count++] = {x, y, randomInt(rng, 4, 5)};
    }
    for (int k = 0; k < count; ++k) {
        fillEllipse(tile, tufts[k].x, tufts[k].y + 0.3, 3.6, 1.5, kEarth);
    }
    outlineShapes(tile, 0, 0, kTile, kTile, kEarthDark);
    // Each blade fans out from the root, tall in the middle of the tuft and short at its sides,
    // with a dark edge on its right so that neighbouring blades stay apart.
    for (int k = 0; k < count; ++k) {
        const int n = tufts[k].blades;
        for (int b = 0; b < n; ++b) {
            double s = 2.0 * b / (n - 1) - 1; // -1 leftmost .. 1 rightmost
            double rootX = tufts[k].x + 3.0 * s;
            double lean = 3.0 * s + randomRange(rng, -0.6, 0.6);
            double height = (9.5 - 4.5 * s * s) * randomRange(rng, 0.85, 1.1);
            double tipX = rootX + lean;
            double tipY = tufts[k].y - height;
            drawLine(tile, rootX + 1, tufts[k].y, tipX + 1, tipY + 1, 1.0, kGrassDark);
            drawLine(tile, rootX, tufts[k].y, tipX, tipY, 1.0, b % 2 ? kGrass : kGrassLight);
            setPixel(tile, static_cast<int>(std::floor(tipX)), static_cast<int>(std::floor(tipY + 0.5)), kGrassTip);
        }
    }
    copyBlock(tile, 0, 0, kTile, kTile, sheet, tileLeft(id), tileTop(id));
}

// Bushes 40-43: round snow-laden shrubs the deer can hide behind.
static void paintBush(Image& sheet, int id) {
    const double l = tileLeft(id);
    const double t = tileTop(id);
    Rng rng = {static_cast<uint32_t>(900 + id)};
    struct Ball {
        double x, y, r;
    };
    Ball balls[6];
    int count = 4 + (id % 2) * 2;
    for (int k = 0; k < count; ++k) {
        double a = kPi * (k + 0.5) / count;
        balls[k] = {l + 16 - 7.5 * std::cos(a) + randomRange(rng, -1, 1),
                    t + 19 - 8.0 * std::sin(a) + randomRange(rng, -1, 1), randomRange(rng, 6.5, 8.5)};
    }
    shadowEllipse(sheet, l + 17, t + 25.5, 13, 3.5);
    for (int k = 0; k < count; ++k) {
        fillEllipse(sheet, balls[k].x, balls[k].y, balls[k].r, balls[k].r * 0.9, kNeedlesDark);
    }
    for (int k = 0; k < count; ++k) {
        fillEllipse(sheet, balls[k].x - 0.8, balls[k].y - 0.8, balls[k].r * 0.8, balls[k].r * 0.72, kNeedles);
        fillEllipse(sheet, balls[k].x - 2.0, balls[k].y - 1.5, balls[k].r * 0.35, balls[k].r * 0.3, kNeedlesLight);
    }
    for (int k = 0; k < count; ++k) {
        // Snow on the crown of each clump.
        double capY = balls[k].y - balls[k].r * 0.45;
        for (int y = static_cast<int>(balls[k].y - balls[k].r) - 1; y <= static_cast<int>(capY); ++y) {
            for (int x = static_cast<int>(balls[k].x - balls[k].r); x <= static_cast<int>(balls[k].x + balls[k].r);
                 ++x) {
                double dx = (x + 0.5 - balls[k].x) / balls[k].r;
                double dy = (y + 0.5 - balls[k].y) / (balls[k].r * 0.9);
                if (dx * dx + dy * dy <= 1.0 && y + 0.5 < capY + std::sin(x * 1.3) * 0.8) {
                    setPixel(sheet, x, y, y + 0.5 > capY - 1 ? kSnowShade : kSnowBright);
                }
            }
        }
    }
    if (id == 43) {
        const double berries[5][2] = {{10, 21}, {14, 24}, {19, 22}, {23, 19}, {16, 17}};
        for (const auto& b : berries) {
            fillRect(sheet, static_cast<int>(l + b[0]), static_cast<int>(t + b[1]), 2, 2, {196, 30, 40});
        }
    }
    outlineShapes(sheet, static_cast<int>(l), static_cast<int>(t), kTile, kTile, kTreeOutline);
}

// Small decorations 44-47: fallen twigs, cones, a broken branch, dry reeds.
static void paintDecoration(Image& sheet, int id) {
    const double l = tileLeft(id);
    const double t = tileTop(id);
    if (id == 44) {
        drawLine(sheet, l + 6, t + 22, l + 25, t + 18, 1.6, kTwig);
        drawLine(sheet, l + 13, t + 21, l + 16, t + 15, 1.1, kTwig);
        drawLine(sheet, l + 20, t + 19, l + 24, t + 23, 1.1, kTwig);
        drawLine(sheet, l + 9, t + 12, l + 18, t + 10, 1.2, kBarkDark);
    } else if (id == 45) {
        const double cones[3][2] = {{11, 17}, {19, 21}, {21, 13}};
        for (const auto& c : cones) {
            fillEllipse(sheet, l + c[0], t + c[1], 3.2, 2.0, {120, 78, 42});
            for (int k = -2; k <= 2; k += 2) {
                setPixel(sheet, static_cast<int>(l + c[0] + k), static_cast<int>(t + c[1]), {78, 48, 26});
            }
        }
    } else if (id == 46) {
        drawLine(sheet, l + 5, t + 24, l + 27, t + 14, 2.4, kBark);
        drawLine(sheet, l + 5, t + 23, l + 27, t + 13, 1.0, {140, 100, 66});
        drawLine(sheet, l + 16, t + 19, l + 20, t + 25, 1.2, kBarkDark);
        const double leaves[4][2] = {{9, 19}, {22, 12}, {24, 20}, {13, 25}};
        for (const auto& f : leaves) {
            fillEllipse(sheet, l + f[0], t + f[1], 1.8, 1.1, {168, 104, 50});
        }
    } else {
        for (int k = 0; k < 6; ++k) {
            double x = l + 10 + k * 2.3;
            drawLine(sheet, x, t + 25, x + (k - 2.5) * 1.2, t + 10 + (k % 3) * 3, 1.0,
                     k % 2 ? Colour{176, 150, 96} : Colour{140, 112, 70});
        }
    }
    outlineShapes(sheet, static_cast<int>(l), static_cast<int>(t), kTile, kTile, {60, 44, 32});
}

// A conifer drawn as stacked tiers of snowy branches on its own transparent canvas.
static void paintConifer(Image& canvas, double centreX, double topY, double baseY, double baseHalfWidth, int tiers,
                         uint32_t seed) {
    Rng rng = {seed};
    // Lowest tier first: each tier above hangs over the one below it.
    for (int k = tiers - 1; k >= 0; --k) {
        double f0 = static_cast<double>(k) / tiers;
        double f1 = static_cast<double>(k + 1) / tiers;
        double tierTop = topY + (baseY - topY) * f0 * 0.7;
        double tierBottom = topY + (baseY - topY) * f1;
        double half = baseHalfWidth * (0.25 + 0.75 * f1);
        // Drooping branch tips: a jagged lower edge.
        double xy[2 * 12];
        int n = 0;
        xy[n++] = centreX;
        xy[n++] = tierTop;
        const int teeth = 5;
        for (int i = 0; i <= teeth; ++i) {
            double s = static_cast<double>(i) / teeth;
            double x = centreX + half * (1 - 2 * s);
            double y = tierBottom - (i % 2 ? 2.5 : 0) - (1 - std::fabs(1 - 2 * s)) * 2.0 + randomRange(rng, -0.6, 0.6);
            xy[n++] = x;
            xy[n++] = y;
        }
        fillPolygon(canvas, xy, n / 2, kNeedles);
        // The lit left flank and the snow along the upper edges.
        for (int y = static_cast<int>(tierTop); y <= static_cast<int>(tierBottom) + 1; ++y) {
            for (int x = static_cast<int>(centreX - half) - 1; x <= static_cast<int>(centreX + half) + 1; ++x) {
                Colour c = getPixel(canvas, x, y);
                if (c.r != kNeedles.r || c.g != kNeedles.g || c.b != kNeedles.b) {
                    continue;
                }
                double across = (x + 0.5 - centreX) / half;                 // -1 left .. 1 right
                double down = (y + 0.5 - tierTop) / (tierBottom - tierTop); // 0 top .. 1 bottom
                double edge = std::fabs(across) - down;                     // near 0 along the slopes
                double wobble = 0.12 * std::sin(x * 1.7 + k);
                if (edge > -0.16 + wobble && down < 0.85) {
                    setPixel(canvas, x, y, edge > -0.08 + wobble ? kSnowBright : kSnowShade);
                } else if (down > 0.78) {
                    setPixel(canvas, x, y, kNeedlesDark);
                } else if (across < -0.25) {
                    setPixel(canvas, x, y, kNeedlesLight);
                }
            }
        }
    }
}

static void paintTrunk(Image& canvas, double centreX, double top, double bottom, double halfWidth) {
    double xy[] = {centreX - halfWidth,       top,    centreX + halfWidth,       top,
                   centreX + halfWidth * 1.3, bottom, centreX - halfWidth * 1.3, bottom};
    fillPolygon(canvas, xy, 4, kBark);
    for (int y = static_cast<int>(top); y < static_cast<int>(bottom); ++y) {
        setPixel(canvas, static_cast<int>(centreX + halfWidth * 0.4), y, kBarkDark);
        if (y % 5 == 0) {
            setPixel(canvas, static_cast<int>(centreX - halfWidth * 0.4), y, kBarkDark);
        }
    }
}

// Where a tree's trunk meets the snow inside its blocking cell, in the cell's own pixels.
struct TreeFoot {
    double trunkX;    // the trunk's middle
    double halfWidth; // the trunk's half width where the roots leave it
    double rootY;     // the row where the roots leave it
};

// The foot of a tree across the whole of its blocking cell (left, top on the canvas): the tree's
// shadow on the snow, as wide as the cell, and roots that spread from the trunk to the cell's sides
// and down its front, so that the deer stops where the tree is seen to stand. Feet side by side
// join up into one shaded bank.
static void paintTreeFoot(Image& canvas, int left, int top, const TreeFoot& foot, uint32_t seed) {
    Rng rng = {seed};
    const double shadowY = top + (foot.rootY + kTile) / 2;
    const double shadowRy = (kTile - foot.rootY) / 2 + 1.5;
    for (int y = top; y < top + kTile; ++y) {
        for (int x = left; x < left + kTile; ++x) {
            double dx = (x + 0.5 - left - kTile / 2) / (kTile / 2 + 0.5);
            double dy = (y + 0.5 - shadowY) / shadowRy;
            if (dx * dx + dy * dy <= 1.0 && isMagenta(canvas, x, y)) {
                setPixel(canvas, x, y, mixColour(snowAt(x - left, y - top), kSnowDeep, 0.7));
            }
        }
    }
    // Two long roots to the sides and a short one down the front: each arches a little, thins
    // towards its end and has snow lying on it.
    const struct {
        double side; // -1 left, 1 right, 0 the front
        double endX, endY, width;
    } roots[3] = {{-1, 0.5, foot.rootY + 6, 3.0}, {1, kTile - 0.5, foot.rootY + 7, 3.0}, {0, 13.5, kTile - 1.5, 2.4}};
    for (const auto& root : roots) {
        const double fromX = left + foot.trunkX + root.side * foot.halfWidth * 0.7 - (root.side == 0 ? 1 : 0);
        const double fromY = top + foot.rootY;
        const double toX = left + root.endX;
        const double toY = top + root.endY + randomRange(rng, -0.6, 0.6);
        constexpr int kPieces = 4;
        auto at = [&](double f, double* x, double* y) {
            *x = fromX + (toX - fromX) * f;
            *y = fromY + (toY - fromY) * f - 1.5 * std::sin(kPi * f);
        };
        for (int k = 0; k < kPieces; ++k) {
            double x0, y0, x1, y1;
            at(static_cast<double>(k) / kPieces, &x0, &y0);
            at(static_cast<double>(k + 1) / kPieces, &x1, &y1);
            drawLine(canvas, x0, y0, x1, y1, root.width * (1 - 0.55 * k / kPieces), kBarkDark);
            if (k < 2) {
                drawLine(canvas, x0, y0 - 0.7, x1, y1 - 0.7, 1.0, kBark); // the lit upper side
            }
        }
        double snowX, snowY;
        at(0.7, &snowX, &snowY);
        fillRect(canvas, static_cast<int>(snowX) - 1, static_cast<int>(snowY) - 1, 3, 1, kSnowBright);
    }
}

// Copies a block of a transparent canvas into the sheet cell of a tile id.
static void placeCanvas(const Image& canvas, int sx, int sy, Image& sheet, int id) {
    copyBlock(canvas, sx, sy, kTile, kTile, sheet, tileLeft(id), tileTop(id));
}

// The spruce: its top 56 over its base 48, which blocks and is drawn across its whole cell.
static void paintSpruce(Image& sheet) {
    Image canvas = makeImage(kTile, 2 * kTile, kMagenta);
    paintTrunk(canvas, 16, 44, 57, 2.4);
    paintConifer(canvas, 16, 3, 49, 15.5, 4, 5601);
    outlineShapes(canvas, 0, 0, kTile, 2 * kTile, kTreeOutline);
    paintTreeFoot(canvas, 0, kTile, {16, 2.8, 20}, 5602);
    placeCanvas(canvas, 0, 0, sheet, 56);
    placeCanvas(canvas, 0, kTile, sheet, 48);
}

// The big pine: a canopy of six tiles (57 58 59 over 60 61 62) and its trunk 49 below 61, which
// blocks and is drawn across its whole cell: a thick trunk flaring into roots over its shadow.
static void paintPine(Image& sheet) {
    Image canvas = makeImage(3 * kTile, 3 * kTile, kMagenta);
    paintTrunk(canvas, 48, 52, 86, 7.5);
    // The trunk flares into its roots.
    const double flare[] = {39.5, 72, 56.5, 72, 60, 85, 36, 85};
    fillPolygon(canvas, flare, 4, kBark);
    drawLine(canvas, 40, 74, 37, 84, 1.0, kBarkDark);
    drawLine(canvas, 56, 74, 59, 84, 1.0, kBarkDark);
    paintConifer(canvas, 48, 2, 62, 45, 5, 5701);
    // Nothing may hang below the canopy rows outside the trunk's column.
    for (int y = 2 * kTile; y < 3 * kTile; ++y) {
        for (int x = 0; x < 3 * kTile; ++x) {
            if (x < kTile || x >= 2 * kTile) {
                setPixel(canvas, x, y, kMagenta);
            }
        }
    }
    outlineShapes(canvas, 0, 0, 3 * kTile, 3 * kTile, kTreeOutline);
    paintTreeFoot(canvas, kTile, 2 * kTile, {16, 11, 19}, 5702);
    const int canopy[6] = {57, 58, 59, 60, 61, 62};
    for (int k = 0; k < 6; ++k) {
        placeCanvas(canvas, (k % 3) * kTile, (k / 3) * kTile, sheet, canopy[k]);
    }
    placeCanvas(canvas, kTile, 2 * kTile, sheet, 49);
}

// Editor markers: flat squares that no one could mistake for scenery.
static void paintMarker(Image& sheet, int id, Colour fill, const char* label) {
    const int l = tileLeft(id);
    const int t = tileTop(id);
    fillRect(sheet, l, t, kTile, kTile, {20, 20, 20});
    fillRect(sheet, l + 1, t + 1, kTile - 2, kTile - 2, fill);
    TextStyle style = {3.0, {255, 255, 255}, {255, 255, 255}, {20, 20, 20}, 1.0, 0.0, 0.0};
    int width = measureText(label, style);
    drawText(sheet, l + (kTile - width) / 2, t + 6, label, style);
}

static int makeTileSheet(const std::string& outDir) {
    Image sheet = makeImage(kSheetColumns * kTile, kSheetRows * kTile, kMagenta);
    paintGround(sheet, 1);
    for (int id = 2; id <= 8; ++id) {
        paintSnowVariant(sheet, id);
    }
    for (int id = 9; id <= 17; ++id) {
        paintIce(sheet, id);
    }
    paintRock(sheet, 18);
    paintRock(sheet, 19);
    for (int id = 21; id <= 39; ++id) {
        paintGrass(sheet, id);
    }
    for (int id = 40; id <= 43; ++id) {
        paintBush(sheet, id);
    }
    for (int id = 44; id <= 47; ++id) {
        paintDecoration(sheet, id);
    }
    paintSpruce(sheet);
    paintPine(sheet);
    paintMarker(sheet, 20, {255, 136, 0}, "D");
    paintMarker(sheet, 84, {214, 20, 24}, "H");
    // The crosshair around the hunting spot's letter.
    for (int k = 0; k < 4; ++k) {
        int l = tileLeft(84);
        int t = tileTop(84);
        fillRect(sheet,
                 l + (k == 0   ? 2
                      : k == 1 ? 26
                               : 15),
                 t + (k == 2   ? 2
                      : k == 3 ? 26
                               : 15),
                 k < 2 ? 4 : 2, k < 2 ? 2 : 4, {255, 255, 255});
    }
    paintMarker(sheet, 113, {36, 88, 220}, "1");
    paintMarker(sheet, 114, {30, 150, 60}, "2");
    paintMarker(sheet, 115, {150, 52, 190}, "3");
    paintMarker(sheet, 116, {220, 120, 20}, "4");
    return writePng(outDir + "Tiles.png", sheet);
}

// ---- Falling snow ----

constexpr int kSnowPeriod = 512; // the sheet repeats every 512 pixels across
constexpr int kSnowRowHeight = 64;
constexpr int kSnowWidth = kSnowPeriod + 64;
constexpr int kSnowBlock = 32; // the game's phases step 32 pixels: flakes never straddle a block

static void paintFlakes(Image& sheet, int row, int count, uint32_t seed) {
    Image band = makeImage(kSnowPeriod, kSnowRowHeight, kMagenta);
    Rng rng = {seed};
    for (int k = 0; k < count; ++k) {
        int size = randomInt(rng, 0, 9);
        size = size < 5 ? 1 : (size < 8 ? 2 : 3);
        int block = randomInt(rng, 0, kSnowPeriod / kSnowBlock - 1);
        int x = block * kSnowBlock + randomInt(rng, 2, kSnowBlock - 3 - size);
        int y = randomInt(rng, 0, kSnowRowHeight - 1);
        auto put = [&](int dx, int dy, Colour c) {
            setPixel(band, x + dx, (y + dy + kSnowRowHeight) % kSnowRowHeight, c);
        };
        if (size == 1) {
            put(0, 0, {244, 248, 255});
        } else if (size == 2) {
            put(0, 0, {255, 255, 255});
            put(1, 0, {226, 236, 250});
            put(0, 1, {226, 236, 250});
            put(1, 1, {210, 224, 244});
        } else {
            put(1, 1, {255, 255, 255});
            put(0, 1, {230, 238, 252});
            put(2, 1, {230, 238, 252});
            put(1, 0, {230, 238, 252});
            put(1, 2, {230, 238, 252});
        }
    }
    for (int y = 0; y < kSnowRowHeight; ++y) {
        for (int x = 0; x < kSnowWidth; ++x) {
            setPixel(sheet, x, row * kSnowRowHeight + y, getPixel(band, x % kSnowPeriod, y));
        }
    }
}

static int makeSnowSheet(const std::string& outDir) {
    Image sheet = makeImage(kSnowWidth, 2 * kSnowRowHeight, kMagenta);
    paintFlakes(sheet, 0, 40, 8101);  // light snowfall
    paintFlakes(sheet, 1, 110, 8102); // the snowfall the game shows
    return writePng(outDir + "Snow.png", sheet);
}

int makeTiles(const std::string& outDir) { return makeTileSheet(outDir) + makeSnowSheet(outDir); }
