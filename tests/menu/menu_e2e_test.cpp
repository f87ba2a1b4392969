// The real program, headless, driven by input scripts through the main menu:
// a memory play paused and quit, the language buttons, resetting all
// statistics and scrolling the game list. Each run works in a fresh folder
// holding copies of the data files; the test reads the files it leaves.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "framework/denkar_game.h"
#include "framework/game_record.h"
#include "framework/stats_record.h"
#include "menu/game_list.h"
#include "platform/render_device.h"
#include "support/test_data_builders.h"

namespace {

namespace fs = std::filesystem;

// Screen centres of the elements the scripts click (pages are centred on the
// 1024 x 768 screen; see the page layout).
constexpr const char* kPlay = "512 259";         // page 1, id 2
constexpr const char* kStatistics = "512 334";   // page 1, id 4
constexpr const char* kQuitProgram = "512 559";  // page 1, id 3
constexpr const char* kGerman = "400 648";       // page 1, id 7
constexpr const char* kEnglish = "548 648";      // page 1, id 8
constexpr const char* kEasy = "512 334";         // page 9, id 11
constexpr const char* kSingleGames = "512 409";  // page 14, id 17
constexpr const char* kListUp = "512 134";       // page 18, id 20
constexpr const char* kListDown = "512 619";     // page 18, id 21
constexpr const char* kListRow0 = "512 194";     // page 18, first row
constexpr const char* kListRow5 = "512 494";     // page 18, sixth row
constexpr const char* kHowTo = "512 359";        // page 45, id 47
constexpr const char* kGameStats = "512 434";    // page 45, id 48
constexpr const char* kQuitPlay = "512 509";     // page 45, id 49
constexpr const char* kBackSquare = "187 634";   // ids 41, 51, 53 (and 44)
constexpr const char* kResetAll = "787 634";     // page 40, id 42

class MenuEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string run = DENKAR_RUN_DIR;
    if (!fs::exists(DENKAR_BINARY) || !fs::exists(run + "/sport.gob"))
      GTEST_SKIP() << "the program or its data files are not built";
    dir_ = testdata::EnterFreshDirectory("denkar_menu_e2e");
    ASSERT_FALSE(dir_.empty());
    for (const char* name : {"sport.gob", "deutsch.lng", "english.lng"})
      fs::copy_file(run + "/" + name, dir_ + "/" + name);
  }
  void TearDown() override {
    std::error_code ec;
    if (!dir_.empty() && !HasFailure()) fs::remove_all(dir_, ec);
  }

  // Runs the program headless with the script; the exit code.
  int Run(const std::string& script, int frames = 3000) {
    {
      std::ofstream out(dir_ + "/script.txt");
      out << script;
    }
    const std::string command = "cd '" + dir_ + "' && '" + DENKAR_BINARY +
                                "' --headless --seed 4711 --input script.txt --frames " +
                                std::to_string(frames) + " > output.txt 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Output() const {
    std::ifstream in(dir_ + "/output.txt");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string File(const char* name) const { return dir_ + "/" + name; }
  // The pixels of a screenshot the run wrote.
  std::vector<uint32_t> Shot(const char* name) const {
    const testdata::Bytes bytes = testdata::ReadFile(File(name));
    Texture t;
    if (bytes.empty() || !DecodeImage(bytes.data(), bytes.size(), &t) || t.width != 1024 ||
        t.height != 768)
      return {};
    for (uint32_t& p : t.texels) p &= 0xFFFFFF;
    return t.texels;
  }
  // True when the two pictures differ inside the rectangle.
  static bool Differ(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int left,
                     int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (a[y * 1024 + x] != b[y * 1024 + x]) return true;
    return false;
  }

  std::string dir_;
};

std::string Click(const char* where) { return std::string("click ") + where + "\nwait 3\n"; }
// A screenshot is saved after the next frame, which shows every command
// given before it: the wait keeps the commands that follow out of it.
std::string Screenshot(const char* file) { return std::string("screenshot ") + file + "\nwait 1\n"; }

TEST_F(MenuEndToEnd, MemoryPausedThroughItsPagesAndQuit) {
  std::string script = "wait 5\n" + Screenshot("start.png");
  script += Click(kPlay) + Click(kEasy) + Click(kSingleGames);
  script += Screenshot("list.png");
  script += Click(kListRow5);  // the memory game; its countdown starts
  script += "wait 60\n" + Screenshot("countdown.png");
  script += "key escape\nwait 120\n" + Screenshot("pause.png");  // the countdown stands meanwhile
  script += Click(kHowTo) + Screenshot("howto.png");
  script += Click(kBackSquare) + Click(kGameStats) + Screenshot("gamestats.png");
  script += Click(kBackSquare) + Click(kQuitPlay);
  script += "wait 5\n" + Screenshot("after_quit.png");
  script += Click(kQuitProgram);
  ASSERT_EQ(Run(script), 0) << Output();

  for (const char* shot : {"list.png", "countdown.png", "pause.png", "howto.png", "gamestats.png",
                           "after_quit.png"})
    EXPECT_EQ(Shot(shot).size(), 1024u * 768u) << shot;
  // The quit is graded 6.0 and recorded; 6.0 enters no list, so there was no
  // result page and the menu came back at once.
  GameRecord memory;
  ASSERT_TRUE(memory.LoadFile(File("merkspiel.sav").c_str()));
  EXPECT_EQ(memory.playCount, 1);
  EXPECT_DOUBLE_EQ(memory.gradeSum, 6.0);
  EXPECT_DOUBLE_EQ(memory.worstGrade, 6.0);
  EXPECT_EQ(memory.Entries().Count(), 0);
  StatsRecord stats;
  ASSERT_TRUE(stats.LoadFile(File("stats.sav").c_str()));
  EXPECT_EQ(stats.playCount, 1);
  EXPECT_DOUBLE_EQ(stats.gradeSum, 6.0);
  // The quit button ended the run long before the frame limit. Of its
  // about 230 frames, the 135 in the pause counted no time: the total time
  // stood still with the countdown.
  EXPECT_GT(stats.totalTime, 1.0);
  EXPECT_LT(stats.totalTime, 2.0);
  // The menu page after the quit is the main page, as at the start (its top,
  // where no pointer is, looks the same).
  const std::vector<uint32_t> start = Shot("start.png"), menu = Shot("after_quit.png");
  ASSERT_FALSE(start.empty());
  ASSERT_FALSE(menu.empty());
  EXPECT_FALSE(Differ(start, menu, 312, 84, 712, 230));
  const std::vector<uint32_t> pause = Shot("pause.png"), countdown = Shot("countdown.png");
  ASSERT_FALSE(pause.empty());
  ASSERT_FALSE(countdown.empty());
  EXPECT_TRUE(Differ(pause, countdown, 337, 184, 687, 584));  // the pause page is up
}

TEST_F(MenuEndToEnd, ClosingTheWindowDuringAPlayRecordsIt) {
  std::string script = "wait 5\n" + Click(kPlay) + Click(kEasy) + Click(kSingleGames);
  script += Click(kListRow5);  // the memory game
  script += "wait 240\n";      // past the countdown, the play runs
  script += "close\n";
  ASSERT_EQ(Run(script), 0) << Output();
  // The running play counts as a play with the grade it held: nothing found,
  // so the worst grade. Both files were written after the window was gone.
  GameRecord memory;
  ASSERT_TRUE(memory.LoadFile(File("merkspiel.sav").c_str()));
  EXPECT_EQ(memory.playCount, 1);
  EXPECT_DOUBLE_EQ(memory.gradeSum, 6.0);
  EXPECT_GT(memory.playTime, 0.5);
  StatsRecord stats;
  ASSERT_TRUE(stats.LoadFile(File("stats.sav").c_str()));
  EXPECT_EQ(stats.playCount, 1);
  EXPECT_DOUBLE_EQ(stats.gradeSum, 6.0);
}

// Every game of the list that exists is started from the menu, played for a
// few seconds past its countdown, paused and quit, all in one run. Each play
// is recorded in its save file. (In the sanitizer build this run is also the
// leak check of every game: a leak makes the program's exit code non-zero.)
TEST_F(MenuEndToEnd, EveryGameStartsPlaysAndQuitsFromTheMenu) {
  std::vector<std::string> saveFiles(GAME_LIST_COUNT);
  std::string script = "wait 5\n";
  int games = 0;
  for (int index = 0; index < GAME_LIST_COUNT; ++index) {
    std::unique_ptr<Denkar_Game> game(CreateListedGame(index, 1));
    if (!game) continue;
    game->DisableRecording();
    saveFiles[index] = game->saveFileName;
    game.reset();
    std::remove(saveFiles[index].c_str());
    ++games;
    script += Click(kPlay) + Click(kEasy) + Click(kSingleGames);
    for (int i = 0; i < 9; ++i) script += Click(kListUp);
    const int offset = index > 6 ? index - 6 : 0;
    for (int i = 0; i < offset; ++i) script += Click(kListDown);
    script += Click(("512 " + std::to_string(194 + 60 * (index - offset))).c_str());
    script += "wait 200\nmove 300 300\nwait 2\nkey escape\nwait 3\n" + Click(kQuitPlay);
    // A quit grade that enters the top 10 asks for a name first; on the main
    // page these keys do nothing.
    script += "wait 5\ntype x\nkey enter\nwait 5\n";
  }
  script += Click(kQuitProgram);
  ASSERT_GE(games, 1);
  ASSERT_EQ(Run(script, 100000), 0) << Output();
  for (int index = 0; index < GAME_LIST_COUNT; ++index) {
    if (saveFiles[index].empty()) continue;
    GameRecord record;
    ASSERT_TRUE(record.LoadFile(File(saveFiles[index].c_str()).c_str())) << saveFiles[index];
    EXPECT_EQ(record.playCount, 1) << saveFiles[index];
  }
  StatsRecord stats;
  ASSERT_TRUE(stats.LoadFile(File("stats.sav").c_str()));
  EXPECT_EQ(stats.playCount, games);
}

TEST_F(MenuEndToEnd, LanguageButtonsSwitchCaptionsAndTheChoiceIsKept) {
  std::string script = "wait 3\n" + Screenshot("german.png");
  script += Click(kEnglish) + Screenshot("english.png");
  script += Click(kQuitProgram);
  ASSERT_EQ(Run(script), 0) << Output();
  const std::vector<uint32_t> german = Shot("german.png"), english = Shot("english.png");
  ASSERT_FALSE(german.empty());
  ASSERT_FALSE(english.empty());
  // Every caption of page 1 changed (the five wide buttons).
  for (int row = 0; row < 5; ++row) {
    const int top = 234 + 75 * row;
    EXPECT_TRUE(Differ(german, english, 362, top, 662, top + 50)) << "button " << row;
  }
  std::ifstream cfg(File("denkar.cfg"));
  std::stringstream text;
  text << cfg.rdbuf();
  EXPECT_NE(text.str().find("SPRACHE:\t1"), std::string::npos) << text.str();

  // The next start comes up in English; German again is kept the same way.
  script = "wait 3\n" + Screenshot("english_again.png");
  script += Click(kGerman) + Screenshot("german_again.png") + Click(kQuitProgram);
  ASSERT_EQ(Run(script), 0) << Output();
  const std::vector<uint32_t> again = Shot("english_again.png");
  ASSERT_FALSE(again.empty());
  EXPECT_FALSE(Differ(again, english, 312, 84, 712, 600));
  const std::vector<uint32_t> germanAgain = Shot("german_again.png");
  ASSERT_FALSE(germanAgain.empty());
  EXPECT_FALSE(Differ(germanAgain, german, 312, 84, 712, 600));
  std::ifstream cfg2(File("denkar.cfg"));
  std::stringstream text2;
  text2 << cfg2.rdbuf();
  EXPECT_NE(text2.str().find("SPRACHE:\t0"), std::string::npos) << text2.str();
}

TEST_F(MenuEndToEnd, ResetAllStatisticsEmptiesEverySaveFileWithoutCountingAPlay) {
  // The save files of the games that exist, each with a play and a name in it.
  std::vector<std::string> saveFiles;
  {
    GameRecord full;
    full.AddResult(2.0);
    HighscoreEntry* e = new HighscoreEntry();
    e->SetName("old");
    e->grade = 2.0;
    full.InsertEntry(e);
    for (int i = 0; i < GAME_LIST_COUNT; ++i) {
      std::unique_ptr<Denkar_Game> game(CreateListedGame(i, 0));
      if (!game) continue;
      game->DisableRecording();
      saveFiles.push_back(game->saveFileName);
    }
    ASSERT_FALSE(saveFiles.empty());
    for (const std::string& name : saveFiles) ASSERT_TRUE(full.SaveFile((dir_ + "/" + name).c_str()));
    StatsRecord stats;
    stats.AddResult(2.0);
    stats.AddResult(3.0);
    SeriesEntry* s = new SeriesEntry();
    s->SetName("series");
    s->grade = 2.5;
    stats.InsertEntry(s);
    ASSERT_TRUE(stats.SaveFile(File("stats.sav").c_str()));
  }
  std::string script = "wait 3\n" + Click(kStatistics) + Screenshot("before.png");
  // The first click only asks (the button's caption changes); the second
  // one empties the records.
  script += Click(kResetAll) + Screenshot("asking.png");
  script += Click(kResetAll) + Screenshot("after.png");
  script += Click(kBackSquare) + Click(kQuitProgram);
  ASSERT_EQ(Run(script), 0) << Output();
  for (const std::string& name : saveFiles) {
    GameRecord saved;
    ASSERT_TRUE(saved.LoadFile((dir_ + "/" + name).c_str())) << name;
    EXPECT_EQ(saved.playCount, 0) << name;
    EXPECT_EQ(saved.Entries().Count(), 0) << name;
    EXPECT_DOUBLE_EQ(saved.gradeSum, 0.0) << name;
  }
  StatsRecord stats;
  ASSERT_TRUE(stats.LoadFile(File("stats.sav").c_str()));
  EXPECT_EQ(stats.playCount, 0);
  EXPECT_EQ(stats.Entries().Count(), 0);
  EXPECT_LT(stats.totalTime, 5.0);
  const std::vector<uint32_t> before = Shot("before.png"), after = Shot("after.png");
  const std::vector<uint32_t> asking = Shot("asking.png");
  ASSERT_FALSE(before.empty());
  ASSERT_FALSE(after.empty());
  ASSERT_FALSE(asking.empty());
  EXPECT_FALSE(Differ(before, asking, 112, 134, 912, 300));  // the list is still there
  EXPECT_TRUE(Differ(before, asking, 712, 609, 862, 659));   // the button asks
  EXPECT_TRUE(Differ(before, after, 112, 134, 912, 600));  // the page shows the emptied totals
}

TEST_F(MenuEndToEnd, GameListArrowsScrollFromZeroToNine) {
  std::string script = "wait 3\n" + Click(kPlay) + Click(kEasy) + Click(kSingleGames);
  script += "move 900 700\nwait 1\n" + Screenshot("offset0.png");
  for (int i = 0; i < 9; ++i) script += Click(kListDown);
  script += "move 900 700\nwait 1\n" + Screenshot("offset9.png");
  for (int i = 0; i < 3; ++i) script += Click(kListDown);  // no arrow any more: stays at 9
  for (int i = 0; i < 4; ++i) script += Click(kListUp);    // offset 5: memory is the first row
  script += Click(kListRow0);
  script += "wait 200\nkey escape\nwait 3\n" + Click(kQuitPlay) + "wait 3\n" + Click(kQuitProgram);
  ASSERT_EQ(Run(script), 0) << Output();
  GameRecord memory;
  ASSERT_TRUE(memory.LoadFile(File("merkspiel.sav").c_str()));
  EXPECT_EQ(memory.playCount, 1);
  const std::vector<uint32_t> top = Shot("offset0.png"), bottom = Shot("offset9.png");
  ASSERT_FALSE(top.empty());
  ASSERT_FALSE(bottom.empty());
  // Up arrow only at the end of the list, down arrow only at its start.
  EXPECT_TRUE(Differ(top, bottom, 487, 109, 537, 159));
  EXPECT_TRUE(Differ(top, bottom, 487, 594, 537, 644));
}

}  // namespace
