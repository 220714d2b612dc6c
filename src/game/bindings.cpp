// The eight key bindings and Settings.bin, their file.
#include "game/bindings.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "world/datafile.h"

int32_t gKeycodeUp = SDLK_UP;
int32_t gKeycodeDown = SDLK_DOWN;
int32_t gKeycodeLeft = SDLK_LEFT;
int32_t gKeycodeRight = SDLK_RIGHT;
int32_t gKeycodeRun = SDLK_RSHIFT;
int32_t gKeycodeConfirmEat = SDLK_RETURN;
int32_t gKeycodeCancelSmell = SDLK_RCTRL;
int32_t gKeycodeToggleFullscreen = SDLK_F4;

int32_t* const gBindingInOrder[kBindingCount] = {
    &gKeycodeUp,  &gKeycodeDown,       &gKeycodeLeft,        &gKeycodeRight,
    &gKeycodeRun, &gKeycodeConfirmEat, &gKeycodeCancelSmell, &gKeycodeToggleFullscreen,
};

static const int32_t kDefaultBinding[kBindingCount] = {
    SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_RSHIFT, SDLK_RETURN, SDLK_RCTRL, SDLK_F4,
};

void resetBindings() {
    for (int i = 0; i < kBindingCount; i++) {
        *gBindingInOrder[i] = kDefaultBinding[i];
    }
}

void encodeBindings(uint8_t bytes[kBindingFileSize]) {
    for (int i = 0; i < kBindingCount; i++) {
        uint32_t value = uint32_t(*gBindingInOrder[i]);
        for (int b = 0; b < 4; b++) {
            bytes[4 * i + b] = uint8_t(value >> (8 * b));
        }
    }
}

int decodeBindings(const uint8_t* bytes, int length) {
    int taken = 0;
    for (int i = 0; i < kBindingCount && 4 * i + 4 <= length; i++) {
        uint32_t value = 0;
        for (int b = 0; b < 4; b++) {
            value |= uint32_t(bytes[4 * i + b]) << (8 * b);
        }
        *gBindingInOrder[i] = int32_t(value);
        taken++;
    }
    return taken;
}

constexpr int32_t kLastUnicodeCharacter = 0x10FFFF;

// A key code that SDL can name: a key of the scancode range with a name, or a Unicode character.
static bool isNamedKey(int32_t code) {
    if ((code & SDLK_SCANCODE_MASK) == 0 && (code < 0 || code > kLastUnicodeCharacter)) {
        return false;
    }
    return SDL_GetKeyName(code)[0] != '\0';
}

// 1 when the eight bindings are eight different keys that SDL can name; otherwise prints why and
// returns 0: a key bound twice (confirm equal to up) or a code no key gives can lock the player
// out of the menu and so out of the settings screen that would repair it.
static int checkBindings() {
    for (int i = 0; i < kBindingCount; i++) {
        const int32_t code = *gBindingInOrder[i];
        if (!isNamedKey(code)) {
            printf("Settings.bin holds key code 0x%08X, which is no key; the default keys are used. Choose "
                   "your keys again on the settings screen.\n",
                   unsigned(code));
            return 0;
        }
        for (int earlier = 0; earlier < i; earlier++) {
            if (*gBindingInOrder[earlier] == code) {
                printf("Settings.bin binds %s to two actions; the default keys are used. Choose your keys "
                       "again on the settings screen.\n",
                       SDL_GetKeyName(code));
                return 0;
            }
        }
    }
    return 1;
}

void loadBindings(const char* path) {
    FILE* file = nullptr;
    const int opened = openDataFile(path, &file);
    if (opened == kOpenNotRegular) {
        printf("Settings.bin is %s; the default keys are used. Remove it so that the settings screen can save your "
               "keys.\n",
               describeOpenFailure());
    }
    if (opened != kOpenOk) {
        return; // treated as missing: the bindings stay as they are
    }
    uint8_t bytes[kBindingFileSize];
    const int length = int(fread(bytes, 1, sizeof bytes, file));
    fclose(file);
    // Checked whatever its length: a short file can bind keys that clash with the defaults it keeps.
    decodeBindings(bytes, length);
    if (checkBindings() == 0) {
        resetBindings();
    }
}

// Why the last save failed: an errno value, kept for describeSaveFailure.
static int LastSaveError;

static int failSave(int result, int error) {
    LastSaveError = error;
    return result;
}

const char* describeSaveFailure() { return strerror(LastSaveError); }

constexpr int kSavePathSize = 4096;    // the longest temporary path a save makes, with its zero
constexpr int kTemporaryAttempts = 64; // names tried before a save gives up on creating one

// Creates, exclusively, a new file beside path named path.PID-N.tmp, N counting the names this
// program tried, and writes its name into temporaryPath. A name already taken (by a file left
// from a crash, a link, another machine sharing the folder) is never opened, nor a link followed:
// the next name is tried.
// Returns the open descriptor, or -1 with errno set.
static int createTemporaryBeside(const char* path, char temporaryPath[kSavePathSize]) {
    // Counts the names tried since the program started, so that no two saves try the same name.
    static unsigned Attempt;
    for (int tries = 0; tries < kTemporaryAttempts; tries++) {
        Attempt++;
        if (snprintf(temporaryPath, kSavePathSize, "%s.%ld-%u.tmp", path, long(getpid()), Attempt) >= kSavePathSize) {
            errno = ENAMETOOLONG;
            return -1;
        }
        const int descriptor = open(temporaryPath, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) {
            return descriptor;
        }
    }
    return -1; // errno is EEXIST
}

// Writes all of bytes; returns 0 or the errno of the write that failed.
static int writeAll(int descriptor, const uint8_t* bytes, int length) {
    while (length > 0) {
        const ssize_t written = write(descriptor, bytes, size_t(length));
        if (written <= 0) {
            return written < 0 ? errno : EIO;
        }
        bytes += written;
        length -= int(written);
    }
    return 0;
}

int saveBindings(const char* path) {
    // A temporary file of its own, renamed over the old file only once it is whole and on disk:
    // the old file stays whole until then, and two games saving at once cannot meet in one file.
    char temporaryPath[kSavePathSize];
    const int descriptor = createTemporaryBeside(path, temporaryPath);
    if (descriptor < 0) {
        return failSave(kSaveOpenFailed, errno);
    }
    uint8_t bytes[kBindingFileSize];
    encodeBindings(bytes);
    int error = writeAll(descriptor, bytes, kBindingFileSize);
    if (error == 0 && fsync(descriptor) != 0) {
        error = errno;
    }
    if (close(descriptor) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && rename(temporaryPath, path) != 0) {
        error = errno;
    }
    if (error != 0) {
        unlink(temporaryPath);
        return failSave(kSaveWriteFailed, error);
    }
    return kSaveOk;
}
