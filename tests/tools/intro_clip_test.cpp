// The intro clip the build renders: small, five seconds of 1024 x 768
// pictures with sound that the game's reader takes whole, and the same bytes
// every time it is rendered.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/video_decoder.h"
#include "support/test_data_builders.h"

namespace {

namespace fs = std::filesystem;
const std::string kClip = std::string(DENKAR_RUN_DIR) + "/intro.avi";

TEST(IntroClip, IsUnderOneMebibyteAndEveryPictureAndAllTheSoundDecode) {
  if (!fs::exists(kClip)) GTEST_SKIP() << "intro.avi is not built yet";
  EXPECT_LT(fs::file_size(kClip), 1u << 20);
  auto clip = VideoDecoder::Open(kClip, 44100, 2);
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->Width(), 1024);
  EXPECT_EQ(clip->Height(), 768);
  EXPECT_GE(clip->Duration(), 4.0);
  EXPECT_LE(clip->Duration(), 6.0);
  ASSERT_TRUE(clip->HasSound());
  VideoPicture picture;
  int pictures = 0;
  double last = -1;
  while (clip->NextPicture(64, 48, &picture)) {
    EXPECT_GT(picture.time, last);
    last = picture.time;
    ++pictures;
  }
  EXPECT_FALSE(clip->Failed());
  EXPECT_NEAR(pictures * clip->FrameInterval(), clip->Duration(), clip->FrameInterval());
  clip->DecodeSoundUntil(60);
  EXPECT_TRUE(clip->SoundEnded());
  EXPECT_NEAR(clip->SoundDecodedSeconds(), clip->Duration(), clip->FrameInterval());
}

TEST(IntroClip, RenderingItAgainGivesTheSameBytes) {
  if (!fs::exists(kClip) || !fs::exists(DENKAR_INTRO_BUILDER)) GTEST_SKIP() << "not built yet";
  const std::string dir = testdata::EnterFreshDirectory("denkar_intro_clip");
  ASSERT_FALSE(dir.empty());
  // Font and drawing libraries keep start-up allocations until exit; in
  // sanitizer builds they are not this test's business.
  const std::string command =
      std::string("ASAN_OPTIONS=detect_leaks=0 '") + DENKAR_INTRO_BUILDER + "' again.avi";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(testdata::ReadFile("again.avi") == testdata::ReadFile(kClip));
}

}  // namespace
