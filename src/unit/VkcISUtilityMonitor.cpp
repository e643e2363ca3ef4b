// The RTN utility's monitor thread: reads the service status every 2 s while the service runs.

#include "link/Ansi.h"
#include "link/VkcMessageIds.h"
#include "platform/Timing.h"
#include "unit/VkcISConfigController.h"
#include "unit/VkcISUtilityController.h"
#include "unit/VkcSystem.h"

void VkcISUtilityController::StartMonitor() {
  UtilityFinishedEvent().Reset();
  monitorRunning_.store(true);
  if (!monitor_.Start([this](platform::Event& stop) {
        const int result = MonitorLoop(stop);
        // The page reports the result on its own thread.
        Post(kNoticeEnded, result);
        monitorRunning_.store(false);
        UtilityFinishedEvent().Set();
      })) {
    monitorRunning_.store(false);
  }
}

int VkcISUtilityController::MonitorLoop(platform::Event& stop) {
  // A failure that a stop caused is the stop.
  auto failed = [&stop] { return stop.IsSet() ? kResultStopped : kResultMonitorFailed; };
  if (serviceIndex_.load() == VkcISConfigController::kTcpServer) {
    const std::string host = SendStatusCommand("RTN HOSTNAME\r\n", &stop);
    if (host == "NULL") return failed();
    SetHostName(AnsiToWide(host));
  }
  uint32_t wait = 0;
  for (;;) {
    if (stop.Wait(wait) == 0) return kResultStopped;
    wait = platform::Scaled(kMonitorPeriodMs);
    if (monitoring_.load()) {
      if (system_.GetCurrentDevice() == nullptr || !system_.SwitchToCommandMode(true) || !QueryStatus(&stop)) {
        return failed();
      }
      Post(kNoticeStatus);
    } else if (!dataModeRestored_.load()) {
      system_.SwitchToDataMode(true);
      dataModeRestored_.store(true);
      ResetStatus();
      Post(kNoticePaused);
    }
  }
}
