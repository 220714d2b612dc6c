// The media generator: `make_assets OUTDIR` draws, synthesises and composes every image, sound
// and tune of the game into OUTDIR, byte for byte the same on every run; `make_assets --icons
// OUTDIR` draws the desktop icons instead, as a hicolor theme tree.
#include "assets.h"
#include "icons.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

int main(int argc, char** argv) {
    const bool icons = argc == 3 && std::string(argv[1]) == "--icons";
    const bool media = argc == 2 && argv[1][0] != '-';
    if (!icons && !media) {
        std::printf("Usage: make_assets OUTDIR   or   make_assets --icons OUTDIR\n");
        return 2;
    }
    std::string outDir = argv[argc - 1];
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (error) {
        std::printf("make_assets: cannot create %s: %s\n", outDir.c_str(), error.message().c_str());
        return 1;
    }
    if (!outDir.empty() && outDir.back() != '/') {
        outDir += '/';
    }
    int failures = 0;
    if (icons) {
        failures += makeDesktopIcons(outDir);
    } else {
        failures += makeSprites(outDir);
        failures += makeTiles(outDir);
        failures += makeScreens(outDir);
        failures += makeSounds(outDir);
        failures += makeMusic(outDir);
    }
    if (failures != 0) {
        std::printf("make_assets: %d file(s) could not be written\n", failures);
        return 1;
    }
    return 0;
}
