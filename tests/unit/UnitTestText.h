#pragma once
// Texts the connected-unit tests compare: the unit's command lines and the error log.

#include <string>
#include <vector>

#include "link/VkcErrorProcessor.h"

namespace unittext {

// The command lines as the unit understood them: line noise (CAN, NUL, LF) and empty lines dropped.
inline std::vector<std::string> Clean(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    size_t at = 0;
    while (at < line.size() && (line[at] == 0x18 || line[at] == 0 || line[at] == '\n')) ++at;
    if (at < line.size()) out.push_back(line.substr(at));
  }
  return out;
}

// The error log's texts, oldest first.
inline std::vector<std::string> ErrorTexts() {
  std::vector<std::string> out;
  for (const auto& e : ErrorLog().Entries()) out.push_back(e.text);
  return out;
}

}  // namespace unittext
