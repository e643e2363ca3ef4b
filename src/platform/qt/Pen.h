#pragma once
// A pen as GDI describes it. A cosmetic pen (not geometric) of width 0 is one device pixel wide
// whatever the mapping; a cosmetic pen wider than one pixel draws solid whatever its style, as in
// GDI. Line ends are flat, so a line leaves out its end pixel as GDI's LineTo does. A geometric
// pen has round ends and joins and dashes at any width.

#include "platform/qt/ColorRef.h"

namespace platform::qt {

enum PenStyle : int {
  kPsSolid = 0,
  kPsDash = 1,
  kPsDot = 2,
  kPsDashDot = 3,
  kPsDashDotDot = 4,
  kPsNull = 5,
};

struct Pen {
  int style = kPsSolid;
  int width = 0;
  ColorRef color = 0;
  bool geometric = false;
  bool operator==(const Pen&) const = default;

  static Pen Solid(int width, ColorRef color) { return Pen{kPsSolid, width, color, false}; }
  static Pen Null() { return Pen{kPsNull, 0, 0, false}; }
};

}  // namespace platform::qt
