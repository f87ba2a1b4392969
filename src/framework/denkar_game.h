// Denkar_Game: the base of every mini-game. It holds the play state, the play
// time, the difficulty and the grade, keeps the game's GameRecord (loaded from
// the save file on construction, updated and written back on destruction) and
// supplies the instruction, statistics and result texts the host draws.
#pragma once
#include <cstdint>
#include <string>
#include "framework/game.h"
#include "framework/game_record.h"
#include "util/change_key.h"

class Font;
class FontManager;

// Play states.
constexpr int GAME_STATE_ENDED = 0;
constexpr int GAME_STATE_ENDED_OTHER = 2;  // second kind of end, treated like 0
constexpr int GAME_STATE_QUIT = 4;
constexpr int GAME_STATE_RUNNING = 6;
constexpr int GAME_STATE_PAUSED = 7;

// A grade this good or better counts as very good.
constexpr double VERY_GOOD_GRADE = 1.5;

constexpr int SAVE_FILE_NAME_SIZE = 1000;

class Denkar_Game : public Game {
 public:
  Denkar_Game(int difficulty, const char* saveFileName);
  // Records the grade in the game record and the statistics (unless recording
  // is disabled) and rewrites the save file.
  ~Denkar_Game() override;

  virtual void Start();
  virtual int32_t GetState();
  virtual void SetState(int32_t newState);
  virtual const char* GetDescriptionText();
  virtual const char* GetStatisticsText();
  virtual const char* GetResultText();
  virtual const char* GetResultTitle();
  virtual void ComputeGrade();
  virtual void DrawDescription(ElementDrawInfo info, Font* drawFont);
  virtual bool AllowsHelp();
  virtual void Reserved40();

  // The rectangle DrawDescription fills for an element drawn with `info`.
  static RECT DescriptionRect(const ElementDrawInfo& info);

  void OnLostDevice() override;
  void OnResetDevice() override;

  bool IsHighscore();
  double GetGrade() const { return grade; }
  double GetPlayTime() const { return playTime; }
  // A new entry with today's date, an empty name and this play's grade; the
  // caller owns it until it passes it to AddHighscore.
  HighscoreEntry* CreateHighscoreEntry();
  void AddHighscore(HighscoreEntry* entry);  // the record takes ownership
  void ResetRecord();
  void DisableRecording();
  // The font and width the statistics text is shown in: a top-10 line wider
  // than that gets its name shortened (the save file keeps the whole name).
  // Without a font the lines are left as they are.
  void SetStatisticsLayout(Font* lineFont, int lineWidth);

  int32_t state = GAME_STATE_RUNNING;
  double playTime = 0.0;
  int32_t difficulty = 0;
  bool started = false;
  bool recordOnDestroy = true;
  FontManager* fontManager = nullptr;
  Font* font = nullptr;  // "Arial" 20, owned by the font manager
  char saveFileName[SAVE_FILE_NAME_SIZE] = {};
  GameRecord record;
  double grade = 6.0;

 protected:
  // The standard statistics text of this game's record: the top-10 list in
  // ten lines, total play time, very-good count, best and worst grade (when
  // there were plays), average and number of plays. Valid until the next call.
  // Made again only when the record, the language or the layout changed.
  const char* BuildStatisticsText();
  // The first line of most result texts: language text 22 with the minutes
  // and seconds of the truncated play time, and a line break.
  std::string PlayTimeLine() const;

 private:
  // The text without a layout (to choose its size) and with one: a page asks
  // for both every frame.
  struct StatisticsText {
    ChangeKey placesInputs, inputs;  // the places; the totals
    std::string places, text;
  };
  StatisticsText statistics_[2];
  Font* statisticsFont_ = nullptr;
  int statisticsWidth_ = 0;
};
