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
