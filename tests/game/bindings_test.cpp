// Settings.bin: its exact bytes both ways, short, oversized and refused files, and saves that fail safely.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
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

// A Settings.bin image with one binding's code replaced.
std::vector<uint8_t> withBinding(std::vector<uint8_t> bytes, int binding, uint32_t code) {
    for (int b = 0; b < 4; b++) {
        bytes.at(size_t(4 * binding + b)) = uint8_t(code >> (8 * b));
    }
    return bytes;
}

std::vector<uint8_t> encodedBindings() {
    uint8_t bytes[kBindingFileSize];
    encodeBindings(bytes);
    return {bytes, bytes + kBindingFileSize};
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

TEST_F(BindingsTest, AFileGivesItsWholeBindingsUnlessTheyCouldLockThePlayerOutOfTheMenu) {
    const std::vector<uint8_t> upOnW = withBinding(kDefaultFile, 0, 'w');
    std::vector<uint8_t> oversized = withBinding(upOnW, 7, SDLK_F5);
    oversized.resize(100, 0x11);
    const struct {
        std::vector<uint8_t> file;
        std::vector<uint8_t> bindings;
        const char* message; // the one line printed, or nothing
    } cases[] = {
        {oversized, withBinding(upOnW, 7, SDLK_F5), ""},                 // its first 32 bytes count
        {{'a', 0, 0, 0, 'b', 0}, withBinding(kDefaultFile, 0, 'a'), ""}, // only whole bindings of a short file
        {withBinding(upOnW, 5, 'w'), kDefaultFile, "Settings.bin binds W to two actions; the default keys are used."},
        {withBinding(upOnW, 2, 0), kDefaultFile, "Settings.bin holds key code 0x00000000, which is no key;"},
        {withBinding(upOnW, 6, 0x40000000), kDefaultFile, "Settings.bin holds key code 0x40000000, which is no key;"},
        {withBinding(upOnW, 7, 0x11111111), kDefaultFile, "Settings.bin holds key code 0x11111111, which is no key;"},
    };
    for (const auto& c : cases) {
        writeFile(kSettingsPath, c.file);
        resetBindings();
        testing::internal::CaptureStdout();
        loadBindings(kSettingsPath);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(encodedBindings(), c.bindings) << c.message;
        EXPECT_EQ(out.substr(0, strlen(c.message)), c.message);
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), c.message[0] != '\0' ? 1 : 0) << out;
    }
    std::remove(kSettingsPath); // a missing file changes nothing
    gKeycodeRun = 'r';
    loadBindings(kSettingsPath);
    EXPECT_EQ(gKeycodeRun, 'r');
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
