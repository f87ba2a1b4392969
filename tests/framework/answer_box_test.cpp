// The typed-answer box: editing the buffer, judging on the release of Enter,
// the feedback phase with its standing clock, the end of the play, the input
// guards, the sounds, the grade and the result text.
#include <gtest/gtest.h>

#include <string>

#include "audio/sound_effects.h"
#include "data/data_file.h"
#include "data/language.h"
#include "framework/answer_box.h"
#include "framework/denkar_game.h"
#include "platform/clock.h"
#include "support/test_app.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

// A game whose answer is a word of up to five letters or digits; "right" is right.
class WordGame : public Denkar_Game, public AnswerRules {
 public:
  explicit WordGame(double rightSeconds = 2.0, double wrongSeconds = 2.0)
      : Denkar_Game(0, "word.sav"), box(*this, *this, rightSeconds, wrongSeconds) {
    DisableRecording();
  }
  bool TakesKey(int key, int length) const override {
    return length < 5 && ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'));
  }
  bool IsRight(const char* answer) const override { return std::string(answer) == "right"; }
  std::string ShownAnswer(const char* answer, bool judgedRight) const override {
    return judgedRight ? std::string("[") + answer + "]" : answer;
  }
  std::string CorrectAnswer() const override { return "right"; }
  float TileScale(int typedLength, int shownLength) const override {
    return static_cast<float>(typedLength + 0.1 * shownLength);
  }
  void NextTask() override { ++tasksBuilt; }
  void Update() override { box.Update(3); }
  void ComputeGrade() override { grade = box.Grade(3, 120.0); }
  void OnLostDevice() override {}
  void OnResetDevice() override {}

  AnswerBox box;
  int tasksBuilt = 0;
};

class AnswerBoxTest : public testapp::AppTest {
 protected:
  void Type(WordGame& game, const std::string& keys) {
    for (char c : keys) {
      game.box.OnKeyDown(c);
      game.box.OnKeyUp(c);
    }
  }
  void Enter(WordGame& game) {
    game.box.OnKeyDown(VK_RETURN);
    game.box.OnKeyUp(VK_RETURN);
  }
  void Frame(WordGame& game, double seconds) {
    app->frameTime = app->realFrameTime = seconds;
    game.Update();
  }
};

TEST_F(AnswerBoxTest, EditingTheBuffer) {
  WordGame game;
  game.Start();
  // Backspace on an empty answer removes nothing, however often it repeats.
  for (int i = 0; i < 30; ++i) game.box.OnKeyDown(VK_BACK);
  EXPECT_EQ(game.box.Length(), 0);
  EXPECT_STREQ(game.box.Answer(), "");
  Type(game, "AB1");
  EXPECT_STREQ(game.box.Answer(), "ab1");  // letters lower case without Shift
  game.box.OnKeyDown(VK_SHIFT);
  Type(game, "C");
  game.box.OnKeyUp(VK_SHIFT);
  Type(game, "DEF");  // the sixth character is refused by the game's rule
  EXPECT_STREQ(game.box.Answer(), "ab1Cd");
  // Keys the game does not take, the keypad and Enter's press add nothing.
  for (int key : {VK_SPACE, VK_NUMPAD0 + 1, VK_RETURN, VK_ESCAPE}) game.box.OnKeyDown(key);
  game.box.OnKeyDown(VK_BACK);
  game.box.OnKeyDown(VK_BACK);
  EXPECT_STREQ(game.box.Answer(), "ab1");
  EXPECT_EQ(game.box.Answered(), 0);
  EXPECT_FALSE(game.box.InFeedback());
}

TEST_F(AnswerBoxTest, EnterOnReleaseJudgesThenFeedbackThenNextTaskThenEnd) {
  WordGame game(1.0, 2.0);  // a shorter feedback after a right answer
  game.Start();
  Enter(game);  // nothing typed: nothing judged
  EXPECT_EQ(game.box.Answered(), 0);
  Type(game, "RIGHT");
  game.box.OnKeyDown(VK_RETURN);
  EXPECT_FALSE(game.box.InFeedback());  // judged on the release only
  game.box.OnKeyUp(VK_RETURN);
  EXPECT_EQ(game.box.rightCount, 1);
  EXPECT_TRUE(game.box.lastAnswerRight);
  EXPECT_DOUBLE_EQ(game.box.feedbackSeconds, 1.0);
  // During the feedback keys are lost and the play clock stands still.
  Type(game, "X");
  game.box.OnKeyDown(VK_BACK);
  Enter(game);
  EXPECT_STREQ(game.box.Answer(), "right");
  EXPECT_EQ(game.box.Answered(), 1);
  Frame(game, 0.6);
  EXPECT_DOUBLE_EQ(game.playTime, 0.0);
  EXPECT_EQ(game.tasksBuilt, 0);
  Frame(game, 0.6);  // the feedback is over: next task, empty answer
  EXPECT_EQ(game.tasksBuilt, 1);
  EXPECT_FALSE(game.box.InFeedback());
  EXPECT_EQ(game.box.Length(), 0);
  Frame(game, 0.5);
  EXPECT_DOUBLE_EQ(game.playTime, 0.5);

  Type(game, "WRONG");
  Enter(game);
  EXPECT_EQ(game.box.wrongCount, 1);
  EXPECT_FALSE(game.box.lastAnswerRight);
  EXPECT_DOUBLE_EQ(game.box.feedbackSeconds, 2.0);
  Frame(game, 1.9);
  EXPECT_EQ(game.tasksBuilt, 1);
  Frame(game, 0.2);
  EXPECT_EQ(game.tasksBuilt, 2);

  Type(game, "RIGHT");
  Enter(game);
  Frame(game, 1.5);  // the third answer's feedback ends the play
  EXPECT_EQ(game.tasksBuilt, 2);
  EXPECT_EQ(game.GetState(), GAME_STATE_ENDED);
  EXPECT_DOUBLE_EQ(game.playTime, 0.5);
  // After the end (the host's wait and result page) nothing is judged again,
  // and the clock stays; the record's time keeps running.
  Type(game, "RIGHT");
  Enter(game);
  Frame(game, 1.0);
  EXPECT_EQ(game.box.rightCount, 2);
  EXPECT_EQ(game.box.wrongCount, 1);
  EXPECT_DOUBLE_EQ(game.playTime, 0.5);
  EXPECT_DOUBLE_EQ(game.record.playTime, 0.6 + 0.6 + 0.5 + 1.9 + 0.2 + 1.5 + 1.0);
}

TEST_F(AnswerBoxTest, NoInputBeforeTheStartOrWhilePausedAndAQuitStaysAQuit) {
  WordGame game;
  Type(game, "RIGHT");  // before Start
  Frame(game, 1.0);
  EXPECT_EQ(game.box.Length(), 0);
  EXPECT_DOUBLE_EQ(game.playTime, 0.0);
  EXPECT_DOUBLE_EQ(game.record.playTime, 1.0);
  game.Start();
  Type(game, "RIGHT");
  game.SetState(GAME_STATE_PAUSED);
  game.box.OnKeyDown(VK_BACK);
  Enter(game);
  EXPECT_EQ(game.box.Length(), 5);
  EXPECT_EQ(game.box.Answered(), 0);
  game.SetState(GAME_STATE_RUNNING);
  Enter(game);
  EXPECT_EQ(game.box.rightCount, 1);
  game.SetState(GAME_STATE_QUIT);  // left from the pause menu during the feedback
  Frame(game, 3.0);
  EXPECT_FALSE(game.box.InFeedback());
  EXPECT_EQ(game.GetState(), GAME_STATE_QUIT);
  EXPECT_EQ(game.tasksBuilt, 0);
  // Shift is followed whatever the state, so it never sticks.
  game.box.OnKeyDown(VK_SHIFT);
  EXPECT_TRUE(game.box.shiftHeld);
  game.box.OnKeyUp(VK_SHIFT);
  EXPECT_FALSE(game.box.shiftHeld);
}

TEST_F(AnswerBoxTest, GradeAndResultText) {
  WordGame game;
  game.Start();
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);  // left before any answer
  Type(game, "RIGHT");
  Enter(game);
  Frame(game, 2.0);
  Type(game, "NO");
  Enter(game);
  game.playTime = 30.0;
  game.SetState(GAME_STATE_QUIT);
  game.ComputeGrade();  // 1 + 10 x 1 / 2 + 30 / 120, fractions in real numbers
  EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
  game.box.rightCount = 3;
  game.ComputeGrade();  // 1 + 10 / 4 + 0.25
  EXPECT_DOUBLE_EQ(game.GetGrade(), 3.75);
  game.SetState(GAME_STATE_ENDED);
  game.ComputeGrade();  // 1 + 5 x 1 / 3 + 0.25
  EXPECT_DOUBLE_EQ(game.GetGrade(), 1.0 + 5.0 / 3 + 0.25);
  game.box.wrongCount = 9;
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);

  // The share of right answers is truncated (66.6 % shows as 66 %), and
  // without answers it is 0.
  game.box.rightCount = 2;
  game.box.wrongCount = 1;
  const std::string twoOfThree = game.box.ResultText("", 1.0);
  EXPECT_NE(twoOfThree.find(FormatText(GetLangText(32), {66})), std::string::npos);
  game.box.rightCount = game.box.wrongCount = 0;
  const std::string none = game.box.ResultText("", 6.0);
  EXPECT_NE(none.find(FormatText(GetLangText(32), {0})), std::string::npos);
}

TEST_F(AnswerBoxTest, TileGrowsWithTheShownTextAndTheCorrectAnswerBlinks) {
  WordGame game;
  game.Start();
  EXPECT_FLOAT_EQ(game.box.TileScale(), 0.0f);
  Type(game, "NO");
  EXPECT_FLOAT_EQ(game.box.TileScale(), 2.2f);
  Enter(game);  // wrong: the correct answer "right" is on show
  EXPECT_FLOAT_EQ(game.box.TileScale(), 2.5f);
  // 0.2 s on, 0.2 s off, by the tenths of the feedback left.
  const struct {
    double left;
    bool visible;
  } blink[] = {{2.0, true}, {1.95, false}, {1.85, false}, {1.75, true}, {1.65, true},
               {1.55, false}, {0.45, true}, {0.05, true}};
  for (const auto& b : blink) {
    game.box.feedbackSeconds = b.left;
    EXPECT_EQ(game.box.CorrectAnswerVisible(), b.visible) << b.left;
  }
  Frame(game, 1.0);
  Type(game, "RIGHT");
  Enter(game);
  EXPECT_FALSE(game.box.CorrectAnswerVisible());
  EXPECT_FLOAT_EQ(game.box.TileScale(), 5.7f);  // "[right]" on show
}

class AnswerBoxSoundTest : public AnswerBoxTest {
 protected:
  bool NeedsDataFile() const override { return true; }
  void SetUp() override {
    AnswerBoxTest::SetUp();
    ClockUseVirtual(true);
    app->headless = true;
    app->soundVolume = 100;
    app->dataFile = OpenDataFile("sport.gob");
    ASSERT_NE(app->dataFile, nullptr);
    ASSERT_EQ(InitSound(), S_OK);
  }
  void TearDown() override {
    ReleaseSound();
    CloseDataFile(app->dataFile);
    app->dataFile = nullptr;
    AnswerBoxTest::TearDown();
  }
  int Playing(int id) {
    int n = 0;
    for (auto& buffer : app->soundEffects[id]->buffers) n += buffer && buffer->IsPlaying();
    return n;
  }
};

TEST_F(AnswerBoxSoundTest, RightSoundsLikeAClickAndWrongLikeTheLamp) {
  WordGame game;
  game.Start();
  Type(game, "RIGHT");
  Enter(game);
  EXPECT_EQ(Playing(1), 1);
  EXPECT_EQ(Playing(11), 0);
  Frame(game, 2.0);
  Type(game, "NO");
  Enter(game);
  EXPECT_EQ(Playing(11), 1);
}

}  // namespace
