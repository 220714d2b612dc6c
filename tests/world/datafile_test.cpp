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
#include "world/datafile.h"
#include "world/tileprops.h"

namespace {

constexpr int kHangLimitMs = 2000; // far beyond what an open takes, even on a loaded machine

// Calls call in a child process and says whether it returned within kHangLimitMs (the child is
// killed otherwise), so that a reader that waits on a pipe or spins on a device fails the test
// instead of hanging it.
template <typename Call> bool returnsAtOnce(Call call) {
    const pid_t child = fork();
    if (child == 0) {
        freopen("/dev/null", "w", stdout);
        call();
        _exit(0);
    }
    for (int waited = 0; waited < kHangLimitMs; waited += 10) {
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

// Each reader given each kind of path returns at once; only a regular file (or a link to one) is
// read, anything else is refused with one message saying what it is.
TEST(DataFile, EveryReaderReadsRegularFilesAndRefusesPipesFoldersAndDevicesAtOnce) {
    const char* files[] = {"properties.tmx"};
    enterTempCommon(files, 1);
    std::ifstream shipped("../Common/properties.tmx");
    const std::string properties((std::istreambuf_iterator<char>(shipped)), {});
    const std::string upOnW("w\0\0\0", 4);
    // clang-format off
    const struct {
        const char* kind;
        int opened; const char* why;        // openDataFile and describeOpenFailure
        int loaded; const char* properties; // loadTileProperties, and what it printed
        const char* bindings;               // what loadBindings printed (the file binds W to move up)
    } cases[] = {
        {"file", kOpenOk, "", 0, "", ""},
        {"link", kOpenOk, "", 0, "", ""},
        {"missing", kOpenFailed, "No such file or directory", 1, "\nError opening file properties.tmx", ""},
        {"folder", kOpenNotRegular, "a folder, not a file", 1, "\nError opening file properties.tmx: a folder, not a file",
         "Settings.bin is a folder, not a file; the default keys are used. Remove it so that the settings screen can save "
         "your keys.\n"},
        {"pipe", kOpenNotRegular, "a pipe, not a file", 1, "\nError opening file properties.tmx: a pipe, not a file",
         "Settings.bin is a pipe, not a file; the default keys are used. Remove it so that the settings screen can save "
         "your keys.\n"},
        {"device", kOpenNotRegular, "a device, not a file", 1, "\nError opening file properties.tmx: a device, not a file",
         "Settings.bin is a device, not a file; the default keys are used. Remove it so that the settings screen can "
         "save your keys.\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const std::string kind = c.kind;
        const bool read = kind == "file" || kind == "link";
        place(kind, "../Common/properties.tmx", properties);
        place(kind, "../Common/Settings.bin", upOnW);
        place(kind, "../Common/data", "some data");

        ASSERT_TRUE(returnsAtOnce([] {
            FILE* file = nullptr;
            openDataFile("../Common/data", &file);
        })) << "openDataFile waited on "
            << kind;
        FILE* file = nullptr;
        EXPECT_EQ(openDataFile("../Common/data", &file), c.opened) << kind;
        char text[16] = "";
        EXPECT_EQ(file != nullptr ? fgets(text, sizeof text, file) : nullptr, read ? text : nullptr) << kind;
        EXPECT_STREQ(text, read ? "some data" : "") << kind;
        EXPECT_STREQ(read ? "" : describeOpenFailure(), c.why) << kind;
        file != nullptr ? fclose(file) : 0;

        ASSERT_TRUE(returnsAtOnce(loadTileProperties)) << "loadTileProperties waited on " << kind;
        gTileTypeOverlay[1] = 99; // a value the shipped file does not give
        int loaded = -1;
        EXPECT_EQ(printedBy([&] { loaded = loadTileProperties(); }), c.properties) << kind;
        EXPECT_EQ(std::pair(loaded, gTileTypeOverlay[1] != 99), std::pair(c.loaded, read)) << kind;

        ASSERT_TRUE(returnsAtOnce([] { loadBindings(kSettingsPath); })) << "loadBindings waited on " << kind;
        resetBindings();
        EXPECT_EQ(printedBy([] { loadBindings(kSettingsPath); }), c.bindings) << kind;
        EXPECT_EQ(gKeycodeUp, read ? int32_t('w') : int32_t(SDLK_UP)) << kind;
    }
}

} // namespace
