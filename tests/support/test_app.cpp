#include "support/test_app.h"

#include <cstdlib>
#include <filesystem>

#include "data/data_file.h"
#include "data/language.h"
#include "framework/app_files.h"
#include "framework/stats_record.h"
#include "gfx/graphics.h"
#include "gfx/sprite.h"
#include "platform/render_device.h"
#include "platform/window.h"
#include "support/test_data_builders.h"
#include "util/app_context.h"

namespace testapp {

namespace {
// The application record of the test program is opened once, before the
// first test, as the program's start-up does.
class ApplicationFilesEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { OpenApplicationFiles(GetAppContext()); }
};
[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationFilesEnvironment);
}  // namespace

AppContext& EnterFreshApp(const char* folderPrefix, bool withDataFile) {
  AppContext& app = GetAppContext();
  const std::string folder = testdata::EnterFreshDirectory(folderPrefix);
  EXPECT_FALSE(folder.empty());
  std::vector<const char*> files = {"deutsch.lng", "english.lng"};
  if (withDataFile) files.push_back("sport.gob");
  for (const char* name : files)
    std::filesystem::copy_file(std::string(DENKAR_RUN_DIR) + "/" + name, name);
  ResetAppState();
  if (app.statistics) app.statistics->Reset();
  UseLanguage(0);
  return app;
}

void ResetAppState() {
  AppContext& app = GetAppContext();
  app.runState = 0;
  app.paused = false;
  app.screenWidth = 1024;
  app.screenHeight = 768;
  app.frameTime = app.realFrameTime = 0;
}

void UseLanguage(int language) {
  GetAppContext().language = language;
  LoadLanguage(language);
}

std::string ShotPath(const std::string& name) {
  const char* folder = std::getenv("DENKAR_SHOTS_DIR");
  if (!folder || !*folder) return "";
  std::filesystem::create_directories(folder);
  return std::string(folder) + "/" + name;
}

PlatformWindow* CreateWindowWithoutDisplay() {
  const char* before = std::getenv("SDL_VIDEODRIVER");
  const std::string saved = before ? before : "";
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  PlatformWindow* window = PlatformWindow::Create("Denkarium", 1024, 768, false, false, nullptr);
  if (before)
    setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
  else
    unsetenv("SDL_VIDEODRIVER");
  return window;
}

std::unique_ptr<RenderDevice> MakeOffscreenDevice() {
  D3DPRESENT_PARAMETERS pp;
  pp.BackBufferWidth = 1024;
  pp.BackBufferHeight = 768;
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  return RenderDevice::Create(pp);  // no window: offscreen
}

OffscreenScreen::OffscreenScreen() {
  AppContext& app = GetAppContext();
  device_ = MakeOffscreenDevice();
  if (!device_) return;
  app.device = device_.get();
  if (!app.dataFile) {  // a fixture may hold the data file open already
    app.dataFile = OpenDataFile("sport.gob");
    ownsDataFile_ = app.dataFile != nullptr;
  }
  if (!app.dataFile) return;
  ok_ = LoadTextures() >= 0 && app.sprite != nullptr;
}

OffscreenScreen::~OffscreenScreen() {
  AppContext& app = GetAppContext();
  ReleaseTextures();
  app.sprite = nullptr;
  app.device = nullptr;
  if (ownsDataFile_ && app.dataFile) {
    CloseDataFile(app.dataFile);
    app.dataFile = nullptr;
  }
}

void OffscreenScreen::BeginFrame() {
  AppContext& app = GetAppContext();
  device_->Clear(0xFF646464);
  app.sprite->Begin();
}

void OffscreenScreen::EndFrame() { GetAppContext().sprite->End(); }

bool OffscreenScreen::SavePng(const std::string& path) const {
  return device_ && device_->SavePNG(path);
}

void OffscreenScreen::SaveShot(const std::string& name) const {
  const std::string path = ShotPath(name);
  if (!path.empty()) {
    EXPECT_TRUE(SavePng(path)) << path;
  }
}

}  // namespace testapp
