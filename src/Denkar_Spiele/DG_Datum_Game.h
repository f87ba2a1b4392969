// DG_Datum_Game: calendar arithmetic. A task names a start date with its
// weekday and a chain of two or three steps of days, weeks, months or years;
// the player types the date reached (DDMMYYYY) or, in some tasks, its weekday
// by name, and confirms with Enter.
#pragma once
#include <string>

#include "Denkar_Spiele/Datum.h"
#include "framework/denkar_game.h"

class Font;

class DG_Datum_Game : public Denkar_Game {
 public:
  // Step types: even ones go back, odd ones forward; 0-1 days, 2-5 weeks,
  // 6-9 months, 10-13 years.
  static constexpr int STEP_TYPES = 14;
  static constexpr int MAX_STEPS = 3;
  static constexpr int MAX_DATE_DIGITS = 8;
  static constexpr int MAX_WEEKDAY_LETTERS = 15;
  static constexpr double FEEDBACK_RIGHT = 1.0;
  static constexpr double FEEDBACK_WRONG = 2.0;

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
  // Whether `answer` (digits or a weekday name) answers the current task.
  bool IsRightAnswer(const char* answer) const;
  // What a player types to answer the current task right: the eight digits
  // of the date, or the weekday's name in the current language.
  std::string ExpectedAnswer() const;
  // Whether the game takes keys now: started, running, no feedback shown and
  // tasks left.
  bool TakesInput() const;

  int stepCount = 2;
  int taskCount = 10;
  double weekdayChance = 0.1;
  bool randomStart = false;
  Datum startDate;
  Datum resultDate;
  bool weekdayQuestion = false;
  int stepTypes[MAX_STEPS] = {-1, -1, -1};  // of the current task
  std::string taskText;                      // header line and step texts
  char answer[20] = {};
  int answerLength = 0;
  bool shiftHeld = false;
  int rightCount = 0;
  int wrongCount = 0;
  double feedbackSeconds = 0.0;
  bool lastAnswerRight = false;
  Font* taskFont = nullptr;    // "Arial" 25, owned by the font manager
  Font* answerFont = nullptr;  // "Arial" 20, owned by the font manager

 private:
  void Judge();
  void ClearAnswer();
  // The texts on screen, built when they change rather than every frame.
  void BuildStartLine();
  void BuildAnswerShown();
  void DrawAnswerBox() const;

  std::string startLine_;
  std::string answerShown_;  // the typed answer as shown (dots in dates)
  std::string correctShown_;  // the right answer as shown after a wrong one
  std::string resultText_;
};
