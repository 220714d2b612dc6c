// The player program: plays games headless through the eight actions and measures a level's win rate.
#include "game/botgame.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "bot/botmind.h"
#include "game/options.h"
#include "game/replaygame.h"
#include "game/startup.h"
#include "hunter/navigation.h"
#include "hunter/pathfinding.h"
#include "render/mapview.h"
#include "replay/replayfiles.h"
#include "world/datafile.h"
#include "world/map.h"
#include "world/tracks.h"

// The player's actions are the replay's action bits.
static_assert(kBotUp == kActionBitUp && kBotDown == kActionBitDown && kBotLeft == kActionBitLeft &&
              kBotRight == kActionBitRight && kBotRun == kActionBitRun && kBotEat == kActionBitEat &&
              kBotSmell == kActionBitSmell);
static_assert(kBotGridSide == kGridSide && kBotCellTenths == 640);

constexpr int kFramesPerSecond = 1000 / kFramePeriodMs;
constexpr int kLayerGrass = 1;
constexpr int kDangerThousands = 1; // the smell indicator's danger: 0 or 1 thousand map pixels away
constexpr int kSmellDistanceUnit = 1000;
constexpr double kWilsonZ = 1.959963984540054; // 95 % of a normal distribution lies within this many deviations
static const char* const kProfileNames[] = {"new", "practised"};
static const char kShippedLevelPath[] = "../Common/map00000.tmx";

// ---- What the screen shows ---------------------------------------------------------------------

static bool isOnMap(int row, int column) { return row >= 0 && row < gMapRows && column >= 0 && column < gMapColumns; }

// What a player reads from a cell: what stops the deer, what no one sees through, the grass.
static uint8_t readCell(int row, int column) {
    if (!isOnMap(row, column)) {
        return kBotCellBlocks;
    }
    const int cell = row * kGridSide + column;
    uint8_t bits = 0;
    if (gMapMovementObstacle[cell] != 0) {
        bits |= kBotCellBlocks;
    }
    if (gMapProjectileObstacle[cell] != 0) {
        bits |= kBotCellHidesSight;
    }
    if (isFoodTile(gMap[kLayerGrass * kGridCells + cell])) {
        bits |= kBotCellGrass;
    }
    return bits;
}

// The arrow's direction as the smell indicator draws it: the nearest of eight, by the same tests.
static int findArrowDirection(int a, int b) {
    if (b < a) {
        if (b < -6 * a) {
            return b < 6 * a ? kBotArrowUp : kBotArrowUpLeft;
        }
        return b < -a ? kBotArrowUpRight : kBotArrowRight;
    }
    if (b < -6 * a) {
        return b < -a ? kBotArrowLeft : kBotArrowDownLeft;
    }
    return b < 6 * a ? kBotArrowDownRight : kBotArrowDown;
}

// True when a map point lies on the screen.
static bool isOnScreen(int x, int y) {
    return x >= gScreenX && x < gScreenX + kBotScreenWidth && y >= gScreenY && y < gScreenY + kBotScreenHeight;
}

static void fillCells(BotView* view) {
    int endRow = 0;
    int endColumn = 0;
    computeVisibleWindow(kBotCellPixels, kBotCellPixels, &view->firstRow, &endRow, &view->firstColumn, &endColumn);
    view->rows = endRow - view->firstRow < kBotViewRows ? endRow - view->firstRow : kBotViewRows;
    view->columns = endColumn - view->firstColumn < kBotViewColumns ? endColumn - view->firstColumn : kBotViewColumns;
    for (int i = 0; i < kBotViewRows; i++) {
        for (int j = 0; j < kBotViewColumns; j++) {
            view->cells[i][j] = readCell(view->firstRow + i, view->firstColumn + j);
        }
    }
}

// The smell indicator, once the deer has smelled long enough: the blue circle, or the red arrow
// with the hunter's figure drawn over everything.
static void fillSmell(const PlayState* state, BotView* view) {
    view->smell = kBotSmellNone;
    if (state->deer.smellTime < kSmellIndicatorFrame) {
        return;
    }
    // The distance and the direction as the indicator works them out.
    const int a = (gHunterX - gPlayerX) / 5;
    const int b = (gHunterY - gPlayerY) / 2;
    const int thousands = computeL1Norm(a / 2, b / 5) / kSmellDistanceUnit;
    if (gHunterX < 0 || thousands > kDangerThousands) {
        view->smell = kBotSmellSafe;
        return;
    }
    view->smell = kBotSmellDanger;
    view->arrowDirection = findArrowDirection(a, b);
    view->arrowFar = thousands;
    if (isOnScreen(gHunterX / 10, gHunterY / 10)) {
        view->hunterSeen = 1;
        view->hunterX = gHunterX / 10;
        view->hunterY = gHunterY / 10;
    }
}

void fillBotView(const PlayState* state, BotView* view) {
    view->deerX = gPlayerX / 10;
    view->deerY = gPlayerY / 10;
    fillCells(view);
    view->hunterSeen = 0;
    view->hunterX = 0;
    view->hunterY = 0;
    view->arrowDirection = 0;
    view->arrowFar = 0;
    if (gHunterX >= 0) {
        const int x = gHunterX / 10;
        const int y = gHunterY / 10;
        const int row = y / kBotCellPixels;
        const int column = x / kBotCellPixels;
        // His figure shows on screen unless he stands in a bush (the tree tops leave him in view).
        if (isOnScreen(x, y) && isOnMap(row, column) && gMapProjectileObstacle[row * kGridSide + column] == 0) {
            view->hunterSeen = 1;
            view->hunterX = x;
            view->hunterY = y;
        }
    }
    fillSmell(state, view);
    view->hunterWarning = state->hunterWarningTimer > 0 ? 1 : 0;
    view->wounded = state->deer.isWounded;
}

// ---- Playing -----------------------------------------------------------------------------------

int findBotEnd(int outcome, uint8_t lastActions) {
    if (outcome == kOutcomeWon) {
        return kBotWon;
    }
    if (outcome != kOutcomeKilled) {
        return kBotGaveUp;
    }
    const int inputX = ((lastActions & kActionBitRight) != 0 ? 1 : 0) - ((lastActions & kActionBitLeft) != 0 ? 1 : 0);
    const int inputY = ((lastActions & kActionBitDown) != 0 ? 1 : 0) - ((lastActions & kActionBitUp) != 0 ? 1 : 0);
    const bool moving = inputX != 0 || inputY != 0;
    if (moving) {
        return (lastActions & kActionBitRun) != 0 ? kBotShotSprinting : kBotShotWalking;
    }
    // Standing: smelling comes before eating.
    if ((lastActions & kActionBitEat) != 0 && (lastActions & kActionBitSmell) == 0) {
        return kBotShotEating;
    }
    return kBotShotStanding;
}

// The map as a practised player knows it: every cell as the screen would show it.
static const uint8_t* learnWholeMap() {
    static uint8_t Cells[kGridCells]; // the map's cells in view bits; filled afresh for each game
    for (int row = 0; row < gMapRows; row++) {
        for (int column = 0; column < gMapColumns; column++) {
            Cells[row * kGridSide + column] = readCell(row, column);
        }
    }
    return Cells;
}

BotGame playBotGame(uint32_t seed, const BotProfile* profile, int maxFrames, Replay* record) {
    static PlayState State; // the game being played; started afresh by each game
    static BotMind Mind;    // the player's mind; started afresh by each game
    static BotView View;    // the frame's view
    startGame(&State, nullptr);
    // The game follows from its seed alone: the hunter's shuffle, and the track sides from 0.
    State.start.seed = seed;
    State.start.trackSides = 0;
    setTrackSides(0);
    seedHuntingSpotShuffle(seed);
    const int tuftsNeeded = gFoodLeftToEat;
    startBotMind(&Mind, profile, seed, profile->knowsMap != 0 ? learnWholeMap() : nullptr, gMapRows, gMapColumns);
    if (record != nullptr) {
        beginGameRecord(record, &State);
    }
    int result = kFrameGoesOn;
    uint8_t actions = 0;
    while (result == kFrameGoesOn && State.frames < maxFrames) {
        fillBotView(&State, &View);
        applyFrameActions(&State, decideBotActions(&Mind, &View));
        actions = findFrameActions(&State);
        if (record != nullptr) {
            recordReplayFrame(record, actions);
        }
        result = advanceFrame(&State);
    }
    const int outcome = findOutcome(result);
    if (record != nullptr) {
        record->end = findGameEnd(&State, outcome);
    }
    return BotGame{findBotEnd(outcome, actions), State.frames, tuftsNeeded - gFoodLeftToEat, tuftsNeeded};
}

// ---- Counting ----------------------------------------------------------------------------------

void clearBotTally(BotTally* tally) { memset(tally, 0, sizeof *tally); }

static int clampCount(int value, int limit) { return value < 0 ? 0 : (value > limit ? limit : value); }

void countBotGame(BotTally* tally, const BotGame* game) {
    tally->games++;
    tally->ends[clampCount(game->end, kBotEnds - 1)]++;
    tally->tuftsNeeded = game->tuftsNeeded;
    tally->framesPlayed += game->frames;
    tally->byTuftsEaten[clampCount(game->tuftsEaten, kBotGridCells)]++;
    if (game->end == kBotWon) {
        tally->wonByFrames[clampCount(game->frames, kBotMaxGameFrames)]++;
    }
}

void findWinInterval(int wins, int games, double* low, double* high) {
    if (games <= 0) {
        *low = 0;
        *high = 1;
        return;
    }
    const double n = games;
    const double p = wins / n;
    const double z2 = kWilsonZ * kWilsonZ;
    const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
    const double half = kWilsonZ * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n)) / (1 + z2 / n);
    *low = centre - half < 0 ? 0 : centre - half;
    *high = centre + half > 1 ? 1 : centre + half;
}

// The value of rank ceil(share x count) (from 1) in a histogram of count values: the nearest-rank
// percentile. share is given as a fraction numerator / denominator.
static int findPercentile(const int* histogram, int size, int count, int numerator, int denominator) {
    long long rank = (static_cast<long long>(count) * numerator + denominator - 1) / denominator;
    if (rank < 1) {
        rank = 1;
    }
    long long seen = 0;
    for (int value = 0; value < size; value++) {
        seen += histogram[value];
        if (seen >= rank) {
            return value;
        }
    }
    return size - 1;
}

void formatBotHeadline(char* text, int size, const char* mapName, const char* profileName, const BotTally* tally) {
    double low = 0;
    double high = 1;
    const int wins = tally->ends[kBotWon];
    findWinInterval(wins, tally->games, &low, &high);
    const int percent = tally->games > 0 ? int(std::lround(100.0 * wins / tally->games)) : 0;
    // The interval is widened to whole percents, never narrowed.
    snprintf(text, size_t(size), "%s: %s: %d of %d games won (%d %%, 95 %% interval %d-%d %%)", mapName, profileName,
             wins, tally->games, percent, int(std::floor(100 * low + 1e-9)), int(std::ceil(100 * high - 1e-9)));
}

// "M:SS", or "H:MM:SS" from an hour on.
static void formatDuration(char* text, int size, long long frames) {
    const long long seconds = frames / kFramesPerSecond;
    if (seconds >= 3600) {
        snprintf(text, size_t(size), "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    } else {
        snprintf(text, size_t(size), "%lld:%02lld", seconds / 60, seconds % 60);
    }
}

void printBotSummary(const char* mapName, const char* profileName, const BotTally* tally, double wallSeconds) {
    char line[512];
    formatBotHeadline(line, sizeof line, mapName, profileName, tally);
    printf("%s\n", line);
    if (tally->games == 0) {
        return;
    }
    const int size = kBotGridCells + 1;
    printf("  tufts eaten of the %d needed: median %d, quartiles %d-%d\n", tally->tuftsNeeded,
           findPercentile(tally->byTuftsEaten, size, tally->games, 1, 2),
           findPercentile(tally->byTuftsEaten, size, tally->games, 1, 4),
           findPercentile(tally->byTuftsEaten, size, tally->games, 3, 4));
    const int wins = tally->ends[kBotWon];
    if (wins > 0) {
        char length[32];
        formatDuration(length, sizeof length, findPercentile(tally->wonByFrames, kBotMaxGameFrames + 1, wins, 1, 2));
        printf("  a won game lasts %s (median)\n", length);
    } else {
        printf("  no game won\n");
    }
    char cap[32];
    formatDuration(cap, sizeof cap, kBotMaxGameFrames);
    printf("  lost games: %d shot while eating, %d walking, %d sprinting, %d hiding or standing still; %d given up "
           "after %s\n",
           tally->ends[kBotShotEating], tally->ends[kBotShotWalking], tally->ends[kBotShotSprinting],
           tally->ends[kBotShotStanding], tally->ends[kBotGaveUp], cap);
    char played[32];
    formatDuration(played, sizeof played, tally->framesPlayed);
    const double playedSeconds = double(tally->framesPlayed) / kFramesPerSecond;
    printf("  %s played in %.1f s of wall time (%.0f times as fast)\n", played, wallSeconds,
           wallSeconds > 0 ? playedSeconds / wallSeconds : 0.0);
}

// ---- The commands ------------------------------------------------------------------------------

static const BotProfile* findProfile(int profile) {
    return profile == kProfilePractised ? &kBotProfilePractised : &kBotProfileNew;
}

static double readWallSeconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(now).count();
}

// The map the games are played on: the --map file, or the shipped level.
static const char* findLevelPath() { return gMapPath[0] != '\0' ? gMapPath : kShippedLevelPath; }

// True when the map loader can read the level; otherwise one line says why.
static bool isLevelReadable() {
    FILE* file = nullptr;
    if (openDataFile(findLevelPath(), &file) != kOpenOk) {
        printf("velmoor: cannot read the map %s: %s.\n", findLevelPath(), describeOpenFailure());
        return false;
    }
    int musicNumber = -1;
    const int result = readMap(file, 0, &musicNumber);
    fclose(file);
    if (result != 0) {
        printf("\nvelmoor: the game cannot play %s; velmoor --check-map %s tells more.\n", findLevelPath(),
               findLevelPath());
        return false;
    }
    return true;
}

// Makes the replay folder when it is missing. Returns 0, or the system's error number.
static int prepareReplayFolder(const char* folder) {
    struct stat info {};
    if (stat(folder, &info) == 0) {
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    }
    return mkdir(folder, 0777) == 0 ? 0 : errno;
}

// Plays games games of a profile from firstSeed on, into tally; keeps the lost games' replays in
// replaysDir when it is not null. Returns the number of replays that could not be written.
static int playBotGames(int games, uint32_t firstSeed, int profile, const char* replaysDir, BotTally* tally) {
    static Replay Record; // the game being recorded; about 1 MB
    int failures = 0;
    clearBotTally(tally);
    fixRenderSizes();
    for (int i = 0; i < games; i++) {
        const uint32_t seed = firstSeed + uint32_t(i);
        const BotGame game =
            playBotGame(seed, findProfile(profile), kBotMaxGameFrames, replaysDir != nullptr ? &Record : nullptr);
        countBotGame(tally, &game);
        if (replaysDir != nullptr && game.end != kBotWon) {
            char path[kReplayPathSize];
            // Named by the map (without its extension), the profile and the game's seed.
            const char* name = mapFileName();
            const char* dot = strrchr(name, '.');
            const int stem = dot != nullptr ? int(dot - name) : int(strlen(name));
            snprintf(path, sizeof path, "%s/%.*s-%s-seed%u.replay", replaysDir, stem, name, kProfileNames[profile],
                     seed);
            const int error = Record.isFull != 0 ? EFBIG : writeReplayFile(&Record, path);
            if (error != 0) {
                printf("velmoor: the replay of the game of seed %u could not be written to %s: %s.\n", seed, path,
                       strerror(error));
                failures++;
            }
        }
    }
    return failures;
}

int runBot(const Options* options) {
    static BotTally Tally; // the games' counts
    if (!isLevelReadable()) {
        return kExitBadOption;
    }
    if (options->botReplaysDir != nullptr) {
        const int error = prepareReplayFolder(options->botReplaysDir);
        if (error != 0) {
            printf("velmoor: cannot keep replays in %s: %s.\n", options->botReplaysDir, strerror(error));
            return kExitBadOption;
        }
    }
    const uint32_t seed = options->hasBotSeed != 0 ? uint32_t(options->botSeed) : uint32_t(time(nullptr));
    const int profile = options->botProfile == kProfilePractised ? kProfilePractised : kProfileNew;
    const double start = readWallSeconds();
    const int failures = playBotGames(options->botGames, seed, profile, options->botReplaysDir, &Tally);
    printBotSummary(mapFileName(), kProfileNames[profile], &Tally, readWallSeconds() - start);
    fflush(stdout);
    return failures > 0 ? 1 : 0;
}

void printDifficulty(const char* mapPath, int games) {
    static BotTally Tally;              // one profile's games
    static char GamePath[kMapPathSize]; // gMapPath as it was, given back at the end
    snprintf(GamePath, sizeof GamePath, "%s", gMapPath);
    snprintf(gMapPath, sizeof gMapPath, "%s", mapPath);
    if (isLevelReadable()) {
        for (int profile = kProfileNew; profile <= kProfilePractised; profile++) {
            playBotGames(games, kDifficultySeed, profile, nullptr, &Tally);
            char line[512];
            formatBotHeadline(line, sizeof line, mapFileName(), kProfileNames[profile], &Tally);
            printf("%s\n", line);
        }
    }
    snprintf(gMapPath, sizeof gMapPath, "%s", GamePath);
    fflush(stdout);
}
