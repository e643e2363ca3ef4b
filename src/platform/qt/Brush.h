#pragma once
// A fill brush: solid in a colour, or null (shapes are outlined only).

#include "platform/qt/ColorRef.h"

namespace platform::qt {

struct Brush {
  bool null = true;
  ColorRef color = 0;
  bool operator==(const Brush&) const = default;

  static Brush Solid(ColorRef color) { return Brush{false, color}; }
  static Brush Hollow() { return Brush{}; }
};

}  // namespace platform::qt
