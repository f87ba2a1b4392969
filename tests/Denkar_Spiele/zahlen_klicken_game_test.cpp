// The number clicking game: boards and their order, right, wrong and missed
// clicks, the pause between boards, grading, and plays to the end on its own
// and through the main menu (with pictures of every screen).
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "Denkar_Spiele/DG_Zahlen_klicken.h"
#include "Denkar_Spiele/autoplay_zahlen_klicken.h"
#include "data/language.h"
#include "framework/game_record.h"
#include "platform/crt_rand.h"
#include "support/menu_play.h"
#include "support/play_driver.h"
#include "support/test_app.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

constexpr int NUMBERS_LIST_INDEX = 15;

class NumbersTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_numbers"; }
  static void ClickTile(DG_Zahlen_klicken& game, int index) {
    const NumberTile* tile = game.tiles.Get(index);
    game.OnLButtonDown(static_cast<int>(tile->x), static_cast<int>(tile->y));
  }
  void Tick(DG_Zahlen_klicken& game, double seconds) {
    app->frameTime = app->realFrameTime = seconds;
    game.Update();
  }
  // Clears the board in order, with one wrong click first when `faulty`.
  void PlayBoard(DG_Zahlen_klicken& game, bool faulty) {
    if (faulty) ClickTile(game, 1);
    while (game.tiles.Count() > 0) ClickTile(game, 0);
    Tick(game, 1.0);  // the pause before the next board
  }
};

TEST_F(NumbersTest, BoardsByDifficulty) {
  const int sizes[3] = {2, 3, 4};
  for (int d = 0; d < 3; ++d) {
    std::set<bool> orders;
    for (uint32_t seed = 0; seed < 40; ++seed) {
      CrtSrand(seed);
      DG_Zahlen_klicken game(d);
      game.DisableRecording();
      ASSERT_EQ(game.gridSize, sizes[d]);
      EXPECT_EQ(game.boards, 10);
      for (int board = 0; board < 10; ++board) {
        if (board > 0) game.NewBoard();
        const int n = game.gridSize;
        ASSERT_EQ(game.tiles.Count(), n * n);
        EXPECT_EQ(game.nextIndex, 0);
        EXPECT_TRUE(game.boardClean);
        orders.insert(game.ascending);
        std::set<int> numbers;
        std::set<std::pair<int, int>> places;
        for (int i = 0; i < game.tiles.Count(); ++i) {
          const NumberTile* tile = game.tiles.Get(i);
          EXPECT_GE(tile->number, 0);
          EXPECT_LE(tile->number, 19);
          numbers.insert(tile->number);
          EXPECT_FALSE(tile->clicked);
          // Centres on the centred grid with a 54-pixel pitch.
          const double ox = 512 - n / 2.0 * 54 + 27, oy = 384 - n / 2.0 * 54 + 27;
          const double col = (tile->x - ox) / 54, row = (tile->y - oy) / 54;
          EXPECT_DOUBLE_EQ(col, std::round(col));
          EXPECT_DOUBLE_EQ(row, std::round(row));
          places.insert({static_cast<int>(col), static_cast<int>(row)});
          // 50-pixel tiles on distinct places of that pitch never overlap.
          for (int j = 0; j < i; ++j) {
            const NumberTile* other = game.tiles.Get(j);
            EXPECT_TRUE(std::abs(tile->x - other->x) >= 50 || std::abs(tile->y - other->y) >= 50);
          }
          if (i > 0) {
            const int before = game.tiles.Get(i - 1)->number;
            EXPECT_TRUE(game.ascending ? before < tile->number : before > tile->number);
          }
        }
        EXPECT_EQ(numbers.size(), static_cast<size_t>(n * n));
        EXPECT_EQ(places.size(), static_cast<size_t>(n * n));
      }
    }
    // Easy always ascends, medium always descends, hard draws each board.
    const std::set<bool> expected = d == 0   ? std::set<bool>{true}
                                    : d == 1 ? std::set<bool>{false}
                                             : std::set<bool>{false, true};
    EXPECT_EQ(orders, expected);
  }
}

TEST_F(NumbersTest, RightWrongAndMissedClicks) {
  DG_Zahlen_klicken game(0);
  game.DisableRecording();
  const NumberTile* first = game.tiles.Get(0);
  ClickTile(game, 0);  // before the start nothing happens
  EXPECT_EQ(game.tiles.Count(), 4);
  game.Start();

  // A tile out of turn turns red and counts, each time it is clicked.
  NumberTile* third = game.tiles.Get(2);
  ClickTile(game, 2);
  ClickTile(game, 2);
  EXPECT_TRUE(third->clicked);
  EXPECT_EQ(game.wrongClicks, 2);
  EXPECT_FALSE(game.boardClean);
  EXPECT_EQ(game.tiles.Count(), 4);
  // Gaps between tiles and the space around the grid are no clicks at all.
  const int x = static_cast<int>(first->x), y = static_cast<int>(first->y);
  for (auto [gx, gy] : {std::pair{x + 27, y}, {x, y + 27}, {x + 26, y + 26}, {x - 26, y}, {5, 5}})
    game.OnLButtonDown(gx, gy);
  EXPECT_EQ(game.wrongClicks, 2);
  EXPECT_EQ(game.tiles.Count(), 4);
  // The hit box includes its edge; the smallest number goes.
  game.OnLButtonDown(x + 25, y - 25);
  EXPECT_EQ(game.tiles.Count(), 3);
  EXPECT_FALSE(game.tiles.Contains(first));
  ClickTile(game, 0);
  // The red tile is removed normally when its turn comes.
  EXPECT_EQ(game.tiles.Get(0), third);
  ClickTile(game, 0);
  ClickTile(game, 0);
  EXPECT_EQ(game.tiles.Count(), 0);
  EXPECT_EQ(game.faultyBoards, 1);
  EXPECT_EQ(game.cleanBoards, 0);
  EXPECT_DOUBLE_EQ(game.boardDelay, 1.0);

  // The pause: clicks do nothing, the clock stands, then the next board.
  Tick(game, 0.5);
  game.OnLButtonDown(485, 357);
  EXPECT_EQ(game.tiles.Count(), 0);
  EXPECT_DOUBLE_EQ(game.playTime, 0.0);
  Tick(game, 0.5);
  EXPECT_EQ(game.tiles.Count(), 4);
  EXPECT_TRUE(game.boardClean);
  Tick(game, 2.0);
  EXPECT_DOUBLE_EQ(game.playTime, 2.0);
}

TEST_F(NumbersTest, GradesAndResultTexts) {
  {  // quit after three boards, one faulty, at 60 s: 1 + 1/3 * 10 + 1
    DG_Zahlen_klicken game(2);
    game.DisableRecording();
    game.Start();
    PlayBoard(game, false);
    PlayBoard(game, true);
    PlayBoard(game, false);
    Tick(game, 60.0);
    game.SetState(GAME_STATE_QUIT);
    Tick(game, 5.0);  // a quit play stands still
    EXPECT_DOUBLE_EQ(game.playTime, 60.0);
    game.ComputeGrade();
    EXPECT_NEAR(game.GetGrade(), 1.0 + 10.0 / 3 + 1.0, 1e-12);
    EXPECT_NEAR(game.GetGrade(), 5.33, 0.005);
    const std::string expected =
        FormatText(GetLangText(22), {1, 0}) + "\n" + FormatTextWin(GetLangText(124), {1}) + "\n" +
        FormatTextWin(GetLangText(30), {2}) + "\n" + FormatTextWin(GetLangText(31), {1}) + "\n" +
        FormatTextWin(GetLangText(32), {66}) + "\n\n" + FormatText(GetLangText(41), {20.0}) +
        "\n" + FormatText(GetLangText(50), {game.GetGrade()});
    EXPECT_EQ(game.GetResultText(), expected);
  }
  {  // quit before any board: 6.0, 0 % and an average of 0.0
    DG_Zahlen_klicken game(0);
    game.DisableRecording();
    game.Start();
    Tick(game, 3.0);
    game.SetState(GAME_STATE_QUIT);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
    const std::string text = game.GetResultText();
    EXPECT_NE(text.find(FormatTextWin(GetLangText(32), {0})), std::string::npos);
    EXPECT_NE(text.find(FormatText(GetLangText(41), {0.0})), std::string::npos);
  }
  {  // all ten boards, two faulty, in 90 s: 2/10 * 5 + 1 + 1.5
    DG_Zahlen_klicken game(1);
    game.DisableRecording();
    game.Start();
    Tick(game, 90.0);
    for (int board = 0; board < 10; ++board) PlayBoard(game, board == 3 || board == 7);
    EXPECT_EQ(game.GetState(), GAME_STATE_ENDED);
    EXPECT_EQ(game.FinishedBoards(), 10);
    EXPECT_EQ(game.tiles.Count(), 0);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 1.0 + 1.0 + 1.5);
    game.OnLButtonDown(485, 357);  // nothing after the end
    EXPECT_EQ(game.wrongClicks, 2);
  }
  DG_Zahlen_klicken game(0);
  game.DisableRecording();
  EXPECT_STREQ(game.GetResultTitle(), GetLangText(120));
  EXPECT_STREQ(game.GetDescriptionText(), GetLangText(121));
  EXPECT_NE(game.GetStatisticsText(), nullptr);
}

TEST_F(NumbersTest, AutoplayWinsAtEveryDifficultyAndTheSaveFileCountsThePlays) {
  for (int d = 0; d < 3; ++d) {
    DG_Zahlen_klicken game(d);
    GameDriver driver(game);
    driver.Wait(6.0, 0.5);
    AutoplayWin_DG_Zahlen_klicken(driver);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
    EXPECT_EQ(game.cleanBoards, 10);
    EXPECT_EQ(game.wrongClicks, 0);
    game.ComputeGrade();
    EXPECT_NEAR(game.GetGrade(), 1.0 + game.playTime / 60, 1e-12);
  }
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("zahlenklicken.sav"));
  EXPECT_EQ(saved.playCount, 3);
}

class NumbersMenuTest : public testapp::MenuPlayTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_numbers_menu"; }
  DG_Zahlen_klicken* Game() { return static_cast<DG_Zahlen_klicken*>(menu->activeGame); }
  void ClickTile(int index) {
    const NumberTile* tile = Game()->tiles.Get(index);
    driver->Click(static_cast<int>(tile->x), static_cast<int>(tile->y));
  }
};

TEST_F(NumbersMenuTest, PlayFromTheMenuToTheTopTen) {
  ASSERT_TRUE(driver->StartFromMenu(NUMBERS_LIST_INDEX, 2));
  ASSERT_NE(Game(), nullptr);
  EXPECT_EQ(Game()->gridSize, 4);
  driver->SkipCountdown();
  AutoplayWin_DG_Zahlen_klicken(*driver);
  ASSERT_EQ(Game()->GetState(), GAME_STATE_ENDED);
  const double playTime = Game()->playTime;
  EXPECT_NEAR(EnterTopTenName("Ole", "zahlenklicken.sav"), 1.0 + playTime / 60, 1e-5);
}

TEST_F(NumbersMenuTest, QuitAfterAFaultyBoard) {
  ASSERT_TRUE(driver->StartFromMenu(NUMBERS_LIST_INDEX, 0));
  driver->SkipCountdown();
  ClickTile(3);
  while (Game()->tiles.Count() > 0) ClickTile(0);
  driver->Wait(1.5);
  driver->Key(VK_ESCAPE);
  ASSERT_TRUE(driver->ClickElement(49));
  // One board, faulty: 1 + 10 + t / 60, capped at 6; no top-10 place.
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(menu->currentPage, 1);
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("zahlenklicken.sav"));
  EXPECT_EQ(saved.playCount, 1);
  EXPECT_DOUBLE_EQ(saved.gradeSum, 6.0);
}

TEST_F(NumbersMenuTest, ScreensAtEveryDifficultyInBothLanguages) {
  ShootEveryScreen("numbers", NUMBERS_LIST_INDEX, [this](const std::string& stem) {
    driver->Wait(2.0);
    // One right click and one wrong (red) tile.
    ClickTile(0);
    ClickTile(2);
    Shoot(stem + "2_task.png");
    AutoplayWin_DG_Zahlen_klicken(*driver);
  });
}

}  // namespace
