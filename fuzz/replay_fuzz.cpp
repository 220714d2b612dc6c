// Fuzzes the replay reader with arbitrary file contents: every input is refused or read, and a
// replay that is read writes back exactly the bytes it came from.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "replay/replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Replay Decoded;                 // about 1 MB: kept between runs
    static uint8_t Again[kReplayMaxBytes]; // the bytes written back
    if (size > size_t(kReplayMaxBytes)) {
        return 0;
    }
    if (decodeReplay(data, int(size), &Decoded) != kReplayOk) {
        if (Decoded.runCount != 0) {
            __builtin_trap(); // a refused file leaves nothing to play
        }
        return 0;
    }
    int frames = 0;
    for (int run = 0; run < Decoded.runCount; run++) {
        frames += Decoded.runs[run].frames;
    }
    const int length = encodeReplay(&Decoded, Again);
    if (frames != Decoded.frames || frames > kReplayMaxFrames || length != int(size) ||
        memcmp(Again, data, size) != 0) {
        __builtin_trap();
    }
    return 0;
}
