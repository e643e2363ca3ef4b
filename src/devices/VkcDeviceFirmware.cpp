// Firmware version rules of the device model: the unit's software version text is parsed anew on
// every call, so a newly identified unit needs no refresh.

#include "devices/VkcDevice.h"
#include "devices/VkcUnitImages.h"
#include "link/FirmwareVersion.h"

namespace {

FirmwareVersion FirmwareOf(const VkcUnitImages& system) {
  FirmwareVersion version;
  version.ParseRev(system.GetSoftwareVersion());
  return version;
}

}  // namespace

bool VkcDevice::FirmwareAtLeast(const VkcUnitImages& system, Version lo) {
  return FirmwareOf(system) >= FirmwareVersion(lo[0], lo[1], lo[2]);
}

bool VkcDevice::FirmwareBelow(const VkcUnitImages& system, Version hi) {
  return FirmwareVersion(hi[0], hi[1], hi[2]) > FirmwareOf(system);
}
