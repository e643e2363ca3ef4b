#pragma once
// The gateway through a Quorl GNSS receiver whose serial port is chained to the radio. It switches
// the radio's modes as "Direct" does; the receiver's pass-through scripts belong to the gateway.

#include "devices/VkcDevIfVelkor.h"

class VkcDevIfOvrin : public VkcDevIfVelkor {
 public:
  static constexpr int kId = 6;
  VkcDevIfOvrin() : VkcDevIfVelkor(kId, u"Through Quorl GPS receiver") {}
};
