#include "platform/qt/QtDc.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QPaintDevice>
#include <QPainterPath>
#include <QPalette>
#include <QPolygon>
#include <QtWidgets/qdrawutil.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform::qt {
namespace {

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::PenStyle ToQtStyle(int style) {
  switch (style) {
    case kPsDash: return Qt::DashLine;
    case kPsDot: return Qt::DotLine;
    case kPsDashDot: return Qt::DashDotLine;
    case kPsDashDotDot: return Qt::DashDotDotLine;
    case kPsNull: return Qt::NoPen;
    default: return Qt::SolidLine;
  }
}

QPen ToQPen(const Pen& pen) {
  if (pen.style == kPsNull) return QPen(Qt::NoPen);
  const QColor color = ToQColor(pen.color);
  if (pen.geometric) {
    return QPen(QBrush(color), std::max(pen.width, 1), ToQtStyle(pen.style), Qt::RoundCap,
                Qt::RoundJoin);
  }
  // Width 0 is one device pixel at any mapping; a wider cosmetic pen cannot dash.
  const int width = pen.width <= 0 ? 0 : pen.width;
  const Qt::PenStyle style = pen.width > 1 ? Qt::SolidLine : ToQtStyle(pen.style);
  return QPen(QBrush(color), width, style, Qt::FlatCap, Qt::MiterJoin);
}

}  // namespace

QtDc::QtDc(QPainter& painter) : painter_(&painter) {
  ApplyPen();
  ApplyBrush();
  ApplyFont();
}

QtDc::QtDc(QPaintDevice* device)
    : owned_(std::make_unique<QPainter>(device)), painter_(owned_.get()) {
  ApplyPen();
  ApplyBrush();
  ApplyFont();
}

QtDc::~QtDc() {
  if (owned_ && owned_->isActive()) owned_->end();
}

QFont QtDc::ToQFont(const Font& font, QPaintDevice* device) {
  QFont f(QString::fromStdString(font.face));
  f.setPixelSize(std::max(1, font.pixelSize));
  f.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight <= 0 ? 400 : font.weight, 1, 1000)));
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  if (font.averageWidth > 0) {
    const int natural = QFontMetrics(f, device).averageCharWidth();
    if (natural > 0) {
      f.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * font.averageWidth / natural)), 1,
                              4000));
    }
  }
  return f;
}

void QtDc::ApplyPen() { painter_->setPen(ToQPen(state_.pen)); }

void QtDc::ApplyBrush() {
  if (state_.brush.null) {
    painter_->setBrush(Qt::NoBrush);
    return;
  }
  Qt::BrushStyle style = Qt::SolidPattern;
  switch (state_.brush.hatch) {
    case kHsHorizontal: style = Qt::HorPattern; break;
    case kHsVertical: style = Qt::VerPattern; break;
    case kHsFDiagonal: style = Qt::FDiagPattern; break;
    case kHsBDiagonal: style = Qt::BDiagPattern; break;
    case kHsCross: style = Qt::CrossPattern; break;
    case kHsDiagCross: style = Qt::DiagCrossPattern; break;
    default: break;
  }
  painter_->setBrush(QBrush(ToQColor(state_.brush.color), style));
}

void QtDc::ApplyFont() { painter_->setFont(ToQFont(state_.font, painter_->device())); }

void QtDc::BeginText() {
  painter_->setPen(QPen(ToQColor(state_.textColor)));
  painter_->setBackgroundMode(state_.bkMode == BkMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
  painter_->setBackground(QBrush(ToQColor(state_.bkColor)));
}

void QtDc::SaveDC() {
  saved_.push_back(state_);
  painter_->save();
}

void QtDc::RestoreDC() {
  if (saved_.empty()) return;
  state_ = saved_.back();
  saved_.pop_back();
  painter_->restore();
}

Pen QtDc::SelectPen(const Pen& pen) {
  Pen old = state_.pen;
  state_.pen = pen;
  ApplyPen();
  return old;
}

Brush QtDc::SelectBrush(const Brush& brush) {
  Brush old = state_.brush;
  state_.brush = brush;
  ApplyBrush();
  return old;
}

Font QtDc::SelectFont(const Font& font) {
  Font old = state_.font;
  if (!(font == old)) {
    state_.font = font;
    ApplyFont();
  }
  return old;
}

ColorRef QtDc::SetTextColor(ColorRef color) { return std::exchange(state_.textColor, color); }
ColorRef QtDc::SetBkColor(ColorRef color) {
  painter_->setBackground(QBrush(ToQColor(color)));
  return std::exchange(state_.bkColor, color);
}
BkMode QtDc::SetBkMode(BkMode mode) {
  // Opaque mode also fills the gaps of dashed pens with the back colour, as in GDI.
  painter_->setBackgroundMode(mode == BkMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
  return std::exchange(state_.bkMode, mode);
}

void QtDc::MoveTo(int x, int y) { state_.pos = {x, y}; }

void QtDc::LineTo(int x, int y) {
  // GDI draws from the start pixel up to, not including, the end pixel. Qt's aliased lines
  // cover the lower coordinate and leave out the higher one whatever the direction, so a line
  // running leftwards or upwards is shifted one pixel along its major direction.
  int x0 = state_.pos.x;
  int y0 = state_.pos.y;
  int x1 = x;
  int y1 = y;
  const int dx = x1 - x0;
  const int dy = y1 - y0;
  if (std::abs(dx) >= std::abs(dy) && dx < 0) {
    ++x0;
    ++x1;
  } else if (std::abs(dy) > std::abs(dx) && dy < 0) {
    ++y0;
    ++y1;
  }
  painter_->drawLine(x0, y0, x1, y1);
  state_.pos = {x, y};
}

void QtDc::Polyline(std::span<const Point> points) {
  if (points.size() < 2) return;
  QPolygon poly(static_cast<int>(points.size()));
  for (size_t i = 0; i < points.size(); ++i) poly.setPoint(static_cast<int>(i), points[i].x, points[i].y);
  painter_->drawPolyline(poly);
}

void QtDc::PolyBezier(std::span<const Point> points) {
  if (points.size() < 4) return;
  QPainterPath path(QPointF(points[0].x, points[0].y));
  for (size_t i = 1; i + 2 < points.size(); i += 3) {
    path.cubicTo(QPointF(points[i].x, points[i].y), QPointF(points[i + 1].x, points[i + 1].y),
                 QPointF(points[i + 2].x, points[i + 2].y));
  }
  painter_->save();
  painter_->setBrush(Qt::NoBrush);
  painter_->drawPath(path);
  painter_->restore();
}

void QtDc::Rectangle(const Rect& rect) {
  if (rect.Width() < 1 || rect.Height() < 1) return;
  // QPainter outlines width + 1 pixels; GDI keeps the outline inside the rectangle.
  painter_->drawRect(QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
}

void QtDc::Ellipse(const Rect& rect) {
  if (rect.Width() < 1 || rect.Height() < 1) return;
  painter_->drawEllipse(QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
}

void QtDc::Polygon(std::span<const Point> points) {
  if (points.size() < 2) return;
  QPolygon polygon;
  polygon.reserve(static_cast<int>(points.size()));
  for (const Point& p : points) polygon << QPoint(p.x, p.y);
  painter_->drawPolygon(polygon);
}

void QtDc::FillSolidRect(const Rect& rect, ColorRef color) {
  if (rect.IsRectEmpty()) return;
  painter_->fillRect(ToQRect(rect), ToQColor(color));
}

void QtDc::GradientFillRect(const Rect& rect, ColorRef from, ColorRef to, bool vertical) {
  if (rect.IsRectEmpty()) return;
  QLinearGradient g = vertical ? QLinearGradient(0, rect.top, 0, rect.bottom)
                               : QLinearGradient(rect.left, 0, rect.right, 0);
  g.setColorAt(0.0, ToQColor(from));
  g.setColorAt(1.0, ToQColor(to));
  painter_->fillRect(ToQRect(rect), QBrush(g));
}

void QtDc::DrawEdge(const Rect& rect, unsigned edge) {
  if (rect.IsRectEmpty()) return;
  painter_->save();
  qDrawWinPanel(painter_, ToQRect(rect), QApplication::palette(), edge == kEdgeSunken, nullptr);
  painter_->restore();
}

void QtDc::ExtTextOut(int x, int y, std::u16string_view text, const Rect* clip) {
  if (text.empty()) return;
  painter_->save();
  if (clip) painter_->setClipRect(ToQRect(*clip), Qt::IntersectClip);
  BeginText();
  const int ascent = painter_->fontMetrics().ascent();
  if (state_.font.escapement != 0) {
    painter_->translate(x, y);
    painter_->rotate(-state_.font.escapement / 10.0);
    painter_->drawText(0, ascent, ToQString(text));
  } else {
    painter_->drawText(x, y + ascent, ToQString(text));
  }
  painter_->restore();
}

void QtDc::DrawText(const Rect& rect, std::u16string_view text, unsigned format) {
  if (text.empty()) return;
  int flags = 0;
  if (format & kDtCenter) flags |= Qt::AlignHCenter;
  else if (format & kDtRight) flags |= Qt::AlignRight;
  else flags |= Qt::AlignLeft;
  if (format & kDtVCenter) flags |= Qt::AlignVCenter;
  else if (format & kDtBottom) flags |= Qt::AlignBottom;
  else flags |= Qt::AlignTop;
  if (format & kDtSingleLine) flags |= Qt::TextSingleLine;
  if (format & kDtWordBreak) flags |= Qt::TextWordWrap;
  painter_->save();
  if (!(format & kDtNoClip)) painter_->setClipRect(ToQRect(rect), Qt::IntersectClip);
  BeginText();
  painter_->drawText(ToQRect(rect), flags | Qt::TextDontClip, ToQString(text));
  painter_->restore();
}

Size QtDc::GetTextExtent(std::u16string_view text) {
  const QFontMetrics fm = painter_->fontMetrics();
  return {fm.horizontalAdvance(ToQString(text)), fm.height()};
}

void QtDc::SetClipRect(const Rect& rect) { painter_->setClipRect(ToQRect(rect)); }
void QtDc::ClearClip() { painter_->setClipping(false); }

void QtDc::SetMapping(Size windowExt, Size viewportExt) {
  if (windowExt.cx == 0 || windowExt.cy == 0) return;
  painter_->setWindow(0, 0, windowExt.cx, windowExt.cy);
  painter_->setViewport(0, 0, viewportExt.cx, viewportExt.cy);
}

void QtDc::ResetMapping() { painter_->setViewTransformEnabled(false); }

void QtDc::SetXorMode(bool on) {
  painter_->setCompositionMode(on ? QPainter::RasterOp_SourceXorDestination
                                  : QPainter::CompositionMode_SourceOver);
}

void QtDc::BitBlt(int x, int y, const QImage& image) { painter_->drawImage(QPoint(x, y), image); }

void QtDc::StretchImage(const Rect& dest, const QImage& image) {
  if (dest.IsRectEmpty()) return;
  painter_->drawImage(ToQRect(dest), image);
}

DeviceCaps QtDc::GetDeviceCaps() const {
  const QPaintDevice* d = painter_->device();
  if (!d) return {};
  return {d->logicalDpiX(), d->logicalDpiY(), d->width(), d->height()};
}

}  // namespace platform::qt
