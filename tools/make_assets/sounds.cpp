// The sound effects snd00.wav .. snd06.wav, synthesised: blip, footstep, danger, sniff, munching,
// safe chime and gunshot, levelled as the player hears them at the game's mixer volumes.
#include "assets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "game/startup.h"

constexpr double kRate = 44100.0;
constexpr double kPi = 3.14159265358979323846;

// Each sound is levelled as the game plays it: scaled by its mixer volume (of kFullVolume) and,
// for the footstep, stacked as the deer starts it (three walking frames: two copies at once, a
// third one mixer chunk later). The level is the RMS of the loudest 50 ms of that, in dB of full
// scale; the targets in makeSounds are tuned with measure_loudness, which K-weights.
constexpr double kWindowSeconds = 0.05;
constexpr int kFullVolume = 128;
constexpr size_t kMixerChunk = 2048; // frames
constexpr double kPeakLimit = 0.88;  // about -1.1 dBFS, in the file and as heard
constexpr double kFadeInSeconds = 0.004;
constexpr double kFadeOutSeconds = 0.02;

using Samples = std::vector<double>;

static Samples silence(double seconds) { return Samples(static_cast<size_t>(seconds * kRate), 0.0); }

static double noise(Rng& rng) { return 2.0 * randomUnit(rng) - 1.0; }

// Resonant band-pass (constant peak gain), applied in place.
static void bandPass(Samples& s, double centre, double q) {
    double w = 2 * kPi * centre / kRate;
    double alpha = std::sin(w) / (2 * q);
    double b0 = alpha, b2 = -alpha;
    double a0 = 1 + alpha, a1 = -2 * std::cos(w), a2 = 1 - alpha;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (double& v : s) {
        double y = (b0 * v + b2 * x2 - a1 * y1 - a2 * y2) / a0;
        x2 = x1;
        x1 = v;
        y2 = y1;
        y1 = y;
        v = y;
    }
}

static void lowPass(Samples& s, double cutoff) {
    double a = 1 - std::exp(-2 * kPi * cutoff / kRate);
    double y = 0;
    for (double& v : s) {
        y += a * (v - y);
        v = y;
    }
}

static void highPass(Samples& s, double cutoff) {
    Samples low = s;
    lowPass(low, cutoff);
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] -= low[i];
    }
}

static void mixInto(Samples& target, const Samples& source, double startSeconds, double gain) {
    size_t start = static_cast<size_t>(startSeconds * kRate);
    for (size_t i = 0; i < source.size() && start + i < target.size(); ++i) {
        target[start + i] += gain * source[i];
    }
}

// Attack then exponential decay with the given time constant.
static double pluck(double t, double attack, double decay) {
    if (t < 0) {
        return 0;
    }
    return (t < attack ? t / attack : 1.0) * std::exp(-std::max(0.0, t - attack) / decay);
}

// Scatters count grains of noise (clicks that ring for about decay samples) between from and to
// seconds, crowded towards from; each grain's size falls by fade over the stretch (0 not at all,
// 1 to nothing; below 0 it grows).
static void addGrains(Samples& s, Rng& rng, int count, double from, double to, double decay, double fade) {
    for (int k = 0; k < count; ++k) {
        double u = randomUnit(rng);
        double size = randomRange(rng, 0.3, 1.0) * (1.0 - fade * u);
        size_t at = static_cast<size_t>((from + (to - from) * u * u) * kRate);
        size_t length = static_cast<size_t>(6 * decay);
        for (size_t i = 0; i < length && at + i < s.size(); ++i) {
            s[at + i] += size * noise(rng) * std::exp(-static_cast<double>(i) / decay);
        }
    }
}

static double loudestWindowRms(const Samples& s) {
    const size_t window = static_cast<size_t>(kWindowSeconds * kRate);
    const size_t hop = window / 5;
    double best = 0;
    for (size_t start = 0; start + window <= s.size(); start += hop) {
        double sum = 0;
        for (size_t i = start; i < start + window; ++i) {
            sum += s[i] * s[i];
        }
        best = std::max(best, std::sqrt(sum / window));
    }
    return best;
}

static double peakOf(const Samples& s) {
    double peak = 0;
    for (double v : s) {
        peak = std::max(peak, std::fabs(v));
    }
    return peak;
}

// Fades the ends, levels the sound as heard at volume (stacked like the footstep when asked) to
// heardDb, keeps its peaks under kPeakLimit in the file and as heard, and writes 16-bit mono.
static int finishSound(const std::string& path, Samples s, int volume, double heardDb, bool stacked) {
    const size_t fadeIn = static_cast<size_t>(kFadeInSeconds * kRate);
    const size_t fadeOut = static_cast<size_t>(kFadeOutSeconds * kRate);
    for (size_t i = 0; i < fadeIn && i < s.size(); ++i) {
        s[i] *= static_cast<double>(i) / fadeIn;
    }
    for (size_t i = 0; i < fadeOut && i < s.size(); ++i) {
        s[s.size() - 1 - i] *= static_cast<double>(i) / fadeOut;
    }
    const double scale = static_cast<double>(volume) / kFullVolume;
    Samples heard(s.size() + (stacked ? kMixerChunk : 0), 0.0);
    for (size_t i = 0; i < s.size(); ++i) {
        heard[i] += scale * s[i] * (stacked ? 2 : 1);
        if (stacked) {
            heard[i + kMixerChunk] += scale * s[i];
        }
    }
    const double rms = loudestWindowRms(heard);
    const double peak = std::max(peakOf(s), peakOf(heard));
    double gain = rms > 0 ? std::pow(10.0, heardDb / 20) / rms : 1.0;
    if (peak * gain > kPeakLimit) {
        gain = kPeakLimit / peak;
        std::printf("make_assets: %s is held at its peak limit (%.1f dB under its level)\n", path.c_str(),
                    20 * std::log10(std::pow(10.0, heardDb / 20) / rms / gain));
    }
    std::vector<int16_t> pcm(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        pcm[i] = static_cast<int16_t>(std::lround(std::clamp(s[i] * gain, -1.0, 1.0) * 32767));
    }
    return writeWav(path, pcm, 1);
}

// A short rising blip.
static Samples menuBlip() {
    Samples s = silence(0.15);
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = i / kRate;
        double f = 760 + 380 * std::min(1.0, t / 0.03);
        phase += 2 * kPi * f / kRate;
        s[i] = pluck(t, 0.003, 0.05) * (std::sin(phase) + 0.18 * std::sin(2 * phase));
    }
    return s;
}

// A step in snow: a short, soft crunch of ice grains breaking under the hoof over a faint press.
// It is front-loaded and short, so the game's three stacked copies blur into one step.
static Samples footstep() {
    Rng rng = {5101};
    Samples grains = silence(0.2);
    addGrains(grains, rng, 70, 0.004, 0.13, 10, 0.6);
    Samples bright = grains;
    bandPass(bright, 3400, 0.8);
    Samples body = grains;
    bandPass(body, 1500, 1.1);
    Samples press = silence(0.2);
    for (size_t i = 0; i < press.size(); ++i) {
        press[i] = noise(rng) * pluck(i / kRate, 0.006, 0.03);
    }
    lowPass(press, 300);
    lowPass(press, 300);
    Samples s = silence(0.2);
    mixInto(s, bright, 0, 1.0);
    mixInto(s, body, 0, 0.6);
    mixInto(s, press, 0, 1.2);
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] *= pluck(i / kRate, 0.002, 0.07);
    }
    lowPass(s, 7000); // soft, not hissing
    return s;
}

// An alarm sting that carries on small speakers: a bright, shivering stab in the middle register
// (a minor second over a tritone), a high tremolo of strings above it and a dull hit below.
static Samples dangerSting() {
    Rng rng = {5201};
    Samples s = silence(1.3);
    const double notes[3] = {293.66, 311.13, 415.30}; // D4, Eb4, Ab4
    double phases[3] = {0, 0, 0};
    for (size_t i = 0; i < s.size(); ++i) {
        double t = i / kRate;
        double shiver = 1 + 0.004 * std::sin(2 * kPi * 6.5 * t);
        double v = 0;
        for (int n = 0; n < 3; ++n) {
            phases[n] += 2 * kPi * notes[n] * shiver / kRate;
            for (int h = 1; h <= 10; ++h) {
                v += std::sin(h * phases[n]) / h;
            }
        }
        double high = std::sin(2 * kPi * 1174.66 * t) + std::sin(2 * kPi * 1244.51 * t);
        double tremolo = 0.5 + 0.5 * std::sin(2 * kPi * 13 * t);
        s[i] = v * pluck(t, 0.012, 0.4) + 0.5 * high * tremolo * pluck(t, 0.25, 0.35);
    }
    lowPass(s, 3500);
    Samples hit = silence(0.3);
    for (size_t i = 0; i < hit.size(); ++i) {
        double t = i / kRate;
        hit[i] = 0.6 * noise(rng) * pluck(t, 0.002, 0.04) + std::sin(2 * kPi * 73.42 * t) * pluck(t, 0.004, 0.09);
    }
    lowPass(hit, 500);
    mixInto(s, hit, 0, 3.0);
    return s;
}

// Two quick breathy sniffs and a pause; silent at both ends so that the loop has no seam.
static Samples sniffLoop() {
    Rng rng = {5301};
    Samples s = silence(0.8);
    const double starts[2] = {0.04, 0.27};
    for (double start : starts) {
        Samples breath = silence(0.17);
        for (size_t i = 0; i < breath.size(); ++i) {
            double t = i / kRate;
            double shape = std::sin(kPi * t / 0.17);
            breath[i] = noise(rng) * shape * shape * (0.7 + 0.3 * std::sin(2 * kPi * 23 * t));
        }
        bandPass(breath, 3200, 0.7);
        Samples body = breath;
        bandPass(body, 1100, 1.2);
        mixInto(s, breath, start, 1.0);
        mixInto(s, body, start, 0.6);
    }
    return s;
}

// One chew: a crackle of grass fibres as the jaw closes over a soft thump, then a quieter grind
// as it slides.
static Samples chew(Rng& rng, double strength) {
    Samples crunch = silence(0.3);
    addGrains(crunch, rng, 50, 0.0, 0.12, 30, 0.5);
    bandPass(crunch, 1700, 0.8);
    Samples grind = silence(0.3);
    addGrains(grind, rng, 40, 0.1, 0.26, 60, 0.3);
    bandPass(grind, 1100, 1.2);
    Samples s = silence(0.3);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = i / kRate;
        double jaw = std::sin(2 * kPi * 140 * t) * pluck(t, 0.004, 0.03);
        s[i] = strength * (crunch[i] * pluck(t, 0.006, 0.06) + 0.4 * grind[i] * std::sin(kPi * std::min(1.0, t / 0.3)) +
                           0.2 * jaw);
    }
    return s;
}

// A whole bite, as long as the deer eats one tile: the grass torn off, then steady chews that
// soften as it is ground down, the last one dying away before the end.
static Samples munching() {
    Rng rng = {5401};
    Samples s = silence(4.1);
    Samples tear = silence(0.4);
    addGrains(tear, rng, 110, 0.0, 0.3, 20, -0.6);
    bandPass(tear, 2300, 0.9);
    mixInto(s, tear, 0.02, 0.8);
    int count = 0;
    for (double t = 0.45; t < 3.8; t += 0.33 + randomRange(rng, -0.02, 0.02)) {
        double strength = (1.0 - 0.3 * t / 3.8) * (count % 2 == 0 ? 1.0 : 0.8);
        mixInto(s, chew(rng, strength), t, 1.0);
        ++count;
    }
    return s;
}

// A soft bell: two strokes of inharmonic partials that die away well before the sound ends.
static Samples safeChime() {
    Samples s = silence(1.6);
    const double strokes[2][2] = {{0.0, 880.0}, {0.14, 1318.5}};
    const double partials[4][3] = {{1.0, 1.0, 0.5}, {2.76, 0.35, 0.3}, {5.40, 0.16, 0.18}, {8.93, 0.06, 0.1}};
    for (const auto& stroke : strokes) {
        for (size_t i = 0; i < s.size(); ++i) {
            double t = i / kRate - stroke[0];
            if (t < 0) {
                continue;
            }
            double v = 0;
            for (const auto& p : partials) {
                v += p[1] * std::sin(2 * kPi * stroke[1] * p[0] * t) * pluck(t, 0.004, p[2]);
            }
            s[i] += v * (stroke[0] > 0 ? 0.8 : 1.0);
        }
    }
    // The last 0.45 s are damped to silence.
    const size_t damp = static_cast<size_t>(0.45 * kRate);
    for (size_t i = 0; i < damp; ++i) {
        s[s.size() - damp + i] *= 0.5 + 0.5 * std::cos(kPi * i / damp);
    }
    return s;
}

// The hunter's shot: a sharp crack, the blast and boom of the charge, then its echo rolling back
// from the forest, dulled by the snow and mostly gone within the second after which the death
// screen halts it.
static Samples gunshot() {
    Rng rng = {5601};
    Samples s = silence(1.4);
    Samples crack = silence(0.02);
    for (size_t i = 0; i < crack.size(); ++i) {
        crack[i] = noise(rng) * pluck(i / kRate, 0.0003, 0.003);
    }
    highPass(crack, 1200);
    Samples blast = silence(0.5);
    for (size_t i = 0; i < blast.size(); ++i) {
        blast[i] = noise(rng) * pluck(i / kRate, 0.001, 0.035);
    }
    lowPass(blast, 2500);
    lowPass(blast, 5000);
    highPass(blast, 300);
    Samples boom = silence(1.0);
    double phase = 0;
    for (size_t i = 0; i < boom.size(); ++i) {
        double t = i / kRate;
        phase += 2 * kPi * (45 + 45 * std::exp(-t / 0.04)) / kRate;
        boom[i] = std::sin(phase) * pluck(t, 0.002, 0.18) + 0.6 * noise(rng) * pluck(t, 0.003, 0.25);
    }
    lowPass(boom, 250);
    Samples shot = silence(1.4);
    mixInto(shot, crack, 0, 2.0);
    mixInto(shot, blast, 0, 5.0);
    mixInto(shot, boom, 0, 0.6);
    // The charge overdrives the air: a soft limit keeps it dense and bright.
    for (double& v : shot) {
        v = std::tanh(1.2 * v);
    }
    Samples echo = silence(1.4);
    for (size_t i = 0; i < echo.size(); ++i) {
        double t = i / kRate;
        echo[i] = noise(rng) *
                  (pluck(t - 0.21, 0.02, 0.08) + 0.5 * pluck(t - 0.47, 0.03, 0.1) + 0.25 * pluck(t - 0.15, 0.1, 0.22));
    }
    lowPass(echo, 900);
    lowPass(echo, 900);
    mixInto(s, shot, 0, 1.0);
    mixInto(s, echo, 0, 1.6);
    return s;
}

int makeSounds(const std::string& outDir) {
    // Each at the game's own volume (kSoundVolume). The levels as heard put every effect within
    // 5 dB of K-weighted loudness, the gunshot on top (about -18.5 LUFS on its loudest 100 ms) and
    // the danger sting next; the footstep, heard often, and the looping sniff sit lowest with the
    // menu blip (about -23 LUFS).
    int failures = 0;
    failures += finishSound(outDir + "snd00.wav", menuBlip(), kSoundVolume[0], -24, false);
    failures += finishSound(outDir + "snd01.wav", footstep(), kSoundVolume[1], -25.7, true);
    failures += finishSound(outDir + "snd02.wav", dangerSting(), kSoundVolume[2], -21.1, false);
    failures += finishSound(outDir + "snd03.wav", sniffLoop(), kSoundVolume[3], -27.5, false);
    failures += finishSound(outDir + "snd04.wav", munching(), kSoundVolume[4], -24.7, false);
    failures += finishSound(outDir + "snd05.wav", safeChime(), kSoundVolume[5], -25.4, false);
    failures += finishSound(outDir + "snd06.wav", gunshot(), kSoundVolume[6], -19.8, false);
    return failures;
}
