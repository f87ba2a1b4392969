// Runs of the real program: headless with a screenshot, the exit paths with
// the files they write, command-line and script errors, and a real window
// under a virtual X server.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "platform/render_device.h"
#include "support/test_data_builders.h"

namespace {

namespace fs = std::filesystem;

bool HaveData() { return fs::exists(std::string(DENKAR_RUN_DIR) + "/sport.gob"); }

class ShellBinary : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(DENKAR_BINARY)) GTEST_SKIP() << "the program is not built";
    scratch_ = std::make_unique<testdata::ScratchDirectory>("denkar_shell_binary");
    ASSERT_TRUE(scratch_->Ok());
    dir_ = fs::current_path().string();
  }
  void CopyData() {
    for (const char* name : {"sport.gob", "deutsch.lng", "english.lng"}) {
      const fs::path from = fs::path(DENKAR_RUN_DIR) / name;
      if (fs::exists(from)) fs::copy_file(from, fs::path(dir_) / name);
    }
  }
  // Runs the program in the scratch folder; its exit code (-1 if it did not exit).
  int Run(const std::string& options, const std::string& prefix = "") {
    const std::string command = "cd '" + dir_ + "' && " + prefix + "timeout 120 '" +
                                DENKAR_BINARY + "' " + options + " > out.txt 2> err.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Read(const char* name) const {
    std::ifstream in(fs::path(dir_) / name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void Write(const char* name, const std::string& text) const {
    std::ofstream out(fs::path(dir_) / name, std::ios::binary);
    out << text;
  }
  bool Exists(const char* name) const { return fs::exists(fs::path(dir_) / name); }
  // Width and height of a PNG the program wrote (0, 0 when unreadable).
  std::pair<int, int> ImageSize(const char* name) const {
    const std::string bytes = Read(name);
    Texture t;
    if (bytes.empty() || !DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &t))
      return {0, 0};
    return {t.width, t.height};
  }

  std::unique_ptr<testdata::ScratchDirectory> scratch_;
  std::string dir_;
};

TEST_F(ShellBinary, HelpListsTheOptionsAndBadOptionsStopWithCode2) {
  EXPECT_EQ(Run("--help"), 0);
  for (const char* option : {"--headless", "--frames N", "--screenshot FILE", "--seed N",
                             "--windowed", "--input FILE", "--help"})
    EXPECT_NE(Read("out.txt").find(option), std::string::npos) << option;
  EXPECT_EQ(Run("--frames"), 2);
  EXPECT_NE(Read("err.txt").find("--frames"), std::string::npos);
  EXPECT_EQ(Run("--bogus"), 2);
  EXPECT_FALSE(Exists("denkar.cfg"));  // nothing was started
}

// The set-up script answers --help without installing or building
// anything, and refuses an unknown command.
TEST_F(ShellBinary, TheSetUpScriptPrintsItsUsage) {
  const std::string script = std::string(DENKAR_SOURCE_DIR) + "/denkar";
  EXPECT_EQ(std::system(("'" + script + "' --help > '" + dir_ + "/out.txt' 2>&1").c_str()), 0);
  for (const char* word : {"play", "test", "sanitize", "fuzz", "DENKAR_HOME", "DENKAR_BUILD_DIR"})
    EXPECT_NE(Read("out.txt").find(word), std::string::npos) << word;
  const int status = std::system(("'" + script + "' bogus > /dev/null 2>&1").c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
}

TEST_F(ShellBinary, AMalformedScriptStopsBeforeTheFirstFrameNamingTheLine) {
  Write("script.txt", "wait 1\nclick 10 10\nclick 10\n");
  EXPECT_EQ(Run("--headless --input script.txt --frames 5"), 2);
  EXPECT_NE(Read("err.txt").find("script.txt:3:"), std::string::npos) << Read("err.txt");
  EXPECT_FALSE(Exists("denkar.cfg"));
  EXPECT_EQ(Run("--headless --input missing.txt --frames 5"), 2);
}

// A start that cannot finish says so with a non-zero exit code, names the
// file and the folder it was looked for in, and still writes the settings.
TEST_F(ShellBinary, WithoutTheDataFileStartUpFailsNamingTheFileAndFolder) {
  EXPECT_EQ(Run("--headless --frames 5"), 1);
  const std::string err = Read("err.txt");
  EXPECT_NE(err.find("Fehler!: Es wurden nicht alle notwendigen Texturdateien gefunden"), std::string::npos)
      << err;
  EXPECT_NE(err.find("'sport.gob' was not found in the folder '" + dir_ + "'"), std::string::npos) << err;
  EXPECT_TRUE(Exists("denkar.cfg"));
  EXPECT_TRUE(Exists("stats.sav"));
  // A file of that name that is no data file.
  Write("sport.gob", "not an archive");
  EXPECT_EQ(Run("--headless --frames 5"), 1);
  EXPECT_NE(Read("err.txt").find("'sport.gob' in the folder '" + dir_ + "' is not a readable data file"),
            std::string::npos)
      << Read("err.txt");
}

TEST_F(ShellBinary, ADataFileWithoutAPictureNamesThePicture) {
  if (!HaveData()) GTEST_SKIP() << "sport.gob is not built yet";
  // The menu sheet renamed inside the archive: the lookup no longer finds it.
  std::string gob = Read((fs::path(DENKAR_RUN_DIR) / "sport.gob").c_str());
  const size_t at = gob.find("menu2.PNG");
  ASSERT_NE(at, std::string::npos);
  gob[at] = 'x';
  Write("sport.gob", gob);
  EXPECT_EQ(Run("--headless --frames 5"), 1);
  EXPECT_NE(Read("err.txt").find("the picture 'menu2.PNG' is missing or damaged in 'sport.gob' in the folder '" +
                                 dir_ + "'"),
            std::string::npos)
      << Read("err.txt");
}

// A sheet only a game draws is decoded when first needed, yet damage to it
// still stops the start with the same message.
TEST_F(ShellBinary, ADamagedGameSheetStillStopsTheStart) {
  if (!HaveData()) GTEST_SKIP() << "sport.gob is not built yet";
  std::string gob = Read((fs::path(DENKAR_RUN_DIR) / "sport.gob").c_str());
  // The directory entry of back2.PNG gives where its bytes lie.
  const size_t entry = gob.find("back2.PNG");
  ASSERT_NE(entry, std::string::npos);
  auto le32 = [&](size_t at) {
    return static_cast<size_t>(static_cast<uint8_t>(gob[at])) | static_cast<size_t>(static_cast<uint8_t>(gob[at + 1])) << 8 |
           static_cast<size_t>(static_cast<uint8_t>(gob[at + 2])) << 16 | static_cast<size_t>(static_cast<uint8_t>(gob[at + 3])) << 24;
  };
  const size_t offset = le32(entry - 8), size = le32(entry - 4);
  ASSERT_LT(offset + size, gob.size() + 1);
  gob[offset + size / 2] ^= 0x10;  // one bit in the middle of the picture data
  Write("sport.gob", gob);
  for (const char* name : {"deutsch.lng", "english.lng"})
    fs::copy_file(fs::path(DENKAR_RUN_DIR) / name, fs::path(dir_) / name);
  EXPECT_EQ(Run("--headless --frames 5"), 1);
  const std::string err = Read("err.txt");
  EXPECT_NE(err.find("Fehler!: Es wurden nicht alle notwendigen Texturdateien gefunden"), std::string::npos) << err;
  EXPECT_NE(err.find("the picture 'back2.PNG' is missing or damaged"), std::string::npos) << err;
}

TEST_F(ShellBinary, HeadlessFramesEndWithAScreenshotAndTheFilesWritten) {
  if (!HaveData()) GTEST_SKIP() << "sport.gob is not built yet";
  CopyData();
  ASSERT_EQ(Run("--headless --frames 60 --screenshot shot.png --seed 1"), 0) << Read("err.txt");
  EXPECT_EQ(ImageSize("shot.png"), (std::pair<int, int>{1024, 768}));
  EXPECT_NE(Read("denkar.cfg").find("FULLSCREEN:\t1\r\n"), std::string::npos);
  EXPECT_TRUE(Exists("stats.sav"));
  // The same run again gives the same picture: the virtual clock repeats.
  const std::string first = Read("shot.png");
  ASSERT_EQ(Run("--headless --frames 60 --screenshot shot.png --seed 1"), 0);
  EXPECT_EQ(Read("shot.png"), first);
}

TEST_F(ShellBinary, WindowedIsForThisRunOnlyAndCloseEndsWithCode0) {
  if (!HaveData()) GTEST_SKIP() << "sport.gob is not built yet";
  CopyData();
  Write("denkar.cfg", "FULLSCREEN:\t1\r\nSPRACHE:\t1\r\nSOUND:\t100\r\nMUSIK:\t50\r\nINTRO:\t0\r\n");
  Write("script.txt", "wait 3\nscreenshot before.png\nclose\nkey a\n");
  // The frame limit is far away: the script's close ends the run.
  ASSERT_EQ(Run("--headless --windowed --input script.txt --frames 100000"), 0) << Read("err.txt");
  EXPECT_EQ(ImageSize("before.png"), (std::pair<int, int>{1024, 768}));
  const std::string cfg = Read("denkar.cfg");
  EXPECT_NE(cfg.find("FULLSCREEN:\t1\r\n"), std::string::npos) << cfg;
  EXPECT_NE(cfg.find("SPRACHE:\t1\r\n"), std::string::npos) << cfg;
  EXPECT_NE(cfg.find("MUSIK:\t50\r\n"), std::string::npos) << cfg;
}

TEST_F(ShellBinary, CtrlEnterInAScriptSwitchesTheStoredMode) {
  if (!HaveData()) GTEST_SKIP() << "sport.gob is not built yet";
  CopyData();
  Write("denkar.cfg", "FULLSCREEN:\t1\r\nSPRACHE:\t0\r\nSOUND:\t100\r\nMUSIK:\t100\r\nINTRO:\t0\r\n");
  Write("script.txt", "wait 2\nkeydown ctrl\nkey enter\nkeyup ctrl\nwait 2\n");
  ASSERT_EQ(Run("--headless --input script.txt --frames 10"), 0) << Read("err.txt");
  EXPECT_NE(Read("denkar.cfg").find("FULLSCREEN:\t0\r\n"), std::string::npos) << Read("denkar.cfg");
}

// The built intro clip at start-up, headless: a second into it the screen
// shows the clip; with the window setting (stored or --windowed) or with the
// intro switched off it shows the menu; Escape at the start skips to the
// menu without a frame of the clip.
TEST_F(ShellBinary, TheIntroPlaysOnlyFullScreenAndEscapeSkipsIt) {
  const fs::path clip = fs::path(DENKAR_RUN_DIR) / "intro.avi";
  if (!HaveData() || !fs::exists(clip)) GTEST_SKIP() << "the data files are not built yet";
  CopyData();
  fs::copy_file(clip, fs::path(dir_) / "intro.avi");
  const auto shot = [&](const char* fullscreen, const char* intro, const std::string& script,
                        const std::string& options = "") {
    Write("denkar.cfg", std::string("FULLSCREEN:\t") + fullscreen + "\r\nSPRACHE:\t0\r\nSOUND:\t100\r\n" +
                            "MUSIK:\t100\r\nINTRO:\t" + intro + "\r\n");
    Write("script.txt", script + "wait 60\nscreenshot shot.png\n");
    fs::remove(fs::path(dir_) / "shot.png");
    EXPECT_EQ(Run("--headless --seed 1 --input script.txt --frames 62 " + options), 0) << Read("err.txt");
    return Read("shot.png");
  };
  const std::string menu = shot("1", "0", "wait 1\n");
  const std::string intro = shot("1", "1", "wait 1\n");
  ASSERT_FALSE(menu.empty());
  ASSERT_FALSE(intro.empty());
  EXPECT_NE(intro, menu);
  EXPECT_EQ(shot("0", "1", "wait 1\n"), menu);
  EXPECT_EQ(shot("1", "1", "wait 1\n", "--windowed"), menu);
  EXPECT_NE(Read("denkar.cfg").find("FULLSCREEN:\t1\r\n"), std::string::npos);
  EXPECT_NE(Read("denkar.cfg").find("INTRO:\t1\r\n"), std::string::npos);
  EXPECT_EQ(shot("1", "1", "keydown escape\nwait 1\nkeyup escape\n"), menu);
}

TEST_F(ShellBinary, ARealWindowOpensAndCloseEndsTheProgram) {
  if (!HaveData()) GTEST_SKIP() << "sport.gob is not built yet";
  // A display of our own when there is none. The dummy audio driver keeps a
  // machine without sound from showing the (blocking) sound message box. In
  // sanitizer builds the X, D-Bus and GL libraries' own start-up allocations
  // are not the program's leaks.
  std::string prefix = "SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 ";
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    if (std::system("command -v xvfb-run > /dev/null 2>&1") != 0)
      GTEST_SKIP() << "no display and no xvfb-run";
    prefix += "xvfb-run -a -s '-screen 0 1280x1024x24' ";
  }
  CopyData();
  Write("script.txt", "wait 20\nmove 512 384\nwait 5\nscreenshot window.png\nwait 1\nclose\n");
  ASSERT_EQ(Run("--windowed --input script.txt", prefix), 0) << Read("err.txt");
  EXPECT_EQ(ImageSize("window.png"), (std::pair<int, int>{1024, 768}));
  EXPECT_TRUE(Exists("denkar.cfg"));
  EXPECT_TRUE(Exists("stats.sav"));
}

}  // namespace
