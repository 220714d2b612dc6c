// `measure_loudness [COMMONDIR] [--soundscape FILE.wav]`: prints the loudness of every effect and
// piece of music as the player hears them, and can render a whole game's soundscape to listen to.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "loudness/loudness.h"
#include "loudness/soundscape.h"

int main(int argc, char** argv) {
    std::string commonDir = "Common";
    std::string soundscapePath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--soundscape") == 0 && i + 1 < argc) {
            soundscapePath = argv[++i];
        } else if (argv[i][0] != '-') {
            commonDir = argv[i];
        } else {
            std::printf("Usage: measure_loudness [COMMONDIR] [--soundscape FILE.wav]\n");
            return 2;
        }
    }
    Audio effects[kEffectCount];
    double loudness[kEffectCount];
    std::printf("effect       volume   LUFS  peak dBFS  seconds  >1 kHz  200 Hz-5 kHz  tail under peak\n");
    for (int slot = 0; slot < kEffectCount; ++slot) {
        if (hearEffect(commonDir, slot, &effects[slot]) != 0) {
            return 1;
        }
        loudness[slot] = loudestLoudness(effects[slot], kEffectWindowMs);
        std::printf("snd%02d %-9s %4d %7.1f %9.1f %8.2f %6.0f%% %12.0f%% %13.0f dB\n", slot, kEffectName[slot],
                    kSoundVolume[slot], loudness[slot], peakDb(effects[slot]), lengthSeconds(effects[slot]),
                    100 * energyShare(effects[slot], 1000, kHeardRate), 100 * energyShare(effects[slot], 200, 5000),
                    tailUnderPeakDb(effects[slot], 0.05));
    }
    double sorted[kEffectCount];
    std::copy(loudness, loudness + kEffectCount, sorted);
    std::sort(sorted, sorted + kEffectCount);
    const double median = sorted[kEffectCount / 2];
    std::printf("effects: %.1f dB from quietest to loudest, median %.1f LUFS, gunshot %.1f dB under the loudest\n",
                sorted[kEffectCount - 1] - sorted[0], median, sorted[kEffectCount - 1] - loudness[kGunshotSlot]);

    std::vector<std::string> paths;
    for (int piece = 0; piece < kPieceCount; ++piece) {
        char name[16];
        std::snprintf(name, sizeof name, "/mus%02d.mid", piece);
        paths.push_back(commonDir + name);
    }
    std::vector<Audio> music;
    if (renderMusic(paths, &music) != 0) {
        return 1;
    }
    std::printf("music        LUFS  under the effects' median  peak dBFS  seconds\n");
    for (int piece = 0; piece < kPieceCount; ++piece) {
        const double pieceLoudness = loudestLoudness(music[piece], kMusicWindowMs);
        std::printf("mus%02d %-7s %5.1f %15.1f dB %14.1f %8.1f\n", piece, kPieceName[piece], pieceLoudness,
                    median - pieceLoudness, peakDb(music[piece]), lengthSeconds(music[piece]));
    }
    if (!soundscapePath.empty()) {
        return renderSoundscape(effects, music, soundscapePath);
    }
    return 0;
}
