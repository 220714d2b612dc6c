// The player's input in one place: keys, pad buttons and sticks turned into the game's actions.
#pragma once

#include <SDL.h>

#include <cstdint>

// The eight actions, in the order of the key bindings, Settings.bin and the settings screen.
constexpr int kActionUp = 0;
constexpr int kActionDown = 1;
constexpr int kActionLeft = 2;
constexpr int kActionRight = 3;
constexpr int kActionRun = 4;        // sprint while held
constexpr int kActionEat = 5;        // eat while held; confirm in menus and on the end screens
constexpr int kActionSmell = 6;      // smell while held
constexpr int kActionFullscreen = 7; // windowed or fullscreen
constexpr int kActionCount = 8;
constexpr int kActionPause = 8; // the pad's Start: pause and go on; confirm on the title (no key binding)
constexpr int kInputActions = 9;

// The devices a player uses.
constexpr int kDeviceKeyboard = 0;
constexpr int kDevicePad = 1;

constexpr int kMaxPads = 4;                // pads open at once
constexpr int kStickDeadZone = 12000;      // of 32767: a stick nearer its centre holds no direction
constexpr int kTriggerThreshold = 16000;   // of 32767: the right trigger held down this far sprints
constexpr int kMaxChanges = kInputActions; // one event changes at most every action (a pad pulled out)

// One change that an event makes to an action.
struct ActionChange {
    int action;  // kAction...
    int pressed; // 1: pressed anew by a device; 0: released, no device holds it any more
    int repeat;  // 1: a key's auto-repeat, which holds nothing new (menus count it, play does not)
};

extern int gLastInputDevice; // kDeviceKeyboard or kDevicePad: the device of the last press, for hints

// Turns one event into the changes it makes to the actions. Keys go through the eight bindings
// given in file order: the first that matches in the play loop's order (right, left, down, up,
// run, eat, smell, fullscreen). Pads by their layout: the left stick (with a dead zone, the
// diagonals included) and the d-pad move; the south button eats, the west button smells; the right
// trigger or the right shoulder sprints; Start pauses; Back switches fullscreen. An action is held
// while any device holds it: a press is reported whenever a device presses it, a release only
// when no device holds it any more. A pad plugged in is opened at once; one pulled out releases
// what it held. Returns the number of changes written into changes.
int readInputEvent(const SDL_Event* event, const int32_t* const bindings[kActionCount],
                   ActionChange changes[kMaxChanges]);

// 1 when the event is a pad being pulled out (a game pauses then), else 0.
int isPadPulledOut(const SDL_Event* event);

// Starts the pads: SDL's game controller subsystem, the mappings in the text given (the
// contents of a gamecontrollerdb.txt; null for none; SDL_GAMECONTROLLERCONFIG is read by SDL
// itself), and every pad plugged in. Returns the number of pads opened, or -1 when the text
// holds no mapping SDL can read (the pads SDL knows still work).
int startPads(const char* mappings, int size);

// Closes the pads and forgets what every device held.
void stopPads();

// The name of the pad's button for an action, as the hints give it ("A", "X", "RT", "Start",
// "Back"; "Cross", "Square", "R2", "Options", "Share" on a PlayStation pad); null for the moves.
const char* findPadButtonName(int action);

// Forgets what every device holds (the keys held, the pads' buttons and sticks), as at a start.
void clearInputState();
