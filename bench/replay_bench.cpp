// Headless playback on the shipped level: frames a second, and how many times faster than the
// game's own 40 frames a second, for a five-minute game with the hunter about.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "game/play.h"
#include "game/replaygame.h"
#include "game/startup.h"
#include "hunter/navigation.h"
#include "replay/replay.h"
#include "world/map.h"

constexpr int kGameFrames = 5 * 60 * 40; // five minutes at the full frame rate
constexpr int kFramesPerSecond = 40;

static Replay Game; // the game played back: about 1 MB

// Runs the game from a folder beside the repo's Common/, as the installed launcher would.
static void enterGameFolder() {
    char pattern[] = "/tmp/velmoor-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        abort();
    }
    const std::filesystem::path base(pattern);
    std::filesystem::create_directory(base / "run");
    std::filesystem::create_directory_symlink(std::filesystem::path(VELMOOR_SOURCE_DIR) / "Common", base / "Common");
    if (chdir((base / "run").c_str()) != 0) {
        abort();
    }
}

// Plays up to five minutes on the shipped level with the actions of a restless player: walking
// and sprinting about the map, eating and smelling, so that the hunter comes, searches, follows
// tracks and shoots. Of the games of a few seeds, the longest is kept.
static void recordRestlessGame() {
    static PlayState State;
    static Replay Tried;
    fixRenderSizes();
    const uint8_t kMoves[] = {kActionBitRight,
                              kActionBitUp,
                              kActionBitLeft,
                              kActionBitDown,
                              kActionBitRight | kActionBitUp,
                              kActionBitLeft | kActionBitDown};
    for (uint32_t seed = 1; seed <= 20 && Game.frames < kGameFrames; seed++) {
        startGame(&State, nullptr);
        State.start.seed = seed;
        seedHuntingSpotShuffle(seed);
        beginGameRecord(&Tried, &State);
        uint32_t random = seed;
        int result = kFrameGoesOn;
        uint8_t actions = 0;
        while (result == kFrameGoesOn && Tried.frames < kGameFrames) {
            if (Tried.frames % 60 == 0) {
                random = random * 1103515245u + 12345u;
                const uint32_t pick = (random >> 16) % 10;
                actions = pick < 6 ? kMoves[pick] : (pick < 8 ? kActionBitEat : kActionBitSmell);
                actions |= pick == 0 || pick == 3 ? kActionBitRun : 0;
            }
            recordReplayFrame(&Tried, actions);
            applyFrameActions(&State, actions);
            result = advanceFrame(&State);
        }
        Tried.end = findGameEnd(&State, result == kFrameVictory ? kOutcomeWon
                                        : result == kFrameDeath ? kOutcomeKilled
                                                                : kOutcomeClosed);
        if (Tried.frames > Game.frames) {
            Game = Tried;
        }
    }
}

// The game is recorded once, by the first run, from a folder beside the repo's Common/.
static void BM_HeadlessPlaybackOfAFiveMinuteGame(benchmark::State& state) {
    static bool Recorded; // the game has been recorded
    if (!Recorded) {
        enterGameFolder();
        recordRestlessGame();
        Recorded = true;
    }
    int tufts = 0;
    for (auto _ : state) {
        const ReplayEnd end = playReplayFrames(&Game, &tufts);
        benchmark::DoNotOptimize(end);
    }
    state.counters["frames"] = Game.frames;
    state.counters["hunter_came"] = Game.end.hunterX >= 0;
    state.counters["frames_per_second"] =
        benchmark::Counter(double(Game.frames) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["times_real_time"] = benchmark::Counter(
        double(Game.frames) / kFramesPerSecond * double(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_HeadlessPlaybackOfAFiveMinuteGame)->Unit(benchmark::kMillisecond);
