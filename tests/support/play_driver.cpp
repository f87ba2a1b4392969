#include "support/play_driver.h"

#include <cctype>

#include "framework/denkar_game.h"
#include "framework/gui_element.h"
#include "menu/main_menu.h"
#include "platform/win_types.h"
#include "util/app_context.h"

namespace {

GUIElement* FindBelow(GUIElement* root, int id) {
  for (int i = 0; i < root->children.Count(); ++i) {
    GUIElement* e = root->children.Get(i);
    if (e->GetId() == id) return e;
    if (GUIElement* found = FindBelow(e, id)) return found;
  }
  return nullptr;
}

}  // namespace

GUIElement* FindVisibleElement(MainMenu& menu, int id, int* x, int* y) {
  for (int slot = 0; slot < GAME_ELEMENT_COUNT; ++slot) {
    GUIElement* root = menu.elementEnabled[slot] ? menu.elements[slot] : nullptr;
    GUIElement* e = root ? FindBelow(root, id) : nullptr;
    if (!e) continue;
    // Each element's place is relative to its parent's.
    int cx = (e->right - e->x) / 2, cy = (e->bottom - e->y) / 2;
    for (const GUIElement* p = e; p; p = p->parent) {
      cx += p->x;
      cy += p->y;
    }
    if (x) *x = cx;
    if (y) *y = cy;
    return e;
  }
  return nullptr;
}

void PlayDriver::Move(int x, int y) {
  AppContext& app = GetAppContext();
  app.prevMouseX = app.mouseX;
  app.prevMouseY = app.mouseY;
  app.mouseX = x;
  app.mouseY = y;
  Target().OnMouseMove(x, y);
  AfterInput();
}

void PlayDriver::Down(int x, int y) {
  Move(x, y);
  Target().OnLButtonDown(x, y);
  AfterInput();
}

void PlayDriver::Up(int x, int y) {
  Move(x, y);
  Target().OnLButtonUp(x, y);
  AfterInput();
}

void PlayDriver::Click(int x, int y) {
  Down(x, y);
  Target().OnLButtonUp(x, y);
  AfterInput();
}

void PlayDriver::RightClick(int x, int y) {
  Move(x, y);
  Target().OnRButtonDown(x, y);
  AfterInput();
  Target().OnRButtonUp(x, y);
  AfterInput();
}

void PlayDriver::KeyDown(int key) {
  Target().OnKeyDown(key);
  AfterInput();
}

void PlayDriver::KeyUp(int key) {
  Target().OnKeyUp(key);
  AfterInput();
}

void PlayDriver::Key(int key) {
  KeyDown(key);
  KeyUp(key);
}

void PlayDriver::Type(const std::string& text) {
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == ' ') {
      Key(VK_SPACE);
    } else if (std::isupper(u)) {
      KeyDown(VK_SHIFT);
      Key(u);
      KeyUp(VK_SHIFT);
    } else {
      Key(std::toupper(u));  // virtual keys of letters are the capitals
    }
  }
}

void PlayDriver::Wait(double seconds, double frame) {
  for (double t = 0; t < seconds - 1e-9; t += frame) Frame(frame);
}

bool PlayDriver::WaitUntil(const std::function<bool()>& done, double limitSeconds, double frame) {
  for (double t = 0; t <= limitSeconds; t += frame) {
    if (done()) return true;
    Frame(frame);
  }
  return done();
}

GameDriver::GameDriver(Denkar_Game& game, bool start) : game_(game) {
  if (start) game_.Start();
}

void GameDriver::Frame(double seconds) {
  AppContext& app = GetAppContext();
  app.realFrameTime = seconds;
  app.frameTime = app.paused ? 0.0 : seconds;
  game_.Update();
}

MyControl& GameDriver::Target() { return game_; }

Denkar_Game* MenuDriver::CurrentGame() { return menu_.activeGame; }

void MenuDriver::Frame(double seconds) {
  AppContext& app = GetAppContext();
  app.realFrameTime = seconds;
  app.frameTime = app.paused ? 0.0 : seconds;
  menu_.Update();
  if (afterFrame) afterFrame();
}

void MenuDriver::SkipCountdown() {
  WaitUntil([this] { return menu_.startCountdown <= 0; }, 5.0);
}

MyControl& MenuDriver::Target() { return menu_; }

bool MenuDriver::ClickElement(int id) {
  int x = 0, y = 0;
  if (!FindVisibleElement(menu_, id, &x, &y)) return false;
  Click(x, y);
  return true;
}

bool MenuDriver::StartFromMenu(int listIndex, int difficulty) {
  if (!ClickElement(2) || !ClickElement(11 + difficulty) || !ClickElement(17)) return false;
  if (menu_.currentPage != 18) return false;
  // The list shows seven games at a time; its arrows scroll it.
  for (int scroll = 0; scroll < 16 && !ClickElement(22 + listIndex); ++scroll) {
    const int arrow = menu_.listOffset > listIndex ? 20 : 21;
    if (!ClickElement(arrow)) return false;
  }
  return menu_.activeGame != nullptr && menu_.difficulty == difficulty;
}

bool MenuDriver::StartSeries(int difficulty) {
  return ClickElement(2) && ClickElement(11 + difficulty) && ClickElement(16) && menu_.seriesMode;
}

void MenuDriver::ConfirmResult(const std::string& name) {
  if (menu_.gameNameEntry) Type(name);
  Key(VK_RETURN);
}

bool MenuDriver::LeaveResultPage(const std::string& name) {
  if (!WaitUntil([this] { return menu_.currentPage == 55; }, 5.0)) return false;
  ConfirmResult(name);
  return menu_.currentPage == 1 && menu_.activeGame == nullptr;
}
