#pragma once
// A point in logical units, as GDI's POINT.

namespace platform::qt {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

}  // namespace platform::qt
