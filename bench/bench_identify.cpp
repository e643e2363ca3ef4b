// Identification of a unit at 115200 on "Direct" against the simulated unit, over a pseudo-terminal.
// The path mandates two fixed waits: the MCU probe's "####" time-out (no MCU answers) and the
// transmit-empty wait before the rate is set, which on the serial port lasts its full time-out (the
// port's event mask reports no transmit-empty). Everything else ends when the unit's answer
// arrives. Prints the elapsed time, the mandated waits and their ratio (last).

#include <cstdio>
#include <memory>

#include "devices/VkcDeviceManager.h"
#include "devices/VkcDeviceTimeouts.h"
#include "link/VkcSerialPort.h"
#include "platform/Timing.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"

int main() {
  constexpr int kRuns = 5;
  VkcDeviceManager manager;
  manager.RegisterPrototypes();
  std::unique_ptr<sim::SimIdent> ident;  // outlives the unit's thread
  sim::SimUnit unit;
  sim::IdentOptions options;
  options.modelKey = "48";
  ident = std::make_unique<sim::SimIdent>(unit, options);
  VkcSerialPort port;
  if (!unit.IsOk() || !port.Open(unit.SlavePath16(), 115200, 8, 0, 0)) {
    std::fprintf(stderr, "cannot open the simulated unit\n");
    return 1;
  }
  uint64_t totalUs = 0;
  for (int i = 0; i < kRuns; ++i) {
    const uint64_t start = platform::NowUs();
    const int id = manager.DetectModel(&port, manager.GetInterface(1), 0, nullptr);
    totalUs += platform::NowUs() - start;
    if (id != 48) {
      std::fprintf(stderr, "identification failed: %d\n", id);
      return 1;
    }
  }
  const double elapsedMs = totalUs / 1000.0 / kRuns;
  const double txEmptyMs = port.GetReplyTimeout();
  const double mandatedMs = devtimeouts::kMcuProbeMs + txEmptyMs;
  std::printf("identify at 115200 on Direct: %.1f ms per identification (%d runs)\n", elapsedMs, kRuns);
  std::printf("mandated waits: %.1f ms (MCU probe time-out %u ms + transmit-empty wait %.0f ms)\n", mandatedMs,
              devtimeouts::kMcuProbeMs, txEmptyMs);
  std::printf("ratio: %.3f\n", elapsedMs / mandatedMs);
  port.Close();
  return 0;
}
