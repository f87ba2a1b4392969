// The texture sheets of "sport.gob", each drawn with cairo into an ARGB32
// image surface of at least its minimum size. The caller owns the surface.
#pragma once
#include <cairo.h>

cairo_surface_t* DrawSheetMisc1();         // misc1.PNG
cairo_surface_t* DrawSheetMisc2();         // misc2.PNG
cairo_surface_t* DrawSheetMisc3();         // misc3.PNG
cairo_surface_t* DrawSheetMisc4();         // misc4.PNG
cairo_surface_t* DrawSheetMenu1();         // menu1.PNG
cairo_surface_t* DrawSheetMenu2();         // menu2.PNG
cairo_surface_t* DrawSheetMenu3();         // menu3.PNG
cairo_surface_t* DrawSheetBack(int n);     // back1.PNG ... back4.PNG (n = 1 ... 4)
cairo_surface_t* DrawSheetMemoryCards(int n);  // MemoryCards1.png, MemoryCards2.png
cairo_surface_t* DrawSheetSplash();        // splash.PNG
cairo_surface_t* DrawSheetMemoryMuster();  // Memory_Muster.PNG
cairo_surface_t* DrawSheetBg();            // bg.PNG

#include <vector>

// One rectangle of a sheet as the screens draw it, for the review sheets and
// the content tests.
struct SheetRect {
  const char* label;                 // short name shown on the review sheet
  int left, top, right, bottom;      // image pixels, right/bottom exclusive
  enum Alpha { Opaque, CutOut, Any } alpha;  // Opaque: no transparent texel inside;
                                             // CutOut: transparent around the outline
  bool uniform = false;  // meant to be one plain colour (the dimmer squares); the
                         // content check then only asks for visible texels
};

// The rectangles of each sheet, by member name ("misc1.PNG", ...).
std::vector<SheetRect> SheetCatalogue(const char* memberName);
// Per-sheet lists (each sheet's source file defines its own).
std::vector<SheetRect> CatalogueMisc1();
std::vector<SheetRect> CatalogueMisc2();
std::vector<SheetRect> CatalogueMisc3();
std::vector<SheetRect> CatalogueMisc4();
std::vector<SheetRect> CatalogueMenu1();
std::vector<SheetRect> CatalogueMenu2();
std::vector<SheetRect> CatalogueMenu3();
std::vector<SheetRect> CatalogueBack(int n);
std::vector<SheetRect> CatalogueSplash();
std::vector<SheetRect> CatalogueMemoryMuster();
std::vector<SheetRect> CatalogueBg();
