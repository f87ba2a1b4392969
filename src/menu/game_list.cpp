#include "menu/game_list.h"

#include "Denkar_Spiele/DG_Memory.h"
#include "Denkar_Spiele/DG_Ordo.h"
#include "Denkar_Spiele/DG_Schiebe_Puzzle.h"

namespace {
// Caption text of each list entry, in the fixed order of the list.
constexpr int kCaptions[GAME_LIST_COUNT] = {20, 105, 170, 42, 18, 19, 125, 130,
                                            21, 100, 17,  14,  110, 135, 140, 120};
}  // namespace

int GameListCaption(int index) {
  return (index >= 0 && index < GAME_LIST_COUNT) ? kCaptions[index] : -1;
}

Denkar_Game* CreateListedGame(int index, int difficulty) {
  switch (index) {
    case 5: return new DG_Memory(difficulty);
    case 7: return new DG_Ordo(difficulty);
    case 10: return new DG_Schiebe_Puzzle(difficulty);
    default: return nullptr;  // 0 DG_Bilder_Basteln ... 15 DG_Zahlen_klicken: not built yet
  }
}
