#include "devices/VkcModelRules.h"

#include "devices/VkcUnitImages.h"
#include "link/CfgNode.h"
#include "link/FirmwareVersion.h"
#include "link/VkcErrorProcessor.h"

namespace modelrules {

namespace {

FirmwareVersion FirmwareOf(const VkcUnitImages& system) {
  FirmwareVersion version;
  version.ParseRev(system.GetSoftwareVersion());
  return version;
}

}  // namespace

const VkcUnitImages& GlobalImages() {
  if (const VkcUnitImages* images = GlobalUnitImages()) return *images;
  static const VkcUnitImages kNone;
  return kNone;
}

VkcUnitImages* MutableGlobalImages() { return GlobalUnitImages(); }

bool FirmwareAbove(const VkcUnitImages& system, int major, int minor, int build) {
  return FirmwareOf(system) > FirmwareVersion(major, minor, build);
}

bool FirmwareIs(const VkcUnitImages& system, int major, int minor, int build) {
  return FirmwareOf(system) == FirmwareVersion(major, minor, build);
}

int32_t ReadDealerChannel(const VkcUnitImages& system, int channel, int child) {
  if (channel < 0 || child < 0) return 0;
  return system.ReadInt(VkcPath(kVkcD, VkcNodes::kDealerChannels.steps[0], channel, child));
}

bool WriteDealerChannel(VkcUnitImages& system, int channel, int child, int32_t value) {
  if (child < 0) return false;
  const CfgNode* map = system.Find(VkcNodes::kDealerChannels);
  const size_t rows = map ? map->GetChildCount() : 0;
  if (channel < 0 || channel >= kMaxDealerChannels || static_cast<size_t>(channel) >= rows) {
    ErrorLog().ReportError(0, "Channel %d is not in the channel map of %zu channels", channel + 1, rows);
    return false;
  }
  system.WriteInt(VkcPath(kVkcD, VkcNodes::kDealerChannels.steps[0], channel, child), value);
  return true;
}

}  // namespace modelrules
