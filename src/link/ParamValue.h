#pragma once
// One value of a surveyed unit: its 8-bit text and a second text.

#include <cstdint>
#include <string>

struct ParamValue {
  std::string value;
  std::string second;

  // The decimal value of the value text (leading white space and a sign allowed; 0 when it does
  // not begin with a number; clamped to the int range).
  int ToInt() const;
  // value := n in decimal.
  void FromInt(int n);
};
