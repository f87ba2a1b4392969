// The eight sound effects, synthesised: 16-bit PCM, mono, 22050 Hz, each
// faded in and out and scaled to a peak of 0.85 of full scale.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sounds {

constexpr int kSampleRate = 22050;

struct Effect {
  std::string member;          // e.g. "Sounds\\klick_menu.wav"
  std::vector<uint8_t> wave;   // a complete RIFF WAVE file
};

// All eight effects in the order the game loads them.
std::vector<Effect> BuildEffects();

// A RIFF WAVE file ("fmt " of 16 bytes, PCM, mono 16-bit, then "data").
std::vector<uint8_t> EncodeWave(const std::vector<int16_t>& samples, int sampleRate);

}  // namespace sounds
