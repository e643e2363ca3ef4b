#include "utilities/VkcPPLBStateModel.h"

#include "app/PageHost.h"
#include "devices/VkcDevice.h"
#include "link/Ansi.h"
#include "link/VkcMessageIds.h"
#include "unit/VkcLBandStatusPoller.h"
#include "unit/VkcSystem.h"

VkcPPLBStateModel::VkcPPLBStateModel() {
  for (int id : {kRssi, kFrequency, kSymbolRate, kUniqueWord, kQuality, kBer, kServiceId}) {
    controls_.SetReadOnly(id, true);
    controls_.SetText(id, u"");
  }
  controls_.SetText(kStartStop, u"Start");
  controls_.SetText(kResetBer, u"Reset BER");
  On(kStartStop, ControlEvent::Clicked, [this] { OnStartStop(); });
  On(kResetBer, ControlEvent::Clicked, [this] { OnResetBer(); });
}

// The poller's own destructor stops and joins its worker.
VkcPPLBStateModel::~VkcPPLBStateModel() = default;

VkcLBandStatusPoller& VkcPPLBStateModel::Poller() {
  if (!poller_) poller_ = std::make_unique<VkcLBandStatusPoller>(Host().Unit());
  return *poller_;
}

bool VkcPPLBStateModel::HasStatus() {
  if (!HasHost()) return false;
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  return device != nullptr && device->HasFeature(unit, kFeatureLbandStatus);
}

void VkcPPLBStateModel::Refresh() {
  const bool on = HasStatus();
  controls_.Enable(kStartStop, on);
  controls_.Enable(kResetBer, on);
}

void VkcPPLBStateModel::OnStartStop() {
  if (!HasHost()) return;
  if (running_) {
    Poller().Stop();
    return;
  }
  if (!Host().LockProcess(this)) {
    ShowMessage("Unable to run L-Band status querying process.\nAnother process is running");
    return;
  }
  // No current device is a failed start too: the lock must not stay taken.
  bool started = Host().Unit().GetCurrentDevice() != nullptr;
  if (started) {
    const ProgressRun run = Host().RunProgress({{&Poller(), VkcLBandStatusPoller::kOpBegin, 0}}, {});
    if (run.modal != kModalOk) {
      ShowMessage("Unable to switch to command mode");
      started = false;
    }
  }
  if (started) started = Poller().Start(window_);
  if (!started) {
    Host().UnlockProcess(this);
    controls_.SetText(kStartStop, u"Start");
    return;
  }
  running_ = true;
  controls_.SetText(kStartStop, u"Stop");
}

void VkcPPLBStateModel::OnResetBer() {
  Poller().RequestResetBer();
  controls_.SetText(kBer, u"0E-0");
}

void VkcPPLBStateModel::OnStatusMessage(intptr_t wParam) {
  if (wParam == VkcLBandStatusPoller::kPolled) {
    const VkcLBandStatusPoller::Texts t = Poller().GetTexts();
    controls_.SetText(kRssi, AnsiToWide(t.rssi));
    controls_.SetText(kFrequency, AnsiToWide(t.frequency));
    controls_.SetText(kSymbolRate, AnsiToWide(t.symbolRate));
    controls_.SetText(kUniqueWord, AnsiToWide(t.sync));
    controls_.SetText(kQuality, AnsiToWide(t.quality));
    controls_.SetText(kBer, AnsiToWide(t.ber));
    controls_.SetText(kServiceId, AnsiToWide(t.rsid));
    return;
  }
  if (wParam != VkcLBandStatusPoller::kEnded || !running_) return;
  // Joined before Start is offered again, so an old worker never outlives its run.
  Poller().Join();
  running_ = false;
  if (Host().Unit().GetCurrentDevice() != nullptr && Poller().WasAnswered())
    Host().RunProgress({{&Poller(), VkcLBandStatusPoller::kOpEnd, 0}}, {});
  if (!Host().UnlockProcess(this)) ShowMessage("Unable to Unlock L-Band Status querying process");
  if (!Poller().WasAnswered()) {
    ShowMessage("No response from the unit");
    Poller().SetAnswered();
  }
  controls_.SetText(kStartStop, u"Start");
}
