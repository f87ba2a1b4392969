// Frame timing: Tick's carried accumulator, the tick-count fallback, the
// virtual clock, and the restart of the timer after a device reset.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "framework/game.h"
#include "platform/clock.h"
#include "platform/render_device.h"
#include "util/app_context.h"
#include "shell/shell.h"
#include "support/test_data_builders.h"

namespace {

// Notes the frame time of every Update.
class UpdateCounter : public Game {
 public:
  void Update() override { frameTimes.push_back(app->frameTime); }
  void Render() override { ++renders; }
  void OnLostDevice() override { ++resets; }
  void OnResetDevice() override {}
  std::vector<double> frameTimes;
  int renders = 0;
  int resets = 0;
};

class ShellTiming : public ::testing::Test {
 protected:
  void SetUp() override {
    static const std::string dir = testdata::EnterFreshDirectory("denkar_shell_timing");
    ASSERT_FALSE(dir.empty());
    app_ = &GetAppContext();
    shell_ = ShellState{};
    shell_.mainMenu = &control_;
    app_->paused = false;
    // Counter ticks of a millisecond, starting at 1000.
    app_->usePerfCounter = true;
    app_->secondsPerTick = 0.001;
    app_->lastCounter = 1000;
  }
  void TearDown() override {
    app_->paused = false;
    GetShellState() = ShellState{};
    ClockUseVirtual(false);
  }
  AppContext* app_ = nullptr;
  ShellState shell_;
  UpdateCounter control_;
};

TEST_F(ShellTiming, PausedFramesGiveNoGameTimeButRealTimeRuns) {
  Tick(*app_, shell_, 1020);
  EXPECT_DOUBLE_EQ(app_->frameTime, 0.020);
  EXPECT_DOUBLE_EQ(app_->realFrameTime, 0.020);
  app_->paused = true;
  for (int64_t c = 1050; c <= 1110; c += 30) {
    Tick(*app_, shell_, c);
    EXPECT_EQ(app_->frameTime, 0.0);
    EXPECT_DOUBLE_EQ(app_->realFrameTime, 0.030);
  }
  EXPECT_EQ(app_->lastCounter, 1110);
  // Update still runs every frame (the menu animates), with no game time.
  EXPECT_EQ(control_.frameTimes, (std::vector<double>{0.020, 0.0, 0.0, 0.0}));
}

TEST_F(ShellTiming, AClockSteppingBackSkipsUpdatesUntilTheShortfallIsMadeUp) {
  Tick(*app_, shell_, 900);  // 0.1 s back
  EXPECT_TRUE(control_.frameTimes.empty());
  EXPECT_DOUBLE_EQ(shell_.carriedFrameTime, -0.100);
  EXPECT_DOUBLE_EQ(app_->realFrameTime, -0.100);
  Tick(*app_, shell_, 960);  // 0.06 s forward: still 0.04 s short
  EXPECT_TRUE(control_.frameTimes.empty());
  EXPECT_NEAR(shell_.carriedFrameTime, -0.040, 1e-12);
  Tick(*app_, shell_, 1010);  // 0.05 s forward: 0.01 s left for the game
  ASSERT_EQ(control_.frameTimes.size(), 1u);
  EXPECT_NEAR(control_.frameTimes[0], 0.010, 1e-12);
  EXPECT_EQ(shell_.carriedFrameTime, 0.0);
  Tick(*app_, shell_, 1026);
  ASSERT_EQ(control_.frameTimes.size(), 2u);
  EXPECT_NEAR(control_.frameTimes[1], 0.016, 1e-12);
}

TEST_F(ShellTiming, TheTickCountFallbackMeasuresInWholeMilliseconds) {
  ClockUseVirtual(true);
  StartFrameTimer(*app_, false);
  EXPECT_FALSE(app_->usePerfCounter);
  EXPECT_EQ(app_->secondsPerTick, 0.001);
  EXPECT_EQ(app_->lastCounter, static_cast<int64_t>(GetTickCount()));
  for (int frame = 0; frame < 12; ++frame) {
    ClockAdvanceFrame();  // 16.67 ms: the tick count moves by 16 or 17
    Tick(*app_, shell_, ReadFrameCounter(*app_));
    const double ms = app_->frameTime / 0.001;
    EXPECT_NEAR(ms, std::round(ms), 1e-9) << frame;
    EXPECT_TRUE(std::round(ms) == 16 || std::round(ms) == 17) << ms;
  }
}

TEST_F(ShellTiming, TheTickCountWrapIsNotAStepBack) {
  ClockUseVirtual(true);
  // Start the tick count 6 ms before it wraps at 2^32.
  ClockSetTickStart(0);
  const uint32_t now = GetTickCount();
  ClockSetTickStart(0xFFFFFFFAu - now);
  ASSERT_EQ(GetTickCount(), 0xFFFFFFFAu);
  StartFrameTimer(*app_, false);
  ClockAdvanceFrame();
  ASSERT_LT(GetTickCount(), 100u);  // wrapped
  Tick(*app_, shell_, ReadFrameCounter(*app_));
  ASSERT_EQ(control_.frameTimes.size(), 1u);
  EXPECT_GT(control_.frameTimes[0], 0.015);
  EXPECT_LT(control_.frameTimes[0], 0.018);
  EXPECT_GT(app_->lastCounter, int64_t{0xFFFFFFFF});
  ClockSetTickStart(0);
}

TEST_F(ShellTiming, TheVirtualClockAdvancesASixtiethOfASecondPerFrame) {
  ClockUseVirtual(true);
  ClockSetTickStart(4711);
  int64_t frequency = 0, before = 0, after = 0;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  QueryPerformanceCounter(&before);
  const uint32_t ticksBefore = GetTickCount();
  EXPECT_EQ(ticksBefore, 4711u + static_cast<uint32_t>(before * 1000 / frequency));
  for (int i = 0; i < 60; ++i) ClockAdvanceFrame();
  QueryPerformanceCounter(&after);
  EXPECT_EQ(after - before, frequency);  // exactly one second
  EXPECT_EQ(GetTickCount() - ticksBefore, 1000u);
  ClockSetTickStart(0);
}

TEST_F(ShellTiming, TheRealClockIsMonotonic) {
  ClockUseVirtual(false);
  int64_t frequency = 0, a = 0, b = 0;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_GT(frequency, 0);
  QueryPerformanceCounter(&a);
  const uint32_t t0 = GetTickCount();
  Sleep(20);
  QueryPerformanceCounter(&b);
  EXPECT_GT(b, a);
  EXPECT_GE(GetTickCount() - t0, 15u);
}

TEST_F(ShellTiming, AGapBeforeADeviceResetIsNotChargedToThePlay) {
  ClockUseVirtual(true);
  GetShellState().mainMenu = &control_;
  StartFrameTimer(*app_, true);
  EXPECT_TRUE(app_->usePerfCounter);
  for (int i = 0; i < 600; ++i) ClockAdvanceFrame();  // ten seconds minimised
  ResetDevice();
  ClockAdvanceFrame();
  Tick();
  ASSERT_EQ(control_.frameTimes.size(), 1u);
  EXPECT_NEAR(control_.frameTimes[0], 1.0 / 60.0, 1e-12);
}

TEST_F(ShellTiming, ALostDeviceRunsNothingUntilItIsResetAndRestored) {
  D3DPRESENT_PARAMETERS pp;
  pp.BackBufferWidth = 64;
  pp.BackBufferHeight = 48;
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  std::unique_ptr<RenderDevice> device = RenderDevice::Create(pp);
  ASSERT_NE(device, nullptr);
  const D3DPRESENT_PARAMETERS savedParams = app_->presentParams;
  app_->presentParams = pp;
  app_->device = device.get();
  ClockUseVirtual(true);
  GetShellState().mainMenu = &control_;
  StartFrameTimer(*app_, true);
  // Minimised: no update, no drawing, however long.
  for (int i = 0; i < 30; ++i) {
    ClockAdvanceFrame();
    EXPECT_FALSE(RunIdleTurn(D3DERR_DEVICELOST));
  }
  EXPECT_TRUE(control_.frameTimes.empty());
  EXPECT_EQ(control_.renders, 0);
  // Restored: the reset first, still without a frame, then frames again.
  EXPECT_FALSE(RunIdleTurn(D3DERR_DEVICENOTRESET));
  EXPECT_EQ(control_.resets, 1);
  EXPECT_TRUE(control_.frameTimes.empty());
  ClockAdvanceFrame();
  EXPECT_TRUE(RunIdleTurn(S_OK));
  ASSERT_EQ(control_.frameTimes.size(), 1u);
  EXPECT_NEAR(control_.frameTimes[0], 1.0 / 60.0, 1e-12);  // the minimised time is not charged
  EXPECT_EQ(control_.renders, 1);
  app_->device = nullptr;
  app_->presentParams = savedParams;
}

}  // namespace
