// denkar_bench: measures the game's start-up, memory, idle cost and the cost
// of a frame on every screen, prints a table and writes the figures as JSON.
//
//   denkar_bench GAME DATA_DIR OUT.json [--quick] [--only TEXT] [--frames N]
//
// --only TEXT measures just the frames of the screens whose name contains
// TEXT (for example "game 10") and leaves out the out-of-process figures;
// handy under a profiler. --frames N measures N frames per screen.
// GAME is the denkarium binary, DATA_DIR holds sport.gob and the language
// files. Everything runs in a scratch folder, so no player's files are
// touched. The windowed measurements need a display (./denkar bench starts a
// virtual one when there is none).
//
// Frame costs are CPU time of the drawing thread for one headless frame
// (update and draw), given as a ratio to one plain 1024 x 768 blit timed
// between the frames of the same screen, so both see the machine alike:
// "frame" is the frame as the game runs it (a frame that draws the picture
// already on screen costs only its recording), "full" the same frame drawn
// in full, without comparing it with the scene before.
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "audio/sound_effects.h"
#include "data/data_file.h"
#include "framework/app_files.h"
#include "framework/denkar_game.h"
#include "framework/gui_element.h"
#include "gfx/font.h"
#include "gfx/glyph_atlas.h"
#include "gfx/graphics.h"
#include "menu/game_list.h"
#include "menu/main_menu.h"
#include "platform/clock.h"
#include "platform/process_stats.h"
#include "platform/render_device.h"
#include "platform/window.h"
#include "shell/shell.h"
#include "util/app_context.h"

// ---------------------------------------------------------------- allocation count

namespace {
std::atomic<long long> g_allocations{0};
}

// Counting wrappers around malloc and free; the sized and array forms all
// come here, which the compiler cannot see through.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

// ---------------------------------------------------------------- helpers

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::map<std::string, std::string> ReadMeasureFile(const std::string& path) {
  std::map<std::string, std::string> values;
  std::ifstream in(path);
  std::string key, value;
  while (in >> key >> value) values[key] = value;
  return values;
}

double Number(const std::map<std::string, std::string>& m, const std::string& key) {
  auto it = m.find(key);
  return it == m.end() ? -1 : std::atof(it->second.c_str());
}

struct Child {
  pid_t pid = -1;
};

Child Spawn(const std::string& game, const std::vector<std::string>& args,
            const std::string& measureFile) {
  Child child;
  const std::string start = std::to_string(MonotonicNanoseconds());
  child.pid = fork();
  if (child.pid == 0) {
    setenv("DENKAR_MEASURE", measureFile.c_str(), 1);
    setenv("DENKAR_MEASURE_START", start.c_str(), 1);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(game.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // The game's own messages are not part of the table.
    if (FILE* null = std::fopen("/dev/null", "w")) dup2(fileno(null), 2);
    execv(game.c_str(), argv.data());
    _exit(127);
  }
  return child;
}

bool WaitExit(pid_t pid, double seconds) {
  const int64_t end = MonotonicNanoseconds() + static_cast<int64_t>(seconds * 1e9);
  while (MonotonicNanoseconds() < end) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

void Stop(pid_t pid) {
  kill(pid, SIGTERM);
  if (!WaitExit(pid, 5)) {
    kill(pid, SIGKILL);
    WaitExit(pid, 5);
  }
}

// CPU nanoseconds and context switches (each one a wake-up of a thread that
// slept or was preempted) summed over every thread of a process.
struct ProcessSample {
  double cpuNs = 0;
  double switches = 0;
};

ProcessSample Sample(pid_t pid) {
  ProcessSample s;
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  DIR* dir = opendir(tasks.c_str());
  if (!dir) return s;
  while (dirent* e = readdir(dir)) {
    if (e->d_name[0] == '.') continue;
    const std::string base = tasks + "/" + e->d_name;
    std::ifstream sched(base + "/schedstat");
    double ns = 0;
    if (sched >> ns) s.cpuNs += ns;
    std::ifstream status(base + "/status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.rfind("voluntary_ctxt_switches:", 0) == 0 ||
          line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
        s.switches += std::atof(line.substr(line.find(':') + 1).c_str());
    }
  }
  closedir(dir);
  return s;
}

double ResidentOf(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.substr(6).c_str());
  return -1;
}

bool WaitForFirstFrame(const std::string& measureFile, double seconds) {
  const int64_t end = MonotonicNanoseconds() + static_cast<int64_t>(seconds * 1e9);
  while (MonotonicNanoseconds() < end) {
    if (Number(ReadMeasureFile(measureFile), "first_frame_ms") >= 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

// ---------------------------------------------------------------- out-of-process figures

struct StartFigures {
  double ms = -1;
  double rssKiB = -1;
  std::string path;
};

StartFigures MeasureStart(const std::string& game, bool window, int runs) {
  std::vector<double> ms, rss;
  StartFigures f;
  for (int i = 0; i < runs; ++i) {
    const std::string file = "measure_start.txt";
    std::remove(file.c_str());
    std::vector<std::string> args = {"--frames", "1"};
    args.push_back(window ? "--windowed" : "--headless");
    Child c = Spawn(game, args, file);
    if (!WaitExit(c.pid, 60)) Stop(c.pid);
    const auto m = ReadMeasureFile(file);
    if (Number(m, "first_frame_ms") >= 0) {
      ms.push_back(Number(m, "first_frame_ms"));
      rss.push_back(Number(m, "rss_kib"));
      f.path = m.count("present_path") ? m.at("present_path") : "";
    }
  }
  if (!ms.empty()) {
    f.ms = Median(ms);
    f.rssKiB = Median(rss);
  }
  return f;
}

struct IdleFigures {
  double cpuPercent = -1;
  double wakeupsPerSecond = -1;
  double rssKiB = -1;
  double presentsPerSecond = -1;
};

// Runs the game in a window, lets it settle, then watches it for `seconds`.
IdleFigures MeasureIdle(const std::string& game, const std::vector<std::string>& extraArgs,
                        double settleSeconds, double seconds) {
  IdleFigures f;
  const std::string file = "measure_idle.txt";
  std::remove(file.c_str());
  std::vector<std::string> args = {"--windowed"};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  Child c = Spawn(game, args, file);
  if (!WaitForFirstFrame(file, 30)) {
    Stop(c.pid);
    return f;
  }
  std::this_thread::sleep_for(std::chrono::duration<double>(settleSeconds));
  const ProcessSample a = Sample(c.pid);
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  const ProcessSample b = Sample(c.pid);
  f.rssKiB = ResidentOf(c.pid);
  Stop(c.pid);
  f.cpuPercent = (b.cpuNs - a.cpuNs) / (seconds * 1e9) * 100.0;
  f.wakeupsPerSecond = (b.switches - a.switches) / seconds;
  return f;
}

// ---------------------------------------------------------------- in-process frames

struct FrameFigures {
  std::string screen;
  double frameRatio = 0;   // median frame as run / blit
  double redrawRatio = 0;  // median frame drawn in full / blit
  double allocationsPerFrame = 0;
  double glyphsPerFrame = 0;
};

class Bench {
 public:
  bool Start() {
    ClockUseVirtual(true);
    SetMessageBoxHeadless(true);
    AppContext& app = GetAppContext();
    OpenApplicationFiles(app);
    app.headless = true;
    app.fullscreen = false;
    app.dataFile = OpenDataFile("sport.gob");
    app.hWnd = PlatformWindow::Create("Denkarium", 1024, 768, true, false, WindowProc);
    if (FAILED(InitDirect3D()) || FAILED(LoadTextures())) return false;
    InitSound(RefreshLoadingScreen);
    ReleaseTexture(app.texSplash);
    shell_ = &GetShellState();
    menu_ = static_cast<MainMenu*>(CreateMainControl());
    shell_->mainMenu = menu_;
    app.currentControl = menu_;
    StartFrameTimer(app, true);
    PrepareBlit();
    return true;
  }

  ~Bench() {
    AppContext& app = GetAppContext();
    delete menu_;
    if (shell_) shell_->mainMenu = nullptr;
    app.currentControl = nullptr;
    Shutdown();
    CloseDataFile(app.dataFile);
    app.dataFile = nullptr;
  }

  // The median blit of all screens measured.
  double BlitNs() const {
    if (allBlits_.empty()) return 1;
    std::vector<double> all = allBlits_;
    return Median(all);
  }

  void RunFrame() {
    ClockAdvanceFrame();
    Tick();
    DrawFrame();
  }

  FrameFigures Measure(const std::string& screen, int frames) {
    AppContext& app = GetAppContext();
    for (int i = 0; i < 20; ++i) RunFrame();  // the first frames make caches and glyphs
    std::vector<double> asRun, redraw, blits;
    asRun.reserve(frames);
    redraw.reserve(frames);
    blits.reserve(2 * static_cast<size_t>(frames));
    const long long allocations = g_allocations.load();
    const long long glyphs = GlyphAtlas::rasterisedByAll;
    for (int i = 0; i < frames; ++i) {
      const int64_t t0 = ThreadCpuNanoseconds();
      RunFrame();
      asRun.push_back(static_cast<double>(ThreadCpuNanoseconds() - t0));
      blits.push_back(TimeOneBlit());
    }
    // Counted before the figures are filled in: copying a long screen name
    // allocates too.
    const long long allocated = g_allocations.load() - allocations;
    const long long rasterised = GlyphAtlas::rasterisedByAll - glyphs;
    FrameFigures f;
    f.screen = screen;
    f.allocationsPerFrame = static_cast<double>(allocated) / frames;
    f.glyphsPerFrame = static_cast<double>(rasterised) / frames;
    for (int i = 0; i < frames; ++i) {
      app.device->ForgetLastScene();
      const int64_t t0 = ThreadCpuNanoseconds();
      RunFrame();
      redraw.push_back(static_cast<double>(ThreadCpuNanoseconds() - t0));
      blits.push_back(TimeOneBlit());
    }
    // Blits timed between the frames see the machine as the frames do.
    const double blit = std::max(1.0, Median(blits));
    allBlits_.push_back(blit);
    f.frameRatio = Median(asRun) / blit;
    f.redrawRatio = Median(redraw) / blit;
    return f;
  }

  // Clicks the element of the visible page as a player would; the position
  // goes into `script` as well.
  bool Click(int id, std::string* script) {
    for (int slot = 0; slot < GAME_ELEMENT_COUNT; ++slot) {
      GUIElement* root = menu_->elementEnabled[slot] ? menu_->elements[slot] : nullptr;
      if (!root) continue;
      for (int i = 0; i < root->children.Count(); ++i) {
        const GUIElement* e = root->children.Get(i);
        if (e->GetId() != id) continue;
        const int x = root->x + (e->x + e->right) / 2, y = root->y + (e->y + e->bottom) / 2;
        const LPARAM at = MAKELPARAM(x, y);
        WindowProc(GetAppContext().hWnd, WM_MOUSEMOVE, 0, at);
        WindowProc(GetAppContext().hWnd, WM_LBUTTONDOWN, 0, at);
        WindowProc(GetAppContext().hWnd, WM_LBUTTONUP, 0, at);
        if (script) *script += "click " + std::to_string(x) + " " + std::to_string(y) + "\nwait 10\n";
        for (int k = 0; k < 10; ++k) RunFrame();
        return true;
      }
    }
    return false;
  }

  // From page 1 to the game list's entry, as StartGame from the menu.
  bool StartFromMenu(int index, int difficulty, std::string* script) {
    if (!Click(2, script) || !Click(11 + difficulty, script) || !Click(17, script)) return false;
    for (int scroll = 0; scroll < 16 && !Click(22 + index, script); ++scroll)
      if (!Click(menu_->listOffset > index ? 20 : 21, script)) return false;
    return menu_->activeGame != nullptr;
  }

  void SkipCountdown() {
    menu_->startCountdown = 1.0 / 120;
    RunFrame();
  }

  void LeaveGame() {
    menu_->FinishGame();
    menu_->seriesMode = false;
    GetAppContext().runState = 0;
    GetAppContext().paused = false;
    menu_->SetPage(1);
    RunFrame();
  }

  MainMenu* Menu() { return menu_; }

 private:
  // The blit: an opaque 1024 x 768 picture (the menu background) drawn
  // unscaled onto a device of its own, so timing it between frames leaves the
  // game's device and its last scene alone.
  void PrepareBlit() {
    AppContext& app = GetAppContext();
    plain_.width = 1024;
    plain_.height = 768;
    plain_.texels.assign(1024 * 768, 0xFF336699u);
    if (app.texBg && app.texBg->width >= 1024 && app.texBg->height >= 768)
      for (int y = 0; y < 768; ++y)
        std::copy_n(app.texBg->texels.begin() + static_cast<ptrdiff_t>(y) * app.texBg->width, 1024,
                    plain_.texels.begin() + static_cast<ptrdiff_t>(y) * 1024);
    D3DPRESENT_PARAMETERS params;
    params.BackBufferWidth = 1024;
    params.BackBufferHeight = 768;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    blitDevice_ = RenderDevice::Create(params);
  }

  double TimeOneBlit() {
    if (!blitDevice_) return 1;
    const int64_t t0 = ThreadCpuNanoseconds();
    blitDevice_->DrawTexture(plain_, RECT{0, 0, 1024, 768}, Matrix2D{}, 0xFFFFFFFF);
    return static_cast<double>(ThreadCpuNanoseconds() - t0);
  }

  ShellState* shell_ = nullptr;
  MainMenu* menu_ = nullptr;
  Texture plain_;
  std::unique_ptr<RenderDevice> blitDevice_;
  std::vector<double> allBlits_;
};

std::string Fixed(double v, int digits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", digits, v);
  return buf;
}

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: denkar_bench GAME DATA_DIR OUT.json [--quick] [--only TEXT] [--frames N]\n");
    return 2;
  }
  const std::string game = std::filesystem::absolute(argv[1]).string();
  const std::filesystem::path data = std::filesystem::absolute(argv[2]);
  const std::string out = std::filesystem::absolute(argv[3]).string();
  bool quick = false;
  std::string only;
  int framesPerScreen = 0;
  for (int i = 4; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quick") == 0) quick = true;
    else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) only = argv[++i];
    else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc)
      framesPerScreen = std::max(1, std::atoi(argv[++i]));
  }
  const bool outOfProcess = only.empty();
  auto wanted = [&](const std::string& screen) {
    return only.empty() || screen.find(only) != std::string::npos;
  };
  const double idleSeconds = quick ? 3 : 10;

  // A scratch folder with the data files; settings and saves stay in it.
  char pattern[] = "/tmp/denkar_bench_XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  const std::filesystem::path scratch = pattern;
  for (const char* name : {"sport.gob", "deutsch.lng", "english.lng"}) {
    std::error_code error;
    std::filesystem::create_symlink(data / name, scratch / name, error);
  }
  if (chdir(scratch.c_str()) != 0) return 1;

  // In-process headless frames: every page, every game at every difficulty.
  std::vector<FrameFigures> frames;
  std::string playScript;
  double blitNs = 0;
  {
    Bench bench;
    if (!bench.Start()) {
      std::fprintf(stderr, "denkar_bench: the game cannot start headless here\n");
      return 1;
    }
    const int n = framesPerScreen > 0 ? framesPerScreen : quick ? 15 : 41;
    MainMenu* menu = bench.Menu();
    auto measure = [&](const std::string& screen) {
      if (wanted(screen)) frames.push_back(bench.Measure(screen, n));
    };
    measure("main menu");
    for (int page : {9, 14, 18, 38, 40, 43}) {
      menu->SetPage(page);
      measure("page " + std::to_string(page));
    }
    menu->SetPage(1);
    bench.RunFrame();
    for (int index = 0; index < GAME_LIST_COUNT; ++index) {
      for (int difficulty = 0; difficulty < 3; ++difficulty) {
        const std::string name =
            "game " + std::to_string(index) + " difficulty " + std::to_string(difficulty);
        const bool pagesOver = index == 0 && difficulty == 0;
        const bool memoryGame = index == 5 && difficulty == 0;
        if (!wanted(name) && !(pagesOver && wanted("over a game")) &&
            !(memoryGame && outOfProcess))
          continue;
        std::string script = "wait 30\n";
        if (!bench.StartFromMenu(index, difficulty, &script)) {
          std::fprintf(stderr, "denkar_bench: game %d cannot be started\n", index);
          bench.LeaveGame();
          continue;
        }
        if (memoryGame) playScript = script;
        bench.SkipCountdown();
        measure(name);
        if (pagesOver) {
          // The pages shown over a running game.
          for (int page : {45, 50, 52, 55}) {
            menu->SetPage(page);
            measure("page " + std::to_string(page) + " over a game");
          }
          menu->SetPage(0);
        }
        bench.LeaveGame();
      }
    }
    blitNs = bench.BlitNs();
  }

  // Out of process: start-up, memory and idle cost in a real window.
  const int runs = quick ? 1 : 3;
  StartFigures startHeadless, startWindow;
  IdleFigures idle, play;
  if (outOfProcess) {
    startHeadless = MeasureStart(game, false, runs);
    startWindow = MeasureStart(game, true, runs);
    idle = MeasureIdle(game, {}, 1.5, idleSeconds);
    {
      std::ofstream script("play.txt");
      script << playScript;
    }
    if (!playScript.empty()) play = MeasureIdle(game, {"--input", "play.txt"}, 6.0, idleSeconds);
  }

  // The table.
  struct Row {
    std::string name, value, target;
    bool met;
  };
  std::vector<Row> rows;
  auto row = [&](const std::string& name, double v, const std::string& unit, double limit,
                 const std::string& target) {
    rows.push_back({name, v < 0 ? "n/a" : Fixed(v, 2) + unit, target, v >= 0 && v <= limit});
  };
  row("start-up to main menu, headless", startHeadless.ms, " ms", 1e9, "-");
  row("start-up to main menu, window", startWindow.ms, " ms", 250, "<= 250 ms");
  row("RSS at main menu, window", idle.rssKiB / 1024, " MiB", 60, "<= 60 MiB");
  row("RSS at main menu, headless", startHeadless.rssKiB / 1024, " MiB", 1e9, "-");
  row("idle at main menu: CPU", idle.cpuPercent, " %", 0.5, "<= 0.5 %");
  row("idle at main menu: wake-ups", idle.wakeupsPerSecond, " /s", 5, "<= 5 /s");
  row("running play: CPU", play.cpuPercent, " %", 3, "<= 3 %");
  row("running play: wake-ups", play.wakeupsPerSecond, " /s", 1e9, "-");
  double worstPage = 0, worstGame = 0, worstPageRun = 0, worstGameRun = 0, maxAlloc = 0, maxGlyph = 0;
  for (const FrameFigures& f : frames) {
    const bool isGame = f.screen.rfind("game", 0) == 0;
    (isGame ? worstGame : worstPage) = std::max(isGame ? worstGame : worstPage, f.redrawRatio);
    (isGame ? worstGameRun : worstPageRun) =
        std::max(isGame ? worstGameRun : worstPageRun, f.frameRatio);
    maxAlloc = std::max(maxAlloc, f.allocationsPerFrame);
    maxGlyph = std::max(maxGlyph, f.glyphsPerFrame);
  }
  row("menu and pages: frame / blit (worst)", worstPageRun, " x", 2, "<= 2 x");
  row("games: frame / blit (worst)", worstGameRun, " x", 6, "<= 6 x");
  // What a frame costs when nothing can be taken from the scene before (a
  // new page, a new task): shown, not held to the frame limits.
  row("menu and pages: frame drawn in full / blit (worst)", worstPage, " x", 1e9, "-");
  row("games: frame drawn in full / blit (worst)", worstGame, " x", 1e9, "-");
  row("allocations per frame (worst screen)", maxAlloc, "", 0, "0");
  row("glyphs rasterised per frame (worst screen)", maxGlyph, "", 0, "0");

  std::printf("Presenting in a window: %s; one 1024x768 blit: %.3f ms\n\n", startWindow.path.c_str(),
              blitNs / 1e6);
  std::printf("%-52s %14s  %-10s %s\n", "measure", "value", "target", "");
  for (const Row& r : rows)
    std::printf("%-52s %14s  %-10s %s\n", r.name.c_str(), r.value.c_str(), r.target.c_str(),
                r.target == "-" ? "" : r.met ? "ok" : "MISSED");
  std::printf("\n%-34s %10s %10s %8s %8s\n", "screen", "frame/blit", "full/blit", "allocs", "glyphs");
  for (const FrameFigures& f : frames)
    std::printf("%-34s %10.2f %10.2f %8.2f %8.2f\n", f.screen.c_str(), f.frameRatio, f.redrawRatio,
                f.allocationsPerFrame, f.glyphsPerFrame);

  std::ofstream json(out);
  json << "{\n  \"blit_ms\": " << Fixed(blitNs / 1e6, 4) << ",\n  \"present_path\": "
       << JsonString(startWindow.path) << ",\n  \"summary\": [\n";
  for (size_t i = 0; i < rows.size(); ++i)
    json << "    {\"measure\": " << JsonString(rows[i].name) << ", \"value\": " << JsonString(rows[i].value)
         << ", \"target\": " << JsonString(rows[i].target) << ", \"met\": " << (rows[i].met ? "true" : "false")
         << "}" << (i + 1 < rows.size() ? "," : "") << "\n";
  json << "  ],\n  \"screens\": [\n";
  for (size_t i = 0; i < frames.size(); ++i) {
    const FrameFigures& f = frames[i];
    json << "    {\"screen\": " << JsonString(f.screen) << ", \"frame_per_blit\": " << Fixed(f.frameRatio, 3)
         << ", \"full_frame_per_blit\": " << Fixed(f.redrawRatio, 3)
         << ", \"allocations_per_frame\": " << Fixed(f.allocationsPerFrame, 3)
         << ", \"glyphs_per_frame\": " << Fixed(f.glyphsPerFrame, 3) << "}"
         << (i + 1 < frames.size() ? "," : "") << "\n";
  }
  json << "  ]\n}\n";
  std::printf("\nJSON: %s\n", out.c_str());

  std::error_code error;
  std::filesystem::remove_all(scratch, error);
  return 0;
}
