// Drawing for the media generator: pixels, shapes, seeded noise and the pixel font's text.
#include "assets.h"

#include <algorithm>
#include <cmath>
#include <cstring>

Image makeImage(int width, int height, Colour fill) {
    Image image = {width, height, std::vector<unsigned char>(static_cast<size_t>(width) * height * 3)};
    for (size_t i = 0; i < image.rgb.size(); i += 3) {
        image.rgb[i] = static_cast<unsigned char>(fill.r);
        image.rgb[i + 1] = static_cast<unsigned char>(fill.g);
        image.rgb[i + 2] = static_cast<unsigned char>(fill.b);
    }
    return image;
}

static int clampByte(int value) { return std::clamp(value, 0, 255); }

void setPixel(Image& image, int x, int y, Colour colour) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
        return;
    }
    size_t i = (static_cast<size_t>(y) * image.width + x) * 3;
    image.rgb[i] = static_cast<unsigned char>(clampByte(colour.r));
    image.rgb[i + 1] = static_cast<unsigned char>(clampByte(colour.g));
    image.rgb[i + 2] = static_cast<unsigned char>(clampByte(colour.b));
}

Colour getPixel(const Image& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
        return kMagenta;
    }
    size_t i = (static_cast<size_t>(y) * image.width + x) * 3;
    return {image.rgb[i], image.rgb[i + 1], image.rgb[i + 2]};
}

bool isMagenta(const Image& image, int x, int y) {
    Colour c = getPixel(image, x, y);
    return c.r == 255 && c.g == 0 && c.b == 255;
}

Colour mixColour(Colour a, Colour b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {static_cast<int>(std::lround(a.r + (b.r - a.r) * t)), static_cast<int>(std::lround(a.g + (b.g - a.g) * t)),
            static_cast<int>(std::lround(a.b + (b.b - a.b) * t))};
}

Colour scaleColour(Colour c, double factor) {
    return {clampByte(static_cast<int>(std::lround(c.r * factor))),
            clampByte(static_cast<int>(std::lround(c.g * factor))),
            clampByte(static_cast<int>(std::lround(c.b * factor)))};
}

void blendPixel(Image& image, int x, int y, Colour colour, double alpha) {
    if (alpha <= 0.0 || x < 0 || y < 0 || x >= image.width || y >= image.height) {
        return;
    }
    setPixel(image, x, y, mixColour(getPixel(image, x, y), colour, alpha));
}

void copyBlock(const Image& source, int sx, int sy, int w, int h, Image& target, int dx, int dy) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            setPixel(target, dx + x, dy + y, getPixel(source, sx + x, sy + y));
        }
    }
}

void fillRect(Image& image, int x, int y, int w, int h, Colour colour) {
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            setPixel(image, i, j, colour);
        }
    }
}

void fillEllipse(Image& image, double cx, double cy, double rx, double ry, Colour colour) {
    if (rx <= 0 || ry <= 0) {
        return;
    }
    int x0 = static_cast<int>(std::floor(cx - rx));
    int x1 = static_cast<int>(std::ceil(cx + rx));
    int y0 = static_cast<int>(std::floor(cy - ry));
    int y1 = static_cast<int>(std::ceil(cy + ry));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            double dx = (x + 0.5 - cx) / rx;
            double dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) {
                setPixel(image, x, y, colour);
            }
        }
    }
}

static double distanceToSegment(double px, double py, double x0, double y0, double x1, double y1) {
    double vx = x1 - x0;
    double vy = y1 - y0;
    double length2 = vx * vx + vy * vy;
    double t = length2 > 0 ? ((px - x0) * vx + (py - y0) * vy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    double dx = px - (x0 + t * vx);
    double dy = py - (y0 + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

void drawLine(Image& image, double x0, double y0, double x1, double y1, double width, Colour colour) {
    double r = width / 2;
    int left = static_cast<int>(std::floor(std::min(x0, x1) - r));
    int right = static_cast<int>(std::ceil(std::max(x0, x1) + r));
    int top = static_cast<int>(std::floor(std::min(y0, y1) - r));
    int bottom = static_cast<int>(std::ceil(std::max(y0, y1) + r));
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (distanceToSegment(x + 0.5, y + 0.5, x0, y0, x1, y1) <= r) {
                setPixel(image, x, y, colour);
            }
        }
    }
}

static bool insidePolygon(const double* xy, int points, double px, double py) {
    bool inside = false;
    for (int i = 0, j = points - 1; i < points; j = i++) {
        double xi = xy[2 * i];
        double yi = xy[2 * i + 1];
        double xj = xy[2 * j];
        double yj = xy[2 * j + 1];
        if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) {
            inside = !inside;
        }
    }
    return inside;
}

static void polygonBounds(const double* xy, int points, int* x0, int* y0, int* x1, int* y1) {
    double minX = xy[0];
    double maxX = xy[0];
    double minY = xy[1];
    double maxY = xy[1];
    for (int i = 1; i < points; ++i) {
        minX = std::min(minX, xy[2 * i]);
        maxX = std::max(maxX, xy[2 * i]);
        minY = std::min(minY, xy[2 * i + 1]);
        maxY = std::max(maxY, xy[2 * i + 1]);
    }
    *x0 = static_cast<int>(std::floor(minX));
    *x1 = static_cast<int>(std::ceil(maxX));
    *y0 = static_cast<int>(std::floor(minY));
    *y1 = static_cast<int>(std::ceil(maxY));
}

void fillPolygon(Image& image, const double* xy, int points, Colour colour) {
    int x0, y0, x1, y1;
    polygonBounds(xy, points, &x0, &y0, &x1, &y1);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (insidePolygon(xy, points, x + 0.5, y + 0.5)) {
                setPixel(image, x, y, colour);
            }
        }
    }
}

void outlineShapes(Image& image, int x, int y, int w, int h, Colour colour) {
    std::vector<unsigned char> mark(static_cast<size_t>(w) * h, 0);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (!isMagenta(image, x + i, y + j)) {
                continue;
            }
            bool touches = false;
            const int offsets[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
            for (const auto& o : offsets) {
                int ni = i + o[0];
                int nj = j + o[1];
                if (ni >= 0 && nj >= 0 && ni < w && nj < h && !isMagenta(image, x + ni, y + nj)) {
                    touches = true;
                }
            }
            mark[static_cast<size_t>(j) * w + i] = touches ? 1 : 0;
        }
    }
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (mark[static_cast<size_t>(j) * w + i]) {
                setPixel(image, x + i, y + j, colour);
            }
        }
    }
}

constexpr int kSubsamples = 4; // per axis, for the coverage of soft shapes

void softEllipse(Image& image, double cx, double cy, double rx, double ry, Colour colour, double alpha) {
    int x0 = static_cast<int>(std::floor(cx - rx)) - 1;
    int x1 = static_cast<int>(std::ceil(cx + rx)) + 1;
    int y0 = static_cast<int>(std::floor(cy - ry)) - 1;
    int y1 = static_cast<int>(std::ceil(cy + ry)) + 1;
    for (int y = std::max(y0, 0); y <= std::min(y1, image.height - 1); ++y) {
        for (int x = std::max(x0, 0); x <= std::min(x1, image.width - 1); ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSubsamples; ++sy) {
                for (int sx = 0; sx < kSubsamples; ++sx) {
                    double dx = (x + (sx + 0.5) / kSubsamples - cx) / rx;
                    double dy = (y + (sy + 0.5) / kSubsamples - cy) / ry;
                    hits += dx * dx + dy * dy <= 1.0 ? 1 : 0;
                }
            }
            blendPixel(image, x, y, colour, alpha * hits / (kSubsamples * kSubsamples));
        }
    }
}

void softPolygon(Image& image, const double* xy, int points, Colour colour, double alpha) {
    int x0, y0, x1, y1;
    polygonBounds(xy, points, &x0, &y0, &x1, &y1);
    for (int y = std::max(y0, 0); y <= std::min(y1, image.height - 1); ++y) {
        for (int x = std::max(x0, 0); x <= std::min(x1, image.width - 1); ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSubsamples; ++sy) {
                for (int sx = 0; sx < kSubsamples; ++sx) {
                    hits += insidePolygon(xy, points, x + (sx + 0.5) / kSubsamples, y + (sy + 0.5) / kSubsamples);
                }
            }
            blendPixel(image, x, y, colour, alpha * hits / (kSubsamples * kSubsamples));
        }
    }
}

// xorshift32: small, fast and the same on every platform.
uint32_t nextRandom(Rng& rng) {
    uint32_t x = rng.state ? rng.state : 0x9E3779B9u;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    rng.state = x;
    return x;
}

double randomUnit(Rng& rng) { return (nextRandom(rng) >> 8) / 16777216.0; }

double randomRange(Rng& rng, double low, double high) { return low + (high - low) * randomUnit(rng); }

int randomInt(Rng& rng, int low, int high) {
    return low + static_cast<int>(nextRandom(rng) % static_cast<uint32_t>(high - low + 1));
}

static double latticeValue(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / 16777216.0;
}

double periodicNoise(double x, double y, int period, uint32_t seed) {
    double fx = std::floor(x);
    double fy = std::floor(y);
    int ix = static_cast<int>(fx);
    int iy = static_cast<int>(fy);
    double tx = x - fx;
    double ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto wrap = [period](int v) { return ((v % period) + period) % period; };
    double a = latticeValue(wrap(ix), wrap(iy), seed);
    double b = latticeValue(wrap(ix + 1), wrap(iy), seed);
    double c = latticeValue(wrap(ix), wrap(iy + 1), seed);
    double d = latticeValue(wrap(ix + 1), wrap(iy + 1), seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

// ---- The pixel font: a 5 x 7 grid above the baseline and two descender rows ----

struct GlyphDefinition {
    char character;
    const char* rows[kGlyphRows];
};

static const GlyphDefinition kGlyphs[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"###..", "#..#.", "#...#", "#...#", "#...#", "#..#.", "###.."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#..", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'b', {"#....", "#....", "####.", "#...#", "#...#", "#...#", "####."}},
    {'c', {".....", ".....", ".###.", "#....", "#....", "#...#", ".###."}},
    {'d', {"....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'f', {"..##.", ".#..#", ".#...", "###..", ".#...", ".#...", ".#..."}},
    {'g', {".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."}},
    {'h', {"#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#"}},
    {'i', {"..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."}},
    {'j', {"...#.", ".....", "..##.", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'k', {"#....", "#....", "#..#.", "#.#..", "##...", "#.#..", "#..#."}},
    {'l', {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'m', {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"}},
    {'n', {".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"}},
    {'o', {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."}},
    {'p', {".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."}},
    {'q', {".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", "....#"}},
    {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."}},
    {'s', {".....", ".....", ".####", "#....", ".###.", "....#", "####."}},
    {'t', {".#...", ".#...", "###..", ".#...", ".#...", ".#..#", "..##."}},
    {'u', {".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"}},
    {'v', {".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'w', {".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."}},
    {'x', {".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"}},
    {'y', {".....", ".....", "#...#", "#...#", "#...#", "#...#", ".####", "....#", ".###."}},
    {'z', {".....", ".....", "#####", "...#.", "..#..", ".#...", "#####"}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
    {':', {".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."}},
    {',', {".....", ".....", ".....", ".....", ".....", ".##..", ".##..", "..#..", ".#..."}},
    {';', {".....", ".##..", ".##..", ".....", ".....", ".##..", ".##..", "..#..", ".#..."}},
    {'|', {"..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'/', {"....#", "....#", "...#.", "..#..", ".#...", "#....", "#...."}},
    {'\\', {"#....", "#....", ".#...", "..#..", "...#.", "....#", "....#"}},
    {'\'', {"..#..", "..#..", ".#...", ".....", ".....", ".....", "....."}},
    {'"', {".#.#.", ".#.#.", ".#.#.", ".....", ".....", ".....", "....."}},
    {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
    {'!', {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."}},
    {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
    {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
    {'*', {".....", "#.#.#", ".###.", "#####", ".###.", "#.#.#", "....."}},
    {'=', {".....", ".....", "#####", ".....", "#####", ".....", "....."}},
    {'(', {"...#.", "..#..", ".#...", ".#...", ".#...", "..#..", "...#."}},
    {')', {".#...", "..#..", "...#.", "...#.", "...#.", "..#..", ".#..."}},
    {'_', {".....", ".....", ".....", ".....", ".....", ".....", ".....", "#####"}},
    {'<', {"...#.", "..#..", ".#...", "#....", ".#...", "..#..", "...#."}},
    {'>', {".#...", "..#..", "...#.", "....#", "...#.", "..#..", ".#..."}},
    {'[', {".###.", ".#...", ".#...", ".#...", ".#...", ".#...", ".###."}},
    {']', {".###.", "...#.", "...#.", "...#.", "...#.", "...#.", ".###."}},
    {'#', {".#.#.", ".#.#.", "#####", ".#.#.", "#####", ".#.#.", ".#.#."}},
    {'$', {"..#..", ".####", "#.#..", ".###.", "..#.#", "####.", "..#.."}},
    {'^', {"..#..", ".#.#.", "#...#", ".....", ".....", ".....", "....."}},
    {' ', {}},
};

const char* const* findGlyphRows(char character) {
    for (const GlyphDefinition& glyph : kGlyphs) {
        if (glyph.character == character) {
            return glyph.rows;
        }
    }
    return nullptr;
}

// The game's character map: six rows of sixteen cells; '\1' marks a cell with no character.
static const char* const kFontMap[6] = {
    "0123456789ABCDEF", "GHIJKLMNOPQRSTUV",   "WXYZabcdefghijkl",
    "mnopqrstuvwxyz.:", ",;|/\\'\"?!+-*=()_", "<>[]#$^\1\1\1 \1\1\1\1\1",
};

bool findFontCell(char character, int* row, int* column) {
    for (int r = 0; r < 6; ++r) {
        const char* found = std::strchr(kFontMap[r], character);
        if (character != '\0' && character != '\1' && found) {
            *row = r;
            *column = static_cast<int>(found - kFontMap[r]);
            return true;
        }
    }
    return false;
}

constexpr int kGlyphPitch = 6; // grid cells from one character to the next

static bool glyphCellSet(const char* const* rows, int column, int row) {
    if (!rows || column < 0 || column >= kGlyphColumns || row < 0 || row >= kGlyphRows) {
        return false;
    }
    return rows[row] && rows[row][column] == '#';
}

// How much of the square of half-size r around (gx, gy) the glyph covers: 0..1. With r > 0 the
// strokes' convex corners round off and their inner corners fill, like a soft brush.
static double glyphOccupancy(const char* const* rows, double gx, double gy, double r) {
    if (r <= 0) {
        return glyphCellSet(rows, static_cast<int>(std::floor(gx)), static_cast<int>(std::floor(gy))) ? 1 : 0;
    }
    double covered = 0;
    for (int cy = static_cast<int>(std::floor(gy - r)); cy <= static_cast<int>(std::floor(gy + r)); ++cy) {
        for (int cx = static_cast<int>(std::floor(gx - r)); cx <= static_cast<int>(std::floor(gx + r)); ++cx) {
            if (!glyphCellSet(rows, cx, cy)) {
                continue;
            }
            double w = std::min(gx + r, cx + 1.0) - std::max(gx - r, static_cast<double>(cx));
            double h = std::min(gy + r, cy + 1.0) - std::max(gy - r, static_cast<double>(cy));
            if (w > 0 && h > 0) {
                covered += w * h;
            }
        }
    }
    return covered / (4 * r * r);
}

int measureText(const char* text, const TextStyle& style) {
    int length = static_cast<int>(std::strlen(text));
    if (length == 0) {
        return 0;
    }
    return static_cast<int>(std::lround((length * kGlyphPitch - 1) * style.scale));
}

void drawText(Image& image, double x, double y, const char* text, const TextStyle& style) {
    const int length = static_cast<int>(std::strlen(text));
    const int margin = static_cast<int>(std::ceil(style.outlineWidth + style.shadowOffset)) + 2;
    const int left = static_cast<int>(std::floor(x)) - margin;
    const int top = static_cast<int>(std::floor(y)) - margin;
    const int w = measureText(text, style) + 2 * margin + 2;
    const int h = static_cast<int>(std::ceil(kGlyphRows * style.scale)) + 2 * margin + 2;
    std::vector<double> fill(static_cast<size_t>(w) * h, 0.0);
    for (int py = 0; py < h; ++py) {
        for (int px = 0; px < w; ++px) {
            int hits = 0;
            for (int sy = 0; sy < kSubsamples; ++sy) {
                for (int sx = 0; sx < kSubsamples; ++sx) {
                    double gx = (left + px + (sx + 0.5) / kSubsamples - x) / style.scale;
                    double gy = (top + py + (sy + 0.5) / kSubsamples - y) / style.scale;
                    int index = static_cast<int>(std::floor(gx / kGlyphPitch));
                    if (gx < 0 || index >= length) {
                        continue;
                    }
                    const char* const* rows = findGlyphRows(text[index]);
                    hits += glyphOccupancy(rows, gx - index * kGlyphPitch, gy, style.roundness) > 0.5 ? 1 : 0;
                }
            }
            fill[static_cast<size_t>(py) * w + px] = static_cast<double>(hits) / (kSubsamples * kSubsamples);
        }
    }
    // The outline is the fill grown by a disc of the outline width.
    std::vector<double> outline(fill.size(), 0.0);
    const int reach = static_cast<int>(std::ceil(style.outlineWidth));
    for (int py = 0; py < h; ++py) {
        for (int px = 0; px < w; ++px) {
            double best = 0;
            for (int dy = -reach; dy <= reach; ++dy) {
                for (int dx = -reach; dx <= reach; ++dx) {
                    int qx = px + dx;
                    int qy = py + dy;
                    if (qx < 0 || qy < 0 || qx >= w || qy >= h) {
                        continue;
                    }
                    double distance = std::sqrt(static_cast<double>(dx * dx + dy * dy));
                    double weight = std::clamp(style.outlineWidth + 0.5 - distance, 0.0, 1.0);
                    best = std::max(best, fill[static_cast<size_t>(qy) * w + qx] * weight);
                }
            }
            outline[static_cast<size_t>(py) * w + px] = best;
        }
    }
    const int shadow = static_cast<int>(std::lround(style.shadowOffset));
    if (shadow > 0) {
        for (int py = 0; py < h; ++py) {
            for (int px = 0; px < w; ++px) {
                double a = std::max(outline[static_cast<size_t>(py) * w + px], fill[static_cast<size_t>(py) * w + px]);
                blendPixel(image, left + px + shadow, top + py + shadow, {0, 0, 0}, 0.55 * a);
            }
        }
    }
    const double capHeight = 7 * style.scale;
    for (int py = 0; py < h; ++py) {
        double t = (top + py - y) / capHeight;
        Colour colour = mixColour(style.top, style.bottom, t);
        for (int px = 0; px < w; ++px) {
            size_t i = static_cast<size_t>(py) * w + px;
            if (style.outlineWidth > 0) {
                blendPixel(image, left + px, top + py, style.outline, outline[i]);
            }
            blendPixel(image, left + px, top + py, colour, fill[i]);
        }
    }
}

void drawTextCentred(Image& image, double centreX, double y, const char* text, const TextStyle& style) {
    drawText(image, std::round(centreX - measureText(text, style) / 2.0), y, text, style);
}
