// Settings.bin: which files give their bindings, and saves that stay whole through failures and races.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
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

std::string currentBindings() {
    uint8_t bytes[kBindingFileSize];
    encodeBindings(bytes);
    return std::string(reinterpret_cast<char*>(bytes), sizeof bytes);
}

const char* const kSomeFile[] = {"properties.tmx"};

// A key bound twice or a code no key gives could lock the player out of the menu, and so out of the
// settings screen that would mend it: such bindings give the defaults, whatever the file's length
// (a short file keeps the defaults it does not hold, and these may clash with what it holds).
TEST(Bindings, AFileGivesItsWholeBindingsOnlyWhenAllEightAreThenDifferentNamedKeys) {
    enterTempCommon(kSomeFile, 1);
    const std::string upOnW = withBinding(kDefaults, 0, 'w');
    // clang-format off
    const struct { std::string file, bindings; const char* message; } cases[] = {
        {withBinding(upOnW, 5, 'w'), kDefaults, "Settings.bin binds W to two actions; the default keys are used."},
        {withBinding(upOnW, 2, 0), kDefaults, "Settings.bin holds key code 0x00000000, which is no key;"},
        {withBinding(upOnW, 6, 0x40000000), kDefaults, "Settings.bin holds key code 0x40000000, which is no key;"},
        {withBinding(upOnW, 7, 0x11111111), kDefaults, "Settings.bin holds key code 0x11111111, which is no key;"},
        {std::string(28, '\0'), kDefaults, "Settings.bin holds key code 0x00000000, which is no key;"},
        {std::string(31, '\0'), kDefaults, "Settings.bin holds key code 0x00000000, which is no key;"},
        {withBinding(kDefaults, 0, SDLK_DOWN).substr(0, 7), kDefaults, "Settings.bin binds Down to two actions;"},
        {std::string("a\0\0\0b\0", 6), withBinding(kDefaults, 0, 'a'), ""},
        {"", kDefaults, ""},
        {withBinding(upOnW, 7, SDLK_F5) + std::string(68, '\x11'), withBinding(upOnW, 7, SDLK_F5), ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        resetBindings();
        writeCommonFile("Settings.bin", c.file);
        testing::internal::CaptureStdout();
        loadBindings(kSettingsPath);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(currentBindings(), c.bindings) << c.message;
        EXPECT_EQ(std::pair(out.substr(0, strlen(c.message)), std::count(out.begin(), out.end(), '\n')),
                  std::pair(std::string(c.message), c.message[0] != '\0' ? 1L : 0L));
    }
}

} // namespace
