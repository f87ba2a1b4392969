// The sliding puzzle: the shuffle walk, clicks next to the gap and beside it,
// the glide, the end of input at the solve, grading, and whole plays won
// through the autoplayer (alone and from the main menu) or quit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "Denkar_Spiele/DG_Schiebe_Puzzle.h"
#include "Denkar_Spiele/autoplay_DG_Schiebe_Puzzle.h"
#include "framework/game_record.h"
#include "framework/stats_record.h"
#include "menu/main_menu.h"
#include "platform/crt_rand.h"
#include "support/menu_play.h"
#include "support/play_driver.h"
#include "support/test_app.h"
#include "util/app_context.h"

namespace {

class PuzzleTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_puzzle"; }
  // Screen centre of the board place (column, row) when its tile is at rest.
  static void PlaceCentre(const DG_Schiebe_Puzzle& game, int column, int row, int* x, int* y) {
    const int step = static_cast<int>(game.board[0][0].size[0]) + 3;
    *x = 1024 / 2 - 420 + step * column + step / 2;
    *y = 768 / 2 - 200 + step * row + step / 2;
  }
  // Copies of the board homes, to see whether a click changed anything.
  static std::vector<PuzzlePlace> Homes(const DG_Schiebe_Puzzle& game) {
    std::vector<PuzzlePlace> out;
    for (int i = 0; i < game.n; ++i)
      for (int j = 0; j < game.n; ++j)
        out.push_back({game.board[i][j].homeColumn, game.board[i][j].homeRow});
    return out;
  }
};

TEST_F(PuzzleTest, ShuffleWalksTheGapWithoutEverUndoingAMove) {
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
      CrtSrand(seed * 7919u);
      DG_Schiebe_Puzzle game(difficulty);
      game.DisableRecording();
      const int n = 3 + difficulty;
      ASSERT_EQ(game.n, n);
      ASSERT_EQ(game.shuffleMoves, 50 * (difficulty + 1));
      // The gap moved once per shuffle move, one place at a time, and never
      // straight back to where it just came from.
      const std::vector<PuzzlePlace>& path = game.shufflePath;
      ASSERT_EQ(static_cast<int>(path.size()), game.shuffleMoves + 1);
      EXPECT_EQ(path.front(), (PuzzlePlace{n - 1, n - 1}));
      EXPECT_EQ(game.GapPlace(), path.back());
      for (size_t k = 1; k < path.size(); ++k) {
        EXPECT_EQ(std::abs(path[k].column - path[k - 1].column) +
                      std::abs(path[k].row - path[k - 1].row),
                  1);
        if (k >= 2) {
          EXPECT_FALSE(path[k] == path[k - 2]) << "move " << k << " undoes the last";
        }
      }
      // Every tile glides to the place that holds it.
      const int step = static_cast<int>(game.board[0][0].size[0]) + 3;
      for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
          EXPECT_EQ(game.board[i][j].target[0], 512 - 420 + step * i);
          EXPECT_EQ(game.board[i][j].target[1], 384 - 200 + step * j);
        }
      EXPECT_FALSE(game.IsSolved());
    }
  }
}

TEST_F(PuzzleTest, AShuffleThatLeadsBackToTheSolvedBoardIsShuffledAgain) {
  // With this seed the first 50-move walk on the 3 x 3 board ends with every
  // tile at home (one seed in about four million does).
  CrtSrand(47010);
  DG_Schiebe_Puzzle game(0);
  game.DisableRecording();
  EXPECT_FALSE(game.IsSolved());
  ASSERT_EQ(static_cast<int>(game.shufflePath.size()), 51);
  EXPECT_EQ(game.shufflePath.front(), (PuzzlePlace{2, 2}));
  EXPECT_EQ(game.GapPlace(), game.shufflePath.back());
  GameDriver driver(game);
  AutoplayWin_DG_Schiebe_Puzzle(driver);
  EXPECT_EQ(game.moveCount, 50);
}

TEST_F(PuzzleTest, ClicksSlideOnlyTilesNextToTheGap) {
  CrtSrand(99);
  DG_Schiebe_Puzzle game(1);
  game.DisableRecording();
  GameDriver driver(game, false);
  const PuzzlePlace gap = game.GapPlace();
  int x, y;
  PlaceCentre(game, gap.column, gap.row, &x, &y);
  driver.Click(x, y);  // before the start: nothing
  EXPECT_EQ(game.GapPlace(), gap);
  game.Start();
  // The tiles start at their homes and glide to their shuffled places.
  EXPECT_TRUE(game.board[gap.column][gap.row].isGap);
  driver.Wait(3.0);
  for (int i = 0; i < game.n; ++i)
    for (int j = 0; j < game.n; ++j)
      ASSERT_NEAR(game.board[i][j].position[0], game.board[i][j].target[0], 0.01);

  // A tile two places away from the gap cannot slide: an invalid click.
  const std::vector<PuzzlePlace> before = Homes(game);
  const PuzzlePlace far{gap.column >= 2 ? gap.column - 2 : gap.column + 2, gap.row};
  PlaceCentre(game, far.column, far.row, &x, &y);
  driver.Click(x, y);
  EXPECT_EQ(game.moveCount, 0);
  EXPECT_EQ(game.invalidClicks, 1);
  EXPECT_EQ(Homes(game), before);
  // Between two tiles and beside the board: nothing at all.
  const int s = static_cast<int>(game.board[0][0].size[0]);
  driver.Click(512 - 420 + s + 1, 384 - 200 + s / 2);
  driver.Click(5, 5);
  EXPECT_EQ(game.invalidClicks, 1);
  EXPECT_EQ(Homes(game), before);

  // A neighbour of the gap slides into it and glides there.
  const PuzzlePlace next{gap.column > 0 ? gap.column - 1 : gap.column + 1, gap.row};
  const PuzzleTile moving = game.board[next.column][next.row];
  PlaceCentre(game, next.column, next.row, &x, &y);
  driver.Click(x, y);
  EXPECT_EQ(game.moveCount, 1);
  EXPECT_EQ(game.GapPlace(), next);
  const PuzzleTile& moved = game.board[gap.column][gap.row];
  EXPECT_TRUE(moved.AtHome(moving.homeColumn, moving.homeRow));
  EXPECT_EQ(moved.speed, 5.0);
  EXPECT_EQ(moved.position[0], moving.position[0]);  // still where it was
  const float from = moved.position[0], to = moved.target[0];
  driver.Frame(1.0 / 60);
  EXPECT_NEAR(moved.position[0], from + (to - from) * 5.0 / 60, 1e-3);
  // A long frame brings it exactly there, never past it.
  driver.Frame(2.0);
  EXPECT_EQ(moved.position[0], to);

  // Clicking the gap slides its first neighbour in the order column + 1,
  // column - 1, row + 1, row - 1.
  const PuzzlePlace gap2 = game.GapPlace();
  PuzzlePlace first{gap2.column + 1, gap2.row};
  if (first.column >= game.n) first = {gap2.column - 1, gap2.row};
  PlaceCentre(game, gap2.column, gap2.row, &x, &y);
  driver.Click(x, y);
  EXPECT_EQ(game.moveCount, 2);
  EXPECT_EQ(game.GapPlace(), first);
}

TEST_F(PuzzleTest, SolvedInTwiceTheShuffleMovesAddsOneAndEndsInput) {
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    CrtSrand(1234 + difficulty);
    DG_Schiebe_Puzzle game(difficulty);
    game.DisableRecording();
    GameDriver driver(game);
    // Back and forth beside the gap: two slides each, the board unchanged.
    const std::vector<PuzzlePlace>& path = game.shufflePath;
    const PuzzlePlace gap = path.back(), beside = path[path.size() - 2];
    for (int k = 0; k < game.shuffleMoves / 2; ++k) {
      ASSERT_TRUE(ClickPuzzleTile(driver, game, beside.column, beside.row));
      ASSERT_TRUE(ClickPuzzleTile(driver, game, gap.column, gap.row));
    }
    EXPECT_EQ(game.moveCount, game.shuffleMoves);
    AutoplayWin_DG_Schiebe_Puzzle(driver);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
    EXPECT_EQ(game.moveCount, 2 * game.shuffleMoves);
    EXPECT_EQ(game.invalidClicks, 0);
    // Clicks after the solve change nothing: no slide, no invalid click.
    int x, y;
    PlaceCentre(game, 0, 0, &x, &y);
    driver.Click(x, y);
    PlaceCentre(game, game.n - 2, game.n - 1, &x, &y);
    driver.Click(x, y);
    EXPECT_TRUE(game.IsSolved());
    EXPECT_EQ(game.moveCount, 2 * game.shuffleMoves);
    EXPECT_EQ(game.invalidClicks, 0);
    const double t = game.playTime;
    driver.Wait(1.0);  // the clock stands after the solve
    EXPECT_EQ(game.playTime, t);
    game.ComputeGrade();
    EXPECT_NEAR(game.GetGrade(), 2.0 + t / 240, 1e-12);
  }
}

TEST_F(PuzzleTest, QuitGradeCountsDisplacedTilesAndInvalidClicks) {
  CrtSrand(5);
  DG_Schiebe_Puzzle game(2);
  game.DisableRecording();
  GameDriver driver(game);
  int displaced = 0;
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 5; ++j)
      if (game.board[i][j].homeColumn != i || game.board[i][j].homeRow != j) ++displaced;
  ASSERT_GT(displaced, 0);
  driver.Wait(12.0);
  game.SetState(GAME_STATE_QUIT);
  game.ComputeGrade();
  EXPECT_NEAR(game.GetGrade(), std::min(6.0, displaced / 25.0 * 5 + 1 + game.playTime / 120), 1e-12);
  // Invalid clicks cost a tenth each, also in a solved play.
  game.SetState(GAME_STATE_ENDED);
  game.invalidClicks = 3;
  game.moveCount = 150;
  game.playTime = 0;
  game.ComputeGrade();
  EXPECT_NEAR(game.GetGrade(), 1.5 + 0.3, 1e-12);
}

TEST_F(PuzzleTest, WonAtEveryDifficultyThenQuitAreAllRecorded) {
  double grades[3] = {};
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    DG_Schiebe_Puzzle game(difficulty);
    GameDriver driver(game);
    AutoplayWin_DG_Schiebe_Puzzle(driver);
    EXPECT_EQ(game.moveCount, game.shuffleMoves);
    game.ComputeGrade();
    grades[difficulty] = game.GetGrade();
    EXPECT_NEAR(grades[difficulty], 1.5 + game.playTime / 240, 1e-12);
  }
  double quitGrade;
  {
    DG_Schiebe_Puzzle game(0);
    GameDriver driver(game);
    driver.Wait(3.0);
    game.SetState(GAME_STATE_QUIT);
    game.ComputeGrade();
    quitGrade = game.GetGrade();
    EXPECT_GT(quitGrade, 1.0 + 3.0 / 120);
  }
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("puzzle.sav"));
  EXPECT_EQ(saved.playCount, 4);
  EXPECT_NEAR(saved.gradeSum, grades[0] + grades[1] + grades[2] + quitGrade, 1e-4);
  EXPECT_NEAR(saved.worstGrade, quitGrade, 1e-4);
  EXPECT_EQ(app->statistics->playCount, 4);
}

TEST_F(PuzzleTest, PlayedFromTheMenuToTheTopTen) {
  MainMenu menu;
  MenuDriver driver(menu);
  ASSERT_TRUE(driver.StartFromMenu(10, 2));
  ASSERT_NE(dynamic_cast<DG_Schiebe_Puzzle*>(driver.CurrentGame()), nullptr);
  EXPECT_EQ(static_cast<DG_Schiebe_Puzzle*>(driver.CurrentGame())->n, 5);
  // During the countdown a click moves nothing.
  const PuzzlePlace gap = static_cast<DG_Schiebe_Puzzle*>(driver.CurrentGame())->GapPlace();
  int x, y;
  PlaceCentre(*static_cast<DG_Schiebe_Puzzle*>(driver.CurrentGame()), gap.column, gap.row, &x, &y);
  driver.Click(x, y);
  EXPECT_EQ(static_cast<DG_Schiebe_Puzzle*>(driver.CurrentGame())->moveCount, 0);
  driver.SkipCountdown();
  AutoplayWin_DG_Schiebe_Puzzle(driver);
  const double playTime = driver.CurrentGame()->GetPlayTime();
  ASSERT_TRUE(driver.LeaveResultPage("Pia"));
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("puzzle.sav"));
  EXPECT_EQ(saved.playCount, 1);
  ASSERT_EQ(saved.Entries().Count(), 1);
  EXPECT_STREQ(saved.Entries().Get(0)->name, "Pia");
  EXPECT_NEAR(saved.Entries().Get(0)->grade, 1.5 + playTime / 240, 1e-4);
}

class PuzzleScreens : public testapp::MenuPlayTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_puzzle_screens"; }
};

// Every screen of a play at every difficulty in both languages, drawn as the
// program draws it (and saved for looking at when DENKAR_SHOTS_DIR is set).
TEST_F(PuzzleScreens, EveryScreenAtEveryDifficultyInBothLanguages) {
  ShootEveryScreen("puzzle", 10, [this](const std::string& stem) {
    auto* game = dynamic_cast<DG_Schiebe_Puzzle*>(menu->activeGame);
    ASSERT_NE(game, nullptr);
    driver->Wait(0.3);
    Shoot(stem + "2_shuffling.png");
    driver->Wait(2.0);
    Shoot(stem + "3_task.png");
    // A tile on its way into the gap, then back again.
    const PuzzlePlace gap = game->GapPlace();
    const PuzzlePlace beside = game->shufflePath[game->shufflePath.size() - 2];
    ASSERT_TRUE(ClickPuzzleTile(*driver, *game, beside.column, beside.row));
    driver->Wait(0.1);
    Shoot(stem + "4_slide.png");
    ASSERT_TRUE(ClickPuzzleTile(*driver, *game, gap.column, gap.row));
    driver->Key('H');
    ASSERT_EQ(menu->currentPage, 50);
    Shoot(stem + "5_help.png");
    driver->Key('H');
    AutoplayWin_DG_Schiebe_Puzzle(*driver);
  });
}

}  // namespace
