// DG_Datum_Game: calendar arithmetic. A task names a start date with its
// weekday and a chain of two or three steps of days, weeks, months or years;
// the player types the date reached (DDMMYYYY) or, in some tasks, its weekday
// by name, and confirms with Enter.
#pragma once
#include <string>

#include "Denkar_Spiele/Datum.h"
#include "framework/answer_box.h"
#include "framework/denkar_game.h"

class Font;

// The game supplies the answer rules of its typed-answer box: digits of a
// date or letters of a weekday, judged against the date reached.
class DG_Datum_Game : public Denkar_Game, public AnswerRules {
 public:
  // Step types: even ones go back, odd ones forward; 0-1 days, 2-5 weeks,
  // 6-9 months, 10-13 years.
  static constexpr int STEP_TYPES = 14;
  static constexpr int MAX_STEPS = 3;
  static constexpr int MAX_DATE_DIGITS = 8;
  static constexpr int MAX_WEEKDAY_LETTERS = 15;
  static constexpr double FEEDBACK_RIGHT = 1.0;
  static constexpr double FEEDBACK_WRONG = 2.0;
  // Play seconds that cost one grade point.
  static constexpr double SECONDS_PER_POINT = 240.0;

  explicit DG_Datum_Game(int difficulty);
  ~DG_Datum_Game() override;

  void Update() override;
  void Render() override;
  void OnKeyDown(int key) override;
  void OnKeyUp(int key) override;
  bool AllowsHelp() override { return !weekdayQuestion; }
  void OnLostDevice() override;
  void OnResetDevice() override;
  const char* GetDescriptionText() override;
  const char* GetStatisticsText() override;
  const char* GetResultText() override;
  const char* GetResultTitle() override;
  void ComputeGrade() override;

  // A new task: the start date, the kind of question and the steps.
  void BuildTask();
  // Draws a step type that follows `previous` (-1 before the first step):
  // the other direction and another group. Applies it to the result date and
  // appends its text. Returns the type.
  int NextStep(int previous);
  static int StepGroup(int type);
  // The date typed as DDMMYYYY: the day once two digits exist, the month
  // once four, the year once eight; what is missing is today's.
  static Datum ReadDateAnswer(const char* digits);
  // What a player types to answer the current task right: the eight digits
  // of the date, or the weekday's name in the current language.
  std::string ExpectedAnswer() const;
  // Whether the game takes keys now: started, running and no feedback shown.
  bool TakesInput() const;

  // The answer rules: digits while the date has fewer than 8, letters while
  // the weekday has fewer than 15; a weekday is compared in lower case
  // without spaces; the tile grows by 0.3 per character on show.
  bool TakesKey(int key, int length) const override;
  bool IsRight(const char* answer) const override;
  std::string ShownAnswer(const char* answer, bool judgedRight) const override;
  std::string CorrectAnswer() const override { return correctShown_; }
  float TileScale(int typedLength, int shownLength) const override;
  void NextTask() override { BuildTask(); }

  int stepCount = 2;
  int taskCount = 10;
  double weekdayChance = 0.1;
  bool randomStart = false;
  Datum startDate;
  Datum resultDate;
  bool weekdayQuestion = false;
  int stepTypes[MAX_STEPS] = {-1, -1, -1};  // of the current task
  std::string taskText;                      // header line and step texts
  // The typed answer, right and wrong counts and the feedback phase.
  AnswerBox answerBox;
  Font* taskFont = nullptr;    // "Arial" 25, owned by the font manager
  Font* answerFont = nullptr;  // "Arial" 20, owned by the font manager

 private:
  void BuildStartLine();

  std::string startLine_;     // text 197, built with each task
  std::string correctShown_;  // the date reached or its weekday's name
  std::string resultText_;
};
