// A whole game's soundscape as the player hears it: title, play, eating, smelling, two shots and
// both end screens, mixed as the game starts and halts every sound.
#pragma once

#include <string>
#include <vector>

#include "loudness/loudness.h"

// Mixes the heard effects (hearEffect) and the rendered music (renderMusic) along one game,
// prints how far each sound stands over the music playing at the time and the mix's peak, and
// writes the mix to path. Returns 0, or 1 after a message.
int renderSoundscape(const Audio* effects, const std::vector<Audio>& music, const std::string& path);
