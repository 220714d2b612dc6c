// The eight key bindings and their file, Settings.bin: 32 bytes, eight little-endian int32 key codes.
#pragma once

#include <cstdint>

constexpr int kBindingCount = 8;
constexpr int kBindingFileSize = kBindingCount * 4;
constexpr const char* kSettingsPath = "../Common/Settings.bin";

extern int32_t gKeycodeUp;               // move up; title menu up
extern int32_t gKeycodeDown;             // move down; title menu down
extern int32_t gKeycodeLeft;             // move left
extern int32_t gKeycodeRight;            // move right
extern int32_t gKeycodeRun;              // sprint while held
extern int32_t gKeycodeConfirmEat;       // eat while held; confirm the menu choice
extern int32_t gKeycodeCancelSmell;      // smell while held
extern int32_t gKeycodeToggleFullscreen; // windowed / fullscreen

// The bindings in file and settings-screen order.
extern int32_t* const gBindingInOrder[kBindingCount];

// Puts the built-in default keys back into all eight bindings.
void resetBindings();

// Writes the eight bindings as the 32 bytes of Settings.bin.
void encodeBindings(uint8_t bytes[kBindingFileSize]);

// Takes bindings from the first length bytes of a Settings.bin image: every binding whose four
// bytes are all present is replaced, the others keep their value. Returns how many were taken.
int decodeBindings(const uint8_t* bytes, int length);

// Reads the bindings from the file at path over the current ones; a missing file changes nothing,
// a short file replaces the bindings it holds in full. A file whose bindings, taken so, are not
// eight different keys SDL can name, or a path that is no regular file (a pipe, a folder, a
// device: never waited on), is refused with one line on standard output: the defaults are used.
void loadBindings(const char* path);

// Result codes of saveBindings.
constexpr int kSaveOk = 0;
constexpr int kSaveOpenFailed = 1;  // the file could not be created
constexpr int kSaveWriteFailed = 2; // writing, closing or replacing failed; the old file is intact

// Writes the bindings to path through a temporary file beside it that is renamed over it, so a
// failed save never leaves a truncated file. Prints nothing; returns one of the codes above.
int saveBindings(const char* path);
