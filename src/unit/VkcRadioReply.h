#pragma once
// Parsing of the unit's replies to single-value queries: "value@NN" (the channel has already cut
// the echo and the closing "\r\nCLI>"). Numbers are read in the "C" locale, ASCII only.

#include <cstdint>
#include <string>
#include <string_view>

struct VkcRadioReply {
  std::string value;  // the text before the result code, or the whole reply when it has none
  int code = 0;       // the result code after "@"; 0 when the reply carries none
};

// Splits a reply at its first "@" that is followed by a digit, wherever it stands: a reply made of
// the code alone ("@03") is a failure with an empty value, not a success. The code is read whole.
VkcRadioReply ParseRadioReply(std::string_view reply);

// The leading decimal integer of text as strtol reads it: white space, an optional sign, digits;
// 0 when there are none. Saturates at the int range.
int ParseLeadingInt(std::string_view text);

// A frequency in Hz: the leading real number, times 1e6 when the text holds "MHZ" in any case,
// rounded to the nearest integer. 0 when no number leads the text; saturates at the int64 range.
int64_t ParseFrequencyHz(std::string_view text);

// text up to its first "\r\n" (all of it when there is none).
std::string CutAtLineEnd(std::string_view text);
