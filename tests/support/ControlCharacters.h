#pragma once
// The control characters no value may carry into a command line, and the check that what reached
// a port holds none beyond the line framing of the commands themselves (CR and LF).

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

inline std::vector<char> ControlCharacters() {
  std::vector<char> out;
  for (int c = 0; c < 0x20; ++c) out.push_back(static_cast<char>(c));
  out.push_back('\x7F');
  return out;
}

inline bool OnlyLineFraming(std::string_view sent) {
  return std::none_of(sent.begin(), sent.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u < 0x20 || u == 0x7F) && c != '\r' && c != '\n';
  });
}

}  // namespace testsupport
