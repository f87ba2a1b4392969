#include "support/game_play.h"

#include <cstdlib>

#include "framework/denkar_game.h"
#include "framework/game_record.h"
#include "framework/gui_element.h"
#include "menu/main_menu.h"
#include "support/play_driver.h"

namespace {

// The element `id` on the visible page, or null.
GUIElement* FindVisible(GUIElement* root, int id) {
  if (!root) return nullptr;
  if (root->GetId() == id) return root;
  for (int i = 0; i < root->children.Count(); ++i)
    if (GUIElement* e = FindVisible(root->children.Get(i), id)) return e;
  return nullptr;
}

bool ClickElement(MainMenu& menu, PlayDriver& driver, int id) {
  for (int slot = 0; slot < GAME_ELEMENT_COUNT; ++slot) {
    if (!menu.elementEnabled[slot]) continue;
    GUIElement* e = FindVisible(menu.elements[slot], id);
    if (!e) continue;
    int x = (e->right - e->x) / 2, y = (e->bottom - e->y) / 2;
    for (GUIElement* p = e; p; p = p->parent) {
      x += p->x;
      y += p->y;
    }
    driver.Click(x, y);
    return true;
  }
  return false;
}

}  // namespace

MenuPlay PlayFromMenu(int index, int difficulty, const std::function<void(PlayDriver&)>& play,
                      const std::string& name) {
  MenuPlay result;
  MainMenu menu;
  MenuDriver driver(menu);
  menu.difficulty = difficulty;
  menu.StartGame(index);
  if (!driver.CurrentGame()) return result;
  driver.SkipCountdown();
  play(driver);
  Denkar_Game* game = driver.CurrentGame();
  if (!game) return result;
  result.endState = game->GetState();
  result.playTime = game->GetPlayTime();
  result.resultPage = driver.WaitUntil([&] { return menu.currentPage == 55; }, 3.0);
  if (!result.resultPage) return result;
  result.nameAsked = menu.gameNameEntry != nullptr;
  if (result.nameAsked) driver.Type(name);
  ClickElement(menu, driver, 56);  // confirm
  result.backInMenu = !menu.activeGame && menu.currentPage == 1;
  return result;
}

std::string ShotPath(const std::string& name) {
  const char* folder = std::getenv("DENKAR_SHOTS");
  return folder && *folder ? std::string(folder) + "/" + name + ".png" : std::string();
}

double ListedGrade(GameRecord& record, const std::string& name) {
  for (int i = 0; i < record.Entries().Count(); ++i)
    if (name == record.Entries().Get(i)->name) return record.Entries().Get(i)->grade;
  return -1;
}
