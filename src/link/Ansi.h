#pragma once
// Conversions between the "ANSI" 8-bit texts of units and files (Windows-1252, whatever the
// user's locale) and UTF-16. One byte is one character: the five bytes Windows-1252 leaves
// unassigned map to the C1 code point of the same value, so every byte sequence round-trips.
// Characters that Windows-1252 cannot hold become '?'.

#include <string>
#include <string_view>

// Converts length bytes of text (up to its NUL when length is -1) into out.
void AnsiToWide(std::u16string& out, const char* text, int length);
std::u16string AnsiToWide(std::string_view text);

// Converts length characters of text (up to its NUL when length is -1) into out.
void WideToAnsi(std::string& out, const char16_t* text, int length);
std::string WideToAnsi(std::u16string_view text);
