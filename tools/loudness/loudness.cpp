// The game's media as the player hears them, and their loudness: libsndfile reads and writes the
// sounds, FluidSynth renders the music, libebur128 K-weights, FFTW splits the energy by frequency.
#include "loudness/loudness.h"

#include <ebur128.h>
#include <fftw3.h>
#include <fluidsynth.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

// The mixer hands FluidSynth a gain of 1.2 at full music volume.
constexpr double kFullMusicGain = 1.2;
constexpr int kRenderBlock = 4096; // frames rendered at a time

int readSound(const std::string& path, Audio* audio) {
    SF_INFO info = {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        std::printf("Cannot read %s: %s\n", path.c_str(), sf_strerror(nullptr));
        return 1;
    }
    if (info.samplerate != kHeardRate || info.channels < 1 || info.channels > kHeardChannels) {
        std::printf("%s is not mono or stereo at %d Hz; make it again with make_assets\n", path.c_str(), kHeardRate);
        sf_close(file);
        return 1;
    }
    std::vector<float> read(static_cast<size_t>(info.frames * info.channels));
    sf_count_t frames = sf_readf_float(file, read.data(), info.frames);
    sf_close(file);
    audio->assign(static_cast<size_t>(frames) * kHeardChannels, 0.0f);
    for (sf_count_t i = 0; i < frames; ++i) {
        for (int c = 0; c < kHeardChannels; ++c) {
            (*audio)[i * kHeardChannels + c] = read[i * info.channels + std::min(c, info.channels - 1)];
        }
    }
    return 0;
}

int hearEffect(const std::string& commonDir, int slot, Audio* audio) {
    char name[16];
    std::snprintf(name, sizeof name, "snd%02d.wav", slot);
    Audio sound;
    if (slot < 0 || slot >= kEffectCount || readSound(commonDir + "/" + name, &sound) != 0) {
        return 1;
    }
    const float gain = static_cast<float>(kSoundVolume[slot]) / kMaxVolume;
    audio->clear();
    if (slot == kFootstepSlot) {
        mixAudio(audio, sound, 0, 2 * gain);
        mixAudio(audio, sound, static_cast<double>(kMixerChunk) / kHeardRate, gain);
    } else {
        mixAudio(audio, sound, 0, gain);
    }
    return 0;
}

int renderMusic(const std::vector<std::string>& paths, std::vector<Audio>* pieces) {
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", kHeardRate);
    fluid_settings_setnum(settings, "synth.gain", kFullMusicGain * kMusicVolume / kMaxVolume);
    fluid_synth_t* synth = new_fluid_synth(settings);
    int failures = 0;
    if (synth == nullptr || fluid_synth_sfload(synth, kSoundFontPath, 1) == FLUID_FAILED) {
        std::printf("Cannot load the soundfont %s: install timgm6mb-soundfont\n", kSoundFontPath);
        failures = 1;
    }
    pieces->assign(paths.size(), Audio());
    for (size_t p = 0; p < paths.size() && failures == 0; ++p) {
        fluid_synth_system_reset(synth);
        fluid_player_t* player = new_fluid_player(synth);
        if (fluid_player_add(player, paths[p].c_str()) != FLUID_OK || fluid_player_play(player) != FLUID_OK) {
            std::printf("Cannot play %s: is it a MIDI file?\n", paths[p].c_str());
            failures = 1;
        }
        Audio& piece = (*pieces)[p];
        while (failures == 0 && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING) {
            const size_t at = piece.size();
            piece.resize(at + kRenderBlock * kHeardChannels);
            fluid_synth_write_float(synth, kRenderBlock, piece.data() + at, 0, kHeardChannels, piece.data() + at, 1,
                                    kHeardChannels);
        }
        delete_fluid_player(player);
        if (failures == 0 && (*pieces)[p].empty()) {
            std::printf("%s plays nothing: is it a MIDI file?\n", paths[p].c_str());
            failures = 1;
        }
    }
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return failures;
}

double loudestLoudness(const Audio& audio, int windowMs) {
    ebur128_state* state = ebur128_init(kHeardChannels, kHeardRate, EBUR128_MODE_S);
    if (state == nullptr || windowMs < 10) {
        return kSilenceDb;
    }
    ebur128_set_max_window(state, static_cast<unsigned long>(std::max(windowMs, 3000)));
    const size_t hop = static_cast<size_t>(kHeardRate) * windowMs / 10000; // a tenth of the window
    const size_t frames = audio.size() / kHeardChannels;
    double loudest = kSilenceDb;
    for (size_t at = 0; at < frames; at += hop) {
        ebur128_add_frames_float(state, audio.data() + at * kHeardChannels, std::min(hop, frames - at));
        double loudness = kSilenceDb;
        ebur128_loudness_window(state, static_cast<unsigned long>(windowMs), &loudness);
        loudest = std::max(loudest, loudness);
    }
    ebur128_destroy(&state);
    return loudest;
}

static double toDb(double level) { return level > 0 ? 20 * std::log10(level) : kSilenceDb; }

static double peakOf(const float* begin, const float* end) {
    double peak = 0;
    for (const float* s = begin; s < end; ++s) {
        peak = std::max(peak, static_cast<double>(std::fabs(*s)));
    }
    return peak;
}

double peakDb(const Audio& audio) { return toDb(peakOf(audio.data(), audio.data() + audio.size())); }

double energyShare(const Audio& audio, double lowHz, double highHz) {
    const int frames = static_cast<int>(audio.size() / kHeardChannels);
    if (frames < 2) {
        return 0;
    }
    std::vector<double> mono(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        mono[i] = 0.5 * (audio[2 * i] + audio[2 * i + 1]);
    }
    const int bins = frames / 2 + 1;
    fftw_complex* spectrum = fftw_alloc_complex(static_cast<size_t>(bins));
    fftw_plan plan = fftw_plan_dft_r2c_1d(frames, mono.data(), spectrum, FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    double total = 0;
    double inside = 0;
    for (int bin = 1; bin < bins; ++bin) {
        const double energy = spectrum[bin][0] * spectrum[bin][0] + spectrum[bin][1] * spectrum[bin][1];
        const double hz = static_cast<double>(bin) * kHeardRate / frames;
        total += energy;
        inside += hz >= lowHz && hz < highHz ? energy : 0;
    }
    fftw_free(spectrum);
    return total > 0 ? inside / total : 0;
}

double tailUnderPeakDb(const Audio& audio, double seconds) {
    const size_t tail = std::min(audio.size(), static_cast<size_t>(seconds * kHeardRate) * kHeardChannels);
    const float* end = audio.data() + audio.size();
    return peakDb(audio) - toDb(peakOf(end - tail, end));
}

double lengthSeconds(const Audio& audio) { return static_cast<double>(audio.size()) / kHeardChannels / kHeardRate; }

void mixAudio(Audio* target, const Audio& source, double startSeconds, double gain) {
    const size_t start = static_cast<size_t>(startSeconds * kHeardRate) * kHeardChannels;
    if (target->size() < start + source.size()) {
        target->resize(start + source.size(), 0.0f);
    }
    for (size_t i = 0; i < source.size(); ++i) {
        (*target)[start + i] += static_cast<float>(gain * source[i]);
    }
}

int writeSound(const std::string& path, const Audio& audio) {
    SF_INFO info = {};
    info.samplerate = kHeardRate;
    info.channels = kHeardChannels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        std::printf("Cannot write %s: %s\n", path.c_str(), sf_strerror(nullptr));
        return 1;
    }
    // Samples past full scale clip, as the mixer clips them.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const sf_count_t frames = static_cast<sf_count_t>(audio.size() / kHeardChannels);
    const bool written = sf_writef_float(file, audio.data(), frames) == frames;
    if (sf_close(file) != 0 || !written) {
        std::printf("Cannot write %s: the disk may be full\n", path.c_str());
        return 1;
    }
    return 0;
}
