// File writers of the media generator: PNG over zlib, 16-bit PCM WAV, Standard MIDI File.
#include "assets.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

constexpr int kPngCompressionLevel = 9;
constexpr int kBytesPerPixel = 3;

static void appendBigEndian32(std::vector<unsigned char>& out, uint32_t value) {
    out.push_back(static_cast<unsigned char>(value >> 24));
    out.push_back(static_cast<unsigned char>(value >> 16));
    out.push_back(static_cast<unsigned char>(value >> 8));
    out.push_back(static_cast<unsigned char>(value));
}

static void appendChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data) {
    appendBigEndian32(out, static_cast<uint32_t>(data.size()));
    std::vector<unsigned char> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, typed.data(), static_cast<uInt>(typed.size()));
    appendBigEndian32(out, static_cast<uint32_t>(crc));
}

static int paeth(int a, int b, int c) {
    int p = a + b - c;
    int pa = std::abs(p - a);
    int pb = std::abs(p - b);
    int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) {
        return a;
    }
    return pb <= pc ? b : c;
}

// Filters one row with each of the five PNG filters and keeps the one with the smallest sum of
// magnitudes (the usual heuristic); the choice depends only on the pixels, so output is stable.
static void filterRow(const unsigned char* row, const unsigned char* above, int length,
                      std::vector<unsigned char>& out) {
    std::vector<unsigned char> best;
    long bestCost = -1;
    std::vector<unsigned char> candidate(static_cast<size_t>(length) + 1);
    for (int filter = 0; filter < 5; ++filter) {
        candidate[0] = static_cast<unsigned char>(filter);
        long cost = 0;
        for (int i = 0; i < length; ++i) {
            int left = i >= kBytesPerPixel ? row[i - kBytesPerPixel] : 0;
            int up = above ? above[i] : 0;
            int upLeft = (above && i >= kBytesPerPixel) ? above[i - kBytesPerPixel] : 0;
            int predicted = 0;
            if (filter == 1) {
                predicted = left;
            } else if (filter == 2) {
                predicted = up;
            } else if (filter == 3) {
                predicted = (left + up) / 2;
            } else if (filter == 4) {
                predicted = paeth(left, up, upLeft);
            }
            unsigned char value = static_cast<unsigned char>(row[i] - predicted);
            candidate[static_cast<size_t>(i) + 1] = value;
            cost += value < 128 ? value : 256 - value;
        }
        if (bestCost < 0 || cost < bestCost) {
            bestCost = cost;
            best = candidate;
        }
    }
    out.insert(out.end(), best.begin(), best.end());
}

int writePng(const std::string& path, const Image& image) {
    const int stride = image.width * kBytesPerPixel;
    std::vector<unsigned char> raw;
    raw.reserve(static_cast<size_t>(stride + 1) * static_cast<size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        const unsigned char* row = image.rgb.data() + static_cast<size_t>(y) * stride;
        const unsigned char* above = y > 0 ? row - stride : nullptr;
        filterRow(row, above, stride, raw);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), kPngCompressionLevel) !=
        Z_OK) {
        std::printf("Could not compress %s\n", path.c_str());
        return 1;
    }
    packed.resize(packedSize);

    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    appendBigEndian32(header, static_cast<uint32_t>(image.width));
    appendBigEndian32(header, static_cast<uint32_t>(image.height));
    header.push_back(8); // bit depth
    header.push_back(2); // colour type: RGB
    header.push_back(0); // deflate
    header.push_back(0); // adaptive filtering
    header.push_back(0); // no interlace
    appendChunk(file, "IHDR", header);
    appendChunk(file, "IDAT", packed);
    appendChunk(file, "IEND", {});

    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        std::printf("Could not write %s\n", path.c_str());
        return 1;
    }
    size_t written = std::fwrite(file.data(), 1, file.size(), out);
    int closed = std::fclose(out);
    if (written != file.size() || closed != 0) {
        std::printf("Could not write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

static void appendLittle(std::vector<unsigned char>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
}

int writeWav(const std::string& path, const std::vector<int16_t>& samples, int channels) {
    constexpr uint32_t kSampleRate = 44100;
    constexpr uint32_t kBytesPerSample = 2;
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size()) * kBytesPerSample;
    std::vector<unsigned char> file;
    file.insert(file.end(), {'R', 'I', 'F', 'F'});
    appendLittle(file, 36 + dataBytes, 4);
    file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    appendLittle(file, 16, 4);
    appendLittle(file, 1, 2); // PCM
    appendLittle(file, static_cast<uint32_t>(channels), 2);
    appendLittle(file, kSampleRate, 4);
    appendLittle(file, kSampleRate * kBytesPerSample * static_cast<uint32_t>(channels), 4);
    appendLittle(file, kBytesPerSample * static_cast<uint32_t>(channels), 2);
    appendLittle(file, 16, 2);
    file.insert(file.end(), {'d', 'a', 't', 'a'});
    appendLittle(file, dataBytes, 4);
    for (int16_t sample : samples) {
        appendLittle(file, static_cast<uint16_t>(sample), 2);
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        std::printf("Could not write %s\n", path.c_str());
        return 1;
    }
    size_t written = std::fwrite(file.data(), 1, file.size(), out);
    int closed = std::fclose(out);
    if (written != file.size() || closed != 0) {
        std::printf("Could not write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

static void appendVariableLength(std::vector<unsigned char>& out, uint32_t value) {
    unsigned char groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<unsigned char>(value & 0x7F);
        value >>= 7;
    } while (value != 0 && count < 5);
    for (int i = count - 1; i >= 0; --i) {
        out.push_back(static_cast<unsigned char>(groups[i] | (i > 0 ? 0x80 : 0)));
    }
}

int writeMidi(const std::string& path, const std::vector<MidiTrack>& tracks, int ticksPerQuarter, uint32_t endTick) {
    std::vector<unsigned char> file = {'M', 'T', 'h', 'd'};
    appendBigEndian32(file, 6);
    file.push_back(0);
    file.push_back(1); // format 1: simultaneous tracks
    file.push_back(static_cast<unsigned char>(tracks.size() >> 8));
    file.push_back(static_cast<unsigned char>(tracks.size()));
    file.push_back(static_cast<unsigned char>(ticksPerQuarter >> 8));
    file.push_back(static_cast<unsigned char>(ticksPerQuarter));
    for (const MidiTrack& track : tracks) {
        std::vector<MidiEvent> events = track.events;
        std::stable_sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        });
        std::vector<unsigned char> body;
        uint32_t now = 0;
        for (const MidiEvent& event : events) {
            if (event.tick > endTick) {
                std::printf("A MIDI event lies past the loop end in %s\n", path.c_str());
                return 1;
            }
            appendVariableLength(body, event.tick - now);
            now = event.tick;
            body.insert(body.end(), event.bytes.begin(), event.bytes.end());
        }
        appendVariableLength(body, endTick - now);
        body.insert(body.end(), {0xFF, 0x2F, 0x00}); // end of track at the loop length
        file.insert(file.end(), {'M', 'T', 'r', 'k'});
        appendBigEndian32(file, static_cast<uint32_t>(body.size()));
        file.insert(file.end(), body.begin(), body.end());
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        std::printf("Could not write %s\n", path.c_str());
        return 1;
    }
    size_t written = std::fwrite(file.data(), 1, file.size(), out);
    int closed = std::fclose(out);
    if (written != file.size() || closed != 0) {
        std::printf("Could not write %s\n", path.c_str());
        return 1;
    }
    return 0;
}
