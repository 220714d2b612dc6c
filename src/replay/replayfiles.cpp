// Replay files: reading one whole, writing one safely, and the folder of the newest games.
#include "replay/replayfiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "world/datafile.h"

constexpr int kReplayNameSize = 40;    // "YYYY-MM-DD_HH-MM-SS_NNN.replay" and its terminating zero
constexpr int kListedReplays = 4096;   // replay names sorted at once when the folder is pruned
constexpr int kSameSecondNames = 1000; // names tried for replays ending in the same second
static const char kReplaySuffix[] = ".replay";

// The file's bytes, being written or read; scratch between calls.
static uint8_t Bytes[kReplayMaxBytes + 1];

int readReplayFile(const char* path, Replay* replay) {
    FILE* file = nullptr;
    if (openDataFile(path, &file) != kOpenOk) {
        clearReplayActions(replay);
        return kReplayUnreadable;
    }
    const size_t size = fread(Bytes, 1, sizeof Bytes, file);
    const bool failed = ferror(file) != 0;
    fclose(file);
    if (failed) {
        clearReplayActions(replay);
        return kReplayUnreadable;
    }
    if (size > size_t(kReplayMaxBytes)) {
        clearReplayActions(replay);
        return kReplayNotAReplay; // larger than any replay can be
    }
    return decodeReplay(Bytes, int(size), replay);
}

// Writes the whole buffer to the descriptor; returns 0 or the error number.
static int writeAll(int descriptor, const uint8_t* bytes, int size) {
    while (size > 0) {
        const ssize_t written = write(descriptor, bytes, size_t(size));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written < 0 ? errno : EIO;
        }
        bytes += written;
        size -= int(written);
    }
    return 0;
}

// Writes the replay into a new temporary file in folder; returns 0 with its path in temporary.
static int writeTemporary(const Replay* replay, const char* folder, char* temporary, int size) {
    if (snprintf(temporary, size_t(size), "%s/.replay-XXXXXX", folder) >= size) {
        return ENAMETOOLONG;
    }
    const int descriptor = mkstemp(temporary); // created exclusively: no link is followed
    if (descriptor < 0) {
        return errno;
    }
    // mkstemp makes the file the owner's alone; a replay gets the modes of any file the player makes.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
    const int length = encodeReplay(replay, Bytes);
    int error = writeAll(descriptor, Bytes, length);
    if (error == 0 && fsync(descriptor) != 0) {
        error = errno;
    }
    if (close(descriptor) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        unlink(temporary);
    }
    return error;
}

// The folder part of path ("." when it has none).
static void findFolder(const char* path, char* folder, int size) {
    const char* slash = strrchr(path, '/');
    if (slash == nullptr) {
        snprintf(folder, size_t(size), ".");
    } else if (slash == path) {
        snprintf(folder, size_t(size), "/");
    } else {
        snprintf(folder, size_t(size), "%.*s", int(slash - path), path);
    }
}

int writeReplayFile(const Replay* replay, const char* path) {
    char folder[kReplayPathSize];
    char temporary[kReplayPathSize];
    findFolder(path, folder, sizeof folder);
    int error = writeTemporary(replay, folder, temporary, sizeof temporary);
    if (error == 0 && rename(temporary, path) != 0) {
        error = errno;
        unlink(temporary);
    }
    return error;
}

// True for the names the folder's replays are given: "YYYY-MM-DD_HH-MM-SS[_N].replay".
static bool isDatedReplayName(const char* name) {
    static const char kPattern[] = "dddd-dd-dd_dd-dd-dd";
    for (int i = 0; kPattern[i] != '\0'; i++) {
        const bool digit = name[i] >= '0' && name[i] <= '9';
        if (kPattern[i] == 'd' ? !digit : name[i] != kPattern[i]) {
            return false;
        }
    }
    const char* rest = name + sizeof kPattern - 1;
    if (*rest == '_') {
        rest++;
        while (*rest >= '0' && *rest <= '9') {
            rest++;
        }
    }
    return strcmp(rest, kReplaySuffix) == 0;
}

static int compareNames(const void* a, const void* b) {
    return strcmp(static_cast<const char*>(a), static_cast<const char*>(b));
}

// Removes all but the newest kReplaysKept dated replays of the folder. Names sort by time.
static void pruneReplays(const char* folder) {
    static char Names[kListedReplays][kReplayNameSize]; // the folder's replay names; scratch
    DIR* directory = opendir(folder);
    if (directory == nullptr) {
        return;
    }
    int count = 0;
    for (dirent* entry = readdir(directory); entry != nullptr && count < kListedReplays; entry = readdir(directory)) {
        if (strlen(entry->d_name) < kReplayNameSize && isDatedReplayName(entry->d_name)) {
            snprintf(Names[count++], kReplayNameSize, "%s", entry->d_name);
        }
    }
    closedir(directory);
    qsort(Names, size_t(count), kReplayNameSize, compareNames);
    for (int i = 0; i < count - kReplaysKept; i++) {
        char path[kReplayPathSize];
        snprintf(path, sizeof path, "%s/%.*s", folder, kReplayNameSize - 1, Names[i]);
        unlink(path);
    }
}

int saveReplayInFolder(const Replay* replay, char* path, int pathSize) {
    if (mkdir(kReplaysFolder, 0755) != 0 && errno != EEXIST) {
        return errno;
    }
    char temporary[kReplayPathSize];
    int error = writeTemporary(replay, kReplaysFolder, temporary, sizeof temporary);
    if (error != 0) {
        return error;
    }
    const time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    char stamp[kReplayNameSize];
    strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    // A hard link gives the file its name only when no file has it yet.
    error = EEXIST;
    for (int n = 1; n <= kSameSecondNames && error == EEXIST; n++) {
        if (n == 1) {
            snprintf(path, size_t(pathSize), "%s/%s%s", kReplaysFolder, stamp, kReplaySuffix);
        } else {
            snprintf(path, size_t(pathSize), "%s/%s_%d%s", kReplaysFolder, stamp, n, kReplaySuffix);
        }
        error = link(temporary, path) == 0 ? 0 : errno;
        if ((error == EPERM || error == EOPNOTSUPP) && access(path, F_OK) != 0) {
            // A file system without hard links: rename onto the free name instead.
            error = rename(temporary, path) == 0 ? 0 : errno;
        }
    }
    unlink(temporary);
    if (error == 0) {
        pruneReplays(kReplaysFolder);
    }
    return error;
}
