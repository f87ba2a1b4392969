// The window procedure's input routing: keys, Ctrl+Enter, the swallowed
// Escape and Enter releases, focus loss, mouse messages and double clicks;
// and the drawing of one frame.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/game.h"
#include "gfx/sprite.h"
#include "platform/render_device.h"
#include "util/app_context.h"
#include "shell/shell.h"
#include "support/test_app.h"
#include "support/test_data_builders.h"

namespace {
// A control that takes every input and draws nothing.
class MinimalControl : public Game {
 public:
  void OnLostDevice() override {}
  void OnResetDevice() override {}
};
}  // namespace

namespace {

// Records every call it receives as a short line.
class RecordingControl : public Game {
 public:
  void OnMouseMove(int x, int y) override { Note("move", x, y); }
  void OnLButtonDown(int x, int y) override { Note("ldown", x, y); }
  void OnLButtonUp(int x, int y) override { Note("lup", x, y); }
  void OnLButtonDblClk(int x, int y) override { Note("ldbl", x, y); }
  void OnRButtonDown(int x, int y) override { Note("rdown", x, y); }
  void OnRButtonUp(int x, int y) override { Note("rup", x, y); }
  void OnKeyDown(int key) override { calls.push_back("keydown " + std::to_string(key)); }
  void OnKeyUp(int key) override { calls.push_back("keyup " + std::to_string(key)); }
  void OnMouseWheel(WPARAM w) override { calls.push_back("wheel " + std::to_string(HIWORD(w))); }
  void OnLostDevice() override { calls.push_back("lost"); }
  void OnResetDevice() override { calls.push_back("reset"); }
  void Note(const char* what, int x, int y) {
    calls.push_back(std::string(what) + " " + std::to_string(x) + " " + std::to_string(y));
  }
  std::vector<std::string> calls;
};

bool g_ctrlHeld = false;
bool FakeKeyState(int vk) { return vk == VK_CONTROL && g_ctrlHeld; }

class ShellRouting : public ::testing::Test {
 protected:
  void SetUp() override {
    static const std::string dir = testdata::EnterFreshDirectory("denkar_shell_routing");
    ASSERT_FALSE(dir.empty());
    app_ = &GetAppContext();
    GetShellState() = ShellState{};
    GetShellState().isKeyDown = FakeKeyState;
    GetShellState().mainMenu = &control_;
    app_->currentControl = &control_;
    app_->fullscreen = true;
    app_->presentParams.Windowed = false;
    g_ctrlHeld = false;
  }
  void TearDown() override {
    app_->currentControl = nullptr;
    GetShellState() = ShellState{};
  }
  void Send(UINT message, WPARAM wParam, LPARAM lParam = 0) {
    WindowProc(nullptr, message, wParam, lParam);
  }
  // A key press as the pump delivers it: the key state changes with the message.
  void CtrlDown() {
    g_ctrlHeld = true;
    Send(WM_KEYDOWN, VK_CONTROL);
  }
  void CtrlUp() {
    g_ctrlHeld = false;
    Send(WM_KEYUP, VK_CONTROL);
  }
  using Calls = std::vector<std::string>;
  AppContext* app_ = nullptr;
  RecordingControl control_;
};

TEST_F(ShellRouting, CtrlEnterSwitchesTheDisplayAndNeitherEnterMessageReachesTheControl) {
  CtrlDown();
  Send(WM_KEYDOWN, VK_RETURN);
  EXPECT_FALSE(app_->fullscreen);
  EXPECT_TRUE(app_->presentParams.Windowed);
  // Key repeat of Enter switches again, every time.
  Send(WM_KEYDOWN, VK_RETURN);
  EXPECT_TRUE(app_->fullscreen);
  EXPECT_FALSE(app_->presentParams.Windowed);
  Send(WM_KEYDOWN, VK_RETURN);
  EXPECT_FALSE(app_->fullscreen);
  EXPECT_EQ(GetShellState().fullscreenSwitches, 3);
  // Releasing Ctrl first does not let the Enter release through.
  CtrlUp();
  Send(WM_KEYUP, VK_RETURN);
  // Ctrl itself is a key like any other; each switch reset the device through the control.
  EXPECT_EQ(control_.calls, (Calls{"keydown 17", "lost", "reset", "lost", "reset", "lost", "reset",
                                   "keyup 17"}));
  // Only that one release was swallowed: the next Enter goes through whole.
  control_.calls.clear();
  Send(WM_KEYDOWN, VK_RETURN);
  Send(WM_KEYUP, VK_RETURN);
  EXPECT_EQ(control_.calls, (Calls{"keydown 13", "keyup 13"}));
  EXPECT_FALSE(app_->fullscreen);
}

TEST_F(ShellRouting, CtrlIsTakenFromTheRealKeyState) {
  GetShellState().mainMenu = nullptr;  // only key calls are of interest here
  // Ctrl pressed while another window had the focus: no Ctrl message came,
  // but the key is held, so Enter switches.
  g_ctrlHeld = true;
  Send(WM_KEYDOWN, VK_RETURN);
  EXPECT_FALSE(app_->fullscreen);
  Send(WM_KEYUP, VK_RETURN);
  EXPECT_TRUE(control_.calls.empty());

  // Ctrl released in another window: no release message came, yet the next
  // Enter is a plain Enter.
  g_ctrlHeld = true;
  Send(WM_KEYDOWN, VK_CONTROL);
  g_ctrlHeld = false;
  Send(WM_KEYDOWN, VK_RETURN);
  EXPECT_FALSE(app_->fullscreen);
  EXPECT_EQ(control_.calls, (Calls{"keydown 17", "keydown 13"}));
}

TEST_F(ShellRouting, FocusLossClearsTheCtrlFlagAndThePendingEnterRelease) {
  CtrlDown();
  EXPECT_TRUE(GetShellState().ctrlDown);
  Send(WM_KEYDOWN, VK_RETURN);  // a switch: its release would be swallowed
  EXPECT_TRUE(GetShellState().swallowEnterRelease);
  g_ctrlHeld = false;
  Send(WM_KILLFOCUS, 0);
  EXPECT_FALSE(GetShellState().ctrlDown);
  EXPECT_FALSE(GetShellState().swallowEnterRelease);
  // Back in the window, Enter is an ordinary key, down and up.
  control_.calls.clear();
  Send(WM_KEYDOWN, VK_RETURN);
  Send(WM_KEYUP, VK_RETURN);
  EXPECT_EQ(control_.calls, (Calls{"keydown 13", "keyup 13"}));
}

TEST_F(ShellRouting, ReleasingCtrlClearsTheFlagEvenAsTheFirstKeyAfterTheIntro) {
  GetShellState().escapeReleaseAllowed = false;  // the intro was skipped with Escape
  GetShellState().ctrlDown = true;
  CtrlUp();
  EXPECT_FALSE(GetShellState().ctrlDown);
  EXPECT_EQ(control_.calls, (Calls{"keyup 17"}));
  EXPECT_FALSE(GetShellState().escapeReleaseAllowed);  // still waiting for that Escape
}

TEST_F(ShellRouting, OnlyTheFirstEscapeReleaseAfterASkippedIntroIsSwallowed) {
  GetShellState().escapeReleaseAllowed = false;
  Send(WM_KEYUP, VK_ESCAPE);
  Send(WM_KEYDOWN, VK_ESCAPE);
  Send(WM_KEYUP, VK_ESCAPE);
  EXPECT_EQ(control_.calls, (Calls{"keydown 27", "keyup 27"}));
  EXPECT_TRUE(GetShellState().escapeReleaseAllowed);

  // Without a skipped intro every release is forwarded.
  control_.calls.clear();
  Send(WM_KEYUP, VK_ESCAPE);
  EXPECT_EQ(control_.calls, (Calls{"keyup 27"}));
}

TEST_F(ShellRouting, KeyCodesAreTheLowWordOfWParam) {
  Send(WM_KEYDOWN, 0x12340041);
  Send(WM_KEYUP, 0xFFFF0041);
  EXPECT_EQ(control_.calls, (Calls{"keydown 65", "keyup 65"}));
}

TEST_F(ShellRouting, MouseMessagesCarryUnsignedWordsAndOnlyMovesChangeThePosition) {
  app_->mouseX = 10;
  app_->mouseY = 20;
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(300, 400));
  EXPECT_EQ(app_->prevMouseX, 10);
  EXPECT_EQ(app_->prevMouseY, 20);
  EXPECT_EQ(app_->mouseX, 300);
  EXPECT_EQ(app_->mouseY, 400);
  Send(WM_LBUTTONDOWN, 1, MAKELPARAM(5, 6));
  Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
  Send(WM_RBUTTONDOWN, 2, MAKELPARAM(7, 8));
  Send(WM_RBUTTONUP, 0, MAKELPARAM(7, 8));
  EXPECT_EQ(app_->mouseX, 300);  // buttons leave the position alone
  EXPECT_EQ(app_->mouseY, 400);
  // Outside the client area a coordinate is its unsigned 16-bit value.
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(-1, -2));
  EXPECT_EQ(app_->mouseX, 65535);
  EXPECT_EQ(app_->mouseY, 65534);
  Send(WM_MOUSEWHEEL, static_cast<WPARAM>(120) << 16, 0);
  EXPECT_EQ(control_.calls, (Calls{"move 300 400", "ldown 5 6", "lup 5 6", "rdown 7 8", "rup 7 8",
                                   "move 65535 65534", "wheel 120"}));
}

TEST_F(ShellRouting, TheSecondPressOfADoubleClickIsAlsoAPress) {
  // Windows order: down, up, double click, up.
  Send(WM_LBUTTONDOWN, 1, MAKELPARAM(40, 50));
  Send(WM_LBUTTONUP, 0, MAKELPARAM(40, 50));
  Send(WM_LBUTTONDBLCLK, 1, MAKELPARAM(40, 50));
  Send(WM_LBUTTONUP, 0, MAKELPARAM(40, 50));
  EXPECT_EQ(control_.calls,
            (Calls{"ldown 40 50", "lup 40 50", "ldown 40 50", "ldbl 40 50", "lup 40 50"}));
}

TEST_F(ShellRouting, NothingIsForwardedWithoutACurrentControl) {
  app_->currentControl = nullptr;
  Send(WM_KEYDOWN, 'A');
  Send(WM_LBUTTONDOWN, 1, MAKELPARAM(1, 1));
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
  EXPECT_TRUE(control_.calls.empty());
  EXPECT_EQ(app_->mouseX, 3);
}

}  // namespace

namespace {

// A frame of a control that draws nothing is the background colour, whole.
TEST(ShellFrame, AFrameIsClearedToTheBackgroundColour) {
  static const std::string dir = testdata::EnterFreshDirectory("denkar_shell_frame");
  ASSERT_FALSE(dir.empty());
  AppContext& app = GetAppContext();
  std::unique_ptr<RenderDevice> device = testapp::MakeOffscreenDevice();
  ASSERT_TRUE(device);
  Sprite sprite(device.get());
  MinimalControl control;
  app.device = device.get();
  app.sprite = &sprite;
  GetShellState().mainMenu = &control;
  DrawFrame();
  GetShellState().mainMenu = nullptr;
  app.sprite = nullptr;
  app.device = nullptr;
  size_t other = 0;
  for (int i = 0; i < device->Width() * device->Height(); ++i)
    if ((device->BackBuffer()[i] & 0xFFFFFF) != 0x646464) ++other;
  EXPECT_EQ(other, 0u);
}

}  // namespace
