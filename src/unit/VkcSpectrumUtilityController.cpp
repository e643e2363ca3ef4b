#include "unit/VkcSpectrumUtilityController.h"

#include "devices/VkcDeviceManager.h"
#include "link/Format.h"
#include "link/VkcComPort.h"
#include "link/VkcMessageIds.h"
#include "platform/Timing.h"
#include "unit/SpectrumScanData.h"
#include "unit/VkcSaCommand.h"
#include "unit/VkcSystem.h"

VkcSpectrumUtilityController::VkcSpectrumUtilityController(VkcSystem& system, SpectrumScanData& data)
    : system_(system), data_(data) {}

VkcSpectrumUtilityController::~VkcSpectrumUtilityController() {
  worker_.Stop();
  if (VkcComPort* port = listened_.exchange(nullptr)) port->RemoveListener(this);
}

void VkcSpectrumUtilityController::StartStop(platform::WindowHandle window) {
  window_.store(window);
  if (!receiving_.load()) {
    StartThread();
  } else {
    worker_.RequestStop();
  }
}

bool VkcSpectrumUtilityController::StartThread() {
  return worker_.Start([this](platform::Event& stop) { ThreadProc(stop); });
}

void VkcSpectrumUtilityController::Post(Notice notice) {
  platform::PostMessage(window_.load(), kMsgSpectrum, notice, 0);
}

void VkcSpectrumUtilityController::ThreadProc(platform::Event& stop) {
  const uint32_t result = Run(stop);
  if (result != kOk) Post(kFailed);
  receiving_.store(false);
  if (VkcComPort* port = listened_.exchange(nullptr)) port->RemoveListener(this);
  Post(kEnded);
}

void VkcSpectrumUtilityController::RefreshRoute() {
  if (VkcDeviceManager* manager = system_.GetDeviceManager())
    manager->GetMCUController().RefreshRoute(system_.GetCurrentPort());
}

void VkcSpectrumUtilityController::ApplyStoredRoute() {
  if (VkcDeviceManager* manager = system_.GetDeviceManager())
    manager->GetMCUController().ApplyStoredRoute(system_.GetCurrentPort());
}

uint32_t VkcSpectrumUtilityController::Run(platform::Event& stop) {
  RefreshRoute();
  if (!system_.SwitchToCommandMode(true)) {
    data_.SetMessage("Could not switch to command mode!");
    return kNoCommandMode;
  }
  const SpectrumScanParameters p = data_.GetParameters();
  if (!data_.Allocate()) {
    // A range without a point never reaches the division; the page refuses it before starting.
    data_.SetMessage(SpectrumScanData::PointCount(p.start, p.stop, p.step) == 0
                         ? "Frequency step is invalid for entered start and stop frequencies."
                         : "Not enough memory for chart series.");
    return kNoMemory;
  }
  const uint32_t started = StartAnalyser();
  if (started != kOk) return started;

  {
    std::lock_guard<std::mutex> g(streamLock_);
    stream_.Clear();
  }
  receiving_.store(true);
  if (VkcComPort* port = system_.GetCurrentPort()) {
    listened_.store(port);
    port->AddListener(this, 0);
  }
  Post(kStarted);
  while (stop.Wait(platform::Scaled(kRedrawMs)) != 0) Post(kSamples);

  const uint32_t stopped = StopAnalyser();
  ApplyStoredRoute();
  return stopped;
}

uint32_t VkcSpectrumUtilityController::StartAnalyser() {
  const SpectrumScanParameters p = data_.GetParameters();
  std::string reply;
  const std::string on = StrPrintf("@SA ON %u %u %u %u\r\n", p.start, p.stop, p.step, p.timeout);
  switch (VkcSaCommand::Send(system_, on, reply)) {
    case VkcSaCommand::kNoReply:
      data_.SetMessage(VkcSaCommand::NoReplyMessage(on));
      return kNoStartReply;
    case VkcSaCommand::kRefused:
      data_.SetMessage("Spectrum analyzer command is not supported\n" + VkcSaCommand::RefusedTail(reply, on));
      return kStartRefused;
    case VkcSaCommand::kOk:
      break;
  }
  const std::string master = "LINK SAR 1\r\n";
  switch (VkcSaCommand::Send(system_, master, reply)) {
    case VkcSaCommand::kNoReply:
      data_.SetMessage(VkcSaCommand::NoReplyMessage(master));
      return kNoStartReply;
    case VkcSaCommand::kRefused:
      data_.SetMessage("Could not switch to Beacon Master.\n" + VkcSaCommand::RefusedTail(reply, master));
      return kStartRefused;
    case VkcSaCommand::kOk:
      break;
  }
  return kOk;
}

uint32_t VkcSpectrumUtilityController::StopAnalyser() {
  const std::string off = "@SA OFF\r\n";
  std::string reply;
  // Samples still on their way come in front of the answer: it is looked for in the whole reply.
  switch (VkcSaCommand::Send(system_, off, reply, VkcSaCommand::kLongReplySize)) {
    case VkcSaCommand::kNoReply:
      data_.SetMessage(VkcSaCommand::NoReplyMessage(off));
      return kNoStopReply;
    case VkcSaCommand::kRefused:
      data_.SetMessage(VkcSaCommand::RefusedTail(reply, off));
      return kStopRefused;
    case VkcSaCommand::kOk:
      break;
  }
  return kOk;
}

void VkcSpectrumUtilityController::OnDataReceived(const uint8_t* data, size_t length, VkcComPort* port) {
  if (!receiving_.load() || port != listened_.load()) return;
  std::lock_guard<std::mutex> g(streamLock_);
  stream_.Feed(data, length, [this](double frequency, double level) { data_.AddPoint(frequency, level); });
}

VkcSpectrumUtilityController& EnsureSpectrumController(VkcSystem& system) {
  if (system.GetSpectrumController() == nullptr || system.GetSpectrumData() == nullptr) {
    auto* data = new SpectrumScanData;
    system.SetSpectrum({new VkcSpectrumUtilityController(system, *data),
                        [](VkcSpectrumUtilityController* c) { delete c; }},
                       {data, [](SpectrumScanData* d) { delete d; }});
  }
  return *system.GetSpectrumController();
}
