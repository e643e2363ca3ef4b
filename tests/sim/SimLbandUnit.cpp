#include "sim/SimLbandUnit.h"

#include "link/VkcConfiguration.h"
#include "sim/SimCommandsReboot.h"

namespace sim {

SimLbandUnit::SimLbandUnit() {
  IdentOptions identity;
  identity.modelKey = "36";
  ident = std::make_unique<SimIdent>(unit, identity);
  files = std::make_unique<SimUnitControlFiles>(unit);
  VkcConfiguration factory, dealer, user;
  const uint8_t serial[6] = {0x36, 0x00, 0x15, 0x45, 0x52, 0x50};
  factory.GetChild(0).GetChildAt(0).SetBytes(serial, sizeof serial);
  // The L-band presets, then the beacon band's low end, middle and high end.
  const uint32_t presets[6] = {1525000000, 1545525000, 1559000000, 283500, 304250, 325000};
  for (int i = 0; i < 6; ++i) factory.GetChild(4).GetChildAt(i).SetInt(presets[i]);
  dealer.GetChild(0).SetInt(36);
  user.GetChild(1).GetChildAt(0).SetBytes(serial, sizeof serial);
  files->SetSection(0, SimUnitControlFiles::Archive(factory));
  files->SetSection(1, SimUnitControlFiles::Archive(dealer));
  files->SetSection(2, SimUnitControlFiles::Archive(user));
  almanac.SetStations(SimAlmanac::MakeStations(40));
  RebootOptions reboot;
  reboot.bannerDelayMs = 3000;  // the program listens for the banner only after its settle pause
  InstallReboot(unit, reboot);
}

SimLbandUnit::~SimLbandUnit() { files->StopTransfer(); }

}  // namespace sim
