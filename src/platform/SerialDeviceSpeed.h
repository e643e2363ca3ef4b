#pragma once
// Line rates through termios2, kept apart because <asm/termbits.h> clashes with <termios.h>.
// termios2 carries the rate as a number, so rates without a B-constant (14400) can be set, and
// the rate of either side of a pseudo-terminal can be read back as a number.

#include <cstdint>

namespace platform {

// Sets input and output rate to baud (BOTHER), keeping every other setting. False with errno set.
bool SetLineSpeedExact(int fd, uint32_t baud);
// The output rate of the line in bit/s, or 0 with errno set.
uint32_t GetLineSpeed(int fd);

}  // namespace platform
