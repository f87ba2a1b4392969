// The intro at start-up and the Escape that skips it: held at the start it
// stops the clip at the first look at the keys, and its release is kept from
// the menu once; a tap inside the clip, or a clip that runs to its end,
// leaves every release to the menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/game.h"
#include "platform/window.h"
#include "shell/shell.h"
#include "support/test_app.h"
#include "support/test_clips.h"
#include "util/app_context.h"

namespace {

class KeyRecorder : public Game {
 public:
  void OnKeyDown(int key) override { keys.push_back("down " + std::to_string(key)); }
  void OnKeyUp(int key) override { keys.push_back("up " + std::to_string(key)); }
  void OnLostDevice() override {}
  void OnResetDevice() override {}
  std::vector<std::string> keys;
};

class ShellIntro : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_shell_intro"; }
  void SetUp() override {
    AppTest::SetUp();
    GetShellState() = ShellState{};
    testclips::ClipPlan plan;
    plan.seconds = 0.5;
    ASSERT_TRUE(testclips::WriteTestClip("intro.avi", plan));
  }
  void TearDown() override {
    app->currentControl = nullptr;
    GetShellState() = ShellState{};
    AppTest::TearDown();
  }
  // Posts the key messages and lets the window procedure take them.
  void Deliver(PlatformWindow* window, std::initializer_list<UINT> messages) {
    for (UINT m : messages) PostMessage(window, m, VK_ESCAPE, 0);
    MSG msg;
    while (PeekMessage(&msg) && GetMessage(&msg)) DispatchMessage(&msg);
  }
  KeyRecorder menu_;
};

TEST_F(ShellIntro, EscapeHeldAtTheStartStopsAtTheFirstPollAndItsReleaseIsSwallowedOnce) {
  testclips::HeadlessScreen screen(true);
  PostMessage(screen.Window(), WM_KEYDOWN, VK_ESCAPE, 0);
  const IntroResult r = PlayStartupIntro(GetShellState(), {});
  EXPECT_EQ(r.end, IntroEnd::Skipped);
  EXPECT_EQ(r.frames, 0);
  EXPECT_FALSE(GetShellState().escapeReleaseAllowed);

  app->currentControl = &menu_;
  Deliver(screen.Window(), {WM_KEYUP});
  EXPECT_TRUE(menu_.keys.empty());
  Deliver(screen.Window(), {WM_KEYDOWN, WM_KEYUP});
  EXPECT_EQ(menu_.keys, (std::vector<std::string>{"down 27", "up 27"}));
}

TEST_F(ShellIntro, ATapInsideTheClipOrAClipThatEndsLeavesEveryReleaseToTheMenu) {
  testclips::HeadlessScreen screen(true);
  // Pressed and released before the first poll: the clip is skipped, and
  // there is no release left to swallow.
  PostMessage(screen.Window(), WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessage(screen.Window(), WM_KEYUP, VK_ESCAPE, 0);
  EXPECT_EQ(PlayStartupIntro(GetShellState(), {}).end, IntroEnd::Skipped);
  EXPECT_TRUE(GetShellState().escapeReleaseAllowed);

  const IntroResult whole = PlayStartupIntro(GetShellState(), {});
  EXPECT_EQ(whole.end, IntroEnd::Completed);
  EXPECT_TRUE(GetShellState().escapeReleaseAllowed);
  app->currentControl = &menu_;
  Deliver(screen.Window(), {WM_KEYDOWN, WM_KEYUP});
  EXPECT_EQ(menu_.keys, (std::vector<std::string>{"down 27", "up 27"}));
}

// Closing the window during the clip ends it; the quit message stays for
// the main loop.
TEST_F(ShellIntro, ClosingTheWindowEndsTheClipAndLeavesTheQuitForTheLoop) {
  testclips::HeadlessScreen screen(true);
  PostMessage(screen.Window(), WM_CLOSE, 0, 0);
  const IntroResult r = PlayStartupIntro(GetShellState(), {});
  EXPECT_EQ(r.end, IntroEnd::Stopped);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

}  // namespace
