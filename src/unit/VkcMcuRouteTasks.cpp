#include "unit/VkcMcuRouteTasks.h"

#include "devices/VkcDeviceManager.h"
#include "devices/VkcMCUController.h"
#include "unit/VkcSystem.h"

uint32_t VkcMcuRouteTasks::Process(uint32_t operation, intptr_t, platform::WindowHandle, platform::Event& stop) {
  VkcMCUController& mcu = devices_.GetMCUController();
  if (operation == kOpRefreshRoute) {
    mcu.RefreshRoute(unit_.GetCurrentPort(), &stop);
  } else if (operation == kOpApplyStoredRoute) {
    mcu.ApplyStoredRoute(unit_.GetCurrentPort(), &stop);
  }
  return 0;
}
