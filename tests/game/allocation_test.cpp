// Steady-state frames of play allocate nothing: every allocation on the main thread is counted.
#include <gtest/gtest.h>

#include <cstddef>

#include "game/bindings.h"
#include "game/play.h"
#include "hunter/navigation.h"
#include "render/media.h"
#include "support/test_env.h"
#include "support/test_maps.h"

#if defined(__SANITIZE_ADDRESS__)
#define VELMOOR_COUNTS_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMOOR_COUNTS_ALLOCATIONS 0
#endif
#endif
#ifndef VELMOOR_COUNTS_ALLOCATIONS
#define VELMOOR_COUNTS_ALLOCATIONS 1
#endif

#if VELMOOR_COUNTS_ALLOCATIONS
// glibc's own allocator, wrapped so that this test binary sees every allocation of the process.
// The game's code is linked into this executable; the SDL libraries are shared. An allocation
// counts when it is made by code of this executable, or is a C++ new: SDL's software renderer
// allocates inside its blits, which is the driver's business, not the game's.
extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* pointer, size_t size);
extern "C" char __executable_start; // the linker's bounds of this executable's code
extern "C" char etext;

static thread_local bool Counting = false; // set only on the main thread while frames run
static long Allocations = 0;

static void countAllocationFrom(const void* caller) {
    const char* address = static_cast<const char*>(caller);
    if (Counting && address >= &__executable_start && address < &etext) {
        Allocations++;
    }
}

extern "C" void* malloc(size_t size) {
    countAllocationFrom(__builtin_return_address(0));
    return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
    countAllocationFrom(__builtin_return_address(0));
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* pointer, size_t size) {
    countAllocationFrom(__builtin_return_address(0));
    return __libc_realloc(pointer, size);
}
void* operator new(size_t size) {
    if (Counting) {
        Allocations++;
    }
    return __libc_malloc(size == 0 ? 1 : size);
}
void operator delete(void* pointer) noexcept { free(pointer); }
void operator delete(void* pointer, size_t) noexcept { free(pointer); }
#endif

namespace {

TEST(Allocation, SteadyStateFramesOfPlayAllocateNothing) {
#if !VELMOOR_COUNTS_ALLOCATIONS
    GTEST_SKIP() << "the sanitizers replace the allocator";
#else
    enterTempCommon(nullptr, 0);
    startHeadlessSDL();
    loadHeadlessMedia();
    resetBindings();
    TestMap map = makeOpenMap(60, 40);
    for (int column = 5; column < 50; column += 3) {
        setCell(&map, 1, 20, column, kTestGrass);
        setCell(&map, 2, 12, column, kTestRock);
    }
    setCell(&map, 3, 20, 5, kTestStart);
    setCell(&map, 3, 2, 2, kTestSpot);
    setCell(&map, 3, 37, 57, kTestSpot);
    writeTestWorld(map);
    PlayState state{};
    startGame(&state);
    state.eatHintTimer = 0; // skip the tutorial: the hunter arrives after the warning
    state.hunterWarningDelay = 0;
    // Walk, sprint, stand, smell and eat, while the hunter arrives and hunts.
    const SDL_Keycode keys[] = {SDLK_RIGHT, SDLK_DOWN, SDLK_LEFT, SDLK_RCTRL, SDLK_UP, SDLK_RETURN};
    long counted = 0;
    for (int frame = 0; frame < 1600; frame++) {
        if (frame % 100 == 0) {
            SDL_Keycode key = keys[(frame / 100) % 6];
            pushKey(SDL_KEYUP, keys[(frame / 100 + 5) % 6]);
            pushKey(SDL_KEYDOWN, key);
        }
        bool measured = frame >= 700; // the hunter is on the map from frame 601 on
        Allocations = 0;
        Counting = measured;
        int result = playFrame(&state);
        SDL_RenderPresent(gRenderer);
        Counting = false;
        if (measured) {
            counted += Allocations;
        }
        ASSERT_NE(result, kFrameQuit);
        if (result != kFrameGoesOn) {
            break;
        }
    }
    EXPECT_GE(gHunterX, 0) << "the hunter never arrived";
    EXPECT_EQ(counted, 0);
#endif
}

} // namespace
