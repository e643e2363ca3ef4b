#include "link/CommandText.h"

#include <algorithm>
#include <type_traits>

#include "link/VkcErrorProcessor.h"

namespace {
template <typename Ch>
bool IsControl(Ch c) {
  const auto code = static_cast<std::make_unsigned_t<Ch>>(c);
  return code < 0x20 || code == 0x7F;
}
}  // namespace

bool IsCommandValue(std::string_view text) { return std::none_of(text.begin(), text.end(), IsControl<char>); }

bool IsCommandValue(std::u16string_view text) {
  return std::none_of(text.begin(), text.end(), IsControl<char16_t>);
}

std::optional<std::string> CommandWithValue(std::string_view head, std::string_view value, std::string_view tail,
                                            std::string_view what) {
  if (!IsCommandValue(value)) {
    std::string name(what);
    if (name.empty()) {
      // The command's name without its framing and the blank before the value.
      std::string command;
      for (char c : head)
        if (!IsControl(c)) command.push_back(c);
      while (!command.empty() && command.back() == ' ') command.pop_back();
      name = "Command \"" + command + "\"";
    }
    ErrorLog().ReportError(0, "%s not sent: its value holds a control character", name.c_str());
    return std::nullopt;
  }
  std::string command;
  command.reserve(head.size() + value.size() + tail.size());
  command.append(head).append(value).append(tail);
  return command;
}
