// The files the game reads are read only when they are regular files: a pipe, a folder or a device
// gets one message, and nothing waits on it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "game/bindings.h"
#include "support/test_env.h"
#include "world/tileprops.h"

namespace {

// Calls call in a child process and says whether it returned within two seconds, far beyond what an
// open takes even on a loaded machine (the child is killed otherwise), so that a reader that waits on
// a pipe or spins on a device fails the test instead of hanging it.
template <typename Call> bool returnsAtOnce(Call call) {
    const pid_t child = fork();
    if (child == 0) {
        freopen("/dev/null", "w", stdout);
        call();
        _exit(0);
    }
    for (int tenMs = 0; tenMs < 200; tenMs++) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        usleep(10 * 1000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return false;
}

// Puts at path a thing of the given kind: a file holding text, a link to one, nothing, a folder, a
// FIFO with no writer, a link to /dev/zero.
void place(const std::string& kind, const std::string& path, const std::string& text) {
    std::filesystem::remove_all(path);
    if (kind == "file") {
        std::ofstream(path, std::ios::binary) << text;
    } else if (kind == "link") {
        std::ofstream(path + ".real", std::ios::binary) << text;
        std::filesystem::create_symlink(std::filesystem::path(path).filename().string() + ".real", path);
    } else if (kind == "folder") {
        std::filesystem::create_directory(path);
    } else if (kind == "pipe") {
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    } else if (kind == "device") {
        std::filesystem::create_symlink("/dev/zero", path);
    }
}

template <typename Call> std::string printedBy(Call call) {
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}

// Each reader given each kind of path returns at once; only a regular file (or a link to one, as the
// installed game's Common/ holds) is read, anything else is refused with one message saying what it is.
TEST(DataFile, EveryReaderReadsRegularFilesAndRefusesPipesFoldersAndDevicesAtOnce) {
    const char* files[] = {"properties.tmx"};
    enterTempCommon(files, 1);
    std::ifstream shipped("../Common/properties.tmx");
    const std::string properties((std::istreambuf_iterator<char>(shipped)), {});
    // The kind of path, and what it is said to be; a missing file is treated as such, in silence for Settings.bin.
    const std::pair<const char*, const char*> cases[] = {{"file", ""},       {"link", ""},
                                                         {"missing", ""},    {"folder", "a folder"},
                                                         {"pipe", "a pipe"}, {"device", "a device"}};
    for (const auto& [kind, what] : cases) {
        const std::string why = std::string(what) + ", not a file";
        const bool read = kind == std::string("file") || kind == std::string("link"), refused = what[0] != '\0';
        place(kind, "../Common/properties.tmx", properties);
        place(kind, "../Common/Settings.bin", std::string("w\0\0\0", 4)); // move up on W
        ASSERT_TRUE(returnsAtOnce([] {
            loadTileProperties();
            loadBindings(kSettingsPath);
        })) << "a reader waited on "
            << kind;
        gTileTypeOverlay[1] = 99; // a value the shipped file does not give
        int loaded = -1;
        EXPECT_EQ(printedBy([&] { loaded = loadTileProperties(); }),
                  read ? "" : "\nError opening file properties.tmx" + (refused ? ": " + why : ""))
            << kind;
        EXPECT_EQ(std::pair(loaded, gTileTypeOverlay[1] != 99), std::pair(read ? 0 : 1, read)) << kind;
        resetBindings();
        EXPECT_EQ(printedBy([] { loadBindings(kSettingsPath); }),
                  refused
                      ? "Settings.bin is " + why +
                            "; the default keys are used. Remove it so that the settings screen can save your keys.\n"
                      : "")
            << kind;
        EXPECT_EQ(gKeycodeUp, read ? int32_t('w') : int32_t(SDLK_UP)) << kind;
    }
}

} // namespace
