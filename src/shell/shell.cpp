#include "shell/shell.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>
#include <string>
#include <vector>
#include "audio/sound_effects.h"
#include "data/data_file.h"
#include "framework/app_files.h"
#include "framework/game.h"
#include "gfx/font.h"
#include "gfx/graphics.h"
#include "gfx/sprite.h"
#include "media/intro_video.h"
#include "menu/main_menu.h"
#include "platform/clock.h"
#include "platform/process_stats.h"
#include "util/app_context.h"
#include "util/safe_file.h"
#include "shell/command_line.h"
#include "shell/input_script.h"

namespace {

constexpr D3DCOLOR BACKGROUND_COLOUR = 0xFF646464;
constexpr const char* DATA_FILE = "sport.gob";
// Exit code of a start-up that could not finish, and of a run ended because a
// picture of the data file turned out damaged when it was first needed.
constexpr int EXIT_START_FAILED = 1;
constexpr int EXIT_DATA_DAMAGED = 1;

// The folder the game looks for its files in (the working folder).
std::string WorkingFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? std::string(".") : folder.string();
}

// Says on standard error which file stopped the start and where it was
// looked for; the message box only says that something is missing.
void ReportMissingData(const AppContext& app, const char* failedMember) {
  const std::string folder = WorkingFolder();
  if (!app.dataFile) {
    std::error_code error;
    if (std::filesystem::exists(DATA_FILE, error))
      std::fprintf(stderr, "denkarium: '%s' in the folder '%s' is not a readable data file\n",
                   DATA_FILE, folder.c_str());
    else
      std::fprintf(stderr, "denkarium: the data file '%s' was not found in the folder '%s'\n",
                   DATA_FILE, folder.c_str());
  } else {
    std::fprintf(stderr, "denkarium: the picture '%s' is missing or damaged in '%s' in the folder '%s'\n",
                 failedMember ? failedMember : "?", DATA_FILE, folder.c_str());
  }
  std::fprintf(stderr,
               "denkarium: start the game in the folder that holds sport.gob, deutsch.lng and "
               "english.lng (./denkar play does this)\n");
}

// Both ways out end the same way: the main menu goes first (a running game
// records its result and writes its save file while the graphics still
// exist), then the graphics and sound, then the data file and the window.
// The settings and statistics are written afterwards, when the application
// record ends at process exit.
void LeaveProgram(AppContext& app, ShellState& shell) {
  delete shell.mainMenu;
  shell.mainMenu = nullptr;
  app.currentControl = nullptr;
  Shutdown();
  CloseDataFile(app.dataFile);
  app.dataFile = nullptr;
  app.presentParams.hDeviceWindow = nullptr;
  delete app.hWnd;
  app.hWnd = nullptr;
}

// With DENKAR_MEASURE=FILE set (the benchmark sets it), the run writes a few
// figures to FILE: the time from DENKAR_MEASURE_START (monotonic nanoseconds,
// taken by whoever started the program) to the first frame of the main menu,
// the resident memory then, and at the end how many frames ran, were drawn
// and were presented.
class MeasurementLog {
 public:
  MeasurementLog() {
    const char* path = std::getenv("DENKAR_MEASURE");
    if (path && *path) path_ = path;
    const char* start = std::getenv("DENKAR_MEASURE_START");
    if (start && *start) start_ = std::strtoll(start, nullptr, 10);
  }
  void FrameDone(const AppContext& app) {
    if (path_.empty() || firstFrameWritten_ || !app.device) return;
    firstFrameWritten_ = true;
    const double ms = start_ > 0 ? (MonotonicNanoseconds() - start_) / 1e6 : -1.0;
    Write("first_frame_ms " + std::to_string(ms) + "\nrss_kib " + std::to_string(ResidentKiB()) +
              "\npresent_path " + app.device->PresentPath() + "\n",
          "w");
  }
  void Finish(const AppContext& app, int frames) {
    if (path_.empty() || !app.device) return;
    const RenderDevice::Counters& c = app.device->Stats();
    Write("frames " + std::to_string(frames) + "\nscenes_drawn " + std::to_string(c.scenesDrawn) +
              "\npresents " + std::to_string(c.presents) + "\nrss_kib_end " +
              std::to_string(ResidentKiB()) + "\n",
          "a");
  }

 private:
  void Write(const std::string& text, const char* mode) {
    if (FILE* file = std::fopen(path_.c_str(), mode)) {
      std::fputs(text.c_str(), file);
      std::fclose(file);
    }
  }
  std::string path_;
  int64_t start_ = 0;
  bool firstFrameWritten_ = false;
};

bool SaveScreenshot(const AppContext& app, const std::string& path) {
  if (app.device && app.device->SavePNG(path)) return true;
  std::fprintf(stderr, "denkarium: cannot write the screenshot '%s'\n", path.c_str());
  return false;
}

}  // namespace

ShellState& GetShellState() {
  static ShellState state;
  return state;
}

Game* CreateMainControl() { return new MainMenu(); }

IntroResult PlayStartupIntro(ShellState& shell, const IntroHost& host) {
  const IntroResult intro = PlayIntroVideo("intro.avi", host);
  // The release of the Escape that skipped the clip must not reach the menu.
  // When the key went up during the clip, there is no release left to swallow.
  if (intro.end == IntroEnd::Skipped && intro.escapeHeld) shell.escapeReleaseAllowed = false;
  return intro;
}

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  AppContext& app = GetAppContext();
  ShellState& shell = GetShellState();
  MyControl* control = app.currentControl;
  // Positions: low and high word of lParam, unsigned.
  const int x = LOWORD(static_cast<uintptr_t>(lParam));
  const int y = HIWORD(static_cast<uintptr_t>(lParam));
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_PAINT:
      return 0;  // every frame is drawn whole; nothing to validate
    case WM_KILLFOCUS:
      // Keys released in another window never reach this one.
      shell.ctrlDown = false;
      shell.swallowEnterRelease = false;
      break;
    case WM_KEYDOWN: {
      const int key = static_cast<int>(wParam & 0xFFFF);
      shell.ctrlDown = key == VK_CONTROL || shell.isKeyDown(VK_CONTROL);
      if (key == VK_RETURN && shell.ctrlDown) {
        SwitchFullscreen();  // also on every key repeat of Enter
        shell.swallowEnterRelease = true;
        break;
      }
      if (control) control->OnKeyDown(key);
      break;
    }
    case WM_KEYUP: {
      const int key = static_cast<int>(wParam & 0xFFFF);
      if (key == VK_ESCAPE && !shell.escapeReleaseAllowed) {
        shell.escapeReleaseAllowed = true;  // the release of the Escape that skipped the intro
        break;
      }
      if (key == VK_RETURN && shell.swallowEnterRelease) {
        shell.swallowEnterRelease = false;  // the Enter of a display switch
        break;
      }
      shell.ctrlDown = key != VK_CONTROL && shell.isKeyDown(VK_CONTROL);
      if (control) control->OnKeyUp(key);
      break;
    }
    case WM_MOUSEMOVE:
      app.prevMouseX = app.mouseX;
      app.prevMouseY = app.mouseY;
      app.mouseX = x;
      app.mouseY = y;
      if (control) control->OnMouseMove(x, y);
      break;
    case WM_LBUTTONDOWN:
      if (control) control->OnLButtonDown(x, y);
      break;
    case WM_LBUTTONUP:
      if (control) control->OnLButtonUp(x, y);
      break;
    case WM_LBUTTONDBLCLK:
      // The second press of a double click is a press like any other (games
      // count presses), and the double click is reported as well.
      if (control) {
        control->OnLButtonDown(x, y);
        control->OnLButtonDblClk(x, y);
      }
      break;
    case WM_RBUTTONDOWN:
      if (control) control->OnRButtonDown(x, y);
      break;
    case WM_RBUTTONUP:
      if (control) control->OnRButtonUp(x, y);
      break;
    case WM_MOUSEWHEEL:
      if (control) control->OnMouseWheel(wParam);
      break;
    default:
      break;
  }
  return DefWindowProc(window, message, wParam, lParam);
}

void StartFrameTimer(AppContext& app, bool highResolution) {
  int64_t frequency = 0;
  if (highResolution && QueryPerformanceFrequency(&frequency) && frequency > 0) {
    app.usePerfCounter = true;
    app.secondsPerTick = 1.0 / static_cast<double>(frequency);
    QueryPerformanceCounter(&app.lastCounter);
  } else {
    app.usePerfCounter = false;
    app.secondsPerTick = 0.001;
    app.lastCounter = GetTickCount();
  }
  app.currentCounter = app.lastCounter;
}

int64_t ReadFrameCounter(const AppContext& app) {
  if (app.usePerfCounter) {
    int64_t counter = 0;
    QueryPerformanceCounter(&counter);
    return counter;
  }
  // The tick count only moves forward, so a smaller low half is a wrap.
  const int64_t ticks = GetTickCount();
  int64_t counter = (app.lastCounter & ~int64_t{0xFFFFFFFF}) | ticks;
  if (counter < app.lastCounter) counter += int64_t{1} << 32;
  return counter;
}

void Tick() {
  AppContext& app = GetAppContext();
  Tick(app, GetShellState(), ReadFrameCounter(app));
}

void Tick(AppContext& app, ShellState& shell, int64_t counter) {
  app.currentCounter = counter;
  const double elapsed = static_cast<double>(app.currentCounter - app.lastCounter) * app.secondsPerTick;
  app.frameTime = app.paused ? 0.0 : elapsed;
  app.realFrameTime = elapsed;
  app.lastCounter = app.currentCounter;
  shell.carriedFrameTime += app.frameTime;
  if (shell.carriedFrameTime >= 0) {
    app.frameTime = shell.carriedFrameTime;
    shell.carriedFrameTime = 0;
    if (shell.mainMenu) shell.mainMenu->Update();
  } else {
    app.frameTime = 0;  // no update this frame; the shortfall is carried on
  }
}

bool DrawFrame() {
  AppContext& app = GetAppContext();
  ShellState& shell = GetShellState();
  shell.frameChanged = false;
  if (!app.device) return false;
  // The device records the scene and draws it only when it differs from the
  // picture already in the back buffer.
  app.device->BeginScene();
  app.device->Clear(BACKGROUND_COLOUR);
  if (app.sprite) app.sprite->Begin();
  if (shell.mainMenu) {
    shell.mainMenu->Render();
    if (auto* menu = dynamic_cast<MainMenu*>(shell.mainMenu)) menu->DrawCursor();
  }
  if (app.sprite) app.sprite->End();
  shell.frameChanged = app.device->EndScene();
  app.device->Present();
  return shell.frameChanged;
}

void FramePacer::FrameRan(double now, bool changed, bool busy) {
  lastFrame = now;
  if (changed) lastActivity = now;
  double wait = refresh;
  const double quiet = now - lastActivity;
  if (!busy && quiet >= quietAfter) wait = std::clamp(quiet / 2, refresh, longestWait);
  nextFrame = now + wait;
}

void FramePacer::InputArrived(double now) {
  lastActivity = now;
  nextFrame = std::min(nextFrame, lastFrame + refresh);
}

bool RunIdleTurn(HRESULT level) {
  if (level == D3DERR_DEVICELOST) {
    // Minimised: nothing to draw until the window is back. The short sleep
    // keeps the loop from spinning a whole core meanwhile.
    Sleep(10);
    return false;
  }
  if (level == D3DERR_DEVICENOTRESET) {
    ResetDevice();
    return false;
  }
  Tick();
  DrawFrame();
  return true;
}

void ResetDevice() {
  AppContext& app = GetAppContext();
  ShellState& shell = GetShellState();
  FontManager& fonts = GetFontManager();
  if (shell.mainMenu) shell.mainMenu->OnLostDevice();
  fonts.OnLostDevice();
  if (app.sprite) app.sprite->OnLostDevice();
  if (app.device) app.device->Reset(app.presentParams);  // a failure shows up next turn again
  if (shell.mainMenu) shell.mainMenu->OnResetDevice();
  fonts.OnResetDevice();
  if (app.sprite) app.sprite->OnResetDevice();
  // The frame timer restarts here: the frames missed while the device was
  // lost (or the window was minimised) are no play time.
  app.lastCounter = ReadFrameCounter(app);
}

void SwitchFullscreen() {
  AppContext& app = GetAppContext();
  app.fullscreen = !app.fullscreen;
  app.presentParams.Windowed = !app.fullscreen;
  if (app.hWnd) app.hWnd->SetFullscreen(app.fullscreen);
  ++GetShellState().fullscreenSwitches;
  ResetDevice();
}

void Shutdown() {
  ReleaseGraphics();  // fonts, the textures, the sprite, the device
  ReleaseSound();     // buffer i of every effect for i = 0 ... 9, then the sound device
}

int RunApplication(const CommandLine& cmd) {
  // The script is read before anything else, so a bad script stops the
  // program before it touches any file.
  std::unique_ptr<InputScriptPlayer> player;
  if (!cmd.inputFile.empty()) {
    std::string text, error;
    if (!ReadWholeFile(cmd.inputFile, &text)) {
      std::fprintf(stderr, "denkarium: cannot read the input script '%s'\n", cmd.inputFile.c_str());
      return 2;
    }
    std::vector<ScriptCommand> commands;
    if (!ParseInputScript(text, cmd.inputFile, &commands, &error)) {
      std::fprintf(stderr, "denkarium: %s\n", error.c_str());
      return 2;
    }
    player = std::make_unique<InputScriptPlayer>(std::move(commands));
  }
  if (cmd.seedGiven) ClockSetTickStart(cmd.seed);
  if (cmd.dateGiven) ClockFixDate(cmd.dateYear, cmd.dateMonth, cmd.dateDay);
  ClockUseVirtual(cmd.headless);
  SetMessageBoxHeadless(cmd.headless);

  // 1. The application record: statistics, settings and language texts.
  AppContext& app = GetAppContext();
  OpenApplicationFiles(app);
  ShellState& shell = GetShellState();
  app.headless = cmd.headless;
  // --windowed is for this run only: unless the player switches the mode,
  // the stored setting is written back unchanged.
  const bool storedFullscreen = app.fullscreen;
  if (cmd.windowed) app.fullscreen = false;
  auto restoreStoredMode = [&] {
    if (cmd.windowed && shell.fullscreenSwitches == 0) app.fullscreen = storedFullscreen;
  };

  // The font libraries start while the window is made and the sheets load.
  PrepareFonts();

  // 4. The display fields.
  app.runState = 0;
  app.d3d = nullptr;
  app.screenWidth = 1024;
  app.screenHeight = 768;

  // 5. The data file; a missing one shows up as missing textures.
  app.dataFile = OpenDataFile(DATA_FILE);
  // The sheets decode while the window and the device are made.
  BeginLoadingTextures();

  // 6. The window (hidden until the intro or the loading screen shows it).
  app.hWnd = PlatformWindow::Create("Denkarium", app.screenWidth, app.screenHeight, cmd.headless,
                                    app.fullscreen, WindowProc);

  // 7. The device. Without a window there is nothing to draw into, which is
  // reported like a device failure.
  if ((!app.hWnd && !cmd.headless) || FAILED(InitDirect3D())) {
    MessageBox(nullptr, "Direct3D kann nicht initialisiert werden", "Fehler!", MB_ICONERROR);
    std::fprintf(stderr, "denkarium: %s\n",
                 app.hWnd || cmd.headless ? "no drawing device could be made" : "no window could be opened");
    LeaveProgram(app, shell);
    restoreStoredMode();
    return EXIT_START_FAILED;
  }

  // 3. The intro, only full screen. It plays on the window and device just
  // made (before anything else is shown), and its frames are frames of the
  // run: scripted input, screenshots and --frames count them.
  int framesDrawn = 0;
  if (app.playIntro && app.fullscreen) {
    IntroHost host;
    host.beforeFrame = [&] {
      if (cmd.frames >= 0 && framesDrawn >= cmd.frames) return false;
      if (player) player->BeforeFrame(app.hWnd);
      return true;
    };
    host.afterFrame = [&](const IntroFrame&) {
      ++framesDrawn;
      if (player)
        for (const std::string& shot : player->TakeScreenshots()) SaveScreenshot(app, shot);
    };
    PlayStartupIntro(shell, host);
  }

  // 8. The system cursor stays hidden (the menu draws its own); show the window.
  ShowCursor(false);
  if (app.hWnd) app.hWnd->Show();

  // The sound device opens while the textures load (after the intro, which
  // has its own sound); InitSound takes it.
  PrepareSound(cmd.headless);

  // 9. The textures behind the loading screen.
  const char* missingTexture = nullptr;
  if (FAILED(LoadTextures(&missingTexture))) {
    MessageBox(nullptr, "Es wurden nicht alle notwendigen Texturdateien gefunden", "Fehler!",
               MB_ICONERROR);
    ReportMissingData(app, missingTexture);
    LeaveProgram(app, shell);
    restoreStoredMode();
    return EXIT_START_FAILED;
  }

  // 10. Sound; without it the game runs silently. A machine without a sound
  // device is no error the player must acknowledge: one line says it.
  if (FAILED(InitSound(RefreshLoadingScreen))) {
    std::fprintf(stderr, "denkarium: no sound device; the sound effects are silent\n");
    app.soundVolume = 0;
    app.musicVolume = 0;
  }

  // 11. The splash picture was only needed by the loading screen.
  ReleaseTexture(app.texSplash);

  // 12. The main control.
  shell.mainMenu = CreateMainControl();
  app.currentControl = shell.mainMenu;

  // 13. The frame timer.
  int64_t frequency = 0;
  StartFrameTimer(app, QueryPerformanceFrequency(&frequency));

  // 14. The loop. Headless, frames follow each other at once on the virtual
  // clock; in a window they are paced (FramePacer).
  const bool paced = !cmd.headless;
  FramePacer pacer;
  pacer.refresh = app.device->RefreshInterval();
  auto secondsNow = [&] {
    int64_t counter = 0, frequency = 1;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter) / static_cast<double>(frequency > 0 ? frequency : 1);
  };
  MeasurementLog measurements;
  int exitCode = 0;
  bool scriptRanForFrame = false;
  bool inputArrived = false;
  for (;;) {
    if (cmd.frames >= 0 && framesDrawn >= cmd.frames) app.runState = 2;
    if (app.runState == 2) break;  // exit path B: the quit button (or --frames)

    MSG msg;
    if (PeekMessage(&msg)) {
      if (!GetMessage(&msg)) {  // exit path A: the window was closed
        exitCode = static_cast<int>(msg.wParam);
        break;
      }
      TranslateMessage(&msg);
      DispatchMessage(&msg);
      inputArrived = true;
      continue;
    }

    // The script's input for the next frame goes through the queue first.
    if (player && !scriptRanForFrame) {
      scriptRanForFrame = true;
      if (player->BeforeFrame(app.hWnd)) continue;
    }

    if (paced) {
      double now = secondsNow();
      if (inputArrived) pacer.InputArrived(now);
      inputArrived = false;
      const double wait = pacer.SecondsToWait(now);
      if (wait > 0) {
        if (WaitForWindowEvent(static_cast<int>(std::ceil(wait * 1000.0)))) {
          // Input after a long quiet spell: the clocks first catch up to now,
          // so the input lands in a frame as short as at the full frame rate.
          now = secondsNow();
          if (now - pacer.lastFrame > 2 * pacer.refresh &&
              app.device->TestCooperativeLevel() == S_OK)
            Tick();
          pacer.InputArrived(now);
        }
        continue;
      }
    }

    if (ClockIsVirtual()) ClockAdvanceFrame();
    if (!RunIdleTurn(app.device->TestCooperativeLevel())) continue;
    ++framesDrawn;
    scriptRanForFrame = false;
    if (paced) {
      // Scripts and counted runs keep the full frame rate, like a play.
      const bool busy = app.runState == 1 || player || cmd.frames >= 0;
      pacer.FrameRan(secondsNow(), shell.frameChanged, busy);
    }
    measurements.FrameDone(app);
    if (player)
      for (const std::string& shot : player->TakeScreenshots()) SaveScreenshot(app, shot);
  }
  measurements.Finish(app, framesDrawn);
  if (DamagedSheet() && exitCode == 0) exitCode = EXIT_DATA_DAMAGED;

  // Screenshots asked for right before the end show the last frame drawn.
  if (player)
    for (const std::string& shot : player->TakeScreenshots()) SaveScreenshot(app, shot);
  if (!cmd.screenshot.empty() && !SaveScreenshot(app, cmd.screenshot) && exitCode == 0) exitCode = 1;
  LeaveProgram(app, shell);
  restoreStoredMode();
  return exitCode;
}
