#include "app/VkcTrueColorImageList.h"

#include <QImage>

bool VkcTrueColorImageList::Create(const QImage& bitmap, int size, QRgb maskColour) {
  images_.clear();
  size_ = size;
  if (size <= 0 || bitmap.isNull() || bitmap.width() < size || bitmap.height() < size) return false;
  const QImage source = bitmap.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = maskColour | 0xFF000000u;
  for (int x = 0; x + size <= source.width(); x += size) {
    QImage tile = source.copy(x, 0, size, size);
    for (int row = 0; row < size; ++row) {
      auto* line = reinterpret_cast<QRgb*>(tile.scanLine(row));
      for (int col = 0; col < size; ++col)
        if ((line[col] | 0xFF000000u) == key) line[col] = 0;
    }
    images_.push_back(QPixmap::fromImage(tile));
  }
  return true;
}

bool VkcTrueColorImageList::Create(const QString& path, int size, QRgb maskColour) {
  return Create(QImage(path), size, maskColour);
}

QPixmap VkcTrueColorImageList::Image(int index) const {
  if (index < 0 || index >= Count()) return {};
  return images_[index];
}
