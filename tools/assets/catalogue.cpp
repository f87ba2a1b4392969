// Which rectangle list belongs to which sheet.
#include <cstring>

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
