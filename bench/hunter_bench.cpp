// Timing of the hunter's search and of his worst frame on a full-size map, beside the plain search.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>

#include "hunter/hunter.h"
#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "hunter/reference_search.h"
#include "hunter/sight.h"
#include "render/mapview.h"
#include "world/map.h"
#include "world/tracks.h"

constexpr int kHunterRow = 128; // the hunter of every scene stands at the centre of this cell
constexpr int kHunterColumn = 128;
constexpr int kLiveTracks = 512; // the most deer tracks a ring holds at the deer's pace

static int centre(int cell) { return (10 * cell + 5) * 64; }
static int pixelCentre(int cell) { return cell * 64 + 32; }

static void fullMap() {
    gTileWidthToRender = 64;
    gTileHeightToRender = 64;
    gPlayerWidthToRender = 64;
    gPlayerHeightToRender = 64;
    gMapRows = kGridSide;
    gMapColumns = kGridSide;
    memset(gMapMovementObstacle, 0, sizeof(gMapMovementObstacle));
    memset(gMapProjectileObstacle, 0, sizeof(gMapProjectileObstacle));
    gHunterX = centre(kHunterColumn);
    gHunterY = centre(kHunterRow);
}

// The hunter's four neighbours block: a search floods every other cell of the map.
static void wallOffHunter() {
    gMapMovementObstacle[kHunterRow * kGridSide + kHunterColumn + 1] = 1;
    gMapMovementObstacle[kHunterRow * kGridSide + kHunterColumn - 1] = 1;
    gMapMovementObstacle[(kHunterRow + 1) * kGridSide + kHunterColumn] = 1;
    gMapMovementObstacle[(kHunterRow - 1) * kGridSide + kHunterColumn] = 1;
}

// The worst frame: the deer out of sight, 512 live deer tracks of which only the oldest can be
// seen, each sight line blocked only next to the hunter, and a walled-off hunter, so that the
// search to the track and the search to his hunting spot both flood the map.
static void worstFrameScene() {
    fullMap();
    wallOffHunter();
    for (int dr = -1; dr <= 1; dr++) {
        for (int dc = -1; dc <= 1; dc++) {
            gMapProjectileObstacle[(kHunterRow + dr) * kGridSide + kHunterColumn + dc] = 1;
        }
    }
    gMapProjectileObstacle[kHunterRow * kGridSide + kHunterColumn] = 0;
    gMapProjectileObstacle[kHunterRow * kGridSide + kHunterColumn - 1] = 0; // the one gap, to the left
    gPlayerX = centre(kHunterColumn);
    gPlayerY = centre(20);
    gScreenX = pixelCentre(kHunterColumn) - 400;
    gScreenY = pixelCentre(20) - 300;
    std::mt19937 random(5);
    gOldestTrackIndex[0] = 0;
    gNextTrackIndex[0] = kLiveTracks;
    gTrack[0][0] = Track{pixelCentre(5), pixelCentre(kHunterRow), kLiveTracks - 1, 0}; // seen through the gap
    for (int i = 1; i < kLiveTracks; i++) {
        // Steep lines from the top of the map: they meet the ring above the hunter.
        const int x = pixelCentre(80) + static_cast<int>(random() % (96 * 64));
        const int y = static_cast<int>(random() % (60 * 64));
        gTrack[0][i] = Track{x, y, kLiveTracks - 1 - i, 0};
    }
    gHuntingSpots = 1;
    gHuntingSpotRow[0] = kGridSide - 1;
    gHuntingSpotColumn[0] = kGridSide - 1;
    gIndexOfHuntingSpotToVisit = -1;
    gNextTrackIndex[1] = gOldestTrackIndex[1] = 0;
}

// A long chase: from one corner of a map with scattered obstacles to the other.
static void longChaseScene() {
    fullMap();
    std::mt19937 random(11);
    for (int cell = 0; cell < kGridCells; cell++) {
        gMapMovementObstacle[cell] = random() % 100 < 20;
    }
    gMapMovementObstacle[2 * kGridSide + 2] = 0;
    gHunterX = centre(250);
    gHunterY = centre(250);
    gMapMovementObstacle[250 * kGridSide + 250] = 0;
}

// The fastest milliseconds per iteration seen in any run of each benchmark, for the ratios: the
// machine is shared, and the least disturbed run is the one that measures the code.
constexpr double kNotRun = 1e9;
static double FloodReferenceMs = kNotRun, FloodFastMs = kNotRun, FloodFromCentreMs = kNotRun,
              ChaseReferenceMs = kNotRun, ChaseFastMs = kNotRun, StepReferenceMs = kNotRun, StepFastMs = kNotRun,
              TrackScanMs = kNotRun;

// The ratio counter of a benchmark, shown only when its reference ran before it in this run.
static void setRatio(benchmark::State& state, double referenceMs, double fastMs) {
    if (referenceMs < kNotRun && fastMs < kNotRun) {
        state.counters["times_faster"] = referenceMs / fastMs;
    }
}

// Times the loop itself and keeps the fastest run in *best.
template <typename Body> static double timeLoop(benchmark::State& state, double* best, Body body) {
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        body();
    }
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    const double perIteration = spent.count() / static_cast<double>(state.iterations());
    if (state.iterations() > 1 && perIteration < *best) {
        *best = perIteration;
    }
    return *best;
}

static void BM_FloodSearchReference(benchmark::State& state) {
    fullMap();
    wallOffHunter();
    timeLoop(state, &FloodReferenceMs, [] { benchmark::DoNotOptimize(referenceComputeHunterPath(0, 0)); });
}

static void BM_FloodSearch(benchmark::State& state) {
    fullMap();
    wallOffHunter();
    timeLoop(state, &FloodFastMs, [] { benchmark::DoNotOptimize(computeHunterPath(0, 0)); });
    setRatio(state, FloodReferenceMs, FloodFastMs);
}

static void BM_FloodSearchFromCentre(benchmark::State& state) {
    fullMap();
    gHunterX = centre(0);
    gHunterY = centre(0);
    gMapMovementObstacle[1] = gMapMovementObstacle[kGridSide] = 1;
    timeLoop(state, &FloodFromCentreMs, [] { benchmark::DoNotOptimize(computeHunterPath(128, 128)); });
}

static void BM_LongChaseReference(benchmark::State& state) {
    longChaseScene();
    timeLoop(state, &ChaseReferenceMs, [] { benchmark::DoNotOptimize(referenceComputeHunterPath(2, 2)); });
    state.counters["reached"] = referenceComputeHunterPath(2, 2);
    state.counters["steps"] = gMapPathfindingG[250 * kGridSide + 250];
}

static void BM_LongChase(benchmark::State& state) {
    longChaseScene();
    timeLoop(state, &ChaseFastMs, [] { benchmark::DoNotOptimize(computeHunterPath(2, 2)); });
    setRatio(state, ChaseReferenceMs, ChaseFastMs);
}

static void BM_TrackScanAllHidden(benchmark::State& state) {
    worstFrameScene();
    gTrack[0][0] = Track{pixelCentre(kHunterColumn), pixelCentre(10), kLiveTracks - 1, 0}; // hidden too: no search
    gAgeOfHunterDestination = kNoDestinationAge;
    timeLoop(state, &TrackScanMs, [] { benchmark::DoNotOptimize(computeHunterPathToMostRecentDeerTrack()); });
}

// The worst frame with the plain search in place of the fast one, without the drawing.
static void BM_WorstHunterStepReference(benchmark::State& state) {
    worstFrameScene();
    timeLoop(state, &StepReferenceMs, [] {
        const int hunterX = gHunterX / 10;
        const int hunterY = gHunterY / 10;
        for (int index = gNextTrackIndex[0]; index != gOldestTrackIndex[0];) {
            index = index == 0 ? kTrackRing - 1 : index - 1;
            const Track& track = gTrack[0][index];
            if (hasLineOfSight(track.x, track.y, hunterX, hunterY)) {
                referenceComputeHunterPath(track.y / 64, track.x / 64);
                break;
            }
        }
        benchmark::DoNotOptimize(moveHunter(0));
        referenceComputeHunterPath(gHuntingSpotRow[0], gHuntingSpotColumn[0]);
        benchmark::DoNotOptimize(moveHunter(0));
    });
}

static void BM_WorstHunterStep(benchmark::State& state) {
    worstFrameScene();
    HunterState hunter;
    resetHunter(&hunter);
    worstFrameScene();
    int isWounded = 0;
    timeLoop(state, &StepFastMs, [&] { benchmark::DoNotOptimize(stepHunter(&hunter, &isWounded)); });
    setRatio(state, StepReferenceMs, StepFastMs);
    state.counters["fell_back"] = hunter.hunterMoveResult == 0 && gAgeOfHunterDestination == kLiveTracks;
}

BENCHMARK(BM_FloodSearchReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloodSearch)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_FloodSearchFromCentre)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_LongChaseReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongChase)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_TrackScanAllHidden)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_WorstHunterStepReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WorstHunterStep)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (FloodReferenceMs < kNotRun && FloodFastMs < kNotRun && FloodFromCentreMs < kNotRun &&
        ChaseReferenceMs < kNotRun && ChaseFastMs < kNotRun && TrackScanMs < kNotRun && StepReferenceMs < kNotRun &&
        StepFastMs < kNotRun) {
        printf("fastest runs:\n");
        printf("flood of a 256 x 256 map: %.3f ms (plain search %.2f ms, %.0f times faster; target < 1 ms)\n",
               FloodFastMs, FloodReferenceMs, FloodReferenceMs / FloodFastMs);
        printf("flood from the centre:    %.3f ms\n", FloodFromCentreMs);
        printf("long chase:               %.3f ms (plain search %.2f ms, %.0f times faster)\n", ChaseFastMs,
               ChaseReferenceMs, ChaseReferenceMs / ChaseFastMs);
        printf("track scan, 512 hidden:   %.3f ms\n", TrackScanMs);
        printf("worst hunter step:        %.3f ms (with the plain search %.2f ms, %.0f times faster; target < 3 ms)\n",
               StepFastMs, StepReferenceMs, StepReferenceMs / StepFastMs);
    }
    return 0;
}
