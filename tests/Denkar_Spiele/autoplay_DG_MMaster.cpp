#include "autoplay_DG_MMaster.h"

#include <cmath>

#include "Denkar_Spiele/DG_MMaster.h"
#include "support/drag_input.h"
#include "support/play_driver.h"

namespace {

int Px(float v) { return static_cast<int>(std::lround(v)); }

// The palette peg of `colour` once the palette has settled (new pegs rise
// from the bottom edge and the row closes up after every take).
MMPeg* SettledPaletteFor(PlayDriver& driver, DG_MMaster& game, int colour) {
  MMPeg* found = nullptr;
  driver.WaitUntil(
      [&] {
        found = nullptr;
        for (int i = 0; i < game.palette.Count(); ++i) {
          MMPeg* peg = game.palette.Get(i);
          if (!peg->point.Arrived(0.5)) return false;
          if (peg->colour == colour && !found) found = peg;
        }
        return found != nullptr;
      },
      5.0);
  return found;
}

}  // namespace

void DragPegToHole(PlayDriver& driver, DG_MMaster& game, int colour, int hole) {
  const MMHole* target = game.CurrentRow()->Get(hole);
  const MMPeg* peg = SettledPaletteFor(driver, game, colour);
  if (!target || !peg) return;
  DragWithMouse(driver, Px(peg->point.x), Px(peg->point.y), Px(target->x), Px(target->y));
}

void PlayColourRow(PlayDriver& driver, DG_MMaster& game, const std::vector<int>& guess) {
  if (!game.InputOpen()) return;
  PtrList<MMHole>& row = *game.CurrentRow();
  for (int i = 0; i < row.Count() && i < static_cast<int>(guess.size()); ++i) {
    const MMHole* hole = row.Get(i);
    if (hole->peg && hole->peg->colour == guess[i]) continue;
    if (hole->peg)  // out of the row, back to the palette
      DragWithMouse(driver, Px(hole->x), Px(hole->y), Px(hole->x) + 300, Px(hole->y));
    DragPegToHole(driver, game, guess[i], i);
  }
  const MMAnswerBox* box = game.CurrentBox();
  driver.Click(Px(box->x), Px(box->y));
}

void AutoplayWin_DG_MMaster(PlayDriver& driver) {
  auto* game = static_cast<DG_MMaster*>(driver.CurrentGame());
  if (!game) return;
  PlayColourRow(driver, *game, game->Code());
  driver.WaitUntil([game] { return game->GetState() != 6; }, 5.0);
}
