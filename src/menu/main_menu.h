// MainMenu: the one controller the application talks to. It shows the menu
// pages, owns the running mini-game, forwards input and frames to it, runs
// the start countdown, the end of a play with its result page and name
// entry, and the series of all sixteen games.
#pragma once
#include <string>
#include "framework/game.h"
#include "util/change_key.h"

class Denkar_Game;
class Font;
class FontManager;
struct HighscoreEntry;
struct SeriesEntry;

// Element slots of the pages (the slot's enabled flag is the page's visibility).
enum MenuSlot {
  SLOT_MAIN = 0,        // page 1
  SLOT_MODE = 1,        // page 14
  SLOT_GAME_LIST = 2,   // page 18
  SLOT_INFO = 3,        // page 38
  SLOT_OVERALL = 4,     // page 40
  SLOT_PAUSE = 5,       // page 45
  SLOT_HOW_TO = 6,      // page 50
  SLOT_GAME_STATS = 7,  // page 52
  SLOT_RESULT = 8,      // page 55
  SLOT_DIFFICULTY = 9,  // page 9
  SLOT_SERIES = 10,     // page 57
  SLOT_HELP = 11,       // page 43
};

class MainMenu : public Game {
 public:
  MainMenu();
  ~MainMenu() override;

  void OnMouseMove(int x, int y) override;
  void OnLButtonDown(int x, int y) override;
  void OnLButtonUp(int x, int y) override;
  void OnLButtonDblClk(int x, int y) override;
  void OnRButtonDown(int x, int y) override;
  void OnRButtonUp(int x, int y) override;
  void OnKeyDown(int key) override;
  void OnKeyUp(int key) override;
  // The wheel scrolls the game list, one row per notch.
  void OnMouseWheel(WPARAM wParam) override;
  // The page elements under the pointer; the words beside the language
  // radio buttons count as part of their buttons.
  bool HitTestElements(int mode) override;
  void Update() override;
  void Render() override;
  void DrawElement0(ElementDrawInfo info) override;
  void DrawElement1(ElementDrawInfo info) override;
  void DrawElement2(ElementDrawInfo info) override;
  void DrawElement3(ElementDrawInfo info) override;
  void DrawElement4(ElementDrawInfo info) override;
  void DrawElement5(ElementDrawInfo info) override;
  void DrawElement6(ElementDrawInfo info) override;
  void DrawElement7(ElementDrawInfo info) override;
  void DrawElement8(ElementDrawInfo info) override;
  void DrawElement9(ElementDrawInfo info) override;
  void DrawElement10(ElementDrawInfo info) override;
  void DrawElement11(ElementDrawInfo info) override;
  void OnLostDevice() override;
  void OnResetDevice() override;

  void SetPage(int id);
  void BuildGameList();
  void StartGame(int index);
  void FinishGame();
  void RecordAndFinish();
  void ResetAllStatistics();
  void DrawCursor();

  // The action of a click on element `id` (also used for Enter on the result pages).
  void Dispatch(int id);
  // Makes the game of a list index; the game list by default (tests put
  // their own games in here).
  Denkar_Game* (*createGame)(int index, int difficulty) = nullptr;
  // The series grade as stored: the average, with the quit penalty when quit.
  static double SeriesGrade(double gradeSum, int gamesCounted, bool quit);
  // What the start countdown shows: the whole seconds left, "Start" in the
  // last second.
  std::string CountdownText() const;
  // Texts of pages 40 and 57 (built on demand, kept for drawing). With a
  // font, a series line wider than `lineWidth` gets its name shortened.
  std::string OverallStatisticsText(Font* lineFont = nullptr, int lineWidth = 0) const;
  // The same as page 40 shows it frame after frame: made again only when the
  // statistics, the language or the layout changed.
  const std::string& ShownOverallStatistics(Font* lineFont, int lineWidth);
  // The ten places of page 40, each line ending in a line break.
  std::string OverallPlacesText(Font* lineFont, int lineWidth) const;
  std::string SeriesResultText() const;

  int listOffset = 0;
  int listLastRow = 6;
  double endWait = -1.0;
  double startCountdown = -1.0;
  bool seriesMode = false;
  int seriesIndex = 0;
  int currentPage = 1;
  double pressTime = 0;
  double pressTimeMax = 0.1;
  bool mouseHeld = false;
  Denkar_Game* activeGame = nullptr;
  Font* font30 = nullptr;
  Font* font20 = nullptr;
  Font* font40 = nullptr;
  Font* font80 = nullptr;
  Font* font26 = nullptr;  // for text blocks too tall for the 30-point font
  FontManager* fontManager = nullptr;
  int difficulty = 0;
  HighscoreEntry* gameNameEntry = nullptr;
  SeriesEntry* seriesNameEntry = nullptr;
  bool shiftHeld = false;
  double seriesTime = 0;
  double seriesBestGrade = 6.0;
  double seriesWorstGrade = 1.0;
  double seriesGradeSum = 0;
  int seriesGamesCounted = 0;
  int backgroundIndex = 4;
  bool resultHandled = false;
  // The running play was quit by the player (noted before it is graded, so a
  // game whose grading changes its state still ends the series).
  bool playQuit = false;
  double seriesGrade = 6.0;  // the grade of the finished series, as stored

  // A click is the press and the release on the same element of the same
  // page: the element under the last press (null when none, or when the
  // press cannot start a click) and the page it was made on.
  GUIElement* pressedElement = nullptr;
  int pressPage = 0;
  int previousPressPage = 0;  // page of the press before, for double clicks
  // The reset buttons (42, 54) ask first: the id of the button that now asks
  // "Sure?" (0: none) and the seconds left before it gives up.
  int confirmingId = 0;
  double confirmSecondsLeft = 0;
  static constexpr double CONFIRM_SECONDS = 5.0;
  // Wheel movement not yet worth a whole row.
  int wheelRemainder = 0;
  // The largest of the menu's text fonts (30, 26, 20 points) in which `text`
  // laid out with `format` fits `width` x `height`; the smallest when none does.
  Font* FontForBlock(const char* text, int width, int height, DWORD format) const;
  // Rectangles (relative to page 1) of the language radio buttons together
  // with the word beside each.
  static RECT LanguageChoiceArea(int radioId);
  // Seconds the name entry's caret has been blinking.
  double caretTime = 0;
  // The name-entry line of the result pages with a caret after the name,
  // its end shown when it is wider than `maxWidth`.
  std::string NameEntryLine(const std::string& name, int maxWidth) const;

 private:
  struct ShownText {
    ChangeKey placesInputs, inputs;  // the places; the totals
    std::string places, text;
  };
  ShownText overallStatistics_[2];  // without and with a line font
  void ForwardMouse(void (MyControl::*slot)(int, int), int x, int y);
  bool GameTakesInput() const;
  bool NameEntryActive() const;
  void EditName(int key);
  // The back or confirm button of the page shown, for Escape (0: none).
  int EscapeTarget() const;
  void ScrollGameList(int rows);
  // The reset buttons: first click asks, a second one within the time acts.
  bool ConfirmReset(int id);
  void BuildPages();
  GUIElement* MakePage(int id, int slot, RECT src);
  GUIElement* MakeChild(GUIElement* page, int id, RECT src, float x, float y);
  void DrawPageBackground(const ElementDrawInfo& info, const struct Texture* texture,
                          const char* title);
  void DrawPageChild(const ElementDrawInfo& info);
  void DrawFullScreenShade(const struct Texture* texture, D3DCOLOR colour);
  void DrawNameEntry(const ElementDrawInfo& info, const char* name);
  // The body of a result page, in the size that fits above the name line.
  void DrawResultBody(const ElementDrawInfo& info, const char* text);
};
