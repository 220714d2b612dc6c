// Settings.bin: its exact bytes both ways, short and oversized files, and saves that fail safely.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/bindings.h"
#include "support/test_env.h"

namespace {

const std::vector<uint8_t> kDefaultFile = {0x52, 0, 0, 0x40, 0x51, 0, 0, 0x40, 0x50, 0, 0, 0x40, 0x4F, 0, 0, 0x40,
                                           0xE5, 0, 0, 0x40, 0x0D, 0, 0, 0,    0xE4, 0, 0, 0x40, 0x3D, 0, 0, 0x40};

std::vector<uint8_t> readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const char* path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class BindingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        enterTempCommon(nullptr, 0);
        resetBindings();
    }
};

TEST_F(BindingsTest, DefaultBindingsSaveAsTheKnownThirtyTwoBytes) {
    ASSERT_EQ(saveBindings(kSettingsPath), kSaveOk);
    EXPECT_EQ(readFile(kSettingsPath), kDefaultFile);
    struct stat info;
    EXPECT_NE(stat("../Common/Settings.bin.tmp", &info), 0) << "the temporary file is left behind";
}

TEST_F(BindingsTest, AFileIsReadLittleEndianInTableOrder) {
    std::vector<uint8_t> bytes = kDefaultFile;
    bytes[0] = 'w'; // up
    bytes[3] = 0;
    bytes[28] = 0x3E; // toggle fullscreen: F5
    writeFile(kSettingsPath, bytes);
    loadBindings(kSettingsPath);
    EXPECT_EQ(gKeycodeUp, 'w');
    EXPECT_EQ(gKeycodeDown, SDLK_DOWN);
    EXPECT_EQ(gKeycodeToggleFullscreen, SDLK_F5);
    uint8_t encoded[kBindingFileSize];
    encodeBindings(encoded);
    EXPECT_EQ(std::vector<uint8_t>(encoded, encoded + kBindingFileSize), bytes);
}

TEST_F(BindingsTest, AFileThatCouldLockThePlayerOutIsRefusedWithOneLineSayingWhy) {
    struct Case {
        int binding;
        uint32_t code;
        const char* message;
    };
    const Case cases[] = {
        {5, 'w', "Settings.bin binds W to two actions; the default keys are used."}, // confirm equal to up
        {2, 0, "Settings.bin holds key code 0x00000000, which is no key;"},
        {6, 0x40000000, "key code 0x40000000, which is no key;"}, // a scancode without a key
        {7, 0x11111111, "key code 0x11111111, which is no key;"}, // beyond Unicode
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = kDefaultFile;
        bytes[0] = 'w'; // up moves to W, so a file taken in part would show
        bytes[3] = 0;
        for (int b = 0; b < 4; b++)
            bytes[size_t(4 * c.binding + b)] = uint8_t(c.code >> (8 * b));
        writeFile(kSettingsPath, bytes);
        resetBindings();
        testing::internal::CaptureStdout();
        loadBindings(kSettingsPath);
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find(c.message), std::string::npos) << out;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        uint8_t encoded[kBindingFileSize];
        encodeBindings(encoded);
        EXPECT_EQ(std::vector<uint8_t>(encoded, encoded + kBindingFileSize), kDefaultFile) << c.message;
    }
}

TEST_F(BindingsTest, AShortFileReplacesOnlyTheBindingsItHoldsInFull) {
    std::vector<uint8_t> bytes = {'a', 0, 0, 0, 'b', 0, 0, 0, 'c', 0}; // two whole bindings, half a third
    writeFile(kSettingsPath, bytes);
    loadBindings(kSettingsPath);
    EXPECT_EQ(gKeycodeUp, 'a');
    EXPECT_EQ(gKeycodeDown, 'b');
    EXPECT_EQ(gKeycodeLeft, SDLK_LEFT);
    EXPECT_EQ(gKeycodeToggleFullscreen, SDLK_F4);
    writeFile(kSettingsPath, {});
    resetBindings();
    loadBindings(kSettingsPath);
    EXPECT_EQ(gKeycodeUp, SDLK_UP);
}

TEST_F(BindingsTest, AnOversizedFileGivesItsFirstThirtyTwoBytesAndAMissingFileChangesNothing) {
    std::vector<uint8_t> bytes = kDefaultFile;
    bytes[16] = 'r'; // run
    bytes[19] = 0;
    bytes.resize(100, 0x11);
    writeFile(kSettingsPath, bytes);
    loadBindings(kSettingsPath);
    EXPECT_EQ(gKeycodeRun, 'r');
    resetBindings();
    std::remove(kSettingsPath);
    loadBindings(kSettingsPath);
    EXPECT_EQ(gKeycodeRun, SDLK_RSHIFT);
}

TEST_F(BindingsTest, AFailedSaveReportsFailureAndKeepsTheOldFileWhole) {
    writeFile(kSettingsPath, kDefaultFile);
    gKeycodeUp = 'z';
    // A folder where the temporary file should go: it cannot be created.
    ASSERT_EQ(mkdir("../Common/Settings.bin.tmp", 0700), 0);
    EXPECT_EQ(saveBindings(kSettingsPath), kSaveOpenFailed);
    EXPECT_EQ(readFile(kSettingsPath), kDefaultFile);
    rmdir("../Common/Settings.bin.tmp");
    // A full disk: the write or close fails, and nothing is renamed over the old file.
    if (FILE* full = fopen("/dev/full", "wb")) {
        fclose(full);
        ASSERT_EQ(symlink("/dev/full", "../Common/Settings.bin.tmp"), 0);
        EXPECT_EQ(saveBindings(kSettingsPath), kSaveWriteFailed);
        EXPECT_EQ(readFile(kSettingsPath), kDefaultFile);
    }
}

} // namespace
