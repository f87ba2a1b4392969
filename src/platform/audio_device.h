// Sound output for the effects: one voice per sound buffer on SDL2_mixer
// channels. Headless runs use a silent device whose voices "play" for their
// length on the game clock, so polyphony limits behave as with real audio.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

struct WaveFormat {  // the WAVEFORMATEX fields the effects use
  uint16_t formatTag = 0, channels = 0;
  uint32_t samplesPerSec = 0, avgBytesPerSec = 0;
  uint16_t blockAlign = 0, bitsPerSample = 0;
};

class AudioDevice;

class AudioBuffer {
 public:
  ~AudioBuffer();
  bool IsPlaying() const;
  void SetVolume(long hundredthsOfDecibel);  // 0 = full level, -10000 = silent
  void Play();                               // once from the start, not looping

  // Linear gain of a level: 10^(level / 2000), the level clamped to -10000 ... 0
  // (-10000 and below is silence).
  static float LevelToGain(long hundredthsOfDecibel);
  float Gain() const { return gain_; }
  double LengthSeconds() const { return lengthSeconds_; }
  int Channel() const { return channel_; }  // mixer channel, -1 headless

 private:
  friend class AudioDevice;
  AudioBuffer() = default;
  AudioDevice* device_ = nullptr;
  int channel_ = -1;
  void* chunk_ = nullptr;  // Mix_Chunk
  double lengthSeconds_ = 0;
  double startedAt_ = -1;  // headless: clock time when Play was called
  float gain_ = 1.0f;
  bool silent_ = true;            // headless voice: timed on the clock only
  uint64_t generation_ = 0;       // which opening of the mixer the channel belongs to
  std::vector<uint8_t> samples_;  // converted samples the chunk points into
};

class AudioDevice {
 public:
  // Null when no audio device can be opened (headless never fails).
  static std::unique_ptr<AudioDevice> Open(bool headless);
  // Starts opening the output device on a thread of its own, so the wait for
  // the sound system (on a machine without sound it can take a tenth of a
  // second and more) overlaps other start-up work; the next Open takes the
  // result. Does nothing when an opening is already under way or a device is
  // open.
  static void OpenInBackground();
  // Waits for an opening started in the background and closes what it
  // opened, when no Open took it.
  static void DiscardBackgroundOpening();
  ~AudioDevice();
  // Converts PCM samples of the given format for output; null for formats it cannot play.
  std::unique_ptr<AudioBuffer> CreateBuffer(const WaveFormat& format, const uint8_t* samples,
                                            size_t size);
  bool Headless() const { return headless_; }

 private:
  friend class AudioBuffer;
  AudioDevice() = default;
  bool headless_ = true;
  int nextChannel_ = 0;
  uint64_t generation_ = 0;
};
