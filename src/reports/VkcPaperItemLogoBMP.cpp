#include "reports/VkcPaperItemLogoBMP.h"

#include <QLinearGradient>
#include <QPainter>

VkcPaperItemLogoBMP::VkcPaperItemLogoBMP(int resourceId)
    : resourceId_(resourceId), bitmap_(LoadBitmap(resourceId)) {
  if (!bitmap_.isNull()) SetSizeValue({bitmap_.width(), bitmap_.height()});
}

QImage VkcPaperItemLogoBMP::LoadBitmap(int resourceId) {
  if (resourceId != kReportLogo) return {};
  // A plain mark of our own: three arcs of a radio wave beside the program's name.
  QImage image(160, 48, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient band(0, 0, 0, 48);
  band.setColorAt(0, QColor(40, 80, 140));
  band.setColorAt(1, QColor(20, 50, 100));
  p.setBrush(band);
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(QRectF(1, 1, 158, 46), 6, 6);
  p.setPen(QPen(Qt::white, 2.5));
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < 3; ++i) {
    const int r = 6 + i * 6;
    p.drawArc(QRectF(18 - r, 24 - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
  }
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(18, 24), 3, 3);
  QFont font("DejaVu Sans");
  font.setPixelSize(20);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(44, 0, 112, 48), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Modulink"));
  return image;
}

platform::qt::Size VkcPaperItemLogoBMP::GetSize(platform::qt::Dc& dc) {
  return {bitmap_.width(), bitmap_.height()};
}

void VkcPaperItemLogoBMP::Draw(platform::qt::Dc& dc) {
  if (!bitmap_.isNull()) dc.StretchImage(GetRect(), bitmap_);
}

std::unique_ptr<VkcPaperItem> VkcPaperItemLogoBMP::Clone() const {
  return std::make_unique<VkcPaperItemLogoBMP>(resourceId_);
}
