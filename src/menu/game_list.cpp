#include "menu/game_list.h"

#include "Denkar_Spiele/DG_CrazyQuader.h"
#include "Denkar_Spiele/DG_Memory.h"
#include "Denkar_Spiele/DG_Quadrat_addieren.h"
#include "Denkar_Spiele/DG_Quadrat_merken.h"

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
    case 1: return new DG_CrazyQuader(difficulty);
    case 5: return new DG_Memory(difficulty);
    case 8: return new DG_Quadrat_merken(difficulty);
    case 9: return new DG_Quadrat_addieren(difficulty);
    default: return nullptr;  // 0 DG_Bilder_Basteln ... 15 DG_Zahlen_klicken: not built yet
  }
}
