#pragma once
// What GetDeviceCaps reports: resolution and the drawable area in device pixels.

namespace platform::qt {

struct DeviceCaps {
  int dpiX = 96;
  int dpiY = 96;
  int widthPx = 0;
  int heightPx = 0;
  bool operator==(const DeviceCaps&) const = default;
};

}  // namespace platform::qt
