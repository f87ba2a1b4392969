#include "menu/game_list.h"

#include "Denkar_Spiele/DG_Bilder_Basteln.h"
#include "Denkar_Spiele/DG_CrazyQuader.h"
#include "Denkar_Spiele/DG_Datum_Game.h"
#include "Denkar_Spiele/DG_Dreieck_rechnen.h"
#include "Denkar_Spiele/DG_Gedaechtnis.h"
#include "Denkar_Spiele/DG_MMaster.h"
#include "Denkar_Spiele/DG_Memory.h"
#include "Denkar_Spiele/DG_Ordo.h"
#include "Denkar_Spiele/DG_Quadrat_addieren.h"
#include "Denkar_Spiele/DG_Quadrat_merken.h"
#include "Denkar_Spiele/DG_Schiebe_Puzzle.h"
#include "Denkar_Spiele/DG_Sudoku9x9.h"
#include "Denkar_Spiele/DG_Uhr_lesen.h"
#include "Denkar_Spiele/DG_Waage_Game_Fruechte.h"
#include "Denkar_Spiele/DG_Wechselgeld_Game.h"
#include "Denkar_Spiele/DG_Zahlen_klicken.h"

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
    case 1: return new DG_CrazyQuader(difficulty);
    case 2: return new DG_Datum_Game(difficulty);
    case 3: return new DG_Dreieck_rechnen(difficulty);
    case 4: return new DG_Gedächtnis(difficulty);
    case 5: return new DG_Memory(difficulty);
    case 6: return new DG_MMaster(difficulty);
    case 7: return new DG_Ordo(difficulty);
    case 8: return new DG_Quadrat_merken(difficulty);
    case 9: return new DG_Quadrat_addieren(difficulty);
    case 10: return new DG_Schiebe_Puzzle(difficulty);
    case 11: return new DG_Sudoku9x9(difficulty);
    case 12: return new DG_Uhr_lesen(difficulty);
    case 13: return new DG_Waage_Game_Früchte(difficulty);
    case 14: return new DG_Wechselgeld_Game(difficulty);
    case 15: return new DG_Zahlen_klicken(difficulty);
    default: return nullptr;  // an index outside the list
  }
}
