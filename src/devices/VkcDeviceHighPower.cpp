#include "devices/VkcDeviceHighPower.h"

#include "devices/VkcModelRules.h"
#include "devices/VkcUnitImages.h"

void VkcDeviceHighPower::ApplyHighPowerDefaults() const {
  VkcUnitImages* system = modelrules::MutableGlobalImages();
  if (!system) return;
  const int amp = VkcNodes::kAmplifier.steps[0];
  system->WriteInt(VkcPath(kVkcU, amp, 3), 1);
  system->WriteInt(VkcPath(kVkcU, amp, 3, 0), 1);
  system->WriteInt(VkcPath(kVkcU, amp, 6), 1);
  system->WriteInt(VkcPath(kVkcU, amp, 7), 1);
  system->WriteInt(VkcPath(kVkcU, amp, 4), 85);
  system->WriteInt(VkcPath(kVkcU, amp, 5), 90);
}
