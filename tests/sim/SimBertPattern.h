#pragma once
// The BERT pattern as the simulated unit makes it: its own 16-bit register, stepped one bit at a
// time, each new bit appended to the stream least significant bit first. Independent of the
// program's table-driven generator, so each checks the other.

#include <cstddef>
#include <cstdint>
#include <string>

namespace sim {

class SimBertPattern {
 public:
  uint8_t NextByte() {
    uint8_t byte = 0;
    for (int i = 0; i < 8; ++i) {
      uint32_t bit = __builtin_parity(state_ & 0x15AB);
      state_ = (state_ >> 1) | (bit << 15);
      byte |= static_cast<uint8_t>(bit << i);
    }
    return byte;
  }
  std::string Next(size_t n) {
    std::string out(n, '\0');
    for (char& c : out) c = static_cast<char>(NextByte());
    return out;
  }

 private:
  uint32_t state_ = 0xFFFF;
};

}  // namespace sim
