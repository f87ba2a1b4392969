// The application shell: start-up, the message and frame loop, frame timing,
// drawing of a frame, the device reset, the window procedure with its input
// routing, the full-screen switch and the orderly exit.
#pragma once
#include <cstdint>
#include "media/intro_video.h"
#include "platform/window.h"

class AppContext;
class Game;
struct CommandLine;

// The shell's own state besides the application record.
struct ShellState {
  // The main control (the main menu): the loop calls its Update and Render,
  // the device reset its OnLostDevice / OnResetDevice.
  Game* mainMenu = nullptr;
  // Ctrl is held: taken from the real key state at every key message, so a
  // Ctrl release that went to another window cannot leave it set; cleared
  // when the window loses the focus.
  bool ctrlDown = false;
  // False after the intro was skipped with Escape: that key's release is
  // then swallowed, once.
  bool escapeReleaseAllowed = true;
  // The Enter release of a Ctrl+Enter switch is swallowed, so a game never
  // sees an Enter that only switched the display.
  bool swallowEnterRelease = false;
  // Where "Ctrl is held" comes from (tests put in their own).
  bool (*isKeyDown)(int virtualKey) = IsKeyDown;
  // Tick's carried frame time: negative while a clock that stepped back is
  // being made up.
  double carriedFrameTime = 0;
  int fullscreenSwitches = 0;  // Ctrl+Enter switches in this run
  bool frameChanged = false;   // the last frame drawn changed the picture
};

ShellState& GetShellState();

// Start-up step 12: the control that receives all input and draws everything.
Game* CreateMainControl();

// Start-up step 3: plays "intro.avi" from the working folder. When Escape
// skipped it and is still held, its release is swallowed once afterwards.
IntroResult PlayStartupIntro(ShellState& shell, const IntroHost& host);

// The window procedure: WM_* messages to the current control.
LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Start-up step 13: the frame timer on the high-resolution counter, or on the
// millisecond tick count when there is none.
void StartFrameTimer(AppContext& app, bool highResolution);
// The frame timer's current value. The tick count is widened to 64 bits, so
// its wrap after 49.7 days is not a step back.
int64_t ReadFrameCounter(const AppContext& app);
// Frame timing with the counter read now, and with a given counter value.
void Tick();
void Tick(AppContext& app, ShellState& shell, int64_t counter);
// Clears, draws the main control (and its cursor) in one sprite batch, presents.
// A frame that would draw exactly the picture on screen draws and presents
// nothing; true when the picture changed.
bool DrawFrame();
// One idle turn of the loop for the device's state: a lost device (the
// window is minimised) runs nothing, a device that can be reset gets the reset
// procedure, otherwise a frame is updated and drawn. True when it ran a frame.
bool RunIdleTurn(HRESULT cooperativeLevel);
// The device reset procedure; afterwards the frame timer starts again from
// now, so the time the device was away is not charged to a running play.
void ResetDevice();
// Ctrl+Enter: full screen <-> window, then the device reset procedure.
void SwitchFullscreen();
// Releases fonts, textures, sprite, device, then the sound buffers and the
// sound device. Safe to call more than once.
void Shutdown();

// When the loop in a window runs its next frame. Frames that change the
// picture, and frames right after input, come once per display refresh.
// While nothing changes the loop sleeps longer and longer (up to
// `longestWait`) between frames, unless `busy` (a play runs, where clocks and
// animations go on without input). Input ends the sleep at once. The frames
// still measure real time, so the game's clocks keep their pace.
struct FramePacer {
  double refresh = 1.0 / 60.0;  // seconds between two display refreshes
  double quietAfter = 0.25;     // unchanged seconds before the loop slows down
  double longestWait = 0.5;
  double lastFrame = -1e9;      // when the last frame ran
  double lastActivity = -1e9;   // the last change of the picture, or input
  double nextFrame = 0;

  void FrameRan(double now, bool changed, bool busy);
  void InputArrived(double now);
  double SecondsToWait(double now) const { return nextFrame > now ? nextFrame - now : 0.0; }
};

// The whole program: start-up, loop, exit; returns the process exit code.
int RunApplication(const CommandLine& commandLine);
