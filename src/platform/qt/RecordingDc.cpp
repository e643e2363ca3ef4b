#include "platform/qt/RecordingDc.h"

#include <cmath>

namespace platform::qt {

RecordingDc::RecordingDc(DeviceCaps caps) : caps_(caps) {}

std::vector<DcRecord> RecordingDc::Records(DcRecord::Op op) const {
  return Where([op](const DcRecord& r) { return r.op == op; });
}

std::vector<DcRecord> RecordingDc::Where(const std::function<bool(const DcRecord&)>& pred) const {
  std::vector<DcRecord> out;
  for (const DcRecord& r : records_) {
    if (pred(r)) out.push_back(r);
  }
  return out;
}

std::vector<std::u16string> RecordingDc::Texts() const {
  std::vector<std::u16string> out;
  for (const DcRecord& r : records_) {
    if (r.op == DcRecord::Op::TextOut) out.push_back(r.text);
  }
  return out;
}

Size RecordingDc::MeasureText(const Font& font, std::u16string_view text) {
  const int charWidth = static_cast<int>(std::lround(0.6 * font.pixelSize));
  return {static_cast<int>(text.size()) * charWidth, font.pixelSize + 2};
}

DcRecord& RecordingDc::Add(DcRecord::Op op) {
  DcRecord& r = records_.emplace_back();
  r.op = op;
  r.pen = state_.pen;
  r.brush = state_.brush;
  r.font = state_.font;
  r.textColor = state_.textColor;
  r.clipped = state_.clipped;
  r.clip = state_.clip;
  return r;
}

void RecordingDc::SaveDC() {
  saved_.push_back(state_);
  Add(DcRecord::Op::SaveDC);
}

void RecordingDc::RestoreDC() {
  if (!saved_.empty()) {
    state_ = saved_.back();
    saved_.pop_back();
  }
  Add(DcRecord::Op::RestoreDC);
}

Pen RecordingDc::SelectPen(const Pen& pen) {
  Pen old = std::exchange(state_.pen, pen);
  Add(DcRecord::Op::SelectPen);
  return old;
}

Brush RecordingDc::SelectBrush(const Brush& brush) {
  Brush old = std::exchange(state_.brush, brush);
  Add(DcRecord::Op::SelectBrush);
  return old;
}

Font RecordingDc::SelectFont(const Font& font) {
  Font old = std::exchange(state_.font, font);
  Add(DcRecord::Op::SelectFont);
  return old;
}

ColorRef RecordingDc::SetTextColor(ColorRef color) {
  ColorRef old = std::exchange(state_.textColor, color);
  Add(DcRecord::Op::SetTextColor).color = color;
  return old;
}

ColorRef RecordingDc::SetBkColor(ColorRef color) {
  ColorRef old = std::exchange(state_.bkColor, color);
  Add(DcRecord::Op::SetBkColor).color = color;
  return old;
}

BkMode RecordingDc::SetBkMode(BkMode mode) {
  BkMode old = std::exchange(state_.bkMode, mode);
  Add(DcRecord::Op::SetBkMode).flags = mode == BkMode::Opaque ? 1u : 0u;
  return old;
}

void RecordingDc::MoveTo(int x, int y) {
  state_.pos = {x, y};
  Add(DcRecord::Op::MoveTo).points = {{x, y}};
}

void RecordingDc::LineTo(int x, int y) {
  Add(DcRecord::Op::LineTo).points = {state_.pos, {x, y}};
  state_.pos = {x, y};
}

void RecordingDc::Polyline(std::span<const Point> points) {
  Add(DcRecord::Op::Polyline).points.assign(points.begin(), points.end());
}

void RecordingDc::PolyBezier(std::span<const Point> points) {
  Add(DcRecord::Op::PolyBezier).points.assign(points.begin(), points.end());
}

void RecordingDc::Rectangle(const Rect& rect) { Add(DcRecord::Op::Rectangle).rect = rect; }
void RecordingDc::Ellipse(const Rect& rect) { Add(DcRecord::Op::Ellipse).rect = rect; }
void RecordingDc::Polygon(std::span<const Point> points) {
  Add(DcRecord::Op::Polygon).points.assign(points.begin(), points.end());
}

void RecordingDc::FillSolidRect(const Rect& rect, ColorRef color) {
  DcRecord& r = Add(DcRecord::Op::FillSolidRect);
  r.rect = rect;
  r.color = color;
}

void RecordingDc::GradientFillRect(const Rect& rect, ColorRef from, ColorRef to, bool vertical) {
  DcRecord& r = Add(DcRecord::Op::GradientFill);
  r.rect = rect;
  r.color = from;
  r.color2 = to;
  r.flags = vertical ? 1u : 0u;
}

void RecordingDc::DrawEdge(const Rect& rect, unsigned edge) {
  DcRecord& r = Add(DcRecord::Op::DrawEdge);
  r.rect = rect;
  r.flags = edge;
}

void RecordingDc::ExtTextOut(int x, int y, std::u16string_view text, const Rect* clip) {
  DcRecord& r = Add(DcRecord::Op::TextOut);
  r.points = {{x, y}};
  r.text = std::u16string(text);
  if (clip) {
    r.rect = *clip;
    r.flags = 1;  // clipped to its own rectangle
  }
}

void RecordingDc::DrawText(const Rect& rect, std::u16string_view text, unsigned format) {
  DcRecord& r = Add(DcRecord::Op::DrawText);
  r.rect = rect;
  r.text = std::u16string(text);
  r.flags = format;
}

Size RecordingDc::GetTextExtent(std::u16string_view text) { return MeasureText(state_.font, text); }

void RecordingDc::SetClipRect(const Rect& rect) {
  state_.clipped = true;
  state_.clip = rect;
  Add(DcRecord::Op::SetClip).rect = rect;
}

void RecordingDc::ClearClip() {
  state_.clipped = false;
  state_.clip = {};
  Add(DcRecord::Op::ClearClip);
}

void RecordingDc::SetMapping(Size windowExt, Size viewportExt) {
  state_.mapped = true;
  state_.windowExt = windowExt;
  state_.viewportExt = viewportExt;
  DcRecord& r = Add(DcRecord::Op::SetMapping);
  r.size1 = windowExt;
  r.size2 = viewportExt;
}

void RecordingDc::ResetMapping() {
  state_.mapped = false;
  Add(DcRecord::Op::ResetMapping);
}

void RecordingDc::SetXorMode(bool on) {
  state_.xorMode = on;
  Add(DcRecord::Op::SetXorMode).flags = on ? 1u : 0u;
}

void RecordingDc::BitBlt(int x, int y, const QImage&) { Add(DcRecord::Op::BitBlt).points = {{x, y}}; }

void RecordingDc::StretchImage(const Rect& dest, const QImage&) {
  Add(DcRecord::Op::StretchImage).rect = dest;
}

}  // namespace platform::qt
