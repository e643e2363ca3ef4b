#pragma once
// Conversions between the UTF-8 the program formats with and the UTF-16 it stores and shows.
// Malformed input never fails: a bad UTF-8 sequence or a lone surrogate becomes U+FFFD.

#include <string>
#include <string_view>

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
