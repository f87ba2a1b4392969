// The shape game's picture files. A text is either read whole (at least one
// outline, every shape of a known type, angle and size in range, finite
// numbers) or refused with an empty picture; never anything in between.
#include <cmath>
#include <cstdlib>

#include "Denkar_Spiele/DG_Bilder_Basteln.h"
#include "fuzz/fuzz_support.h"

namespace {

void CheckPiece(const ShapePiece& piece) {
  if (piece.type < 0 || piece.type >= SHAPE_TYPE_COUNT) std::abort();
  if (piece.rotation < 0 || piece.rotation > 359) std::abort();
  if (!(piece.sizeFactor >= SHAPE_SIZE_MIN - 1e-9 && piece.sizeFactor <= SHAPE_SIZE_MAX + 1e-9)) std::abort();
  for (float v : {piece.position[0], piece.position[1], piece.scale[0], piece.scale[1]})
    if (!std::isfinite(v)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ShapePicture picture;
  if (ParseShapePicture(fuzz::AsText(data, size), &picture)) {
    if (picture.targets.empty()) std::abort();
    for (const ShapePiece& p : picture.targets) CheckPiece(p);
    for (const ShapePiece& p : picture.extras) CheckPiece(p);
  } else if (!picture.targets.empty() || !picture.extras.empty()) {
    std::abort();
  }
  return 0;
}
