#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include "audio/sound_effects.h"
#include "data/data_file.h"
#include "gfx/graphics.h"
#include "platform/clock.h"
#include "util/app_context.h"
#include "support/test_data_builders.h"

using testdata::Bytes;
using testdata::Entry;
using testdata::WavLayout;

namespace {

// One second of silence at 8000 Hz, 16-bit mono.
Bytes OneSecondWav() {
  WavLayout layout;
  layout.samplesPerSec = 8000;
  layout.samples = Bytes(16000, 0);
  return testdata::MakeWav(layout);
}

bool AnyPlaying(const AppContext& app) {
  for (const SoundEffect* effect : app.soundEffects) {
    if (effect == nullptr) continue;
    for (const auto& buffer : effect->buffers)
      if (buffer && buffer->IsPlaying()) return true;
  }
  return false;
}

int PlayingCount(const SoundEffect* effect) {
  int n = 0;
  for (const auto& buffer : effect->buffers) n += buffer && buffer->IsPlaying() ? 1 : 0;
  return n;
}

void AdvanceSeconds(double seconds) {
  for (int i = 0; i < static_cast<int>(std::lround(seconds * 60)); ++i) ClockAdvanceFrame();
}

// Headless sound on the virtual clock with the effects of an archive the test
// writes: every effect is there except alarm (missing) and lose (in a format
// the output cannot play).
class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(testdata::EnterFreshDirectory("denkar_sound").empty());
    ClockUseVirtual(true);
    WavLayout adpcm;
    adpcm.formatTag = 2;
    adpcm.blockAlign = 256;
    adpcm.bitsPerSample = 4;
    adpcm.extra = Bytes(32, 0);
    adpcm.samples = Bytes(2048, 0);
    const Bytes wav = OneSecondWav();
    ASSERT_TRUE(testdata::WriteFile(
        "sport.gob", testdata::BuildArchive({{"Sounds\\klick_game.wav", wav},
                                             {"Sounds\\klick_menu.wav", wav},
                                             {"Sounds\\win.wav", wav},
                                             {"Sounds\\lose.wav", testdata::MakeWav(adpcm)},
                                             {"Sounds\\pop.wav", wav},
                                             {"Sounds\\punch.wav", wav},
                                             {"Sounds\\lamp1.wav", wav}})));
    app_ = &GetAppContext();
    app_->dataFile = OpenDataFile("sport.gob");
    ASSERT_NE(app_->dataFile, nullptr);
    app_->headless = true;
    app_->soundVolume = 0;  // as if the settings said SOUND: 0
    progressBefore_ = LoadingProgress();
    ASSERT_EQ(InitSound(RefreshLoadingScreen), S_OK);
  }
  void TearDown() override {
    ReleaseSound();
    CloseDataFile(app_->dataFile);
    app_->dataFile = nullptr;
  }
  AppContext* app_ = nullptr;
  int progressBefore_ = 0;
};

}  // namespace

TEST(SoundLevel, VolumeFactorToHundredthsOfDecibel) {
  EXPECT_EQ(SoundEffectLevel(100, 1.0f), 0);
  EXPECT_EQ(SoundEffectLevel(100, 0.5f), -1500);
  EXPECT_EQ(SoundEffectLevel(50, 1.0f), -1500);
  EXPECT_EQ(SoundEffectLevel(100, 0.0f), -3000);
  EXPECT_EQ(SoundEffectLevel(0, 1.0f), -3000);
  // Factors outside 0 ... 1 are held at its ends, so the level never rises
  // above full or falls below the lowest.
  EXPECT_EQ(SoundEffectLevel(100, 2.0f), 0);
  EXPECT_EQ(SoundEffectLevel(100, -1.0f), -3000);
  EXPECT_EQ(SoundEffectLevel(100, std::numeric_limits<float>::quiet_NaN()), -3000);
  EXPECT_EQ(SoundEffectLevel(100, std::numeric_limits<float>::infinity()), 0);
}

TEST_F(SoundTest, InitialisationLoadsTheEffectsAndCountsProgress) {
  EXPECT_EQ(app_->soundVolume, 100);  // always full at start
  EXPECT_NE(app_->directSound, nullptr);
  EXPECT_EQ(LoadingProgress() - progressBefore_, 11);  // 1 + 2 + 8 effects
  for (int id : {0, 1, 5, 11, 12, 13}) {
    ASSERT_NE(app_->soundEffects[id], nullptr) << id;
    for (const auto& buffer : app_->soundEffects[id]->buffers) EXPECT_NE(buffer, nullptr);
  }
  // Missing (alarm) and unplayable (lose) effects stay silent, as do the unused ids.
  for (int id : {2, 3, 4, 6, 7, 8, 9, 10}) EXPECT_EQ(app_->soundEffects[id], nullptr) << id;
  EXPECT_EQ(LoadSoundEffect("Sounds\\nothing.wav"), nullptr);
}

TEST_F(SoundTest, TenInstancesPlayAndTheEleventhIsDropped) {
  SoundEffect* click = app_->soundEffects[1];
  ASSERT_NE(click, nullptr);
  for (int i = 0; i < 10; ++i) {
    app_->PlaySoundEffect(1, 1.0f);
    EXPECT_EQ(PlayingCount(click), i + 1);
  }
  AdvanceSeconds(0.5);
  app_->PlaySoundEffect(1, 1.0f);  // all ten busy: dropped, nothing restarts
  EXPECT_EQ(PlayingCount(click), 10);
  AdvanceSeconds(0.55);
  EXPECT_EQ(PlayingCount(click), 0);  // a restarted buffer would still be playing
  app_->PlaySoundEffect(1, 1.0f);
  EXPECT_TRUE(click->buffers[0]->IsPlaying());
  EXPECT_EQ(PlayingCount(click), 1);
  EXPECT_EQ(PlayingCount(app_->soundEffects[0]), 0);  // other effects untouched
}

TEST_F(SoundTest, VolumeFactorSetsTheBufferLevel) {
  SoundEffect* menu = app_->soundEffects[0];
  ASSERT_NE(menu, nullptr);
  app_->PlaySoundEffect(0, 0.5f);
  EXPECT_FLOAT_EQ(menu->buffers[0]->Gain(), AudioBuffer::LevelToGain(-1500));
  app_->PlaySoundEffect(0, 3.0f);
  EXPECT_FLOAT_EQ(menu->buffers[1]->Gain(), 1.0f);
  app_->PlaySoundEffect(0, 1.0f);
  EXPECT_FLOAT_EQ(menu->buffers[2]->Gain(), 1.0f);
}

TEST_F(SoundTest, SilentIdsAndSoundOffDoNothing) {
  for (int id : {2, 14, -1, 6, 10, 1000}) app_->PlaySoundEffect(id, 1.0f);
  EXPECT_FALSE(AnyPlaying(*app_));
  app_->soundVolume = 0;
  app_->PlaySoundEffect(1, 1.0f);
  EXPECT_FALSE(AnyPlaying(*app_));
  app_->soundVolume = 100;
  app_->PlaySoundEffect(13, 1.0f);
  EXPECT_TRUE(AnyPlaying(*app_));
}
