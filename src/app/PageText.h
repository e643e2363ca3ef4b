#pragma once
// Texts several pages show the same way.

#include <cstdint>
#include <string>

// A frequency in Hz in decimal with "," before the last six and before the last three digits, at
// most two separators: 450125000 -> "450,125,000", 1234567890 -> "1234,567,890", 300000 -> "300,000".
std::string FormatHzWithCommas(uint32_t hz);

// The link rate of a channel spacing (in 6250 Hz steps) with a modulation index (0 DBPSK, 1 DQPSK,
// 2 D8PSK, 3 16QAM, 4 GMSK, 5 4FSK, 6 FBPSK): "%4.1f kbps" of steps x bits per symbol x 2400 / 1000.
std::string RateText(float steps, int modulation);
int BitsPerSymbol(int modulation);

// A number as an edit shows it, and an edit's text read as a 32-bit number (false when it is none).
std::u16string Decimal(int64_t v);
bool ParseNumber(const std::u16string& text, int& out);
