#pragma once
// Colours as GDI's COLORREF: 0x00BBGGRR. Converted to Qt colours only at the Qt boundary.

#include <QColor>
#include <cstdint>

namespace platform::qt {

using ColorRef = std::uint32_t;

constexpr ColorRef Rgb(int r, int g, int b) {
  return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(ColorRef c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(ColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(ColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }

inline QColor ToQColor(ColorRef c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline ColorRef FromQColor(const QColor& c) { return Rgb(c.red(), c.green(), c.blue()); }

}  // namespace platform::qt
