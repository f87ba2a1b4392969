// Sound voices: format checks, level-to-gain mapping, timing of silent voices
// on the virtual clock, and real mixer channels on SDL's dummy driver.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <set>
#include <thread>

#include "platform/audio_device.h"
#include "platform/clock.h"

namespace {

WaveFormat Pcm(uint16_t channels, uint32_t rate, uint16_t bits) {
  WaveFormat f;
  f.formatTag = 1;
  f.channels = channels;
  f.samplesPerSec = rate;
  f.bitsPerSample = bits;
  f.blockAlign = static_cast<uint16_t>(channels * bits / 8);
  f.avgBytesPerSec = rate * f.blockAlign;
  return f;
}

std::vector<uint8_t> Samples(size_t bytes) {
  std::vector<uint8_t> s(bytes);
  for (size_t i = 0; i < bytes; ++i) s[i] = static_cast<uint8_t>(i * 37);
  return s;
}

}  // namespace

TEST(PlatformAudio, LevelMapsToLinearGain) {
  EXPECT_FLOAT_EQ(AudioBuffer::LevelToGain(0), 1.0f);
  EXPECT_NEAR(AudioBuffer::LevelToGain(-2000), 0.1f, 1e-6);
  EXPECT_NEAR(AudioBuffer::LevelToGain(-1500), 0.17783f, 1e-4);
  EXPECT_NEAR(AudioBuffer::LevelToGain(-3000), 0.031623f, 1e-5);
  EXPECT_FLOAT_EQ(AudioBuffer::LevelToGain(-10000), 0.0f);
  // Out-of-range levels are clamped: never louder than full, never negative.
  EXPECT_FLOAT_EQ(AudioBuffer::LevelToGain(2500), 1.0f);
  EXPECT_FLOAT_EQ(AudioBuffer::LevelToGain(-50000), 0.0f);
}

TEST(PlatformAudio, OnlyPlainPcmIsAccepted) {
  auto device = AudioDevice::Open(true);
  ASSERT_TRUE(device);
  EXPECT_TRUE(device->Headless());
  const std::vector<uint8_t> data = Samples(400);
  EXPECT_TRUE(device->CreateBuffer(Pcm(1, 22050, 8), data.data(), data.size()));
  EXPECT_TRUE(device->CreateBuffer(Pcm(2, 44100, 16), data.data(), data.size()));
  EXPECT_TRUE(device->CreateBuffer(Pcm(1, 11025, 16), data.data(), 0));  // empty: silent voice

  WaveFormat adpcm = Pcm(1, 22050, 16);
  adpcm.formatTag = 2;
  EXPECT_FALSE(device->CreateBuffer(adpcm, data.data(), data.size()));
  EXPECT_FALSE(device->CreateBuffer(Pcm(1, 22050, 24), data.data(), data.size()));
  EXPECT_FALSE(device->CreateBuffer(Pcm(3, 22050, 16), data.data(), data.size()));
  EXPECT_FALSE(device->CreateBuffer(Pcm(0, 22050, 16), data.data(), data.size()));
  EXPECT_FALSE(device->CreateBuffer(Pcm(1, 0, 16), data.data(), data.size()));
  EXPECT_FALSE(device->CreateBuffer(Pcm(1, 22050, 16), nullptr, 100));

  // The length follows from the format, not from a wrong block alignment.
  WaveFormat lying = Pcm(2, 10000, 16);
  lying.blockAlign = 0;
  auto buffer = device->CreateBuffer(lying, data.data(), data.size());
  ASSERT_TRUE(buffer);
  EXPECT_DOUBLE_EQ(buffer->LengthSeconds(), 100.0 / 10000);
}

TEST(PlatformAudio, HeadlessVoicePlaysForItsLengthOnTheVirtualClock) {
  ClockUseVirtual(true);
  auto device = AudioDevice::Open(true);
  ASSERT_TRUE(device);
  // 0.1 s at 8000 Hz mono 16-bit: six frames of 1/60 s.
  const std::vector<uint8_t> data = Samples(1600);
  auto voice = device->CreateBuffer(Pcm(1, 8000, 16), data.data(), data.size());
  ASSERT_TRUE(voice);
  EXPECT_DOUBLE_EQ(voice->LengthSeconds(), 0.1);
  EXPECT_FALSE(voice->IsPlaying());
  voice->SetVolume(-1500);
  EXPECT_NEAR(voice->Gain(), 0.17783f, 1e-4);
  voice->Play();
  EXPECT_TRUE(voice->IsPlaying());
  for (int frame = 0; frame < 5; ++frame) {
    ClockAdvanceFrame();
    EXPECT_TRUE(voice->IsPlaying()) << frame;
  }
  ClockAdvanceFrame();
  ClockAdvanceFrame();
  EXPECT_FALSE(voice->IsPlaying());

  // Ten voices started together are all busy until their end; playing one
  // again restarts it from the beginning.
  std::vector<std::unique_ptr<AudioBuffer>> voices;
  for (int i = 0; i < 10; ++i) voices.push_back(device->CreateBuffer(Pcm(1, 8000, 16), data.data(), data.size()));
  for (auto& v : voices) v->Play();
  for (auto& v : voices) EXPECT_TRUE(v->IsPlaying());
  for (int frame = 0; frame < 4; ++frame) ClockAdvanceFrame();
  voices[0]->Play();
  for (int frame = 0; frame < 3; ++frame) ClockAdvanceFrame();
  EXPECT_TRUE(voices[0]->IsPlaying());
  EXPECT_FALSE(voices[1]->IsPlaying());

  auto empty = device->CreateBuffer(Pcm(1, 8000, 16), data.data(), 1);  // not one whole sample
  ASSERT_TRUE(empty);
  empty->Play();
  EXPECT_FALSE(empty->IsPlaying());
}

TEST(PlatformAudio, RealVoicesUseTheirOwnMixerChannels) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  auto device = AudioDevice::Open(false);
  ASSERT_TRUE(device);
  EXPECT_FALSE(device->Headless());
  EXPECT_FALSE(AudioDevice::Open(false));  // one output device at a time

  // 0.05 s of 8-bit mono at 11025 Hz, resampled to the device format.
  const std::vector<uint8_t> data = Samples(551);
  std::vector<std::unique_ptr<AudioBuffer>> voices;
  std::set<int> channels;
  for (int i = 0; i < 20; ++i) {
    voices.push_back(device->CreateBuffer(Pcm(1, 11025, 8), data.data(), data.size()));
    ASSERT_TRUE(voices.back());
    channels.insert(voices.back()->Channel());
  }
  EXPECT_EQ(channels.size(), 20u);
  voices[0]->SetVolume(-2000);
  voices[0]->Play();
  EXPECT_TRUE(voices[0]->IsPlaying());
  EXPECT_FALSE(voices[1]->IsPlaying());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (voices[0]->IsPlaying() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(voices[0]->IsPlaying());

  // A voice may outlive its device; it then stays quiet and is freed safely.
  voices[2]->Play();
  device.reset();
  EXPECT_FALSE(voices[2]->IsPlaying());
  voices[2]->Play();
  voices.clear();

  auto again = AudioDevice::Open(false);
  EXPECT_TRUE(again);
}

// An opening begun in the background is what the next Open gives, whether
// it worked or failed; one nobody took is closed again, so the output can be
// opened afresh afterwards.
TEST(PlatformAudio, AnOpeningInTheBackgroundIsTakenOrDiscarded) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  AudioDevice::OpenInBackground();
  EXPECT_FALSE(AudioDevice::Open(false));
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  AudioDevice::OpenInBackground();  // after a failure that may still be cleaning up
  auto device = AudioDevice::Open(false);
  ASSERT_TRUE(device);
  AudioDevice::OpenInBackground();  // a device is open: nothing starts
  EXPECT_FALSE(AudioDevice::Open(false));
  device.reset();

  AudioDevice::OpenInBackground();
  AudioDevice::DiscardBackgroundOpening();
  AudioDevice::DiscardBackgroundOpening();  // twice is harmless
  device = AudioDevice::Open(false);
  ASSERT_TRUE(device);
  auto voice = device->CreateBuffer(Pcm(1, 8000, 16), Samples(1600).data(), 1600);
  ASSERT_TRUE(voice);
  voice->Play();
  EXPECT_TRUE(voice->IsPlaying());
}
