// Replays: the file round-trips, a bad file is refused with its reason, a game played with real
// events plays back headless to the same end, other map files are noticed, the folder keeps 50.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "game/bindings.h"
#include "game/play.h"
#include "game/replaygame.h"
#include "hunter/navigation.h"
#include "render/media.h"
#include "replay/replay.h"
#include "replay/replayfiles.h"
#include "support/test_env.h"
#include "support/test_maps.h"
#include "world/map.h"
#include "world/tracks.h"

namespace fs = std::filesystem;

namespace {

Replay Recorded; // about 1 MB each: static
Replay Decoded;
uint8_t Bytes[kReplayMaxBytes];

// A replay of a few runs, one of them longer than a run can hold.
void makeSmallReplay(Replay* replay) {
    clearReplayActions(replay);
    replay->seed = 0xDEADBEEF;
    replay->trackSides = 2;
    replay->deerStartX = 3540;
    replay->deerStartY = -100;
    snprintf(replay->mapName, sizeof replay->mapName, "forest.tmx");
    replay->mapHash = 0x01020304;
    replay->propertiesHash = 0xA0B0C0D0;
    const std::pair<uint8_t, int> runs[] = {{0, 3}, {kActionBitRight | kActionBitRun, 70000}, {kActionBitEat, 1}};
    for (const auto& run : runs) {
        for (int i = 0; i < run.second; i++) {
            ASSERT_EQ(recordReplayFrame(replay, run.first), 1);
        }
    }
    replay->end = ReplayEnd{kOutcomeKilled, replay->frames, 7, 2, 1200, 2300, -1, 4500};
}

std::vector<int> playAll(const Replay* replay) {
    std::vector<int> frames;
    ReplayCursor cursor{0, 0};
    for (int actions = nextReplayFrame(replay, &cursor); actions >= 0; actions = nextReplayFrame(replay, &cursor)) {
        frames.push_back(actions);
    }
    return frames;
}

TEST(ReplayFile, RunsRecordEveryFrameAndTheFileGivesTheSameReplayBack) {
    makeSmallReplay(&Recorded);
    EXPECT_EQ(Recorded.runCount, 4) << "70000 equal frames take two runs of at most 65535";
    const int size = encodeReplay(&Recorded, Bytes);
    EXPECT_EQ(size, kReplayFixedBytes + 10 + 4 * kReplayRunBytes);
    ASSERT_EQ(decodeReplay(Bytes, size, &Decoded), kReplayOk);
    static uint8_t Again[kReplayMaxBytes]; // every field read back writes the same bytes
    ASSERT_EQ(encodeReplay(&Decoded, Again), size);
    EXPECT_EQ(memcmp(Again, Bytes, size_t(size)), 0);
    EXPECT_EQ(std::tuple(Decoded.deerStartY, Decoded.end.hunterX, Decoded.end.wounds), std::tuple(-100, -1, 2));
    const std::vector<int> frames = playAll(&Decoded);
    ASSERT_EQ(frames.size(), 70004u);
    EXPECT_EQ(std::vector<int>(frames.begin() + 2, frames.begin() + 4),
              (std::vector<int>{0, kActionBitRight | kActionBitRun}));
    EXPECT_EQ(frames.back(), kActionBitEat);

    // A full record takes no more frames and says so.
    clearReplayActions(&Recorded);
    for (int i = 0; i < kReplayMaxRuns; i++) {
        ASSERT_EQ(recordReplayFrame(&Recorded, uint8_t(i & 1)), 1);
    }
    EXPECT_EQ(recordReplayFrame(&Recorded, 1), 1) << "a frame equal to the last run still fits";
    EXPECT_EQ(recordReplayFrame(&Recorded, 0), 0);
    EXPECT_EQ(std::pair(Recorded.isFull, Recorded.frames), std::pair(1, kReplayMaxRuns + 1));
}

// Writes the bytes with a fresh checksum, as a tampered file would carry.
int resealed(std::vector<uint8_t> bytes) {
    const uint32_t crc = SDL_crc32(0, bytes.data(), bytes.size() - 4);
    memcpy(&bytes[bytes.size() - 4], &crc, 4);
    return decodeReplay(bytes.data(), int(bytes.size()), &Decoded);
}

TEST(ReplayFile, ACutDamagedOrForeignFileIsRefusedWithItsReason) {
    makeSmallReplay(&Recorded);
    const int size = encodeReplay(&Recorded, Bytes);
    const std::vector<uint8_t> good(Bytes, Bytes + size);
    for (int length = 0; length < size; length++) {
        const int result = decodeReplay(good.data(), length, &Decoded);
        EXPECT_EQ(result, length < 4 ? kReplayNotAReplay : kReplayTruncated) << length << " bytes";
        EXPECT_EQ(Decoded.runCount, 0);
    }
    std::vector<uint8_t> bytes = good;
    bytes.push_back(0);
    EXPECT_EQ(decodeReplay(bytes.data(), int(bytes.size()), &Decoded), kReplayDamaged) << "a byte past the end";
    const struct {
        int offset;
        uint8_t value;
        int result;
        const char* why;
    } cases[] = {
        {0, 'v', kReplayNotAReplay, "another file's start"},
        {4, 2, kReplayOtherVersion, "a later version"},
        {30, 0xFF, kReplayDamaged, "a flipped byte in the map's hash"},
        {34, 0xFF, kReplayDamaged, "a flipped byte in the properties' hash"},
    };
    for (const auto& c : cases) {
        bytes = good;
        bytes[size_t(c.offset)] = c.value;
        EXPECT_EQ(decodeReplay(bytes.data(), int(bytes.size()), &Decoded), c.result) << c.why;
    }
    const int runs = 4 + 2 + 4 + 1 + 8 + 1 + 10 + 4 + 4 + 4; // where the runs start
    bytes = good;
    bytes[size_t(runs - 1)] = 0x7F; // a run count larger than a replay holds
    EXPECT_EQ(resealed(bytes), kReplayDamaged);
    bytes = good;
    bytes[size_t(runs + 1)] = bytes[size_t(runs + 2)] = 0; // a run of no frames
    EXPECT_EQ(resealed(bytes), kReplayDamaged);
    bytes = good;
    bytes[size_t(runs)] ^= 1; // the actions changed: the checksum notices
    EXPECT_EQ(decodeReplay(bytes.data(), int(bytes.size()), &Decoded), kReplayDamaged);
    bytes[size_t(size - 4 - 16 - 1)] = 3; // wounds past 2, with a fresh checksum
    EXPECT_EQ(resealed(bytes), kReplayDamaged);
    bytes = good;
    bytes[size_t(size - 4 - 16 - 1 - 4 - 4)] ^= 1; // the end's frames no longer the runs' sum
    EXPECT_EQ(resealed(bytes), kReplayDamaged);
}

class ReplayGame : public ::testing::Test {
  protected:
    void SetUp() override {
        common = enterTempCommon();
        startHeadlessSDL();
        resetBindings();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        gMapPath[0] = '\0';
        // Played and played back as --headless plays: the events come through SDL's queue, but
        // nothing is drawn. (The replays in tests/replays were recorded in the real window.)
        renderer = gRenderer;
        gRenderer = nullptr;
    }
    void TearDown() override { gRenderer = renderer; }
    // Plays a game with real key events, as the play loop does, recording it; returns its end.
    ReplayEnd playRecorded(int maxFrames) {
        static PlayState State;
        startGame(&State, nullptr);
        beginGameRecord(&Recorded, &State);
        const SDL_Keycode keys[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_RSHIFT, SDLK_RETURN, SDLK_RCTRL};
        std::minstd_rand random(7);
        int result = kFrameGoesOn;
        for (int frame = 0; frame < maxFrames && result == kFrameGoesOn; frame++) {
            if (frame % 9 == 0) { // a key pressed or released every 9 frames, the eat key held longest
                const SDL_Keycode key = keys[random() % 7];
                pushKey(random() % 3 != 0 || key == SDLK_RETURN ? SDL_KEYDOWN : SDL_KEYUP, key);
                pushKey(SDL_KEYUP, keys[random() % 7]);
            }
            if (readPlayEvents(&State) == kFrameQuit) {
                break;
            }
            recordReplayFrame(&Recorded, findFrameActions(&State));
            result = advanceFrame(&State);
        }
        Recorded.end = findGameEnd(&State, findOutcome(result));
        return Recorded.end;
    }
    std::string common;
    SDL_Renderer* renderer = nullptr;
};

// The map: grass to find, two hunting spots, a rock wall between them.
TestMap makeHuntingMap() {
    TestMap map = makeOpenMap(30, 20);
    for (int row = 4; row < 14; row++) {
        setCell(&map, 2, row, 15, kTestRock);
    }
    const int grass[][2] = {{10, 10}, {10, 11}, {3, 20}, {16, 5}, {12, 24}};
    for (const auto& cell : grass) {
        setCell(&map, 1, cell[0], cell[1], kTestGrass);
    }
    setCell(&map, 3, 10, 10, kTestStart);
    setCell(&map, 3, 2, 2, kTestSpot);
    setCell(&map, 3, 18, 27, kTestSpot);
    map.music = 99;
    return map;
}

// Plays the recorded file back headless and returns its result, with what it printed.
int playBackHeadless(const char* path, std::string* printed) {
    testing::internal::CaptureStdout();
    const int result = playReplayHeadless(path);
    *printed = testing::internal::GetCapturedStdout();
    return result;
}

TEST_F(ReplayGame, AGamePlayedWithEventsPlaysBackHeadlessToTheSameEnd) {
    writeTestWorld(makeHuntingMap());
    setTrackSides(1); // a side left over from an earlier game, which the replay must hold
    const ReplayEnd end = playRecorded(3000);
    ASSERT_GT(end.frames, 1100) << "the hunter should have come";
    ASSERT_GE(end.hunterX, 0);
    ASSERT_EQ(writeReplayFile(&Recorded, "game.replay"), 0);
    setTrackSides(0);
    gPlayerX = gPlayerY = 0;
    std::string printed;
    ASSERT_EQ(playBackHeadless("game.replay", &printed), kReplayMatched) << printed;
    static const char* const kWords[] = {"won", "killed", "closed"};
    char expected[200];
    const int seconds = end.frames / 40;
    snprintf(expected, sizeof expected, "game.replay: %s after %d frames (%d:%02d), %d of 5 tufts eaten, %d wound",
             kWords[end.outcome], end.frames, seconds / 60, seconds % 60, 3 - end.foodLeft, end.wounds);
    EXPECT_EQ(printed.substr(0, strlen(expected)), expected);
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;

    // A replay whose end no longer follows says so with status 1.
    Recorded.end.deerX += 10;
    ASSERT_EQ(writeReplayFile(&Recorded, "moved.replay"), 0);
    EXPECT_EQ(playBackHeadless("moved.replay", &printed), kReplayDiffered);
    EXPECT_NE(printed.find("the recorded game ended otherwise"), std::string::npos) << printed;

    // Other map or tile-property files than the game was played on: status 2, one line naming them.
    writeCommonFile("map00000.tmx", formatMap(makeOpenMap(30, 20)));
    EXPECT_EQ(playBackHeadless("game.replay", &printed), kReplayUnusable);
    EXPECT_NE(printed.find("another map00000.tmx than ../Common/map00000.tmx"), std::string::npos) << printed;
    writeTestWorld(makeHuntingMap());
    writeCommonFile("properties.tmx", formatTestProperties() + " ");
    EXPECT_EQ(playBackHeadless("game.replay", &printed), kReplayUnusable);
    EXPECT_NE(printed.find("other tile properties"), std::string::npos) << printed;
    EXPECT_EQ(playBackHeadless("nowhere.replay", &printed), kReplayUnusable);
    EXPECT_EQ(printed, "nowhere.replay cannot be read: No such file or directory.\n");
}

// A map given with --map: the replay names it, and needs it given again to play back.
TEST_F(ReplayGame, AGameOnAnotherMapNeedsThatMapToPlayBack) {
    writeTestWorld(makeHuntingMap());
    const std::string forest = common + "/../forest.tmx";
    fs::rename(common + "/map00000.tmx", forest);
    snprintf(gMapPath, sizeof gMapPath, "%s", forest.c_str());
    playRecorded(300);
    EXPECT_STREQ(Recorded.mapName, "forest.tmx");
    ASSERT_EQ(writeReplayFile(&Recorded, "forest.replay"), 0);
    gMapPath[0] = '\0';
    std::string printed;
    EXPECT_EQ(playBackHeadless("forest.replay", &printed), kReplayUnusable);
    EXPECT_EQ(printed, "forest.replay: the game was played on forest.tmx, which is not in ../Common/; give that map "
                       "with --map PATH.\n");
    snprintf(gMapPath, sizeof gMapPath, "%s", forest.c_str());
    EXPECT_EQ(playBackHeadless("forest.replay", &printed), kReplayMatched) << printed;
    gMapPath[0] = '\0';
}

// In the window the replay plays at the game's pace to its end, and Esc stops it at once.
TEST_F(ReplayGame, TheWindowShowsAReplayToItsEndUnlessEscStopsIt) {
    writeTestWorld(makeHuntingMap());
    playRecorded(12);
    ASSERT_EQ(writeReplayFile(&Recorded, "short.replay"), 0);
    gRenderer = renderer;
    std::string printed;
    testing::internal::CaptureStdout();
    EXPECT_EQ(watchReplay("short.replay"), kReplayMatched);
    printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed.substr(0, 33), "short.replay: closed after 12 fra") << printed;
    SDL_AddTimer(
        60, [](Uint32, void*) { return pushKey(SDL_KEYDOWN, SDLK_ESCAPE), Uint32(0); }, nullptr);
    testing::internal::CaptureStdout();
    EXPECT_EQ(watchReplay("short.replay"), kReplayMatched);
    printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed.substr(0, 28), "short.replay: stopped after ") << printed;
    gRenderer = nullptr;
}

TEST_F(ReplayGame, TheFolderKeepsTheNewestFiftyAndNothingElseIsTouched) {
    fs::create_directories("../Replays");
    for (int i = 0; i < 55; i++) {
        std::ofstream("../Replays/2020-01-01_00-00-" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".replay");
    }
    std::ofstream("../Replays/notes.txt");
    std::ofstream("../Replays/my-best-game.replay");
    makeSmallReplay(&Recorded);
    char first[kReplayPathSize];
    char second[kReplayPathSize];
    ASSERT_EQ(saveReplayInFolder(&Recorded, first, sizeof first), 0);
    ASSERT_EQ(saveReplayInFolder(&Recorded, second, sizeof second), 0);
    EXPECT_STRNE(first, second) << "two games ending in the same second keep two files";
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator("../Replays")) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 52u) << "50 replays, the notes and the player's own name";
    EXPECT_EQ(names[0], "2020-01-01_00-00-07.replay") << "the seven oldest went";
    EXPECT_EQ(names[50], "my-best-game.replay");
    EXPECT_EQ(names[51], "notes.txt");
    EXPECT_EQ(readReplayFile(second, &Decoded), kReplayOk);
    EXPECT_EQ(Decoded.frames, Recorded.frames);
    // A folder that cannot take the file: an error, and nothing left behind.
    EXPECT_NE(writeReplayFile(&Recorded, "../no-such-folder/x.replay"), 0);
    EXPECT_EQ(readReplayFile("..", &Decoded), kReplayUnreadable);
}

} // namespace
