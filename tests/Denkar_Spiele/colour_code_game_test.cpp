// The colour code game: the pin rating (against a brute-force scorer over
// every code and guess of the smallest level), the board per difficulty,
// dragging pegs into holes and back, the answer box, the end after a solved
// or the last row, input after the end, grading by row and texts, and whole
// plays won and lost, on their own and through the main menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Denkar_Spiele/DG_MMaster.h"
#include "autoplay_DG_MMaster.h"
#include "data/language.h"
#include "framework/game_record.h"
#include "platform/crt_rand.h"
#include "support/drag_input.h"
#include "support/game_play.h"
#include "support/play_driver.h"
#include "support/test_app.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

constexpr int RED = 0, BLUE = 1, GREEN = 2, YELLOW = 3;

class ColourCodeTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_colour_code"; }
  static int Px(float v) { return static_cast<int>(std::lround(v)); }
  static int Blacks(const std::vector<std::pair<int, int>>& pins) {
    return static_cast<int>(std::count_if(pins.begin(), pins.end(),
                                          [](auto p) { return p.second == MM_BLACK_PIN; }));
  }
  // Every peg the game holds: palette, holes of all rows, the carried one.
  static int PegsInPlay(DG_MMaster& game) {
    int n = game.palette.Count() + (game.heldPeg.Holding() ? 1 : 0);
    for (int r = 0; r < game.rowCount; ++r)
      for (int i = 0; i < game.Row(r)->Count(); ++i) n += game.Row(r)->Get(i)->peg ? 1 : 0;
    return n;
  }
  // A guess that is wrong in its first place.
  static std::vector<int> WrongGuess(DG_MMaster& game) {
    std::vector<int> guess = game.Code();
    guess[0] = (guess[0] + 1) % MM_PLAY_COLOURS;
    return guess;
  }
};

TEST_F(ColourCodeTest, PinsOfTheExampleAndOfEveryCodeAgainstEveryGuess) {
  const auto pins = DG_MMaster::RateGuess({RED, RED, BLUE, GREEN}, {RED, BLUE, RED, YELLOW});
  ASSERT_EQ(pins.size(), 3u);
  EXPECT_EQ(pins[0], std::make_pair(0, MM_BLACK_PIN));  // the first red
  EXPECT_EQ(pins[1], std::make_pair(1, MM_WHITE_PIN));  // the second red
  EXPECT_EQ(pins[2], std::make_pair(2, MM_WHITE_PIN));  // blue

  // Brute force: black = equal places, black + white = the colours the two
  // rows share, counted with repeats.
  std::vector<std::vector<int>> rows;
  for (int n = 0; n < 6 * 6 * 6 * 6; ++n) rows.push_back({n % 6, n / 6 % 6, n / 36 % 6, n / 216});
  for (const auto& code : rows) {
    for (const auto& guess : rows) {
      int black = 0, common = 0;
      for (int i = 0; i < 4; ++i) black += guess[i] == code[i];
      for (int c = 0; c < 6; ++c)
        common += std::min(std::count(guess.begin(), guess.end(), c),
                           std::count(code.begin(), code.end(), c));
      const auto rated = DG_MMaster::RateGuess(guess, code);
      ASSERT_EQ(Blacks(rated), black);
      ASSERT_EQ(static_cast<int>(rated.size()) - black, common - black);
      for (const auto& [place, colour] : rated)  // each place rated once, blacks where equal
        ASSERT_EQ(colour == MM_BLACK_PIN, guess[place] == code[place]);
    }
  }
}

TEST_F(ColourCodeTest, BoardPerDifficulty) {
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    DG_MMaster game(difficulty);
    game.DisableRecording();
    const int pegs = difficulty == 2 ? 5 : 4;
    EXPECT_EQ(game.pegCount, pegs);
    EXPECT_EQ(game.rowCount, 8);
    EXPECT_EQ(game.positionalPins, difficulty == 0);
    EXPECT_EQ(game.currentRow, 0);
    ASSERT_EQ(game.guessRows.Count(), 8);
    ASSERT_EQ(game.answerBoxes.Count(), 8);
    ASSERT_EQ(game.secretRow.Count(), pegs);
    const float x0 = 512 - (pegs / 2) * 52 - 26, y0 = 384 + 4 * 55 - 27.5f;
    for (int r = 0; r < 8; ++r) {
      ASSERT_EQ(game.Row(r)->Count(), pegs);
      for (int i = 0; i < pegs; ++i) {
        EXPECT_EQ(game.Row(r)->Get(i)->x, x0 + 52 * (i + 1));
        EXPECT_EQ(game.Row(r)->Get(i)->y, y0 - 55 * r);
        EXPECT_EQ(game.Row(r)->Get(i)->peg, nullptr);
      }
      EXPECT_EQ(game.answerBoxes.Get(r)->x, x0 + 52 * (pegs + 1) + 10);
      EXPECT_EQ(game.answerBoxes.Get(r)->pins.Count(), 5);
    }
    for (int c : game.Code()) EXPECT_TRUE(c >= 0 && c < 6);
    EXPECT_EQ(game.secretRow.Get(0)->y, y0 - 55 * 8.5f);
    EXPECT_EQ(game.GetState(), GAME_STATE_RUNNING);
  }
}

TEST_F(ColourCodeTest, PegsIntoHolesOccupiedHolesAndTheAnswerBox) {
  CrtSrand(21);
  DG_MMaster game(1);
  game.DisableRecording();
  GameDriver driver(game);
  driver.Wait(1.0);
  ASSERT_EQ(game.palette.Count(), 6);  // one of each colour, risen from below
  for (int i = 0; i < 6; ++i) {
    float x, y;
    game.PaletteSpot(i, &x, &y);
    EXPECT_EQ(game.palette.Get(i)->point.targetY, 768 - 70);
    EXPECT_EQ(game.palette.Get(i)->point.targetX, x);
  }

  // Three holes filled: the box does nothing while one is empty.
  for (int i = 0; i < 3; ++i) DragPegToHole(driver, game, RED, i);
  PtrList<MMHole>& row = *game.CurrentRow();
  for (int i = 0; i < 3; ++i) ASSERT_EQ(row.Get(i)->Colour(), RED);
  EXPECT_EQ(row.Get(3)->Colour(), MM_EMPTY_PIN);
  MMAnswerBox* box = game.CurrentBox();
  driver.Click(Px(box->x), Px(box->y));
  EXPECT_EQ(game.currentRow, 0);
  EXPECT_EQ(box->black + box->white, 0);

  // A peg dropped on an occupied hole goes back to the palette, which then
  // holds two of its colour; the hole keeps its peg.
  driver.Wait(1.0);
  const int pegs = PegsInPlay(game);
  const auto palettePegsOf = [&game](int colour) {
    int n = 0;
    for (int i = 0; i < game.palette.Count(); ++i) n += game.palette.Get(i)->colour == colour;
    return n;
  };
  const MMPeg* first = row.Get(0)->peg;
  const MMPeg* third = row.Get(2)->peg;
  DragWithMouse(driver, Px(row.Get(2)->x), Px(row.Get(2)->y), Px(row.Get(0)->x), Px(row.Get(0)->y));
  EXPECT_EQ(row.Get(0)->peg, first);
  EXPECT_EQ(row.Get(2)->peg, nullptr);
  EXPECT_TRUE(game.palette.Contains(third));
  EXPECT_EQ(palettePegsOf(RED), 2);
  DragPegToHole(driver, game, BLUE, 0);
  EXPECT_EQ(row.Get(0)->peg, first);
  EXPECT_EQ(palettePegsOf(BLUE), 1);
  driver.Wait(1.0);
  EXPECT_EQ(PegsInPlay(game), pegs);

  // A peg dragged out of a hole and dropped beside the row goes to the palette.
  const MMPeg* moved = row.Get(1)->peg;
  DragWithMouse(driver, Px(row.Get(1)->x), Px(row.Get(1)->y), 900, 300);
  EXPECT_EQ(row.Get(1)->peg, nullptr);
  EXPECT_TRUE(game.palette.Contains(moved));
  // Dragged from one hole to another empty one, it moves there.
  DragWithMouse(driver, Px(row.Get(0)->x), Px(row.Get(0)->y), Px(row.Get(3)->x), Px(row.Get(3)->y));
  EXPECT_EQ(row.Get(0)->peg, nullptr);
  EXPECT_EQ(row.Get(3)->peg, first);
  // A press on a hole of another row takes nothing.
  driver.Down(Px(game.Row(1)->Get(0)->x), Px(game.Row(1)->Get(0)->y));
  EXPECT_FALSE(game.heldPeg.Holding());
  driver.Up(Px(game.Row(1)->Get(0)->x), Px(game.Row(1)->Get(0)->y));

  // Pegs glide into their holes.
  DragPegToHole(driver, game, GREEN, 0);
  DragPegToHole(driver, game, YELLOW, 1);
  DragPegToHole(driver, game, RED, 2);
  driver.Wait(1.0);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(row.Get(i)->peg->point.Arrived(0.5));
  const std::vector<int> guess = {GREEN, YELLOW, RED, RED};
  const auto expected = DG_MMaster::RateGuess(guess, game.Code());
  driver.Click(Px(box->x), Px(box->y));
  EXPECT_EQ(game.currentRow, 1);
  EXPECT_EQ(box->black, Blacks(expected));
  EXPECT_EQ(box->white, static_cast<int>(expected.size()) - Blacks(expected));
  // Without places the pins go to the front: blacks first, then whites.
  for (int i = 0; i < static_cast<int>(expected.size()); ++i)
    EXPECT_EQ(box->pins.Get(i)->colour, expected[expected.size() - 1 - i].second);
  // The evaluated row is fixed now.
  driver.Down(Px(row.Get(0)->x), Px(row.Get(0)->y));
  EXPECT_FALSE(game.heldPeg.Holding());
  driver.Up(Px(row.Get(0)->x), Px(row.Get(0)->y));
  EXPECT_EQ(row.Get(0)->Colour(), GREEN);
}

TEST_F(ColourCodeTest, EasiestLevelPutsEachPinAtItsPeg) {
  CrtSrand(4);
  DG_MMaster game(0);
  game.DisableRecording();
  GameDriver driver(game);
  std::vector<int> guess = game.Code();
  std::swap(guess[1], guess[3]);
  guess[0] = (guess[0] + 1) % 6;
  PlayColourRow(driver, game, guess);
  ASSERT_EQ(game.currentRow, 1);
  MMAnswerBox* box = game.answerBoxes.Get(0);
  ASSERT_EQ(box->pins.Count(), 5);
  const auto rated = DG_MMaster::RateGuess(guess, game.Code());
  std::vector<int> atPlace(5, MM_EMPTY_PIN);
  for (const auto& [place, colour] : rated) atPlace[place] = colour;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(box->pins.Get(i)->colour, atPlace[i]) << i;
  driver.Wait(1.0);
  EXPECT_TRUE(box->pins.Get(0)->point.Arrived(0.5));
  EXPECT_EQ(box->pins.Get(0)->point.targetX, box->x - 12.5f);
  EXPECT_EQ(box->pins.Get(3)->point.targetY, box->y + 12.5f);
}

TEST_F(ColourCodeTest, APressWhileAPegIsStillHeldPutsItDownFirst) {
  DG_MMaster game(1);
  game.DisableRecording();
  GameDriver driver(game);
  driver.Wait(1.0);
  const MMHole* hole = game.CurrentRow()->Get(0);
  const MMPeg* peg = game.palette.Get(2);
  // The release of this drag never reaches the game.
  driver.Down(Px(peg->point.x), Px(peg->point.y));
  driver.Move(Px(hole->x), Px(hole->y));
  ASSERT_EQ(game.heldPeg.Held(), peg);
  const int pegs = PegsInPlay(game);
  // The next press, on the hole: the peg goes into it, as its release would
  // have put it, and the press then takes it out again.
  driver.Down(Px(hole->x), Px(hole->y));
  EXPECT_EQ(game.heldPeg.Held(), peg);
  driver.Up(Px(hole->x), Px(hole->y));
  EXPECT_EQ(hole->peg, peg);
  EXPECT_EQ(PegsInPlay(game), pegs);
  // A lost release, and the next press far from every hole: the peg, which
  // followed the mouse there, is put down in the palette, and the press
  // picks it up again from under the cursor.
  driver.Down(Px(hole->x), Px(hole->y));
  driver.Down(900, 100);
  EXPECT_EQ(game.heldPeg.Held(), peg);
  EXPECT_EQ(hole->peg, nullptr);
  driver.Up(900, 100);
  EXPECT_FALSE(game.heldPeg.Holding());
  EXPECT_TRUE(game.palette.Contains(peg));
  EXPECT_EQ(PegsInPlay(game), pegs);
}

TEST_F(ColourCodeTest, GradesByTheSolvingRow) {
  for (int solveRow = 1; solveRow <= 8; ++solveRow) {
    SCOPED_TRACE(testing::Message() << "solved in row " << solveRow);
    CrtSrand(solveRow);
    DG_MMaster game(1);
    game.DisableRecording();
    GameDriver driver(game);
    for (int r = 1; r < solveRow; ++r) PlayColourRow(driver, game, WrongGuess(game));
    EXPECT_EQ(game.currentRow, solveRow - 1);
    PlayColourRow(driver, game, game.Code());
    EXPECT_TRUE(game.solved);
    EXPECT_EQ(game.currentRow, solveRow);
    EXPECT_DOUBLE_EQ(game.endTimer, 2.0);
    EXPECT_EQ(game.GetState(), GAME_STATE_RUNNING);  // for the two seconds
    driver.Wait(1.9);
    EXPECT_EQ(game.GetState(), GAME_STATE_RUNNING);
    driver.Wait(0.2);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
    const double t = game.playTime;
    game.ComputeGrade();
    EXPECT_NEAR(game.GetGrade(), std::min(6.0, std::max(solveRow - 3, 0) / 5.0 * 3 + 1 + t / 120),
                1e-9);
  }
}

TEST_F(ColourCodeTest, TheLastRowEndsThePlayAndInputStaysClosed) {
  CrtSrand(8);
  auto owned = std::make_unique<DG_MMaster>(2);
  DG_MMaster& game = *owned;
  GameDriver driver(game);
  for (int r = 0; r < 8; ++r) PlayColourRow(driver, game, WrongGuess(game));
  EXPECT_EQ(game.currentRow, 8);
  EXPECT_FALSE(game.solved);
  EXPECT_FALSE(game.InputOpen());
  EXPECT_EQ(game.CurrentRow(), nullptr);
  // Input during the final display touches nothing.
  driver.Frame(0);  // (the palette refills)
  const int pegs = PegsInPlay(game);
  driver.Click(Px(game.Row(7)->Get(0)->x), Px(game.Row(7)->Get(0)->y));
  driver.Click(Px(game.palette.Get(0)->point.x), Px(game.palette.Get(0)->point.y));
  EXPECT_FALSE(game.heldPeg.Holding());
  // Two whole-second frames land the timer exactly on 0.
  driver.Frame(1.0);
  driver.Frame(1.0);
  EXPECT_EQ(game.GetState(), GAME_STATE_ENDED_OTHER);
  // Even a game set running again takes no input: there is no row left.
  game.SetState(GAME_STATE_RUNNING);
  driver.Click(Px(game.palette.Get(0)->point.x), Px(game.palette.Get(0)->point.y));
  driver.Click(Px(game.Row(7)->Get(0)->x), Px(game.Row(7)->Get(0)->y));
  EXPECT_EQ(PegsInPlay(game), pegs);
  game.SetState(GAME_STATE_ENDED_OTHER);
  // Graded by the black pins of the last row.
  const int b = game.answerBoxes.Get(7)->black;
  EXPECT_LT(b, 5);
  game.ComputeGrade();
  EXPECT_NEAR(game.GetGrade(), std::min(6.0, (5 - b) / 5.0 * 5 + 1 + game.playTime / 60), 1e-9);
  const int s = static_cast<int>(game.playTime);
  EXPECT_EQ(std::string(game.GetResultText()),
            FormatText(GetLangText(22), {s / 60, s % 60}) + "\n\n" +
                FormatText(GetLangText(50), {game.GetGrade()}));
  EXPECT_STREQ(game.GetResultTitle(), GetLangText(125));
  EXPECT_STREQ(game.GetDescriptionText(), GetLangText(126));
  EXPECT_NE(game.GetStatisticsText(), nullptr);
  const double grade = game.GetGrade();
  owned.reset();
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("mindmaster.sav"));
  EXPECT_EQ(saved.playCount, 1);
  EXPECT_NEAR(saved.worstGrade, grade, 1e-4);
}

TEST_F(ColourCodeTest, QuitBeforeAnyRowGradesSix) {
  DG_MMaster game(0);
  game.DisableRecording();
  GameDriver driver(game);
  driver.Wait(2.0);
  game.SetState(GAME_STATE_QUIT);
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
}

TEST_F(ColourCodeTest, WinsAtEveryDifficultyAndRecordsThePlay) {
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    SCOPED_TRACE(testing::Message() << "difficulty " << difficulty);
    std::filesystem::remove("mindmaster.sav");
    double grade = 0;
    {
      CrtSrand(60 + difficulty);
      DG_MMaster game(difficulty);
      GameDriver driver(game);
      AutoplayWin_DG_MMaster(driver);
      ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
      EXPECT_EQ(game.currentRow, 1);
      game.ComputeGrade();
      grade = game.GetGrade();
      EXPECT_DOUBLE_EQ(grade, 1 + game.playTime / 120);
    }
    GameRecord saved;
    ASSERT_TRUE(saved.LoadFile("mindmaster.sav"));
    EXPECT_EQ(saved.playCount, 1);
    EXPECT_NEAR(saved.bestGrade, grade, 1e-4);
  }
}

class ColourCodeThroughMenuTest : public ColourCodeTest {
 protected:
  bool NeedsDataFile() const override { return true; }
};

TEST_F(ColourCodeThroughMenuTest, PlayFromTheMenuToTheTopTenAtEveryDifficulty) {
  testapp::OffscreenScreen screen;
  ASSERT_TRUE(screen.Ok());
  const char* names[3] = {"Ole", "Ida", "Max"};
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    const MenuPlay play = PlayFromMenu(6, difficulty, [](PlayDriver& driver) {
      auto* game = dynamic_cast<DG_MMaster*>(driver.CurrentGame());
      ASSERT_NE(game, nullptr);
      PlayColourRow(driver, *game, WrongGuess(*game));
      AutoplayWin_DG_MMaster(driver);
      EXPECT_EQ(game->currentRow, 2);
    }, names[difficulty]);
    EXPECT_EQ(play.endState, GAME_STATE_ENDED);
    EXPECT_TRUE(play.nameAsked);
    EXPECT_TRUE(play.backInMenu);
    GameRecord saved;
    ASSERT_TRUE(saved.LoadFile("mindmaster.sav"));
    EXPECT_EQ(saved.playCount, difficulty + 1);
    EXPECT_NEAR(ListedGrade(saved, names[difficulty]), 1 + play.playTime / 120, 1e-4);
  }
}

// The board drawn with the real textures at every difficulty in both
// languages: in play with a peg carried, and while the code is shown at the
// end. The pictures are written where DENKAR_SHOTS points.
TEST_F(ColourCodeThroughMenuTest, ScreensDrawAtEveryDifficulty) {
  testapp::OffscreenScreen screen;
  ASSERT_TRUE(screen.Ok());
  for (int language = 0; language < 2; ++language) {
    testapp::UseLanguage(language);
    for (int difficulty = 0; difficulty < 3; ++difficulty) {
      CrtSrand(30 + difficulty);
      DG_MMaster game(difficulty);
      game.DisableRecording();
      GameDriver driver(game);
      for (int r = 0; r < 3; ++r) PlayColourRow(driver, game, WrongGuess(game));
      DragPegToHole(driver, game, RED, 0);
      driver.Wait(1.0);
      const MMPeg* peg = game.palette.Get(1);
      driver.Down(Px(peg->point.x), Px(peg->point.y));
      driver.Move(Px(peg->point.x) + 60, Px(peg->point.y) - 150);
      const std::string name =
          "colour_" + std::string(language ? "en" : "de") + "_d" + std::to_string(difficulty);
      screen.Draw([&] { game.Render(); });
      if (const std::string path = ShotPath(name + "_task"); !path.empty()) {
        EXPECT_TRUE(screen.SavePng(path));
      }
      driver.Up(Px(peg->point.x), Px(peg->point.y));
      PlayColourRow(driver, game, game.Code());
      driver.Wait(1.0);
      screen.Draw([&] { game.Render(); });
      if (const std::string path = ShotPath(name + "_end"); !path.empty()) {
        EXPECT_TRUE(screen.SavePng(path));
      }
    }
  }
}

}  // namespace
