#pragma once
// A rectangle with GDI extents: right and bottom are exclusive, so width = right - left.

#include "platform/qt/Point.h"

namespace platform::qt {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool operator==(const Rect&) const = default;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsRectEmpty() const { return Width() <= 0 || Height() <= 0; }
  bool PtInRect(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Point TopLeft() const { return {left, top}; }
  Point BottomRight() const { return {right, bottom}; }
  Rect Deflated(int d) const { return {left + d, top + d, right - d, bottom - d}; }
  Rect Inflated(int d) const { return Deflated(-d); }
  Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
};

}  // namespace platform::qt
