// AnswerBox: the typed answer of the games where the player types a result
// and confirms it with Enter. It keeps the small character buffer (Backspace
// removes the last character, Shift switches letters to capitals), judges the
// answer on the release of Enter, plays the right or wrong sound, runs the
// feedback phase (keys ignored, play clock standing), then lets the game build
// its next task or ends the play after the last one. It also draws the answer
// tile with the typed text, the right-answer mark, or the correct answer
// blinking in light red, and builds the grade and result text these games share.
//
// What differs between the games (which keys make up an answer, how it is
// judged, how the typed and the correct answer read on screen, how wide the
// tile grows, how the next task is made) comes from the game through
// AnswerRules.
#pragma once
#include <string>

class Denkar_Game;
class Font;

class AnswerRules {
 public:
  virtual ~AnswerRules() = default;
  // Whether `key` (a virtual-key code: '0' ... '9', 'A' ... 'Z', ...) adds a
  // character to an answer that already holds `length` characters.
  virtual bool TakesKey(int key, int length) const = 0;
  // Whether the typed answer (zero-terminated, at least one character) is right.
  virtual bool IsRight(const char* answer) const = 0;
  // What the tile shows of the typed answer: while typing, and with
  // `judgedRight` during the feedback after a right answer.
  virtual std::string ShownAnswer(const char* answer, bool judgedRight) const = 0;
  // The correct answer, shown blinking after a wrong one.
  virtual std::string CorrectAnswer() const = 0;
  // Horizontal stretch of the 50-pixel tile for `typedLength` characters typed
  // and `shownLength` characters on show.
  virtual float TileScale(int typedLength, int shownLength) const = 0;
  // Builds the next task; called when a feedback phase ends and tasks are left.
  virtual void NextTask() = 0;
};

class AnswerBox {
 public:
  // Bytes of the answer buffer, the terminating zero included.
  static constexpr int CAPACITY = 20;
  // Colour of the correct answer after a wrong one.
  static constexpr unsigned WRONG_COLOUR = 0xFFFF7F7F;

  // `rightSeconds` / `wrongSeconds`: length of the feedback phase after a
  // right / wrong answer.
  AnswerBox(Denkar_Game& game, AnswerRules& rules, double rightSeconds = 2.0,
            double wrongSeconds = 2.0);

  // Keys reach the answer only while the play runs (started, state running)
  // and no feedback is shown; Shift is followed at any time.
  void OnKeyDown(int key);
  void OnKeyUp(int key);
  // One frame of the game: the feedback runs down on wall time and, when it
  // ends, the next task is built (answers below `taskCount`) or the play ends;
  // without feedback the play clock runs while the play runs. The game
  // record's play time grows by the frame time in any case.
  void Update(int taskCount);
  // The tile centred on (centreX, centreY) with its text in `font`, and the
  // feedback beside or on it.
  void Draw(float centreX, float centreY, Font* font);
  // Empties the answer (a new task).
  void Clear();

  const char* Answer() const { return answer_; }
  int Length() const { return length_; }
  int Answered() const { return rightCount + wrongCount; }
  bool InFeedback() const { return feedbackSeconds > 0; }
  // Whether the correct answer is drawn in this frame of a wrong-answer
  // feedback (0.2 s on, 0.2 s off).
  bool CorrectAnswerVisible() const;
  float TileScale();

  // The grade of these games: after the last task 1 + 5 x wrong / taskCount +
  // t / secondsPerPoint; a play left early grades 6.0 without answers and
  // 1 + 10 x wrong / answered + t / secondsPerPoint otherwise; at most 6.0.
  double Grade(int taskCount, double secondsPerPoint) const;
  // Result page body: `playTimeLine`, right and wrong counts, the share of
  // right answers in percent and the grade.
  std::string ResultText(const std::string& playTimeLine, double grade) const;

  int rightCount = 0;
  int wrongCount = 0;
  double feedbackSeconds = 0.0;
  bool lastAnswerRight = false;
  bool shiftHeld = false;

 private:
  bool TakesInput() const;
  void RefreshShownText();

  Denkar_Game& game_;
  AnswerRules& rules_;
  double rightSeconds_;
  double wrongSeconds_;
  char answer_[CAPACITY] = {};
  int length_ = 0;
  // Texts on show, rebuilt only when the answer or the feedback changes.
  bool shownStale_ = true;
  std::string shownText_;
  std::string correctText_;
  float tileScale_ = 1.0f;
};
