#pragma once
// A font by its pixel height in logical units. Sizes are never given in points to the painter:
// a point size is turned into pixels once, at the screen's resolution, and a printer's mapping
// then scales the whole drawing (so its resolution is applied exactly once).

#include <string>

namespace platform::qt {

struct Font {
  std::string face = "Microsoft Sans Serif";
  int pixelSize = 13;
  int weight = 400;      // 400 normal, 700 bold
  bool italic = false;
  bool underline = false;
  int escapement = 0;    // tenths of a degree, counter-clockwise; 900 writes upwards
  int averageWidth = 0;  // wanted average character width in pixels; 0 keeps the natural one
  bool operator==(const Font&) const = default;

  // Pixel height of a point size given in tenths of a point, as MulDiv(tenths, dpi, 720):
  // 80 gives 11 and 100 gives 13 at 96 dpi.
  static int PointsToPixels(int tenths, int dpi = 96) {
    const long long num = static_cast<long long>(tenths) * dpi;
    return static_cast<int>(num >= 0 ? (num + 360) / 720 : (num - 360) / 720);
  }
  static Font FromPointSize(int tenths, const std::string& face, int dpi = 96) {
    Font f;
    f.face = face;
    f.pixelSize = PointsToPixels(tenths, dpi);
    return f;
  }
};

}  // namespace platform::qt
