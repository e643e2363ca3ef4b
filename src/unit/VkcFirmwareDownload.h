#pragma once
// The firmware download engine behind the Download Firmware page. It holds the image set read from
// the chosen file, the loader, the plan and its steps, and runs them on its worker: the MCU route
// is refreshed, the unit is put on its command line, asked for the CRC identifier of the set it
// holds, the plan is built and its steps run in order; the MCU route is put back. Everything that
// talks to the unit runs on the worker, so the window never waits on the unit.
//
// The window gets 2024 with 2 (percent) and 5 (a text mailbox) while it runs, and last 2024 with
// 2000 and one of the kEnd* values. The worker's stop event is the download's stop event: it
// exists (is armed) exactly while a download runs.
//
// Threads: ReadImageFile, Start, Finish and the accessors are for one owner thread; the worker
// touches the image set and the steps only between Start and its end message.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/FirmwareImage.h"
#include "link/VkcLoader.h"
#include "platform/Messages.h"
#include "platform/WorkerThread.h"
#include "unit/VkcDownloadPlan.h"
#include "unit/VkcDownloadState.h"

class VkcDeviceInterface;
class VkcDeviceManager;
class VkcSystem;

class VkcFirmwareDownload {
 public:
  // Second parameter of the end message.
  static constexpr intptr_t kEndFailed = 0;       // a step failed, or Stop (also while preparing)
  static constexpr intptr_t kEndOk = 1;           // every step ran
  static constexpr intptr_t kEndNoCommandMode = 2;  // the unit did not come to its command line

  VkcFirmwareDownload(VkcSystem& system, VkcDeviceManager* manager);
  // Stops a running download and waits for its worker.
  ~VkcFirmwareDownload();
  VkcFirmwareDownload(const VkcFirmwareDownload&) = delete;
  VkcFirmwareDownload& operator=(const VkcFirmwareDownload&) = delete;

  // Replaces the image set from the file (only while idle). False when the file cannot be read
  // (error says why, the set is kept) or holds no usable image set (the set is then empty).
  bool ReadImageFile(const std::string& path, std::string* error = nullptr);
  const FirmwareImage& Images() const { return images_; }

  // Starts the worker for the image set read last; iface is tried first when the unit is
  // identified again. False when a download runs or the worker cannot start.
  bool Start(platform::WindowHandle window, VkcDeviceInterface* iface);
  // Sets the stop event: the running step ends and the download ends with kEndFailed.
  void RequestStop() { worker_.RequestStop(); }
  // True from Start until Finish.
  bool IsRunning() const { return running_; }
  // After the end message: joins the worker. The plan and its steps stay until the next Start.
  void Finish();

  // The plan of the last download and how many of its steps ran (valid while idle).
  const std::vector<VkcDownloadStep>& Plan() const { return plan_; }
  size_t StepsRun() const { return index_; }

 private:
  void Run(platform::Event& stop);
  intptr_t Prepare(platform::Event& stop);

  VkcSystem& system_;
  VkcDeviceManager* manager_;
  FirmwareImage images_;
  VkcLoader loader_;
  std::unique_ptr<VkcDownloadContext> context_;
  std::vector<VkcDownloadStep> plan_;
  std::vector<std::unique_ptr<VkcDownloadState>> states_;
  size_t index_ = 0;
  platform::WindowHandle window_ = platform::kNoWindow;
  VkcDeviceInterface* iface_ = nullptr;
  bool running_ = false;
  platform::WorkerThread worker_;
};
