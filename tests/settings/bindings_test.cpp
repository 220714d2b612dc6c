// Settings.bin: which files give their bindings, and saves that stay whole through failures and races.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>

#include "game/bindings.h"
#include "support/test_env.h"

namespace {

const std::string
    kDefaults("\x52\0\0\x40\x51\0\0\x40\x50\0\0\x40\x4F\0\0\x40\xE5\0\0\x40\x0D\0\0\0\xE4\0\0\x40\x3D\0\0\x40", 32);

// A Settings.bin image with one binding's four bytes replaced (this machine is little-endian too).
std::string withBinding(std::string bytes, int binding, uint32_t code) {
    return memcpy(&bytes[size_t(4 * binding)], &code, 4), bytes;
}

// How many files a save may have left behind in a folder: names that begin "Settings.bin.".
long temporaryFiles(const std::string& folder) {
    long count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        count += entry.path().filename().string().rfind("Settings.bin.", 0) == 0 ? 1 : 0;
    }
    return count;
}

const char* const kSomeFile[] = {"properties.tmx"};

// Up to 64 bytes of the file at path, as one read sees them.
std::string readOnce(const char* path) {
    char bytes[64];
    const int file = open(path, O_RDONLY);
    const ssize_t length = file < 0 ? 0 : read(file, bytes, sizeof bytes);
    file < 0 ? 0 : close(file);
    return std::string(bytes, size_t(length < 0 ? 0 : length));
}

// A key bound twice or a code no key gives could lock the player out of the menu, and so out of the
// settings screen that would mend it: such bindings give the defaults, whatever the file's length
// (a short file keeps the defaults it does not hold, and these may clash with what it holds).
TEST(Bindings, AFileGivesItsWholeBindingsOnlyWhenAllEightAreThenDifferentNamedKeys) {
    enterTempCommon(kSomeFile, 1);
    const std::string upOnW = withBinding(kDefaults, 0, 'w');
    // clang-format off
    const struct { std::string file, bindings; const char* message; } cases[] = {
        {withBinding(upOnW, 5, 'w'), kDefaults, "Settings.bin binds W to two actions; the default keys are used."},
        {withBinding(upOnW, 6, 0x40000000), kDefaults, "Settings.bin holds key code 0x40000000, which is no key;"},
        {withBinding(upOnW, 7, 0x11111111), kDefaults, "Settings.bin holds key code 0x11111111, which is no key;"},
        // A short file: the bindings it holds are checked, and against the defaults it leaves.
        {std::string(28, '\0'), kDefaults, "Settings.bin holds key code 0x00000000, which is no key;"},
        {withBinding(kDefaults, 0, SDLK_DOWN).substr(0, 7), kDefaults, "Settings.bin binds Down to two actions;"},
        {std::string("a\0\0\0b\0", 6), withBinding(kDefaults, 0, 'a'), ""},
        {withBinding(upOnW, 7, SDLK_F5) + std::string(68, '\x11'), withBinding(upOnW, 7, SDLK_F5), ""}, // past 32 bytes
    };
    // clang-format on
    for (const auto& c : cases) {
        resetBindings();
        writeCommonFile("Settings.bin", c.file);
        testing::internal::CaptureStdout();
        loadBindings(kSettingsPath);
        const std::string out = testing::internal::GetCapturedStdout();
        uint8_t bytes[kBindingFileSize];
        encodeBindings(bytes);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), sizeof bytes), c.bindings) << c.message;
        EXPECT_EQ(std::pair(out.substr(0, strlen(c.message)), std::count(out.begin(), out.end(), '\n')),
                  std::pair(std::string(c.message), c.message[0] != '\0' ? 1L : 0L));
    }
}

// A save writes a new file of its own and renames it over the old one: a link planted where its
// temporary file goes, under a fixed name or the names it tries first, is neither followed nor changed.
TEST(Bindings, ASaveReplacesTheFileWholeAndFollowsNoLinkBesideIt) {
    const std::string common = enterTempCommon(kSomeFile, 1);
    writeCommonFile("Settings.bin", "old");
    writeCommonFile("mine.txt", "the player's own");
    const long planted = 17; // Settings.bin.tmp and the first 16 names of this process
    for (int attempt = 0; attempt < planted; attempt++) {
        const std::string name =
            attempt == 0 ? "tmp" : std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp";
        ASSERT_EQ(symlink("mine.txt", (common + "/Settings.bin." + name).c_str()), 0);
    }
    resetBindings();
    gKeycodeUp = 'w';
    EXPECT_EQ(saveBindings(kSettingsPath), kSaveOk);
    EXPECT_EQ(readOnce(kSettingsPath), withBinding(kDefaults, 0, 'w'));
    EXPECT_EQ(readOnce("../Common/mine.txt"), "the player's own");
    EXPECT_EQ(temporaryFiles(common), planted) << "a temporary file was left or a planted link removed";
}

// A save that cannot write (a full disk) says why, and leaves the old file as it was and no temporary file.
TEST(Bindings, AFailedSaveSaysWhyKeepsTheOldFileAndLeavesNoTemporaryFile) {
    const std::string common = enterTempCommon(kSomeFile, 1);
    writeCommonFile("Settings.bin", "old");
    resetBindings();
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{16, limit.rlim_max}; // a disk with room for 16 bytes
    signal(SIGXFSZ, SIG_IGN);               // a write past the limit fails instead of ending the test
    setrlimit(RLIMIT_FSIZE, &small);
    const int result = saveBindings(kSettingsPath);
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_EQ(std::pair(result, std::string(describeSaveFailure())),
              std::pair(kSaveWriteFailed, std::string(strerror(EFBIG))));
    EXPECT_EQ(readOnce(kSettingsPath), "old");
    EXPECT_EQ(temporaryFiles(common), 0) << "a temporary file was left";
}

// Two games saving at once, thousands of times, while a third reads: every read sees one whole file,
// every save succeeds, and no temporary file is left. (A temporary file of one fixed name, shared
// by both, made saves fail that had written and let readers see an empty file.)
TEST(Bindings, TwoGamesSavingAtOnceNeverShowAReaderAnEmptyOrMixedFileAndAllTheirSavesSucceed) {
    constexpr int kSaves = 2000;
    const std::string common = enterTempCommon(kSomeFile, 1);
    const std::string images[2] = {kDefaults, withBinding(withBinding(kDefaults, 0, 'w'), 1, 's')};
    writeCommonFile("Settings.bin", images[0]);
    pid_t writers[2];
    for (int w = 0; w < 2; w++) {
        writers[w] = fork();
        ASSERT_GE(writers[w], 0);
        if (writers[w] == 0) {
            decodeBindings(reinterpret_cast<const uint8_t*>(images[w].data()), kBindingFileSize);
            int failed = 0;
            for (int save = 0; save < kSaves; save++) {
                failed += saveBindings(kSettingsPath) != kSaveOk ? 1 : 0;
            }
            _exit(failed > 0 ? 1 : 0);
        }
    }
    int badReads = 0;
    int status[2] = {-1, -1};
    for (int running = 2; running > 0;) {
        const std::string seen = readOnce(kSettingsPath);
        badReads += seen != images[0] && seen != images[1] ? 1 : 0;
        for (int w = 0; w < 2; w++) {
            running -= status[w] == -1 && waitpid(writers[w], &status[w], WNOHANG) == writers[w] ? 1 : 0;
        }
    }
    EXPECT_EQ(std::pair(status[0], status[1]), std::pair(0, 0)) << "a save reported a failure";
    EXPECT_EQ(badReads, 0) << "reads saw an empty or mixed file";
    EXPECT_EQ(temporaryFiles(common), 0) << "a temporary file was left";
}

} // namespace
