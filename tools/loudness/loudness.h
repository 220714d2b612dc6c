// The game's media as the player hears them: effects at their mixer volumes, the footstep stacked
// as the deer starts it, the music through FluidSynth at the music volume, and their loudness.
#pragma once

#include <string>
#include <vector>

#include "game/startup.h"

constexpr int kHeardRate = 44100; // frames a second, as the game opens the audio device
constexpr int kHeardChannels = 2; // the mixer plays every sound in stereo
constexpr int kMixerChunk = 2048; // frames the mixer fills at a time: sounds started in one chunk start together
constexpr int kMaxVolume = 128;   // the mixer's full volume
constexpr int kEffectCount = 7;   // snd00.wav .. snd06.wav
constexpr int kPieceCount = 4;    // mus00.mid .. mus03.mid
constexpr int kFootstepSlot = 1;
constexpr int kDangerSlot = 2;
constexpr int kSniffSlot = 3;
constexpr int kEatingSlot = 4;
constexpr int kSafeSlot = 5;
constexpr int kGunshotSlot = 6;
constexpr const char* kEffectName[kEffectCount] = {"menu", "footstep", "danger", "sniff", "eating", "safe", "gunshot"};
constexpr const char* kPieceName[kPieceCount] = {"title", "map", "victory", "death"};
constexpr const char* kSoundFontPath = "/usr/share/sounds/sf3/default-GM.sf3"; // the mixer's default soundfont
constexpr int kEffectWindowMs = 100; // effects are judged on their loudest 100 ms
constexpr int kMusicWindowMs = 3000; // music on its loudest 3 s
constexpr double kSilenceDb = -200;  // what the measures give for silence

// Interleaved stereo samples at kHeardRate, full scale -1..1.
using Audio = std::vector<float>;

// Reads a WAV file (mono or stereo) into audio as the mixer plays it. Returns 0, or 1 after a
// one-line message on standard output.
int readSound(const std::string& path, Audio* audio);

// Effect slot of commonDir as the player hears it: scaled by its volume; the footstep stacked as
// the deer starts it on three walking frames (two copies at once, a third one chunk later).
// Returns 0, or 1 after a message.
int hearEffect(const std::string& commonDir, int slot, Audio* audio);

// Renders each MIDI file once through, through FluidSynth with kSoundFontPath at the gain the
// mixer gives the music volume. Returns 0, or 1 after a message.
int renderMusic(const std::vector<std::string>& paths, std::vector<Audio>* pieces);

// K-weighted loudness (ITU-R BS.1770) of the loudest windowMs of audio, in LUFS.
double loudestLoudness(const Audio& audio, int windowMs);

// Largest sample magnitude in dBFS.
double peakDb(const Audio& audio);

// Share (0..1) of the energy of audio between lowHz and highHz.
double energyShare(const Audio& audio, double lowHz, double highHz);

// How far the loudest sample of the last seconds of audio lies under its peak, in dB.
double tailUnderPeakDb(const Audio& audio, double seconds);

// Length of audio in seconds.
double lengthSeconds(const Audio& audio);

// Adds source scaled by gain into target from startSeconds on, growing target as needed.
void mixAudio(Audio* target, const Audio& source, double startSeconds, double gain);

// Writes audio as a 16-bit stereo WAV file. Returns 0, or 1 after a message.
int writeSound(const std::string& path, const Audio& audio);
