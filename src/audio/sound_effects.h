// Sound effects: each effect is loaded into ten buffers so up to ten
// instances can sound at once; screens play them by id.
#pragma once
#include <memory>
#include "platform/audio_device.h"
#include "platform/win_types.h"

constexpr int SOUND_BUFFERS_PER_EFFECT = 10;

class SoundEffect {
 public:
  std::unique_ptr<AudioBuffer> buffers[SOUND_BUFFERS_PER_EFFECT];
};

// Starts opening the sound device in the background (nothing when headless),
// for InitSound to take later.
void PrepareSound(bool headless);
// Opens the sound device and loads the effects; `loadingStep` (the loading
// screen's progress) is called once per step of the way.
HRESULT InitSound(void (*loadingStep)(bool draw) = nullptr);
// Ten buffers of one effect member, or null when the member is missing or malformed.
SoundEffect* LoadSoundEffect(const char* memberName);
// The level PlaySoundEffect sets, in hundredths of a decibel: the volume factor
// is held within 0 ... 1, so the level lies between -3000 and 0 (full) and never
// outside 0 ... -10000.
long SoundEffectLevel(int soundVolume, float volume);
void ReleaseSound();  // buffers, then the device
