#include "platform/qt/MemoryDc.h"

#include <algorithm>
#include <cmath>

namespace platform::qt {

MemoryDc::MemoryDc(Size size, qreal devicePixelRatio) : size_(size) {
  if (size.cx <= 0 || size.cy <= 0) return;
  const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  image_ = QImage(std::max(1, static_cast<int>(std::ceil(size.cx * dpr))),
                  std::max(1, static_cast<int>(std::ceil(size.cy * dpr))), QImage::Format_RGB32);
  image_.setDevicePixelRatio(dpr);
  image_.fill(Qt::white);
}

std::unique_ptr<QtDc> MemoryDc::Begin() {
  if (image_.isNull()) return nullptr;
  return std::make_unique<QtDc>(&image_);
}

void MemoryDc::BlitTo(Dc& dest, int x, int y) const {
  if (!image_.isNull()) dest.BitBlt(x, y, image_);
}

}  // namespace platform::qt
