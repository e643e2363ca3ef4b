#include "app/CommandTextValidator.h"

#include "link/CommandText.h"

QValidator::State CommandTextValidator::validate(QString& input, int&) const {
  const std::u16string_view text(reinterpret_cast<const char16_t*>(input.utf16()), static_cast<size_t>(input.size()));
  return IsCommandValue(text) ? Acceptable : Invalid;
}
