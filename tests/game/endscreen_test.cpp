// The end screens in-process: what leaves them after the pause and what does not, and the sounds
// they stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <type_traits>
#include <vector>

#include "game/endscreen.h"
#include "render/media.h"
#include "support/test_env.h"

namespace {

constexpr int kMissingMusic = 99;                        // no such file: the screen runs without music, and sooner
constexpr Uint32 kFeedStartMs = kEndScreenPauseMs + 300; // the pause and its discarding are over
constexpr Uint32 kFeedStepMs = 10;

SDL_Event key(SDL_EventType type, SDL_Keycode code, int repeat = 0) {
    SDL_Event event{};
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = Uint8(repeat);
    event.key.keysym.sym = code;
    return event;
}

SDL_Event other(SDL_EventType type) {
    SDL_Event event{};
    event.type = type;
    return event;
}

// What SDL's timer thread pushes while an end screen runs: the script, one event a step once the
// pause is over, then its last event again and again, so that a screen that missed it still ends.
// A feed outlives its screen: SDL_RemoveTimer does not wait for a callback that is running.
struct Feed {
    std::vector<SDL_Event> script;
    std::atomic<int> pushed{0}; // events taken from the script so far, counted before each is pushed
};

Uint32 pushNext(Uint32, void* data) {
    Feed* feed = static_cast<Feed*>(data);
    const size_t next = size_t(feed->pushed.fetch_add(1));
    SDL_Event event = feed->script[std::min(next, feed->script.size() - 1)];
    SDL_PushEvent(&event);
    return kFeedStepMs;
}

class EndScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        enterTempCommon();
        startHeadlessSDL();
        loadHeadlessMedia();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
};

// Each case queues events from the game's last moments, starts the victory screen with the sniff
// sound looping, and feeds its script after the pause. The screen must end with the expected result
// and, where the script's last event is what ends it, only once that event was pushed.
TEST_F(EndScreenTest, OnlyAKeyPressedAfterThePauseOrAClosedWindowLeavesAndSoundsStop) {
    // clang-format off
    const struct {
        const char* why;
        std::vector<SDL_Event> before, script;
        int result;
        bool lastEventEnds;
    } cases[] = {
        {"eat held through the last tuft: its repeats and its release do not leave, a new press does",
         {key(SDL_KEYDOWN, SDLK_RETURN)},
         {key(SDL_KEYDOWN, SDLK_RETURN, 1), key(SDL_KEYDOWN, SDLK_RETURN, 1), key(SDL_KEYDOWN, SDLK_RETURN, 1),
          key(SDL_KEYDOWN, SDLK_RETURN, 1), key(SDL_KEYDOWN, SDLK_RETURN, 1), key(SDL_KEYUP, SDLK_RETURN),
          key(SDL_KEYDOWN, SDLK_RETURN)},
         1, true},
        {"keys pressed as the game ended are dropped; another key's repeats, a click and a key-up do not "
         "leave; closing the window does",
         {key(SDL_KEYDOWN, SDLK_SPACE), key(SDL_KEYDOWN, SDLK_LEFT), key(SDL_KEYUP, SDLK_LEFT)},
         {key(SDL_KEYDOWN, SDLK_SPACE, 1), key(SDL_KEYDOWN, SDLK_SPACE, 1), other(SDL_MOUSEBUTTONDOWN),
          key(SDL_KEYUP, SDLK_SPACE), key(SDL_KEYDOWN, SDLK_SPACE, 1), other(SDL_QUIT)},
         0, true},
        {"a window closed during the pause ends the program once the pause is over",
         {key(SDL_KEYDOWN, SDLK_RETURN), other(SDL_QUIT)},
         {key(SDL_KEYDOWN, SDLK_RETURN)},
         0, false},
    };
    // clang-format on
    static Feed Feeds[std::extent_v<decltype(cases)>];
    for (size_t i = 0; i < std::extent_v<decltype(cases)>; i++) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.why);
        for (SDL_Event event : c.before) {
            SDL_PushEvent(&event);
        }
        Mix_PlayChannel(-1, gSnd[kSoundSniff], -1);
        Feed& feed = Feeds[i];
        feed.script = c.script;
        const SDL_TimerID timer = SDL_AddTimer(kFeedStartMs, pushNext, &feed);
        const int result = displayGameOverScreen(kTextureWin, kMissingMusic);
        SDL_RemoveTimer(timer);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        EXPECT_EQ(result, c.result);
        if (c.lastEventEnds) {
            EXPECT_GE(feed.pushed.load(), int(c.script.size())) << "the screen ended before its script did";
        }
        EXPECT_EQ(Mix_Playing(-1), 0) << "the sniff sound still plays";
    }
}

} // namespace
