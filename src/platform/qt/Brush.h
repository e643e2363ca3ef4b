#pragma once
// A fill brush: solid or hatched in a colour, or null (shapes are outlined only).

#include "platform/qt/ColorRef.h"

namespace platform::qt {

// Hatch patterns (GDI's HS_* values); kHsNone fills solid.
enum HatchStyle : int {
  kHsNone = -1,
  kHsHorizontal = 0,
  kHsVertical = 1,
  kHsFDiagonal = 2,
  kHsBDiagonal = 3,
  kHsCross = 4,
  kHsDiagCross = 5,
};

struct Brush {
  bool null = true;
  ColorRef color = 0;
  int hatch = kHsNone;
  bool operator==(const Brush&) const = default;

  static Brush Solid(ColorRef color) { return Brush{false, color}; }
  static Brush Hatched(int hatch, ColorRef color) { return Brush{false, color, hatch}; }
  static Brush Hollow() { return Brush{}; }
};

}  // namespace platform::qt
