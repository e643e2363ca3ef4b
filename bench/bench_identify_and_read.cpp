// Identification and configuration read (operation 0 of the connected unit) of a transceiver at
// 115200 against the simulated unit over a pseudo-terminal, with the unit's output paced at the
// line rate. The waits the path mandates: the transmit-empty wait before the sweep's first rate (the
// serial port reports no transmit-empty event, so it lasts the reply time-out), the MCU probe's
// "####" time-out (a radio without an MCU never answers it) and the "CFGUP" XModem transfer at the
// line rate (every block and its acknowledgement, the start and the end). Everything else ends when
// the unit's answer arrives. Prints the elapsed time, the mandated sum and their ratio (last).

#include <cstdio>
#include <memory>

#include "unit/VkcSystem.h"
#include "devices/VkcDeviceManager.h"
#include "devices/VkcDeviceTimeouts.h"
#include "link/VkcConfiguration.h"
#include "link/LinkTimeouts.h"
#include "link/VkcSerialPort.h"
#include "platform/Event.h"
#include "platform/Timing.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"
#include "sim/SimUnitControlFiles.h"

namespace {

// A realistic user image: a unit table of a few rows with their settings, and the radio settings.
VkcConfiguration UserImage() {
  VkcConfiguration tree;
  CfgNode& units = tree.GetChild(1);
  for (int row = 0; row < 8; ++row) {
    CfgNode& unit = units.GetChildAt(row);
    uint8_t serial[6] = {0, 1, 2, 3, 4, static_cast<uint8_t>(row)};
    unit.SetBytes(serial, sizeof serial);
    unit.GetChildAt(0).SetInt(30);
    unit.GetChildAt(1).SetInt(2);
    for (int i = 0; i < 10; ++i) unit.GetChildAt(3).GetChildAt(i).SetInt(static_cast<uint32_t>(i));
    unit.GetChildAt(4).GetChildAt(0).SetInt(9);
    unit.GetChildAt(6).GetChildAt(0).SetString("Unit name");
  }
  for (int i = 0; i < 18; ++i) tree.GetChild(2).GetChildAt(i).SetInt(static_cast<uint32_t>(i));
  return tree;
}

VkcConfiguration DealerImage() {
  VkcConfiguration tree;
  tree.GetChild(0).SetInt(4);
  tree.GetChild(1).SetString("CALL");
  for (int i = 0; i < 32; ++i) {
    CfgNode& channel = tree.GetChild(4).GetChildAt(i);
    channel.SetInt(433000000u + 25000u * static_cast<uint32_t>(i));
    for (int c = 0; c < 6; ++c) channel.GetChildAt(c).SetInt(static_cast<uint32_t>(c * 7 + i));
  }
  return tree;
}

VkcConfiguration FactoryImage() {
  VkcConfiguration tree;
  uint8_t serial[6] = {0, 1, 2, 3, 4, 0};
  tree.GetChild(0).GetChildAt(0).SetBytes(serial, sizeof serial);
  tree.GetChild(0).GetChildAt(2).SetString("Bench unit");
  for (int i = 0; i < 3; ++i) tree.GetChild(4).GetChildAt(i).SetInt(403000000u + 30000000u * static_cast<uint32_t>(i));
  return tree;
}

}  // namespace

int main() {
  constexpr int kRuns = 3;
  constexpr double kRate = 115200;
  VkcDeviceManager manager;
  manager.RegisterPrototypes();
  std::unique_ptr<sim::SimIdent> ident;  // the families outlive the unit's thread
  std::unique_ptr<sim::SimUnitControlFiles> files;
  sim::SimUnit unit;
  sim::IdentOptions options;
  options.modelKey = "4";
  ident = std::make_unique<sim::SimIdent>(unit, options);
  sim::SimUnitControl control(unit);
  files = std::make_unique<sim::SimUnitControlFiles>(unit);
  files->SetSection(0, sim::SimUnitControlFiles::Archive(FactoryImage()));
  files->SetSection(1, sim::SimUnitControlFiles::Archive(DealerImage()));
  files->SetSection(2, sim::SimUnitControlFiles::Archive(UserImage()));
  const size_t fileBytes = files->BuildCfgup().size();
  unit.SetPaced(true);
  VkcSerialPort port;
  if (!unit.IsOk() || !port.Open(unit.SlavePath16(), 115200, 8, 0, 0)) {
    std::fprintf(stderr, "cannot open the simulated unit\n");
    return 1;
  }
  VkcConfiguration settings;
  VkcSystem system;
  system.Attach(&manager, &settings, [&port] { return &port; });
  platform::Event stop(platform::Event::ResetMode::Manual);
  uint64_t totalUs = 0;
  for (int i = 0; i < kRuns; ++i) {
    const uint64_t start = platform::NowUs();
    const uint32_t result = system.Process(VkcSystem::kOpIdentify, 0, platform::kNoWindow, stop);
    totalUs += platform::NowUs() - start;
    if (result != 0 || system.GetProductId() != 4 || system.User().IsEmpty()) {
      std::fprintf(stderr, "identification failed: %u\n", result);
      return 1;
    }
  }
  port.Close();
  files->StopTransfer();
  // XModem at the line rate (10 bits a byte): per block 132 bytes from the unit and an ACK back;
  // the receiver's NAK to start, and EOT with its ACK to end.
  const size_t blocks = (fileBytes + 127) / 128;
  const double transferMs = (blocks * (132.0 + 1.0) + 3.0) * 10.0 / kRate * 1000.0;
  const double elapsedMs = totalUs / 1000.0 / kRuns;
  const double txEmptyMs = linktimeouts::kSerialReplyMs;
  const double mandatedMs = txEmptyMs + devtimeouts::kMcuProbeMs + transferMs;
  std::printf("identify and read a transceiver at 115200: %.1f ms per run (%d runs, CFGUP %zu bytes)\n", elapsedMs,
              kRuns, fileBytes);
  std::printf("mandated: %.1f ms (transmit-empty wait %.0f ms + MCU probe %u ms + XModem at the line rate %.1f ms)\n",
              mandatedMs, txEmptyMs, devtimeouts::kMcuProbeMs, transferMs);
  std::printf("ratio: %.3f\n", elapsedMs / mandatedMs);
  return 0;
}
