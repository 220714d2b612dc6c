// The music mus00.mid .. mus03.mid: four short General MIDI pieces composed here (title, the
// map, victory, death), each a loop whose every track ends on the last bar line.
#include "assets.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

constexpr int kTicksPerQuarter = 480;
constexpr int kTicksPerEighth = kTicksPerQuarter / 2;
constexpr int kBeatsPerBar = 4;
constexpr int kTicksPerBar = kBeatsPerBar * kTicksPerQuarter;
constexpr int kPercussionChannel = 9;
constexpr uint8_t kFullChannelVolume = 127;

// Event order within one tick: set-up first, then releases, then new notes.
constexpr int kOrderSetup = 0;
constexpr int kOrderOff = 1;
constexpr int kOrderOn = 2;

static void addEvent(MidiTrack& track, uint32_t tick, int order, std::initializer_list<uint8_t> bytes) {
    track.events.push_back({tick, order, std::vector<uint8_t>(bytes)});
}

static void addNote(MidiTrack& track, int channel, uint32_t start, uint32_t length, int pitch, int velocity) {
    if (length == 0 || pitch < 0 || pitch > 127) {
        return;
    }
    uint8_t status = static_cast<uint8_t>(channel);
    addEvent(track, start, kOrderOn,
             {static_cast<uint8_t>(0x90 | status), static_cast<uint8_t>(pitch),
              static_cast<uint8_t>(std::clamp(velocity, 1, 127))});
    addEvent(track, start + length, kOrderOff, {static_cast<uint8_t>(0x80 | status), static_cast<uint8_t>(pitch), 0});
}

// Program, pan and reverb of a part, at the start of its track. Every part plays at full channel
// volume, so that the pieces use all the loudness General MIDI gives them at the game's low music
// volume; velocities balance the parts (measure_loudness shows where each piece lands).
static MidiTrack startPart(int channel, int program, int pan, int reverb) {
    MidiTrack track;
    uint8_t c = static_cast<uint8_t>(channel);
    addEvent(track, 0, kOrderSetup, {static_cast<uint8_t>(0xB0 | c), 7, kFullChannelVolume});
    addEvent(track, 0, kOrderSetup, {static_cast<uint8_t>(0xB0 | c), 10, static_cast<uint8_t>(pan)});
    addEvent(track, 0, kOrderSetup, {static_cast<uint8_t>(0xB0 | c), 91, static_cast<uint8_t>(reverb)});
    if (channel != kPercussionChannel) {
        addEvent(track, 0, kOrderSetup, {static_cast<uint8_t>(0xC0 | c), static_cast<uint8_t>(program)});
    }
    return track;
}

static MidiTrack conductor(int beatsPerMinute) {
    MidiTrack track;
    uint32_t microseconds = 60000000u / static_cast<uint32_t>(beatsPerMinute);
    addEvent(track, 0, kOrderSetup,
             {0xFF, 0x51, 0x03, static_cast<uint8_t>(microseconds >> 16), static_cast<uint8_t>(microseconds >> 8),
              static_cast<uint8_t>(microseconds)});
    addEvent(track, 0, kOrderSetup, {0xFF, 0x58, 0x04, kBeatsPerBar, 2, 24, 8});
    return track;
}

// Pitch class of a note letter with an optional sharp or flat; -1 when it is not one.
static int parsePitchClass(const char* text, int* used) {
    static const int kLetters[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (text[0] < 'A' || text[0] > 'G') {
        return -1;
    }
    int pc = kLetters[text[0] - 'A'];
    *used = 1;
    if (text[1] == '#') {
        pc += 1;
        *used = 2;
    } else if (text[1] == 'b') {
        pc += 11;
        *used = 2;
    }
    return pc % 12;
}

// Plays a line written as "D5:2 F5:1 r:4 ...": note (or r for a rest), octave, length in eighths.
// Returns the length in ticks.
static uint32_t addLine(MidiTrack& track, int channel, const char* line, int velocity, uint32_t start) {
    uint32_t tick = start;
    const char* p = line;
    while (*p) {
        while (*p == ' ') {
            ++p;
        }
        if (!*p) {
            break;
        }
        int pitch = -1;
        if (*p == 'r') {
            ++p;
        } else {
            int used = 0;
            int pc = parsePitchClass(p, &used);
            p += used;
            int octave = *p - '0';
            ++p;
            pitch = pc < 0 ? -1 : 12 * (octave + 1) + pc;
        }
        int eighths = 0;
        if (*p == ':') {
            ++p;
            while (*p >= '0' && *p <= '9') {
                eighths = eighths * 10 + (*p - '0');
                ++p;
            }
        }
        uint32_t length = static_cast<uint32_t>(eighths) * kTicksPerEighth;
        bool accent = (tick - start) % kTicksPerBar == 0;
        // Slightly detached, so that repeated notes speak.
        addNote(track, channel, tick, length > 40 ? length - 30 : length, pitch, velocity + (accent ? 8 : 0));
        tick += length;
    }
    return tick - start;
}

struct Chord {
    int root;     // pitch class
    int tones[4]; // intervals above the root
    int count;
};

static Chord parseChord(const char* name) {
    int used = 0;
    Chord chord = {std::max(0, parsePitchClass(name, &used)), {0, 4, 7, 0}, 3};
    const char* quality = name + used;
    if (std::strcmp(quality, "m") == 0) {
        chord.tones[1] = 3;
    } else if (std::strcmp(quality, "7") == 0) {
        chord.tones[3] = 10;
        chord.count = 4;
    } else if (std::strcmp(quality, "sus") == 0) {
        chord.tones[1] = 5;
    }
    return chord;
}

// A pitch of the chord: tone index (wrapping into higher octaves) above the root in an octave.
static int chordPitch(const Chord& chord, int octave, int index) {
    int wraps = index / chord.count;
    return 12 * (octave + 1) + chord.root + chord.tones[index % chord.count] + 12 * wraps;
}

enum class Part { Pad, Arpeggio, Bass, WalkingBass, Pizzicato, Pulse };

static void addAccompaniment(MidiTrack& track, int channel, Part part, const char* const* chords, int bars, int octave,
                             int velocity) {
    for (int bar = 0; bar < bars; ++bar) {
        Chord chord = parseChord(chords[bar]);
        uint32_t barStart = static_cast<uint32_t>(bar) * kTicksPerBar;
        if (part == Part::Pad) {
            for (int i = 0; i < 3; ++i) {
                addNote(track, channel, barStart, kTicksPerBar, chordPitch(chord, octave, i), velocity);
            }
        } else if (part == Part::Arpeggio) {
            static const int kPattern[8] = {0, 2, 3, 4, 5, 4, 3, 2};
            for (int step = 0; step < 8; ++step) {
                // Each note rings a quarter, but never past the bar line, so the loop ends clean.
                uint32_t length = std::min<uint32_t>(kTicksPerQuarter, kTicksPerBar - step * kTicksPerEighth);
                addNote(track, channel, barStart + step * kTicksPerEighth, length,
                        chordPitch(chord, octave, kPattern[step]), velocity + (step == 0 ? 10 : 0));
            }
        } else if (part == Part::Bass) {
            addNote(track, channel, barStart, kTicksPerBar - 20, chordPitch(chord, octave, 0), velocity);
        } else if (part == Part::WalkingBass) {
            addNote(track, channel, barStart, 2 * kTicksPerQuarter - 20, chordPitch(chord, octave, 0), velocity);
            addNote(track, channel, barStart + 2 * kTicksPerQuarter, kTicksPerQuarter - 20,
                    chordPitch(chord, octave, 2) - 12, velocity - 8);
            addNote(track, channel, barStart + 3 * kTicksPerQuarter, kTicksPerQuarter - 20,
                    chordPitch(chord, octave, 0), velocity - 8);
        } else if (part == Part::Pizzicato) {
            static const int kPattern[8] = {0, -1, 2, -1, 3, 2, -1, 1};
            for (int step = 0; step < 8; ++step) {
                if (kPattern[step] >= 0) {
                    addNote(track, channel, barStart + step * kTicksPerEighth, kTicksPerEighth,
                            chordPitch(chord, octave, kPattern[step]), velocity + (step == 0 ? 8 : 0));
                }
            }
        } else {
            // A muffled heartbeat on the low drum: two soft strokes on every second bar.
            if (bar % 2 == 0) {
                addNote(track, channel, barStart, kTicksPerEighth, 41, velocity);
                addNote(track, channel, barStart + kTicksPerEighth + kTicksPerEighth / 2, kTicksPerEighth, 41,
                        velocity - 14);
            }
        }
    }
}

static int writePiece(const std::string& path, std::vector<MidiTrack>& tracks, int bars) {
    return writeMidi(path, tracks, kTicksPerQuarter, static_cast<uint32_t>(bars) * kTicksPerBar);
}

// General MIDI programs used.
constexpr int kCelesta = 8;
constexpr int kCello = 42;
constexpr int kContrabass = 43;
constexpr int kTremoloStrings = 44;
constexpr int kPizzicatoStrings = 45;
constexpr int kHarp = 46;
constexpr int kStrings = 48;
constexpr int kSlowStrings = 49;
constexpr int kChoir = 52;
constexpr int kHorn = 60;
constexpr int kFlute = 73;
constexpr int kMelody = 0; // channels
constexpr int kPadChannel = 1;
constexpr int kArpChannel = 2;
constexpr int kBassChannel = 3;
constexpr int kDoubleChannel = 4;

// Title: a calm winter tune of celesta and a soft flute over harp and strings, in D minor.
static int composeTitle(const std::string& outDir) {
    constexpr int kBars = 16;
    static const char* const kChords[kBars] = {"Dm", "Bb", "F", "C", "Dm", "Gm", "Bb", "A",
                                               "Dm", "Bb", "F", "C", "Gm", "Bb", "Gm", "A"};
    static const char* const kTune = "A4:2 D5:2 E5:2 F5:2  F5:3 E5:1 D5:4  C5:2 F5:2 A5:2 G5:2  G5:4 E5:2 C5:2 "
                                     "D5:2 F5:2 A5:3 G5:1  G5:2 F5:2 D5:2 Bb4:2  D5:3 C5:1 Bb4:2 F5:2  E5:6 r:2 "
                                     "A5:2 G5:2 F5:2 E5:2  D5:2 F5:2 Bb5:4  A5:3 G5:1 F5:2 C5:2  E5:4 G5:4 "
                                     "D5:2 G5:2 Bb5:2 A5:2  F5:3 D5:1 F5:2 G5:2  A5:2 G5:2 F5:2 E5:2  C#5:2 E5:2 A4:4";
    std::vector<MidiTrack> tracks = {conductor(76)};
    MidiTrack melody = startPart(kMelody, kCelesta, 70, 70);
    addLine(melody, kMelody, kTune, 120, 0);
    MidiTrack flute = startPart(kDoubleChannel, kFlute, 58, 80);
    addLine(flute, kDoubleChannel, kTune, 106, 0);
    MidiTrack pad = startPart(kPadChannel, kSlowStrings, 50, 90);
    addAccompaniment(pad, kPadChannel, Part::Pad, kChords, kBars, 4, 96);
    MidiTrack harp = startPart(kArpChannel, kHarp, 40, 70);
    addAccompaniment(harp, kArpChannel, Part::Arpeggio, kChords, kBars, 3, 80);
    MidiTrack bass = startPart(kBassChannel, kContrabass, 64, 60);
    addAccompaniment(bass, kBassChannel, Part::Bass, kChords, kBars, 2, 104);
    tracks.push_back(melody);
    tracks.push_back(flute);
    tracks.push_back(pad);
    tracks.push_back(harp);
    tracks.push_back(bass);
    return writePiece(outDir + "mus00.mid", tracks, kBars);
}

// The map: quiet and uneasy; pizzicato steps and trembling strings in A minor, a lone flute.
static int composeMap(const std::string& outDir) {
    constexpr int kBars = 16;
    static const char* const kChords[kBars] = {"Am", "Am", "F", "E", "Am", "Dm", "Bb", "E",
                                               "Am", "Am", "F", "E", "Dm", "Bb", "E",  "E"};
    static const char* const kTune = "r:8  r:8  r:2 A5:2 G5:1 F5:1 E5:2  E5:6 r:2 "
                                     "r:8  r:4 D5:2 E5:2  F5:3 E5:1 D5:4  G#4:6 r:2 "
                                     "r:8  C6:2 B5:2 A5:4  C6:3 B5:1 A5:2 F5:2  E5:6 r:2 "
                                     "D5:2 F5:2 A5:4  G5:3 F5:1 D5:4  E5:4 F5:2 E5:2  B4:4 G#4:4";
    std::vector<MidiTrack> tracks = {conductor(84)};
    MidiTrack melody = startPart(kMelody, kFlute, 76, 80);
    addLine(melody, kMelody, kTune, 118, 0);
    MidiTrack pad = startPart(kPadChannel, kTremoloStrings, 44, 90);
    addAccompaniment(pad, kPadChannel, Part::Pad, kChords, kBars, 3, 90);
    MidiTrack pizz = startPart(kArpChannel, kPizzicatoStrings, 84, 60);
    addAccompaniment(pizz, kArpChannel, Part::Pizzicato, kChords, kBars, 3, 124);
    MidiTrack bass = startPart(kBassChannel, kContrabass, 60, 60);
    addAccompaniment(bass, kBassChannel, Part::Bass, kChords, kBars, 2, 104);
    MidiTrack drum = startPart(kPercussionChannel, 0, 64, 70);
    addAccompaniment(drum, kPercussionChannel, Part::Pulse, kChords, kBars, 0, 116);
    tracks.push_back(melody);
    tracks.push_back(pad);
    tracks.push_back(pizz);
    tracks.push_back(bass);
    tracks.push_back(drum);
    return writePiece(outDir + "mus01.mid", tracks, kBars);
}

// Victory: a warm horn tune climbing over strings and harp in F major.
static int composeVictory(const std::string& outDir) {
    constexpr int kBars = 16;
    static const char* const kChords[kBars] = {"F",  "C",  "Dm", "Bb", "F",  "C", "Bb", "C",
                                               "Dm", "Bb", "F",  "C",  "Bb", "C", "F",  "C7"};
    static const char* const kTune = "C5:2 F5:2 A5:2 C6:2  C6:3 Bb5:1 A5:2 G5:2  A5:2 F5:2 D5:2 F5:2  G5:6 F5:2 "
                                     "A5:2 C6:2 F6:4  E6:3 D6:1 C6:4  D6:2 C6:2 Bb5:2 A5:2  G5:6 r:2 "
                                     "F5:2 A5:2 D6:4  D6:2 C6:2 Bb5:2 D6:2  C6:3 A5:1 F5:2 A5:2  G5:2 C6:2 E6:4 "
                                     "F6:3 E6:1 D6:2 Bb5:2  C6:2 D6:2 E6:2 G6:2  F6:6 C6:2  Bb5:2 G5:2 E5:2 C5:2";
    std::vector<MidiTrack> tracks = {conductor(100)};
    MidiTrack melody = startPart(kMelody, kHorn, 64, 70);
    addLine(melody, kMelody, kTune, 96, 0);
    MidiTrack pad = startPart(kPadChannel, kStrings, 46, 80);
    addAccompaniment(pad, kPadChannel, Part::Pad, kChords, kBars, 4, 45);
    MidiTrack harp = startPart(kArpChannel, kHarp, 84, 70);
    addAccompaniment(harp, kArpChannel, Part::Arpeggio, kChords, kBars, 4, 80);
    MidiTrack bass = startPart(kBassChannel, kContrabass, 64, 60);
    addAccompaniment(bass, kBassChannel, Part::WalkingBass, kChords, kBars, 2, 100);
    tracks.push_back(melody);
    tracks.push_back(pad);
    tracks.push_back(harp);
    tracks.push_back(bass);
    return writePiece(outDir + "mus02.mid", tracks, kBars);
}

// Death: a slow cello lament over a low choir in D minor.
static int composeDeath(const std::string& outDir) {
    constexpr int kBars = 12;
    static const char* const kChords[kBars] = {"Dm", "Gm", "A", "Dm", "Bb", "Gm", "A", "A", "Dm", "Bb", "Gm", "A"};
    static const char* const kTune = "D4:4 F4:2 E4:2  D4:6 Bb3:2  C#4:4 E4:2 A3:2  D4:8 "
                                     "F4:4 D4:2 F4:2  G4:4 Bb4:2 A4:2  A4:4 G4:2 E4:2  C#4:6 r:2 "
                                     "F4:4 E4:2 D4:2  D4:4 C4:2 Bb3:2  Bb3:4 A3:2 G3:2  A3:6 r:2";
    std::vector<MidiTrack> tracks = {conductor(58)};
    MidiTrack melody = startPart(kMelody, kCello, 60, 80);
    addLine(melody, kMelody, kTune, 110, 0);
    MidiTrack pad = startPart(kPadChannel, kChoir, 70, 100);
    addAccompaniment(pad, kPadChannel, Part::Pad, kChords, kBars, 3, 88);
    MidiTrack bass = startPart(kBassChannel, kContrabass, 64, 70);
    addAccompaniment(bass, kBassChannel, Part::Bass, kChords, kBars, 2, 96);
    tracks.push_back(melody);
    tracks.push_back(pad);
    tracks.push_back(bass);
    return writePiece(outDir + "mus03.mid", tracks, kBars);
}

int makeMusic(const std::string& outDir) {
    return composeTitle(outDir) + composeMap(outDir) + composeVictory(outDir) + composeDeath(outDir);
}
