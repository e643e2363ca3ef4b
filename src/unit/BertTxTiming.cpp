#include "unit/BertTxTiming.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBaseFrame = 58;

// 1000 ms minus the frame's time on the line, kept within 0..1000 (a frame longer than a second
// has no pause; no line rate gives the whole second).
int32_t PauseFor(int32_t bytes, uint32_t baud) {
  if (baud == 0) return 1000;
  float pause = (1.0f - static_cast<float>(bytes) * 10.0f / static_cast<float>(baud)) * 1000.0f;
  pause = std::clamp(pause, 0.0f, 1000.0f);
  return static_cast<int32_t>(pause);
}

int32_t Truncate(float v) { return static_cast<int32_t>(std::clamp(v, 0.0f, 2.0e9f)); }

}  // namespace

BertTxTiming ComputeBertTxTiming(int modulationFactor, float spacingSteps, bool intervalMode, int duty,
                                 int intervalMs, uint32_t baud) {
  BertTxTiming t;
  const int frame = modulationFactor * kBaseFrame;
  const float rate = static_cast<float>(modulationFactor) * spacingSteps * 2400.0f / 585.0f;
  if (!intervalMode) {
    t.frameSize = Truncate(static_cast<float>(frame) * (static_cast<float>(duty) * rate / 100.0f));
    t.pauseMs = duty == 100 ? 0 : PauseFor(t.frameSize, baud);
    t.shownDuty = duty;
  } else {
    int32_t bytes = Truncate(static_cast<float>(frame) * rate * static_cast<float>(1000 - intervalMs) / 1000.0f);
    t.pauseMs = PauseFor(bytes, baud);
    t.frameSize = frame;
    t.shownDuty = (1000 - intervalMs) * 100 / 1000;
  }
  return t;
}
