// Sound voices on SDL2_mixer: each buffer owns one mixer channel and its
// samples, converted once to the output format. Headless devices open no
// audio at all; their voices only keep time on the game clock. The mixer
// library (with the dozen decoder libraries it brings) is loaded when the
// output is first opened, which the shell does on a thread of its own while
// the start goes on; without it there is no sound.
#include "platform/audio_device.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/clock.h"

namespace {

#define DENKAR_MIXER_FUNCTIONS(X) \
  X(Mix_AllocateChannels) \
  X(Mix_CloseAudio) \
  X(Mix_FreeChunk) \
  X(Mix_HaltChannel) \
  X(Mix_OpenAudio) \
  X(Mix_PlayChannel) \
  X(Mix_Playing) \
  X(Mix_QuerySpec) \
  X(Mix_QuickLoad_RAW) \
  X(Mix_Volume)

// The mixer functions the voices use, taken from the library loaded at run time.
struct MixerFunctions {
#define DENKAR_MIXER_POINTER(name) decltype(&::name) name = nullptr;
  DENKAR_MIXER_FUNCTIONS(DENKAR_MIXER_POINTER)
#undef DENKAR_MIXER_POINTER
};

const MixerFunctions* mix = nullptr;

// Loads SDL2_mixer once; false when it or any of its functions is missing.
bool LoadMixer() {
  static const MixerFunctions* loaded = []() -> const MixerFunctions* {
    void* library = dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library) return nullptr;
    static MixerFunctions functions;
#define DENKAR_MIXER_RESOLVE(name) \
  functions.name = reinterpret_cast<decltype(functions.name)>(dlsym(library, #name)); \
  if (!functions.name) return nullptr;
    DENKAR_MIXER_FUNCTIONS(DENKAR_MIXER_RESOLVE)
#undef DENKAR_MIXER_RESOLVE
    return &functions;
  }();
  mix = loaded;
  return mix != nullptr;
}


constexpr uint16_t kFormatPcm = 1;
constexpr uint32_t kMinRate = 1000, kMaxRate = 384000;
constexpr size_t kMaxInputBytes = size_t{64} << 20;
constexpr size_t kMaxConvertedBytes = size_t{256} << 20;

// Which opening of the mixer is current (0 = closed). Buffers remember the
// opening they were made for, so a buffer that outlives its device never
// touches a channel of a later one.
uint64_t g_openGeneration = 0;
uint64_t g_generationCounter = 0;

// An opening of the output under way on its own thread, and what it gave.
// The thread reports as soon as it knows; when the opening failed it then
// goes on to shut SDL's sound system down again, which can take a tenth of a
// second (SDL waits for its device-watching thread), without anyone waiting.
std::thread g_opening;
std::mutex g_openingMutex;
std::condition_variable g_openingReported;
bool g_openingDone = false;       // the thread has reported
bool g_openingSucceeded = false;  // ... that the output is open
bool g_openingTaken = false;      // an Open has taken the report

void CloseOutput() {
  mix->Mix_HaltChannel(-1);
  mix->Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Starts SDL's sound system and the mixer; true when the output is open.
// `report` is told the outcome before a failed start is cleaned up, which
// then leaves nothing open.
template <typename Report>
bool OpenOutput(Report report) {
  // SDL picks the driver itself, honouring SDL_AUDIODRIVER.
  if (!LoadMixer() || SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    report(false);
    return false;
  }
  if (mix->Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
    report(false);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  report(true);
  return true;
}

bool OpenOutput() {
  return OpenOutput([](bool) {});
}

// Waits until the opening under way has reported; its outcome.
bool WaitForOpening() {
  std::unique_lock<std::mutex> lock(g_openingMutex);
  g_openingReported.wait(lock, [] { return g_openingDone; });
  return g_openingSucceeded;
}

}  // namespace

float AudioBuffer::LevelToGain(long hundredthsOfDecibel) {
  const long level = std::clamp(hundredthsOfDecibel, -10000L, 0L);
  if (level <= -10000) return 0.0f;
  return std::clamp(static_cast<float>(std::pow(10.0, level / 2000.0)), 0.0f, 1.0f);
}

AudioBuffer::~AudioBuffer() {
  if (chunk_) {
    if (!silent_ && generation_ == g_openGeneration) mix->Mix_HaltChannel(channel_);
    // Also stops any channel still playing it, and frees only the chunk record:
    // the samples belong to this buffer.
    mix->Mix_FreeChunk(static_cast<Mix_Chunk*>(chunk_));
    chunk_ = nullptr;
  }
}

bool AudioBuffer::IsPlaying() const {
  if (silent_) return startedAt_ >= 0 && CounterSeconds() - startedAt_ < lengthSeconds_;
  if (!chunk_ || generation_ != g_openGeneration) return false;
  return mix->Mix_Playing(channel_) != 0;
}

void AudioBuffer::SetVolume(long hundredthsOfDecibel) {
  gain_ = LevelToGain(hundredthsOfDecibel);
  if (!silent_ && generation_ == g_openGeneration)
    mix->Mix_Volume(channel_, static_cast<int>(std::lround(gain_ * MIX_MAX_VOLUME)));
}

void AudioBuffer::Play() {
  if (silent_) {
    startedAt_ = CounterSeconds();
    return;
  }
  if (!chunk_ || generation_ != g_openGeneration) return;
  mix->Mix_PlayChannel(channel_, static_cast<Mix_Chunk*>(chunk_), 0);
}

std::unique_ptr<AudioDevice> AudioDevice::Open(bool headless) {
  std::unique_ptr<AudioDevice> device(new AudioDevice());
  device->headless_ = headless;
  if (headless) return device;
  if (g_openGeneration != 0) return nullptr;  // one output device per process
  if (g_opening.joinable() && !g_openingTaken) {
    // The opening started in the background decides, whether it worked or not.
    g_openingTaken = true;
    if (!WaitForOpening()) return nullptr;  // it cleans up on its own
    g_opening.join();
  } else {
    if (g_opening.joinable()) g_opening.join();  // the clean-up of an earlier failure
    if (!OpenOutput()) return nullptr;
  }
  device->generation_ = g_openGeneration = ++g_generationCounter;
  return device;
}

void AudioDevice::OpenInBackground() {
  if (g_openGeneration != 0 || (g_opening.joinable() && !g_openingTaken)) return;
  if (g_opening.joinable()) g_opening.join();
  g_openingDone = g_openingSucceeded = g_openingTaken = false;
  g_opening = std::thread([] {
    OpenOutput([](bool opened) {
      std::lock_guard<std::mutex> lock(g_openingMutex);
      g_openingSucceeded = opened;
      g_openingDone = true;
      g_openingReported.notify_all();
    });
    // SDL keeps per-thread data (its error text) for threads it did not
    // create; this thread ends here, so that data goes with it.
    SDL_TLSCleanup();
  });
}

void AudioDevice::DiscardBackgroundOpening() {
  if (!g_opening.joinable()) return;
  const bool untaken = !g_openingTaken;
  g_opening.join();
  if (untaken && g_openingSucceeded) CloseOutput();
  g_openingTaken = true;
}

AudioDevice::~AudioDevice() {
  // Only a device that opened the output closes it: a failed Open leaves a
  // device of generation 0 behind, which must not touch a closed mixer.
  if (headless_ || generation_ == 0 || generation_ != g_openGeneration) return;
  CloseOutput();
  g_openGeneration = 0;
}

std::unique_ptr<AudioBuffer> AudioDevice::CreateBuffer(const WaveFormat& format,
                                                       const uint8_t* samples, size_t size) {
  if (format.formatTag != kFormatPcm) return nullptr;
  if (format.channels != 1 && format.channels != 2) return nullptr;
  if (format.bitsPerSample != 8 && format.bitsPerSample != 16) return nullptr;
  if (format.samplesPerSec < kMinRate || format.samplesPerSec > kMaxRate) return nullptr;
  if (size > kMaxInputBytes || (size > 0 && !samples)) return nullptr;

  // The frame size follows from the format itself, not from the stored block
  // alignment, which a file may get wrong.
  const size_t frameBytes = static_cast<size_t>(format.channels) * (format.bitsPerSample / 8);
  const size_t frames = size / frameBytes;
  const size_t bytes = frames * frameBytes;

  std::unique_ptr<AudioBuffer> buffer(new AudioBuffer());
  buffer->device_ = this;
  buffer->lengthSeconds_ = static_cast<double>(frames) / format.samplesPerSec;
  if (headless_) return buffer;

  if (generation_ != g_openGeneration) return nullptr;  // the mixer has been closed
  buffer->silent_ = false;
  buffer->generation_ = generation_;
  int outRate = 0, outChannels = 0;
  Uint16 outFormat = 0;
  if (!mix->Mix_QuerySpec(&outRate, &outFormat, &outChannels)) return nullptr;

  // Every buffer gets a channel of its own.
  const int channel = nextChannel_++;
  if (mix->Mix_AllocateChannels(-1) <= channel) mix->Mix_AllocateChannels(std::max(16, (channel + 1) * 2));
  buffer->channel_ = channel;
  mix->Mix_Volume(channel, MIX_MAX_VOLUME);
  if (bytes == 0) return buffer;  // no whole sample: a voice that plays nothing

  SDL_AudioCVT cvt;
  const SDL_AudioFormat inFormat = format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  if (SDL_BuildAudioCVT(&cvt, inFormat, static_cast<Uint8>(format.channels),
                        static_cast<int>(format.samplesPerSec), outFormat,
                        static_cast<Uint8>(outChannels), outRate) < 0)
    return nullptr;
  const size_t workBytes = bytes * static_cast<size_t>(std::max(1, cvt.len_mult));
  if (workBytes > kMaxConvertedBytes) return nullptr;
  buffer->samples_.assign(workBytes, 0);
  std::memcpy(buffer->samples_.data(), samples, bytes);
  size_t outBytes = bytes;
  if (cvt.needed) {
    cvt.buf = buffer->samples_.data();
    cvt.len = static_cast<int>(bytes);
    if (SDL_ConvertAudio(&cvt) != 0) return nullptr;
    outBytes = static_cast<size_t>(std::max(0, cvt.len_cvt));
  }
  buffer->samples_.resize(outBytes);
  buffer->samples_.shrink_to_fit();
  if (outBytes == 0) return buffer;
  Mix_Chunk* chunk = mix->Mix_QuickLoad_RAW(buffer->samples_.data(), static_cast<Uint32>(outBytes));
  if (!chunk) return nullptr;
  buffer->chunk_ = chunk;
  return buffer;
}
