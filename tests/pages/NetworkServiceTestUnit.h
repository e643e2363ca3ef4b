#pragma once
// A simulated GSM unit (model 49, network services) with its three configuration images, on a
// pseudo-terminal, made the current port of a page test's host and identified through it.

#include "link/VkcCfgArchiver.h"
#include "link/VkcConfiguration.h"
#include "link/VkcMemoryStream.h"
#include "link/VkcSerialPort.h"
#include "platform/Event.h"
#include "platform/Timing.h"
#include "sim/SimGsmUnit.h"
#include "support/FakePageHost.h"
#include "unit/VkcSystem.h"

namespace nettest {

inline constexpr const uint8_t* kSerial = sim::kGsmSerial;

inline VkcConfiguration UserImage() { return sim::GsmUserImage(); }

inline VkcConfiguration Read(const std::vector<uint8_t>& record) {
  VkcConfiguration tree;
  VkcMemoryStream in(record);
  VkcCfgArchiver ar;
  ar.Attach(in, true);
  tree.Load(ar);
  ar.Detach();
  return tree;
}

class SimGsmUnit : public sim::SimGsmUnit {
 public:
  explicit SimGsmUnit(const VkcConfiguration& user = UserImage(), const uint8_t* serial = kSerial)
      : sim::SimGsmUnit(user, serial) {}
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

  VkcSerialPort port;
};

struct ScopedTimeScale {
  explicit ScopedTimeScale(double scale) { platform::SetTimeScale(scale); }
  ~ScopedTimeScale() { platform::SetTimeScale(1.0); }
};

}  // namespace nettest
