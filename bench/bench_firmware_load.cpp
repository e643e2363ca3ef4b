// A firmware download of one 512 KiB image into the simulated unit over a line paced at 115200
// bit/s (the transfer's blocks and its ACKs take their line time), timed from the start of the download to its successful end (the moment the page
// shows "Image successfully upgraded"). The unit runs version 2 software, so the plan is: load the
// image, wait for the unit's restart banner, identify the unit again.
//
// Against: the framed XModem time of the image (133 bytes on the line per 128 of data) plus the
// waits this path mandates:
//   - the "XMOD" answer carries no prompt: the command channel waits its reply time-out for one;
//   - the unit asks for the first block with 'C' once a second: the first 'C' after that wait;
//   - the unit stores the image before it confirms;
//   - the unit's restart banner comes 1.7 s after the answer to "@RX ON";
//   - identification: the MCU probe's "####" time-out and the transmit-empty wait before the rate.
// Prints each, the elapsed time, and last the ratio.

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "devices/VkcDeviceManager.h"
#include "devices/VkcDeviceTimeouts.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcMessageIds.h"
#include "link/VkcSerialPort.h"
#include "platform/Messages.h"
#include "platform/Timing.h"
#include "sim/SimFirmware.h"
#include "sim/SimFirmwareImages.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"
#include "sim/SimUnitControlFiles.h"
#include "unit/VkcFirmwareDownload.h"
#include "unit/VkcSystem.h"

int main() {
  constexpr size_t kImageBytes = 512 * 1024;
  constexpr uint32_t kRate = 115200;
  VkcDeviceManager manager;
  manager.RegisterPrototypes();
  VkcConfiguration settings;
  std::unique_ptr<sim::SimIdent> ident;
  std::unique_ptr<sim::SimUnitControlFiles> files;
  sim::SimUnit unit;
  sim::SimUnitControl control(unit);
  sim::SimFirmwareOptions options;
  options.pacedRate = kRate;
  sim::SimFirmware firmware(unit, options);
  sim::IdentOptions identity;
  identity.modelKey = "4";
  identity.software = "SW 2.5 Rev 3";
  ident = std::make_unique<sim::SimIdent>(unit, identity);
  files = std::make_unique<sim::SimUnitControlFiles>(unit);
  VkcSerialPort port;
  if (!unit.IsOk() || !port.Open(unit.SlavePath16(), kRate, 8, 0, 0)) {
    std::fprintf(stderr, "cannot open the simulated unit\n");
    return 1;
  }
  VkcSystem system;
  system.Attach(&manager, &settings, [&port] { return &port; });
  platform::Event idle;
  // A busy machine can upset one sweep; the benchmark is about the download.
  bool identified = false;
  for (int i = 0; i < 3 && !identified; ++i)
    identified = system.Process(VkcSystem::kOpIdentify, 0, platform::kNoWindow, idle) == 0;
  if (!identified) {
    for (const auto& e : ErrorLog().Entries()) std::fprintf(stderr, "%s\n", e.text.c_str());
    std::fprintf(stderr, "identification failed\n");
    return 1;
  }

  // The payload length keeps the last block short, as a real image's does.
  const std::vector<uint8_t> image =
      sim::MakeFirmwareImage(false, 1, 0, sim::FirmwarePayload(kImageBytes - 128 - 50, 1));
  const std::string path = "/tmp/bench_firmware_load.xmd";
  if (!sim::WriteFirmwareFile(path, image)) return 1;
  VkcFirmwareDownload download(system, &manager);
  platform::RecordingWindow window;
  if (!download.ReadImageFile(path)) return 1;

  const uint64_t start = platform::NowUs();
  if (!download.Start(window.Handle(), nullptr)) return 1;
  window.WaitForMessage(kMsgProgress, kProgressDownloadEnd, 600000);
  const double elapsedMs = (platform::NowUs() - start) / 1000.0;
  download.Finish();
  ::remove(path.c_str());
  intptr_t result = -1;
  for (const auto& m : window.Messages(kMsgProgress))
    if (m.wParam == kProgressDownloadEnd) result = m.lParam;
  if (result != VkcFirmwareDownload::kEndOk || firmware.Loads().size() != 1 || firmware.Loads()[0].image != image) {
    std::fprintf(stderr, "the download failed (%ld)\n", static_cast<long>(result));
    return 1;
  }

  const double blocks = std::ceil(image.size() / 128.0);
  const double framedMs = blocks * 133 * 10 * 1000.0 / kRate;
  const double promptWaitMs = port.GetReplyTimeout();
  const double firstAskMs = std::ceil(promptWaitMs / options.askIntervalMs) * options.askIntervalMs - promptWaitMs;
  const double identifyMs = devtimeouts::kMcuProbeMs + port.GetReplyTimeout();
  const double mandatedMs =
      framedMs + promptWaitMs + firstAskMs + options.storeDelayMs + options.bannerDelayMs + identifyMs;
  std::printf("firmware download of %zu bytes at %u bit/s: %.0f ms\n", image.size(), kRate, elapsedMs);
  std::printf("framed XModem time: %.0f ms (%.0f blocks of 133 bytes)\n", framedMs, blocks);
  std::printf("mandated waits: prompt after XMOD %.0f ms, first 'C' after it %.0f ms, unit storing %u ms, "
              "restart banner %u ms, identification %.0f ms (MCU probe %u ms + transmit-empty %.0f ms)\n",
              promptWaitMs, firstAskMs, options.storeDelayMs, options.bannerDelayMs, identifyMs,
              devtimeouts::kMcuProbeMs, static_cast<double>(port.GetReplyTimeout()));
  std::printf("expected: %.0f ms\n", mandatedMs);
  std::printf("ratio: %.3f\n", elapsedMs / mandatedMs);
  port.Close();
  return 0;
}
