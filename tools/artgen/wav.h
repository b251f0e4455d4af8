#pragma once
// The sound form the game plays: RIFF WAVE, PCM, 2 channels, 44,100 frames per second,
// 16 bits per sample, an 18-byte format chunk (cbSize 0), a fact chunk with the frame count,
// then the data chunk.

#include "tools/artgen/bytes.h"

#include <vector>

namespace artgen {

inline constexpr int SampleRate = 44100;

// One stereo frame of signed 16-bit samples.
struct Frame {
    int16_t left = 0;
    int16_t right = 0;
};

Bytes encodeWav(const std::vector<Frame>& frames);

} // namespace artgen
