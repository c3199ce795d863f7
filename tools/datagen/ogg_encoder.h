// Encoding a stereo track at the synthesizer's rate as Ogg Vorbis.
#pragma once

#include <vector>

#include "synth.h"

// Variable-bit-rate Vorbis at `quality` (-0.1 ... 1) under a fixed stream
// serial, with a TITLE comment unless title is null; false when the encoder
// refuses the settings.
bool encode_ogg(const synth::Track& track, float quality, int serial, const char* title,
                std::vector<unsigned char>& out);
