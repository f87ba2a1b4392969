// Frames of the main loop: a frame that would draw the picture already on
// screen draws nothing, what the loop draws (recorded, compared, partly from
// the scaled-picture cache) has exactly the pixels of drawing directly, and
// the pacing of frames in a window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/render_device.h"
#include "shell/shell.h"
#include "support/menu_play.h"
#include "util/app_context.h"

namespace {

class FrameSkipTest : public testapp::MenuPlayTest {
 protected:
  void SetUp() override {
    testapp::MenuPlayTest::SetUp();
    GetShellState().mainMenu = menu.get();
  }
  void TearDown() override {
    GetShellState().mainMenu = nullptr;
    testapp::MenuPlayTest::TearDown();
  }

  std::vector<uint32_t> Pixels() const {
    const RenderDevice& d = *screen->Device();
    return std::vector<uint32_t>(d.BackBuffer(), d.BackBuffer() + d.Width() * d.Height());
  }

  // The loop's frame drawn three times in full (the cache is made in the
  // second and used in the third) against the same frame drawn directly.
  void ExpectLoopPixelsEqualDirect(const char* screenName) {
    SCOPED_TRACE(screenName);
    for (int i = 0; i < 3; ++i) {
      screen->Device()->ForgetLastScene();
      ::DrawFrame();
    }
    const std::vector<uint32_t> looped = Pixels();
    screen->Draw([this] {
      menu->Render();
      menu->DrawCursor();
    });
    EXPECT_TRUE(looped == Pixels());
  }
};

constexpr int MEMORY_GAME = 5;

}  // namespace

TEST_F(FrameSkipTest, LoopFramesHaveThePixelsOfDirectDrawing) {
  ExpectLoopPixelsEqualDirect("main menu");
  ASSERT_TRUE(driver->StartFromMenu(MEMORY_GAME, 2));
  driver->Wait(1.0);
  ExpectLoopPixelsEqualDirect("countdown");
  driver->SkipCountdown();
  driver->Wait(0.5);
  ExpectLoopPixelsEqualDirect("memory game");
  EXPECT_GT(screen->Device()->Stats().cacheDraws, 0u);
  driver->Key(VK_ESCAPE);
  driver->Wait(0.2);
  ExpectLoopPixelsEqualDirect("pause page");
}

TEST_F(FrameSkipTest, UnchangedFramesDrawNothingAndAPlayRedrawsWithItsClock) {
  EXPECT_TRUE(::DrawFrame());
  EXPECT_FALSE(::DrawFrame());
  driver->Wait(1.0);  // the menu is still
  EXPECT_FALSE(::DrawFrame());
  driver->Move(300, 300);  // the cursor moves
  EXPECT_TRUE(::DrawFrame());
  EXPECT_FALSE(::DrawFrame());

  // A play left alone: after its opening the picture changes only when the
  // time bar's seconds do.
  ASSERT_TRUE(driver->StartFromMenu(MEMORY_GAME, 0));
  driver->SkipCountdown();
  driver->Wait(2.0);
  int drawn = 0;
  for (int frame = 0; frame < 180; ++frame) {
    driver->Frame(1.0 / 60);
    if (::DrawFrame()) ++drawn;
  }
  EXPECT_GE(drawn, 2);
  EXPECT_LE(drawn, 4);
}

TEST_F(FrameSkipTest, GlidingPiecesLeftUndrawnDifferByAtMostTwoLevels) {
  // The sliding puzzle and the fruit balance glide ever closer to their
  // places; once the creep is too small to see, frames stop drawing, and
  // what the screen keeps is within two levels of the exact picture.
  for (const int game : {10, 13}) {
    SCOPED_TRACE("game " + std::to_string(game));
    ASSERT_TRUE(driver->StartFromMenu(game, 1));
    driver->SkipCountdown();
    int drawnLate = 0;
    for (int frame = 0; frame < 600; ++frame) {
      driver->Frame(1.0 / 60);
      if (::DrawFrame() && frame >= 480) ++drawnLate;
    }
    EXPECT_LE(drawnLate, 10);  // of 120 frames: the time bar and the last of the creep
    const std::vector<uint32_t> kept = Pixels();
    screen->Draw([this] {
      menu->Render();
      menu->DrawCursor();
    });
    const std::vector<uint32_t> exact = Pixels();
    int worst = 0;
    for (size_t i = 0; i < kept.size(); ++i)
      for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(static_cast<int>((kept[i] >> shift) & 0xFF) -
                                         static_cast<int>((exact[i] >> shift) & 0xFF)));
    EXPECT_LE(worst, 2);
    menu->FinishGame();
    menu->SetPage(1);
    app->runState = 0;
  }
}

TEST(FramePacer, QuietMenuSleepsLongerPlaysAndInputKeepTheFrameRate) {
  FramePacer pacer;
  pacer.refresh = 0.02;
  pacer.FrameRan(0.0, true, false);
  EXPECT_DOUBLE_EQ(pacer.SecondsToWait(0.0), 0.02);

  // Unchanged frames keep the rate for a while, then the waits grow to the limit.
  double now = 0;
  for (int i = 0; i < 200; ++i) {
    now += pacer.SecondsToWait(now);
    pacer.FrameRan(now, false, false);
  }
  EXPECT_DOUBLE_EQ(pacer.SecondsToWait(now), pacer.longestWait);
  EXPECT_GT(now, 50.0);  // about two frames a second once quiet

  // Input during the long sleep: the next frame is due at once.
  pacer.InputArrived(now + 0.3);
  EXPECT_DOUBLE_EQ(pacer.SecondsToWait(now + 0.3), 0.0);
  // Input right after a frame waits only for the next refresh.
  pacer.FrameRan(now + 0.3, false, false);
  pacer.InputArrived(now + 0.305);
  EXPECT_NEAR(pacer.SecondsToWait(now + 0.305), 0.015, 1e-9);

  // A running play never sleeps longer than a refresh, changed or not.
  FramePacer play;
  play.refresh = 0.02;
  for (int i = 0; i < 100; ++i) play.FrameRan(i * 0.02, false, true);
  EXPECT_NEAR(play.SecondsToWait(99 * 0.02), 0.02, 1e-9);
}
