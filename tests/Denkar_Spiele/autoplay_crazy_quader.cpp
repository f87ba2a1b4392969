#include "Denkar_Spiele/autoplay_crazy_quader.h"

#include <cstdint>

#include "Denkar_Spiele/DG_CrazyQuader.h"
#include "Denkar_Spiele/quad_cell_click.h"
#include "support/play_driver.h"

namespace {

uint32_t Bits(QuadField& grid) {
  uint32_t bits = 0;
  for (int i = 0; i < grid.CellCount(); ++i)
    if (grid.Cell(i)->IsOn()) bits |= 1u << i;
  return bits;
}

}  // namespace

bool CrazyQuaderSolution(DG_CrazyQuader& game, std::vector<int>& patternIndexes) {
  // Gaussian elimination over GF(2): flips are xor, so the field is solved by
  // the set of patterns whose xor equals it.
  struct Row {
    uint32_t bits = 0;
    uint64_t patterns = 0;
  };
  Row basis[32];
  for (int p = 0; p < game.patterns.Count(); ++p) {
    Row row{Bits(*game.patterns.Get(p)), 1ull << p};
    for (int bit = 31; bit >= 0 && row.bits; --bit) {
      if (!(row.bits >> bit & 1u)) continue;
      if (!basis[bit].bits) {
        basis[bit] = row;
        break;
      }
      row.bits ^= basis[bit].bits;
      row.patterns ^= basis[bit].patterns;
    }
  }
  Row rest{Bits(*game.field), 0};
  for (int bit = 31; bit >= 0; --bit) {
    if (!(rest.bits >> bit & 1u)) continue;
    if (!basis[bit].bits) return false;
    rest.bits ^= basis[bit].bits;
    rest.patterns ^= basis[bit].patterns;
  }
  patternIndexes.clear();
  for (int p = 0; p < game.patterns.Count(); ++p)
    if (rest.patterns >> p & 1u) patternIndexes.push_back(p);
  return true;
}

void ClickCrazyPattern(PlayDriver& driver, DG_CrazyQuader& game, int index) {
  ClickCell(driver, game.patterns.Get(index)->Cell(0));
}

void AutoplayWin_DG_CrazyQuader(PlayDriver& driver) {
  auto* game = dynamic_cast<DG_CrazyQuader*>(driver.CurrentGame());
  if (!game || game->GetState() != GAME_STATE_RUNNING) return;
  std::vector<int> moves;
  if (!CrazyQuaderSolution(*game, moves)) return;
  // A field that is dark already still needs a move to end the play.
  if (moves.empty()) moves = {0, 0};
  for (int p : moves) {
    if (game->GetState() != GAME_STATE_RUNNING) break;
    ClickCrazyPattern(driver, *game, p);
  }
}
