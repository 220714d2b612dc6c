// Opening the files the game reads: regular files only, never blocking on a pipe or a device.
#include "world/datafile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

// What the last failed open met: 0 for a system error (errno kept in LastError), else a file type.
static int LastType;
static int LastError;

static int fail(int result, int type, int error) {
    LastType = type;
    LastError = error;
    return result;
}

int openDataFile(const char* path, FILE** file) {
    *file = nullptr;
    // Non-blocking, so that opening a FIFO with no writer returns at once; the type is checked
    // before anything is read.
    const int descriptor = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        return fail(kOpenFailed, 0, errno);
    }
    struct stat status;
    if (fstat(descriptor, &status) != 0) {
        const int error = errno;
        close(descriptor);
        return fail(kOpenFailed, 0, error);
    }
    if (!S_ISREG(status.st_mode)) {
        close(descriptor);
        return fail(kOpenNotRegular, int(status.st_mode & S_IFMT), 0);
    }
    // A regular file never blocks; reads go back to the ordinary mode.
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    *file = fdopen(descriptor, "r");
    if (*file == nullptr) {
        const int error = errno;
        close(descriptor);
        return fail(kOpenFailed, 0, error);
    }
    return kOpenOk;
}

const char* describeOpenFailure() {
    switch (LastType) {
    case 0: return strerror(LastError);
    case S_IFDIR: return "a folder, not a file";
    case S_IFIFO: return "a pipe, not a file";
    case S_IFCHR:
    case S_IFBLK: return "a device, not a file";
    case S_IFSOCK: return "a socket, not a file";
    default: return "not a regular file";
    }
}
