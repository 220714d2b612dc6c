// The sound effects snd00.wav .. snd06.wav, synthesised: blip, footstep, danger, sniff, munching,
// safe chime and gunshot, levelled so that they sound even at the game's mixer volumes.
#include "assets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

constexpr double kRate = 44100.0;
constexpr double kPi = 3.14159265358979323846;

// Loudness is levelled on the loudest 50 ms of each sound. The game plays the menu sound at
// volume 25, eating at 128 and the rest at 50 (of 128), so their own levels are set against that.
constexpr double kWindowSeconds = 0.05;
constexpr double kTargetDb = -17.0;                                              // sounds played at volume 50
static const double kMenuTargetDb = kTargetDb + 20 * std::log10(50.0 / 25.0);    // 6 dB more
static const double kEatingTargetDb = kTargetDb - 20 * std::log10(128.0 / 50.0); // 8.2 dB less
constexpr double kPeakLimit = 0.84;                                              // about -1.5 dBFS
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

// Fades the ends, levels the sound and writes it as 16-bit mono.
static int finishSound(const std::string& path, Samples s, double targetDb) {
    const size_t fadeIn = static_cast<size_t>(kFadeInSeconds * kRate);
    const size_t fadeOut = static_cast<size_t>(kFadeOutSeconds * kRate);
    for (size_t i = 0; i < fadeIn && i < s.size(); ++i) {
        s[i] *= static_cast<double>(i) / fadeIn;
    }
    for (size_t i = 0; i < fadeOut && i < s.size(); ++i) {
        s[s.size() - 1 - i] *= static_cast<double>(i) / fadeOut;
    }
    double rms = loudestWindowRms(s);
    double peak = 0;
    for (double v : s) {
        peak = std::max(peak, std::fabs(v));
    }
    double gain = rms > 0 ? std::pow(10.0, targetDb / 20) / rms : 1.0;
    if (peak * gain > kPeakLimit) {
        gain = kPeakLimit / peak;
        std::printf("make_assets: %s is held at its peak limit (%.1f dB under its loudness target)\n", path.c_str(),
                    20 * std::log10(std::pow(10.0, targetDb / 20) / rms / gain));
    }
    std::vector<int16_t> pcm(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        pcm[i] = static_cast<int16_t>(std::lround(std::clamp(s[i] * gain, -1.0, 1.0) * 32767));
    }
    return writeWav(path, pcm, 1);
}

static Samples menuBlip() {
    Samples s = silence(0.09);
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = i / kRate;
        double f = 760 + 380 * std::min(1.0, t / 0.03);
        phase += 2 * kPi * f / kRate;
        s[i] = pluck(t, 0.003, 0.025) * (std::sin(phase) + 0.18 * std::sin(2 * phase));
    }
    return s;
}

// Soft crunch: a dull press into the snow under a spray of tiny ice grains.
static Samples footstep() {
    Rng rng = {5101};
    Samples thud = silence(0.22);
    for (size_t i = 0; i < thud.size(); ++i) {
        thud[i] = noise(rng) * pluck(i / kRate, 0.01, 0.04);
    }
    lowPass(thud, 350);
    lowPass(thud, 350);
    Samples grains = silence(0.22);
    for (int k = 0; k < 38; ++k) {
        double start = randomRange(rng, 0.005, 0.13);
        double size = randomRange(rng, 0.3, 1.0);
        size_t at = static_cast<size_t>(start * kRate);
        for (size_t i = 0; i < 90 && at + i < grains.size(); ++i) {
            grains[at + i] += size * noise(rng) * std::exp(-static_cast<double>(i) / 18);
        }
    }
    bandPass(grains, 2600, 0.9);
    for (size_t i = 0; i < grains.size(); ++i) {
        grains[i] *= pluck(i / kRate, 0.004, 0.06);
    }
    Samples s = silence(0.22);
    mixInto(s, thud, 0, 3.0);
    mixInto(s, grains, 0, 1.0);
    return s;
}

// A low, dissonant sting: a minor second and a tritone in the bass, swelling then dying.
static Samples dangerSting() {
    Rng rng = {5201};
    Samples s = silence(1.3);
    const double notes[3] = {98.0, 103.8, 138.6};
    for (size_t i = 0; i < s.size(); ++i) {
        double t = i / kRate;
        double v = 0;
        for (double f : notes) {
            for (int h = 1; h <= 7; ++h) {
                v += std::sin(2 * kPi * f * h * t * (1 + 0.0015 * std::sin(2 * kPi * 5.5 * t))) / (h * 1.3);
            }
        }
        s[i] = v * pluck(t, 0.03, 0.45);
    }
    lowPass(s, 900);
    Samples hit = silence(0.15);
    for (size_t i = 0; i < hit.size(); ++i) {
        hit[i] = noise(rng) * pluck(i / kRate, 0.002, 0.03);
    }
    lowPass(hit, 600);
    mixInto(s, hit, 0, 4.0);
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

// Four crunchy chews, each a burst of grainy crackle over a soft jaw thump.
static Samples munching() {
    Rng rng = {5401};
    Samples s = silence(1.25);
    const double chews[4] = {0.03, 0.33, 0.62, 0.92};
    for (double start : chews) {
        Samples crunch = silence(0.2);
        for (int k = 0; k < 60; ++k) {
            size_t at = static_cast<size_t>(randomRange(rng, 0.0, 0.12) * kRate);
            double size = randomRange(rng, 0.2, 1.0);
            for (size_t i = 0; i < 140 && at + i < crunch.size(); ++i) {
                crunch[at + i] += size * noise(rng) * std::exp(-static_cast<double>(i) / 30);
            }
        }
        bandPass(crunch, 1700, 0.8);
        for (size_t i = 0; i < crunch.size(); ++i) {
            crunch[i] *= pluck(i / kRate, 0.006, 0.06);
        }
        Samples jaw = silence(0.2);
        for (size_t i = 0; i < jaw.size(); ++i) {
            double t = i / kRate;
            jaw[i] = std::sin(2 * kPi * 120 * t) * pluck(t, 0.004, 0.035);
        }
        mixInto(s, crunch, start, 1.0);
        mixInto(s, jaw, start, 0.35);
    }
    return s;
}

// A soft bell: two strokes of inharmonic partials with long decays.
static Samples safeChime() {
    Samples s = silence(1.45);
    const double strokes[2][2] = {{0.0, 880.0}, {0.14, 1318.5}};
    const double partials[4][3] = {{1.0, 1.0, 0.9}, {2.76, 0.35, 0.45}, {5.40, 0.16, 0.25}, {8.93, 0.06, 0.15}};
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
    return s;
}

// A sharp crack, the boom of the charge and its rolling echo.
static Samples gunshot() {
    Rng rng = {5601};
    Samples s = silence(1.4);
    Samples crack = silence(0.03);
    for (size_t i = 0; i < crack.size(); ++i) {
        crack[i] = noise(rng) * pluck(i / kRate, 0.0005, 0.006);
    }
    highPass(crack, 1500);
    Samples boom = silence(1.4);
    for (size_t i = 0; i < boom.size(); ++i) {
        double t = i / kRate;
        boom[i] = noise(rng) * (pluck(t, 0.002, 0.12) + 0.25 * pluck(t - 0.18, 0.05, 0.35));
    }
    lowPass(boom, 420);
    lowPass(boom, 420);
    Samples thump = silence(0.5);
    double phase = 0;
    for (size_t i = 0; i < thump.size(); ++i) {
        double t = i / kRate;
        phase += 2 * kPi * (38 + 30 * std::exp(-t / 0.05)) / kRate;
        thump[i] = std::sin(phase) * pluck(t, 0.002, 0.09);
    }
    mixInto(s, crack, 0, 1.0);
    mixInto(s, boom, 0, 6.0);
    mixInto(s, thump, 0, 0.8);
    return s;
}

int makeSounds(const std::string& outDir) {
    int failures = 0;
    failures += finishSound(outDir + "snd00.wav", menuBlip(), kMenuTargetDb);
    failures += finishSound(outDir + "snd01.wav", footstep(), kTargetDb);
    failures += finishSound(outDir + "snd02.wav", dangerSting(), kTargetDb);
    failures += finishSound(outDir + "snd03.wav", sniffLoop(), kTargetDb);
    failures += finishSound(outDir + "snd04.wav", munching(), kEatingTargetDb);
    failures += finishSound(outDir + "snd05.wav", safeChime(), kTargetDb);
    failures += finishSound(outDir + "snd06.wav", gunshot(), kTargetDb);
    return failures;
}
