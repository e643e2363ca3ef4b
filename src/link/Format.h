#pragma once
// printf-style formatting into a std::string of exactly the needed length. Callers that take a
// format are marked with the format attribute, so the compiler checks every call.

#include <cstdarg>
#include <string>

[[gnu::format(printf, 1, 2)]] std::string StrPrintf(const char* format, ...);
std::string StrVPrintf(const char* format, va_list args);
