#pragma once
// The two XModem block checks: CRC-16/XMODEM (poly 0x1021, init 0, MSB first, no final XOR)
// and the 8-bit sum of the data bytes.

#include <cstddef>
#include <cstdint>

uint16_t XModemCrc16(const uint8_t* data, size_t length);
uint8_t XModemChecksum(const uint8_t* data, size_t length);
