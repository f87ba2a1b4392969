// The window layer without a display: key mapping, mouse position mapping,
// the message queue with its key state, closing a window, and the runtime's
// random generator.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/crt_rand.h"
#include "platform/key_map.h"
#include "platform/window.h"
#include "support/test_app.h"

namespace {

// SDL key codes: printable keys are their character, the others are their
// scan code with bit 30 set.
constexpr int32_t Scan(int scancode) { return scancode | (1 << 30); }

TEST(ShellKeyMap, KeysMapToWindowsVirtualKeys) {
  struct Case {
    int32_t key;
    int vk;
  };
  const Case cases[] = {
      {'a', 'A'}, {'m', 'M'}, {'z', 'Z'}, {'0', '0'}, {'9', '9'},
      {'\b', 8}, {'\t', 9}, {'\r', 13}, {Scan(88), 13} /* keypad Enter */, {27, 27}, {' ', 32},
      {Scan(225), 16}, {Scan(229), 16}, {Scan(224), 17}, {Scan(228), 17}, {Scan(226), 18},
      {Scan(230), 18}, {Scan(75), 33} /* page up */, {Scan(78), 34}, {Scan(77), 35} /* end */,
      {Scan(74), 36}, {Scan(80), 37} /* left */, {Scan(82), 38}, {Scan(79), 39}, {Scan(81), 40},
      {Scan(73), 45} /* insert */, {127, 46} /* delete */,
      {Scan(98), 96} /* keypad 0 */, {Scan(89), 97}, {Scan(97), 105} /* keypad 9 */,
      {Scan(85), 106}, {Scan(87), 107}, {Scan(86), 109}, {Scan(99), 110}, {Scan(84), 111},
      {Scan(58), 112} /* F1 */, {Scan(69), 123} /* F12 */, {Scan(104), 124} /* F13 */,
      {',', 0xBC}, {'-', 0xBD}, {'.', 0xBE}, {'+', 0xBB},
  };
  for (const Case& c : cases) EXPECT_EQ(VirtualKeyFromKeycode(c.key), c.vk) << std::hex << c.key;
  // Keys without an obvious Windows number are ignored.
  EXPECT_EQ(VirtualKeyFromKeycode(0), 0);
  EXPECT_EQ(VirtualKeyFromKeycode(0xE4), 0);  // a layout letter such as 'ä'
  EXPECT_EQ(VirtualKeyFromKeycode('A'), 0);   // key codes are never capitals
  EXPECT_EQ(VirtualKeyFromKeycode(Scan(127)), 0);
}

TEST(ShellWindowMapping, WindowPixelsMapToTheLetterboxedBackBuffer) {
  int x = -1, y = -1;
  // Same size: one to one.
  WindowToBackBuffer(100, 200, 1024, 768, 1024, 768, &x, &y);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 200);
  // Twice as wide: scale 1 with bars of 512 left and right.
  WindowToBackBuffer(512, 10, 2048, 768, 1024, 768, &x, &y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 10);
  WindowToBackBuffer(1024, 384, 2048, 768, 1024, 768, &x, &y);
  EXPECT_EQ(x, 512);
  EXPECT_EQ(y, 384);
  // Positions on the bars are clamped to the picture's edge.
  WindowToBackBuffer(10, 10, 2048, 768, 1024, 768, &x, &y);
  EXPECT_EQ(x, 0);
  WindowToBackBuffer(2000, 800, 2048, 768, 1024, 768, &x, &y);
  EXPECT_EQ(x, 1023);
  EXPECT_EQ(y, 767);
  // Half size, taller than wide: scale 0.5, bars above and below.
  WindowToBackBuffer(256, 100 + 192, 512, 584, 1024, 768, &x, &y);
  EXPECT_EQ(x, 512);
  EXPECT_EQ(y, 384);
  WindowToBackBuffer(-5, -5, 512, 584, 1024, 768, &x, &y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  // A window of no size leaves only the clamp.
  WindowToBackBuffer(5000, 7, 0, 0, 1024, 768, &x, &y);
  EXPECT_EQ(x, 1023);
  EXPECT_EQ(y, 7);
}

TEST(ShellWindowMapping, EverySecondPressInARowIsADoubleClick) {
  EXPECT_EQ(LeftPressMessage(1), WM_LBUTTONDOWN);
  EXPECT_EQ(LeftPressMessage(2), WM_LBUTTONDBLCLK);
  EXPECT_EQ(LeftPressMessage(3), WM_LBUTTONDOWN);
  EXPECT_EQ(LeftPressMessage(4), WM_LBUTTONDBLCLK);
  EXPECT_EQ(LeftPressMessage(0), WM_LBUTTONDOWN);
}

std::vector<UINT> g_seen;
int g_destroyCount = 0;
LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_seen.push_back(message);
  if (message == WM_DESTROY) {
    ++g_destroyCount;
    PostQuitMessage(7);
    return 0;
  }
  return DefWindowProc(window, message, wParam, lParam);
}

TEST(ShellMessageQueue, ClosingTheWindowDestroysItOnceAndEndsWithWmQuit) {
  ClearMessageQueue();
  g_seen.clear();
  g_destroyCount = 0;
  PlatformWindow* window = PlatformWindow::Create("Denkarium", 1024, 768, true, false, RecordingProc);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->NativeHandle(), nullptr);
  EXPECT_FALSE(window->IsMinimized());
  EXPECT_EQ(g_seen, (std::vector<UINT>{WM_CREATE}));

  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg));
  PostMessage(window, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
  PostMessage(window, WM_CLOSE, 0, 0);
  PostMessage(window, WM_CLOSE, 0, 0);  // a second close finds the window gone
  ASSERT_TRUE(PeekMessage(&msg));
  EXPECT_EQ(msg.message, WM_MOUSEMOVE);
  ASSERT_TRUE(PeekMessage(&msg));  // peeking removes nothing
  EXPECT_EQ(msg.message, WM_MOUSEMOVE);

  int exitCode = -1;
  for (int guard = 0; guard < 10; ++guard) {
    ASSERT_TRUE(PeekMessage(&msg));
    if (!GetMessage(&msg)) {
      exitCode = static_cast<int>(msg.wParam);
      break;
    }
    DispatchMessage(&msg);
  }
  EXPECT_EQ(exitCode, 7);
  EXPECT_EQ(g_destroyCount, 1);
  EXPECT_TRUE(window->IsDestroyed());
  EXPECT_EQ(g_seen, (std::vector<UINT>{WM_CREATE, WM_MOUSEMOVE, WM_CLOSE, WM_DESTROY, WM_CLOSE}));
  EXPECT_FALSE(PeekMessage(&msg));

  // Messages still waiting for a deleted window are dropped with it.
  PostMessage(window, WM_KEYDOWN, 'A', 1);
  delete window;
  EXPECT_FALSE(PeekMessage(&msg));
}

// A window made smaller than half the back buffer would squeeze the menu's
// buttons and texts out of reach; SDL's display-less driver keeps the limit
// like a real one.
TEST(ShellWindow, AWindowCannotBeMadeSmallerThanHalfTheBackBuffer) {
  PlatformWindow* window = testapp::CreateWindowWithoutDisplay();
  if (!window) GTEST_SKIP() << "no window without a display";
  int width = 0, height = 0;
  window->MinimumSize(&width, &height);
  EXPECT_EQ(width, 512);
  EXPECT_EQ(height, 384);
  delete window;
  ClearMessageQueue();
}

TEST(ShellMessageQueue, TheKeyStateFollowsTheKeyMessagesAndIsClearedOnFocusLoss) {
  ClearMessageQueue();
  PlatformWindow* window = PlatformWindow::Create("Denkarium", 1024, 768, true, false, RecordingProc);
  ASSERT_NE(window, nullptr);
  PostMessage(window, WM_KEYDOWN, VK_CONTROL, 1);
  PostMessage(window, WM_KEYDOWN, VK_RETURN, 1);
  PostMessage(window, WM_KEYUP, VK_CONTROL, static_cast<LPARAM>(0xC0000001u));
  PostMessage(window, WM_KEYDOWN, VK_SHIFT, 1);
  PostMessage(window, WM_KILLFOCUS, 0, 0);
  MSG msg;
  EXPECT_FALSE(IsKeyDown(VK_CONTROL));  // as of the message being handled, not the queue
  ASSERT_TRUE(GetMessage(&msg));
  EXPECT_TRUE(IsKeyDown(VK_CONTROL));
  ASSERT_TRUE(GetMessage(&msg));
  EXPECT_TRUE(IsKeyDown(VK_CONTROL));
  EXPECT_TRUE(IsKeyDown(VK_RETURN));
  ASSERT_TRUE(GetMessage(&msg));
  EXPECT_FALSE(IsKeyDown(VK_CONTROL));
  ASSERT_TRUE(GetMessage(&msg));
  EXPECT_TRUE(IsKeyDown(VK_SHIFT));
  ASSERT_TRUE(GetMessage(&msg));
  EXPECT_EQ(msg.message, WM_KILLFOCUS);
  EXPECT_FALSE(IsKeyDown(VK_SHIFT));
  EXPECT_FALSE(IsKeyDown(VK_RETURN));
  EXPECT_FALSE(IsKeyDown(-1));
  EXPECT_FALSE(IsKeyDown(300));
  delete window;
}

TEST(ShellRand, SeedOneGivesTheWindowsRuntimeSequence) {
  CrtSrand(1);
  const int expected[] = {41, 18467, 6334, 26500, 19169};
  for (int e : expected) EXPECT_EQ(CrtRand(), e);
  CrtSrand(1);
  EXPECT_EQ(CrtRand(), 41);  // the same seed repeats the sequence
  // Every value lies within 0 ... 32767.
  CrtSrand(0xDEADBEEF);
  int lowest = CRT_RAND_MAX, highest = 0;
  for (int i = 0; i < 100000; ++i) {
    const int r = CrtRand();
    lowest = std::min(lowest, r);
    highest = std::max(highest, r);
  }
  EXPECT_GE(lowest, 0);
  EXPECT_LE(highest, 32767);
  EXPECT_GT(highest, 32000);
}

}  // namespace
