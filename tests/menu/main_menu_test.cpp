// The main menu as a controller: page flow by clicks on the elements' real
// positions, the keyboard rules, the countdown, the end of a play, the series
// and its grade, and the pointer frames. The games here are stand-ins that
// record what reaches them.
#include <gtest/gtest.h>

#include <filesystem>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "data/language.h"
#include "framework/denkar_game.h"
#include "framework/stats_record.h"
#include "gfx/fit_text.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "menu/game_list.h"
#include "framework/gui_element.h"
#include "menu/main_menu.h"
#include "platform/render_device.h"
#include "util/app_context.h"
#include "support/play_driver.h"
#include "support/test_app.h"
#include "util/format_text.h"

namespace {

// What the stand-in games do, set by each test.
struct FakeSettings {
  double grades[GAME_LIST_COUNT];  // grade each list index computes
  bool allowHelp = true;
  bool gradingEndsQuit = false;    // ComputeGrade turns state 4 into 0
  std::vector<int> created;        // list indexes made so far
  void Reset() {
    for (double& g : grades) g = 6.0;
    allowHelp = true;
    gradingEndsQuit = false;
    created.clear();
  }
};
FakeSettings fake;

class FakeGame : public Denkar_Game {
 public:
  FakeGame(int index_, int difficulty_) : Denkar_Game(difficulty_, "fake.sav"), index(index_) {}
  void Update() override {
    ++updates;
    playTime += app->frameTime;
  }
  void OnMouseMove(int, int) override { ++mouseEvents; }
  void OnLButtonDown(int, int) override { ++mouseEvents; }
  void OnLButtonUp(int, int) override { ++mouseEvents; }
  void OnKeyDown(int key) override { keysDown.push_back(key); }
  void OnKeyUp(int key) override { keysUp.push_back(key); }
  bool AllowsHelp() override { return fake.allowHelp; }
  void ComputeGrade() override {
    grade = fake.grades[index];
    ++gradings;
    if (fake.gradingEndsQuit && state == GAME_STATE_QUIT) state = GAME_STATE_ENDED;
  }
  const char* GetResultTitle() override { return "fake"; }
  const char* GetResultText() override { return "fake result"; }
  const char* GetDescriptionText() override { return "fake help"; }
  const char* GetStatisticsText() override { return "fake statistics"; }

  int index;
  int updates = 0, mouseEvents = 0, gradings = 0;
  std::vector<int> keysDown, keysUp;
};

Denkar_Game* MakeFake(int index, int difficulty) {
  if (index < 0 || index >= GAME_LIST_COUNT) return nullptr;
  fake.created.push_back(index);
  return new FakeGame(index, difficulty);
}

class MainMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = &testapp::EnterFreshApp("denkar_menu");
    ASSERT_NE(app->statistics, nullptr);
    device_ = testapp::MakeOffscreenDevice();
    ASSERT_NE(device_, nullptr);
    sprite_ = std::make_unique<Sprite>(device_.get());
    app->device = device_.get();
    app->sprite = sprite_.get();
    app->mouseX = app->mouseY = 0;
    fake.Reset();
    menu = std::make_unique<MainMenu>();
    menu->createGame = MakeFake;
  }
  void TearDown() override {
    menu.reset();
    app->sprite = nullptr;
    app->device = nullptr;
    testapp::ResetAppState();
  }

  FakeGame* Game() { return static_cast<FakeGame*>(menu->activeGame); }

  // The element with this id on the visible page, or null.
  GUIElement* Visible(int id) { return FindVisibleElement(*menu, id); }
  // Moves the mouse onto the middle of the visible element and clicks it
  // (no frame runs in between, unlike with a MenuDriver).
  bool Click(int id) {
    int x = 0, y = 0;
    if (!Centre(id, &x, &y)) return false;
    ClickAt(x, y);
    return true;
  }
  // The screen position of the middle of the visible element.
  bool Centre(int id, int* x, int* y) { return FindVisibleElement(*menu, id, x, y) != nullptr; }
  void ClickAt(int x, int y) {
    MoveTo(x, y);
    menu->OnLButtonDown(x, y);
    menu->OnLButtonUp(x, y);
  }
  // A double click as the window procedure delivers it: press, release,
  // press with the double click, release.
  void DoubleClickAt(int x, int y) {
    ClickAt(x, y);
    menu->OnLButtonDown(x, y);
    menu->OnLButtonDblClk(x, y);
    menu->OnLButtonUp(x, y);
  }
  // Brings up the result page of a play that does not enter the top 10.
  void ShowPlainResultPage(int index) {
    FillFakeList();
    StartAndRun(index);
    Game()->SetState(GAME_STATE_ENDED);
    Frame(2.0);
    ASSERT_EQ(menu->currentPage, 55);
    ASSERT_EQ(menu->gameNameEntry, nullptr);
  }
  void Wheel(int delta) {
    menu->OnMouseWheel(static_cast<WPARAM>(static_cast<uint16_t>(delta)) << 16);
  }
  void MoveTo(int x, int y) {
    app->prevMouseX = app->mouseX;
    app->prevMouseY = app->mouseY;
    app->mouseX = x;
    app->mouseY = y;
    menu->OnMouseMove(x, y);
  }
  // One frame as the main loop runs it: no game time while paused.
  void Frame(double seconds) {
    app->realFrameTime = seconds;
    app->frameTime = app->paused ? 0.0 : seconds;
    menu->Update();
  }
  // Starts list entry `index` and runs its countdown out.
  void StartAndRun(int index) {
    menu->StartGame(index);
    ASSERT_NE(Game(), nullptr);
    for (int i = 0; i < 4 && menu->startCountdown > 0; ++i) Frame(1.0);
    ASSERT_TRUE(Game()->started);
  }
  // Plays series game `index` to its end and leaves its result page (with a
  // name when it entered the list).
  void PlaySeriesGame(int index) {
    ASSERT_NE(Game(), nullptr);
    ASSERT_EQ(Game()->index, index);
    for (int i = 0; i < 3; ++i) Frame(1.0);
    Game()->SetState(GAME_STATE_ENDED);
    Frame(2.0);
    ASSERT_EQ(menu->currentPage, 55);
    if (menu->gameNameEntry) Key('N');
    ASSERT_TRUE(Click(56));
  }
  // Ten results of 1.0 in the stand-ins' save file: no other grade enters it.
  void FillFakeList() {
    GameRecord full;
    for (int i = 0; i < 10; ++i) {
      HighscoreEntry* e = new HighscoreEntry();
      e->SetName("top");
      e->grade = 1.0;
      full.InsertEntry(e);
    }
    ASSERT_TRUE(full.SaveFile("fake.sav"));
  }
  void Key(int key) {
    menu->OnKeyDown(key);
    menu->OnKeyUp(key);
  }

  std::unique_ptr<RenderDevice> device_;
  std::unique_ptr<Sprite> sprite_;
  AppContext* app = nullptr;
  std::unique_ptr<MainMenu> menu;
};

TEST_F(MainMenuTest, MenuPagesLeadToEachOtherAndBack) {
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(menu->listOffset, 0);
  EXPECT_EQ(menu->listLastRow, 6);
  struct Step {
    int click, page;
  };
  const Step route[] = {{4, 40}, {41, 1}, {5, 43}, {44, 1}, {6, 38}, {39, 1}, {2, 9},
                        {10, 1}, {2, 9},  {12, 14}, {15, 9}, {13, 14}, {17, 18}, {19, 1}};
  for (const Step& s : route) {
    ASSERT_TRUE(Click(s.click)) << "element " << s.click << " not on page " << menu->currentPage;
    EXPECT_EQ(menu->currentPage, s.page) << "after element " << s.click;
  }
  EXPECT_EQ(menu->difficulty, 2);
  EXPECT_FALSE(menu->seriesMode);
  ASSERT_TRUE(Click(2));
  ASSERT_TRUE(Click(11));
  EXPECT_EQ(menu->difficulty, 0);
  // Only one page is visible at a time.
  int visible = 0;
  for (bool enabled : menu->elementEnabled) visible += enabled;
  EXPECT_EQ(visible, 1);
  // A click on a page background does nothing.
  MoveTo(512, 384 - 130);
  menu->OnLButtonUp(512, 384 - 130);
  EXPECT_EQ(menu->currentPage, 14);

  menu->SetPage(1);
  ASSERT_TRUE(Click(3));
  EXPECT_EQ(app->runState, 2);
}

TEST_F(MainMenuTest, LanguageRadioButtonsSwitchTheTexts) {
  const std::string german6 = LangTextOrEmpty(6);
  ASSERT_TRUE(Click(8));
  EXPECT_EQ(app->language, 1);
  EXPECT_NE(std::string(LangTextOrEmpty(6)), german6);
  ASSERT_TRUE(Click(7));
  EXPECT_EQ(app->language, 0);
  EXPECT_EQ(std::string(LangTextOrEmpty(6)), german6);
}

TEST_F(MainMenuTest, GameListScrollsFromOffsetZeroToNine) {
  menu->SetPage(18);
  EXPECT_EQ(Visible(20), nullptr);  // no up arrow at the top
  for (int offset = 0; offset <= 9; ++offset) {
    EXPECT_EQ(menu->listOffset, offset);
    for (int row = 0; row <= 6; ++row) EXPECT_NE(Visible(22 + offset + row), nullptr);
    EXPECT_EQ(Visible(22 + offset + 7), nullptr);
    EXPECT_EQ(Visible(20) != nullptr, offset > 0);
    EXPECT_EQ(Visible(21) != nullptr, offset < 9);
    if (offset < 9) {
      ASSERT_TRUE(Click(21));
      // The clicked arrow went with the old list; the hover is what lies
      // under the pointer now: the new arrow, or the page at the end.
      EXPECT_EQ(menu->hitElement, offset + 1 < 9 ? Visible(21) : menu->elements[SLOT_GAME_LIST]);
    }
  }
  EXPECT_EQ(menu->listOffset, 9);
  // Beyond the end only through a direct call, and it stays at 9.
  menu->Dispatch(21);
  EXPECT_EQ(menu->listOffset, 9);
  for (int offset = 8; offset >= 0; --offset) {
    ASSERT_TRUE(Click(20));
    EXPECT_EQ(menu->listOffset, offset);
  }
  menu->Dispatch(20);
  EXPECT_EQ(menu->listOffset, 0);
  // The rows keep their place on the page while the list scrolls.
  GUIElement* first = Visible(22);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->x, 50);
  EXPECT_EQ(first->y, 135);
}

TEST_F(MainMenuTest, EveryListEntryStartsItsGame) {
  for (int id = 22; id <= 37; ++id) {
    menu->SetPage(18);
    menu->Dispatch(id);
    ASSERT_NE(Game(), nullptr);
    EXPECT_EQ(Game()->index, id - 22);
    EXPECT_EQ(menu->seriesIndex, id - 22);
    EXPECT_EQ(menu->currentPage, 0);
    EXPECT_EQ(app->runState, 1);
    EXPECT_DOUBLE_EQ(menu->startCountdown, 3.0);
    EXPECT_GE(menu->backgroundIndex, 0);
    EXPECT_LE(menu->backgroundIndex, 6);
  }
  // Starting a game ends the one before: 16 objects made, one alive.
  EXPECT_EQ(fake.created.size(), 16u);
  // A row clicked at its real place starts its game.
  menu.reset();
  app->runState = 0;
  menu = std::make_unique<MainMenu>();
  menu->createGame = MakeFake;
  menu->SetPage(18);
  ASSERT_TRUE(Click(21));
  ASSERT_TRUE(Click(22 + 1 + 6));
  ASSERT_NE(Game(), nullptr);
  EXPECT_EQ(Game()->index, 7);
}

TEST_F(MainMenuTest, AGameThatDoesNotExistLeavesTheMenuAsItWas) {
  menu->createGame = CreateListedGame;
  menu->SetPage(18);
  menu->StartGame(-1);
  menu->StartGame(16);
  menu->createGame = [](int, int) -> Denkar_Game* { return nullptr; };
  menu->StartGame(3);  // a game that cannot be made
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(menu->currentPage, 18);
  EXPECT_EQ(app->runState, 0);
  // The list makes every game.
  menu->createGame = CreateListedGame;
  for (int index = 0; index < GAME_LIST_COUNT; ++index) {
    menu->StartGame(index);
    ASSERT_NE(menu->activeGame, nullptr) << index;
    EXPECT_EQ(app->runState, 1);
  }
}

TEST_F(MainMenuTest, PauseMenuAndItsPages) {
  StartAndRun(3);
  Game()->record.playCount = 5;
  Key(VK_ESCAPE);
  EXPECT_EQ(menu->currentPage, 45);
  EXPECT_EQ(Game()->GetState(), GAME_STATE_PAUSED);
  EXPECT_TRUE(app->paused);
  const struct {
    int click, page;
  } route[] = {{47, 50}, {51, 45}, {48, 52}, {53, 45}};
  for (const auto& s : route) {
    ASSERT_TRUE(Click(s.click));
    EXPECT_EQ(menu->currentPage, s.page);
    EXPECT_EQ(Game()->GetState(), GAME_STATE_PAUSED);
  }
  // The game is not updated while paused.
  const int updates = Game()->updates;
  Frame(0.5);
  EXPECT_EQ(Game()->updates, updates);
  ASSERT_TRUE(Click(48));
  ASSERT_TRUE(Click(54));  // this game's statistics reset: asks first
  EXPECT_EQ(Game()->record.playCount, 5);
  ASSERT_TRUE(Click(54));
  EXPECT_EQ(Game()->record.playCount, 0);
  ASSERT_TRUE(Click(53));
  ASSERT_TRUE(Click(46));  // resume
  EXPECT_EQ(menu->currentPage, 0);
  EXPECT_EQ(Game()->GetState(), GAME_STATE_RUNNING);
  EXPECT_FALSE(app->paused);
  Frame(0.5);
  EXPECT_EQ(Game()->updates, updates + 1);

  // Quit: graded at once; 6.0 never enters the list, so straight to page 1.
  Key(VK_ESCAPE);
  ASSERT_TRUE(Click(49));
  EXPECT_EQ(Game()->GetState(), GAME_STATE_QUIT);
  EXPECT_FALSE(app->paused);
  Frame(0.1);
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(app->runState, 0);
  EXPECT_EQ(app->statistics->playCount, 1);
}

TEST_F(MainMenuTest, QuitWithATopTenGradeAsksForTheName) {
  fake.grades[4] = 2.5;
  StartAndRun(4);
  Key(VK_ESCAPE);
  ASSERT_TRUE(Click(49));
  Frame(0.1);
  EXPECT_EQ(menu->currentPage, 55);
  ASSERT_NE(menu->gameNameEntry, nullptr);
  EXPECT_TRUE(menu->playQuit);
  EXPECT_EQ(Visible(56) != nullptr, true);  // there, but not drawn and not taken
  ASSERT_TRUE(Click(56));
  EXPECT_EQ(menu->currentPage, 55);  // an empty name is not accepted
  Key(VK_RETURN);
  EXPECT_EQ(menu->currentPage, 55);
  Key('A');
  Key(VK_RETURN);
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(menu->activeGame, nullptr);
}

TEST_F(MainMenuTest, NameEntryKeys) {
  fake.grades[2] = 2.0;
  StartAndRun(2);
  Game()->SetState(GAME_STATE_ENDED);
  Frame(1.0);
  Frame(1.0);
  ASSERT_EQ(menu->currentPage, 55);
  HighscoreEntry* entry = menu->gameNameEntry;
  ASSERT_NE(entry, nullptr);
  Key('A');
  menu->OnKeyDown(VK_SHIFT);
  Key('B');
  Key('7');
  menu->OnKeyUp(VK_SHIFT);
  Key('C');
  Key(VK_SPACE);
  Key(VK_F1);  // not a name character
  Key(0xBA);
  EXPECT_STREQ(entry->name, "aB7c ");
  EXPECT_EQ(entry->typedLength, 5);
  for (int i = 0; i < 7; ++i) Key(VK_BACK);  // more than typed: stops at empty
  EXPECT_EQ(entry->typedLength, 0);
  EXPECT_STREQ(entry->name, "");
  for (int i = 0; i < 120; ++i) Key('X');
  EXPECT_EQ(entry->typedLength, 99);
  EXPECT_EQ(std::strlen(entry->name), 99u);
  // Keys of the name never reach the game.
  EXPECT_TRUE(Game()->keysDown.empty());
  EXPECT_TRUE(Game()->keysUp.empty());
  // The entry takes the grade the play is recorded with, as the result page
  // last graded it.
  fake.grades[2] = 1.75;
  Game()->ComputeGrade();
  Key(VK_RETURN);
  ASSERT_EQ(menu->activeGame, nullptr);
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("fake.sav"));
  ASSERT_EQ(saved.Entries().Count(), 1);
  EXPECT_DOUBLE_EQ(saved.Entries().Get(0)->grade, 1.75);
  EXPECT_DOUBLE_EQ(saved.bestGrade, 1.75);
}

TEST_F(MainMenuTest, HelpKeyRules) {
  StartAndRun(0);
  Key('H');
  EXPECT_EQ(menu->currentPage, 50);
  EXPECT_EQ(Game()->GetState(), GAME_STATE_PAUSED);
  EXPECT_TRUE(app->paused);
  Key('H');
  EXPECT_EQ(menu->currentPage, 0);
  EXPECT_EQ(Game()->GetState(), GAME_STATE_RUNNING);
  EXPECT_FALSE(app->paused);
  // From the pause menu H switches to the instructions.
  Key(VK_ESCAPE);
  Key('H');
  EXPECT_EQ(menu->currentPage, 50);
  Key(VK_ESCAPE);
  EXPECT_EQ(menu->currentPage, 0);
  EXPECT_TRUE(Game()->keysUp.empty());

  // A game without help gets the H itself.
  fake.allowHelp = false;
  Key('H');
  EXPECT_EQ(menu->currentPage, 0);
  EXPECT_EQ(Game()->GetState(), GAME_STATE_RUNNING);
  ASSERT_EQ(Game()->keysUp.size(), 1u);
  EXPECT_EQ(Game()->keysUp[0], 'H');
  fake.allowHelp = true;

  // Not on the result page, with or without a name being typed.
  fake.grades[0] = 6.0;
  Game()->SetState(GAME_STATE_ENDED);
  Frame(2.0);
  ASSERT_EQ(menu->currentPage, 55);
  ASSERT_EQ(menu->gameNameEntry, nullptr);
  Key('H');
  EXPECT_EQ(menu->currentPage, 55);
  EXPECT_EQ(Game()->GetState(), GAME_STATE_ENDED);
  EXPECT_FALSE(app->paused);
  // Escape is the page's tick: it leaves the page and never revives the game.
  Key(VK_ESCAPE);
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_FALSE(app->paused);
}

TEST_F(MainMenuTest, EscapeResumesFromEveryPausePage) {
  StartAndRun(1);
  for (int page : {45, 50, 52}) {
    Key(VK_ESCAPE);
    ASSERT_EQ(menu->currentPage, 45);
    if (page != 45) {
      ASSERT_TRUE(Click(page == 50 ? 47 : 48));
    }
    ASSERT_EQ(menu->currentPage, page);
    Key(VK_ESCAPE);
    EXPECT_EQ(menu->currentPage, 0) << "from page " << page;
    EXPECT_EQ(Game()->GetState(), GAME_STATE_RUNNING);
    EXPECT_FALSE(app->paused);
  }
  // H toggles through page 50 the same way from page 52.
  Key(VK_ESCAPE);
  ASSERT_TRUE(Click(48));
  Key('H');
  EXPECT_EQ(menu->currentPage, 50);
}

TEST_F(MainMenuTest, CountdownReadsTwoOneStartAndEscapeFreezesIt) {
  menu->StartGame(6);
  ASSERT_NE(Game(), nullptr);
  EXPECT_EQ(menu->CountdownText(), "3");  // only before the first frame
  Frame(0.25);
  EXPECT_EQ(menu->CountdownText(), "2");
  Frame(1.0);
  EXPECT_EQ(menu->CountdownText(), "1");
  // Escape during the countdown pauses it; no game time passes meanwhile.
  Key(VK_ESCAPE);
  ASSERT_EQ(menu->currentPage, 45);
  for (int i = 0; i < 10; ++i) Frame(1.0);
  EXPECT_DOUBLE_EQ(menu->startCountdown, 1.75);
  EXPECT_FALSE(Game()->started);
  EXPECT_EQ(Game()->updates, 0);
  Key(VK_ESCAPE);
  Frame(1.0);
  EXPECT_EQ(menu->CountdownText(), "Start");
  EXPECT_FALSE(Game()->started);
  EXPECT_EQ(Game()->updates, 0);  // not updated during the countdown
  Frame(1.0);
  EXPECT_TRUE(Game()->started);
  EXPECT_EQ(Game()->GetState(), GAME_STATE_RUNNING);
  EXPECT_EQ(Game()->updates, 0);
  Frame(0.5);
  EXPECT_EQ(Game()->updates, 1);
  EXPECT_DOUBLE_EQ(Game()->playTime, 0.5);
}

TEST_F(MainMenuTest, QuitDuringTheCountdownEndsThePlayAtOnce) {
  menu->StartGame(6);
  Frame(0.5);
  Key(VK_ESCAPE);
  ASSERT_TRUE(Click(49));
  Frame(0.5);
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(app->runState, 0);
  EXPECT_EQ(app->statistics->playCount, 1);
}

TEST_F(MainMenuTest, InputReachesTheGameOnlyWhileItRuns) {
  menu->StartGame(8);
  auto poke = [&] {
    MoveTo(900, 700);
    menu->OnLButtonDown(900, 700);
    menu->OnLButtonUp(900, 700);
    menu->OnRButtonDown(900, 700);
    menu->OnKeyDown('Q');
    menu->OnKeyUp('Q');
  };
  poke();  // countdown
  EXPECT_EQ(Game()->mouseEvents, 0);
  EXPECT_TRUE(Game()->keysDown.empty());
  for (int i = 0; i < 3; ++i) Frame(1.0);
  poke();  // running
  EXPECT_EQ(Game()->mouseEvents, 3);
  EXPECT_EQ(Game()->keysDown.size(), 1u);
  EXPECT_EQ(Game()->keysUp.size(), 1u);
  const size_t keysDown = Game()->keysDown.size() + 1;  // with the Escape below
  Key(VK_ESCAPE);
  const int before = Game()->mouseEvents;
  poke();  // paused (the click lies outside the pause page)
  EXPECT_EQ(Game()->mouseEvents, before);
  Key(VK_ESCAPE);
  Game()->SetState(GAME_STATE_ENDED);
  Frame(0.5);
  const int atEnd = Game()->mouseEvents;
  poke();  // the end wait
  EXPECT_EQ(Game()->mouseEvents, atEnd);
  EXPECT_EQ(Game()->keysDown.size(), keysDown);
  EXPECT_EQ(Game()->keysUp.size(), 1u);
  // A click on a menu element never reaches the game.
  Frame(2.0);
  ASSERT_EQ(menu->currentPage, 55);
  ASSERT_TRUE(Click(56));
  EXPECT_EQ(menu->activeGame, nullptr);
}

TEST_F(MainMenuTest, EndWaitThenResultPage) {
  fake.grades[9] = 2.0;
  StartAndRun(9);
  Frame(0.5);
  Game()->SetState(GAME_STATE_ENDED_OTHER);
  const int gradings = Game()->gradings;
  // Escape and H in the end wait would revive the ended game: ignored.
  Key(VK_ESCAPE);
  Key('H');
  EXPECT_EQ(Game()->GetState(), GAME_STATE_ENDED_OTHER);
  EXPECT_EQ(menu->currentPage, 0);
  Frame(1.0);
  Frame(0.9);
  EXPECT_EQ(menu->currentPage, 0);
  EXPECT_FALSE(menu->resultHandled);
  EXPECT_EQ(Game()->gradings, gradings);
  const int updates = Game()->updates;
  Frame(0.1);  // the realFrameTime sums to 2.0 here
  EXPECT_EQ(Game()->updates, updates + 1);  // still updated during the wait
  EXPECT_EQ(menu->currentPage, 55);
  EXPECT_TRUE(menu->resultHandled);
  EXPECT_GE(Game()->gradings, gradings + 1);
  ASSERT_NE(menu->gameNameEntry, nullptr);
  EXPECT_DOUBLE_EQ(menu->gameNameEntry->grade, 2.0);
  // The wait is realFrameTime: it runs also while the game clock stands.
  // Another frame does nothing more.
  HighscoreEntry* entry = menu->gameNameEntry;
  Frame(1.0);
  EXPECT_EQ(menu->gameNameEntry, entry);
}

TEST_F(MainMenuTest, SeriesGradeWithQuitPenalty) {
  // The plain average when finished; after a quit the average plus
  // (1 - k / 11) x 4 for k counted games, never a bonus, within 1 ... 6.
  EXPECT_DOUBLE_EQ(MainMenu::SeriesGrade(6.0, 3, false), 2.0);
  EXPECT_DOUBLE_EQ(MainMenu::SeriesGrade(6.0, 3, true), 2.0 + (1.0 - 3.0 / 11.0) * 4.0);
  EXPECT_DOUBLE_EQ(MainMenu::SeriesGrade(22.0, 11, true), 2.0);
  EXPECT_DOUBLE_EQ(MainMenu::SeriesGrade(28.0, 14, true), 2.0);  // quitting late earns nothing
  EXPECT_DOUBLE_EQ(MainMenu::SeriesGrade(5.0, 1, true), 6.0);
  EXPECT_DOUBLE_EQ(MainMenu::SeriesGrade(5.5, 11, true), 1.0);
  EXPECT_DOUBLE_EQ(MainMenu::SeriesGrade(5.5, 11, false), 0.5);
  EXPECT_DOUBLE_EQ(MainMenu::SeriesGrade(0.0, 0, false), 6.0);
}

TEST_F(MainMenuTest, SeriesQuitInTheThirdGameGetsThePenalisedGrade) {
  fake.grades[0] = 1.0;
  fake.grades[1] = 1.0;
  fake.grades[2] = 6.0;  // quit, no top 10: no result page for it
  menu->difficulty = 1;
  menu->SetPage(14);
  ASSERT_TRUE(Click(16));
  EXPECT_TRUE(menu->seriesMode);
  for (int game = 0; game < 2; ++game) {
    ASSERT_NE(Game(), nullptr);
    ASSERT_EQ(Game()->index, game);
    for (int i = 0; i < 3; ++i) Frame(1.0);
    Frame(10.0);  // ten seconds of play
    Game()->SetState(GAME_STATE_ENDED);
    Frame(1.0);
    Frame(1.0);
    ASSERT_EQ(menu->currentPage, 55);
    Key('P');
    Key(VK_RETURN);
  }
  ASSERT_EQ(Game()->index, 2);
  EXPECT_EQ(menu->seriesGamesCounted, 2);
  for (int i = 0; i < 3; ++i) Frame(1.0);
  Frame(4.0);
  Key(VK_ESCAPE);
  ASSERT_TRUE(Click(49));
  Frame(0.1);
  const double average = (1.0 + 1.0 + 6.0) / 3;
  const double expected = average + (1.0 - 3.0 / 11.0) * 4.0;
  EXPECT_EQ(menu->currentPage, 57);
  EXPECT_EQ(menu->seriesGamesCounted, 3);
  EXPECT_DOUBLE_EQ(menu->seriesGrade, expected);
  EXPECT_DOUBLE_EQ(menu->seriesBestGrade, 1.0);
  EXPECT_DOUBLE_EQ(menu->seriesWorstGrade, 6.0);
  // Each finished game: 10 s of play and the 2 s end wait; the quit one 4.1 s.
  EXPECT_NEAR(menu->seriesTime, 12.0 + 12.0 + 4.1, 1e-9);
  // Page 57 shows the grade that is stored, not the plain average.
  const std::string body = menu->SeriesResultText();
  EXPECT_NE(body.find(FormatText(GetLangText(50), {expected})), std::string::npos);
  EXPECT_EQ(body.find(FormatText(GetLangText(50), {average})), std::string::npos);
  ASSERT_NE(menu->seriesNameEntry, nullptr);
  Key('S');
  Key(VK_RETURN);
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(app->runState, 0);
  EXPECT_EQ(menu->activeGame, nullptr);
  ASSERT_EQ(app->statistics->Entries().Count(), 1);
  const SeriesEntry* stored = app->statistics->Entries().Get(0);
  EXPECT_DOUBLE_EQ(stored->grade, expected);
  EXPECT_EQ(stored->difficulty, 1);
  EXPECT_DOUBLE_EQ(stored->bestGrade, 1.0);
  EXPECT_DOUBLE_EQ(stored->worstGrade, 6.0);
  EXPECT_STREQ(stored->name, "s");
  EXPECT_EQ(fake.created.size(), 3u);  // the series ended with the quit
}

TEST_F(MainMenuTest, SeriesQuitEndsTheSeriesEvenWhenGradingChangesTheState) {
  FillFakeList();  // 1.5 is no top-10 grade of the game itself
  fake.gradingEndsQuit = true;
  fake.grades[0] = 1.5;
  menu->Dispatch(16);
  for (int i = 0; i < 3; ++i) Frame(1.0);
  Key(VK_ESCAPE);
  ASSERT_TRUE(Click(49));
  Frame(0.1);
  EXPECT_EQ(menu->currentPage, 57);
  EXPECT_DOUBLE_EQ(menu->seriesGrade, 1.5 + (1.0 - 1.0 / 11.0) * 4.0);
  Key('Q');
  Key(VK_RETURN);
  EXPECT_EQ(fake.created.size(), 1u);  // no next game
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(app->runState, 0);
}

TEST_F(MainMenuTest, SeriesThatDoesNotQualifyReturnsToPageOne) {
  for (int i = 0; i < 10; ++i) {
    SeriesEntry* e = new SeriesEntry();
    e->SetName("best");
    e->grade = 1.0;
    app->statistics->InsertEntry(e);
  }
  FillFakeList();
  for (double& g : fake.grades) g = 2.0;
  menu->Dispatch(16);
  for (int game = 0; game < GAME_LIST_COUNT; ++game) {
    ASSERT_NO_FATAL_FAILURE(PlaySeriesGame(game));
  }
  EXPECT_EQ(menu->currentPage, 1);  // page 57 is not shown
  EXPECT_EQ(menu->seriesNameEntry, nullptr);
  EXPECT_EQ(app->runState, 0);
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(app->statistics->Entries().Count(), 10);
}

TEST_F(MainMenuTest, FullSeriesOfSixteenGames) {
  for (int i = 0; i < GAME_LIST_COUNT; ++i) fake.grades[i] = 1.0 + 0.25 * (i % 5);
  menu->Dispatch(16);
  double sum = 0;
  for (int game = 0; game < GAME_LIST_COUNT; ++game) {
    sum += fake.grades[game];
    ASSERT_NO_FATAL_FAILURE(PlaySeriesGame(game));
  }
  EXPECT_EQ(menu->currentPage, 57);
  EXPECT_EQ(menu->seriesGamesCounted, 16);
  EXPECT_DOUBLE_EQ(menu->seriesGrade, sum / 16);
  Key('Z');
  ASSERT_TRUE(Click(58));
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(app->runState, 0);
  EXPECT_DOUBLE_EQ(menu->startCountdown, -1.0);
  EXPECT_EQ(app->statistics->playCount, 16);
}

TEST_F(MainMenuTest, ResetAllStatisticsCountsNoPlay) {
  app->statistics->playCount = 7;
  app->statistics->totalTime = 99;
  {
    GameRecord full;
    full.AddResult(2.0);
    full.SaveFile("fake.sav");
  }
  menu->SetPage(40);
  ASSERT_TRUE(Click(42));
  ASSERT_TRUE(Click(42));
  EXPECT_EQ(fake.created.size(), 16u);
  EXPECT_EQ(menu->currentPage, 40);
  EXPECT_EQ(app->runState, 0);
  EXPECT_EQ(app->statistics->playCount, 0);
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("fake.sav"));
  EXPECT_EQ(saved.playCount, 0);
  // The last game object waits for the next start; it counts no play either.
  menu.reset();
  EXPECT_EQ(app->statistics->playCount, 0);
}

TEST_F(MainMenuTest, OverallStatisticsText) {
  StatsRecord& stats = *app->statistics;
  // No plays: ten empty lines, no best and worst lines.
  std::string text = menu->OverallStatisticsText();
  EXPECT_EQ(text.substr(0, 10), std::string(10, '\n'));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10 + 3);
  // A difficulty outside 0 ... 2 from a damaged file shows no word.
  for (int d : {0, 2, 7, -3}) {
    SeriesEntry* e = new SeriesEntry();
    e->SetName("x");
    e->grade = 2.0;
    e->difficulty = d;
    stats.InsertEntry(e);
  }
  stats.AddResult(2.0);
  stats.totalTime = 3 * 3600 + 2 * 60 + 1;
  text = menu->OverallStatisticsText();
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.push_back(text.substr(start, nl - start));
  lines.push_back(text.substr(start));
  ASSERT_EQ(lines.size(), 10u + 6u);
  const std::string easy = LangTextOrEmpty(59), hard = LangTextOrEmpty(61);
  EXPECT_TRUE(lines[0].size() > easy.size() &&
              lines[0].compare(lines[0].size() - easy.size(), easy.size(), easy) == 0);
  EXPECT_TRUE(lines[1].size() > hard.size() &&
              lines[1].compare(lines[1].size() - hard.size(), hard.size(), hard) == 0);
  for (int i = 59; i <= 61; ++i) {
    const std::string word = LangTextOrEmpty(i);
    for (int line : {2, 3})
      EXPECT_FALSE(lines[line].size() >= word.size() &&
                   lines[line].compare(lines[line].size() - word.size(), word.size(), word) == 0);
  }
  EXPECT_TRUE(lines[4].empty());
  EXPECT_NE(lines[10].find('3'), std::string::npos);
}

TEST_F(MainMenuTest, ShownOverallStatisticsFollowEveryChange) {
  // Page 40 keeps its text between frames; whatever it depends on changing
  // must show at once: a new entry, a grade, the next second, the language,
  // the width a long name is shortened to.
  StatsRecord& stats = *app->statistics;
  auto same = [&](Font* font, int width) {
    return menu->ShownOverallStatistics(font, width) == menu->OverallStatisticsText(font, width);
  };
  EXPECT_TRUE(same(nullptr, 0));
  EXPECT_TRUE(same(menu->font26, 740));
  SeriesEntry* e = new SeriesEntry();
  e->SetName(std::string(60, 'W').c_str());
  e->grade = 2.0;
  stats.InsertEntry(e);
  EXPECT_TRUE(same(nullptr, 0));
  EXPECT_TRUE(same(menu->font26, 740));
  e->grade = 3.5;
  EXPECT_TRUE(same(menu->font26, 740));
  stats.totalTime += 1.0;
  EXPECT_TRUE(same(menu->font26, 740));
  EXPECT_TRUE(same(menu->font26, 300));
  EXPECT_TRUE(same(menu->font20, 300));
  const std::string before = menu->ShownOverallStatistics(menu->font20, 300);
  LoadLanguage(1 - app->language);
  EXPECT_NE(menu->ShownOverallStatistics(menu->font20, 300), before);
  EXPECT_TRUE(same(menu->font20, 300));
  EXPECT_TRUE(same(nullptr, 0));
  // While the page is open only the time ticks: the text is written again
  // into the buffer it already has.
  stats.totalTime += 1.0;
  const char* kept = menu->ShownOverallStatistics(menu->font20, 300).data();
  for (int second = 0; second < 5; ++second) {
    stats.totalTime += 1.0;
    EXPECT_TRUE(same(menu->font20, 300));
    EXPECT_EQ(menu->ShownOverallStatistics(menu->font20, 300).data(), kept);
  }
}

TEST_F(MainMenuTest, PointerRunsThroughTenFrames) {
  // A stand-in pointer sheet: band k (50 rows each) is filled with colour k.
  Texture sheet;
  sheet.width = 50;
  sheet.height = 500;
  sheet.texels.resize(50 * 500);
  for (int y = 0; y < 500; ++y)
    for (int x = 0; x < 50; ++x) sheet.texels[y * 50 + x] = 0xFF000000u | (y / 50 + 1) * 0x10;
  Texture* saved = app->texMisc1;
  app->texMisc1 = &sheet;
  app->mouseX = 300;
  app->mouseY = 200;
  auto frameShown = [&] {
    device_->Clear(0xFF000000);
    menu->DrawCursor();
    const uint32_t p = device_->BackBuffer()[(200 - 14 + 25) * 1024 + (300 - 8 + 25)] & 0xFF;
    return 9 - (static_cast<int>(p) / 0x10 - 1);  // k of the band drawn
  };
  EXPECT_EQ(frameShown(), 0);
  menu->OnLButtonDown(300, 200);
  std::vector<int> seen;
  for (int i = 0; i < 12; ++i) {
    Frame(0.01);
    seen.push_back(frameShown());
  }
  EXPECT_EQ(seen.back(), 9);
  for (size_t i = 1; i < seen.size(); ++i) EXPECT_GE(seen[i], seen[i - 1]);
  EXPECT_DOUBLE_EQ(menu->pressTime, menu->pressTimeMax);
  menu->OnLButtonUp(300, 200);
  for (int i = 0; i < 12; ++i) Frame(0.01);
  EXPECT_EQ(frameShown(), 0);
  EXPECT_DOUBLE_EQ(menu->pressTime, 0.0);
  app->texMisc1 = saved;
}

TEST_F(MainMenuTest, TotalTimeGrowsInTheMenuButNotWhilePaused) {
  Frame(2.0);
  EXPECT_DOUBLE_EQ(app->statistics->totalTime, 2.0);
  StartAndRun(11);
  const double t = app->statistics->totalTime;
  Key(VK_ESCAPE);
  Frame(5.0);
  EXPECT_DOUBLE_EQ(app->statistics->totalTime, t);
}

TEST_F(MainMenuTest, DeletingTheMenuRecordsTheRunningPlay) {
  StartAndRun(13);
  menu.reset();
  EXPECT_EQ(app->statistics->playCount, 1);  // abandoned: counts with 6.0
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("fake.sav"));
  EXPECT_EQ(saved.playCount, 1);
}

// The tick of the info page and of the result page lies over the main
// page's quit button: the second half of a double click on the tick must
// not end the program.
TEST_F(MainMenuTest, ADoubleClickOnATickNeverReachesTheQuitButtonBelow) {
  int tickX = 0, tickY = 0;
  auto quitButtonAt = [&](int x, int y) {
    menu->SetPage(1);
    MoveTo(x, y);
    return menu->hitElement == Visible(3);
  };
  ASSERT_TRUE(Click(6));
  ASSERT_TRUE(Centre(39, &tickX, &tickY));
  ASSERT_TRUE(quitButtonAt(tickX, tickY));
  ASSERT_TRUE(Click(6));
  DoubleClickAt(tickX, tickY);
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(app->runState, 0);

  ShowPlainResultPage(4);
  ASSERT_TRUE(Centre(56, &tickX, &tickY));
  DoubleClickAt(tickX, tickY);
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(app->runState, 0);
  ASSERT_TRUE(quitButtonAt(tickX, tickY));
  // A plain click there afterwards is a click on the quit button.
  ClickAt(tickX, tickY);
  EXPECT_EQ(app->runState, 2);
}

TEST_F(MainMenuTest, AClickNeedsThePressAndReleaseOnTheSameElement) {
  int x2 = 0, y2 = 0, x4 = 0, y4 = 0;
  ASSERT_TRUE(Centre(2, &x2, &y2));
  ASSERT_TRUE(Centre(4, &x4, &y4));
  // Pressed on one button, released on another: nothing.
  MoveTo(x2, y2);
  menu->OnLButtonDown(x2, y2);
  MoveTo(x4, y4);
  menu->OnLButtonUp(x4, y4);
  EXPECT_EQ(menu->currentPage, 1);
  // Pressed outside every page, released on a button: nothing.
  MoveTo(5, 5);
  menu->OnLButtonDown(5, 5);
  MoveTo(x4, y4);
  menu->OnLButtonUp(x4, y4);
  EXPECT_EQ(menu->currentPage, 1);
  // Pressed on a button whose page went away (Escape) before the release.
  ASSERT_TRUE(Click(6));
  int tickX = 0, tickY = 0;
  ASSERT_TRUE(Centre(39, &tickX, &tickY));
  MoveTo(tickX, tickY);
  menu->OnLButtonDown(tickX, tickY);
  Key(VK_ESCAPE);
  ASSERT_EQ(menu->currentPage, 1);
  menu->OnLButtonUp(tickX, tickY);
  EXPECT_EQ(app->runState, 0);
  // A double click on the same page still counts twice: two rows down.
  menu->SetPage(18);
  int arrowX = 0, arrowY = 0;
  ASSERT_TRUE(Centre(21, &arrowX, &arrowY));
  DoubleClickAt(arrowX, arrowY);
  EXPECT_EQ(menu->listOffset, 2);
}

TEST_F(MainMenuTest, AGameStillGetsEveryPressOfADoubleClick) {
  StartAndRun(5);
  const int before = Game()->mouseEvents;
  DoubleClickAt(900, 700);
  EXPECT_EQ(Game()->mouseEvents, before + 1 + 4);  // the move, two presses, two releases
}

TEST_F(MainMenuTest, ResetButtonsAskBeforeTheyWipeTheRecords) {
  app->statistics->playCount = 7;
  menu->SetPage(40);
  // The first click asks; a second click on it within five seconds resets.
  ASSERT_TRUE(Click(42));
  EXPECT_EQ(menu->confirmingId, 42);
  EXPECT_TRUE(fake.created.empty());
  EXPECT_EQ(app->statistics->playCount, 7);
  Frame(4.9);
  ASSERT_TRUE(Click(42));
  EXPECT_EQ(fake.created.size(), 16u);
  EXPECT_EQ(app->statistics->playCount, 0);
  EXPECT_EQ(menu->confirmingId, 0);
  EXPECT_EQ(menu->currentPage, 40);

  // Withdrawn by the timeout, by a click elsewhere, by leaving the page.
  fake.created.clear();
  ASSERT_TRUE(Click(42));
  Frame(3.0);
  Frame(2.1);
  EXPECT_EQ(menu->confirmingId, 0);
  ASSERT_TRUE(Click(42));
  ClickAt(512, 300);  // the page itself
  EXPECT_EQ(menu->confirmingId, 0);
  ASSERT_TRUE(Click(42));
  ClickAt(5, 5);  // beside the page
  EXPECT_EQ(menu->confirmingId, 0);
  ASSERT_TRUE(Click(42));
  ASSERT_TRUE(Click(41));
  ASSERT_TRUE(Click(4));
  EXPECT_EQ(menu->confirmingId, 0);
  ASSERT_TRUE(Click(42));  // asks again
  EXPECT_TRUE(fake.created.empty());

  // One game's record, on the paused game's statistics page; the time runs
  // while the play is paused.
  StartAndRun(3);
  Game()->record.playCount = 5;
  Key(VK_ESCAPE);
  ASSERT_TRUE(Click(48));
  ASSERT_TRUE(Click(54));
  Frame(5.1);
  ASSERT_TRUE(Click(54));
  EXPECT_EQ(Game()->record.playCount, 5);
  ASSERT_TRUE(Click(53));
  ASSERT_TRUE(Click(48));
  ASSERT_TRUE(Click(54));
  EXPECT_EQ(Game()->record.playCount, 5);
  ASSERT_TRUE(Click(54));
  EXPECT_EQ(Game()->record.playCount, 0);
}

TEST_F(MainMenuTest, EscapeIsTheBackButtonAndEnterConfirmsAPlainResult) {
  const struct {
    int from, to;
  } back[] = {{40, 1}, {38, 1}, {43, 1}, {9, 1}, {14, 9}, {18, 1}, {1, 1}};
  for (const auto& b : back) {
    menu->SetPage(b.from);
    Key(VK_ESCAPE);
    EXPECT_EQ(menu->currentPage, b.to) << "from page " << b.from;
  }
  EXPECT_EQ(app->runState, 0);  // Escape on the main page never quits

  ShowPlainResultPage(2);
  Key(VK_RETURN);
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(menu->currentPage, 1);
  ShowPlainResultPage(2);
  Key(VK_ESCAPE);
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(menu->currentPage, 1);

  // With a name to enter, the name is needed first, whatever the key.
  std::filesystem::remove("fake.sav");
  fake.grades[2] = 2.0;
  StartAndRun(2);
  Game()->SetState(GAME_STATE_ENDED);
  Frame(2.0);
  ASSERT_NE(menu->gameNameEntry, nullptr);
  Key(VK_ESCAPE);
  Key(VK_RETURN);
  EXPECT_EQ(menu->currentPage, 55);
  Key('A');
  Key(VK_ESCAPE);
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(menu->activeGame, nullptr);
}

TEST_F(MainMenuTest, TheWheelScrollsTheGameListWithinTheArrowsLimits) {
  Wheel(-120);  // not on the game list: nothing
  EXPECT_EQ(menu->listOffset, 0);
  menu->SetPage(18);
  Wheel(120);
  EXPECT_EQ(menu->listOffset, 0);
  Wheel(-120);
  EXPECT_EQ(menu->listOffset, 1);
  EXPECT_NE(Visible(20), nullptr);
  Wheel(-120 * 30);
  EXPECT_EQ(menu->listOffset, 9);
  EXPECT_EQ(Visible(21), nullptr);
  Wheel(120);
  EXPECT_EQ(menu->listOffset, 8);
  // Fine-grained wheels: parts of a notch add up.
  Wheel(60);
  EXPECT_EQ(menu->listOffset, 8);
  Wheel(60);
  EXPECT_EQ(menu->listOffset, 7);
  Wheel(120 * 30);
  EXPECT_EQ(menu->listOffset, 0);
}

TEST_F(MainMenuTest, TheLanguageNamesAreClickableAndHoverFollowsPageChanges) {
  GUIElement* page = menu->elements[SLOT_MAIN];
  const int left = page->x, top = page->y;
  // The middle of each written name (see the main page's artwork).
  ClickAt(left + 285, top + 564);
  EXPECT_EQ(app->language, 1);
  ClickAt(left + 200, top + 564);  // between the two: nothing
  EXPECT_EQ(app->language, 1);
  ClickAt(left + 140, top + 564);
  EXPECT_EQ(app->language, 0);

  // After a page change the element under the pointer is hovered at once.
  ASSERT_TRUE(Click(2));
  ASSERT_EQ(menu->currentPage, 9);
  ASSERT_TRUE(Click(10));
  ASSERT_EQ(menu->currentPage, 1);
  // The back button of page 9 lies over one of the main page's buttons.
  int x = 0, y = 0;
  GUIElement* under = nullptr;
  for (int id : {2, 4, 5, 6, 3}) {
    ASSERT_TRUE(Centre(id, &x, &y));
    if (std::abs(app->mouseY - y) <= 25 && std::abs(app->mouseX - x) <= 150) under = Visible(id);
  }
  ASSERT_NE(under, nullptr);
  EXPECT_EQ(menu->hitElement, under);
}

// Names of up to 99 characters: the pages shorten them with an ellipsis so
// every line fits its panel (the other fields stay whole); the records keep
// the whole name.
TEST_F(MainMenuTest, LongNamesAreShortenedOnThePagesAndKeptInTheRecords) {
  if (!menu->font26 || !menu->font26->HasFace()) GTEST_SKIP() << "no font installed";
  const std::string longName(99, 'W');
  constexpr char kEllipsis = '\x85';
  auto lines = [](const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
      out.push_back(text.substr(start, nl - start));
    out.push_back(text.substr(start));
    return out;
  };
  for (int i = 0; i < 10; ++i) {
    SeriesEntry* e = new SeriesEntry();
    e->SetName(longName.c_str());
    e->grade = 1.0 + i * 0.5;
    e->difficulty = i % 3;
    app->statistics->InsertEntry(e);
  }
  for (int lang = 0; lang < 2; ++lang) {
    LoadLanguage(lang);
    const std::vector<std::string> overall = lines(menu->OverallStatisticsText(menu->font26, 740));
    for (int place = 0; place < 10; ++place) {
      const std::string& line = overall[place];
      EXPECT_LE(LineWidth(menu->font26, line), 740) << line;
      EXPECT_NE(line.find(std::string("W") + kEllipsis), std::string::npos) << line;
      const std::string word = LangTextOrEmpty(59 + place % 3);
      EXPECT_EQ(line.substr(line.size() - word.size()), word) << line;
      EXPECT_NE(line.find(FormatText("%.2f", {1.0 + place * 0.5})), std::string::npos) << line;
    }
  }
  EXPECT_EQ(std::string(app->statistics->Entries().Get(0)->name), longName);

  // One game's page.
  struct StatsGame : Denkar_Game {
    StatsGame() : Denkar_Game(0, "long.sav") { DisableRecording(); }
    const char* GetStatisticsText() override { return BuildStatisticsText(); }
  } game;
  for (int i = 0; i < 10; ++i) {
    HighscoreEntry* e = new HighscoreEntry();
    e->SetName(longName.c_str());
    e->grade = 2.0;
    game.AddHighscore(e);
  }
  game.SetStatisticsLayout(menu->font26, 740);
  for (const std::string& line : lines(game.GetStatisticsText())) EXPECT_LE(LineWidth(menu->font26, line), 740);
  EXPECT_NE(std::string(game.GetStatisticsText()).find(kEllipsis), std::string::npos);
  game.SetStatisticsLayout(nullptr, 0);
  EXPECT_NE(std::string(game.GetStatisticsText()).find(longName), std::string::npos);

  // The name being typed shows its end and the caret.
  const std::string typed = "Anfang" + longName;
  const std::string entry = menu->NameEntryLine(typed, 440);
  EXPECT_LE(LineWidth(menu->font30, entry), 440);
  EXPECT_NE(entry.find(kEllipsis), std::string::npos) << entry;
  EXPECT_EQ(entry.substr(entry.size() - 2), "W|");
  EXPECT_EQ(entry.find("Anfang"), std::string::npos);
  EXPECT_EQ(menu->NameEntryLine("Anna", 440), FormatText(GetLangText(54), {"Anna|"}));
}

}  // namespace
