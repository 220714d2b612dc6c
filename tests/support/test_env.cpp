// Helpers for in-process tests: a private copy of Common/, headless SDL, pixels read back.
#include "support/test_env.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "game/startup.h"
#include "render/media.h"

namespace fs = std::filesystem;

static fs::path CommonCopy; // the Common/ copy of the running test, replaced by each enterTempCommon

std::string enterTempCommon(const char* const* files, int fileCount) {
    char pattern[] = "/tmp/velmoor-test-XXXXXX";
    EXPECT_NE(mkdtemp(pattern), nullptr);
    const fs::path base(pattern);
    const fs::path source = fs::path(VELMOOR_SOURCE_DIR) / "Common";
    CommonCopy = base / "Common";
    fs::create_directories(CommonCopy);
    fs::create_directories(base / "run");
    if (fileCount == 0) {
        fs::copy(source, CommonCopy);
        fs::remove(CommonCopy / "Settings.bin"); // a run of the game may have left one
    }
    for (int i = 0; i < fileCount; i++) {
        fs::copy_file(source / files[i], CommonCopy / files[i]);
    }
    EXPECT_EQ(chdir((base / "run").c_str()), 0);
    return CommonCopy.string();
}

void writeCommonFile(const std::string& name, const std::string& text) {
    std::ofstream(CommonCopy / name, std::ios::binary) << text;
}

void startHeadlessSDL() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    if (gRenderer == nullptr) {
        ASSERT_EQ(initializeSDL(), 0) << SDL_GetError();
        fixRenderSizes();
    }
}

void loadHeadlessMedia() {
    for (SDL_Texture*& texture : gTexture) {
        SDL_DestroyTexture(texture);
        texture = nullptr;
    }
    for (Mix_Chunk*& sound : gSnd) {
        Mix_FreeChunk(sound);
        sound = nullptr;
    }
    ASSERT_EQ(loadMedia(), 0);
}

SDL_Color readPixel(int x, int y) {
    Uint32 pixel = 0;
    SDL_Rect rect{x, y, 1, 1};
    SDL_RenderReadPixels(gRenderer, &rect, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
    return SDL_Color{Uint8(pixel >> 16), Uint8(pixel >> 8), Uint8(pixel), Uint8(pixel >> 24)};
}

void pushKey(SDL_EventType type, SDL_Keycode key, int repeat) {
    SDL_Event event{};
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = Uint8(repeat);
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

void installCodedSheet(int slot, int columns, int rows, int cellWidth, int cellHeight, Uint8 blue) {
    startHeadlessSDL();
    SDL_Surface* sheet =
        SDL_CreateRGBSurfaceWithFormat(0, columns * cellWidth, rows * cellHeight, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int i = 0; i < columns * rows; i++) {
        SDL_Rect cell{i % columns * cellWidth, i / columns * cellHeight, cellWidth, cellHeight};
        SDL_FillRect(sheet, &cell,
                     SDL_MapRGB(sheet->format, Uint8(3 * (i % columns) + 1), Uint8(8 * (i / columns) + 1), blue));
    }
    SDL_DestroyTexture(gTexture[slot]);
    gTexture[slot] = SDL_CreateTextureFromSurface(gRenderer, sheet);
    SDL_FreeSurface(sheet);
    SDL_RenderClear(gRenderer);
}

int codedCellAt(int x, int y, Uint8 blue) {
    const SDL_Color c = readPixel(x, y);
    return c.b == blue ? (c.r - 1) / 3 * 100 + (c.g - 1) / 8 : -1;
}
