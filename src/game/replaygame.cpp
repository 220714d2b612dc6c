// Games and their replays: recording the game played, and playing a replay back.
#include "game/replaygame.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "game/startup.h"
#include "hunter/navigation.h"
#include "render/media.h"
#include "replay/replayfiles.h"
#include "world/datafile.h"
#include "world/loadreport.h"
#include "world/map.h"

static const char kPropertiesPath[] = "../Common/properties.tmx";
static const char kShippedMapPath[] = "../Common/map00000.tmx";
constexpr int kFramesPerSecond = 1000 / kFramePeriodMs;

// The map file a game loads: the --map file, or the shipped one.
static const char* findMapPath() { return gMapPath[0] != '\0' ? gMapPath : kShippedMapPath; }

void beginGameRecord(Replay* replay, const PlayState* state) {
    clearReplayActions(replay);
    replay->seed = state->start.seed;
    replay->trackSides = state->start.trackSides;
    replay->deerStartX = state->start.deerX;
    replay->deerStartY = state->start.deerY;
    snprintf(replay->mapName, sizeof replay->mapName, "%s", baseName(findMapPath()));
    replay->mapHash = 0;
    replay->propertiesHash = 0;
    hashFile(findMapPath(), &replay->mapHash);
    hashFile(kPropertiesPath, &replay->propertiesHash);
}

ReplayEnd findGameEnd(const PlayState* state, int outcome) {
    const int wounds = state->deer.isWounded + (outcome == kOutcomeKilled ? 1 : 0);
    return ReplayEnd{outcome, state->frames, gFoodLeftToEat, wounds, gPlayerX, gPlayerY, gHunterX, gHunterY};
}

int findOutcome(int frameResult) {
    if (frameResult == kFrameVictory) {
        return kOutcomeWon;
    }
    return frameResult == kFrameDeath ? kOutcomeKilled : kOutcomeClosed;
}

void saveGameRecord(Replay* replay, const PlayState* state, int frameResult, const char* recordPath) {
    replay->end = findGameEnd(state, findOutcome(frameResult));
    if (replay->isFull != 0) {
        printf("velmoor: this game was too long to keep as a replay; none was written.\n");
        return;
    }
    char path[kReplayPathSize];
    int error = saveReplayInFolder(replay, path, sizeof path);
    if (error != 0) {
        printf("velmoor: the replay of this game could not be written into %s: %s.\n", kReplaysFolder, strerror(error));
    }
    if (recordPath != nullptr && (error = writeReplayFile(replay, recordPath)) != 0) {
        printf("velmoor: the replay of this game could not be written to %s: %s.\n", recordPath, strerror(error));
    }
    fflush(stdout);
}

int prepareReplay(const char* path, Replay* replay) {
    const int result = readReplayFile(path, replay);
    if (result != kReplayOk) {
        printf("%s %s%s%s.\n", path, describeReplayResult(result), result == kReplayUnreadable ? ": " : "",
               result == kReplayUnreadable ? describeOpenFailure() : "");
        return kReplayUnusable;
    }
    // The map: the one --map gave, else the shipped one or the map of that name beside it.
    if (gMapPath[0] == '\0' && strcmp(replay->mapName, baseName(kShippedMapPath)) != 0) {
        // The name is a plain file name (the reader made sure of it).
        snprintf(gMapPath, sizeof gMapPath, "../Common/%s", replay->mapName);
        FILE* file = nullptr;
        if (replay->mapName[0] == '\0' || openDataFile(gMapPath, &file) != kOpenOk) {
            printf("%s: the game was played on %s, which is not in ../Common/; give that map with --map PATH.\n", path,
                   replay->mapName);
            gMapPath[0] = '\0';
            return kReplayUnusable;
        }
        fclose(file);
    }
    uint32_t mapHash = 0;
    uint32_t propertiesHash = 0;
    if (hashFile(findMapPath(), &mapHash) == 0 || mapHash != replay->mapHash) {
        printf("%s: the game was played on another %s than %s (the map has changed since, or is missing); give the "
               "map it was played on with --map PATH.\n",
               path, replay->mapName, findMapPath());
        return kReplayUnusable;
    }
    if (hashFile(kPropertiesPath, &propertiesHash) == 0 || propertiesHash != replay->propertiesHash) {
        printf("%s: the game was played with other tile properties than %s (another version of the game's data).\n",
               path, kPropertiesPath);
        return kReplayUnusable;
    }
    return kReplayMatched;
}

// Where a replay's playback stands.
struct Playback {
    PlayState state;
    ReplayCursor cursor;
    int tufts;  // the map's grass tiles
    int result; // the last frame's result
};

static void startPlayback(Playback* playback, const Replay* replay) {
    const GameStart start{replay->seed, replay->trackSides, replay->deerStartX, replay->deerStartY};
    startGame(&playback->state, &start);
    playback->cursor = ReplayCursor{0, 0};
    playback->tufts = gFoodLeftToEat + 2;
    playback->result = kFrameGoesOn;
}

// Plays the replay's next frame. Returns 0 when the replay has no frame left or the game ended.
static int stepPlayback(Playback* playback, const Replay* replay) {
    if (playback->result != kFrameGoesOn) {
        return 0;
    }
    const int actions = nextReplayFrame(replay, &playback->cursor);
    if (actions < 0) {
        return 0;
    }
    applyFrameActions(&playback->state, uint8_t(actions));
    playback->result = advanceFrame(&playback->state);
    return 1;
}

// The end the playback reached: a game that ran out of recorded frames was closed.
static ReplayEnd findPlaybackEnd(const Playback* playback) {
    return findGameEnd(&playback->state, findOutcome(playback->result));
}

ReplayEnd playReplayFrames(const Replay* replay, int* tufts) {
    static Playback Headless; // the game being played back; filled afresh by each playback
    startPlayback(&Headless, replay);
    while (stepPlayback(&Headless, replay) != 0) {
    }
    *tufts = Headless.tufts;
    return findPlaybackEnd(&Headless);
}

static bool isSameEnd(const ReplayEnd* a, const ReplayEnd* b) {
    return a->outcome == b->outcome && a->frames == b->frames && a->foodLeft == b->foodLeft && a->wounds == b->wounds &&
           a->deerX == b->deerX && a->deerY == b->deerY && a->hunterX == b->hunterX && a->hunterY == b->hunterY;
}

// "won after N frames (M:SS), K of T tufts eaten, W wounds"
static void printEnd(const ReplayEnd* end, int tufts) {
    static const char* const kOutcomeWord[] = {"won", "killed", "closed"};
    const int seconds = end->frames / kFramesPerSecond;
    const int eaten = tufts - (end->foodLeft + 2);
    printf("%s after %d frame%s (%d:%02d), %d of %d tufts eaten, %d wound%s", kOutcomeWord[end->outcome], end->frames,
           end->frames == 1 ? "" : "s", seconds / 60, seconds % 60, eaten, tufts, end->wounds,
           end->wounds == 1 ? "" : "s");
}

// Prints the playback's line, and a second one when the recorded game ended otherwise.
static int reportPlayback(const char* path, const ReplayEnd* reached, const ReplayEnd* recorded, int tufts) {
    printf("%s: ", path);
    printEnd(reached, tufts);
    printf("\n");
    if (isSameEnd(reached, recorded)) {
        return kReplayMatched;
    }
    printf("%s: the recorded game ended otherwise: ", path);
    printEnd(recorded, tufts);
    printf("; the game no longer follows this replay.\n");
    return kReplayDiffered;
}

// The replay being played back; about 1 MB, read afresh by each playback.
static Replay Played;

int playReplayHeadless(const char* path) {
    fixRenderSizes();
    if (prepareReplay(path, &Played) != kReplayMatched) {
        return kReplayUnusable;
    }
    int tufts = 0;
    const ReplayEnd reached = playReplayFrames(&Played, &tufts);
    return reportPlayback(path, &reached, &Played.end, tufts);
}

// Takes the window's events while a replay is shown: 1 when Esc or a close stops it.
static int isPlaybackStopped() {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (event.type == SDL_QUIT || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE)) {
            return 1;
        }
    }
    return 0;
}

int watchReplay(const char* path) {
    if (prepareReplay(path, &Played) != kReplayMatched) {
        return kReplayUnusable;
    }
    static Playback Shown; // the game being shown; filled afresh by each playback
    startPlayback(&Shown, &Played);
    for (;;) {
        const Uint32 start = SDL_GetTicks();
        if (isPlaybackStopped() != 0) {
            printf("%s: stopped after %d frames.\n", path, Shown.state.frames);
            return kReplayMatched;
        }
        if (stepPlayback(&Shown, &Played) == 0 || Shown.result != kFrameGoesOn) {
            break;
        }
        SDL_RenderPresent(gRenderer);
        const Uint32 elapsed = SDL_GetTicks() - start;
        if (elapsed < kFramePeriodMs) {
            SDL_Delay(kFramePeriodMs - elapsed);
        }
    }
    const ReplayEnd reached = findPlaybackEnd(&Shown);
    const int result = reportPlayback(path, &reached, &Played.end, Shown.tufts);
    fflush(stdout);
    if (Shown.result != kFrameGoesOn) {
        showGameEnd(Shown.result);
    }
    return result;
}
