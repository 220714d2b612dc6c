// Replays: recording a game's actions as runs, the file's bytes, and reading them back safely.
#include "replay/replay.h"

#include <SDL_stdinc.h>

#include <cstdio>
#include <cstring>

#include "world/datafile.h"

static const uint8_t kMagic[4] = {'V', 'L', 'M', 'R'};
constexpr int kHashChunk = 65536; // bytes hashed per read

void clearReplayActions(Replay* replay) {
    replay->runCount = 0;
    replay->frames = 0;
    replay->isFull = 0;
    replay->end = ReplayEnd{kOutcomeClosed, 0, 0, 0, 0, 0, -1, -1};
}

int recordReplayFrame(Replay* replay, uint8_t actions) {
    if (replay->isFull != 0 || replay->frames >= kReplayMaxFrames) {
        replay->isFull = 1;
        return 0;
    }
    ReplayRun* last = replay->runCount > 0 ? &replay->runs[replay->runCount - 1] : nullptr;
    if (last != nullptr && last->actions == actions && last->frames < kReplayMaxRunFrames) {
        last->frames++;
    } else if (replay->runCount < kReplayMaxRuns) {
        replay->runs[replay->runCount++] = ReplayRun{actions, 1};
    } else {
        replay->isFull = 1;
        return 0;
    }
    replay->frames++;
    return 1;
}

int nextReplayFrame(const Replay* replay, ReplayCursor* cursor) {
    while (cursor->run < replay->runCount && cursor->frame >= replay->runs[cursor->run].frames) {
        cursor->run++;
        cursor->frame = 0;
    }
    if (cursor->run >= replay->runCount) {
        return -1;
    }
    cursor->frame++;
    return replay->runs[cursor->run].actions;
}

// Writing: each put moves the position on; the buffer has room for a whole replay.
static void put8(uint8_t* bytes, int* at, uint32_t value) { bytes[(*at)++] = uint8_t(value); }
static void put16(uint8_t* bytes, int* at, uint32_t value) {
    put8(bytes, at, value);
    put8(bytes, at, value >> 8);
}
static void put32(uint8_t* bytes, int* at, uint32_t value) {
    put16(bytes, at, value);
    put16(bytes, at, value >> 16);
}

int encodeReplay(const Replay* replay, uint8_t* bytes) {
    int at = 0;
    for (uint8_t c : kMagic) {
        put8(bytes, &at, c);
    }
    put16(bytes, &at, kReplayVersion);
    put32(bytes, &at, replay->seed);
    put8(bytes, &at, uint32_t(replay->trackSides));
    put32(bytes, &at, uint32_t(replay->deerStartX));
    put32(bytes, &at, uint32_t(replay->deerStartY));
    const int nameLength = int(strnlen(replay->mapName, kReplayMapNameSize - 1));
    put8(bytes, &at, uint32_t(nameLength));
    memcpy(bytes + at, replay->mapName, size_t(nameLength));
    at += nameLength;
    put32(bytes, &at, replay->mapHash);
    put32(bytes, &at, replay->propertiesHash);
    put32(bytes, &at, uint32_t(replay->runCount));
    for (int i = 0; i < replay->runCount; i++) {
        put8(bytes, &at, replay->runs[i].actions);
        put16(bytes, &at, replay->runs[i].frames);
    }
    const ReplayEnd& end = replay->end;
    put8(bytes, &at, uint32_t(end.outcome));
    put32(bytes, &at, uint32_t(end.frames));
    put32(bytes, &at, uint32_t(end.foodLeft));
    put8(bytes, &at, uint32_t(end.wounds));
    put32(bytes, &at, uint32_t(end.deerX));
    put32(bytes, &at, uint32_t(end.deerY));
    put32(bytes, &at, uint32_t(end.hunterX));
    put32(bytes, &at, uint32_t(end.hunterY));
    put32(bytes, &at, SDL_crc32(0, bytes, size_t(at)));
    return at;
}

// Reading: every take checks that the bytes are there; a short read sets ended and gives 0.
struct ByteReader {
    const uint8_t* bytes;
    int size;
    int at;
    bool ended; // a take wanted bytes past the end
};

static uint32_t take(ByteReader* reader, int count) {
    if (reader->ended || count > reader->size - reader->at) {
        reader->ended = true;
        return 0;
    }
    uint32_t value = 0;
    for (int i = 0; i < count; i++) {
        value |= uint32_t(reader->bytes[reader->at + i]) << (8 * i);
    }
    reader->at += count;
    return value;
}

static int takeInt(ByteReader* reader) { return int32_t(take(reader, 4)); }

int decodeReplay(const uint8_t* bytes, int size, Replay* replay) {
    clearReplayActions(replay);
    if (size < int(sizeof kMagic) || memcmp(bytes, kMagic, sizeof kMagic) != 0) {
        return kReplayNotAReplay;
    }
    ByteReader reader{bytes, size, int(sizeof kMagic), false};
    if (take(&reader, 2) != kReplayVersion) {
        return reader.ended ? kReplayTruncated : kReplayOtherVersion;
    }
    replay->seed = take(&reader, 4);
    replay->trackSides = int(take(&reader, 1));
    replay->deerStartX = takeInt(&reader);
    replay->deerStartY = takeInt(&reader);
    const int nameLength = int(take(&reader, 1));
    if (reader.ended || nameLength > size - reader.at) {
        return kReplayTruncated;
    }
    memcpy(replay->mapName, bytes + reader.at, size_t(nameLength));
    replay->mapName[nameLength] = '\0';
    reader.at += nameLength;
    // The name is a plain file name: no folder, no zero byte inside it.
    const bool plainName = int(strlen(replay->mapName)) == nameLength && strchr(replay->mapName, '/') == nullptr &&
                           strcmp(replay->mapName, ".") != 0 && strcmp(replay->mapName, "..") != 0;
    replay->mapHash = take(&reader, 4);
    replay->propertiesHash = take(&reader, 4);
    const uint32_t runCount = take(&reader, 4);
    if (reader.ended) {
        return kReplayTruncated;
    }
    if (runCount > uint32_t(kReplayMaxRuns)) {
        return kReplayDamaged;
    }
    // The runs, the end and the checksum must all be there before anything is taken.
    constexpr int kEndBytes = 1 + 4 + 4 + 1 + 16 + 4;
    if (int64_t(runCount) * kReplayRunBytes + kEndBytes > int64_t(size - reader.at)) {
        return kReplayTruncated;
    }
    int64_t frames = 0;
    for (uint32_t i = 0; i < runCount; i++) {
        const uint8_t actions = uint8_t(take(&reader, 1));
        const uint16_t length = uint16_t(take(&reader, 2));
        if (length == 0) {
            return kReplayDamaged;
        }
        replay->runs[i] = ReplayRun{actions, length};
        frames += length;
    }
    replay->runCount = int(runCount);
    ReplayEnd& end = replay->end;
    end.outcome = int(take(&reader, 1));
    end.frames = takeInt(&reader);
    end.foodLeft = takeInt(&reader);
    end.wounds = int(take(&reader, 1));
    end.deerX = takeInt(&reader);
    end.deerY = takeInt(&reader);
    end.hunterX = takeInt(&reader);
    end.hunterY = takeInt(&reader);
    const int checked = reader.at;
    const uint32_t checksum = take(&reader, 4);
    if (reader.at != size || checksum != SDL_crc32(0, bytes, size_t(checked))) {
        clearReplayActions(replay);
        return kReplayDamaged;
    }
    if (!plainName || end.outcome < kOutcomeWon || end.outcome > kOutcomeClosed || end.wounds > 2 ||
        end.frames != frames || frames > kReplayMaxFrames) {
        clearReplayActions(replay);
        return kReplayDamaged;
    }
    replay->frames = int(frames);
    return kReplayOk;
}

const char* describeReplayResult(int result) {
    switch (result) {
    case kReplayOk: return "a replay";
    case kReplayUnreadable: return "cannot be read";
    case kReplayNotAReplay: return "is not a Velmoor replay";
    case kReplayOtherVersion: return "is a replay of another version of Velmoor";
    case kReplayTruncated: return "is cut short (truncated)";
    default: return "is damaged (its contents do not add up)";
    }
}

int hashFile(const char* path, uint32_t* hash) {
    FILE* file = nullptr;
    if (openDataFile(path, &file) != kOpenOk) {
        return 0;
    }
    static uint8_t Chunk[kHashChunk]; // the bytes being hashed; scratch between calls
    uint32_t crc = 0;
    size_t count = 0;
    while ((count = fread(Chunk, 1, sizeof Chunk, file)) > 0) {
        crc = SDL_crc32(crc, Chunk, count);
    }
    const bool failed = ferror(file) != 0;
    fclose(file);
    *hash = crc;
    return failed ? 0 : 1;
}
