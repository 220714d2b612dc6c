// The player's input: keys and pads turned into actions, each held while any device holds it.
#include "input/input.h"

int gLastInputDevice = kDeviceKeyboard;

// Which of the sources of an action hold it: the keyboard, and on each pad its buttons, its left
// stick's four directions and its right trigger.
struct PadHeld {
    SDL_GameController* controller;            // null: the slot is free
    SDL_JoystickID id;                         // the pad's instance id
    uint8_t button[SDL_CONTROLLER_BUTTON_MAX]; // buttons held down
    uint8_t stick[4];                          // left stick: up, down, left, right (kActionUp..kActionRight)
    uint8_t trigger;                           // right trigger past its threshold
    int16_t stickX, stickY;                    // the left stick's last position
};

static uint8_t KeyHeld[kInputActions]; // actions the keyboard holds; cleared by clearInputState
static PadHeld Pads[kMaxPads];         // the open pads and what each holds; slots freed when pulled out

// The action of each pad button by its position; -1 for none.
static int findButtonAction(int button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return kActionUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return kActionDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return kActionLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return kActionRight;
    case SDL_CONTROLLER_BUTTON_A: return kActionEat;   // south
    case SDL_CONTROLLER_BUTTON_X: return kActionSmell; // west
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return kActionRun;
    case SDL_CONTROLLER_BUTTON_START: return kActionPause;
    case SDL_CONTROLLER_BUTTON_BACK: return kActionFullscreen;
    default: return -1;
    }
}

// True while some pad holds the action by a button, its stick or its trigger.
static bool isPadHolding(int action) {
    for (const PadHeld& pad : Pads) {
        if (pad.controller == nullptr) {
            continue;
        }
        for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; button++) {
            if (pad.button[button] != 0 && findButtonAction(button) == action) {
                return true;
            }
        }
        if ((action <= kActionRight && pad.stick[action] != 0) || (action == kActionRun && pad.trigger != 0)) {
            return true;
        }
    }
    return false;
}

static bool isHeld(int action) { return KeyHeld[action] != 0 || isPadHolding(action); }

// Notes one source of an action going down or up, after its held state was updated.
static void noteChange(int action, bool down, ActionChange changes[], int* count) {
    if (down) {
        changes[(*count)++] = ActionChange{action, 1, 0};
    } else if (!isHeld(action)) {
        changes[(*count)++] = ActionChange{action, 0, 0};
    }
}

// The first binding that matches the key in the play loop's order; -1 for none.
static int findKeyAction(SDL_Keycode key, const int32_t* const bindings[kActionCount]) {
    static const int kPlayOrder[kActionCount] = {kActionRight, kActionLeft, kActionDown,  kActionUp,
                                                 kActionRun,   kActionEat,  kActionSmell, kActionFullscreen};
    for (int action : kPlayOrder) {
        if (*bindings[action] == key) {
            return action;
        }
    }
    return -1;
}

static PadHeld* findPad(SDL_JoystickID id) {
    for (PadHeld& pad : Pads) {
        if (pad.controller != nullptr && pad.id == id) {
            return &pad;
        }
    }
    return nullptr;
}

// Opens the pad of a joystick device index in a free slot, unless it is open already.
static void openPad(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex) || findPad(SDL_JoystickGetDeviceInstanceID(deviceIndex)) != nullptr) {
        return;
    }
    for (PadHeld& pad : Pads) {
        if (pad.controller == nullptr) {
            pad = PadHeld{};
            pad.controller = SDL_GameControllerOpen(deviceIndex);

            pad.id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
            return;
        }
    }
}

// The stick's directions from its position: outside the dead zone, each axis counts when it is at
// least tan 22.5 degrees of the other, so the stick gives eight directions.
static void findStickDirections(int x, int y, uint8_t directions[4]) {
    const long long squared = (long long)x * x + (long long)y * y;
    const bool out = squared > (long long)kStickDeadZone * kStickDeadZone;
    const int ax = x < 0 ? -x : x;
    const int ay = y < 0 ? -y : y;
    const bool horizontal = out && 1000LL * ax >= 414LL * ay;
    const bool vertical = out && 1000LL * ay >= 414LL * ax;
    directions[kActionUp] = vertical && y < 0;
    directions[kActionDown] = vertical && y > 0;
    directions[kActionLeft] = horizontal && x < 0;
    directions[kActionRight] = horizontal && x > 0;
}

static int readPadEvent(const SDL_Event* event, ActionChange changes[]) {
    int count = 0;
    if (event->type == SDL_CONTROLLERDEVICEADDED) {
        openPad(event->cdevice.which);
        return 0;
    }
    if (event->type == SDL_CONTROLLERDEVICEREMOVED) {
        PadHeld* pad = findPad(event->cdevice.which);
        if (pad != nullptr) {
            uint8_t wasHeld[kInputActions];
            for (int action = 0; action < kInputActions; action++) {
                wasHeld[action] = isHeld(action);
            }
            SDL_GameControllerClose(pad->controller);
            *pad = PadHeld{};
            for (int action = 0; action < kInputActions; action++) {
                if (wasHeld[action] != 0) {
                    noteChange(action, false, changes, &count);
                }
            }
        }
        return count;
    }
    const bool isButton = event->type == SDL_CONTROLLERBUTTONDOWN || event->type == SDL_CONTROLLERBUTTONUP;
    if (!isButton && event->type != SDL_CONTROLLERAXISMOTION) {
        return 0;
    }
    PadHeld* pad = findPad(isButton ? event->cbutton.which : event->caxis.which);
    if (pad == nullptr) {
        return 0;
    }
    if (isButton) {
        const int button = event->cbutton.button;
        const int action = button < SDL_CONTROLLER_BUTTON_MAX ? findButtonAction(button) : -1;
        const bool down = event->type == SDL_CONTROLLERBUTTONDOWN;
        if (action < 0) {
            return 0;
        }
        pad->button[button] = down ? 1 : 0;
        noteChange(action, down, changes, &count);
        gLastInputDevice = down ? kDevicePad : gLastInputDevice;
        return count;
    }
    const int axis = event->caxis.axis;
    if (axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) {
        const bool down = event->caxis.value > kTriggerThreshold;
        if ((pad->trigger != 0) != down) {
            pad->trigger = down ? 1 : 0;
            noteChange(kActionRun, down, changes, &count);
            gLastInputDevice = down ? kDevicePad : gLastInputDevice;
        }
        return count;
    }
    if (axis != SDL_CONTROLLER_AXIS_LEFTX && axis != SDL_CONTROLLER_AXIS_LEFTY) {
        return 0;
    }
    (axis == SDL_CONTROLLER_AXIS_LEFTX ? pad->stickX : pad->stickY) = event->caxis.value;
    uint8_t directions[4];
    findStickDirections(pad->stickX, pad->stickY, directions);
    // Releases first, so that a stick swung from left to right lets go of left before it presses right.
    for (int pass = 0; pass < 2; pass++) {
        for (int action = kActionUp; action <= kActionRight; action++) {
            const bool down = directions[action] != 0;
            if ((pad->stick[action] != 0) != down && down == (pass == 1)) {
                pad->stick[action] = down ? 1 : 0;
                noteChange(action, down, changes, &count);
                gLastInputDevice = down ? kDevicePad : gLastInputDevice;
            }
        }
    }
    return count;
}

int readInputEvent(const SDL_Event* event, const int32_t* const bindings[kActionCount],
                   ActionChange changes[kMaxChanges]) {
    if (event->type != SDL_KEYDOWN && event->type != SDL_KEYUP) {
        return readPadEvent(event, changes);
    }
    const int action = findKeyAction(event->key.keysym.sym, bindings);
    if (action < 0) {
        return 0;
    }
    const bool down = event->type == SDL_KEYDOWN;
    if (event->key.repeat != 0) {
        changes[0] = ActionChange{action, down ? 1 : 0, 1};
        return down ? 1 : 0;
    }
    int count = 0;
    KeyHeld[action] = down ? 1 : 0;
    noteChange(action, down, changes, &count);
    gLastInputDevice = down ? kDeviceKeyboard : gLastInputDevice;
    return count;
}

int isPadPulledOut(const SDL_Event* event) {
    return event->type == SDL_CONTROLLERDEVICEREMOVED && findPad(event->cdevice.which) != nullptr ? 1 : 0;
}

int startPads(const char* mappings, int size) {
    // The layout goes by the buttons' positions: the south button eats on every pad.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        return 0;
    }
    const bool mapped = mappings == nullptr || size <= 0 ||
                        SDL_GameControllerAddMappingsFromRW(SDL_RWFromConstMem(mappings, size), 1) > 0;
    for (int index = 0; index < SDL_NumJoysticks(); index++) {
        openPad(index);
    }
    int opened = 0;
    for (const PadHeld& pad : Pads) {
        opened += pad.controller != nullptr ? 1 : 0;
    }
    return mapped ? opened : -1;
}

void stopPads() {
    for (PadHeld& pad : Pads) {
        if (pad.controller != nullptr) {
            SDL_GameControllerClose(pad.controller);
        }
        pad = PadHeld{};
    }
    clearInputState();
}

void clearInputState() {
    for (uint8_t& held : KeyHeld) {
        held = 0;
    }
    for (PadHeld& pad : Pads) {
        for (uint8_t& held : pad.button) {
            held = 0;
        }
        for (uint8_t& held : pad.stick) {
            held = 0;
        }
        pad.trigger = 0;
        pad.stickX = 0;
        pad.stickY = 0;
    }
}

// The first open pad: its type names the buttons.
static SDL_GameControllerType findPadType() {
    for (const PadHeld& pad : Pads) {
        if (pad.controller != nullptr) {
            return SDL_GameControllerGetType(pad.controller);
        }
    }
    return SDL_CONTROLLER_TYPE_UNKNOWN;
}

const char* findPadButtonName(int action) {
    // Button names by the pad's maker, in the order eat, smell, run, pause, fullscreen.
    static const char* const kXbox[] = {"A", "X", "RT", "Start", "Back"};
    static const char* const kPlayStation[] = {"Cross", "Square", "R2", "Options", "Share"};
    static const char* const kNintendo[] = {"B", "Y", "ZR", "+", "-"};
    const char* const* names = kXbox;
    switch (findPadType()) {
    case SDL_CONTROLLER_TYPE_PS3:
    case SDL_CONTROLLER_TYPE_PS4:
    case SDL_CONTROLLER_TYPE_PS5: names = kPlayStation; break;
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR: names = kNintendo; break;
    default: break;
    }
    switch (action) {
    case kActionEat: return names[0];
    case kActionSmell: return names[1];
    case kActionRun: return names[2];
    case kActionPause: return names[3];
    case kActionFullscreen: return names[4];
    default: return nullptr;
    }
}
