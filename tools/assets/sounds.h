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

// Synthesis on a buffer of samples in -1 ... 1 at kSampleRate.
using Buffer = std::vector<double>;
Buffer Silence(double seconds);
// A tone from `start` lasting `length` seconds whose pitch glides
// exponentially from f0 to f1, with the given partials (amplitude of the
// 1st, 2nd, ... harmonic), a linear attack and an exponential decay with time
// constant `tau` (0 = held), ended by a short release so it never clicks.
void AddTone(Buffer& b, double start, double length, double f0, double f1, double amp,
             const std::vector<double>& partials, double attack, double tau,
             double release = 0.01, double vibratoHz = 0.0, double vibratoDepth = 0.0);
// Low-passed noise with an exponential decay, from a fixed seed so every
// build gives the same samples.
void AddNoise(Buffer& b, double start, double length, double amp, double cutoffHz, double tau,
              uint32_t seed);
// Fades the ends (raised cosine), scales to `peak` of full scale and
// converts to 16-bit samples.
std::vector<int16_t> Finish(Buffer b, double peak, double fadeIn = 0.002, double fadeOut = 0.012);

// All eight effects in the order the game loads them.
std::vector<Effect> BuildEffects();

// A RIFF WAVE file ("fmt " of 16 bytes, PCM, mono 16-bit, then "data").
std::vector<uint8_t> EncodeWave(const std::vector<int16_t>& samples, int sampleRate);

}  // namespace sounds
