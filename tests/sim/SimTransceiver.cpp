#include "sim/SimTransceiver.h"

#include "link/VkcConfiguration.h"
#include "sim/SimCommandsReboot.h"

namespace sim {

SimTransceiver::SimTransceiver(const TransceiverOptions& options) {
  if (options.behindMcu) mcu = std::make_unique<SimMcu>(unit, McuState{});
  IdentOptions identity;
  identity.modelKey = "4";
  ident = std::make_unique<SimIdent>(unit, identity, mcu.get());
  files = std::make_unique<SimUnitControlFiles>(unit);
  VkcConfiguration factory, dealer, user;
  const uint8_t serial[6] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
  factory.GetChild(0).GetChildAt(0).SetBytes(serial, sizeof serial);
  dealer.GetChild(0).SetInt(4);
  if (options.callSign != nullptr) dealer.GetChild(1).SetString(options.callSign);
  user.GetChild(0).GetChildAt(0).SetString("IMAGE 1.2");
  user.GetChild(1).GetChildAt(0).SetBytes(serial, sizeof serial);
  files->SetSection(0, SimUnitControlFiles::Archive(factory));
  files->SetSection(1, SimUnitControlFiles::Archive(dealer));
  files->SetSection(2, SimUnitControlFiles::Archive(user));
  RebootOptions reboot;
  reboot.bannerDelayMs = 3000;  // the program listens for the banner only after its settle pause
  InstallReboot(unit, reboot);
}

SimTransceiver::~SimTransceiver() { files->StopTransfer(); }

}  // namespace sim
