// PlayDriver: plays a running game for the tests as a player would, through
// the game's own input handlers. It sends mouse and key events the way the
// window procedure does (a mouse move first, the position kept in the
// application record) and advances time frame by frame. Autoplayers of the
// games take a PlayDriver, so the same autoplayer wins a game on its own
// (GameDriver) and inside the main menu or a whole series (MenuDriver).
#pragma once
#include <functional>
#include <string>

class Denkar_Game;
class GUIElement;
class MainMenu;
class MyControl;

// The element `id` on a visible page of `menu` (the pages' roots aside), or
// null; with `x`, `y` set to its centre in screen pixels when found.
GUIElement* FindVisibleElement(MainMenu& menu, int id, int* x = nullptr, int* y = nullptr);

class PlayDriver {
 public:
  virtual ~PlayDriver() = default;
  // The game being played (null when none runs).
  virtual Denkar_Game* CurrentGame() = 0;
  // One frame of `seconds`: frame times set in the record, then Update.
  virtual void Frame(double seconds) = 0;

  // Mouse, in back-buffer pixels. Down/Up/Click move the mouse there first.
  void Move(int x, int y);
  void Down(int x, int y);
  void Up(int x, int y);
  void Click(int x, int y);
  void RightClick(int x, int y);
  // Keys by virtual-key code.
  void KeyDown(int key);
  void KeyUp(int key);
  void Key(int key);
  // One key press per character: digits, letters (capitals with Shift) and spaces.
  void Type(const std::string& text);
  // Frames of `frame` seconds until `seconds` have passed.
  void Wait(double seconds, double frame = 1.0 / 60);
  // Frames until `done` holds; false when it did not within `limitSeconds`.
  bool WaitUntil(const std::function<bool()>& done, double limitSeconds, double frame = 1.0 / 60);

 protected:
  virtual MyControl& Target() = 0;
  // Called after every input event (the menu driver runs a frame there).
  virtual void AfterInput() {}
};

// Input straight to the game, frames straight to its Update. Calls Start.
class GameDriver : public PlayDriver {
 public:
  explicit GameDriver(Denkar_Game& game, bool start = true);
  Denkar_Game* CurrentGame() override { return &game_; }
  void Frame(double seconds) override;

 protected:
  MyControl& Target() override;

 private:
  Denkar_Game& game_;
};

// Input and frames through the main menu that hosts the game, as in the
// running program (the countdown, the end wait and the pages included).
class MenuDriver : public PlayDriver {
 public:
  explicit MenuDriver(MainMenu& menu) : menu_(menu) {}
  Denkar_Game* CurrentGame() override;
  void Frame(double seconds) override;
  // Lets the start countdown run out so the game takes input.
  void SkipCountdown();
  // Clicks the middle of the element `id` of the visible page; false when
  // no visible page has it.
  bool ClickElement(int id);
  // From the main page: the difficulty, free choice, the game of list index
  // `listIndex` (scrolling the list to it); the countdown is left running.
  // False unless that game now runs at that difficulty.
  bool StartFromMenu(int listIndex, int difficulty);
  // From the main page: the difficulty, then a series; false unless the
  // series has begun.
  bool StartSeries(int difficulty);
  // On the result page: types `name` when the result enters the top ten
  // (the page then asks for one), and confirms with Enter.
  void ConfirmResult(const std::string& name);
  // After the play has ended: waits for the result page and ConfirmResult.
  // False when the menu did not come back to its main page.
  bool LeaveResultPage(const std::string& name);

  // Called after every frame, e.g. to draw it as the main loop does.
  std::function<void()> afterFrame;

 protected:
  MyControl& Target() override;
  void AfterInput() override { Frame(1.0 / 60); }

 private:
  MainMenu& menu_;
};
