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
constexpr int kSaveOpenFailed = 1;  // the temporary file could not be created; nothing changed
constexpr int kSaveWriteFailed = 2; // writing, flushing or replacing failed; the old file is intact

// Writes the bindings to path: into a new temporary file of a unique name beside it (created
// exclusively, so no link there is followed), flushed to disk, then renamed over path, so a reader
// or a second game saving at once sees the old file or the new one, whole. Prints nothing;
// returns one of the codes above, with the reason in describeSaveFailure().
int saveBindings(const char* path);

// Why the last failed saveBindings failed: the system's own text ("No space left on device").
const char* describeSaveFailure();
