#pragma once
// A connected unit on a pseudo-terminal to the simulated unit, with the device manager's models
// and the radio's two modes, for the utilities' end-to-end tests.

#include <memory>
#include <string>

#include "devices/VkcDeviceManager.h"
#include "link/VkcConfiguration.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcSerialPort.h"
#include "platform/Messages.h"
#include "platform/Timing.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"
#include "unit/VkcSystem.h"

namespace unittest {

struct UtilityUnit {
  // model: the device made current (36 L-band, 3601 beacon).
  explicit UtilityUnit(int model, double timeScale = 1.0) {
    platform::SetTimeScale(timeScale);
    ErrorLog().Clear();
    manager.RegisterPrototypes();
    system.Attach(&manager, &settings, [this] { return &port; });
    system.SetCurrentDevice(manager.GetDevice(model));
    opened = unit.IsOk() && port.Open(unit.SlavePath16(), 115200, 8, 0, 0);
  }
  ~UtilityUnit() {
    port.Close();
    platform::SetTimeScale(1.0);
  }

  VkcDeviceManager manager;
  VkcConfiguration settings;
  sim::SimUnit unit;
  sim::SimIdent ident{unit, sim::IdentOptions{}};
  VkcSerialPort port;
  VkcSystem system;
  platform::RecordingWindow window;
  bool opened = false;
};

// The first parameters of the messages with this number, in order.
inline std::vector<intptr_t> Notices(const platform::RecordingWindow& window, uint32_t msg) {
  std::vector<intptr_t> out;
  for (const auto& m : window.Messages(msg)) out.push_back(m.wParam);
  return out;
}

}  // namespace unittest
