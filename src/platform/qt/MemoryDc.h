#pragma once
// An off-screen bitmap to draw into and copy to a window (GDI's memory DC with a compatible
// bitmap). Drawing goes through a QtDc opened with Begin and closed when it is destroyed; the
// image is then complete and can be blitted.

#include <QImage>
#include <memory>

#include "platform/qt/QtDc.h"
#include "platform/qt/Size.h"

namespace platform::qt {

class MemoryDc {
 public:
  MemoryDc() = default;
  // An opaque image of size logical pixels at the given device pixel ratio.
  explicit MemoryDc(Size size, qreal devicePixelRatio = 1.0);

  bool IsValid() const { return !image_.isNull(); }
  Size GetSize() const { return size_; }
  const QImage& Image() const { return image_; }

  // The DC to draw with; only one may be open at a time.
  std::unique_ptr<QtDc> Begin();
  // Copies the whole bitmap to (x, y) of dest.
  void BlitTo(Dc& dest, int x = 0, int y = 0) const;

 private:
  QImage image_;
  Size size_;
};

}  // namespace platform::qt
