// The Sudoku: generated boards, selecting and typing, conflict counting, the
// end at any conflict-free completion, grading, and plays to the end on its
// own and through the main menu (with pictures of every screen).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Denkar_Spiele/DG_Sudoku9x9.h"
#include "Denkar_Spiele/autoplay_sudoku.h"
#include "data/language.h"
#include "framework/game_record.h"
#include "framework/stats_record.h"
#include "platform/clock.h"
#include "shell/shell.h"
#include "support/menu_play.h"
#include "support/play_driver.h"
#include "support/test_app.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

constexpr int SUDOKU_LIST_INDEX = 11;
constexpr int EMPTIED[3] = {10, 20, 30};

// Every row, column and 3 x 3 box holds each digit 1 ... 9 once.
bool IsValidSudoku(const int v[9][9]) {
  for (int group = 0; group < 27; ++group) {
    bool seen[10] = {};
    for (int l = 0; l < 9; ++l) {
      int a, b;
      if (group < 9) a = l, b = group;
      else if (group < 18) a = group - 9, b = l;
      else a = (group - 18) % 3 * 3 + l % 3, b = (group - 18) / 3 * 3 + l / 3;
      const int d = v[a][b];
      if (d < 1 || d > 9 || seen[d]) return false;
      seen[d] = true;
    }
  }
  return true;
}

// Boards made from a chosen tick count (the game seeds with it).
class SudokuTest : public testapp::AppTest {
 public:
  // The open cells in board order, as (column, row).
  static std::vector<std::pair<int, int>> OpenCells(const DG_Sudoku9x9& game) {
    std::vector<std::pair<int, int>> out;
    for (int a = 0; a < 9; ++a)
      for (int b = 0; b < 9; ++b)
        if (!game.cells[a][b].given) out.push_back({a, b});
    return out;
  }
  // A digit given elsewhere in the row of open cell (a, b), or 0.
  static int GivenInRow(const DG_Sudoku9x9& game, int a, int b) {
    for (int c = 0; c < 9; ++c)
      if (c != a && game.cells[c][b].given) return game.cells[c][b].value;
    return 0;
  }

 protected:
  const char* FolderPrefix() const override { return "denkar_sudoku"; }
  void TearDown() override {
    ClockUseVirtual(false);
    ClockSetTickStart(0);
    AppTest::TearDown();
  }
  static std::unique_ptr<DG_Sudoku9x9> Seeded(int difficulty, uint32_t seed) {
    ClockUseVirtual(true);
    ClockSetTickStart(seed);
    auto game = std::make_unique<DG_Sudoku9x9>(difficulty);
    ClockUseVirtual(false);
    game->DisableRecording();
    return game;
  }
  static void Select(DG_Sudoku9x9& game, int a, int b) {
    const SudokuCell& cell = game.cells[a][b];
    game.OnLButtonUp(static_cast<int>(cell.x) + 25, static_cast<int>(cell.y) + 25);
  }
  static void Enter(DG_Sudoku9x9& game, int a, int b, int key) {
    Select(game, a, b);
    game.OnKeyUp(key);
  }
};

TEST_F(SudokuTest, GeneratedBoardsAreValidWithExactlyTheEmptiedCells) {
  std::set<std::vector<int>> firstRows;
  for (int d = 0; d < 3; ++d) {
    for (uint32_t seed = 0; seed < 120; ++seed) {
      auto game = Seeded(d, seed * 7919u + 13u);
      SCOPED_TRACE("difficulty " + std::to_string(d) + " seed " + std::to_string(seed));
      ASSERT_EQ(game->emptiedCount, EMPTIED[d]);
      ASSERT_TRUE(IsValidSudoku(game->solution));
      int open = 0;
      for (int a = 0; a < 9; ++a)
        for (int b = 0; b < 9; ++b) {
          const SudokuCell& cell = game->cells[a][b];
          if (cell.given) {
            EXPECT_EQ(cell.value, game->solution[a][b]);
          } else {
            EXPECT_EQ(cell.value, -1);
            ++open;
          }
          EXPECT_TRUE(cell.valid);
        }
      EXPECT_EQ(open, EMPTIED[d]);
      EXPECT_EQ(game->EmptyCount(), EMPTIED[d]);
      EXPECT_EQ(game->GetState(), GAME_STATE_RUNNING);
      EXPECT_FALSE(game->solved);
      EXPECT_TRUE(game->allValid);
      firstRows.insert({game->solution[0][0], game->solution[1][0], game->solution[2][0],
                        game->solution[3][0], game->solution[4][0]});
    }
  }
  EXPECT_GT(firstRows.size(), 100u);  // the digits really are shuffled

  // Emptying ends even when asked for more cells than the board holds.
  auto all = Seeded(2, 3);
  all->emptiedCount = 500;
  all->EmptyCells();
  EXPECT_EQ(all->EmptyCount(), 81);

  // The grid is 470 pixels square, centred, with 10-pixel gaps between boxes.
  auto game = Seeded(0, 1);
  EXPECT_FLOAT_EQ(game->cells[0][0].x, 277);
  EXPECT_FLOAT_EQ(game->cells[0][0].y, 149);
  EXPECT_FLOAT_EQ(game->cells[3][0].x, 437);
  EXPECT_FLOAT_EQ(game->cells[8][8].x, 697);
  EXPECT_FLOAT_EQ(game->cells[8][8].y, 569);
  EXPECT_FLOAT_EQ(game->cells[8][8].y + 50 - game->cells[0][0].y, 470);
}

TEST_F(SudokuTest, SelectingAndTyping) {
  auto game = Seeded(2, 42);
  const auto open = OpenCells(*game);
  const auto [a, b] = open[0];
  int ga = 0, gb = 0;
  while (!game->cells[ga][gb].given) ++ga;
  SudokuCell* cell = &game->cells[a][b];

  Select(*game, a, b);  // before the start nothing is taken
  EXPECT_EQ(game->selected, nullptr);
  game->Start();
  game->OnKeyUp('5');  // no cell selected
  EXPECT_EQ(game->moveCount, 0);
  Select(*game, ga, gb);  // a given cell cannot be selected
  EXPECT_EQ(game->selected, nullptr);
  Select(*game, a, b);
  EXPECT_EQ(game->selected, cell);
  Select(*game, ga, gb);  // ... nor does it take the selection away
  game->OnLButtonUp(5, 5);
  EXPECT_EQ(game->selected, cell);

  game->OnKeyUp('7');
  EXPECT_EQ(cell->value, 7);
  EXPECT_EQ(game->moveCount, 1);
  // The release of Ctrl (of Ctrl+Enter) is not typed into the cell.
  game->OnKeyUp(VK_CONTROL);
  EXPECT_EQ(cell->value, 7);
  EXPECT_EQ(game->moveCount, 1);
  // '0', letters and other keys empty the cell and count as moves.
  for (int key : {int{'0'}, int{'A'}, VK_SPACE}) {
    game->OnKeyUp('3');
    game->OnKeyUp(key);
    EXPECT_EQ(cell->value, -1) << key;
  }
  EXPECT_EQ(game->moveCount, 7);
}

TEST_F(SudokuTest, ConflictsCountOnlyOnTheStepFromConflictFree) {
  auto game = Seeded(2, 7);
  game->Start();
  const auto open = OpenCells(*game);
  // Two open cells whose rows hold a given digit.
  std::vector<std::pair<int, int>> picked;
  for (auto cell : open)
    if (GivenInRow(*game, cell.first, cell.second) && picked.size() < 2) picked.push_back(cell);
  ASSERT_EQ(picked.size(), 2u);
  const auto [a1, b1] = picked[0];
  const auto [a2, b2] = picked[1];
  const int clash1 = GivenInRow(*game, a1, b1);

  Enter(*game, a1, b1, '0' + clash1);
  EXPECT_EQ(game->conflictCount, 1);
  EXPECT_FALSE(game->allValid);
  EXPECT_FALSE(game->cells[a1][b1].valid);
  int redInRow = 0;
  for (int c = 0; c < 9; ++c) redInRow += game->cells[c][b1].valid ? 0 : 1;
  EXPECT_EQ(redInRow, 2);  // both cells turn red
  EXPECT_TRUE(game->conflicts.Contains(&game->cells[a1][b1]));
  // Each cell is listed once, however many groups it clashes in.
  for (int i = 0; i < game->conflicts.Count(); ++i)
    for (int j = i + 1; j < game->conflicts.Count(); ++j)
      EXPECT_NE(game->conflicts.Get(i), game->conflicts.Get(j));

  // A second conflict while the board already has one does not count again.
  Enter(*game, a2, b2, '0' + GivenInRow(*game, a2, b2));
  EXPECT_EQ(game->conflictCount, 1);
  // Clearing both makes the board conflict-free; the next clash counts.
  Enter(*game, a1, b1, '0');
  Enter(*game, a2, b2, VK_BACK);
  EXPECT_TRUE(game->allValid);
  EXPECT_EQ(game->conflicts.Count(), 0);
  for (auto cell : open) EXPECT_TRUE(game->cells[cell.first][cell.second].valid);
  Enter(*game, a1, b1, '0' + clash1);
  EXPECT_EQ(game->conflictCount, 2);
  EXPECT_EQ(game->moveCount, 5);
  // A right digit typed elsewhere keeps the board in conflict: no new count.
  const auto [a3, b3] = open.back();
  Enter(*game, a3, b3, '0' + game->solution[a3][b3]);
  EXPECT_EQ(game->conflictCount, 2);
}

TEST_F(SudokuTest, AnyConflictFreeCompletionEndsThePlay) {
  auto game = Seeded(1, 99);
  game->Start();
  auto open = OpenCells(*game);
  // Another valid board: the first open cell's digit and the next digit
  // swapped everywhere. Its given digits are set directly; the open cells are
  // typed in, so the typed board differs from the generated solution.
  const int x = game->solution[open[0].first][open[0].second], y = x % 9 + 1;
  int other[9][9];
  for (int a = 0; a < 9; ++a)
    for (int b = 0; b < 9; ++b) {
      const int v = game->solution[a][b];
      other[a][b] = v == x ? y : v == y ? x : v;
      if (game->cells[a][b].given) game->cells[a][b].value = other[a][b];
    }
  ASSERT_TRUE(IsValidSudoku(other));
  const auto [la, lb] = open.back();
  open.pop_back();
  for (auto [a, b] : open) Enter(*game, a, b, '0' + other[a][b]);
  // Full, but with a conflict: the play goes on.
  const int wrong = other[la][lb] % 9 + 1;
  Enter(*game, la, lb, '0' + wrong);
  EXPECT_EQ(game->EmptyCount(), 0);
  app->frameTime = app->realFrameTime = 0.5;
  game->Update();
  EXPECT_EQ(game->GetState(), GAME_STATE_RUNNING);
  EXPECT_FALSE(game->solved);

  Enter(*game, la, lb, '0' + other[la][lb]);
  EXPECT_TRUE(game->solved);
  EXPECT_NE(game->cells[open[0].first][open[0].second].value,
            game->solution[open[0].first][open[0].second]);
  game->Update();
  EXPECT_EQ(game->GetState(), GAME_STATE_ENDED);
  // After the end no click or key changes the board.
  const int moves = game->moveCount;
  game->selected = nullptr;
  Select(*game, la, lb);
  EXPECT_EQ(game->selected, nullptr);
  game->selected = &game->cells[la][lb];
  game->OnKeyUp('0');
  EXPECT_EQ(game->cells[la][lb].value, other[la][lb]);
  EXPECT_EQ(game->moveCount, moves);
}

TEST_F(SudokuTest, GradesAndResultText) {
  {  // solved: conflicts / emptied + 1 + t / 180 (real division)
    auto game = Seeded(1, 5);
    game->SetState(GAME_STATE_ENDED);
    game->conflictCount = 3;
    game->playTime = 90.0;
    game->ComputeGrade();
    EXPECT_DOUBLE_EQ(game->GetGrade(), 3.0 / 20 + 1.0 + 0.5);
  }
  {  // quit with all 30 cells open: f = 1, grade 6.0
    auto game = Seeded(2, 5);
    game->playTime = 10.0;
    game->SetState(GAME_STATE_QUIT);
    game->ComputeGrade();
    EXPECT_DOUBLE_EQ(game->GetGrade(), 6.0);
  }
  {  // quit with half of 10 cells filled right after 18 s: 0.5 * 5 + 1 + 0.1
    auto game = Seeded(0, 5);
    game->Start();
    const auto open = OpenCells(*game);
    for (int i = 0; i < 5; ++i)
      Enter(*game, open[i].first, open[i].second, '0' + game->solution[open[i].first][open[i].second]);
    app->frameTime = app->realFrameTime = 18.0;
    game->Update();
    game->SetState(GAME_STATE_QUIT);
    game->Update();  // the clock stands once the player quit
    game->ComputeGrade();
    EXPECT_DOUBLE_EQ(game->playTime, 18.0);
    EXPECT_DOUBLE_EQ(game->GetGrade(), 3.6);
    const std::string expected = FormatText(GetLangText(22), {0, 18}) + "\n" +
                                 FormatText(GetLangText(40), {0}) + "\n" +
                                 FormatText(GetLangText(41), {18.0 / 5}) + "\n\n" +
                                 FormatText(GetLangText(50), {3.6});
    EXPECT_EQ(game->GetResultText(), expected);
  }
  auto game = Seeded(0, 5);  // no move: the average is 0
  EXPECT_NE(std::string(game->GetResultText()).find(FormatText(GetLangText(41), {0.0})),
            std::string::npos);
  EXPECT_STREQ(game->GetResultTitle(), GetLangText(14));
  EXPECT_STREQ(game->GetDescriptionText(), GetLangText(75));
  EXPECT_NE(game->GetStatisticsText(), nullptr);
}

TEST_F(SudokuTest, AutoplayWinsAtEveryDifficultyAndTheSaveFileCountsThePlays) {
  double best = 6.0;
  for (int d = 0; d < 3; ++d) {
    DG_Sudoku9x9 game(d);
    GameDriver driver(game);
    driver.Wait(30.0, 0.5);
    AutoplayWin_DG_Sudoku9x9(driver);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
    EXPECT_EQ(game.conflictCount, 0);
    EXPECT_EQ(game.moveCount, EMPTIED[d]);
    const double playTime = game.playTime;
    EXPECT_GE(playTime, 30.0);
    driver.Wait(1.0);  // the clock stands after the solve
    EXPECT_DOUBLE_EQ(game.playTime, playTime);
    game.ComputeGrade();
    EXPECT_NEAR(game.GetGrade(), 1.0 + playTime / 180, 1e-12);
    best = std::min(best, game.GetGrade());
  }
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("sudoku.sav"));
  EXPECT_EQ(saved.playCount, 3);
  EXPECT_NEAR(saved.bestGrade, best, 1e-5);
  EXPECT_EQ(app->statistics->playCount, 3);
}

class SudokuMenuTest : public testapp::MenuPlayTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_sudoku_menu"; }
  DG_Sudoku9x9* Game() { return static_cast<DG_Sudoku9x9*>(menu->activeGame); }
  void ClickCell(const SudokuCell& cell) {
    driver->Click(static_cast<int>(cell.x) + 25, static_cast<int>(cell.y) + 25);
  }
};

TEST_F(SudokuMenuTest, PlayFromTheMenuToTheTopTen) {
  ASSERT_TRUE(driver->StartFromMenu(SUDOKU_LIST_INDEX, 1));
  ASSERT_NE(Game(), nullptr);
  EXPECT_EQ(Game()->emptiedCount, 20);
  driver->SkipCountdown();
  driver->Wait(5.0);
  AutoplayWin_DG_Sudoku9x9(*driver);
  ASSERT_EQ(Game()->GetState(), GAME_STATE_ENDED);
  const double playTime = Game()->playTime;
  EXPECT_NEAR(EnterTopTenName("Ida", "sudoku.sav"), 1.0 + playTime / 180, 1e-5);
}

// Ctrl+Enter switches the display; neither its Enter nor its Ctrl release
// may empty the selected cell.
TEST_F(SudokuMenuTest, CtrlEnterLeavesTheSelectedCellAlone) {
  ASSERT_TRUE(driver->StartFromMenu(SUDOKU_LIST_INDEX, 0));
  driver->SkipCountdown();
  DG_Sudoku9x9* game = Game();
  const auto [a, b] = SudokuTest::OpenCells(*game).front();
  const SudokuCell& cell = game->cells[a][b];
  ClickCell(cell);
  driver->Key('4');
  ASSERT_EQ(cell.value, 4);
  const int moves = game->moveCount;

  static bool ctrlHeld = false;
  ShellState& shell = GetShellState();
  shell = ShellState{};
  shell.isKeyDown = [](int key) { return key == VK_CONTROL && ctrlHeld; };
  shell.mainMenu = menu.get();
  app->currentControl = menu.get();
  const bool fullscreen = app->fullscreen;
  ctrlHeld = true;
  WindowProc(nullptr, WM_KEYDOWN, VK_CONTROL, 0);
  WindowProc(nullptr, WM_KEYDOWN, VK_RETURN, 0);
  // Both orders of letting go.
  WindowProc(nullptr, WM_KEYUP, VK_RETURN, 0);
  ctrlHeld = false;
  WindowProc(nullptr, WM_KEYUP, VK_CONTROL, 0);
  ctrlHeld = true;
  WindowProc(nullptr, WM_KEYDOWN, VK_CONTROL, 0);
  WindowProc(nullptr, WM_KEYDOWN, VK_RETURN, 0);
  ctrlHeld = false;
  WindowProc(nullptr, WM_KEYUP, VK_CONTROL, 0);
  WindowProc(nullptr, WM_KEYUP, VK_RETURN, 0);
  EXPECT_EQ(shell.fullscreenSwitches, 2);
  EXPECT_EQ(cell.value, 4);
  EXPECT_EQ(game->moveCount, moves);
  // A plain Enter still empties it, as any non-digit key does.
  WindowProc(nullptr, WM_KEYDOWN, VK_RETURN, 0);
  WindowProc(nullptr, WM_KEYUP, VK_RETURN, 0);
  EXPECT_EQ(cell.value, -1);
  app->currentControl = nullptr;
  app->fullscreen = fullscreen;
  shell = ShellState{};
}

TEST_F(SudokuMenuTest, ScreensAtEveryDifficultyInBothLanguages) {
  ShootEveryScreen("sudoku", SUDOKU_LIST_INDEX, [this](const std::string& stem) {
    driver->Wait(3.0);
    DG_Sudoku9x9* game = Game();
    const auto open = SudokuTest::OpenCells(*game);
    // A clash in the first open cell, and the selection on the last one.
    const auto [a, b] = open.front();
    const auto [la, lb] = open.back();
    ClickCell(game->cells[a][b]);
    driver->Key('0' + SudokuTest::GivenInRow(*game, a, b));
    ClickCell(game->cells[la][lb]);
    driver->Key('0' + game->solution[la][lb]);
    Shoot(stem + "2_task.png");
    AutoplayWin_DG_Sudoku9x9(*driver);
  });
}

// A play the player quits is graded by its open and clashing cells.
TEST_F(SudokuMenuTest, QuitFromThePauseMenu) {
  ASSERT_TRUE(driver->StartFromMenu(SUDOKU_LIST_INDEX, 2));
  driver->SkipCountdown();
  driver->Wait(2.0);
  driver->Key(VK_ESCAPE);
  ASSERT_EQ(menu->currentPage, 45);
  ASSERT_TRUE(driver->ClickElement(49));
  // Grade 6.0 never enters the top 10: straight back to the main page.
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(menu->currentPage, 1);
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("sudoku.sav"));
  EXPECT_EQ(saved.playCount, 1);
  EXPECT_DOUBLE_EQ(saved.worstGrade, 6.0);
  EXPECT_EQ(saved.Entries().Count(), 0);
}

}  // namespace
