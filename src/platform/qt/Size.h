#pragma once
// An extent in logical units, as GDI's SIZE.

namespace platform::qt {

struct Size {
  int cx = 0;
  int cy = 0;
  bool operator==(const Size&) const = default;
};

}  // namespace platform::qt
