// DG_Uhr_lesen: reading clocks and adding times. A task shows two or three
// clocks, analog or digital, joined by plus and minus signs; the player types
// the resulting time of day (hours and minutes, modulo a day) and confirms it
// with Enter. Five, ten or fifteen tasks make a play.
#pragma once
#include <string>

#include "framework/answer_box.h"
#include "framework/denkar_game.h"
#include "util/ptr_list.h"

class AppContext;
class Font;

constexpr int MINUTES_PER_DAY = 24 * 60;

// Kinds of clocks a task asks for.
enum UhrKind { UHR_DIGITAL = 0, UHR_ANALOG = 1, UHR_EITHER = 2 };

// One clock on screen: a random time of day on a dial with hands or on a
// digital display, centred on its position.
class Uhr {
 public:
  // `kind`: UHR_DIGITAL, UHR_ANALOG, or UHR_EITHER to decide at random.
  // `size` 200 draws the pictures at their own size.
  Uhr(float x, float y, int kind, double size);

  int Value() const { return hours * 60 + minutes; }  // minutes since midnight
  // Clockwise angles from 12 o'clock in degrees.
  double MinuteAngle() const { return minutes / 60.0 * 360.0; }
  double HourAngle() const { return hours / 12.0 * 360.0 + MinuteAngle() / 12.0; }
  void Draw() const;
  void OnLostDevice();
  void OnResetDevice();

  AppContext* app;
  double scale;
  int hours;    // 0 ... 23
  int minutes;  // 0 ... 59
  D3DXVECTOR2 position;
  bool analog;
  Font* font;             // "Arial" 40, owned by the font manager
  char digitalText[8] = {};  // the digital display's "h:mm"
};

class DG_Uhr_lesen : public Denkar_Game, private AnswerRules {
 public:
  explicit DG_Uhr_lesen(int difficulty);
  ~DG_Uhr_lesen() override;

  void Update() override;
  void Render() override;
  void OnKeyDown(int key) override { answerBox.OnKeyDown(key); }
  void OnKeyUp(int key) override { answerBox.OnKeyUp(key); }
  void OnLostDevice() override;
  void OnResetDevice() override;
  const char* GetDescriptionText() override;
  const char* GetStatisticsText() override;
  const char* GetResultText() override;
  const char* GetResultTitle() override;
  void ComputeGrade() override;

  // Empties the lists and builds a new task of `clockCount` clocks.
  void BuildTask();

  // The typed answer in minutes: with three or four digits the last two are
  // the minutes and the ones before them the hours ("130" is 90 minutes),
  // shorter answers are minutes. Minutes of 60 or more are taken as typed.
  static int TypedMinutes(const char* answer);
  // The typed answer as the tile shows it, "h:mm" (no digit for hour 0).
  static std::string TypedTime(const char* answer);
  // `sum` joined with `value` by a plus or a minus sign, modulo a day.
  static int JoinTimes(int sum, int value, bool plus);

  PtrList<Uhr> clocks{true};
  PtrList<D3DXVECTOR2> plusPositions{true};
  PtrList<D3DXVECTOR2> minusPositions{true};
  int correctAnswer = 0;  // minutes 0 ... 1439
  int clockCount = 2;
  int taskCount = 5;
  AnswerBox answerBox{*this, *this};

  static constexpr int MAX_DIGITS = 4;

 private:
  bool TakesKey(int key, int length) const override;
  bool IsRight(const char* answer) const override;
  std::string ShownAnswer(const char* answer, bool judgedRight) const override;
  std::string CorrectAnswer() const override;
  float TileScale(int typedLength, int shownLength) const override;
  void NextTask() override { BuildTask(); }

  std::string resultText_;
};
