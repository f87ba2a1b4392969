// The intro player on the virtual clock: a clip plays to its end with its
// sound in step with its pictures, pictures of another shape get bars, a
// clip that runs past its stated length is cut off, and missing, empty,
// truncated or damaged files return without a hang.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/intro_video.h"
#include "platform/crt_rand.h"
#include "platform/video_decoder.h"
#include "support/test_app.h"
#include "support/test_clips.h"
#include "support/test_data_builders.h"

namespace {

using testclips::ClipPlan;
using testclips::HeadlessScreen;
using testclips::WriteTestClip;

class IntroVideo : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_intro_video"; }
};

bool Bright(uint32_t pixel) { return (pixel & 0xFF) > 0x80; }

// The clip's colour after the round trip through YUV: each channel within a few levels.
bool Near(uint32_t pixel, uint32_t colour) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((colour >> shift) & 0xFF)) > 4)
      return false;
  return true;
}

TEST_F(IntroVideo, AClipPlaysToItsEndWithItsSoundAndReturns) {
  ASSERT_TRUE(WriteTestClip("clip.avi", ClipPlan{}));
  HeadlessScreen screen;
  std::vector<int16_t> heard;
  IntroHost host;
  host.heardSound = &heard;
  double lastClock = -1;
  host.afterFrame = [&](const IntroFrame& f) { lastClock = f.clock; };
  const IntroResult r = PlayIntroVideo("clip.avi", host);
  EXPECT_EQ(r.result, S_OK);
  EXPECT_EQ(r.end, IntroEnd::Completed);
  // One second at 60 frames a second, and not much more.
  EXPECT_GE(lastClock, 1.0 - 1.0 / 60);
  EXPECT_LE(lastClock, 1.1);
  EXPECT_NEAR(r.frames, 61, 4);
  // The whole second of sound, as 44.1 kHz stereo.
  EXPECT_NEAR(heard.size() / 2.0 / kIntroSoundRate, 1.0, 0.05);
  EXPECT_TRUE(Near(screen.Pixel(512, 384), testclips::kDark)) << screen.Pixel(512, 384);
}

TEST_F(IntroVideo, PicturesOfAnotherShapeAreCentredBetweenBars) {
  ClipPlan wide;
  wide.width = 80;  // 5:3 on a 4:3 screen
  wide.withSound = false;
  wide.seconds = 0.2;
  ASSERT_TRUE(WriteTestClip("wide.avi", wide));
  HeadlessScreen screen;
  const IntroResult r = PlayIntroVideo("wide.avi");
  EXPECT_EQ(r.end, IntroEnd::Completed);
  const IntroPlacement p = FitIntroPicture(80, 48, 1024, 768);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.width, 1024);
  EXPECT_EQ(p.y, (768 - p.height) / 2);
  EXPECT_NEAR(p.height, 614, 1);
  EXPECT_EQ(screen.Pixel(512, p.y - 2), 0u);  // bar
  EXPECT_EQ(screen.Pixel(512, p.y + p.height + 1), 0u);
  EXPECT_TRUE(Near(screen.Pixel(512, 384), testclips::kDark)) << screen.Pixel(512, 384);
  // A tall picture gets bars left and right; nonsense sizes place nothing.
  const IntroPlacement tall = FitIntroPicture(300, 900, 1024, 768);
  EXPECT_EQ(tall.height, 768);
  EXPECT_EQ(tall.x, (1024 - 256) / 2);
  EXPECT_EQ(FitIntroPicture(0, 48, 1024, 768).width, 0);
}

// A bright picture and a loud tone start together at 1.0 s in the clip; on
// screen and in the sound played they must meet within one picture.
TEST_F(IntroVideo, SoundAndPicturesStayWithinOnePictureOfEachOther) {
  ClipPlan plan;
  plan.seconds = 2.0;
  plan.flashAt = 1.0;
  ASSERT_TRUE(WriteTestClip("flash.avi", plan));
  HeadlessScreen screen;
  std::vector<int16_t> heard;
  double seen = -1;
  IntroHost host;
  host.heardSound = &heard;
  host.afterFrame = [&](const IntroFrame& f) {
    if (seen < 0 && Bright(screen.Pixel(512, 384))) seen = f.clock;
  };
  const IntroResult r = PlayIntroVideo("flash.avi", host);
  ASSERT_EQ(r.end, IntroEnd::Completed);
  size_t loud = 0;
  while (loud < heard.size() && std::abs(heard[loud]) < 4000) ++loud;
  ASSERT_LT(loud, heard.size());
  const double heardAt = static_cast<double>(loud / 2) / kIntroSoundRate;
  const double picture = 1.0 / plan.framesPerSecond;
  EXPECT_NEAR(heardAt, 1.0, picture);
  EXPECT_NEAR(seen, heardAt, picture);
  // And the sound does not run on past the pictures.
  EXPECT_NEAR(heard.size() / 2.0 / kIntroSoundRate, 2.0, picture);
}

// AVI keeps the picture count in two headers: a file that claims one
// picture but holds three seconds of them is cut off after the claimed
// length plus the margin.
TEST_F(IntroVideo, AClipRunningPastItsStatedLengthIsCutOff) {
  ClipPlan plan;
  plan.seconds = 3.0 + kIntroMargin;
  plan.withSound = false;
  ASSERT_TRUE(WriteTestClip("long.avi", plan));
  testdata::Bytes bytes = testdata::ReadFile("long.avi");
  const auto patch = [&](const char* tag, size_t offset) {
    for (size_t i = 0; i + 4 <= bytes.size(); ++i)
      if (std::equal(tag, tag + 4, bytes.begin() + i) && i + offset + 4 <= bytes.size()) {
        bytes[i + offset] = 1;
        bytes[i + offset + 1] = bytes[i + offset + 2] = bytes[i + offset + 3] = 0;
      }
  };
  patch("avih", 8 + 16);  // dwTotalFrames
  patch("strh", 8 + 32);  // dwLength
  ASSERT_TRUE(testdata::WriteFile("long.avi", bytes));
  auto decoder = VideoDecoder::Open("long.avi", 0, 0);
  ASSERT_TRUE(decoder);
  ASSERT_LT(decoder->Duration(), 0.5) << "the stated length was not changed";

  HeadlessScreen screen;
  double lastClock = 0;
  IntroHost host;
  host.afterFrame = [&](const IntroFrame& f) { lastClock = f.clock; };
  const IntroResult r = PlayIntroVideo("long.avi", host);
  EXPECT_EQ(r.end, IntroEnd::TimedOut);
  EXPECT_NEAR(lastClock, decoder->Duration() + kIntroMargin, 0.05);
}

TEST_F(IntroVideo, MissingEmptyTruncatedAndDamagedFilesReturnWithoutAHang) {
  ClipPlan plan;
  plan.seconds = 2.0;
  plan.flashAt = 0.5;
  ASSERT_TRUE(WriteTestClip("good.avi", plan));
  const testdata::Bytes good = testdata::ReadFile("good.avi");
  ASSERT_GT(good.size(), 4096u);
  testdata::WriteFile("empty.avi", {});
  testdata::WriteFile("half.avi", testdata::Bytes(good.begin(), good.begin() + good.size() / 2));
  testdata::WriteFile("head.avi", testdata::Bytes(good.begin(), good.begin() + 600));
  testdata::Bytes noise(64 * 1024);
  CrtSrand(4711);
  for (uint8_t& b : noise) b = static_cast<uint8_t>(CrtRand());
  testdata::WriteFile("noise.avi", noise);
  // The headers intact, every packet after them scrambled.
  testdata::Bytes scrambled = good;
  for (size_t i = 2048; i < scrambled.size(); i += 7) scrambled[i] ^= 0x5A;
  testdata::WriteFile("scrambled.avi", scrambled);

  HeadlessScreen screen;
  const auto start = std::chrono::steady_clock::now();
  const IntroResult missing = PlayIntroVideo("no such intro.avi");
  const double missingMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("[ benchmark ] a missing intro costs %.2f ms\n", missingMs);
  EXPECT_EQ(missing.end, IntroEnd::NotPlayed);
  EXPECT_EQ(missing.frames, 0);
  EXPECT_EQ(PlayIntroVideo(nullptr).end, IntroEnd::NotPlayed);

  // The most any of them may take: the clip's length plus the margin.
  const int mostFrames = static_cast<int>((plan.seconds + kIntroMargin) * 60) + 2;
  for (const char* name : {"empty.avi", "half.avi", "head.avi", "noise.avi", "scrambled.avi"}) {
    SCOPED_TRACE(name);
    const IntroResult r = PlayIntroVideo(name);
    EXPECT_LE(r.frames, mostFrames);
    if (r.end == IntroEnd::NotPlayed) {
      EXPECT_EQ(r.result, E_FAIL);
    }
  }
  EXPECT_EQ(PlayIntroVideo("empty.avi").end, IntroEnd::NotPlayed);
  EXPECT_EQ(PlayIntroVideo("noise.avi").end, IntroEnd::NotPlayed);
  // Half a clip plays the half there is.
  const IntroResult half = PlayIntroVideo("half.avi");
  EXPECT_EQ(half.end, IntroEnd::Completed);
  EXPECT_GT(half.frames, 20);
  EXPECT_LT(half.frames, 2 * 60);
}

}  // namespace
