#pragma once
// One call recorded by a RecordingDc, with the state that was in effect for it.

#include <string>
#include <vector>

#include "platform/qt/Brush.h"
#include "platform/qt/ColorRef.h"
#include "platform/qt/Font.h"
#include "platform/qt/Pen.h"
#include "platform/qt/Point.h"
#include "platform/qt/Rect.h"
#include "platform/qt/Size.h"

namespace platform::qt {

struct DcRecord {
  enum class Op {
    SaveDC, RestoreDC, SelectPen, SelectBrush, SelectFont, SetTextColor, SetBkColor, SetBkMode,
    MoveTo, LineTo, Polyline, PolyBezier, Rectangle, Ellipse, Polygon, FillSolidRect, GradientFill, DrawEdge,
    TextOut, DrawText, SetClip, ClearClip, SetMapping, ResetMapping, SetXorMode, BitBlt,
    StretchImage,
  };
  Op op;
  std::vector<Point> points;  // LineTo: from and to; Polyline, PolyBezier, Polygon: all; MoveTo, TextOut, BitBlt: one
  Rect rect;                  // shapes, fills, DrawText, SetClip, a TextOut's own clip
  std::u16string text;
  Pen pen;                    // in effect
  Brush brush;                // in effect
  Font font;                  // in effect
  ColorRef textColor = 0;     // in effect
  ColorRef color = 0;         // FillSolidRect, gradient start, SetTextColor, SetBkColor
  ColorRef color2 = 0;        // gradient end
  unsigned flags = 0;         // DrawText format, edge type, gradient vertical, modes
  bool clipped = false;       // a clip rectangle was in effect
  Rect clip;                  // the clip in effect (a TextOut's own clip not included)
  Size size1, size2;          // SetMapping window and viewport extents
};

}  // namespace platform::qt
