// The change money game: the fill rule and the tasks per difficulty, the
// exact and the greedy check (against a brute-force minimum), dragging pieces
// in and out through the mouse handlers, the button, grading and texts, and
// whole plays won and lost, on their own and through the main menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Denkar_Spiele/DG_Wechselgeld_Game.h"
#include "autoplay_DG_Wechselgeld_Game.h"
#include "data/language.h"
#include "framework/game_record.h"
#include "platform/crt_rand.h"
#include "support/drag_input.h"
#include "support/menu_play.h"
#include "support/play_driver.h"
#include "support/test_app.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

class MoneyTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_money"; }
  static std::vector<int> Values(Geldfeld& field) {
    std::vector<int> values;
    for (int i = 0; i < field.pieces.Count(); ++i) values.push_back(field.pieces.Get(i)->value);
    return values;
  }
  static Geldstapel* PileOf(DG_Wechselgeld_Game& game, int value) {
    for (int i = 0; i < game.piles.Count(); ++i)
      if (game.piles.Get(i)->value == value) return game.piles.Get(i);
    return nullptr;
  }
  static int Px(float v) { return static_cast<int>(std::lround(v)); }
  static void MiddleOf(const Geldfeld& field, int* x, int* y) {
    *x = Px((field.left + field.right) / 2);
    *y = Px((field.top + field.bottom) / 2);
  }
};

TEST_F(MoneyTest, FillRuleToppingThePriceAtTheEasiestLevel) {
  using V = std::vector<int>;
  EXPECT_EQ(DG_Wechselgeld_Game::FillUp(120, 8), V({200}));                 // change 80
  EXPECT_EQ(DG_Wechselgeld_Game::FillUp(730, 8), V({200, 200, 200, 200}));  // change 70
  EXPECT_EQ(DG_Wechselgeld_Game::FillUp(200, 8), V({200, 1}));              // change 1
  EXPECT_EQ(DG_Wechselgeld_Game::FillUp(0, 8), V({1}));
  // At difficulty 0 the one piece of the money paid is always the fill.
  for (uint32_t seed = 1; seed <= 100; ++seed) {
    CrtSrand(seed);
    DG_Wechselgeld_Game game(0);
    game.DisableRecording();
    ASSERT_EQ(Values(*game.firstField).size(), 5u);
    std::vector<int> paid = Values(*game.secondField);
    EXPECT_EQ(paid, DG_Wechselgeld_Game::FillUp(game.firstSum, 8)) << "seed " << seed;
    EXPECT_GE(game.Change(), 1);
    EXPECT_LE(game.Change(), 200);
  }
}

TEST_F(MoneyTest, TasksPerDifficultyStayOnScreenWithAChangeAboveZero) {
  const struct {
    int n1, n2, d, t;
  } sizes[3] = {{5, 1, 8, 7}, {5, 3, 12, 6}, {10, 6, 15, 5}};
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    const auto& s = sizes[difficulty];
    for (uint32_t seed = 1; seed <= 60; ++seed) {
      SCOPED_TRACE(testing::Message() << "difficulty " << difficulty << " seed " << seed);
      CrtSrand(seed);
      DG_Wechselgeld_Game game(difficulty);
      game.DisableRecording();
      ASSERT_EQ(game.taskCount, s.t);
      ASSERT_EQ(game.denominationCount, s.d);
      EXPECT_EQ(game.firstField->pieces.Count(), s.n1);
      EXPECT_GE(game.secondField->pieces.Count(), s.n2);
      EXPECT_EQ(game.firstField->Sum(), game.firstSum);
      EXPECT_EQ(game.secondField->Sum(), game.secondSum);
      EXPECT_GE(game.Change(), 1);
      // Every piece lies inside its field, whatever the generator drew.
      for (Geldfeld* field : {game.firstField, game.secondField}) {
        for (int i = 0; i < field->pieces.Count(); ++i) {
          const Geldstueck* piece = field->pieces.Get(i);
          EXPECT_TRUE(field->Contains(piece->point.targetX, piece->point.targetY));
          EXPECT_TRUE(piece->Arrived(0));
          EXPECT_LE(piece->value, kMoneyDenominations[s.d - 1]);
        }
      }
      EXPECT_EQ(game.changeField->pieces.Count(), 0);
      // One pile per denomination, evenly across the screen at 75 px above
      // the bottom; no pile picture reaches into its neighbour's.
      ASSERT_EQ(game.piles.Count(), s.d);
      for (int j = 0; j < s.d; ++j) {
        const Geldstapel* pile = game.piles.Get(j);
        EXPECT_EQ(pile->value, kMoneyDenominations[j]);
        EXPECT_NEAR(pile->x, (j + 0.5) * 1024.0 / s.d, 1e-3);
        EXPECT_EQ(pile->y, 768 - 75);
        EXPECT_EQ(pile->count, -1);
        if (j + 1 < s.d) {
          const Geldstapel* next = game.piles.Get(j + 1);
          const RECT a = Geldstueck::ImageOf(pile->value), b = Geldstueck::ImageOf(next->value);
          EXPECT_LT(pile->x + (a.right - a.left) / 2.0 * pile->scale,
                    next->x - (b.right - b.left) / 2.0 * next->scale);
        }
      }
    }
  }
}

TEST_F(MoneyTest, PicturesAndHitBoxesAgree) {
  for (int value : kMoneyDenominations) {
    Geldstueck piece(value, 500, 300);
    const RECT image = Geldstueck::ImageOf(value);
    const double s = piece.scale;
    EXPECT_DOUBLE_EQ(s, value <= 200 ? 0.75 : 0.5);
    const float halfW = static_cast<float>((image.right - image.left) / 2.0 * s);
    const float halfH = static_cast<float>((image.bottom - image.top) / 2.0 * s);
    EXPECT_TRUE(piece.Contains(500 + halfW, 300 - halfH)) << value;
    EXPECT_FALSE(piece.Contains(500 + halfW + 1, 300)) << value;
    EXPECT_FALSE(piece.Contains(500, 300 + halfH + 1)) << value;
    Geldstapel pile(value, 100, 600, 68.0f);  // the narrowest slot, 15 piles
    const float pw = static_cast<float>((image.right - image.left) / 2.0 * pile.scale);
    EXPECT_TRUE(pile.Contains(100 - pw, 600)) << value;
    EXPECT_FALSE(pile.Contains(100 + pw + 1, 600)) << value;
    EXPECT_LE(2 * pw, 68.0f - 5) << value;
  }
}

// Minimum number of pieces for every amount up to `limit` with the first `d`
// denominations, by trying every last piece.
std::vector<int> MinimumPieces(int limit, int d, std::vector<int>* lastPiece) {
  std::vector<int> best(limit + 1, INT_MAX);
  lastPiece->assign(limit + 1, 0);
  best[0] = 0;
  for (int amount = 1; amount <= limit; ++amount)
    for (int j = 0; j < d; ++j) {
      const int v = kMoneyDenominations[j];
      if (v > amount || best[amount - v] == INT_MAX || best[amount - v] + 1 >= best[amount]) continue;
      best[amount] = best[amount - v] + 1;
      (*lastPiece)[amount] = v;
    }
  return best;
}

TEST_F(MoneyTest, GreedyCheckAgreesWithTheBruteForceMinimumForEveryChange) {
  // The largest change of a level: every piece of the money paid at its
  // largest denomination.
  const struct {
    int d, largestChange;
  } levels[] = {{8, 200}, {12, 3 * 5000}, {15, 6 * 50000}};
  for (const auto& level : levels) {
    std::vector<int> last;
    const std::vector<int> best = MinimumPieces(level.largestChange, level.d, &last);
    for (int change = 1; change <= level.largestChange; ++change) {
      std::vector<int> minimal;
      for (int a = change; a > 0; a -= last[a]) minimal.push_back(last[a]);
      const std::vector<int> greedy = DG_Wechselgeld_Game::GreedySplit(change, level.d);
      ASSERT_EQ(static_cast<int>(greedy.size()), best[change]) << change;
      const ChangeVerdict v = DG_Wechselgeld_Game::JudgeChange(minimal, change, level.d);
      ASSERT_TRUE(v.right && v.optimal) << "d " << level.d << " change " << change;
      // Any other way to pay uses more pieces: right, not optimal.
      std::vector<int> longer = greedy;
      const auto split = std::find_if(longer.begin(), longer.end(), [](int x) { return x > 1; });
      if (split == longer.end()) continue;
      const int first = *split == 2 ? 1 : *split / 2, second = *split - first;
      longer.erase(split);
      longer.push_back(first);
      longer.push_back(second);
      const ChangeVerdict w = DG_Wechselgeld_Game::JudgeChange(longer, change, level.d);
      ASSERT_TRUE(w.right && !w.optimal) << "d " << level.d << " change " << change;
    }
  }
  const ChangeVerdict twoTens = DG_Wechselgeld_Game::JudgeChange({10, 10}, 20, 8);
  EXPECT_TRUE(twoTens.right);
  EXPECT_FALSE(twoTens.optimal);
  const ChangeVerdict tooMuch = DG_Wechselgeld_Game::JudgeChange({20, 1}, 20, 8);
  EXPECT_FALSE(tooMuch.right);
  EXPECT_FALSE(tooMuch.optimal);
  EXPECT_FALSE(DG_Wechselgeld_Game::JudgeChange({}, 1, 8).right);  // the change is never 0
}

TEST_F(MoneyTest, DraggingPiecesInAndOut) {
  CrtSrand(7);
  DG_Wechselgeld_Game game(1);
  game.DisableRecording();
  GameDriver driver(game);
  Geldfeld& change = *game.changeField;
  int inX, inY;
  MiddleOf(change, &inX, &inY);

  // A pile piece dropped in the change field lands where it was dropped.
  Geldstapel* fifty = PileOf(game, 50);
  ASSERT_NE(fifty, nullptr);
  ASSERT_TRUE(DragFromPile(driver, game, 50, inX, inY));
  ASSERT_EQ(Values(change), std::vector<int>({50}));
  Geldstueck* piece = change.pieces.Get(0);
  EXPECT_EQ(piece->point.targetX, inX);
  EXPECT_EQ(piece->point.targetY, inY);

  // Dropped outside every field, a pile piece goes back to its pile and
  // vanishes there (also on a fast screen).
  ASSERT_TRUE(DragFromPile(driver, game, 500, 40, 380));
  EXPECT_EQ(Values(change), std::vector<int>({50}));
  Geldstapel* five = PileOf(game, 500);
  ASSERT_EQ(five->returning.Count(), 1);
  driver.Wait(1.0, 1.0 / 144);
  EXPECT_EQ(five->returning.Count(), 0);

  // Dragged out of the change field, a piece flies back to its own pile.
  driver.Wait(1.0);  // in place
  DragWithMouse(driver, inX, inY, 1000, 380);
  EXPECT_EQ(change.pieces.Count(), 0);
  ASSERT_EQ(fifty->returning.Count(), 1);
  EXPECT_FALSE(game.HoldsPiece());

  // A price piece dropped outside its field lands at a random point inside.
  driver.Wait(1.0);
  const int count = game.firstField->pieces.Count();
  Geldstueck* price = game.firstField->pieces.Get(count - 1);  // the topmost
  DragWithMouse(driver, Px(price->point.x), Px(price->point.y), 500, 740);
  EXPECT_EQ(game.firstField->pieces.Count(), count);
  EXPECT_EQ(game.firstField->pieces.Get(count - 1), price);
  EXPECT_TRUE(game.firstField->Contains(price->point.targetX, price->point.targetY));
  // ... and inside its field where it was dropped; it never leaves it.
  const int px = Px(game.firstField->left) + 30, py = Px(game.firstField->top) + 30;
  DragWithMouse(driver, Px(price->point.targetX), Px(price->point.targetY), px, py);
  EXPECT_EQ(price->point.targetX, px);
  EXPECT_EQ(price->point.targetY, py);
  DragWithMouse(driver, px, py, inX, inY);  // not into the change field
  EXPECT_EQ(change.pieces.Count(), 0);
  EXPECT_TRUE(game.firstField->Contains(price->point.targetX, price->point.targetY));

  // A held piece follows the mouse.
  driver.Wait(1.0);
  const Geldstapel* one = PileOf(game, 1);
  driver.Down(Px(one->x), Px(one->y));
  ASSERT_TRUE(game.heldForChange.Holding());
  driver.Move(300, 200);
  driver.Wait(1.0);
  EXPECT_TRUE(game.heldForChange.Held()->Arrived(0.5));

  // The button does nothing while a piece is held: its release drops the
  // piece (back to its pile) and judges nothing.
  const RECT button = game.ButtonRect();
  driver.Up((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  EXPECT_EQ(game.tasksDone, 0);
  EXPECT_FALSE(game.HoldsPiece());
}

TEST_F(MoneyTest, APressWhileAPieceIsStillHeldPutsItDownFirst) {
  CrtSrand(3);
  DG_Wechselgeld_Game game(0);
  game.DisableRecording();
  GameDriver driver(game);
  Geldfeld& change = *game.changeField;
  int inX, inY;
  MiddleOf(change, &inX, &inY);
  const Geldstapel* twenty = PileOf(game, 20);
  // The release of this drag never reaches the game (the button came up over
  // the pause page).
  driver.Down(Px(twenty->x), Px(twenty->y));
  driver.Move(inX, inY);
  driver.Wait(1.0);  // the coin has followed the mouse
  ASSERT_TRUE(game.heldForChange.Holding());
  // The next press lands in the change field: the held coin is put down
  // there as its release would have; the press then takes the topmost piece
  // under it, which is that coin again.
  driver.Down(inX, inY);
  EXPECT_EQ(change.pieces.Count(), 0);
  ASSERT_TRUE(game.heldForChange.Holding());
  EXPECT_EQ(game.heldForChange.Held()->value, 20);
  driver.Up(inX, inY);
  EXPECT_EQ(Values(change), std::vector<int>({20}));
  // A lost release of a price piece: the next press elsewhere puts it back
  // into its field and takes a coin from a pile.
  Geldstueck* price = game.firstField->pieces.Get(4);  // the topmost
  driver.Down(Px(price->point.x), Px(price->point.y));
  ASSERT_EQ(game.heldInFirst.Held(), price);
  driver.Down(Px(twenty->x), Px(twenty->y));
  EXPECT_FALSE(game.heldInFirst.Holding());
  EXPECT_EQ(game.firstField->pieces.Count(), 5);
  EXPECT_TRUE(game.firstField->pieces.Contains(price));
  EXPECT_TRUE(game.heldForChange.Holding());
}

TEST_F(MoneyTest, ButtonJudgesOnceForADoubleClickAndInputWaitsForThePlay) {
  CrtSrand(11);
  DG_Wechselgeld_Game game(0);
  game.DisableRecording();
  const RECT button = game.ButtonRect();
  const int bx = (button.left + button.right) / 2, by = (button.top + button.bottom) / 2;
  const Geldstapel* pile = game.piles.Get(0);
  // Before the start nothing can be taken or confirmed.
  game.OnLButtonDown(Px(pile->x), Px(pile->y));
  EXPECT_FALSE(game.HoldsPiece());
  game.OnLButtonUp(bx, by);
  EXPECT_EQ(game.tasksDone, 0);

  GameDriver driver(game);
  driver.Click(bx, by);
  EXPECT_EQ(game.tasksDone, 1);
  EXPECT_EQ(game.rightCount, 0);  // an empty change field is always wrong
  driver.Wait(0.2);
  driver.Click(bx, by);  // the second click of a double click
  EXPECT_EQ(game.tasksDone, 1);
  driver.Wait(0.5);
  driver.Click(bx, by);
  EXPECT_EQ(game.tasksDone, 2);

  // While paused no piece is created (each judged task brought new piles).
  pile = game.piles.Get(0);
  game.SetState(GAME_STATE_PAUSED);
  game.OnLButtonDown(Px(pile->x), Px(pile->y));
  EXPECT_FALSE(game.HoldsPiece());
  game.SetState(GAME_STATE_RUNNING);
}

TEST_F(MoneyTest, WinsAtEveryDifficultyAndRecordsThePlay) {
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    SCOPED_TRACE(testing::Message() << "difficulty " << difficulty);
    std::filesystem::remove("geld.sav");
    double playTime = 0, grade = 0;
    int tasks = 0;
    {
      CrtSrand(100 + difficulty);
      DG_Wechselgeld_Game game(difficulty);
      GameDriver driver(game);
      AutoplayWin_DG_Wechselgeld_Game(driver);
      ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
      tasks = game.taskCount;
      EXPECT_EQ(game.tasksDone, tasks);
      EXPECT_EQ(game.rightCount, tasks);
      EXPECT_EQ(game.optimalCount, tasks);
      playTime = game.playTime;
      EXPECT_GT(playTime, 0.5 * tasks);
      game.ComputeGrade();
      grade = game.GetGrade();
      EXPECT_DOUBLE_EQ(grade, 1 + playTime / 120);
      const int t = static_cast<int>(playTime);
      EXPECT_EQ(std::string(game.GetResultText()),
                FormatText(GetLangText(22), {t / 60, t % 60}) + "\n" +
                    FormatText(GetLangText(142), {tasks, tasks}) + "\n" +
                    FormatText(GetLangText(143), {tasks, tasks}) + "\n\n" +
                    FormatText(GetLangText(50), {grade}));
      // The play clock stands after the end.
      driver.Wait(1.0);
      EXPECT_DOUBLE_EQ(game.playTime, playTime);
    }
    GameRecord saved;
    ASSERT_TRUE(saved.LoadFile("geld.sav"));
    EXPECT_EQ(saved.playCount, 1);
    EXPECT_NEAR(saved.bestGrade, grade, 1e-4);
    EXPECT_EQ(saved.veryGoodCount, 1);
  }
}

TEST_F(MoneyTest, WrongAndSubOptimalChangeGradeWorse) {
  // Every task confirmed empty: all wrong, the worst grade, recorded.
  {
    CrtSrand(5);
    DG_Wechselgeld_Game game(2);
    GameDriver driver(game);
    for (int i = 0; i < game.taskCount; ++i) ClickMoneyButton(driver, game);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
    EXPECT_EQ(game.rightCount, 0);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
    EXPECT_FALSE(game.IsHighscore());
  }
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("geld.sav"));
  EXPECT_EQ(saved.playCount, 1);
  EXPECT_DOUBLE_EQ(saved.worstGrade, 6.0);
  EXPECT_EQ(saved.veryGoodCount, 0);
  // Right but with one piece too many in one task, then quit after three
  // tasks: the quit formula over the tasks done, with t / 80.
  CrtSrand(9);
  DG_Wechselgeld_Game game(0);
  game.DisableRecording();
  GameDriver driver(game);
  const auto give = [&](const std::vector<int>& values) {
    const Geldfeld& f = *game.changeField;
    int k = 0;
    for (int v : values)
      DragFromPile(driver, game, v, Px(f.left) + 60 + 60 * (k++ % 6), Px((f.top + f.bottom) / 2));
    ClickMoneyButton(driver, game);
  };
  std::vector<int> split = DG_Wechselgeld_Game::GreedySplit(game.Change(), 8);
  give(split);
  // The largest piece paid as smaller ones (a change of 1 cent has no other
  // way and stays optimal).
  split = DG_Wechselgeld_Game::GreedySplit(game.Change(), 8);
  const int big = split.front();
  split.erase(split.begin());
  for (int v : DG_Wechselgeld_Game::GreedySplit(big - 1, 8)) split.push_back(v);
  split.push_back(1);
  give(split);
  give({});
  const int optimal = big == 1 ? 2 : 1;
  EXPECT_EQ(game.tasksDone, 3);
  EXPECT_EQ(game.rightCount, 2);
  EXPECT_EQ(game.optimalCount, optimal);
  game.SetState(GAME_STATE_QUIT);
  game.ComputeGrade();
  EXPECT_NEAR(game.GetGrade(),
              1 + 3 * (1 - 2 / 3.0) + 2 * (1 - optimal / 3.0) + game.playTime / 80, 1e-9);
  EXPECT_STREQ(game.GetResultTitle(), GetLangText(140));
  EXPECT_STREQ(game.GetDescriptionText(), GetLangText(141));
  EXPECT_NE(game.GetStatisticsText(), nullptr);
}

TEST_F(MoneyTest, QuitBeforeAnyTaskGradesSix) {
  DG_Wechselgeld_Game game(1);
  game.DisableRecording();
  GameDriver driver(game);
  driver.Wait(3.0);
  game.SetState(GAME_STATE_QUIT);
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
}

// From the menu: game list entry 14, the countdown, a won play, the result
// page with a name, and the files.
class MoneyThroughMenuTest : public testapp::MenuTest<MoneyTest> {};

TEST_F(MoneyThroughMenuTest, PlayFromTheMenuToTheTopTenAtEveryDifficulty) {
  const char* names[3] = {"Mia", "Tom", "Eva"};
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    const testapp::MenuPlay play = PlayListedGame(14, difficulty, [](PlayDriver& driver) {
      auto* game = dynamic_cast<DG_Wechselgeld_Game*>(driver.CurrentGame());
      ASSERT_NE(game, nullptr);
      ASSERT_TRUE(game->started);
      AutoplayWin_DG_Wechselgeld_Game(driver);
      EXPECT_EQ(game->rightCount, game->taskCount);
    }, names[difficulty]);
    EXPECT_EQ(play.endState, GAME_STATE_ENDED);
    EXPECT_TRUE(play.nameAsked);
    EXPECT_TRUE(play.backInMenu);
    GameRecord saved;
    ASSERT_TRUE(saved.LoadFile("geld.sav"));
    EXPECT_EQ(saved.playCount, difficulty + 1);
    EXPECT_NEAR(testapp::ListedGrade(saved, names[difficulty]), 1 + play.playTime / 120, 1e-4);
  }
}

// Every screen of the game drawn with the real textures at every difficulty
// in both languages: the task, a piece on its way, the end. The pictures are
// written where DENKAR_SHOTS_DIR points (for looking at them).
TEST_F(MoneyThroughMenuTest, ScreensDrawAtEveryDifficulty) {
  for (int language = 0; language < 2; ++language) {
    testapp::UseLanguage(language);
    for (int difficulty = 0; difficulty < 3; ++difficulty) {
      CrtSrand(40 + difficulty);
      DG_Wechselgeld_Game game(difficulty);
      game.DisableRecording();
      GameDriver driver(game);
      const Geldfeld& f = *game.changeField;
      int k = 0;
      for (int v : DG_Wechselgeld_Game::GreedySplit(game.Change(), game.denominationCount))
        DragFromPile(driver, game, v, Px(f.left) + 60 + 70 * (k++ % 6), Px((f.top + f.bottom) / 2));
      driver.Wait(1.0);
      const Geldstapel* top = game.piles.Get(game.piles.Count() - 1);
      driver.Down(Px(top->x), Px(top->y));
      driver.Move(Px(top->x) - 150, Px(top->y) - 200);
      driver.Wait(0.15);
      const std::string name = "money_" + std::string(language ? "en" : "de") + "_d" +
                               std::to_string(difficulty);
      screen->Shot(name + "_task.png", [&] { game.Render(); });
      driver.Up(Px(top->x) - 150, Px(top->y) - 200);
      game.SetState(GAME_STATE_ENDED);
      screen->Shot(name + "_end.png", [&] { game.Render(); });
    }
  }
}

}  // namespace
