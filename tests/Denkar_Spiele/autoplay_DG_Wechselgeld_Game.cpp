#include "autoplay_DG_Wechselgeld_Game.h"

#include <cmath>

#include "Denkar_Spiele/DG_Wechselgeld_Game.h"
#include "support/drag_input.h"
#include "support/play_driver.h"

bool DragFromPile(PlayDriver& driver, DG_Wechselgeld_Game& game, int value, int x, int y) {
  for (int i = 0; i < game.piles.Count(); ++i) {
    const Geldstapel* pile = game.piles.Get(i);
    if (pile->value != value) continue;
    DragWithMouse(driver, static_cast<int>(std::lround(pile->x)),
                  static_cast<int>(std::lround(pile->y)), x, y);
    return true;
  }
  return false;
}

void ClickMoneyButton(PlayDriver& driver, DG_Wechselgeld_Game& game) {
  driver.Wait(0.6);
  const RECT button = game.ButtonRect();
  driver.Click((button.left + button.right) / 2, (button.top + button.bottom) / 2);
}

void AutoplayWin_DG_Wechselgeld_Game(PlayDriver& driver) {
  auto* game = static_cast<DG_Wechselgeld_Game*>(driver.CurrentGame());
  if (!game) return;
  for (int task = 0; task < game->taskCount && game->GetState() == 6; ++task) {
    const Geldfeld& field = *game->changeField;
    const int y = static_cast<int>((field.top + field.bottom) / 2);
    const int left = static_cast<int>(field.left) + 50;
    const int width = static_cast<int>(field.right - field.left) - 100;
    int k = 0;
    for (int value : DG_Wechselgeld_Game::GreedySplit(game->Change(), game->denominationCount))
      DragFromPile(driver, *game, value, left + (k++ * 70) % width, y);
    ClickMoneyButton(driver, *game);
  }
}
