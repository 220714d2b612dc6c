// A whole game's soundscape as the player hears it, mixed from the heard effects and the music.
#include "loudness/soundscape.h"

#include <algorithm>
#include <cstdio>

// One sound of the game: an effect slot or a piece of music, from start until it ends or the
// game halts it at stop (seconds; 0 lets it play out). Music and the sniff repeat until stop.
struct Cue {
    double start;
    double stop;
    int effect; // -1 for music
    int piece;
};

constexpr double kFramesToSeconds = 0.025;                // one frame of the game
constexpr double kStepEvery = 30 * kFramesToSeconds;      // walking: a stacked footstep every ten tracks
constexpr double kIndicatorAfter = 48 * kFramesToSeconds; // smelling shows its result on the 48th frame
constexpr double kDeathAt = 42;                           // the second shot: the death screen begins
constexpr double kEndPause = 1;                           // the end screen halts the effects after 1 s

// Title with two menu moves; the map: walking, a bite, a safe and a dangerous smell, two shots;
// the death screen; then (after another game) the victory screen.
static int listCues(Cue* cues, int capacity) {
    int count = 0;
    auto add = [&](double start, double stop, int effect, int piece) {
        if (count < capacity) {
            cues[count++] = {start, stop, effect, piece};
        }
    };
    add(0, 10, -1, 0);
    add(7.0, 0, 0, 0);
    add(7.4, 0, 0, 0);
    add(10, kDeathAt, -1, 1);
    const double walks[4][2] = {{10.5, 16}, {21, 25}, {28.5, 31}, {34, kDeathAt}};
    for (const auto& walk : walks) {
        for (double t = walk[0]; t < walk[1]; t += kStepEvery) {
            add(t, kDeathAt + kEndPause, kFootstepSlot, 0);
        }
    }
    add(16.5, 0, kEatingSlot, 0);
    add(25.5, 28, kSniffSlot, 0);
    add(25.5 + kIndicatorAfter, 0, kSafeSlot, 0);
    add(31.5, 33.5, kSniffSlot, 0);
    add(31.5 + kIndicatorAfter, 0, kDangerSlot, 0);
    add(36, 0, kGunshotSlot, 0);
    add(kDeathAt, kDeathAt + kEndPause, kGunshotSlot, 0);
    add(kDeathAt, 52, -1, 3);
    add(52, 62, -1, 2);
    return count;
}

// The stretch of source the cue plays, repeated when it must last longer than source.
static Audio playCue(const Cue& cue, const Audio& source, bool repeats) {
    const double length = lengthSeconds(source);
    const double seconds = cue.stop > 0 && (repeats || cue.stop - cue.start < length) ? cue.stop - cue.start : length;
    Audio played(static_cast<size_t>(seconds * kHeardRate) * kHeardChannels, 0.0f);
    for (size_t i = 0; i < played.size() && !source.empty(); ++i) {
        played[i] = source[i % source.size()];
    }
    return played;
}

int renderSoundscape(const Audio* effects, const std::vector<Audio>& music, const std::string& path) {
    Cue cues[64];
    const int count = listCues(cues, 64);
    Audio mix;
    Audio musicAlone;
    for (int i = 0; i < count; ++i) {
        const Cue& cue = cues[i];
        if (cue.effect < 0) {
            mixAudio(&musicAlone, playCue(cue, music[cue.piece], true), cue.start, 1);
            mixAudio(&mix, playCue(cue, music[cue.piece], true), cue.start, 1);
        } else {
            mixAudio(&mix, playCue(cue, effects[cue.effect], cue.effect == kSniffSlot), cue.start, 1);
        }
    }
    std::printf("soundscape  start s  LUFS  over the music\n");
    bool shown[kEffectCount] = {};
    for (int i = 0; i < count; ++i) {
        const Cue& cue = cues[i];
        const size_t from = static_cast<size_t>(cue.start * kHeardRate) * kHeardChannels;
        // Music is judged over its whole stretch, an effect against the 3 s of music from its start.
        const double until = cue.effect < 0 ? cue.stop : cue.start + kMusicWindowMs / 1000.0;
        const size_t to = std::min(musicAlone.size(), static_cast<size_t>(until * kHeardRate) * kHeardChannels);
        const Audio musicThen(musicAlone.begin() + static_cast<long>(from), musicAlone.begin() + static_cast<long>(to));
        const double musicLoudness = loudestLoudness(musicThen, kMusicWindowMs);
        if (cue.effect < 0) {
            std::printf("mus%02d %-8s %5.1f %6.1f\n", cue.piece, kPieceName[cue.piece], cue.start, musicLoudness);
        } else if (!shown[cue.effect]) {
            shown[cue.effect] = true;
            const double loudness = loudestLoudness(playCue(cue, effects[cue.effect], false), kEffectWindowMs);
            std::printf("snd%02d %-8s %5.1f %6.1f %8.1f dB\n", cue.effect, kEffectName[cue.effect], cue.start, loudness,
                        loudness - musicLoudness);
        }
    }
    std::printf("the mix peaks at %.1f dBFS\n", peakDb(mix));
    return writeSound(path, mix);
}
