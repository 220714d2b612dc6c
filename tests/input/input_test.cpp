// Input: keys and virtual pads (SDL's own, driven in-process) turned into the game's actions; the
// stick's dead zone and diagonals, keyboard and pad together, pads plugged in and pulled out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/bindings.h"
#include "game/endscreen.h"
#include "game/play.h"
#include "game/title.h"
#include "input/input.h"
#include "render/media.h"
#include "settings/settings.h"
#include "support/test_env.h"
#include "support/test_maps.h"
#include "world/map.h"

namespace {

int32_t Keys[kActionCount] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_RSHIFT, SDLK_RETURN, SDLK_RCTRL, SDLK_F4};
const int32_t* const Bindings[kActionCount] = {&Keys[0], &Keys[1], &Keys[2], &Keys[3],
                                               &Keys[4], &Keys[5], &Keys[6], &Keys[7]};

// A virtual pad with every button and axis of SDL's game controller, as a USB pad of a maker.
struct VirtualPad {
    int index;
    SDL_Joystick* joystick;
};

VirtualPad plugIn(Uint16 vendor = 0, Uint16 product = 0) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.vendor_id = vendor;
    desc.product_id = product;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = "Velmoor test pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    return VirtualPad{index, SDL_JoystickOpen(index)};
}

// Pulls a pad out by its own id: device indices shift as other pads come and go.
void pullOut(VirtualPad* pad) {
    const SDL_JoystickID id = SDL_JoystickInstanceID(pad->joystick);
    SDL_JoystickClose(pad->joystick);
    for (int index = 0; index < SDL_NumJoysticks(); index++) {
        if (SDL_JoystickGetDeviceInstanceID(index) == id) {
            SDL_JoystickDetachVirtual(index);
        }
    }
}

// The changes of every pending event, as "+up", "-up" (released), "+eat*" (a key's repeat).
std::string readChanges() {
    static const char* const kNames[kInputActions] = {"up",  "down",  "left",       "right", "run",
                                                      "eat", "smell", "fullscreen", "pause"};
    SDL_PumpEvents();
    std::string text;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        ActionChange changes[kMaxChanges];
        const int count = readInputEvent(&event, Bindings, changes);
        for (int i = 0; i < count; i++) {
            text += std::string(text.empty() ? "" : " ") + (changes[i].pressed ? "+" : "-") +
                    kNames[changes[i].action] + (changes[i].repeat ? "*" : "");
        }
    }
    return text;
}

class PadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // SDL drops pad events while no window of the program has the keyboard's focus, which a
        // window of the dummy video driver never has.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        startHeadlessSDL();
        startPads(nullptr, 0);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        pad = plugIn();
        readChanges(); // the pad is opened as it is plugged in
    }
    void TearDown() override {
        pullOut(&pad);
        readChanges();
        stopPads();
    }
    void button(int which, bool down) { SDL_JoystickSetVirtualButton(pad.joystick, which, down ? 1 : 0); }
    void axis(int which, int value) { SDL_JoystickSetVirtualAxis(pad.joystick, which, Sint16(value)); }
    VirtualPad pad{};
};

// Each step: a button (down 1, up 0) or an axis (its value), then the changes the game must see.
constexpr int kButton = 0;
constexpr int kAxis = 1;
TEST_F(PadTest, ButtonsAndTheStickGiveTheActionsByTheUsualLayout) {
    const struct {
        int kind, which, value;
        const char* changes;
    } steps[] = {
        {kButton, SDL_CONTROLLER_BUTTON_A, 1, "+eat"},
        {kButton, SDL_CONTROLLER_BUTTON_A, 0, "-eat"},
        {kButton, SDL_CONTROLLER_BUTTON_X, 1, "+smell"},
        {kButton, SDL_CONTROLLER_BUTTON_X, 0, "-smell"},
        {kButton, SDL_CONTROLLER_BUTTON_B, 1, ""}, // east and north do nothing
        {kButton, SDL_CONTROLLER_BUTTON_Y, 1, ""},
        {kButton, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 1, "+run"},
        {kAxis, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 20000, "+run"}, // a second source presses anew (the
                                                                  // raw axis: SDL halves it into 0..32767)
        {kButton, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 0, ""},    // the trigger still holds it
        {kAxis, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -20000, "-run"},
        {kButton, SDL_CONTROLLER_BUTTON_START, 1, "+pause"},
        {kButton, SDL_CONTROLLER_BUTTON_BACK, 1, "+fullscreen"},
        {kButton, SDL_CONTROLLER_BUTTON_DPAD_UP, 1, "+up"},
        {kAxis, SDL_CONTROLLER_AXIS_LEFTY, -30000, "+up"},
        {kButton, SDL_CONTROLLER_BUTTON_DPAD_UP, 0, ""},     // the stick still holds up
        {kAxis, SDL_CONTROLLER_AXIS_LEFTY, -11000, "-up"},   // inside the dead zone
        {kAxis, SDL_CONTROLLER_AXIS_LEFTY, 13000, "+down"},  // just outside it
        {kAxis, SDL_CONTROLLER_AXIS_LEFTX, 13000, "+right"}, // 45 degrees: both
        {kAxis, SDL_CONTROLLER_AXIS_LEFTX, 32000, "-down"},  // 22 degrees: right only
        {kAxis, SDL_CONTROLLER_AXIS_LEFTX, -32000, "-right +left"},
        {kAxis, SDL_CONTROLLER_AXIS_LEFTY, -32000, "+up"},
        {kAxis, SDL_CONTROLLER_AXIS_LEFTX, 0, "-left"},
    };
    for (const auto& step : steps) {
        if (step.kind == kButton) {
            SDL_JoystickSetVirtualButton(pad.joystick, step.which, Uint8(step.value));
        } else {
            SDL_JoystickSetVirtualAxis(pad.joystick, step.which, Sint16(step.value));
        }
        EXPECT_EQ(readChanges(), step.changes) << "step " << &step - steps;
    }
    EXPECT_EQ(gLastInputDevice, kDevicePad);
    EXPECT_STREQ(findPadButtonName(kActionEat), "A");
    EXPECT_STREQ(findPadButtonName(kActionRun), "RT");
    EXPECT_EQ(findPadButtonName(kActionUp), nullptr);
}

// Keyboard and pad together: an action is held while either holds it; the last device named.
TEST_F(PadTest, KeyboardAndPadHoldAnActionTogether) {
    pushKey(SDL_KEYDOWN, SDLK_RIGHT);
    EXPECT_EQ(readChanges(), "+right");
    EXPECT_EQ(gLastInputDevice, kDeviceKeyboard);
    button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    EXPECT_EQ(readChanges(), "+right");
    EXPECT_EQ(gLastInputDevice, kDevicePad);
    pushKey(SDL_KEYUP, SDLK_RIGHT);
    EXPECT_EQ(readChanges(), "") << "the pad still holds right";
    button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    EXPECT_EQ(readChanges(), "-right");
    pushKey(SDL_KEYDOWN, SDLK_RETURN, 1); // a repeat holds nothing new, and its key-up is nothing
    pushKey(SDL_KEYUP, SDLK_RETURN, 1);
    EXPECT_EQ(readChanges(), "+eat*");
    Keys[kActionLeft] = SDLK_RIGHT; // a key bound twice drives the first in the play loop's order
    pushKey(SDL_KEYDOWN, SDLK_RIGHT);
    EXPECT_EQ(readChanges(), "+right");
    Keys[kActionLeft] = SDLK_LEFT;
}

// A pad plugged in mid-game works at once; one pulled out lets go of what it held.
TEST_F(PadTest, APadPluggedInWorksAtOnceAndOnePulledOutLetsGo) {
    VirtualPad second = plugIn();
    EXPECT_EQ(readChanges(), "");
    SDL_JoystickSetVirtualButton(second.joystick, SDL_CONTROLLER_BUTTON_A, 1);
    EXPECT_EQ(readChanges(), "+eat");
    button(SDL_CONTROLLER_BUTTON_X, true);
    axis(SDL_CONTROLLER_AXIS_LEFTX, 30000);
    EXPECT_EQ(readChanges(), "+right +smell");
    pullOut(&pad);
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0 && event.type != SDL_CONTROLLERDEVICEREMOVED) {
    }
    ASSERT_EQ(event.type, SDL_CONTROLLERDEVICEREMOVED);
    EXPECT_EQ(isPadPulledOut(&event), 1);
    ActionChange changes[kMaxChanges];
    EXPECT_EQ(readInputEvent(&event, Bindings, changes), 2) << "smell and right let go; the other pad eats on";
    EXPECT_EQ(isPadPulledOut(&event), 0) << "that pad is forgotten";
    pad = plugIn();
    readChanges();
    pullOut(&second);
    EXPECT_EQ(readChanges(), "-eat");
}

// The hints name a PlayStation pad's buttons by their own marks. (A virtual pad is of the type
// "virtual" unless SDL is told which maker's type its USB ids mean.)
TEST(PadNames, APlayStationPadIsNamedByItsMarks) {
    SDL_SetHint(SDL_HINT_GAMECONTROLLERTYPE, "0x054C/0x09CC=PS4");
    startHeadlessSDL();
    VirtualPad ps4 = plugIn(0x054c, 0x09cc);
    EXPECT_EQ(startPads(nullptr, 0), 1) << "a pad plugged in before the start is opened";
    EXPECT_STREQ(findPadButtonName(kActionEat), "Cross");
    EXPECT_STREQ(findPadButtonName(kActionSmell), "Square");
    EXPECT_STREQ(findPadButtonName(kActionPause), "Options");
    const SDL_JoystickID id = SDL_JoystickInstanceID(ps4.joystick);
    stopPads();
    EXPECT_EQ(SDL_GameControllerFromInstanceID(id), nullptr) << "the pad is still open";
    pullOut(&ps4);
    readChanges();
    const char kBroken[] = "not a mapping\n";
    EXPECT_EQ(startPads(kBroken, int(sizeof kBroken - 1)), -1) << "a file without a mapping is told";
    const char kMapping[] = "03000000c82d00000060000000000000,Test pad,a:b1,b:b0,x:b3,y:b2,platform:Linux,\n";
    EXPECT_EQ(startPads(kMapping, int(sizeof kMapping - 1)), 0);
    stopPads();
}

// The screens with a pad: the title's menu, an end screen, the settings screen's last step.
class PadScreens : public PadTest {
  protected:
    void SetUp() override {
        enterTempCommon();
        PadTest::SetUp();
        loadHeadlessMedia();
        resetBindings();
    }
    // Feeds every pending event to the title screen; returns its first choice, or -1.
    int feedTitle(int* selection) {
        SDL_PumpEvents();
        int choice = -1;
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            const int chosen = readTitleEvent(&event, selection);
            choice = choice < 0 ? chosen : choice;
        }
        return choice;
    }
};

TEST_F(PadScreens, TheTitleMenuMovesWithTheStickAndTheDpadAndTheSouthButtonConfirms) {
    int selection = kMenuStartGame;
    axis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
    EXPECT_EQ(feedTitle(&selection), -1);
    EXPECT_EQ(selection, kMenuSettings) << "the stick pushed down";
    axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    feedTitle(&selection);
    EXPECT_EQ(selection, kMenuQuit) << "the d-pad pressed down";
    button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
    button(SDL_CONTROLLER_BUTTON_BACK, true);
    const int fullscreen = gIsFullscreen;
    feedTitle(&selection);
    EXPECT_NE(gIsFullscreen, fullscreen) << "Back switches fullscreen";
    toggleFullscreen();
    pushKey(SDL_KEYDOWN, SDLK_UP, 1);
    EXPECT_EQ(feedTitle(&selection), -1);
    EXPECT_EQ(selection, kMenuSettings) << "a held key's repeats scroll the menu";
    pushKey(SDL_KEYDOWN, SDLK_RETURN, 1);
    EXPECT_EQ(feedTitle(&selection), -1) << "the eat key held from an end screen does not confirm";
    button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(feedTitle(&selection), kMenuSettings);
    button(SDL_CONTROLLER_BUTTON_A, false);
    button(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(feedTitle(&selection), kMenuSettings) << "Start confirms on the title";
}

// Presses (1) or releases (0) the pad's south button from SDL's timer thread after a delay.
struct TimedButton {
    SDL_Joystick* joystick;
    int down;
};
Uint32 setSouthButton(Uint32, void* data) {
    const TimedButton* timed = static_cast<const TimedButton*>(data);
    SDL_JoystickSetVirtualButton(timed->joystick, SDL_CONTROLLER_BUTTON_A, Uint8(timed->down));
    return 0;
}
Uint32 closeWindow(Uint32, void*) {
    SDL_Event quit{SDL_QUIT};
    SDL_PushEvent(&quit);
    return 0;
}

TEST_F(PadScreens, AnEndScreenLeavesOnTheSouthButtonPressedAfterItAppeared) {
    // The south button held from the game (the last tuft eaten with it) and let go: the picture stays.
    button(SDL_CONTROLLER_BUTTON_A, true);
    SDL_PumpEvents();
    TimedButton release{pad.joystick, 0};
    SDL_AddTimer(kEndScreenPauseMs + 150, setSouthButton, &release);
    SDL_AddTimer(kEndScreenPauseMs + 400, closeWindow, nullptr);
    EXPECT_EQ(displayGameOverScreen(kTextureWin, 99), 0) << "only the window's close ended it";
    TimedButton press{pad.joystick, 1};
    SDL_AddTimer(kEndScreenPauseMs + 150, setSouthButton, &press);
    EXPECT_EQ(displayGameOverScreen(kTextureWin, 99), 1) << "a new press of the south button leaves";
    button(SDL_CONTROLLER_BUTTON_A, false);
}

TEST_F(PadScreens, TheSettingsScreensLastStepLeavesOnAPadsConfirm) {
    const SDL_Keycode keys[] = {SDLK_w, SDLK_s, SDLK_a, SDLK_d, SDLK_LSHIFT, SDLK_e, SDLK_q, SDLK_F5};
    button(SDL_CONTROLLER_BUTTON_A, true); // during the binding steps the pad binds nothing
    SDL_PumpEvents();
    for (SDL_Keycode key : keys) {
        pushKey(SDL_KEYDOWN, key);
    }
    SDL_AddTimer(
        300,
        [](Uint32, void* joystick) {
            SDL_JoystickSetVirtualButton(static_cast<SDL_Joystick*>(joystick), SDL_CONTROLLER_BUTTON_A, 0);
            return Uint32(0);
        },
        pad.joystick);
    TimedButton press{pad.joystick, 1};
    SDL_AddTimer(500, setSouthButton, &press);
    EXPECT_EQ(adjustSettings(), 1);
    EXPECT_EQ(gKeycodeUp, SDLK_w);
    EXPECT_EQ(gKeycodeToggleFullscreen, SDLK_F5);
    resetBindings();
}

// A game played with the pad: the stick and the d-pad move the deer, the buttons eat, smell and
// sprint, Start pauses, and a pad pulled out mid-game lets go of everything and pauses.
TEST_F(PadScreens, AGameIsPlayedWithThePadAndPausesWhenThePadIsPulledOut) {
    static PlayState State;
    TestMap map = makeOpenMap(20, 12);
    setCell(&map, 3, 5, 5, kTestStart);
    setCell(&map, 3, 1, 18, kTestSpot);
    writeTestWorld(map);
    startGame(&State, nullptr);
    const int startX = gPlayerX;
    const int startY = gPlayerY;
    const auto frames = [&](int count) {
        SDL_PumpEvents();
        for (int i = 0; i < count; i++) {
            ASSERT_EQ(readPlayEvents(&State), kFrameGoesOn);
            advanceFrame(&State);
        }
    };
    axis(SDL_CONTROLLER_AXIS_LEFTX, 30000);
    frames(4);
    EXPECT_EQ(gPlayerX - startX, 4 * 50) << "the stick walks the deer right";
    axis(SDL_CONTROLLER_AXIS_LEFTX, 5000); // back inside the dead zone: it stands
    button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    frames(2);
    EXPECT_EQ(gPlayerX - startX, 4 * 50);
    EXPECT_EQ(gPlayerY - startY, 2 * 50) << "the d-pad walks it down";
    axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    frames(1);
    EXPECT_EQ(gPlayerY - startY, 2 * 50 + 100) << "the right trigger sprints";
    button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
    axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    button(SDL_CONTROLLER_BUTTON_A, true);
    button(SDL_CONTROLLER_BUTTON_X, true);
    frames(1);
    EXPECT_EQ(State.runHeld, 0);
    EXPECT_EQ(State.eatHeld * 10 + State.smellHeld, 11) << "the south button eats, the west one smells";
    button(SDL_CONTROLLER_BUTTON_START, true);
    SDL_PumpEvents();
    EXPECT_EQ(readPlayEvents(&State), kFramePause) << "Start pauses";
    button(SDL_CONTROLLER_BUTTON_START, false);
    frames(1);
    pullOut(&pad);
    SDL_PumpEvents();
    EXPECT_EQ(readPlayEvents(&State), kFramePause) << "a pad pulled out pauses";
    EXPECT_EQ(State.eatHeld + State.smellHeld, 0) << "and lets go of what it held";
    pad = plugIn();
    readChanges();
}

} // namespace
