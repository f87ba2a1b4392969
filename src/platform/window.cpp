// The main window on SDL and the process message queue. SDL events are turned
// into the window messages the shell's window procedure knows, in the order a
// Windows window receives them; the input script adds its own messages with
// PostMessage.
#include "platform/window.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iterator>
#include "platform/key_map.h"

namespace {

// Button and modifier flags of mouse messages (wParam), as Windows sets them.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr int WHEEL_DELTA = 120;

// Modifier state carried by a message from the keyboard.
constexpr unsigned MOD_CTRL = 1, MOD_SHIFT = 2, MOD_ALT = 4;

struct QueuedMessage {
  MSG msg;
  bool hasModifiers = false;  // keyboard messages from SDL know the modifier state
  unsigned modifiers = 0;
};

std::deque<QueuedMessage> g_queue;
PlatformWindow* g_mainWindow = nullptr;  // the window SDL events are addressed to
int g_bufferWidth = 1024, g_bufferHeight = 768;
int g_mouseX = 0, g_mouseY = 0;  // last position in back-buffer pixels
bool g_messageBoxHeadless = false;

// Key state as of the message being handled (like GetKeyState): updated when
// a key message leaves the queue, cleared when the window loses the focus.
bool g_keyDown[256] = {};

void Post(PlatformWindow* window, UINT message, WPARAM wParam, LPARAM lParam,
          bool hasModifiers = false, unsigned modifiers = 0) {
  QueuedMessage q;
  q.msg.hwnd = window;
  q.msg.message = message;
  q.msg.wParam = wParam;
  q.msg.lParam = lParam;
  q.hasModifiers = hasModifiers;
  q.modifiers = modifiers;
  g_queue.push_back(q);
}

unsigned ModifiersOf(SDL_Keymod mod) {
  unsigned m = 0;
  if (mod & KMOD_CTRL) m |= MOD_CTRL;
  if (mod & KMOD_SHIFT) m |= MOD_SHIFT;
  if (mod & KMOD_ALT) m |= MOD_ALT;
  return m;
}

WPARAM MouseFlags() {
  WPARAM flags = 0;
  const Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
  if (buttons & SDL_BUTTON_LMASK) flags |= MK_LBUTTON;
  if (buttons & SDL_BUTTON_RMASK) flags |= MK_RBUTTON;
  const SDL_Keymod mod = SDL_GetModState();
  if (mod & KMOD_SHIFT) flags |= MK_SHIFT;
  if (mod & KMOD_CTRL) flags |= MK_CONTROL;
  return flags;
}

// An event position in back-buffer pixels. Once the device's renderer has a
// logical size, SDL already reports positions in back-buffer pixels (it undoes
// the letterbox itself); before that they are window pixels.
void ToBackBuffer(SDL_Window* window, int eventX, int eventY, int* x, int* y) {
  int logicalW = 0, logicalH = 0;
  if (SDL_Renderer* renderer = SDL_GetRenderer(window))
    SDL_RenderGetLogicalSize(renderer, &logicalW, &logicalH);
  if (logicalW > 0 && logicalH > 0) {
    *x = std::clamp(eventX, 0, g_bufferWidth - 1);
    *y = std::clamp(eventY, 0, g_bufferHeight - 1);
    return;
  }
  int windowW = 0, windowH = 0;
  SDL_GetWindowSize(window, &windowW, &windowH);
  WindowToBackBuffer(eventX, eventY, windowW, windowH, g_bufferWidth, g_bufferHeight, x, y);
}

LPARAM KeyDownParam(const SDL_KeyboardEvent& key) {
  // Repeat count 1, scan code in bits 16..23, bit 30 set for a repeat.
  LPARAM l = 1 | (static_cast<LPARAM>(key.keysym.scancode & 0xFF) << 16);
  if (key.repeat) l |= LPARAM{1} << 30;
  return l;
}

void TranslateEvent(const SDL_Event& e) {
  PlatformWindow* w = g_mainWindow;
  if (!w || !w->NativeHandle() || w->IsDestroyed()) return;
  SDL_Window* sw = static_cast<SDL_Window*>(w->NativeHandle());
  int x = 0, y = 0;
  switch (e.type) {
    case SDL_QUIT:  // the session asks the program to end (also Ctrl+C): close the window
      Post(w, WM_CLOSE, 0, 0);
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) Post(w, WM_CLOSE, 0, 0);
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) Post(w, WM_KILLFOCUS, 0, 0);
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
          e.window.event == SDL_WINDOWEVENT_RESTORED || e.window.event == SDL_WINDOWEVENT_SHOWN)
        w->RequestRepaint();
      break;
    case SDL_MOUSEMOTION:
      ToBackBuffer(sw, e.motion.x, e.motion.y, &x, &y);
      g_mouseX = x;
      g_mouseY = y;
      Post(w, WM_MOUSEMOVE, MouseFlags(), MAKELPARAM(x, y));
      break;
    case SDL_MOUSEBUTTONDOWN:
      ToBackBuffer(sw, e.button.x, e.button.y, &x, &y);
      if (e.button.button == SDL_BUTTON_LEFT) {
        // Like a window class with double clicks: the second press of a
        // double click arrives as WM_LBUTTONDBLCLK (down, up, dblclk, up).
        Post(w, LeftPressMessage(e.button.clicks), MouseFlags(), MAKELPARAM(x, y));
      } else if (e.button.button == SDL_BUTTON_RIGHT) {
        // No right double-click message: every right press is a press.
        Post(w, WM_RBUTTONDOWN, MouseFlags(), MAKELPARAM(x, y));
      }
      break;
    case SDL_MOUSEBUTTONUP:
      ToBackBuffer(sw, e.button.x, e.button.y, &x, &y);
      if (e.button.button == SDL_BUTTON_LEFT) Post(w, WM_LBUTTONUP, MouseFlags(), MAKELPARAM(x, y));
      if (e.button.button == SDL_BUTTON_RIGHT) Post(w, WM_RBUTTONUP, MouseFlags(), MAKELPARAM(x, y));
      break;
    case SDL_MOUSEWHEEL: {
      int notches = e.wheel.y;
      if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      if (notches == 0) break;
      const int delta = std::clamp(notches * WHEEL_DELTA, -32768, 32767);
      const WPARAM wParam = (static_cast<WPARAM>(static_cast<uint16_t>(delta)) << 16) | MouseFlags();
      Post(w, WM_MOUSEWHEEL, wParam, MAKELPARAM(g_mouseX, g_mouseY));
      break;
    }
    case SDL_KEYDOWN: {
      const int vk = VirtualKeyFromKeycode(e.key.keysym.sym);
      if (vk != 0)
        Post(w, WM_KEYDOWN, static_cast<WPARAM>(vk), KeyDownParam(e.key), true,
             ModifiersOf(static_cast<SDL_Keymod>(e.key.keysym.mod)));
      break;
    }
    case SDL_KEYUP: {
      const int vk = VirtualKeyFromKeycode(e.key.keysym.sym);
      if (vk != 0) {
        const LPARAM l = 1 | (static_cast<LPARAM>(e.key.keysym.scancode & 0xFF) << 16) |
                         (LPARAM{1} << 30) | static_cast<LPARAM>(0x80000000u);
        Post(w, WM_KEYUP, static_cast<WPARAM>(vk), l, true,
             ModifiersOf(static_cast<SDL_Keymod>(e.key.keysym.mod)));
      }
      break;
    }
    default:
      break;
  }
}

bool VideoActive() {
  return g_mainWindow && g_mainWindow->NativeHandle() && SDL_WasInit(SDL_INIT_VIDEO);
}

void PumpEvents() {
  if (!VideoActive()) return;
  SDL_Event e;
  while (SDL_PollEvent(&e)) TranslateEvent(e);
}

// Updates the key state with a message that leaves the queue.
void NoteKeyState(const QueuedMessage& q) {
  const MSG& m = q.msg;
  if (m.message == WM_KILLFOCUS) {
    std::fill(std::begin(g_keyDown), std::end(g_keyDown), false);
    return;
  }
  if (m.message != WM_KEYDOWN && m.message != WM_KEYUP) return;
  const WPARAM vk = m.wParam & 0xFF;
  g_keyDown[vk] = m.message == WM_KEYDOWN;
  if (q.hasModifiers) {
    g_keyDown[VK_CONTROL] = (q.modifiers & MOD_CTRL) != 0;
    g_keyDown[VK_SHIFT] = (q.modifiers & MOD_SHIFT) != 0;
    g_keyDown[VK_MENU] = (q.modifiers & MOD_ALT) != 0;
  }
}

// Windows-1252 to UTF-8 for the message box and the terminal.
std::string Utf8FromCp1252(const char* text) {
  static const uint16_t high[32] = {
      0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
  std::string out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    unsigned code = *p;
    if (code < 0x80) {
      out += static_cast<char>(code);
      continue;
    }
    if (code < 0xA0) code = high[code - 0x80];
    if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
    } else {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

bool DisplayAvailable() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

PlatformWindow* PlatformWindow::Create(const char* title, int clientWidth, int clientHeight,
                                       bool headless, bool fullscreen, WNDPROC proc) {
  auto* window = new PlatformWindow();
  window->proc_ = proc;
  window->headless_ = headless;
  window->fullscreen_ = fullscreen;
  g_bufferWidth = clientWidth > 0 ? clientWidth : 1024;
  g_bufferHeight = clientHeight > 0 ? clientHeight : 768;
  if (!headless) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
      if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "No window: %s\n", SDL_GetError());
        delete window;
        return nullptr;
      }
      window->ownsVideo_ = true;
    }
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    if (fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_Window* sdlWindow = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                             clientWidth, clientHeight, flags);
    if (!sdlWindow) {
      std::fprintf(stderr, "No window: %s\n", SDL_GetError());
      delete window;
      return nullptr;
    }
    window->native_ = sdlWindow;
    SDL_SetWindowMinimumSize(sdlWindow, MIN_WINDOW_WIDTH, MIN_WINDOW_HEIGHT);
    SDL_StopTextInput();  // keys only; no text composition
  }
  g_mainWindow = window;
  if (proc) proc(window, WM_CREATE, 0, 0);
  return window;
}

PlatformWindow::~PlatformWindow() {
  // Messages for this window can no longer be delivered.
  g_queue.erase(std::remove_if(g_queue.begin(), g_queue.end(),
                               [this](const QueuedMessage& q) { return q.msg.hwnd == this; }),
                g_queue.end());
  if (g_mainWindow == this) g_mainWindow = nullptr;
  if (native_) SDL_DestroyWindow(static_cast<SDL_Window*>(native_));
  native_ = nullptr;
  if (ownsVideo_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void PlatformWindow::Show() {
  if (!native_ || destroyed_) return;
  SDL_ShowWindow(static_cast<SDL_Window*>(native_));
  SDL_RaiseWindow(static_cast<SDL_Window*>(native_));
}

bool PlatformWindow::IsMinimized() const {
  if (!native_) return false;
  return (SDL_GetWindowFlags(static_cast<SDL_Window*>(native_)) & SDL_WINDOW_MINIMIZED) != 0;
}

void PlatformWindow::SetFullscreen(bool fullscreen) {
  fullscreen_ = fullscreen;
  if (native_)
    SDL_SetWindowFullscreen(static_cast<SDL_Window*>(native_),
                            fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

bool PlatformWindow::IsFullscreen() const { return fullscreen_; }

void PlatformWindow::MinimumSize(int* width, int* height) const {
  *width = *height = 0;
  if (native_) SDL_GetWindowMinimumSize(static_cast<SDL_Window*>(native_), width, height);
}

void PlatformWindow::Destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  // The SDL window itself stays until the object is deleted: the drawing
  // device still refers to it until shutdown.
  if (native_) SDL_HideWindow(static_cast<SDL_Window*>(native_));
  if (proc_) proc_(this, WM_DESTROY, 0, 0);
}

bool PeekMessage(MSG* msg) {
  PumpEvents();
  if (g_queue.empty()) return false;
  if (msg) *msg = g_queue.front().msg;
  return true;
}

bool GetMessage(MSG* msg) {
  if (g_queue.empty()) PumpEvents();
  while (g_queue.empty() && VideoActive()) {
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, 100)) TranslateEvent(e);
  }
  MSG none;
  if (g_queue.empty()) {  // nothing can arrive without a window: an empty message
    if (msg) *msg = none;
    return true;
  }
  const QueuedMessage q = g_queue.front();
  g_queue.pop_front();
  NoteKeyState(q);
  if (msg) *msg = q.msg;
  return q.msg.message != WM_QUIT;
}

bool WaitForWindowEvent(int timeoutMilliseconds) {
  if (!g_queue.empty()) return true;
  if (!VideoActive()) return false;
  SDL_Event e;
  if (!SDL_WaitEventTimeout(&e, std::max(timeoutMilliseconds, 0))) return false;
  TranslateEvent(e);
  PumpEvents();
  return true;
}

void TranslateMessage(const MSG*) {}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg || !msg->hwnd || !msg->hwnd->Proc()) return 0;
  return msg->hwnd->Proc()(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Post(window ? window : g_mainWindow, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
  Post(nullptr, WM_QUIT, static_cast<WPARAM>(static_cast<unsigned>(exitCode)), 0);
}

LRESULT DefWindowProc(HWND window, UINT message, WPARAM, LPARAM) {
  // Closing a window destroys it, which sends WM_DESTROY.
  if (message == WM_CLOSE && window) window->Destroy();
  return 0;
}

void ClearMessageQueue() {
  g_queue.clear();
  std::fill(std::begin(g_keyDown), std::end(g_keyDown), false);
}

void WindowToBackBuffer(int windowX, int windowY, int windowWidth, int windowHeight,
                        int bufferWidth, int bufferHeight, int* x, int* y) {
  double bx = windowX, by = windowY;
  if (windowWidth > 0 && windowHeight > 0 && bufferWidth > 0 && bufferHeight > 0) {
    const double scale = std::min(static_cast<double>(windowWidth) / bufferWidth,
                                  static_cast<double>(windowHeight) / bufferHeight);
    const double barX = (windowWidth - bufferWidth * scale) / 2.0;
    const double barY = (windowHeight - bufferHeight * scale) / 2.0;
    bx = std::floor((windowX - barX) / scale);
    by = std::floor((windowY - barY) / scale);
  }
  *x = static_cast<int>(std::clamp(bx, 0.0, static_cast<double>(std::max(bufferWidth - 1, 0))));
  *y = static_cast<int>(std::clamp(by, 0.0, static_cast<double>(std::max(bufferHeight - 1, 0))));
}

UINT LeftPressMessage(int clicks) {
  return clicks >= 2 && clicks % 2 == 0 ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
}

void ShowCursor(bool show) {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

bool IsKeyDown(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return false;
  return g_keyDown[virtualKey];
}

void MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  const std::string utf8Text = Utf8FromCp1252(text ? text : "");
  const std::string utf8Caption = Utf8FromCp1252(caption ? caption : "");
  std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
  std::fflush(stderr);
  if (g_messageBoxHeadless || (owner && owner->Headless()) || !DisplayAvailable()) return;
  const Uint32 flags = (type & MB_ICONERROR) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  SDL_Window* parent = owner ? static_cast<SDL_Window*>(owner->NativeHandle()) : nullptr;
  SDL_ShowSimpleMessageBox(flags, utf8Caption.c_str(), utf8Text.c_str(), parent);
}

void SetMessageBoxHeadless(bool headless) { g_messageBoxHeadless = headless; }
