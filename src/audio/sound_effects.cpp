// Sound effects: every effect member is read into ten buffers at start-up,
// and a request plays the first of them that is not already playing.
#include "audio/sound_effects.h"

#include <cmath>
#include <vector>
#include "audio/wave_file.h"
#include "util/app_context.h"

namespace {

std::unique_ptr<AudioDevice> ownedAudioDevice;

struct EffectLoad {
  int soundId;
  const char* member;
};

// Loading order; the ids not listed (2, 3, 4, 7, 8, 9) stay silent.
constexpr EffectLoad EFFECT_LOADS[] = {
    {1, "Sounds\\klick_game.wav"}, {0, "Sounds\\klick_menu.wav"}, {5, "Sounds\\win.wav"},
    {6, "Sounds\\lose.wav"},       {10, "Sounds\\alarm.wav"},     {12, "Sounds\\pop.wav"},
    {13, "Sounds\\punch.wav"},     {11, "Sounds\\lamp1.wav"},
};

void ReleaseEffects();

constexpr long LEVEL_SILENT = -10000;  // hundredths of a decibel
constexpr long LEVEL_FULL = 0;

}  // namespace

void PrepareSound(bool headless) {
  if (!headless) AudioDevice::OpenInBackground();
}

HRESULT InitSound(void (*loadingStep)(bool draw)) {
  AppContext& app = GetAppContext();
  auto step = [loadingStep](bool draw) {
    if (loadingStep) loadingStep(draw);
  };
  ReleaseEffects();  // a second call starts afresh (keeping a device being opened)
  step(false);
  app.soundVolume = 100;  // effects always start at full volume

  ownedAudioDevice = AudioDevice::Open(app.headless);
  app.directSound = ownedAudioDevice.get();
  if (app.directSound == nullptr) {
    app.soundVolume = 0;
    return E_FAIL;
  }
  step(true);
  step(true);
  for (const EffectLoad& load : EFFECT_LOADS) {
    delete app.soundEffects[load.soundId];
    app.soundEffects[load.soundId] = LoadSoundEffect(load.member);
    step(true);
  }
  return S_OK;
}

SoundEffect* LoadSoundEffect(const char* memberName) {
  AppContext& app = GetAppContext();
  if (app.directSound == nullptr) return nullptr;
  auto effect = std::make_unique<SoundEffect>();
  std::vector<uint8_t> samples;
  // Each buffer is filled from its own reading of the member.
  for (auto& buffer : effect->buffers) {
    WaveFile wave;
    if (FAILED(wave.OpenFromDataFile(app.dataFile, memberName))) return nullptr;
    // A buffer needs at least one sample frame.
    if (wave.Size() == 0) return nullptr;
    samples.assign(wave.Size(), 0);
    uint32_t read = 0;
    if (FAILED(wave.Read(samples.data(), wave.Size(), &read)) || read != wave.Size()) return nullptr;
    buffer = app.directSound->CreateBuffer(wave.PlatformFormat(), samples.data(), read);
    if (!buffer) return nullptr;  // a format the device cannot play
    wave.Close();
  }
  return effect.release();
}

long SoundEffectLevel(int soundVolume, float volume) {
  // The factor is kept within 0 ... 1, so the level never rises above full.
  if (!(volume > 0.0f)) volume = 0.0f;  // also catches NaN
  if (volume > 1.0f) volume = 1.0f;
  const float level = soundVolume * volume / 100 * 3000 - 3000;
  if (!(level > static_cast<float>(LEVEL_SILENT))) return LEVEL_SILENT;
  if (level > static_cast<float>(LEVEL_FULL)) return LEVEL_FULL;
  return static_cast<long>(level);
}

void AppContext::PlaySoundEffect(int soundId, float volume) {
  if (soundVolume <= 0) return;  // sound is off
  if (soundId < 0 || soundId >= SOUND_SLOT_COUNT) return;
  SoundEffect* effect = soundEffects[soundId];
  if (effect == nullptr) return;
  for (auto& buffer : effect->buffers) {
    if (!buffer || buffer->IsPlaying()) continue;
    buffer->SetVolume(SoundEffectLevel(soundVolume, volume));
    buffer->Play();
    return;
  }
  // All ten are playing: the request is dropped.
}

void ReleaseSound() {
  AudioDevice::DiscardBackgroundOpening();  // a start that ended before InitSound
  ReleaseEffects();
}

namespace {

void ReleaseEffects() {
  AppContext& app = GetAppContext();
  if (app.directSound == nullptr) return;
  // Buffer i of every effect, for i = 0 ... 9, then the effects and the device.
  for (int i = 0; i < SOUND_BUFFERS_PER_EFFECT; ++i) {
    for (const EffectLoad& load : EFFECT_LOADS) {
      if (app.soundEffects[load.soundId] != nullptr) app.soundEffects[load.soundId]->buffers[i].reset();
    }
  }
  for (SoundEffect*& effect : app.soundEffects) {
    delete effect;
    effect = nullptr;
  }
  app.directSound = nullptr;
  ownedAudioDevice.reset();
}

}  // namespace
