#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tavlix::mediagen {

// A RIFF WAVE file of 16-bit PCM mono samples: the "fmt " chunk, then the "data" chunk.
// Two bytes a sample keep every chunk at the even length RIFF asks for.
std::vector<std::uint8_t> WriteWaveFile(std::span<const std::int16_t> samples, unsigned sampleRate);

}  // namespace tavlix::mediagen
