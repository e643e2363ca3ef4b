#pragma once
// A simulated GSM unit (model 49, network services) with its three configuration images, on a
// pseudo-terminal, made the current port of a page test's host and identified through it.

#include <memory>
#include <string>

#include "link/VkcCfgArchiver.h"
#include "link/VkcConfiguration.h"
#include "link/VkcMemoryStream.h"
#include "link/VkcSerialPort.h"
#include "platform/Event.h"
#include "platform/Timing.h"
#include "sim/SimIdent.h"
#include "sim/SimRtn.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControlFiles.h"
#include "support/FakePageHost.h"
#include "unit/VkcSystem.h"

namespace nettest {

inline constexpr uint8_t kSerial[6] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};

// The user image of the unit: its own row (the second) holds the network-service groups.
inline VkcConfiguration UserImage() {
  VkcConfiguration tree;
  tree.GetChild(0).GetChildAt(0).SetString("IMAGE 1.2");
  uint8_t other[6] = {1, 1, 1, 1, 1, 1};
  tree.GetChild(1).GetChildAt(0).SetBytes(other, sizeof other);
  CfgNode& row = tree.GetChild(1).GetChildAt(1);
  row.SetBytes(kSerial, sizeof kSerial);
  row.GetChildAt(3).GetChildAt(9).SetInt(4);
  for (int k = 0; k < 4; ++k) row.GetChildAt(10).GetChildAt(k).SetString(k == 1 ? "5000" : "tcp" + std::to_string(k));
  for (int k = 0; k < 6; ++k) row.GetChildAt(9).GetChildAt(k).SetString(k == 1 ? "2101" : "ntrip" + std::to_string(k));
  for (int k = 0; k < 3; ++k) row.GetChildAt(11).GetChildAt(k).SetString(k == 0 ? "6000" : "srv" + std::to_string(k));
  row.GetChildAt(12).GetChildAt(0).SetInt(0);
  row.GetChildAt(12).GetChildAt(1).SetInt(0);
  return tree;
}

inline VkcConfiguration Read(const std::vector<uint8_t>& record) {
  VkcConfiguration tree;
  VkcMemoryStream in(record);
  VkcCfgArchiver ar;
  ar.Attach(in, true);
  tree.Load(ar);
  ar.Detach();
  return tree;
}

class SimGsmUnit {
 public:
  explicit SimGsmUnit(const VkcConfiguration& user = UserImage()) {
    sim::IdentOptions options;
    options.modelKey = "49";
    ident = std::make_unique<sim::SimIdent>(unit, options);
    files = std::make_unique<sim::SimUnitControlFiles>(unit);
    VkcConfiguration factory;
    factory.GetChild(0).GetChildAt(0).SetBytes(kSerial, sizeof kSerial);
    VkcConfiguration dealer;
    dealer.GetChild(0).SetInt(49);
    files->SetSection(0, sim::SimUnitControlFiles::Archive(factory));
    files->SetSection(1, sim::SimUnitControlFiles::Archive(dealer));
    files->SetSection(2, sim::SimUnitControlFiles::Archive(user));
  }
  ~SimGsmUnit() {
    files->StopTransfer();
    port.Close();
  }
  // Opens the port as the host's current port and identifies the unit.
  bool Connect(testsupport::FakePageHost& host) {
    host.App().SetPorts(&port, nullptr);
    if (!unit.IsOk() || !port.Open(unit.SlavePath16(), 115200, 8, 0, 0)) return false;
    platform::Event stop(platform::Event::ResetMode::Manual);
    return host.System().Process(VkcSystem::kOpIdentify, 0, platform::kNoWindow, stop) == 0 &&
           host.System().GetProductId() == 49;
  }
  // The user image the unit holds now (after a send: what it received).
  VkcConfiguration Held() const { return Read(files->Section(2)); }

  sim::SimUnit unit;
  sim::SimRtn rtn{unit};
  std::unique_ptr<sim::SimIdent> ident;
  std::unique_ptr<sim::SimUnitControlFiles> files;
  VkcSerialPort port;
};

struct ScopedTimeScale {
  explicit ScopedTimeScale(double scale) { platform::SetTimeScale(scale); }
  ~ScopedTimeScale() { platform::SetTimeScale(1.0); }
};

}  // namespace nettest
