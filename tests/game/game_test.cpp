// The game in-process: the deer's step, the play loop, the notices, the pause, the end screens and the title menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "game/bindings.h"
#include "game/endscreen.h"
#include "game/pause.h"
#include "game/play.h"
#include "game/startup.h"
#include "game/title.h"
#include "hunter/navigation.h"
#include "movement/movement.h"
#include "render/font.h"
#include "render/mapview.h"
#include "render/media.h"
#include "support/test_env.h"
#include "support/test_maps.h"
#include "world/map.h"
#include "world/tileprops.h"
#include "world/tracks.h"

static Uint8 Silence[10 * 44100 * 4]; // ten seconds of the mixer's 16-bit stereo

class PlayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        enterTempCommon();
        startHeadlessSDL();
        loadHeadlessMedia();
        for (int slot = 0; slot < kSoundSlots; slot++) { // long sounds: counts of those playing need no timing
            Mix_FreeChunk(gSnd[slot]);
            gSnd[slot] = Mix_QuickLoad_RAW(Silence, sizeof Silence);
        }
        resetBindings();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void startOn(const TestMap& map) { writeTestWorld(map), startGame(&state, nullptr); }
    PlayState state{};
};

// An open map with the given {layer, row, column, tile id} cells; its music 99 does not exist: quicker.
static TestMap makeMap(int columns, int rows, std::initializer_list<std::array<int, 4>> cells) {
    TestMap map = makeOpenMap(columns, rows);
    for (const auto& cell : cells) {
        setCell(&map, cell[0], cell[1], cell[2], cell[3]);
    }
    map.music = 99;
    return map;
}

static int countPlaying(int slot) {
    int count = 0;
    for (int channel = 0; channel < Mix_AllocateChannels(-1); channel++) {
        count += Mix_Playing(channel) != 0 && Mix_GetChunk(channel) == gSnd[slot] ? 1 : 0;
    }
    return count;
}

// Queues an event of a test's list: a key-down, a key-up (minus), a repeat (kRepeat + key), a close (0), the window's
// focus lost or gained, or a click.
constexpr SDL_Keycode kRepeat = 1 << 29, kFocusLost = 1, kFocusGained = 2, kClick = 3;
static void pushEvent(SDL_Keycode code) {
    SDL_Event event{code == 0 ? SDL_QUIT : code == kClick ? SDL_MOUSEBUTTONDOWN : SDL_WINDOWEVENT};
    event.window.event = code == kFocusLost ? SDL_WINDOWEVENT_FOCUS_LOST : SDL_WINDOWEVENT_FOCUS_GAINED;
    if (const SDL_Keycode key = abs(code) & ~kRepeat; key > kClick) {
        pushKey(code > 0 ? SDL_KEYDOWN : SDL_KEYUP, key, (abs(code) & kRepeat) != 0);
    } else {
        SDL_PushEvent(&event);
    }
}

class DeerTest : public PlayTest {
  protected:
    void SetUp() override {
        PlayTest::SetUp();
        startOn(makeMap(20, 20, {{1, 0, 1, kTestGrass}, {3, 0, 1, kTestStart}})); // grass under the head, row 0
    }
    // Steps the deer with that input; told gathers what the steps report, numbered from the game's start.
    void step(int inputX, int inputY, int frames = 1) {
        for (gPlayerInputX = inputX, gPlayerInputY = inputY; frames > 0; frames--) {
            steps++;
            if (const int result = stepDeer(&state.deer, &state.runHeld, state.eatHeld, state.smellHeld); result != 0) {
                told.emplace_back(steps, result);
            }
        }
    }
    int steps = 0;
    std::vector<std::pair<int, int>> told; // step, result
};

// Each case starts a game with its reserve and moves for its frames; then come the reserve, run held,
// x moved from 980, tracks laid, a footstep started in the last frame, animation counter and camera.
TEST_F(DeerTest, MovingAndStandingSpendAndRecoverTheReserveLayTracksAndMoveTheCamera) {
    // clang-format off
    const struct { const char* name; int stamina, wounded, run, inputX, inputY, frames;
                   std::tuple<int, int, int, int, int, int, int, int> after; } cases[] = {
        {"walk", 600, 0, 0, 1, 0, 6, {606, 0, 300, 2, 0, 15, 0, 0}},
        {"walk wounded", 600, 1, 0, 1, 0, 6, {600, 0, 300, 2, 0, 15, 0, 0}},
        {"walk to the tenth track", 600, 0, 0, 1, 0, 30, {630, 0, 1500, 10, 1, 39, 0, 0}},
        {"walk on while the index rests on ten", 600, 0, 0, 1, 0, 31, {631, 0, 1550, 10, 1, 10, 0, 0}},
        {"walk into the map's edge and push on", 600, 0, 0, -1, 0, 21, {621, 0, -860, 7, 0, 30, 0, 0}},
        {"sprint from a full reserve", 640, 0, 1, 1, 1, 64, {0, 1, 4480, 32, 0, 16, 146, 179}},
        {"a sprint that ran dry walks on", 640, 0, 1, 1, 1, 65, {1, 0, 4515, 32, 0, 17, 149, 182}},
        {"a sprint needs ten", 10, 0, 1, 1, 0, 1, {0, 1, 100, 0, 1, 11, 0, 0}},
        {"nine are not enough", 9, 0, 1, 1, 0, 1, {10, 0, 50, 0, 1, 10, 0, 0}},
        {"stand", 600, 0, 0, 0, 0, 1, {602, 0, 0, 0, 0, 9, 0, 0}},
        {"stand wounded", 600, 1, 0, 0, 0, 1, {601, 0, 0, 0, 0, 9, 0, 0}},
        {"stand holding run", 600, 0, 1, 0, 0, 1, {602, 1, 0, 0, 0, 9, 0, 0}},
        {"the reserve holds at 640", 639, 0, 0, 0, 0, 1, {640, 0, 0, 0, 0, 9, 0, 0}},
    };
    // clang-format on
    for (const auto& c : cases) {
        startGame(&state, nullptr);
        std::tie(state.deer.stamina, state.deer.isWounded, state.runHeld) = std::tuple(c.stamina, c.wounded, c.run);
        step(c.inputX, c.inputY, c.frames - 1);
        Mix_HaltChannel(-1);
        step(c.inputX, c.inputY);
        EXPECT_EQ(std::tuple(state.deer.stamina, state.runHeld, gPlayerX - 980, gNextTrackIndex[0],
                             countPlaying(kSoundFootstep), state.deer.deerAnimationCounter, gScreenX, gScreenY),
                  c.after)
            << c.name;
        const Track& track = gTrack[0][(gNextTrackIndex[0] + kTrackRing - 1) % kTrackRing]; // the newest
        const int side = abs(track.x - gPlayerX / 10) + abs(track.y - gPlayerY / 10 - 27);  // 3 to a side of the feet
        EXPECT_TRUE(state.deer.trackStepCounter > 0 || gNextTrackIndex[0] == 0 ||
                    (side == 3 * abs(c.inputX) + 3 * abs(c.inputY) && track.isBlood == c.wounded))
            << c.name << ": the track laid in the last frame is not at the feet, or not blood when wounded";
    }
}

// Each case: the input x and y, the facing (0 right, 1 up, 2 left, 3 down), then the facing standing after it.
TEST_F(DeerTest, TheDeerFacesItsWayAndStandingFacesTheLastHorizontalWay) {
    const int cases[][4] = {{0, 0, 0, 0},  {0, 1, 3, 0},   {-1, 0, 2, 2}, {0, -1, 1, 2}, {1, 0, 0, 0},
                            {1, -1, 0, 0}, {-1, -1, 1, 2}, {-1, 1, 2, 2}, {1, 1, 3, 0}};
    for (const auto& c : cases) {
        step(c[0], c[1]);
        const int facing = gPlayerOrientation;
        step(0, 0);
        EXPECT_EQ(std::pair(facing, gPlayerOrientation), std::pair(c[2], c[3])) << c[0] << ", " << c[1];
    }
}

// 28 frames lower the head, 165 eat the tile; released one frame early, the tile stays and the progress is lost. Then
// the head finds the cell empty and comes up, to stay up while eat is held: no miss. Lowered anew after a step, over
// the emptied cell, the head misses in the frame it finds no grass (the 28th after the pose began).
TEST_F(DeerTest, HoldingEatClearsTheGrassUnderTheHeadAfter28And165FramesAndReleasingLosesTheProgress) {
    const uint16_t& grass = gMap[kGridCells + 1]; // layer 1, row 0, column 1
    state.eatHeld = 1;
    step(0, 0, 192);
    EXPECT_EQ(std::pair(countPlaying(kSoundEating), state.deer.deerAnimationCounter / 10), std::pair(1, 6));
    state.eatHeld = 0; // the sound stops and the head comes up in 29 frames, then the deer stands
    step(0, 0, 29);
    EXPECT_EQ(std::tuple(countPlaying(kSoundEating), state.deer.deerAnimationCounter, grass), std::tuple(0, 40, 21));
    step(0, 0);
    std::tie(state.eatHeld, state.deer.stamina) = std::pair(1, 0);
    step(0, 0, 192);
    EXPECT_EQ(grass, kTestGrass) << "the progress before the release was kept";
    step(0, 0); // standing gives 2 a frame, the tile 50
    EXPECT_EQ(std::tuple(grass, gFoodLeftToEat, state.deer.stamina), std::tuple(0, -2, 2 * 193 + 50));
    step(0, 0, 30);
    EXPECT_EQ(state.deer.deerAnimationCounter, 40);
    step(1, 0); // a step ends the pose: still holding eat, the deer lowers its head anew
    step(0, 0);
    EXPECT_EQ(state.deer.deerAnimationCounter, 42);
    step(0, 0, 28);
    EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{415, kDeerAteTuft}, {475, kDeerMissedGrass}}));
}

// The nose rises (71..89) and sinks (88..70), the deer stands (8..0, 1..9), and again; from the 48th
// frame the indicator shows, here with the safe sound, once in the spell.
TEST_F(DeerTest, SmellingBeatsEatingCyclesTheNoseAndSniffsUntilTheDeerMoves) {
    state.eatHeld = 1;
    step(0, 0, 30); // the eating sound starts on a channel, and ends long before the tile is eaten
    Mix_HaltChannel(state.deer.eatChannel);
    state.smellHeld = 1;
    const int pose[][2] = {{1, 71}, {19, 89}, {20, 88}, {38, 70}, {39, 8}, {47, 0}, {48, 1}, {56, 9}, {57, 71}};
    for (int frame = 0, i = 0; i < 9; i++) {
        for (; frame < pose[i][0]; frame++) {
            step(0, 0);
            renderSmellIndicator(&state.deer, &state.hunter);
        }
        EXPECT_EQ(std::tuple(state.deer.deerAnimationCounter, countPlaying(kSoundSafe), countPlaying(kSoundSniff)),
                  std::tuple(pose[i][1], frame >= 48 ? 1 : 0, 1))
            << "frame " << frame;
    }
    state.eatHeld = 0;
    step(0, 0); // the sniff took the eating sound's channel, which releasing eat must not halt
    EXPECT_EQ(std::pair(state.deer.smellChannel, countPlaying(kSoundSniff)), std::pair(state.deer.eatChannel, 1));
    step(1, 0);
    EXPECT_EQ(countPlaying(kSoundSniff), 0) << "moving did not end the sniff";
}

TEST_F(DeerTest, TheIndicatorPointsAtANearHunterAndShowsTheBlueCircleOtherwise) {
    installCodedSheet(kTextureIcon, 10, 2, 16, 16, 150);
    installCodedSheet(kTextureHunter, 10, 8, 32, 32, 50);
    std::tie(gPlayerX, gPlayerY, state.deer.smellTime, state.hunter.hunterAnimationCounter,
             state.hunter.hunterOrientation) =
        std::tuple(6400, 3840, kSmellIndicatorFrame, 12, 2); // revealed, the hunter is cell (2, 6) of his sheet
    centerScreenOnXY(640, 384);                              // the deer is drawn at (400, 300)
    // The hunter's offset from the deer in map pixels (dx 99999: no hunter), the deer's facing, then the
    // arrow's top-left corner on screen and its icon cell (column -1: the circle).
    // clang-format off
    const struct { int dx, dy, facing, x, y, column, row; } cases[] = {
        {0, -500, 0, 400, 228, 4, 0}, {-400, -400, 0, 372, 240, 5, 0}, {400, -400, 0, 428, 240, 3, 0},
        {600, 0, 0, 440, 268, 2, 0}, {-600, 0, 0, 360, 268, 6, 0}, {-400, 400, 0, 372, 296, 7, 0},
        {200, 200, 0, 428, 296, 9, 0}, {0, 600, 0, 400, 308, 8, 0}, {600, 0, 2, 408, 268, 2, 0},
        {0, -999, 0, 400, 228, 4, 0}, {0, -1000, 0, 400, 228, 4, 1}, {0, -1999, 0, 400, 228, 4, 1},
        {0, -2000, 0, 384, 252, -1, 0}, {99999, 0, 0, 384, 252, -1, 0}, {99999, 0, 2, 352, 252, -1, 0},
        {-50, -130, 0, 400, 228, 4, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::tie(gPlayerOrientation, gHunterX, gHunterY, state.deer.smellResultPending) =
            std::tuple(c.facing, c.dx == 99999 ? -1 : gPlayerX + 10 * c.dx, gPlayerY + 10 * c.dy, 1);
        Mix_HaltChannel(-1);
        SDL_RenderClear(gRenderer);
        renderSmellIndicator(&state.deer, &state.hunter);
        renderSmellIndicator(&state.deer, &state.hunter); // the result sound plays once
        const bool circle = c.column < 0;                 // the sheet's 32 x 32 corner, drawn 64 x 64
        const int far = circle ? 63 : 31, cell = circle ? 0 : c.column * 100 + c.row;
        EXPECT_EQ(std::tuple(codedCellAt(c.x, c.y, 150), codedCellAt(c.x + far, c.y + far, 150),
                             countPlaying(kSoundSafe), countPlaying(kSoundDanger)),
                  std::tuple(cell, circle ? 101 : cell, int(circle), int(!circle)))
            << "hunter at " << c.dx << ", " << c.dy << " facing " << c.facing;
        EXPECT_TRUE(circle || abs(c.dx) + abs(c.dy) > 400 || codedCellAt(400 + c.dx, 300 + c.dy, 50) == 206)
            << "the hunter, on screen when 400 pixels near, is not revealed";
    }
}

// A key shared with all bindings after its own drives only the first, in the order right, left, down, up, run, eat,
// smell, fullscreen: its repeated key-down changes nothing, its key-down sets the action, its repeated key-up nothing,
// its key-up clears it, and fullscreen switches on the key-down only. The frame's input follows the movement actions.
TEST_F(PlayTest, AKeyDrivesTheFirstOfItsActionsInTheOrderRightLeftDownUpRunEatSmellFullscreen) {
    startOn(makeMap(20, 12, {}));
    const int order[8] = {3, 2, 1, 0, 4, 5, 6, 7}; // the bindings in that order
    const SDL_Keycode events[] = {kRepeat + 'k', 'k', -(kRepeat + 'k'), -'k'};
    for (int first = 0; first < 8; first++) {
        for (int later = first; later < 8; later++) {
            *gBindingInOrder[order[later]] = 'k';
        }
        for (int e = 0; e < 4; e++) {
            pushEvent(events[e]);
            ASSERT_EQ(playFrame(&state), kFrameGoesOn);
            const std::vector<int> held = {state.rightHeld, state.leftHeld, state.downHeld,  state.upHeld,
                                           state.runHeld,   state.eatHeld,  state.smellHeld, gIsFullscreen,
                                           gPlayerInputX,   gPlayerInputY};
            std::vector<int> expected(10, 0); // the eight actions, then the frame's input
            expected[size_t(first)] = e == 1 || e == 2 || (first == 7 && e == 3);
            std::tie(expected[8], expected[9]) = std::pair(expected[0] - expected[1], expected[2] - expected[3]);
            EXPECT_EQ(held, expected) << "the key of action " << first << ", event " << e;
        }
        resetBindings();
    }
    toggleFullscreen(); // back to the window
}

// Painter's order: the ground and the tracks, the objects above the deer's row, the deer, the objects
// of its row and below, the two overlay classes over it (tile 44 made class 4), the snow over all.
TEST_F(PlayTest, TheDeerStandsBetweenTheObjectsAboveItsRowAndThoseOfItsRowAndBelow) {
    startOn(makeMap(20, 12, {{2, 4, 5, kTestRock}, {2, 5, 5, kTestRock}, {2, 4, 6, kTestBush}, {1, 5, 6, 44}}));
    gTileTypeOverlay[44] = 4;
    installCodedSheet(kTextureTiles, 64, 3, 32, 32, 200);
    installCodedSheet(kTextureDeer, 9, 4, 32, 32, 100);
    installCodedSheet(kTextureSnow, 9, 2, 64, 64, 250);
    SDL_SetTextureAlphaMod(gTexture[kTextureSnow], 0);    // no snow in the first frame
    std::tie(gPlayerX, gPlayerY) = std::pair(3840, 3100); // sprite x 352..415, y 278..341
    centerScreenOnXY(384, 310); // the deer's feet in row 5; the screen shows the map from y 10 on
    gNextTrackIndex[0] = gOldestTrackIndex[0] = kTrackRing - 1; // the ring wraps round with this track:
    addTrack(0, 200, 373, 0, 0, 0);                             // a dot at map pixel (200, 400)
    state.eatHeld = 1; // the head lowers: counter 42, the fifth cell of the deer's row
    ASSERT_EQ(playFrame(&state), kFrameGoesOn);
    EXPECT_EQ(std::pair(gTextX, gTextY), std::pair(345, 190)) << "the introduction does not end as with \"arrow keys\"";
    // clang-format off
    const struct { int x, y, blue, cell; const char* what; } pixels[] = {
        {330, 260, 200, 1700, "a rock above the deer's row"}, {360, 290, 100, 400, "the deer over it"},
        {360, 320, 200, 1700, "a rock of its row over it"}, {400, 290, 200, 3900, "a bush over it"},
        {400, 320, 200, 4300, "a class-4 tile over it"}, {300, 410, 200, 0, "the ground"},
        {200, 390, 0, 0, "a black track on the ground"}};
    // clang-format on
    for (const auto& p : pixels) {
        EXPECT_EQ(codedCellAt(p.x, p.y, Uint8(p.blue)), p.cell) << p.what;
    }
    SDL_SetTextureAlphaMod(gTexture[kTextureSnow], 255);
    ASSERT_EQ(playFrame(&state), kFrameGoesOn);
    EXPECT_EQ(codedCellAt(360, 290, 250) % 100, 1) << "no snow over all";
}

// Whether a box's outline crosses screen point (x, y): black there, white at (x + dx, y + dy) inside.
static bool isBoxEdge(int x, int y, int dx, int dy) {
    const SDL_Color edge = readPixel(x, y), inside = readPixel(x + dx, y + dy);
    return edge.r + edge.g + edge.b == 0 && inside.r + inside.g + inside.b == 3 * 255;
}
static bool boxEndsAt(int y) { return isBoxEdge(362, y, 0, -6); } // a tutorial box's bottom edge
static bool noticeAt(int y) { return isBoxEdge(779, y, -2, 0); }  // the right edge all notice boxes share

// The head over grass (in the first column) in frame 1 brings the eat hint in frames 1 to 165, the hunter warning in
// 466 to 1065 and the hunter from 1065 on; the fifth track ends the introduction. Keypad names need a thirteenth line
// of it (the twelfth names the pause key) and a second of "Hold Keypad Enter to eat": the boxes grow. A second game
// starts afresh.
TEST_F(PlayTest, TheTutorialBoxesShowOnTheirFramesAndTheHunterComesAfter) {
    std::tie(gKeycodeUp, gKeycodeDown, gKeycodeLeft, gKeycodeRight, gKeycodeConfirmEat) =
        std::tuple(SDLK_KP_8, SDLK_KP_2, SDLK_KP_4, SDLK_KP_6, SDLK_KP_ENTER);
    startOn(makeMap(40, 20, {{1, 10, 0, kTestGrass}, {3, 10, 0, kTestStart}, {3, 18, 38, kTestSpot}}));
    pushKey(SDL_KEYDOWN, SDLK_KP_6); // tracks on frames 3, 6, .. 15
    for (int frame = 1; frame <= 1080; frame++) {
        ASSERT_EQ(playFrame(&state), kFrameGoesOn);
        EXPECT_EQ(std::tuple(boxEndsAt(219), boxEndsAt(56), boxEndsAt(189), gHunterX >= 0),
                  std::tuple(frame < 15, frame <= 165, frame >= 466 && frame <= 1065, frame >= 1065))
            << "introduction, eat hint, warning and hunter in frame " << frame;
    }
    writeTestWorld(makeMap(40, 20, {{3, 10, 20, kTestStart}, {3, 18, 38, kTestSpot}})); // the camera on the deer
    startGame(&state, nullptr);
    EXPECT_EQ(std::tuple(gNextTrackIndex[0], gOldestTrackIndex[0], gNextTrackIndex[1], gOldestTrackIndex[1],
                         gHunterX < 0, gHuntingSpots, state.showIntroduction, state.eatHintTimer, gScreenX, gScreenY),
              std::tuple(0, 0, 0, 0, true, 1, 1, -1, 914, 371));
}

// What SDL's timer thread queues while a screen runs, behind what is queued: the script's events, one every 10 ms,
// then its last again and again, so that a screen that missed it still ends; and what it saw of the mixer.
struct Feed {
    std::vector<SDL_Keycode> script;
    std::atomic<int> pushed{0}; // events taken from the script so far, counted before each is pushed
    std::atomic<int> pausedChannels{-1}, pausedMusic{-1}; // as the first was pushed
    int result = -1;                                      // the screen's
};

// Runs a screen fed the script from delay ms on; then drops what is left, and the end-of-poll mark of a screen that
// left mid-queue. Feeds are kept for the program's life: a callback may still run after SDL_RemoveTimer.
static const Feed& runFed(Uint32 delay, std::vector<SDL_Keycode> script, const std::function<int()>& screen) {
    static std::vector<std::unique_ptr<Feed>> Feeds;
    Feed* feed = Feeds.emplace_back(new Feed{std::move(script)}).get();
    auto pushNext = [](Uint32, void* fed) {
        Feed* feed = static_cast<Feed*>(fed);
        const size_t next = size_t(feed->pushed.fetch_add(1));
        if (next == 0) {
            std::tie(feed->pausedChannels, feed->pausedMusic) = std::pair(Mix_Paused(-1), Mix_PausedMusic());
        }
        pushEvent(feed->script[std::min(next, feed->script.size() - 1)]);
        return Uint32(10);
    };
    const SDL_TimerID timer = SDL_AddTimer(delay, pushNext, feed);
    feed->result = screen();
    SDL_RemoveTimer(timer);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    return *feed;
}

// A closed window ends a game with 0 and no end screen; a won game returns its end screen's result.
TEST_F(PlayTest, PlayReturnsZeroForAClosedWindowAndTheEndScreensResultForAWonGame) {
    writeTestWorld(makeMap(20, 12, {{1, 2, 2, kTestGrass}, {1, 2, 4, kTestGrass}, {1, 6, 6, kTestGrass}}));
    EXPECT_EQ(runFed(10, {0}, [] { return play(nullptr); }).result, 0); // three tufts: not won before the window closes
    EXPECT_STREQ(gMusicFilePath, "../Common/mus99.mid") << "an end screen was shown";
    writeTestWorld(makeMap(20, 12, {{1, 2, 2, kTestGrass}, {1, 2, 4, kTestGrass}})); // won in the first frame
    EXPECT_EQ(runFed(10, {SDLK_SPACE}, [] { return play(nullptr); }).result, 1);
    EXPECT_STREQ(gMusicFilePath, "../Common/mus02.mid") << "not the victory music";
}

// Each case queues events from the game's last moments, starts the victory screen (with music 99, which does not
// exist: sooner) with the sniff looping, and feeds it its script from 300 ms after its pause. The screen must end with
// the expected result and, where the script's last event is what ends it, only once that event was pushed.
TEST_F(PlayTest, AnEndScreenLeavesOnlyOnAKeyPressedAfterItsPauseOrAClosedWindowAndStopsTheSounds) {
    const SDL_Keycode eat = SDLK_RETURN, eatHeld = kRepeat + eat, key = SDLK_SPACE, keyHeld = kRepeat + key;
    // clang-format off
    const struct { const char* why; std::vector<SDL_Keycode> before, script; int result; bool lastEnds; } cases[] = {
        {"eat held through the last tuft: its repeats and its release do not leave, a new press does",
         {eat}, {eatHeld, eatHeld, eatHeld, eatHeld, eatHeld, -eat, eat}, 1, true},
        {"keys from the game's last moments are dropped; another key's repeats, a click, a key-up stay; a close leaves",
         {key, SDLK_LEFT, -SDLK_LEFT}, {keyHeld, keyHeld, kClick, -key, keyHeld, 0}, 0, true},
        {"a window closed during the pause ends the program once the pause is over", {eat, 0}, {eat}, 0, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::for_each(c.before.begin(), c.before.end(), pushEvent);
        Mix_PlayChannelTimed(-1, gSnd[kSoundSniff], -1, -1);
        const Feed& fed =
            runFed(kEndScreenPauseMs + 300, c.script, [] { return displayGameOverScreen(kTextureWin, 99); });
        EXPECT_EQ(std::tuple(fed.result, fed.pushed >= int(c.script.size()) || !c.lastEnds, Mix_Playing(-1)),
                  std::tuple(c.result, true, 0))
            << c.why << " (the result, the screen lasting until the script's end, the sounds stopped)";
    }
}

// Events queued before the title opens (see pushEvent), then the choice, the menu sounds started and the fullscreen
// flag. Keys move round the entries, repeats too; a repeated confirm (eat held from an end screen) chooses nothing.
TEST_F(PlayTest, TheTitleMenuKeysMoveRoundTheThreeEntriesWithASoundAndConfirmChooses) {
    // clang-format off
    const struct { std::vector<SDL_Keycode> events; int choice, sounds, fullscreen; } cases[] = {
        {{SDLK_UP, SDLK_UP, SDLK_F4, SDLK_RETURN}, kMenuSettings, 2, 1},
        {{SDLK_DOWN, kRepeat + SDLK_DOWN, SDLK_DOWN, 'x', SDLK_RETURN}, kMenuStartGame, 3, 0},
        {{SDLK_DOWN, kRepeat + SDLK_RETURN, 0}, kMenuQuit, 1, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        Mix_HaltChannel(-1);
        std::for_each(c.events.begin(), c.events.end(), pushEvent);
        const int choice = displayTitleScreen(); // the menu sound is all that plays
        EXPECT_EQ(std::tuple(choice, Mix_Playing(-1), gIsFullscreen), std::tuple(c.choice, c.sounds, c.fullscreen))
            << c.events.size() << " events";
        gIsFullscreen != 0 ? toggleFullscreen() : void(); // back to the window
    }
    const SDL_Keycode toQuit[] = {SDLK_DOWN, SDLK_DOWN, SDLK_RETURN};
    std::for_each(std::begin(toQuit), std::end(toQuit), pushEvent);
    runMainLoop(nullptr); // returns: the main loop ends with the quit entry
}

// Counts the pixels of a screen rectangle that show the coded sheet cell code (column * 100 + row) of that blue.
static int countCoded(const SDL_Rect& rect, int code, Uint8 blue) {
    std::vector<Uint32> pixels(size_t(rect.w * rect.h));
    SDL_RenderReadPixels(gRenderer, &rect, SDL_PIXELFORMAT_ARGB8888, pixels.data(), rect.w * 4);
    return int(std::count_if(pixels.begin(), pixels.end(), [&](Uint32 p) {
        return (p & 0xFF) == blue && int((p >> 16 & 0xFF) - 1) / 3 * 100 + int((p >> 8 & 0xFF) - 1) / 8 == code;
    }));
}

// With the deer's figure and the snow invisible, the cell under the head shows the tuft alone: whole while the head
// goes down, then 51, 38, 25 and 12 pixels a side from the eating's frames 1, 42, 83 and 124 on, shrunk towards the
// mouth. The tuft eaten, a box at the top right names the tufts left, the game's own count, for 100 frames. Lowered
// anew over the emptied cell, the head finds no grass in its 29th frame and a box says why, three times a game.
TEST_F(PlayTest, TheTuftBeingEatenShrinksTowardsTheMouthAndBoxesThenSayHowManyAreLeftOrWhyNothingWasEaten) {
    const int g = kTestGrass; // four tufts, one under the head
    startOn(makeMap(20, 12, {{1, 4, 6, g}, {3, 4, 6, kTestStart}, {1, 1, 1, g}, {1, 9, 1, g}, {1, 9, 16, g}}));
    installCodedSheet(kTextureTiles, 64, 3, 32, 32, 200);
    SDL_SetTextureAlphaMod(gTexture[kTextureDeer], 0);
    SDL_SetTextureAlphaMod(gTexture[kTextureSnow], 0);
    const SDL_Rect cell{6 * 64 - gScreenX, 4 * 64 - gScreenY, 64, 64};
    const int mouthX = gPlayerX / 10 + 16 - gScreenX - 2; // inside the smallest tuft
    const int mouthY = gPlayerY / 10 + 30 - gScreenY - 2;
    const int grass = (kTestGrass - 1) * 100;
    const std::pair<int, int> stages[] = {{28, 64}, {29, 51}, {69, 51}, {70, 38}, {111, 25}, {152, 12}, {192, 12}};
    state.eatHeld = 1;
    for (int frame = 1; frame <= 293; frame++) {
        ASSERT_EQ(playFrame(&state), kFrameGoesOn);
        for (const auto& [when, side] : stages) {
            EXPECT_TRUE(frame != when || std::pair(countCoded(cell, grass, 200), codedCellAt(mouthX, mouthY, 200)) ==
                                             std::pair(side * side, grass))
                << "frame " << frame << ": not a tuft of " << side << " pixels a side at the mouth";
        }
        EXPECT_TRUE(frame < 193 ||
                    std::pair(noticeAt(22), state.notices.progressLeft) == std::pair(frame <= 292, gFoodLeftToEat))
            << "frame " << frame;
    }
    EXPECT_EQ(gFoodLeftToEat, 1); // of four tufts, the last but one
    char text[40];
    EXPECT_STREQ(formatProgress(text, sizeof text, 7), "7 more tufts and spring comes");
    EXPECT_STREQ(formatProgress(text, sizeof text, 1), "One more tuft!");
    state.eatHeld = 0; // released for a frame: the head goes down anew
    ASSERT_EQ(playFrame(&state), kFrameGoesOn);
    state.eatHeld = 1;
    for (int frame = 1; frame <= 29; frame++) {
        ASSERT_EQ(playFrame(&state), kFrameGoesOn);
        EXPECT_EQ(noticeAt(22), frame == 29) << "frame " << frame << " of the head going down over no grass";
    }
    for (int hint = 2; hint <= 4; hint++) { // hints two to four of the game
        state.notices.missedGrassFrames = 0;
        noteMissedGrass(&state.notices);
        EXPECT_EQ(state.notices.missedGrassFrames > 0, hint <= 3) << "hint " << hint;
    }
}

// The notices stand at the top right unless one would come within 16 pixels of the deer's figure (drawn around its
// centre, given on screen): then at the bottom right. The progress box for 2 is 300 x 22 at (480, 20); under the
// wound box (330 x 52) it stands at (480, 78), and the stack ends at y 99.
TEST_F(PlayTest, TheNoticesStandAtTheTopRightOrAtTheBottomWhenTheyWouldCoverTheDeer) {
    startOn(makeMap(20, 12, {}));
    // clang-format off
    const struct { int x, y, wound; bool top; } cases[] = {
        {400, 300, 0, true}, {700, 40, 0, false}, {460, 90, 0, true}, {460, 89, 0, false}, {432, 40, 0, true},
        {433, 40, 0, false}, {700, 560, 0, true}, {460, 148, 1, true}, {460, 147, 1, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::tie(gScreenX, gScreenY, gPlayerX, gPlayerY, state.notices) =
            std::tuple(0, 0, 10 * c.x, 10 * c.y, NoticeState{});
        c.wound != 0 ? noteWound(&state.notices) : void();
        noteTuftEaten(&state.notices, 2);
        SDL_RenderClear(gRenderer);
        renderNotices(&state.notices);
        EXPECT_EQ(std::pair(noticeAt(22), noticeAt(578)), std::pair(c.top, !c.top)) << "deer at " << c.x << ", " << c.y;
    }
}

// The hunter, in view three cells east and done aiming, fires: in that frame and the next 15 the screen's edges are
// red, and a box at the top right tells of the wound, for six seconds (the hunter leaves before his second shot).
TEST_F(PlayTest, TheFirstHitFlashesRedAtTheScreensEdgesAndABoxSaysTheDeerIsWounded) {
    startOn(makeMap(20, 12, {{3, 5, 6, kTestStart}}));
    std::tie(gHunterX, gHunterY, state.hunter.aimCountdown) = std::tuple(gPlayerX + 1920, gPlayerY, 0);
    for (int frame = 1; frame <= 241; frame++) {
        ASSERT_EQ(playFrame(&state), kFrameGoesOn);
        gHunterX = -1;
        const SDL_Color edge = readPixel(3, 300);
        EXPECT_EQ(std::tuple(state.deer.isWounded, edge.r > edge.g, noticeAt(22)),
                  std::tuple(1, frame <= 16, frame <= 240))
            << "frame " << frame;
    }
}

// Escape pauses, or Pause when Escape is bound to an action (which Escape then drives); so does the window losing the
// focus. A paused frame advances nothing; repeats and a regained focus change nothing.
TEST_F(PlayTest, ThePauseKeyAndALostFocusPauseWithoutAdvancingTheGame) {
    startOn(makeMap(20, 12, {}));
    // clang-format off
    const struct { bool escapeSmells; SDL_Keycode event; int result, smellHeld; } cases[] = {
        {false, SDLK_ESCAPE, kFramePause, 0}, {false, kRepeat + SDLK_ESCAPE, kFrameGoesOn, 0},
        {false, SDLK_PAUSE, kFrameGoesOn, 0}, {true, SDLK_ESCAPE, kFrameGoesOn, 1}, {true, SDLK_PAUSE, kFramePause, 0},
        {false, kFocusLost, kFramePause, 0}, {false, kFocusGained, kFrameGoesOn, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::tie(gKeycodeCancelSmell, state.smellHeld) = std::pair(c.escapeSmells ? SDLK_ESCAPE : SDLK_RCTRL, 0);
        pushEvent(c.event);
        const int frames = state.frames;
        const int result = playFrame(&state);
        EXPECT_EQ(std::tuple(result, state.frames - frames, state.smellHeld),
                  std::tuple(c.result, c.result == kFramePause ? 0 : 1, c.smellHeld))
            << "event " << c.event << (c.escapeSmells ? " with Escape bound to smell" : "");
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT); // the end-of-poll mark a pause leaves queued
    }
}

// Paused with eat held and the sniff looping: the kept frame (red) shows darkened under the pause box at the bottom
// while music and sounds are paused. The events queued first only set the held flags (repeats and a regained focus do
// nothing); the one fed 100 ms later ends the pause: the pause key goes on with the sounds resumed, the confirm key
// leaves with them stopped, a close quits.
TEST_F(PlayTest, ThePauseShowsTheKeptFrameHoldsTheSoundsAndEndsWithThePauseKeyTheConfirmKeyOrAClose) {
    startOn(makeMap(20, 12, {{3, 5, 6, kTestStart}})); // the deer in the middle, clear of the box
    // clang-format off
    const struct { std::vector<SDL_Keycode> before; SDL_Keycode last; int result, eat, right, sniffs; } cases[] = {
        {{kRepeat + SDLK_RETURN, -SDLK_RETURN, SDLK_RIGHT, kFocusGained}, SDLK_ESCAPE, kPauseGoOn, 0, 1, 1},
        {{-SDLK_ESCAPE, kRepeat + SDLK_ESCAPE}, SDLK_RETURN, kPauseLeave, 1, 0, 0},
        {{SDLK_LEFT, -SDLK_LEFT}, 0, kPauseQuit, 1, 0, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::tie(state.eatHeld, state.rightHeld) = std::pair(1, 0);
        Mix_HaltChannel(-1);
        Mix_PlayChannelTimed(-1, gSnd[kSoundSniff], -1, -1);
        beginKeptFrame();
        SDL_SetRenderDrawColor(gRenderer, 255, 0, 0, 255);
        SDL_RenderClear(gRenderer);
        endKeptFrame();
        std::for_each(c.before.begin(), c.before.end(), pushEvent);
        const Feed& fed = runFed(100, {c.last}, [this] { return pauseGame(&state); });
        EXPECT_EQ(std::tuple(fed.result, state.eatHeld, state.rightHeld, countPlaying(kSoundSniff)),
                  std::tuple(c.result, c.eat, c.right, c.sniffs));
        EXPECT_EQ(std::tuple(fed.pausedChannels.load(), fed.pausedMusic.load(), Mix_Paused(-1), Mix_PausedMusic()),
                  std::tuple(1, 1, 0, 0));
        const SDL_Color kept = readPixel(10, 10);
        EXPECT_EQ(std::tuple(kept.r, kept.g, readPixel(210, 530).r, readPixel(212, 530).r),
                  std::tuple(255 - 80, 0, 0, 255))
            << "not the kept frame darkened under the pause box";
    }
}
