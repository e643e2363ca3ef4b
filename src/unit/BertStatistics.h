#pragma once
// The counters of one BERT run, copied whole by the pages.

#include <cstdint>

struct BertStatistics {
  uint32_t elapsedSeconds = 0;  // whole seconds since the worker started
  uint64_t bitsSent = 0;        // transmit: 8 x frame size per frame written
  uint64_t framesSent = 0;      // transmit: 16-bit pattern words written (frame size / 2 per frame)
  uint64_t bitsReceived = 0;    // receive: 8 x every received byte, synchronised or not
  uint64_t bitErrors = 0;       // receive: wrong bits counted by the checker
  uint64_t bytesReceived = 0;   // receive: every received byte
  uint64_t lostCount = 0;       // receive: 8-byte jumps and bytes skipped by re-synchronisation
  double rate = 0;              // bits per second
  int32_t temperature = 0;      // last "STATE TEMP" value
  int32_t rssi = 0;             // last "STATE RSSI" value (receive)
  int32_t remotePower = 0;      // last "TSTUFR REMOTEPWR" value (receive)
};
