#pragma once
// Reboot family of the simulated unit: "BOOT" and "BOOT IMAGE n". The unit drops its command line,
// switches to its rate after reboot, and after bannerDelayMs prints its start-up banner (as the
// boot loader, "Rebooting in progress..." first, the banner another bannerDelayMs later).

#include <cstdint>
#include <string>

#include "sim/SimUnit.h"

namespace sim {

struct RebootOptions {
  uint32_t bannerDelayMs = 100;
  uint32_t rateAfter = 0;  // 0: the rate stays
  bool bootLoader = false;
  std::string banner = "\r\nVelkor Communications radio modem\r\nReal Time kernel started\r\n";
};

void InstallReboot(SimUnit& unit, const RebootOptions& options = {});

}  // namespace sim
