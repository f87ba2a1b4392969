#include "menu/main_menu.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "audio/sound_effects.h"
#include "data/language.h"
#include "framework/denkar_game.h"
#include "framework/game_record.h"
#include "framework/stats_record.h"
#include "gfx/font.h"
#include "menu/game_list.h"
#include "framework/gui_element.h"
#include "platform/clock.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"

namespace {

constexpr int MAX_NAME_LENGTH = 99;
constexpr int WHEEL_NOTCH = 120;  // wheel movement of one notch

// Which slot shows which page.
int SlotOfPage(int page) {
  switch (page) {
    case 1: return SLOT_MAIN;
    case 14: return SLOT_MODE;
    case 18: return SLOT_GAME_LIST;
    case 38: return SLOT_INFO;
    case 40: return SLOT_OVERALL;
    case 45: return SLOT_PAUSE;
    case 50: return SLOT_HOW_TO;
    case 52: return SLOT_GAME_STATS;
    case 55: return SLOT_RESULT;
    case 9: return SLOT_DIFFICULTY;
    case 57: return SLOT_SERIES;
    case 43: return SLOT_HELP;
    default: return -1;
  }
}

}  // namespace

MainMenu::MainMenu() : createGame(CreateListedGame) {
  fontManager = &GetFontManager();
  font30 = fontManager->AddFont("Comic Sans MS", 30);
  font40 = fontManager->AddFont("Comic Sans MS", 40);
  font80 = fontManager->AddFont("Comic Sans MS", 80);
  font20 = fontManager->AddFont("Comic Sans MS", 20);
  font26 = fontManager->AddFont("Comic Sans MS", 26);
  CrtSrand(GetTickCount());
  SetPage(1);
  BuildPages();
}

MainMenu::~MainMenu() {
  delete activeGame;  // records and saves the play
  activeGame = nullptr;
  delete gameNameEntry;
  gameNameEntry = nullptr;
  delete seriesNameEntry;
  seriesNameEntry = nullptr;
}

void MainMenu::SetPage(int id) {
  for (bool& enabled : elementEnabled) enabled = false;
  const int slot = SlotOfPage(id);
  if (slot >= 0) elementEnabled[slot] = true;
  currentPage = id;
  // A reset button's question ends with its page.
  confirmingId = 0;
  // The hover follows the pointer at once, not only at its next move.
  hitElement = nullptr;
  HitTestElements(-1);
}

RECT MainMenu::LanguageChoiceArea(int radioId) {
  // The radio buttons lie at (76, 552) and (224, 552), each 24 pixels square,
  // with its language's name written right beside it on the page.
  return radioId == 7 ? RECT{76, 546, 186, 582} : RECT{224, 546, 334, 582};
}

bool MainMenu::HitTestElements(int mode) {
  if (!Game::HitTestElements(mode)) return false;
  GUIElement* mainPage = elements[SLOT_MAIN];
  if (hitElement != mainPage) return true;
  const int x = app->mouseX - mainPage->x, y = app->mouseY - mainPage->y;
  for (int i = 0; i < mainPage->children.Count(); ++i) {
    GUIElement* child = mainPage->children.Get(i);
    const int id = child->GetId();
    if (id != 7 && id != 8) continue;
    const RECT r = LanguageChoiceArea(id);
    if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom) hitElement = child;
  }
  return true;
}

// ---------------------------------------------------------------- input

bool MainMenu::GameTakesInput() const {
  return app->runState == 1 && activeGame && activeGame->GetState() == 6 && startCountdown <= 0;
}

void MainMenu::ForwardMouse(void (MyControl::*slot)(int, int), int x, int y) {
  if (HitTestElements(-1)) return;
  if (GameTakesInput()) (activeGame->*slot)(x, y);
}

void MainMenu::OnMouseMove(int x, int y) { ForwardMouse(&MyControl::OnMouseMove, x, y); }

void MainMenu::OnLButtonDown(int x, int y) {
  mouseHeld = true;
  previousPressPage = pressPage;
  pressPage = currentPage;
  pressedElement = nullptr;
  if (HitTestElements(-1)) {
    pressedElement = hitElement;
    return;
  }
  if (GameTakesInput()) activeGame->OnLButtonDown(x, y);
}

// The window procedure already delivers the second press of a double click
// as a press (OnLButtonDown) before it reports the double click, so the games
// see every press once (a lamp clicked twice, a second coin from a pile). The
// double click itself is only passed on. When the first click of the pair
// changed the page, the second press lands on whatever the new page has
// there (the quit button lies under the result page's tick): it starts no
// click.
void MainMenu::OnLButtonDblClk(int x, int y) {
  if (previousPressPage != currentPage) pressedElement = nullptr;
  ForwardMouse(&MyControl::OnLButtonDblClk, x, y);
}
void MainMenu::OnRButtonDown(int x, int y) { ForwardMouse(&MyControl::OnRButtonDown, x, y); }
void MainMenu::OnRButtonUp(int x, int y) { ForwardMouse(&MyControl::OnRButtonUp, x, y); }

void MainMenu::OnLButtonUp(int x, int y) {
  mouseHeld = false;
  GUIElement* pressed = pressedElement;
  pressedElement = nullptr;
  if (HitTestElements(1)) {
    // Only a press and a release on the same element of the same page click.
    const int id = hitElement->GetId();
    if (hitElement != pressed || pressPage != currentPage) {
      confirmingId = 0;
      return;
    }
    if (id != confirmingId) confirmingId = 0;  // any other click withdraws the question
    app->PlaySoundEffect(0, 1.0f);
    Dispatch(id);
    return;
  }
  confirmingId = 0;
  if (GameTakesInput()) {
    app->PlaySoundEffect(1, 1.0f);
    activeGame->OnLButtonUp(x, y);
  }
}

void MainMenu::Dispatch(int id) {
  switch (id) {
    case 2: SetPage(9); break;
    case 3: app->runState = 2; break;
    case 4: SetPage(40); break;
    case 5: SetPage(43); break;
    case 6: SetPage(38); break;
    case 7: LoadLanguage(0); break;
    case 8: LoadLanguage(1); break;
    case 10: case 19: case 39: case 41: case 44: SetPage(1); break;
    case 11: case 12: case 13:
      difficulty = id - 11;
      SetPage(14);
      break;
    case 15: SetPage(9); break;
    case 16:
      seriesMode = true;
      seriesBestGrade = 6.0;
      seriesWorstGrade = 1.0;
      seriesGradeSum = 0;
      seriesGamesCounted = 0;
      StartGame(0);
      seriesTime = 0;
      break;
    case 17:
      seriesMode = false;
      SetPage(18);
      break;
    case 20: ScrollGameList(-1); break;
    case 21: ScrollGameList(1); break;
    case 42:
      if (ConfirmReset(id)) ResetAllStatistics();
      break;
    case 46:
      if (activeGame) activeGame->SetState(6);
      app->paused = false;
      SetPage(0);
      break;
    case 47: SetPage(50); break;
    case 48: SetPage(52); break;
    case 49:
      if (activeGame) activeGame->SetState(4);
      app->paused = false;
      break;
    case 51: case 53: SetPage(45); break;
    case 54:
      if (ConfirmReset(id) && activeGame) activeGame->ResetRecord();
      break;
    case 56:
      if (!activeGame) break;
      if (gameNameEntry) {
        if (gameNameEntry->typedLength == 0 && gameNameEntry->name[0] == 0) break;
        // The entry takes the grade the play is recorded with: the grade may
        // have moved since the entry was made.
        gameNameEntry->grade = activeGame->GetGrade();
        activeGame->AddHighscore(gameNameEntry);
        gameNameEntry = nullptr;
      }
      RecordAndFinish();
      break;
    case 58:
      if (seriesNameEntry) {
        if (seriesNameEntry->typedLength == 0 && seriesNameEntry->name[0] == 0) break;
        app->statistics->InsertEntry(seriesNameEntry);
        seriesNameEntry = nullptr;
      }
      if (activeGame) {
        FinishGame();
      } else {
        SetPage(1);
        app->runState = 0;
      }
      break;
    default:
      if (id >= 22 && id <= 37) StartGame(id - 22);
      break;
  }
}

bool MainMenu::ConfirmReset(int id) {
  if (confirmingId == id) {
    confirmingId = 0;
    return true;
  }
  confirmingId = id;
  confirmSecondsLeft = CONFIRM_SECONDS;
  return false;
}

void MainMenu::ScrollGameList(int rows) {
  // The same limits as the arrows: the first row shows game 0 to 9.
  const int offset = std::clamp(listOffset + rows, 0, GAME_LIST_COUNT - 1 - listLastRow);
  if (offset == listOffset) return;
  listOffset = offset;
  BuildGameList();
}

void MainMenu::OnMouseWheel(WPARAM wParam) {
  if (currentPage != 18 || app->runState == 1) return;
  // A notch away from the player scrolls up; fine-grained wheels add up
  // their parts until they make a notch.
  wheelRemainder += static_cast<int16_t>(HIWORD(wParam));
  const int notches = wheelRemainder / WHEEL_NOTCH;
  wheelRemainder -= notches * WHEEL_NOTCH;
  if (notches != 0) ScrollGameList(-notches);
}

int MainMenu::EscapeTarget() const {
  switch (currentPage) {
    case 55: return 56;
    case 57: return 58;
    default: break;
  }
  // The in-game pages keep Escape for resuming the play.
  if (app->runState == 1) return 0;
  switch (currentPage) {
    case 14: return 15;
    case 9: return 10;
    case 18: return 19;
    case 38: return 39;
    case 40: return 41;
    case 43: return 44;
    default: return 0;
  }
}

bool MainMenu::NameEntryActive() const {
  return (currentPage == 55 && gameNameEntry) || (currentPage == 57 && seriesNameEntry);
}

void MainMenu::EditName(int key) {
  HighscoreEntry* entry = currentPage == 55 ? gameNameEntry : seriesNameEntry;
  int& length = entry->typedLength;
  if (key == VK_BACK) {
    if (length >= 1) {
      --length;
      entry->name[length] = 0;
    }
  } else if (key == VK_RETURN) {
    if (length != 0) Dispatch(currentPage == 55 ? 56 : 58);
  } else if (key == VK_SHIFT) {
    shiftHeld = true;
  } else if (length < MAX_NAME_LENGTH) {
    char c = 0;
    if (key == VK_SPACE) c = ' ';
    else if (key >= '0' && key <= '9') c = static_cast<char>(key);
    else if (key >= 'A' && key <= 'Z') c = static_cast<char>(shiftHeld ? key : key - 'A' + 'a');
    if (c) {
      entry->name[length++] = c;
      entry->name[length] = 0;
    }
  }
}

void MainMenu::OnKeyDown(int key) {
  if (NameEntryActive()) {
    EditName(key);
    return;
  }
  // Enter confirms a result page that asks for no name.
  if (key == VK_RETURN && (currentPage == 55 || currentPage == 57)) {
    Dispatch(currentPage == 55 ? 56 : 58);
    return;
  }
  if (GameTakesInput()) activeGame->OnKeyDown(key);
}

void MainMenu::OnKeyUp(int key) {
  // Escape on a menu page is its back (or confirm) button.
  if (key == VK_ESCAPE) {
    if (const int target = EscapeTarget()) {
      Dispatch(target);
      return;
    }
  }
  if (NameEntryActive()) {
    if (key == VK_SHIFT) shiftHeld = false;
    return;
  }
  if (app->runState != 1 || !activeGame) return;
  // Pause and help only while the play runs or is paused and its end is not
  // handled yet; afterwards they would revive an ended game.
  const int state = activeGame->GetState();
  const bool pausable = (state == 6 || state == 7) && !resultHandled;
  if (key == VK_ESCAPE) {
    if (!pausable) return;
    if (state == 7) {
      activeGame->SetState(6);
      SetPage(0);
      app->paused = false;
    } else {
      activeGame->SetState(7);
      SetPage(45);
      app->paused = true;
    }
    return;
  }
  if (key == 'H' && pausable && currentPage != 55 && currentPage != 57 &&
      activeGame->AllowsHelp()) {
    if (currentPage == 50) {
      activeGame->SetState(6);
      app->paused = false;
      SetPage(0);
    } else {
      activeGame->SetState(7);
      app->paused = true;
      SetPage(50);
    }
    return;
  }
  if (GameTakesInput()) activeGame->OnKeyUp(key);
}

// ---------------------------------------------------------------- plays

void MainMenu::StartGame(int index) {
  delete activeGame;
  activeGame = nullptr;
  backgroundIndex = CrtRand() % 7;
  activeGame = createGame ? createGame(index, difficulty) : nullptr;
  if (!activeGame) return;
  startCountdown = 3.0;
  seriesIndex = index;
  SetPage(0);
  app->runState = 1;
  resultHandled = false;
  playQuit = false;
}

void MainMenu::FinishGame() {
  if (!activeGame) return;
  const bool quit = playQuit || activeGame->GetState() == 4;
  activeGame->ComputeGrade();
  delete activeGame;
  activeGame = nullptr;
  playQuit = false;
  app->paused = false;
  if (seriesMode) {
    ++seriesIndex;
    app->runState = 1;
    startCountdown = 3.0;
    if (seriesIndex > GAME_LIST_COUNT - 1 || quit) {
      SetPage(1);
      app->runState = 0;
      startCountdown = -1.0;
    } else {
      StartGame(seriesIndex);
    }
  } else {
    SetPage(1);
    app->runState = 0;
  }
}

double MainMenu::SeriesGrade(double gradeSum, int gamesCounted, bool quit) {
  double grade = gamesCounted > 0 ? gradeSum / gamesCounted : 6.0;
  // Quitting early is charged for the games not played; from eleven counted
  // games on there is no charge (and never a bonus).
  if (!quit) return grade;
  grade += std::max(0.0, 1.0 - gamesCounted / 11.0) * 4.0;
  return std::clamp(grade, 1.0, 6.0);
}

void MainMenu::RecordAndFinish() {
  if (!activeGame) return;
  if (!seriesMode) {
    FinishGame();
    return;
  }
  const double grade = activeGame->GetGrade();
  seriesWorstGrade = std::max(seriesWorstGrade, grade);
  seriesBestGrade = std::min(seriesBestGrade, grade);
  seriesTime += activeGame->GetPlayTime();
  seriesGradeSum += grade;
  seriesGamesCounted += 1;
  const bool quit = playQuit || activeGame->GetState() == 4;
  if (quit || seriesIndex == GAME_LIST_COUNT - 1) {
    SetPage(57);
    seriesGrade = SeriesGrade(seriesGradeSum, seriesGamesCounted, quit);
    if (app->statistics && app->statistics->Qualifies(seriesGrade)) {
      delete seriesNameEntry;
      seriesNameEntry = new SeriesEntry();
      seriesNameEntry->grade = seriesGrade;
      seriesNameEntry->difficulty = difficulty;
      seriesNameEntry->bestGrade = seriesBestGrade;
      seriesNameEntry->worstGrade = seriesWorstGrade;
      return;
    }
  }
  FinishGame();
}

void MainMenu::ResetAllStatistics() {
  const int page = currentPage;
  for (int i = 0; i < GAME_LIST_COUNT; ++i) {
    StartGame(i);
    if (activeGame) {
      activeGame->ResetRecord();
      activeGame->DisableRecording();
    }
  }
  if (app->statistics) app->statistics->Reset();
  SetPage(page);
  app->runState = 0;
}

void MainMenu::Update() {
  const double frameTime = app->frameTime;
  const double realFrameTime = app->realFrameTime;
  if (mouseHeld) {
    pressTime = pressTime < pressTimeMax ? pressTime + realFrameTime : pressTimeMax;
  } else {
    pressTime = pressTime > 0 ? pressTime - realFrameTime : 0;
  }

  caretTime = NameEntryActive() ? caretTime + realFrameTime : 0;
  if (confirmingId != 0) {
    // Counted in real time: the game statistics page is shown while paused.
    confirmSecondsLeft -= realFrameTime;
    if (confirmSecondsLeft <= 0) confirmingId = 0;
  }

  if (app->runState == 1 && activeGame) {
    if (startCountdown > 0) {
      startCountdown -= frameTime;
      if (startCountdown <= 0) activeGame->Start();
      const int state = activeGame->GetState();
      if (state == 4 || state == 5) {
        playQuit = state == 4;
        FinishGame();
      }
    } else {
      if (activeGame->GetState() != 7) activeGame->Update();
      const int state = activeGame->GetState();
      if (state == 0 || state == 2) {
        if (!resultHandled) {
          endWait -= realFrameTime;
          if (endWait <= 0) {
            app->PlaySoundEffect(5, 1.0f);
            SetPage(55);
            activeGame->ComputeGrade();
            if (!gameNameEntry && activeGame->IsHighscore())
              gameNameEntry = activeGame->CreateHighscoreEntry();
            resultHandled = true;
          }
        }
      } else if (state == 4) {
        if (!resultHandled) {
          playQuit = true;  // noted before grading, which may change the state
          resultHandled = true;
          activeGame->ComputeGrade();
          if (!gameNameEntry && activeGame->IsHighscore()) {
            app->PlaySoundEffect(5, 1.0f);
            SetPage(55);
            gameNameEntry = activeGame->CreateHighscoreEntry();
          } else if (!gameNameEntry) {
            RecordAndFinish();
          }
        }
      } else {
        endWait = 2.0;
      }
    }
  }
  if (app->statistics) app->statistics->totalTime += frameTime;
}

// ---------------------------------------------------------------- drawing

void MainMenu::DrawFullScreenShade(const Texture* texture, D3DCOLOR colour) {
  const RECT src{500, 0, 550, 50};
  const D3DXVECTOR2 scale{app->screenWidth / 50.0f, app->screenHeight / 50.0f};
  const D3DXVECTOR2 origin{0, 0};
  app->DrawSprite(texture, &src, &scale, nullptr, 0, &origin, colour);
}

std::string MainMenu::CountdownText() const {
  if (startCountdown < 1) return "Start";
  return std::to_string(static_cast<int>(startCountdown));
}

void MainMenu::Render() {
  const int W = app->screenWidth, H = app->screenHeight;
  const D3DXVECTOR2 origin{0, 0};
  if (app->runState == 1) {
    const Texture* back = backgroundIndex <= 1   ? app->texBack1
                          : backgroundIndex <= 3 ? app->texBack2
                          : backgroundIndex <= 5 ? app->texBack3
                                                 : app->texBack4;
    const int top = (backgroundIndex % 2) * 450;
    const RECT src{0, top, 600, top + 450};
    const D3DXVECTOR2 scale{W / 600.0f, H / 450.0f};
    app->DrawSprite(back, &src, &scale, nullptr, 0, &origin, 0xFFFFFFFF);
    if (activeGame) activeGame->Render();
    if (startCountdown > 0) {
      DrawFullScreenShade(app->texMisc1, 0x7F000000);
      const std::string text = CountdownText();
      const DWORD format = DT_CENTER | DT_VCENTER;
      fontManager->DrawTextAt(text.c_str(), W / 2 + 3.0f, H / 2 + 3.0f, 0xFF000000, format, font80);
      fontManager->DrawTextAt(text.c_str(), W / 2.0f, H / 2.0f, 0xFFFFFFFF, format, font80);
    }
    if (endWait >= 0) {
      const int alpha = std::clamp(static_cast<int>((1.0 - endWait / 2.0) * 127), 0, 255);
      if (alpha > 0) DrawFullScreenShade(app->texMisc1, static_cast<D3DCOLOR>(alpha) << 24);
    }
    if (currentPage == 55) DrawFullScreenShade(app->texMisc2, 0x7F000000);
    // Under a page the game's picture is kept and copied while it stays the
    // same, so only the page is drawn.
    if (currentPage != 0 && app->device) app->device->KeepLayer();
  } else {
    const RECT src{0, 0, 1024, 768};
    const D3DXVECTOR2 scale{W / 1024.0f, H / 768.0f};
    app->DrawSprite(app->texBg, &src, &scale, nullptr, 0, &origin, 0xFFFFFFFF);
  }
  static constexpr int order[] = {0, 1, 2, 3, 4, 9, 11, 5, 6, 7, 8, 10};
  for (int slot : order)
    if (elementEnabled[slot] && elements[slot]) elements[slot]->Draw(0, 0);
}

void MainMenu::DrawCursor() {
  int k = static_cast<int>(std::min(pressTime / pressTimeMax * 9.0, 9.0));
  k = std::max(k, 0);
  const RECT src{0, (9 - k) * 50, 50, (9 - k) * 50 + 50};
  const D3DXVECTOR2 pos{static_cast<float>(app->mouseX - 8), static_cast<float>(app->mouseY - 14)};
  app->DrawSprite(app->texMisc1, &src, nullptr, nullptr, 0, &pos, 0xFFFFFFFF);
}

void MainMenu::OnLostDevice() {
  for (Font* f : {font30, font20, font40, font80, font26})
    if (f) f->OnLostDevice();
  if (activeGame) activeGame->OnLostDevice();
}

void MainMenu::OnResetDevice() {
  for (Font* f : {font30, font20, font40, font80, font26})
    if (f) f->OnResetDevice();
  if (activeGame) activeGame->OnResetDevice();
}
