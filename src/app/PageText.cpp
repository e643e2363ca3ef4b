#include "app/PageText.h"

#include <cstdint>
#include <cstdio>

#include "app/VkcDataExchange.h"
#include "link/Utf.h"

std::string FormatHzWithCommas(uint32_t hz) {
  const std::string digits = std::to_string(hz);
  std::string out = digits;
  // From the right, so the first insertion does not move the second's place.
  if (digits.size() > 3) out.insert(digits.size() - 3, ",");
  if (digits.size() > 6) out.insert(digits.size() - 6, ",");
  return out;
}

int BitsPerSymbol(int modulation) {
  switch (modulation) {
    case 1:  // DQPSK
    case 5:  // 4FSK
      return 2;
    case 2:  // D8PSK
      return 3;
    case 3:  // 16QAM
      return 4;
    default:  // DBPSK, GMSK, FBPSK and anything else
      return 1;
  }
}

std::string RateText(float steps, int modulation) {
  // The product is a single-precision value before the division, as the unit's tools compute it.
  const float product = steps * static_cast<float>(BitsPerSymbol(modulation)) * 2400.0f;
  char text[32];
  std::snprintf(text, sizeof text, "%4.1f kbps", static_cast<double>(product / 1000.0f));
  return text;
}

std::u16string Decimal(int64_t v) { return Utf8ToUtf16(std::to_string(v)); }

bool ParseNumber(const std::u16string& text, int& out) {
  int64_t v = 0;
  if (!VkcDataExchange::ParseInt(text, v) || v < INT32_MIN || v > INT32_MAX) return false;
  out = static_cast<int>(v);
  return true;
}
