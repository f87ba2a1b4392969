#include "Denkar_Spiele/autoplayers.h"

#include "Denkar_Spiele/autoplay_DG_MMaster.h"
#include "Denkar_Spiele/autoplay_DG_Ordo.h"
#include "Denkar_Spiele/autoplay_DG_Schiebe_Puzzle.h"
#include "Denkar_Spiele/autoplay_DG_Wechselgeld_Game.h"
#include "Denkar_Spiele/autoplay_bilder_basteln.h"
#include "Denkar_Spiele/autoplay_crazy_quader.h"
#include "Denkar_Spiele/autoplay_datum.h"
#include "Denkar_Spiele/autoplay_dreieck_rechnen.h"
#include "Denkar_Spiele/autoplay_gedaechtnis.h"
#include "Denkar_Spiele/autoplay_memory.h"
#include "Denkar_Spiele/autoplay_quadrat_addieren.h"
#include "Denkar_Spiele/autoplay_quadrat_merken.h"
#include "Denkar_Spiele/autoplay_sudoku.h"
#include "Denkar_Spiele/autoplay_uhr_lesen.h"
#include "Denkar_Spiele/autoplay_waage.h"
#include "Denkar_Spiele/autoplay_zahlen_klicken.h"

Autoplayer AutoplayerOf(int listIndex) {
  // In the order of the game list.
  static constexpr Autoplayer AUTOPLAYERS[] = {
      AutoplayWin_DG_Bilder_Basteln,   AutoplayWin_DG_CrazyQuader,
      AutoplayWin_DG_Datum_Game,       AutoplayWin_DG_Dreieck_rechnen,
      AutoplayWin_DG_Gedaechtnis,      AutoplayWin_DG_Memory,
      AutoplayWin_DG_MMaster,          AutoplayWin_DG_Ordo,
      AutoplayWin_DG_Quadrat_merken,   AutoplayWin_DG_Quadrat_addieren,
      AutoplayWin_DG_Schiebe_Puzzle,   AutoplayWin_DG_Sudoku9x9,
      AutoplayWin_DG_Uhr_lesen,        AutoplayWin_DG_Waage_Game_Fruechte,
      AutoplayWin_DG_Wechselgeld_Game, AutoplayWin_DG_Zahlen_klicken,
  };
  static_assert(sizeof AUTOPLAYERS / sizeof AUTOPLAYERS[0] == 16);
  return listIndex >= 0 && listIndex < 16 ? AUTOPLAYERS[listIndex] : nullptr;
}
