#pragma once
// A fixed list of square 32-bit images with a mask, cut side by side from one bitmap.

#include <QList>
#include <QPixmap>
#include <QString>

class VkcTrueColorImageList {
 public:
  // Cuts bitmap into size x size tiles from the left; pixels of maskColour become transparent.
  // False when the bitmap is empty or narrower than one tile (the list is then empty).
  bool Create(const QImage& bitmap, int size, QRgb maskColour);
  // Same from an image file or resource path.
  bool Create(const QString& path, int size, QRgb maskColour);

  int Count() const { return static_cast<int>(images_.size()); }
  QPixmap Image(int index) const;
  int ImageSize() const { return size_; }

 private:
  QList<QPixmap> images_;
  int size_ = 0;
};
