// A stream of sound fed while it plays (the intro video's sound): 16-bit
// interleaved samples are queued and played in order on SDL's audio output.
// Headless streams play nothing: they keep time on the clock and keep what
// was queued, so a run can be checked afterwards.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class AudioStream {
 public:
  // Null when no audio output can be opened (headless never fails).
  // channels is 1 or 2.
  static std::unique_ptr<AudioStream> Open(bool headless, int rate, int channels);
  ~AudioStream();
  AudioStream(const AudioStream&) = delete;
  AudioStream& operator=(const AudioStream&) = delete;

  int Rate() const { return rate_; }
  int Channels() const { return channels_; }
  bool Headless() const { return device_ == 0; }

  // Appends `count` samples (count / channels sample frames).
  void Queue(const int16_t* samples, size_t count);
  // Playback starts (the stream is paused until then).
  void Start();
  // Seconds of sound queued so far, and the seconds of it still waiting to
  // be played (headless: what the clock has not yet reached since Start).
  double QueuedSeconds() const;
  double WaitingSeconds() const;

  // Headless only: every sample queued so far, in order (at most ten
  // minutes of them).
  const std::vector<int16_t>& Kept() const { return kept_; }

 private:
  AudioStream() = default;
  uint32_t device_ = 0;  // SDL audio device; 0 headless
  int rate_ = 0, channels_ = 0;
  uint64_t queuedFrames_ = 0;
  double startedAt_ = -1;  // headless: clock seconds at Start
  std::vector<int16_t> kept_;
};
