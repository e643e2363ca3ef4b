// Firmware version and unit id texts as units send them: every scan stays inside the text, and
// the wide and narrow readings agree for ASCII text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "link/Ansi.h"
#include "link/FirmwareVersion.h"
#include "link/UnitId.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exact-size copy, so reading one byte past the text is caught.
  std::string text(reinterpret_cast<const char*>(data), size);
  const std::string_view narrow(text);
  const std::u16string wide = AnsiToWide(narrow);
  if (WideToAnsi(wide) != text) std::abort();

  FirmwareVersion a(1, 2, 3), b(1, 2, 3);
  a.ParseRev(narrow);
  b.ParseRev(std::u16string_view(wide));
  const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
  if (ascii && !(a == b)) std::abort();
  a.ParseDotted(narrow);
  (void)(a >= b);
  (void)(a > b);

  UnitId x, y;
  x.Parse(narrow);
  y.Parse(std::u16string_view(wide));
  if (ascii && !(x == y)) std::abort();
  UnitId z;
  z.Parse(x.ToString("-"));
  if (!(z == x)) std::abort();
  return 0;
}
