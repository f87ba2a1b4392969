// The main window and its message queue, in the shape of the Win32 message
// model: SDL events are turned into WM_* messages that the shell's window
// procedure receives through DispatchMessage.
#pragma once
#include <string>
#include "platform/win_types.h"

struct MSG {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class PlatformWindow;
using HWND = PlatformWindow*;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

class PlatformWindow {
 public:
  // headless: no real window; input comes only from PostMessage (the input script).
  static PlatformWindow* Create(const char* title, int clientWidth, int clientHeight, bool headless,
                                bool fullscreen, WNDPROC proc);
  ~PlatformWindow();

  bool Headless() const { return headless_; }
  bool IsMinimized() const;
  void SetFullscreen(bool fullscreen);  // desktop full screen or a resizable window
  bool IsFullscreen() const;
  void* NativeHandle() const { return native_; }  // the SDL_Window, for the device
  WNDPROC Proc() const { return proc_; }
  void Destroy();  // like DestroyWindow: sends WM_DESTROY

 private:
  PlatformWindow() = default;
  void* native_ = nullptr;
  WNDPROC proc_ = nullptr;
  bool headless_ = true;
  bool fullscreen_ = false;
};

// Message queue (one per process, like the thread's queue).
bool PeekMessage(MSG* msg);   // true when a message waits; nothing is removed
bool GetMessage(MSG* msg);    // removes the next message; false for WM_QUIT
void TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
void PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void ShowCursor(bool show);
bool IsKeyDown(int virtualKey);  // real modifier state, like GetAsyncKeyState

// "Fehler!" message box; headless (or without a display) it only prints to stderr.
void MessageBox(HWND owner, const char* text, const char* caption, UINT type);
void SetMessageBoxHeadless(bool headless);
