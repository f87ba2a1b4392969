// The main window and its message queue, in the shape of the Win32 message
// model: SDL events are turned into WM_* messages that the shell's window
// procedure receives through DispatchMessage.
#pragma once
#include <string>
#include "platform/win_types.h"

class PlatformWindow;

struct MSG {
  PlatformWindow* hwnd = nullptr;  // receiver; null for WM_QUIT
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

using HWND = PlatformWindow*;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// The smallest client area a window can be given: half the back buffer each
// way, so buttons and texts stay readable.
constexpr int MIN_WINDOW_WIDTH = 512;
constexpr int MIN_WINDOW_HEIGHT = 384;

class PlatformWindow {
 public:
  // headless: no real window; input comes only from PostMessage (the input script).
  static PlatformWindow* Create(const char* title, int clientWidth, int clientHeight, bool headless,
                                bool fullscreen, WNDPROC proc);
  ~PlatformWindow();

  bool Headless() const { return headless_; }
  void Show();  // like ShowWindow + UpdateWindow: the window starts hidden
  bool IsMinimized() const;
  void SetFullscreen(bool fullscreen);  // desktop full screen or a resizable window
  bool IsFullscreen() const;
  // The smallest size the window manager lets the player give the window
  // (0 x 0 without a real window).
  void MinimumSize(int* width, int* height) const;
  void* NativeHandle() const { return native_; }  // the SDL_Window, for the device
  WNDPROC Proc() const { return proc_; }
  void Destroy();  // like DestroyWindow: hides the window and sends WM_DESTROY (once)
  bool IsDestroyed() const { return destroyed_; }
  // True once after the window was uncovered, resized or restored, when what
  // it shows must be handed to it again.
  bool TakeRepaintRequest() {
    const bool requested = repaintRequested_;
    repaintRequested_ = false;
    return requested;
  }
  void RequestRepaint() { repaintRequested_ = true; }

 private:
  PlatformWindow() = default;
  void* native_ = nullptr;
  WNDPROC proc_ = nullptr;
  bool headless_ = true;
  bool fullscreen_ = false;
  bool destroyed_ = false;
  bool repaintRequested_ = false;
  bool ownsVideo_ = false;  // this window started SDL's video subsystem
};

// Message queue (one per process, like the thread's queue).
bool PeekMessage(MSG* msg);   // true when a message waits; nothing is removed
bool GetMessage(MSG* msg);    // removes the next message; false for WM_QUIT
// Sleeps until something happens to the window (input, a repaint request)
// or the time is up; true when something happened. Returns at once without a
// real window.
bool WaitForWindowEvent(int timeoutMilliseconds);
void TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
void PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void ClearMessageQueue();  // drops every waiting message (tests)

// Converts a position in window pixels to back-buffer pixels: the back buffer
// is shown scaled by min(windowWidth / bufferWidth, windowHeight / bufferHeight)
// and centred between bars; the result is clamped to the back buffer.
void WindowToBackBuffer(int windowX, int windowY, int windowWidth, int windowHeight,
                        int bufferWidth, int bufferHeight, int* x, int* y);

// The message for a left-button press that is the `clicks`-th in a row: every
// second one is a double click, as with a Windows double-click window class.
UINT LeftPressMessage(int clicks);

void ShowCursor(bool show);
bool IsKeyDown(int virtualKey);  // real modifier state, like GetAsyncKeyState

// "Fehler!" message box; headless (or without a display) it only prints to stderr.
void MessageBox(HWND owner, const char* text, const char* caption, UINT type);
void SetMessageBoxHeadless(bool headless);
