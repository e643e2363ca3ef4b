#include "link/ParamValue.h"

#include <charconv>
#include <limits>

#include "link/AsciiClass.h"

int ParamValue::ToInt() const {
  const char* p = value.data();
  const char* end = p + value.size();
  while (p != end && ascii::IsSpace(*p)) ++p;
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  long long v = 0;
  for (; p != end && ascii::IsDigit(*p); ++p) {
    if (v <= std::numeric_limits<int>::max()) v = v * 10 + (*p - '0');
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

void ParamValue::FromInt(int n) {
  char buf[16];
  auto r = std::to_chars(buf, buf + sizeof buf, n);
  value.assign(buf, r.ptr);
}
