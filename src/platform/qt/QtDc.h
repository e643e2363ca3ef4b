#pragma once
// The device context over a QPainter: on a widget, an image or a printer.

#include <QPainter>
#include <memory>
#include <vector>

#include "platform/qt/Dc.h"

class QPaintDevice;

namespace platform::qt {

class QtDc : public Dc {
 public:
  // Draws with a painter that is already active on its device.
  explicit QtDc(QPainter& painter);
  // Opens its own painter on the device and ends it when destroyed.
  explicit QtDc(QPaintDevice* device);
  ~QtDc() override;
  QtDc(const QtDc&) = delete;
  QtDc& operator=(const QtDc&) = delete;

  QPainter& Painter() { return *painter_; }

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
  DeviceCaps GetDeviceCaps() const override;

  static QFont ToQFont(const Font& font, QPaintDevice* device);

 private:
  struct State {
    Pen pen;
    Brush brush;
    Font font;
    ColorRef textColor = 0;
    ColorRef bkColor = 0xFFFFFF;
    BkMode bkMode = BkMode::Opaque;
    Point pos;
  };
  void ApplyPen();
  void ApplyBrush();
  void ApplyFont();
  void BeginText();

  std::unique_ptr<QPainter> owned_;
  QPainter* painter_;
  State state_;
  std::vector<State> saved_;
};

}  // namespace platform::qt
