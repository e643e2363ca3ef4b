#pragma once
// A device context with GDI's semantics, drawn through by everything that paints: a window, an
// off-screen image, a printer, or a recorder in tests. Coordinates are logical units; text is
// anchored at its top-left corner; rectangles exclude their right and bottom edges.

#include <span>
#include <string_view>

#include "platform/qt/Brush.h"
#include "platform/qt/ColorRef.h"
#include "platform/qt/DeviceCaps.h"
#include "platform/qt/Font.h"
#include "platform/qt/Pen.h"
#include "platform/qt/Point.h"
#include "platform/qt/Rect.h"
#include "platform/qt/Size.h"

class QImage;

namespace platform::qt {

enum class BkMode { Transparent, Opaque };

// DrawEdge kinds (GDI's EDGE_*); the whole border is drawn.
enum EdgeType : unsigned { kEdgeRaised = 5, kEdgeSunken = 10 };

// DrawText format flags, with GDI's values.
enum TextFormat : unsigned {
  kDtLeft = 0x0,
  kDtTop = 0x0,
  kDtCenter = 0x1,
  kDtRight = 0x2,
  kDtVCenter = 0x4,
  kDtBottom = 0x8,
  kDtWordBreak = 0x10,
  kDtSingleLine = 0x20,
  kDtNoClip = 0x100,
};

class Dc {
 public:
  virtual ~Dc() = default;

  // Save and restore the whole state: objects, colours, modes, clip, mapping, current position.
  virtual void SaveDC() = 0;
  virtual void RestoreDC() = 0;

  // Each selection returns what was selected before, so it can be put back.
  virtual Pen SelectPen(const Pen& pen) = 0;
  virtual Brush SelectBrush(const Brush& brush) = 0;
  virtual Font SelectFont(const Font& font) = 0;
  virtual ColorRef SetTextColor(ColorRef color) = 0;
  virtual ColorRef SetBkColor(ColorRef color) = 0;
  virtual BkMode SetBkMode(BkMode mode) = 0;

  virtual void MoveTo(int x, int y) = 0;
  // Draws from the current position with the pen, leaving out the end pixel; moves there.
  virtual void LineTo(int x, int y) = 0;
  virtual void Polyline(std::span<const Point> points) = 0;
  // 3n + 1 points: start, then two control points and an end point per segment.
  virtual void PolyBezier(std::span<const Point> points) = 0;
  // Outline with the pen inside [left, right) x [top, bottom), interior with the brush.
  virtual void Rectangle(const Rect& rect) = 0;
  // The ellipse inscribed in rect, outlined with the pen and filled with the brush.
  virtual void Ellipse(const Rect& rect) = 0;
  // A closed polygon, outlined with the pen and filled with the brush.
  virtual void Polygon(std::span<const Point> points) = 0;
  virtual void FillSolidRect(const Rect& rect, ColorRef color) = 0;
  // Two-colour linear gradient: left to right, or top to bottom when vertical.
  virtual void GradientFillRect(const Rect& rect, ColorRef from, ColorRef to, bool vertical) = 0;
  virtual void DrawEdge(const Rect& rect, unsigned edge) = 0;

  // Text with its top-left at (x, y) (rotated about that point by the font's escapement), in the
  // text colour; clipped to clip when one is given.
  virtual void ExtTextOut(int x, int y, std::u16string_view text, const Rect* clip = nullptr) = 0;
  virtual void DrawText(const Rect& rect, std::u16string_view text, unsigned format) = 0;
  // Unrotated extent of a single line in the selected font.
  virtual Size GetTextExtent(std::u16string_view text) = 0;

  virtual void SetClipRect(const Rect& rect) = 0;
  virtual void ClearClip() = 0;
  // Anisotropic mapping: logical windowExt maps onto viewportExt device units from the origin.
  virtual void SetMapping(Size windowExt, Size viewportExt) = 0;
  virtual void ResetMapping() = 0;
  // Pen drawing XORs the destination (raster targets only).
  virtual void SetXorMode(bool on) = 0;

  virtual void BitBlt(int x, int y, const QImage& image) = 0;
  virtual void StretchImage(const Rect& dest, const QImage& image) = 0;

  virtual DeviceCaps GetDeviceCaps() const = 0;
};

}  // namespace platform::qt
