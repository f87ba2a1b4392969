// Playing the typed-answer games through their key handlers: for each task
// the answer is typed digit by digit (or letter by letter) and confirmed with
// Enter, and the feedback is waited out, until the play has ended.
#pragma once
#include <string>

#include "framework/answer_box.h"
#include "framework/denkar_game.h"
#include "framework/game_record.h"
#include "platform/win_types.h"
#include "menu/main_menu.h"
#include "support/menu_play.h"
#include "support/play_driver.h"

// `answerFor(game)` gives the text to type for the task on show. Stops when
// the play no longer runs (ended, quit) or a feedback does not end in time.
template <typename GameType, typename AnswerFn>
void AnswerEveryTask(PlayDriver& driver, AnswerFn answerFor) {
  // A play still in its start countdown is waited for.
  driver.WaitUntil([&] {
    Denkar_Game* game = driver.CurrentGame();
    return !game || game->started;
  }, 5.0);
  for (;;) {
    GameType* game = dynamic_cast<GameType*>(driver.CurrentGame());
    if (!game || !game->started || game->GetState() != GAME_STATE_RUNNING) return;
    const AnswerBox& box = game->answerBox;
    const bool ready = driver.WaitUntil(
        [&] { return !box.InFeedback() || game->GetState() != GAME_STATE_RUNNING; }, 10.0);
    if (!ready || game->GetState() != GAME_STATE_RUNNING) return;
    while (box.Length() > 0) driver.Key(VK_BACK);
    driver.Type(answerFor(*game));
    driver.Key(VK_RETURN);
  }
}

// A typed-answer game played from the main menu and looked at on the way.
class TypedGameMenuTest : public testapp::MenuPlayTest {
 protected:
  // Starts game `index` from the menu at `difficulty`, answers the first task
  // right and the second wrong with `rightFor` / `wrongFor`, the rest with
  // `autoplay`, waits for the result page and enters a name. The task, both
  // feedbacks and the result page are drawn (and saved as
  // <shotPrefix>_task.png, ... when shots are asked for). Returns the grade
  // the game recorded on leaving the page, or -1 when something failed.
  // `secondsPerPoint`: the play time that costs the game one grade point.
  template <typename GameType, typename RightFn, typename WrongFn>
  double PlayFromMenu(int index, int difficulty, const std::string& shotPrefix, RightFn rightFor,
                      WrongFn wrongFor, void (*autoplay)(PlayDriver&),
                      double secondsPerPoint = 120.0) {
    if (!StartListedGame(index, difficulty)) return -1;
    driver->SkipCountdown();
    GameType* game = dynamic_cast<GameType*>(menu->activeGame);
    if (!game || !game->started) return -1;
    Shoot(shotPrefix + "_task.png");
    driver->Type(rightFor(*game));
    Shoot(shotPrefix + "_typed.png");
    driver->Key(VK_RETURN);
    Shoot(shotPrefix + "_right.png");
    driver->WaitUntil([&] { return !game->answerBox.InFeedback(); }, 3.0);
    driver->Type(wrongFor(*game));
    driver->Key(VK_RETURN);
    driver->WaitUntil([&] { return game->answerBox.CorrectAnswerVisible(); }, 1.0);
    Shoot(shotPrefix + "_wrong.png");
    autoplay(*driver);
    EXPECT_EQ(game->GetState(), GAME_STATE_ENDED);
    EXPECT_EQ(game->answerBox.Answered(), game->taskCount);
    EXPECT_EQ(game->answerBox.wrongCount, 1);
    if (!driver->WaitUntil([&] { return menu->currentPage == 55; }, 3.0)) return -1;
    // Enter on the result page (no name typed yet) judges nothing again.
    driver->Key(VK_RETURN);
    EXPECT_EQ(game->answerBox.Answered(), game->taskCount);
    EXPECT_EQ(game->answerBox.wrongCount, 1);
    const double expected = 1.0 + 5.0 / game->taskCount + game->playTime / secondsPerPoint;
    EXPECT_NEAR(game->GetGrade(), expected, 1e-9);
    Shoot(shotPrefix + "_result.png");
    const double grade = game->GetGrade();
    if (menu->gameNameEntry) {
      driver->Type("Tester");
      driver->Key(VK_RETURN);
    } else {
      ClickElement(56);
    }
    return menu->activeGame == nullptr && menu->currentPage == 1 ? grade : -1;
  }

  // PlayFromMenu at every difficulty, in German and then in English; every
  // play is recorded in `saveFile` with the name typed on its result page.
  // The shots are named <name>_<de|en>_d<difficulty>_....
  template <typename GameType, typename RightFn, typename WrongFn>
  void PlayEveryDifficultyInBothLanguages(int index, const std::string& name,
                                          const char* saveFile, RightFn rightFor,
                                          WrongFn wrongFor, void (*autoplay)(PlayDriver&),
                                          double secondsPerPoint = 120.0) {
    int plays = 0;
    for (int language = 0; language < 2; ++language) {
      testapp::UseLanguage(language);
      for (int difficulty = 0; difficulty < 3; ++difficulty) {
        const std::string prefix =
            name + (language ? "_en" : "_de") + "_d" + std::to_string(difficulty);
        const double grade = PlayFromMenu<GameType>(index, difficulty, prefix, rightFor,
                                                    wrongFor, autoplay, secondsPerPoint);
        ASSERT_GT(grade, 1.0) << prefix;
        GameRecord saved;
        ASSERT_TRUE(saved.LoadFile(saveFile));
        EXPECT_EQ(saved.playCount, ++plays);
        ASSERT_EQ(saved.Entries().Count(), plays);
        EXPECT_STREQ(saved.Entries().Get(0)->name, "Tester");
      }
    }
  }
};
