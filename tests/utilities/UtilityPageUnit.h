#pragma once
// A utility page's world for end-to-end tests: the simulated unit on a pseudo-terminal with the
// radio's two modes, the program's serial port open on it, and a page host with a real
// application, device manager and connected unit whose current device is the given model.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <string>

#include "app/PageBinder.h"
#include "devices/VkcImageNodes.h"
#include "link/VkcSerialPort.h"
#include "platform/Timing.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"
#include "support/FakePageHost.h"

namespace utiltest {

struct PageUnit {
  explicit PageUnit(int model) {
    opened = unit.IsOk() && port.Open(unit.SlavePath16(), 115200, 8, 0, 0);
    host.App().SetPorts(&port, nullptr);
    host.System().SetCurrentDevice(host.DeviceManager().GetDevice(model));
  }
  // A beacon's band: its first and third factory presets (the second lies between).
  void SetBeaconBand(uint32_t min, uint32_t max) {
    const uint32_t presets[3] = {min, (min + max) / 2, max};
    for (int i = 0; i < 3; ++i)
      host.System().WriteInt(VkcPath(kVkcF, VkcNodes::kFactoryChannels.steps[0], 3 + i),
                             static_cast<int>(presets[i]));
  }
  ~PageUnit() {
    host.App().SetPorts(nullptr, nullptr);
    port.Close();
  }

  // Declared first, gone last: the connected unit's workers may still use them while it goes.
  sim::SimUnit unit;
  sim::SimIdent ident{unit, sim::IdentOptions{}};
  VkcSerialPort port;
  testsupport::FakePageHost host;
  bool opened = false;
};

// Runs the user-interface thread's events until pred holds or ms pass.
inline bool PumpUntil(const std::function<bool()>& pred, int ms) {
  const uint64_t end = platform::NowMs() + static_cast<uint64_t>(ms);
  for (;;) {
    QApplication::processEvents();
    if (pred()) return true;
    if (platform::NowMs() >= end) return false;
    platform::SleepMs(5);
  }
}

template <class W>
W* Control(QWidget& page, int id) {
  return page.findChild<W*>(PageBinder::ObjectName(id));
}

inline std::string Text(QWidget& page, int id) {
  if (auto* edit = Control<QLineEdit>(page, id)) return edit->text().toStdString();
  if (auto* button = Control<QPushButton>(page, id)) return button->text().toStdString();
  return "<none>";
}

inline void Click(QWidget& page, int id) { Control<QPushButton>(page, id)->click(); }

}  // namespace utiltest
