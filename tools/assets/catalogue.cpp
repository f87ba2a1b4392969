// Which catalogue belongs to which sheet, and plain stand-ins for the game
// sprite sheets while their own sources are not part of the build.
#include <cstring>

#include "cairo_kit.h"
#include "sheets.h"

std::vector<SheetRect> SheetCatalogue(const char* memberName) {
  struct Entry {
    const char* name;
    std::vector<SheetRect> (*list)();
  };
  static const Entry entries[] = {
      {"misc1.PNG", CatalogueMisc1},
      {"misc2.PNG", CatalogueMisc2},
      {"misc3.PNG", CatalogueMisc3},
      {"misc4.PNG", CatalogueMisc4},
      {"menu1.PNG", CatalogueMenu1},
      {"menu2.PNG", CatalogueMenu2},
      {"menu3.PNG", CatalogueMenu3},
      {"back1.PNG", [] { return CatalogueBack(1); }},
      {"back2.PNG", [] { return CatalogueBack(2); }},
      {"back3.PNG", [] { return CatalogueBack(3); }},
      {"back4.PNG", [] { return CatalogueBack(4); }},
      {"splash.PNG", CatalogueSplash},
      {"Memory_Muster.PNG", CatalogueMemoryMuster},
      {"bg.PNG", CatalogueBg},
  };
  if (!memberName) return {};
  for (const Entry& e : entries)
    if (std::strcmp(e.name, memberName) == 0) return e.list();
  return {};  // MemoryCards1.png and MemoryCards2.png have no rectangles
}

// Stand-ins: a sheet source that is not linked yet leaves a plain, valid
// sheet of the minimum size with no rectangles, so the archive can still be
// built and the game still starts. The real definitions replace these.
namespace {
cairo_surface_t* StandIn(int w, int h) {
  cairo_surface_t* s = kit::NewSheet(w, h);
  kit::SolidRect(s, 0, 0, w, h, kit::pal::kSand);
  return s;
}
}  // namespace

__attribute__((weak)) cairo_surface_t* DrawSheetMisc1() { return StandIn(1024, 1024); }
__attribute__((weak)) cairo_surface_t* DrawSheetMisc2() { return StandIn(1024, 1024); }
__attribute__((weak)) cairo_surface_t* DrawSheetMisc3() { return StandIn(1024, 512); }
__attribute__((weak)) cairo_surface_t* DrawSheetMisc4() { return StandIn(1024, 1024); }
__attribute__((weak)) std::vector<SheetRect> CatalogueMisc1() { return {}; }
__attribute__((weak)) std::vector<SheetRect> CatalogueMisc2() { return {}; }
__attribute__((weak)) std::vector<SheetRect> CatalogueMisc3() { return {}; }
__attribute__((weak)) std::vector<SheetRect> CatalogueMisc4() { return {}; }
