// Headless playback on the shipped level: frames a second, and how many times faster than the
// game's own 40 frames a second, for a whole game with the hunter about.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "bot/botmind.h"
#include "game/botgame.h"
#include "game/replaygame.h"
#include "game/startup.h"
#include "replay/replay.h"

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

// A whole game on the shipped level as the practised player program plays it (about six
// minutes: the hunter comes, searches, follows tracks), recorded for playback.
static void recordBotGame() {
    fixRenderSizes();
    playBotGame(1, &kBotProfilePractised, kBotMaxGameFrames, &Game);
}

// The game is recorded once, by the first run, from a folder beside the repo's Common/.
static void BM_HeadlessPlaybackOfAWholeGame(benchmark::State& state) {
    static bool Recorded; // the game has been recorded
    if (!Recorded) {
        enterGameFolder();
        recordBotGame();
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

BENCHMARK(BM_HeadlessPlaybackOfAWholeGame)->Unit(benchmark::kMillisecond);
