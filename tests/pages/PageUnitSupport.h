#pragma once
// A connected unit as identification leaves it, for the settings pages' tests: the model, the
// firmware version, the serial number in the factory image and in the own row of the user image.

#include "devices/VkcDeviceManager.h"
#include "devices/VkcUnitImages.h"
#include "support/FakePageHost.h"
#include "unit/VkcSystem.h"

namespace pagetest {

inline constexpr uint8_t kSerial[6] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};

// Makes the host's unit the one the model classes read (firmware family rules).
struct GlobalUnit {
  explicit GlobalUnit(VkcUnitImages& unit) { SetGlobalUnitImages(&unit); }
  ~GlobalUnit() { SetGlobalUnitImages(nullptr); }
};

inline void Identify(testsupport::FakePageHost& host, int model, const char* software = "SW 3.1 Rev 4",
                     const uint8_t* serial = kSerial) {
  VkcSystem& unit = host.System();
  unit.Reset();
  unit.SetCurrentDevice(host.DeviceManager().GetDevice(model));
  unit.SetSoftwareVersion(software);
  unit.SetHardwareVersion("HW 1.0");
  unit.SetBootLoaderVersion("BL 2.3");
  unit.Factory().GetChild(0).GetChildAt(0).SetBytes(serial, 6);
  unit.Dealer().GetChild(0).SetInt(static_cast<uint32_t>(model));
  unit.User().GetChild(1).GetChildAt(0).SetBytes(serial, 6);
}

}  // namespace pagetest
