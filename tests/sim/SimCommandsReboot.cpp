#include "sim/SimCommandsReboot.h"

namespace sim {

void InstallReboot(SimUnit& unit, const RebootOptions& options) {
  unit.AddCommandHandler("BOOT", [options](SimUnit& u, const std::string& line) {
    if (line != "BOOT" && line.compare(0, 11, "BOOT IMAGE ") != 0) {
      u.Answer("", 1);
      return;
    }
    if (options.rateAfter) u.SetUnitRate(options.rateAfter);
    if (options.bootLoader) {
      u.Send("Rebooting in progress...\r\n", options.bannerDelayMs);
      u.Send(options.banner, options.bannerDelayMs);
    } else {
      u.Send(options.banner, options.bannerDelayMs);
    }
    u.Prompt();
  });
}

}  // namespace sim
