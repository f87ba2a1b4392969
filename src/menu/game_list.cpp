#include "menu/game_list.h"

#include "Denkar_Spiele/DG_Bilder_Basteln.h"
#include "Denkar_Spiele/DG_Memory.h"

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
    case 0: return new DG_Bilder_Basteln(difficulty);
    case 5: return new DG_Memory(difficulty);
    default: return nullptr;  // 1 DG_CrazyQuader ... 15 DG_Zahlen_klicken: not built yet
  }
}
