#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavlix::mediagen {

constexpr unsigned kSoundSampleRate = 22050;

struct SoundEffect {
    std::string fileName;  // under sounds/
    std::vector<std::int16_t> samples;  // mono at kSoundSampleRate
};

// The six event sounds: next and previous question, correct, incorrect, abnormal
// (input that is no answer at all) and time up. Each lasts under a second.
std::vector<SoundEffect> BuildSoundEffects();

}  // namespace tavlix::mediagen
