// The SDL back end (start-up, loading, fullscreen, music, shutdown) and drawing through coded
// sheets: the font's glyphs and word wrap, the map's tiles around the deer, sprites, snow, camera.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "game/startup.h"
#include "game/title.h"
#include "render/font.h"
#include "render/mapview.h"
#include "render/media.h"
#include "support/test_env.h"
#include "world/map.h"
#include "world/tileprops.h"

TEST(Font, EachCharacterDrawsItsCellOfTheStyleAndTextWrapsWholeWordsAtTheLimitWhileSeparatorsOnlyMoveTheCursor) {
    installCodedSheet(kTextureFont, kFontColumns, 5 * kFontRows, 10, 15); // style s, row r: sheet row 6 s + r
    // The sheet's rows; '~' marks a cell without a character.
    const char* const rows[kFontRows] = {"0123456789ABCDEF", "GHIJKLMNOPQRSTUV",   "WXYZabcdefghijkl",
                                         "mnopqrstuvwxyz.:", ",;|/\\'\"?!+-*=()_", "<>[]#$^~~~ "};
    for (int code = 0; code < 256; code++) {
        int cell = -1; // column * 100 + 6 * style + row, with style = code % 5
        for (int r = 0; r < kFontRows; r++)
            for (int c = 0; rows[r][c] != '\0'; c++)
                cell = rows[r][c] == char(code) && code != '~' ? c * 100 + kFontRows * (code % 5) + r : cell;
        SDL_RenderClear(gRenderer);
        EXPECT_EQ(renderCharacter(20, 30, char(code), code % 5), code == '\n' ? 2 : (cell < 0 ? 1 : 0)) << code;
        EXPECT_EQ(codedCellAt(25, 37), cell) << "character " << code;
    }
    SDL_RenderClear(gRenderer); // a digit is drawn as its character, in its style ('7': column 7, style 2)
    EXPECT_TRUE(renderDigit(20, 30, 7, 2) == 0 && codedCellAt(25, 37) == 712 && renderDigit(20, 30, -1, 0) == 1 &&
                renderDigit(20, 30, 10, 0) == 1);
    // clang-format off
    const struct { const char* name; int x, y, leftMargin, rightLimit; const char* text; int endX, endY; } cases[] = {
        {"a word ending on the limit stays", 125, 25, 125, 345, "abcdefghijklmnopqrstuv", 345, 25},
        {"a word passing the limit wraps", 345, 25, 125, 350, " x", 135, 40},
        {"a later word that fits stays", 0, 0, 0, 100, "abcd efgh", 90, 0},
        {"a word wider than a line wraps even at a line's start", 125, 100, 125, 350, "abcdefghijklmnopqrstuvw", 355, 115},
        {"line feeds begin lines at the margin", 50, 0, 2, 800, "\nab\n\ncd   e", 62, 45},
        {"spaces never wrap", 790, 0, 2, 800, "          ", 890, 0},
        {"an empty text past the limit wraps once", 810, 583, 2, 800, "", 2, 598},
    };
    // clang-format on
    for (const auto& c : cases) {
        gTextX = c.x, gTextY = c.y;
        EXPECT_EQ(renderText(c.leftMargin, c.rightLimit, c.text, 0), 0) << c.name;
        EXPECT_TRUE(gTextX == c.endX && gTextY == c.endY) << c.name << ": cursor at " << gTextX << "," << gTextY;
    }
}

static void putTile(int layer, int row, int column, int id, int overlay) {
    gMap[layer * kGridCells + row * kGridSide + column] = uint16_t(id);
    gTileTypeOverlay[id] = uint8_t(overlay);
}
static int tileAt(int row, int column) { return codedCellAt(column * 64 - gScreenX + 30, row * 64 - gScreenY + 30); }

TEST(MapView, TheCameraCentresThePointHeldInsideTheMapAndItsWindowEndsOnTheCellsPartlyShown) {
    startHeadlessSDL(); // cells of 64 pixels
    // Map columns, rows, point x, y; camera x, y. A map of 13 x 9 cells is only 576 pixels high.
    const int cameras[][6] = {// clang-format off
        {40, 30, 2400, 100, 1760, 0}, {40, 30, 1000, 1000, 600, 700}, {40, 30, 300, 1650, 0, 1320},
        {40, 30, 2200, 250, 1760, 0}, {13, 9, 400, 301, 0, -24}};
    // clang-format on
    for (const auto& c : cameras) {
        gMapColumns = c[0], gMapRows = c[1];
        centerScreenOnXY(c[2], c[3]);
        EXPECT_TRUE(gScreenX == c[4] && gScreenY == c[5])
            << "to " << c[2] << "," << c[3] << ": " << gScreenX << "," << gScreenY;
    }
    int window[4]; // the last camera, (0, -24), shows the rows to 576 / 64 and the columns to 800 / 64 rounded up
    computeVisibleWindow(64, 64, &window[0], &window[1], &window[2], &window[3]);
    EXPECT_TRUE(window[0] == 0 && window[1] == 9 && window[2] == 0 && window[3] == 13) << window[1] << "," << window[3];
}

TEST(MapView, TilesAreDrawnByPassAroundTheDeersRowSpritesOnTheirPointsAndTheSnowScrollsWithTheMap) {
    // An empty map drawn from a tile sheet of 64 x 3 coded cells, the camera off the 64-pixel grid
    // (what is drawn against the camera shows).
    std::memset(gMap, 0, sizeof gMap);
    std::memset(gTileTypeOverlay, 0, sizeof gTileTypeOverlay);
    gScreenX = gScreenY = 20;
    installCodedSheet(kTextureTiles, 64, 3, 32, 32);
    putTile(0, 0, 0, 65, 1); // sheet column 0, row 1
    putTile(0, 1, 1, 64, 1); // sheet column 63, row 0
    putTile(0, 2, 2, 2, 1);
    putTile(3, 2, 2, 5, 1); // a higher layer covers a lower one
    putTile(0, 0, 3, 7, 0); // another pass's tile
    renderMap(1, kAllRows);
    const int seen[] = {tileAt(0, 0), tileAt(1, 1), tileAt(2, 2), tileAt(0, 3)};
    EXPECT_EQ(std::vector<int>(seen, seen + 4), (std::vector<int>{1, 6300, 400, -1}));
    // Objects in column 3, rows 0 to 19; the point 10 pixels below the deer's centre, 640, begins row 10.
    for (int row = 0; row < 20; row++)
        putTile(2, row, 3, 18, 2);
    gScreenY = 300, gPlayerY = 6300;
    for (const int range : {kAllRows, kRowsAboveDeer, kRowsFromDeer}) {
        SDL_RenderClear(gRenderer);
        renderMap(2, range);
        EXPECT_TRUE((tileAt(9, 3) >= 0) == (range != kRowsFromDeer) &&
                    (tileAt(10, 3) >= 0) == (range != kRowsAboveDeer))
            << "range " << range;
    }
    gScreenX = gScreenY = 256 * 64 - 570; // the window passes the grid's last row and column
    renderMap(1, kAllRows);               // and reads nothing outside it (the sanitizers check)
    // A sprite is centred on its point; the snow scrolls with the map and advances every eight calls.
    gScreenX = gScreenY = 20;
    installCodedSheet(kTextureDeer, 9, 4, 32, 32);
    renderEntity(kTextureDeer, 3540, 1590, 2, 3); // 64 x 64 from the camera's (354 - 32, 159 - 32)
    const int sprite[] = {codedCellAt(302, 107), codedCellAt(365, 170), codedCellAt(301, 107),
                          codedCellAt(366, 107), codedCellAt(302, 106), codedCellAt(302, 171)};
    EXPECT_EQ(std::vector<int>(sprite, sprite + 6), (std::vector<int>{203, 203, -1, -1, -1, -1}));
    // Sheet cells of 32 pixels: a 64-pixel snow cell shows two neighbouring phases. In the program's
    // first calls the counter runs 1, 2, ..., 128, 0, 1, ... and the phase is the counter / 8. Map
    // (32, 16) lies in the right half of snow column 0, map (132, 66) in the left of column 2.
    installCodedSheet(kTextureSnow, 18, 4, 32, 32);
    gScreenX = 32, gScreenY = 16;
    for (int call = 1; call <= 140; call++) {
        renderSnow(1);
        const int phase = (call % 129) / 8;
        EXPECT_TRUE(codedCellAt(0, 0) == (phase % 16 + 1) * 100 + 2 &&
                    codedCellAt(100, 50) == (phase + 2) % 16 * 100 + 2)
            << "call " << call << ": sheet row 1 begins with coded row 2";
    }
}

// Each failing step of the start-up prints its one line and leaves nothing open. (No display, no
// ../Common/ and no sound device are proved on the real program by tests/e2e/startup_e2e.sh.)
TEST(Media, EachStartUpFailureSaysInOneLineWhatIsWrongAndTheGameGoesOnWindowedTogglingFullscreen) {
    const std::string common = enterTempCommon();
    // The variable that breaks one step, its value and that step's line; startHeadlessSDL sets it back.
    const struct {
        const char *name, *value, *line;
    } cases[] = {
        {"SDL_VIDEODRIVER", "nonexistent", "SDL could not initialize! SDL Error: "},
        {"SDL_RENDER_DRIVER", "", "Renderer could not be created! SDL Error: "}}; // dummy video: none accelerated
    for (const auto& c : cases) {
        startHeadlessSDL(); // the dummy drivers, then nothing open
        closeSDL();
        setenv(c.name, c.value, 1);
        testing::internal::CaptureStdout();
        const int result = initializeSDL();
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(result == 1 && out.rfind(c.line, 0) == 0 && std::count(out.begin(), out.end(), '\n') == 1) << out;
        closeSDL();
        EXPECT_TRUE(gWindow == nullptr && gRenderer == nullptr && gAudioOpen == 0) << c.name;
    }
    startHeadlessSDL();
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 1) << "the mixer did not open the new audio device";
    EXPECT_EQ(loadMedia(), 0) << "a whole Common/ does not load";
    // Fullscreen scales the 800 x 600 picture to the display (the dummy's 1024 x 768) till pressed again.
    const std::vector<int> windowed = {0, 0, 800, 600, 0, 0}, fullscreen = {1, 1, 1024, 768, 800, 600};
    for (int presses = 0; presses <= 2; presses++) {
        if (presses > 0)
            toggleFullscreen();
        std::vector<int> state(6, gIsFullscreen); // the flag, the window's flag, its size, the picture's
        state[1] = (SDL_GetWindowFlags(gWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
        SDL_GetWindowSize(gWindow, &state[2], &state[3]);
        SDL_RenderGetLogicalSize(gRenderer, &state[4], &state[5]);
        EXPECT_EQ(state, presses == 1 ? fullscreen : windowed) << presses << " presses";
    }
    // A missing image and sound are reported while the other files load; magenta is transparent.
    closeSDL();
    startHeadlessSDL();
    std::remove((common + "/Font.png").c_str());
    std::remove((common + "/snd03.wav").c_str());
    Uint32 pixels[] = {0xffff00ff, 0xffffffff}; // a deer sheet of a magenta and a white pixel
    SDL_Surface* image = SDL_CreateRGBSurfaceWithFormatFrom(pixels, 2, 1, 32, 8, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_EQ(IMG_SavePNG(image, "../Common/Deer.png"), 0);
    SDL_FreeSurface(image);
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadMedia(), 1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(out.rfind("Unable to load image ../Common/Font.png! SDL Error: ", 0) == 0 &&
                out.find("\nFailed to load snd03 sound effect! SDL_mixer Error: ") != std::string::npos &&
                std::count(out.begin(), out.end(), '\n') == 2 &&
                out.find("; reinstall Velmoor") != out.rfind("; reinstall"))
        << out;
    EXPECT_TRUE(std::count(gTexture, gTexture + kTextureSlots, nullptr) == 1 && gTexture[kTextureFont] == nullptr);
    EXPECT_TRUE(std::count(gSnd, gSnd + kSoundSlots, nullptr) == 1 && gSnd[kSoundSniff] == nullptr);
    SDL_RenderClear(gRenderer); // in the draw colour the start-up leaves, black
    SDL_RenderCopy(gRenderer, gTexture[kTextureDeer], nullptr, nullptr);
    const SDL_Color left = readPixel(0, 0), right = readPixel(799, 0);
    EXPECT_TRUE(left.r + left.g + left.b == 0 && right.r + right.g + right.b == 765) << "magenta is not transparent";
    // Number, the path it leaves, whether music plays: there is no piece 7 or 99.
    const std::tuple<int, const char*, bool> music[] = {{0, "00", true},    {7, "07", false},  {99, "99", false},
                                                        {100, "99", false}, {-5, "99", false}, {3, "03", true}};
    for (const auto& [number, path, plays] : music) {
        playNumberedMusic(number);
        EXPECT_EQ(gMusicFilePath, "../Common/mus" + std::string(path) + ".mid") << number;
        EXPECT_EQ(gMus != nullptr && Mix_PlayingMusic() == 1, plays) << number;
    }
    closeSDL();
    EXPECT_TRUE(std::count(gTexture, gTexture + kTextureSlots, nullptr) == kTextureSlots && gRenderer == nullptr &&
                std::count(gSnd, gSnd + kSoundSlots, nullptr) == kSoundSlots && gWindow == nullptr && gMus == nullptr);
}

// Without an audio device the game starts, says so once and loads no sound; the title's menu sound
// and the music then do nothing (the sanitizers watch SDL_mixer's calls without a device).
TEST(Media, WithoutAnAudioDeviceTheGameStartsSilentlyAndWhatPlaysSoundsDoesNothing) {
    enterTempCommon();
    startHeadlessSDL();
    closeSDL();
    setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    testing::internal::CaptureStdout();
    ASSERT_EQ(initializeSDL(), 0);
    EXPECT_EQ(loadMedia(), 0) << "the sounds are not wanted without a device";
    setVolumes();
    playNumberedMusic(2);
    pushKey(SDL_KEYDOWN, SDLK_DOWN);
    pushKey(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_EQ(displayTitleScreen(), kMenuSettings);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(out.find("Velmoor plays without sound") != std::string::npos &&
                std::count(out.begin(), out.end(), '\n') == 1)
        << out;
    EXPECT_TRUE(gAudioOpen == 0 && gMus == nullptr && std::count(gSnd, gSnd + kSoundSlots, nullptr) == kSoundSlots &&
                std::count(gTexture, gTexture + kTextureSlots, nullptr) == 0);
    closeSDL();
}
