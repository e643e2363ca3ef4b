#pragma once
// The MCU's route as progress tasks: pointing the MCU's traffic at the port the program uses before
// a send, and putting the stored route back after it. Run on the progress dialog's worker, so a
// silent MCU costs its time-outs there and never on the window's thread.

#include "link/VkiPostProcess.h"

class VkcDeviceManager;
class VkcSystem;

class VkcMcuRouteTasks : public VkiPostProcess {
 public:
  static constexpr uint32_t kOpRefreshRoute = 0;
  static constexpr uint32_t kOpApplyStoredRoute = 1;

  VkcMcuRouteTasks(VkcDeviceManager& devices, VkcSystem& unit) : devices_(devices), unit_(unit) {}

  // Always 0: a route the MCU does not take is forgotten by the controller, not reported.
  uint32_t Process(uint32_t operation, intptr_t parameter, platform::WindowHandle notify,
                   platform::Event& stop) override;

 private:
  VkcDeviceManager& devices_;
  VkcSystem& unit_;
};
