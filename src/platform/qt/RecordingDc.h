#pragma once
// A device context that draws nothing and records every call, for layout tests. Text is measured
// with fixed metrics independent of installed fonts: a character is round(0.6 x pixel size) wide
// and a line is pixel size + 2 high.

#include <functional>
#include <vector>

#include "platform/qt/Dc.h"
#include "platform/qt/DcRecord.h"

namespace platform::qt {

class RecordingDc : public Dc {
 public:
  explicit RecordingDc(DeviceCaps caps = {});

  const std::vector<DcRecord>& Records() const { return records_; }
  std::vector<DcRecord> Records(DcRecord::Op op) const;
  std::vector<DcRecord> Where(const std::function<bool(const DcRecord&)>& pred) const;
  void Clear() { records_.clear(); }
  // The texts drawn with ExtTextOut, in order.
  std::vector<std::u16string> Texts() const;

  static Size MeasureText(const Font& font, std::u16string_view text);

  void SaveDC() override;
  void RestoreDC() override;
  Pen SelectPen(const Pen& pen) override;
  Brush SelectBrush(const Brush& brush) override;
  Font SelectFont(const Font& font) override;
  ColorRef SetTextColor(ColorRef color) override;
  ColorRef SetBkColor(ColorRef color) override;
  BkMode SetBkMode(BkMode mode) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(std::span<const Point> points) override;
  void PolyBezier(std::span<const Point> points) override;
  void Rectangle(const Rect& rect) override;
  void Ellipse(const Rect& rect) override;
  void Polygon(std::span<const Point> points) override;
  void FillSolidRect(const Rect& rect, ColorRef color) override;
  void GradientFillRect(const Rect& rect, ColorRef from, ColorRef to, bool vertical) override;
  void DrawEdge(const Rect& rect, unsigned edge) override;
  void ExtTextOut(int x, int y, std::u16string_view text, const Rect* clip = nullptr) override;
  void DrawText(const Rect& rect, std::u16string_view text, unsigned format) override;
  Size GetTextExtent(std::u16string_view text) override;
  void SetClipRect(const Rect& rect) override;
  void ClearClip() override;
  void SetMapping(Size windowExt, Size viewportExt) override;
  void ResetMapping() override;
  void SetXorMode(bool on) override;
  void BitBlt(int x, int y, const QImage& image) override;
  void StretchImage(const Rect& dest, const QImage& image) override;
  DeviceCaps GetDeviceCaps() const override { return caps_; }

  // State in effect now, for assertions.
  const Pen& CurrentPen() const { return state_.pen; }
  const Font& CurrentFont() const { return state_.font; }
  BkMode CurrentBkMode() const { return state_.bkMode; }
  bool IsClipped() const { return state_.clipped; }
  size_t SaveDepth() const { return saved_.size(); }

 private:
  struct State {
    Pen pen;
    Brush brush = Brush::Solid(0xFFFFFF);
    Font font;
    ColorRef textColor = 0;
    ColorRef bkColor = 0xFFFFFF;
    BkMode bkMode = BkMode::Opaque;
    Point pos;
    bool clipped = false;
    Rect clip;
    bool mapped = false;
    Size windowExt, viewportExt;
    bool xorMode = false;
  };
  DcRecord& Add(DcRecord::Op op);

  DeviceCaps caps_;
  State state_;
  std::vector<State> saved_;
  std::vector<DcRecord> records_;
};

}  // namespace platform::qt
