#pragma once
// The L-band Status page without widgets: Start/Stop runs the status poll of an L-band or beacon
// receiver, whose texts come back by message 1041; "Reset BER" asks the next poll to reset the
// unit's bit error rate counter. The unit's mode switches around a run go through the progress
// dialog, so a silent unit never freezes the window.

#include <cstdint>
#include <memory>

#include "app/PageModel.h"
#include "platform/Messages.h"

class VkcLBandStatusPoller;

class VkcPPLBStateModel : public PageModel {
 public:
  static constexpr int kTemplate = 156;
  static constexpr int kRssi = 1144;
  static constexpr int kFrequency = 1146;
  static constexpr int kSymbolRate = 1148;
  static constexpr int kUniqueWord = 1150;
  static constexpr int kQuality = 1152;
  static constexpr int kBer = 1154;
  static constexpr int kServiceId = 1158;
  static constexpr int kStartStop = 1140;
  static constexpr int kResetBer = 1098;
  // Feature of the devices that report an L-band status.
  static constexpr int kFeatureLbandStatus = 4;

  VkcPPLBStateModel();
  ~VkcPPLBStateModel() override;

  // The window the poll posts 1041 to.
  void SetWindow(platform::WindowHandle window) { window_ = window; }

  void Refresh() override;
  void OnStartStop();
  void OnResetBer();
  void OnStatusMessage(intptr_t wParam);
  bool IsRunning() const { return running_; }

 private:
  VkcLBandStatusPoller& Poller();
  bool HasStatus();

  platform::WindowHandle window_ = platform::kNoWindow;
  std::unique_ptr<VkcLBandStatusPoller> poller_;
  bool running_ = false;
};
