// The sprite sheets: the deer (Deer.png), the hunter (Hunter.png) and the smell icons (Icon.png).
#include "assets.h"

#include <cmath>

constexpr int kCell = 32; // sprite cell, pixels
constexpr double kPi = 3.14159265358979323846;

// ---- Deer ----

constexpr int kDeerColumns = 9; // 0 stand, 1-3 walk, 4-6 eat, 7-8 smell
constexpr int kDeerRows = 4;    // facing right, up, left, down

constexpr Colour kDeerOutline = {48, 30, 20};
constexpr Colour kDeerBody = {152, 96, 56};
constexpr Colour kDeerShade = {118, 72, 42};
constexpr Colour kDeerFarLeg = {104, 64, 38};
constexpr Colour kDeerBelly = {208, 172, 128};
constexpr Colour kDeerHead = {166, 110, 66};
constexpr Colour kDeerMuzzle = {220, 192, 152};
constexpr Colour kDeerDark = {28, 18, 14};
constexpr Colour kAntler = {226, 208, 170};
constexpr Colour kDeerWhite = {242, 238, 228};
constexpr Colour kSnowShadow = {186, 200, 222}; // shade cast on the snow under a figure

struct HeadPose {
    double x; // head centre in the cell
    double y;
    double dx; // unit vector from the head to the nose
    double dy;
};

// Head poses for the side view (facing right) by sheet column.
static HeadPose sideHeadPose(int column) {
    switch (column) {
    case 4: return {26.5, 13.5, 0.8, 0.6};
    case 5: return {27.0, 19.0, 0.45, 0.89};
    case 6: return {26.0, 24.5, 0.2, 0.98};
    case 7: return {25.5, 7.5, 0.89, -0.45};
    case 8: return {25.5, 6.0, 0.6, -0.8};
    default: return {25.0, 9.0, 0.96, 0.28};
    }
}

// Stride of the walking columns: -1..1, how far the near legs reach forward.
static double walkSwing(int column) {
    if (column < 1 || column > 3) {
        return 0.0;
    }
    return std::sin(2 * kPi * (column - 1) / 3.0 + kPi / 2);
}

static void drawAntlers(Image& cell, double baseX, double baseY, double alongX, double alongY, double upX, double upY) {
    // Beam and tines given along the head (a) and up from it (b).
    auto at = [&](double a, double b, double* x, double* y) {
        *x = baseX + a * alongX + b * upX;
        *y = baseY + a * alongY + b * upY;
    };
    double x0, y0, x1, y1, x2, y2, x3, y3;
    at(0, 0, &x0, &y0);
    at(-1.5, 3.0, &x1, &y1);
    at(-3.5, 6.0, &x2, &y2);
    drawLine(cell, x0, y0, x1, y1, 1.3, kAntler);
    drawLine(cell, x1, y1, x2, y2, 1.2, kAntler);
    at(1.2, 5.0, &x3, &y3);
    drawLine(cell, x1, y1, x3, y3, 1.1, kAntler);
    at(-0.7, 4.6, &x1, &y1);
    at(-4.5, 4.0, &x3, &y3);
    drawLine(cell, x1, y1, x3, y3, 1.0, kAntler);
}

static void drawDeerSide(Image& cell, int column) {
    const double swing = walkSwing(column);
    const HeadPose head = sideHeadPose(column);
    // Far legs first (darker), diagonal pairs in step: far hind with near fore.
    auto leg = [&](double hipX, double footOffset, Colour colour) {
        double lift = footOffset > 0.3 ? 1.5 * footOffset : 0.0;
        drawLine(cell, hipX, 18.5, hipX + footOffset * 3.0, 27.5 - lift, 2.2, colour);
        fillRect(cell, static_cast<int>(std::lround(hipX + footOffset * 3.0 - 1)),
                 static_cast<int>(std::lround(27.5 - lift)), 2, 1, kDeerDark);
    };
    leg(11.5, swing, kDeerFarLeg);
    leg(21.0, -swing, kDeerFarLeg);
    fillEllipse(cell, 15.0, 16.0, 8.6, 4.9, kDeerBody);
    fillEllipse(cell, 13.0, 15.5, 5.5, 4.3, kDeerShade);
    fillEllipse(cell, 15.5, 15.0, 7.8, 3.9, kDeerBody);
    fillEllipse(cell, 15.8, 18.6, 6.2, 2.1, kDeerBelly);
    fillEllipse(cell, 6.8, 13.2, 1.6, 1.9, kDeerWhite);
    leg(9.5, -swing, kDeerBody);
    leg(19.5, swing, kDeerBody);
    // Neck, then the head with muzzle, ear, antlers and eye.
    drawLine(cell, 19.5, 14.5, head.x - 1.2 * head.dx, head.y - 1.2 * head.dy, 4.6, kDeerBody);
    fillEllipse(cell, head.x, head.y, 3.0, 2.5, kDeerHead);
    fillEllipse(cell, head.x + 2.6 * head.dx, head.y + 2.6 * head.dy, 1.9, 1.6, kDeerMuzzle);
    setPixel(cell, static_cast<int>(std::floor(head.x + 4.0 * head.dx)),
             static_cast<int>(std::floor(head.y + 4.0 * head.dy)), kDeerDark);
    const double upX = head.dy;
    const double upY = -head.dx;
    fillEllipse(cell, head.x - 1.6 * head.dx + 2.0 * upX, head.y - 1.6 * head.dy + 2.0 * upY, 1.3, 1.3, kDeerShade);
    drawAntlers(cell, head.x - 0.6 * head.dx + 1.8 * upX, head.y - 0.6 * head.dy + 1.8 * upY, head.dx, head.dy, upX,
                upY);
    setPixel(cell, static_cast<int>(std::floor(head.x + 0.6 * head.dx + 0.6 * upX)),
             static_cast<int>(std::floor(head.y + 0.6 * head.dy + 0.6 * upY)), kDeerDark);
}

// Head height for the front and back views by column: lowered to eat, raised to smell.
static double frontHeadY(int column) {
    switch (column) {
    case 4: return 14.0;
    case 5: return 18.0;
    case 6: return 22.0;
    case 7: return 9.5;
    case 8: return 8.5;
    default: return 11.0;
    }
}

static void drawFrontLegs(Image& cell, int column, double leftX, double rightX, double top, Colour colour) {
    double lift = walkSwing(column);
    double leftLift = lift > 0 ? 2.0 * lift : 0.0;
    double rightLift = lift < 0 ? -2.0 * lift : 0.0;
    drawLine(cell, leftX, top, leftX, 27.5 - leftLift, 2.2, colour);
    drawLine(cell, rightX, top, rightX, 27.5 - rightLift, 2.2, colour);
    fillRect(cell, static_cast<int>(leftX - 1), static_cast<int>(27.5 - leftLift), 2, 1, kDeerDark);
    fillRect(cell, static_cast<int>(rightX - 1), static_cast<int>(27.5 - rightLift), 2, 1, kDeerDark);
}

static void drawDeerDown(Image& cell, int column) {
    const double headY = frontHeadY(column);
    drawFrontLegs(cell, (column >= 1 && column <= 3) ? 4 - column : 0, 12.5, 19.5, 16.0, kDeerFarLeg);
    fillEllipse(cell, 16.0, 15.5, 6.0, 6.5, kDeerShade);
    fillEllipse(cell, 16.0, 17.5, 5.6, 5.2, kDeerBody);
    fillEllipse(cell, 16.0, 20.0, 3.6, 2.6, kDeerBelly);
    drawFrontLegs(cell, column, 13.5, 18.5, 19.0, kDeerBody);
    // Neck down to the head, the head in front of the chest.
    drawLine(cell, 16.0, 16.0, 16.0, headY + 1.0, 4.5, kDeerBody);
    fillEllipse(cell, 11.8, headY - 2.6, 2.0, 1.1, kDeerShade);
    fillEllipse(cell, 20.2, headY - 2.6, 2.0, 1.1, kDeerShade);
    fillEllipse(cell, 16.0, headY, 3.3, 3.6, kDeerHead);
    double muzzleY = column >= 7 ? headY + 1.4 : headY + 2.4;
    fillEllipse(cell, 16.0, muzzleY, 2.0, 1.7, kDeerMuzzle);
    fillRect(cell, 15, static_cast<int>(std::floor(muzzleY + 0.8)), 2, 1, kDeerDark);
    setPixel(cell, 14, static_cast<int>(std::floor(headY - 0.8)), kDeerDark);
    setPixel(cell, 17, static_cast<int>(std::floor(headY - 0.8)), kDeerDark);
    drawAntlers(cell, 14.5, headY - 3.0, 1, 0, 0, -1);
    drawAntlers(cell, 17.5, headY - 3.0, -1, 0, 0, -1);
}

static void drawDeerUp(Image& cell, int column) {
    double headY = 8.5;
    if (column >= 4 && column <= 6) {
        headY = 8.5 + (column - 3) * 1.2;
    } else if (column >= 7) {
        headY = 7.5 - (column - 7);
    }
    // The head lies beyond the body: drawn first so that the back covers a lowered head.
    drawLine(cell, 16.0, 13.0, 16.0, headY + 1.0, 4.2, kDeerBody);
    fillEllipse(cell, 12.2, headY - 0.5, 2.1, 1.1, kDeerShade);
    fillEllipse(cell, 19.8, headY - 0.5, 2.1, 1.1, kDeerShade);
    fillEllipse(cell, 16.0, headY, 3.0, 3.0, kDeerShade);
    drawAntlers(cell, 14.6, headY - 2.0, 1, 0, 0, -1);
    drawAntlers(cell, 17.4, headY - 2.0, -1, 0, 0, -1);
    drawFrontLegs(cell, (column >= 1 && column <= 3) ? 4 - column : 0, 12.5, 19.5, 14.0, kDeerFarLeg);
    fillEllipse(cell, 16.0, 16.5, 6.0, 6.8, kDeerBody);
    fillEllipse(cell, 16.0, 13.5, 4.0, 4.0, kDeerShade);
    fillEllipse(cell, 16.0, 14.0, 3.2, 3.2, kDeerBody);
    drawFrontLegs(cell, column, 13.5, 18.5, 20.0, kDeerBody);
    fillEllipse(cell, 16.0, 20.5, 3.4, 2.8, kDeerWhite);
    fillEllipse(cell, 16.0, 19.2, 1.2, 1.6, kDeerShade);
}

// A soft patch of shade on the snow under the feet, on the sprite's empty pixels.
static void addFootShadow(Image& cell) {
    for (int y = 26; y < 31; ++y) {
        for (int x = 6; x < 27; ++x) {
            double dx = (x + 0.5 - 16.0) / 10.0;
            double dy = (y + 0.5 - 28.5) / 2.2;
            if (dx * dx + dy * dy <= 1.0 && isMagenta(cell, x, y)) {
                setPixel(cell, x, y, kSnowShadow);
            }
        }
    }
}

static void finishSprite(Image& cell, Colour outline) {
    outlineShapes(cell, 0, 0, kCell, kCell, outline);
    addFootShadow(cell);
}

static void copyMirrored(const Image& cell, Image& sheet, int dx, int dy) {
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            setPixel(sheet, dx + kCell - 1 - x, dy + y, getPixel(cell, x, y));
        }
    }
}

Image drawDeerCell(int column, int row) {
    Image cell = makeImage(kCell, kCell, kMagenta);
    if (row == 1) {
        drawDeerUp(cell, column);
    } else if (row == 3) {
        drawDeerDown(cell, column);
    } else {
        drawDeerSide(cell, column);
    }
    outlineShapes(cell, 0, 0, kCell, kCell, kDeerOutline);
    if (row == 2) {
        Image mirrored = makeImage(kCell, kCell, kMagenta);
        copyMirrored(cell, mirrored, 0, 0);
        return mirrored;
    }
    return cell;
}

static int makeDeer(const std::string& outDir) {
    Image sheet = makeImage(kDeerColumns * kCell, kDeerRows * kCell, kMagenta);
    for (int column = 0; column < kDeerColumns; ++column) {
        Image side = makeImage(kCell, kCell, kMagenta);
        drawDeerSide(side, column);
        finishSprite(side, kDeerOutline);
        copyBlock(side, 0, 0, kCell, kCell, sheet, column * kCell, 0);
        copyMirrored(side, sheet, column * kCell, 2 * kCell);
        Image up = makeImage(kCell, kCell, kMagenta);
        drawDeerUp(up, column);
        finishSprite(up, kDeerOutline);
        copyBlock(up, 0, 0, kCell, kCell, sheet, column * kCell, kCell);
        Image down = makeImage(kCell, kCell, kMagenta);
        drawDeerDown(down, column);
        finishSprite(down, kDeerOutline);
        copyBlock(down, 0, 0, kCell, kCell, sheet, column * kCell, 3 * kCell);
    }
    return writePng(outDir + "Deer.png", sheet);
}

// ---- Hunter ----

constexpr int kHunterColumns = 10; // walk cycle
constexpr int kHunterRows = 8;     // 0 right, 2 left, 4 and 6 the same revealed by smell

constexpr Colour kHunterOutline = {30, 22, 18};
constexpr Colour kJacket = {236, 98, 26};
constexpr Colour kJacketShade = {186, 62, 20};
constexpr Colour kTrousers = {78, 72, 54};
constexpr Colour kTrousersFar = {58, 53, 40};
constexpr Colour kBoot = {34, 28, 24};
constexpr Colour kSkin = {232, 184, 150};
constexpr Colour kHat = {206, 40, 24};
constexpr Colour kStock = {120, 72, 36};
constexpr Colour kBarrel = {70, 74, 82};

static void drawHunter(Image& cell, int column) {
    const double phase = 2 * kPi * column / kHunterColumns;
    const double swing = std::sin(phase);
    const double bob = std::fabs(std::cos(phase)) * 0.8;
    auto leg = [&](double offset, Colour colour) {
        double footX = 15.5 + 4.0 * offset;
        double lift = offset > 0 ? 1.2 * std::cos(phase) * std::cos(phase) * offset : 0.0;
        double kneeX = 15.5 + 2.6 * offset + 0.8;
        drawLine(cell, 15.5, 19.0 + bob, kneeX, 24.0 + bob, 3.0, colour);
        drawLine(cell, kneeX, 24.0 + bob, footX, 27.5 - lift, 2.6, colour);
        drawLine(cell, footX - 0.5, 28.0 - lift, footX + 2.0, 28.0 - lift, 2.0, kBoot);
    };
    leg(-swing, kTrousersFar);
    // Far arm swings against the near leg.
    drawLine(cell, 15.0, 12.0 + bob, 13.0 + 1.5 * swing, 17.5 + bob, 2.4, kJacketShade);
    // Body: jacket with a darker back and a belt.
    double torso[] = {12.0, 10.5 + bob, 19.5, 10.5 + bob, 20.0, 20.0 + bob, 11.5, 20.0 + bob};
    fillPolygon(cell, torso, 4, kJacket);
    fillRect(cell, 12, static_cast<int>(10.5 + bob), 2, 10, kJacketShade);
    fillRect(cell, 12, static_cast<int>(18.0 + bob), 8, 1, kJacketShade);
    leg(swing, kTrousers);
    // Rifle held across the chest, muzzle forward and up.
    drawLine(cell, 11.0, 17.5 + bob, 15.0, 15.5 + bob, 2.8, kStock);
    drawLine(cell, 15.0, 15.5 + bob, 28.0, 10.0 + bob, 1.4, kBarrel);
    // Near arm to the fore grip.
    drawLine(cell, 17.0, 12.0 + bob, 21.0, 14.5 + bob, 2.6, kJacket);
    fillEllipse(cell, 21.5, 14.0 + bob, 1.2, 1.2, kSkin);
    // Head with a red cap and its peak to the front.
    fillEllipse(cell, 16.5, 7.2 + bob, 3.0, 3.1, kSkin);
    setPixel(cell, 18, static_cast<int>(6.8 + bob), kHunterOutline);
    fillRect(cell, 13, static_cast<int>(3.5 + bob), 7, 3, kHat);
    fillRect(cell, 19, static_cast<int>(5.5 + bob), 3, 1, kHat);
    fillRect(cell, 13, static_cast<int>(5.5 + bob), 2, 3, kSkin);
}

static int luminance(Colour c) { return (c.r * 30 + c.g * 59 + c.b * 11) / 100; }

// The figure as the deer smells it: a red-hot silhouette inside a two-ring halo.
static Image revealHunter(const Image& figure) {
    Image glow = makeImage(kCell, kCell, kMagenta);
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            Colour c = getPixel(figure, x, y);
            if (!isMagenta(figure, x, y)) {
                setPixel(glow, x, y, mixColour({170, 10, 10}, {255, 120, 40}, luminance(c) / 200.0));
            }
        }
    }
    outlineShapes(glow, 0, 0, kCell, kCell, {255, 222, 70});
    Image ring = glow;
    outlineShapes(ring, 0, 0, kCell, kCell, {255, 130, 20});
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            if (isMagenta(glow, x, y) && !isMagenta(ring, x, y) && (x + y) % 2 == 0) {
                setPixel(glow, x, y, getPixel(ring, x, y));
            }
        }
    }
    return glow;
}

static int makeHunter(const std::string& outDir) {
    Image sheet = makeImage(kHunterColumns * kCell, kHunterRows * kCell, kMagenta);
    for (int column = 0; column < kHunterColumns; ++column) {
        Image figure = makeImage(kCell, kCell, kMagenta);
        drawHunter(figure, column);
        outlineShapes(figure, 0, 0, kCell, kCell, kHunterOutline);
        Image revealed = revealHunter(figure);
        addFootShadow(figure);
        copyBlock(figure, 0, 0, kCell, kCell, sheet, column * kCell, 0);
        copyMirrored(figure, sheet, column * kCell, 2 * kCell);
        copyBlock(revealed, 0, 0, kCell, kCell, sheet, column * kCell, 4 * kCell);
        copyMirrored(revealed, sheet, column * kCell, 6 * kCell);
    }
    return writePng(outDir + "Hunter.png", sheet);
}

// ---- Icons: the blue circle of safety and the red arrows of danger ----

constexpr int kArrow = 16;

static void drawArrow(Image& sheet, int left, int top, double angle, bool near) {
    Image cell = makeImage(kArrow, kArrow, kMagenta);
    const double ux = std::cos(angle);
    const double uy = -std::sin(angle); // screen y grows downwards
    const double vx = -uy;
    const double vy = ux;
    const double shaft = near ? 1.6 : 1.0;
    const double head = near ? 4.8 : 3.8;
    const double local[] = {-6.0, -shaft, 0.5, -shaft, 0.5, -head, 6.5, 0.0, 0.5, head, 0.5, shaft, -6.0, shaft};
    double xy[14];
    for (int i = 0; i < 7; ++i) {
        xy[2 * i] = 8.0 + local[2 * i] * ux + local[2 * i + 1] * vx;
        xy[2 * i + 1] = 8.0 + local[2 * i] * uy + local[2 * i + 1] * vy;
    }
    fillPolygon(cell, xy, 7, near ? Colour{232, 28, 20} : Colour{250, 120, 104});
    outlineShapes(cell, 0, 0, kArrow, kArrow, near ? Colour{92, 0, 0} : Colour{150, 40, 36});
    copyBlock(cell, 0, 0, kArrow, kArrow, sheet, left, top);
}

static int makeIcons(const std::string& outDir) {
    Image sheet = makeImage(5 * kCell, kCell, kMagenta);
    // The circle: a dark-rimmed blue ring with a pale inner gleam.
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            double d = std::hypot(x + 0.5 - 16.0, y + 0.5 - 16.0);
            if (d <= 15.0 && d >= 9.0) {
                Colour c = {40, 112, 232};
                if (d >= 14.0 || d <= 10.0) {
                    c = {14, 40, 112};
                } else if (d <= 11.2) {
                    c = {140, 196, 255};
                }
                setPixel(sheet, x, y, c);
            }
        }
    }
    // Directions in the sheet's order: right, up-right, up, up-left, left, down-left, down, down-right.
    for (int i = 0; i < 8; ++i) {
        double angle = i * kPi / 4;
        drawArrow(sheet, kCell + i * kArrow, 0, angle, true);
        drawArrow(sheet, kCell + i * kArrow, kArrow, angle, false);
    }
    return writePng(outDir + "Icon.png", sheet);
}

int makeSprites(const std::string& outDir) { return makeDeer(outDir) + makeHunter(outDir) + makeIcons(outDir); }
