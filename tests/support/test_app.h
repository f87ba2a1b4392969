// Shared set-up of the tests that use the application record: a fresh
// working folder with the real language files, the record put back to its
// start values, and (for tests that draw) an offscreen 1024 x 768 device with
// the sixteen textures of the real data file.
#pragma once
#include <memory>
#include <string>

#include <gtest/gtest.h>

class AppContext;
class PlatformWindow;
class RenderDevice;

namespace testapp {

// Enters a fresh folder holding copies of the built language files (and of
// "sport.gob" when `withDataFile`), resets the record's run state, pause,
// screen size and statistics, and loads the German texts.
AppContext& EnterFreshApp(const char* folderPrefix, bool withDataFile = false);
// Puts the run state, pause and screen size back (call in TearDown).
void ResetAppState();
// Loads the texts of `language` (0 German, 1 English).
void UseLanguage(int language);

// Where a test saves a picture for a person to look at: the file `name` in
// the folder named by the environment variable DENKAR_SHOTS_DIR, or "" when
// that variable is not set (the picture is then drawn but not saved).
std::string ShotPath(const std::string& name);

// A real (not headless) 1024 x 768 window made through SDL's display-less
// driver, which keeps sizes and a window surface like a real one; null where
// even that driver cannot make one.
PlatformWindow* CreateWindowWithoutDisplay();

// A 1024 x 768 offscreen device (XRGB), not installed anywhere; null when
// it cannot be made.
std::unique_ptr<RenderDevice> MakeOffscreenDevice();

// An offscreen device with the textures of "sport.gob" loaded, installed in
// the application record for as long as it lives. It opens the data file
// unless the record holds it open already, and closes only what it opened.
class OffscreenScreen {
 public:
  OffscreenScreen();
  ~OffscreenScreen();
  OffscreenScreen(const OffscreenScreen&) = delete;
  OffscreenScreen& operator=(const OffscreenScreen&) = delete;
  bool Ok() const { return ok_; }
  RenderDevice* Device() const { return device_.get(); }
  // Clears, lets `draw` draw inside the sprite batch, and ends the batch.
  template <typename DrawFn>
  void Draw(DrawFn draw) {
    BeginFrame();
    draw();
    EndFrame();
  }
  bool SavePng(const std::string& path) const;
  // Saves what was drawn last as ShotPath(name), when that is set.
  void SaveShot(const std::string& name) const;
  // Draw, then SaveShot.
  template <typename DrawFn>
  void Shot(const std::string& name, DrawFn draw) {
    Draw(draw);
    SaveShot(name);
  }

 private:
  void BeginFrame();
  void EndFrame();
  std::unique_ptr<RenderDevice> device_;
  bool ok_ = false;
  bool ownsDataFile_ = false;
};

// Fixture base for tests of one game: a fresh folder with the language files
// and the record reset before each test.
class AppTest : public ::testing::Test {
 protected:
  void SetUp() override { app = &EnterFreshApp(FolderPrefix(), NeedsDataFile()); }
  void TearDown() override { ResetAppState(); }
  virtual const char* FolderPrefix() const { return "denkar_test"; }
  virtual bool NeedsDataFile() const { return false; }
  AppContext* app = nullptr;
};

}  // namespace testapp
