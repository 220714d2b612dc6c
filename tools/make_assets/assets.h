// Shared pieces of the media generator: images, drawing, the pixel font, the file writers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---- Colours and images ----

struct Colour {
    int r;
    int g;
    int b;
};

constexpr Colour kMagenta = {255, 0, 255}; // the colour key: transparent in every sheet

// An 8-bit RGB picture, rows top to bottom.
struct Image {
    int width;
    int height;
    std::vector<unsigned char> rgb;
};

Image makeImage(int width, int height, Colour fill);
// Pixel access; writes outside the image are dropped, reads outside give magenta.
void setPixel(Image& image, int x, int y, Colour colour);
Colour getPixel(const Image& image, int x, int y);
bool isMagenta(const Image& image, int x, int y);
// Mixes colour over the pixel with coverage alpha (0..1); for opaque pictures only.
void blendPixel(Image& image, int x, int y, Colour colour, double alpha);
Colour mixColour(Colour a, Colour b, double t); // t 0 gives a, 1 gives b
Colour scaleColour(Colour c, double factor);
// Copies a w x h block of source at (sx, sy) to (dx, dy) of target.
void copyBlock(const Image& source, int sx, int sy, int w, int h, Image& target, int dx, int dy);

// ---- Hard-edged shapes (pixel centres inside are painted; for colour-keyed sprites) ----

void fillRect(Image& image, int x, int y, int w, int h, Colour colour);
void fillEllipse(Image& image, double cx, double cy, double rx, double ry, Colour colour);
// A segment of the given width with round ends.
void drawLine(Image& image, double x0, double y0, double x1, double y1, double width, Colour colour);
void fillPolygon(Image& image, const double* xy, int points, Colour colour);
// Paints every magenta pixel of the rectangle that touches a non-magenta one (4-neighbours).
void outlineShapes(Image& image, int x, int y, int w, int h, Colour colour);

// ---- Soft shapes (coverage blended; for the opaque screens) ----

void softEllipse(Image& image, double cx, double cy, double rx, double ry, Colour colour, double alpha);
void softPolygon(Image& image, const double* xy, int points, Colour colour, double alpha);

// ---- Deterministic randomness ----

struct Rng {
    uint32_t state;
};

uint32_t nextRandom(Rng& rng);
double randomUnit(Rng& rng); // in [0, 1)
double randomRange(Rng& rng, double low, double high);
int randomInt(Rng& rng, int low, int high); // low..high inclusive
// Smooth value noise in [0, 1) that repeats every period cells along x and y.
double periodicNoise(double x, double y, int period, uint32_t seed);

// ---- The pixel font ----

constexpr int kGlyphColumns = 5; // drawing grid of a glyph
constexpr int kGlyphRows = 9;    // rows 0..6 above the baseline, 7..8 descenders

// The glyph rows of a character ('#' set, '.' clear), or nullptr when it has none.
const char* const* findGlyphRows(char character);
// Cell of a character in the font sheet (the game's character map); false when it has none.
bool findFontCell(char character, int* row, int* column);

struct TextStyle {
    double scale; // screen pixels per glyph grid cell
    Colour top;   // fill, blended from top to bottom of the cap height
    Colour bottom;
    Colour outline;
    double outlineWidth; // pixels; 0 for none
    double shadowOffset; // pixels down and right; 0 for none
    double roundness;    // 0 square grid cells, up to about 0.45 for soft round strokes
};

int measureText(const char* text, const TextStyle& style);
// Draws text with its top-left at (x, y) on an opaque picture.
void drawText(Image& image, double x, double y, const char* text, const TextStyle& style);
void drawTextCentred(Image& image, double centreX, double y, const char* text, const TextStyle& style);

// ---- File writers (each returns 0 on success, 1 on failure) ----

int writePng(const std::string& path, const Image& image);
int writeWav(const std::string& path, const std::vector<int16_t>& samples, int channels);

struct MidiEvent {
    uint32_t tick;
    int order; // ties at one tick: lower first (note-offs before note-ons)
    std::vector<uint8_t> bytes;
};

struct MidiTrack {
    std::vector<MidiEvent> events;
};

int writeMidi(const std::string& path, const std::vector<MidiTrack>& tracks, int ticksPerQuarter, uint32_t endTick);

// ---- The media ----

// One cell of the deer sheet (column = pose, row = facing), outlined, without its ground shade.
Image drawDeerCell(int column, int row);

int makeSprites(const std::string& outDir); // Deer.png, Hunter.png, Icon.png
int makeTiles(const std::string& outDir);   // Tiles.png, Snow.png
int makeScreens(const std::string& outDir); // Title.png, GameOver.png, Win.png, Font.png
int makeSounds(const std::string& outDir);  // snd00.wav .. snd06.wav
int makeMusic(const std::string& outDir);   // mus00.mid .. mus03.mid
