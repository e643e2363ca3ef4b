#pragma once
// How much pattern a BERT transmit pass writes and how long it pauses, from the modulation, the
// channel spacing, the rate mode and the port's rate. Single-precision arithmetic; every conversion
// to an integer truncates.

#include <cstdint>

struct BertTxTiming {
  int32_t frameSize = 0;  // bytes per pass
  int32_t pauseMs = 0;    // 0..1000
  int32_t shownDuty = 0;  // per cent
};

// spacingSteps: channel spacing / 6250 Hz. intervalMode false: duty (1..100 %); true: intervalMs.
// baud 0 (no line rate, as over TCP) gives the whole 1000 ms pause.
// modulationFactor: bits per symbol of the modulation.
BertTxTiming ComputeBertTxTiming(int modulationFactor, float spacingSteps, bool intervalMode, int duty,
                                 int intervalMs, uint32_t baud);
