#include "sounds.h"

#include <algorithm>
#include <cmath>

namespace sounds {

namespace {

constexpr double kTwoPi = 6.283185307179586;

}  // namespace

Buffer Silence(double seconds) { return Buffer(static_cast<size_t>(seconds * kSampleRate), 0.0); }

void AddTone(Buffer& b, double start, double length, double f0, double f1, double amp,
             const std::vector<double>& partials, double attack, double tau, double release,
             double vibratoHz, double vibratoDepth) {
  const size_t first = static_cast<size_t>(start * kSampleRate);
  const size_t count = static_cast<size_t>(length * kSampleRate);
  double phase = 0.0;
  for (size_t i = 0; i < count && first + i < b.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    double f = f0 * std::pow(f1 / f0, t / length);
    if (vibratoHz > 0) f *= 1.0 + vibratoDepth * std::sin(kTwoPi * vibratoHz * t);
    phase += kTwoPi * f / kSampleRate;
    double env = attack > 0 ? std::min(1.0, t / attack) : 1.0;
    if (tau > 0) env *= std::exp(-t / tau);
    const double left = length - t;
    if (left < release) env *= 0.5 - 0.5 * std::cos(M_PI * left / release);
    double v = 0.0;
    for (size_t h = 0; h < partials.size(); ++h) {
      // Partials above the Nyquist frequency would fold back as noise.
      if (f * (h + 1) < kSampleRate * 0.45) v += partials[h] * std::sin(phase * (h + 1));
    }
    b[first + i] += amp * env * v;
  }
}

void AddNoise(Buffer& b, double start, double length, double amp, double cutoffHz, double tau,
              uint32_t seed) {
  const size_t first = static_cast<size_t>(start * kSampleRate);
  const size_t count = static_cast<size_t>(length * kSampleRate);
  const double a = 1.0 - std::exp(-kTwoPi * cutoffHz / kSampleRate);
  double y = 0.0;
  uint32_t state = seed;
  for (size_t i = 0; i < count && first + i < b.size(); ++i) {
    state = state * 1664525u + 1013904223u;
    const double white = static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    y += a * (white - y);
    const double t = static_cast<double>(i) / kSampleRate;
    b[first + i] += amp * y * std::exp(-t / tau);
  }
}

std::vector<int16_t> Finish(Buffer b, double peak, double fadeIn, double fadeOut) {
  const size_t in = static_cast<size_t>(fadeIn * kSampleRate);
  const size_t out = static_cast<size_t>(fadeOut * kSampleRate);
  for (size_t i = 0; i < in && i < b.size(); ++i) b[i] *= 0.5 - 0.5 * std::cos(M_PI * i / in);
  for (size_t i = 0; i < out && i < b.size(); ++i)
    b[b.size() - 1 - i] *= 0.5 - 0.5 * std::cos(M_PI * i / out);
  double max = 0.0;
  for (double v : b) max = std::max(max, std::fabs(v));
  const double gain = max > 0 ? peak / max : 0.0;
  std::vector<int16_t> s(b.size());
  for (size_t i = 0; i < b.size(); ++i)
    s[i] = static_cast<int16_t>(std::lround(std::clamp(b[i] * gain, -1.0, 1.0) * 32767.0));
  return s;
}

namespace {

// A soft, dry interface click.
std::vector<int16_t> KlickMenu() {
  Buffer b = Silence(0.06);
  AddNoise(b, 0.0, 0.06, 0.9, 3500, 0.004, 0x1234567u);
  AddTone(b, 0.0, 0.06, 1500, 1200, 0.6, {1.0}, 0.0005, 0.008);
  return Finish(b, 0.75, 0.001, 0.01);
}

// A light, pleasant tick, quieter than the menu click.
std::vector<int16_t> KlickGame() {
  Buffer b = Silence(0.08);
  AddTone(b, 0.0, 0.08, 2300, 2200, 1.0, {1.0, 0.25}, 0.001, 0.013);
  AddNoise(b, 0.0, 0.02, 0.15, 6000, 0.002, 0x2468aceu);
  return Finish(b, 0.45, 0.001, 0.015);
}

// A short bright fanfare: a rising arpeggio into a ringing major chord.
std::vector<int16_t> Win() {
  Buffer b = Silence(1.45);
  const std::vector<double> bright = {1.0, 0.5, 0.3, 0.15, 0.08};
  const double notes[] = {523.25, 659.25, 783.99};
  for (int i = 0; i < 3; ++i) AddTone(b, 0.12 * i, 0.22, notes[i], notes[i], 0.5, bright, 0.005, 0.12, 0.05);
  const double chord[] = {523.25, 659.25, 783.99, 1046.5};
  for (double f : chord) AddTone(b, 0.36, 1.09, f, f, 0.3, bright, 0.008, 0.42, 0.2, 5.0, 0.002);
  return Finish(b, 0.85, 0.002, 0.08);
}

// A gentle descending "oh no" motif.
std::vector<int16_t> Lose() {
  Buffer b = Silence(1.25);
  const std::vector<double> soft = {1.0, 0.35, 0.12};
  const double notes[] = {392.0, 369.99, 349.23};
  for (int i = 0; i < 3; ++i) AddTone(b, 0.24 * i, 0.26, notes[i], notes[i], 0.6, soft, 0.01, 0.3, 0.05);
  AddTone(b, 0.72, 0.53, 329.63, 300.0, 0.6, soft, 0.01, 0.35, 0.15, 5.5, 0.012);
  return Finish(b, 0.8, 0.003, 0.08);
}

// A siren blip: two tones alternating, square-like.
std::vector<int16_t> Alarm() {
  Buffer b = Silence(0.8);
  const std::vector<double> square = {1.0, 0.0, 1.0 / 3, 0.0, 1.0 / 5, 0.0, 1.0 / 7};
  for (int i = 0; i < 8; ++i)
    AddTone(b, 0.1 * i, 0.1, i % 2 ? 660.0 : 880.0, i % 2 ? 660.0 : 880.0, 0.5, square, 0.004, 0.0, 0.004);
  return Finish(b, 0.8, 0.003, 0.02);
}

// A bright bubble pop: a fast upward sweep that dies at once.
std::vector<int16_t> Pop() {
  Buffer b = Silence(0.15);
  AddTone(b, 0.0, 0.15, 320, 1500, 1.0, {1.0, 0.15}, 0.001, 0.03);
  AddNoise(b, 0.0, 0.01, 0.2, 5000, 0.002, 0x51a5b00u);
  return Finish(b, 0.85, 0.001, 0.02);
}

// A dull thud: a falling low sine and a short muffled noise hit.
std::vector<int16_t> Punch() {
  Buffer b = Silence(0.22);
  AddTone(b, 0.0, 0.22, 170, 45, 1.0, {1.0, 0.2}, 0.001, 0.06);
  AddNoise(b, 0.0, 0.08, 1.2, 700, 0.015, 0x7e57ab1u);
  return Finish(b, 0.88, 0.001, 0.03);
}

// A dull two-tone error beep, low then lower.
std::vector<int16_t> Lamp1() {
  Buffer b = Silence(0.4);
  const std::vector<double> soft = {1.0, 0.0, 0.3, 0.0, 0.12};
  AddTone(b, 0.0, 0.16, 311.13, 311.13, 0.6, soft, 0.005, 0.0, 0.02);
  AddTone(b, 0.19, 0.21, 207.65, 207.65, 0.6, soft, 0.005, 0.25, 0.04);
  return Finish(b, 0.7, 0.003, 0.02);
}

void PutLE16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void PutLE32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutTag(std::vector<uint8_t>& b, const char* tag) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> EncodeWave(const std::vector<int16_t>& samples, int sampleRate) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> b;
  PutTag(b, "RIFF");
  PutLE32(b, 4 + (8 + 16) + (8 + dataBytes));
  PutTag(b, "WAVE");
  PutTag(b, "fmt ");
  PutLE32(b, 16);
  PutLE16(b, 1);  // PCM
  PutLE16(b, 1);  // mono
  PutLE32(b, static_cast<uint32_t>(sampleRate));
  PutLE32(b, static_cast<uint32_t>(sampleRate) * 2);
  PutLE16(b, 2);   // block align
  PutLE16(b, 16);  // bits per sample
  PutTag(b, "data");
  PutLE32(b, dataBytes);
  for (int16_t s : samples) PutLE16(b, static_cast<uint16_t>(s));
  return b;  // the data size is even, so no pad byte is needed
}

std::vector<Effect> BuildEffects() {
  std::vector<Effect> effects;
  auto add = [&](const char* name, const std::vector<int16_t>& s) {
    effects.push_back({std::string("Sounds\\") + name, EncodeWave(s, kSampleRate)});
  };
  add("klick_game.wav", KlickGame());
  add("klick_menu.wav", KlickMenu());
  add("win.wav", Win());
  add("lose.wav", Lose());
  add("alarm.wav", Alarm());
  add("pop.wav", Pop());
  add("punch.wav", Punch());
  add("lamp1.wav", Lamp1());
  return effects;
}

}  // namespace sounds
