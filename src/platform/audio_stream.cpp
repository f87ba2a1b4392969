// The intro's sound stream on an SDL audio device of its own, fed with
// SDL_QueueAudio. It is closed before the sound effects open the mixer.
#include "platform/audio_stream.h"

#include <SDL.h>

#include <algorithm>

#include "platform/clock.h"

namespace {

constexpr double kLongestKept = 600.0;  // seconds a headless stream keeps

}  // namespace

std::unique_ptr<AudioStream> AudioStream::Open(bool headless, int rate, int channels) {
  if (rate < 1000 || rate > 384000 || (channels != 1 && channels != 2)) return nullptr;
  std::unique_ptr<AudioStream> stream(new AudioStream());
  stream->rate_ = rate;
  stream->channels_ = channels;
  if (headless) return stream;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  SDL_AudioSpec want{};
  want.freq = rate;
  want.format = AUDIO_S16SYS;
  want.channels = static_cast<Uint8>(channels);
  want.samples = 1024;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts to whatever the hardware wants.
  const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  stream->device_ = device;
  return stream;
}

AudioStream::~AudioStream() {
  if (device_ == 0) return;
  SDL_CloseAudioDevice(device_);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioStream::Queue(const int16_t* samples, size_t count) {
  count -= count % static_cast<size_t>(channels_);
  if (!samples || count == 0) return;
  queuedFrames_ += count / static_cast<size_t>(channels_);
  if (device_ != 0) {
    SDL_QueueAudio(device_, samples, static_cast<Uint32>(count * sizeof(int16_t)));
    return;
  }
  const size_t room = static_cast<size_t>(kLongestKept * rate_) * channels_;
  if (kept_.size() < room) kept_.insert(kept_.end(), samples, samples + std::min(count, room - kept_.size()));
}

void AudioStream::Start() {
  if (device_ != 0) {
    SDL_PauseAudioDevice(device_, 0);
  } else if (startedAt_ < 0) {
    startedAt_ = CounterSeconds();
  }
}

double AudioStream::QueuedSeconds() const { return static_cast<double>(queuedFrames_) / rate_; }

double AudioStream::WaitingSeconds() const {
  if (device_ != 0) {
    const double bytesPerSecond = static_cast<double>(rate_) * channels_ * sizeof(int16_t);
    return SDL_GetQueuedAudioSize(device_) / bytesPerSecond;
  }
  const double played = startedAt_ < 0 ? 0.0 : CounterSeconds() - startedAt_;
  return std::max(0.0, QueuedSeconds() - played);
}
