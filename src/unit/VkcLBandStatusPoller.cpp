#include "unit/VkcLBandStatusPoller.h"

#include "devices/VkcDeviceManager.h"
#include "link/Format.h"
#include "link/VkcMessageIds.h"
#include "platform/Timing.h"
#include "unit/VkcSystem.h"

VkcLBandStatusPoller::VkcLBandStatusPoller(VkcSystem& system) : system_(system) {}

VkcLBandStatusPoller::~VkcLBandStatusPoller() { worker_.Stop(); }

uint32_t VkcLBandStatusPoller::Process(uint32_t operation, intptr_t, platform::WindowHandle, platform::Event&) {
  switch (operation) {
    case kOpBegin:
      return Begin() ? 0 : 1;
    case kOpEnd:
      End();
      return 0;
    default:
      return 0;
  }
}

bool VkcLBandStatusPoller::Begin() {
  if (VkcDeviceManager* manager = system_.GetDeviceManager())
    manager->GetMCUController().RefreshRoute(system_.GetCurrentPort());
  const bool ok = system_.SwitchToCommandMode(true);
  commandMode_.store(ok);
  return ok;
}

void VkcLBandStatusPoller::End() {
  // A unit the last poll returned to data mode is left alone: the wake-up CR of another switch
  // would go out over the radio as data.
  if (commandMode_.load() && system_.SwitchToDataMode(true)) commandMode_.store(false);
  if (VkcDeviceManager* manager = system_.GetDeviceManager())
    manager->GetMCUController().ApplyStoredRoute(system_.GetCurrentPort());
}

bool VkcLBandStatusPoller::Start(platform::WindowHandle window) {
  window_.store(window);
  return worker_.Start([this](platform::Event& stop) { PollThreadProc(stop); });
}

VkcLBandStatusPoller::Texts VkcLBandStatusPoller::GetTexts() const {
  std::lock_guard<std::mutex> g(textsLock_);
  return texts_;
}

std::string VkcLBandStatusPoller::SymbolRateText(int value) {
  switch (value) {
    case 1: return "9752.38";
    case 2: return "4576.19";
    case 3: return "2438.095";
    case 4: return "1219.047";
    case 5: return "609.524";
    default: return "Not Recognized";
  }
}

void VkcLBandStatusPoller::PollThreadProc(platform::Event& stop) {
  uint64_t last = platform::NowMs();
  for (;;) {
    if (stop.Wait(platform::Scaled(kWaitMs)) == 0) break;
    const uint64_t now = platform::NowMs();
    if (now - last < platform::Scaled(kPollMs)) continue;
    if (!PollStatus(stop)) break;
    last = now;
  }
  platform::PostMessage(window_.load(), kMsgLband, kEnded, 0);
}

bool VkcLBandStatusPoller::PollStatus(platform::Event& stop) {
  if (system_.GetCurrentDevice() == nullptr || !system_.SwitchToCommandMode(true)) {
    answered_.store(false);
    return false;
  }
  commandMode_.store(true);
  if (resetBer_.exchange(false)) system_.ResetBER(&stop);
  Texts t;
  // Every integer query, the frequency too, ends the run quietly without a valid reply.
  const int rssi = system_.QueryRadioInt("STATE RSSI\r", &stop);
  if (rssi == kNoValue) return false;
  t.rssi = StrPrintf("%d dBm", rssi);
  const int frequency = system_.QueryRadioInt("STATE FREQ\r", &stop);
  if (frequency == kNoValue) return false;
  t.frequency = StrPrintf("%d Hz", frequency);
  const int type = system_.QueryRadioInt("LINK SIGTYPE\r", &stop);
  if (type == kNoValue) return false;
  t.symbolRate = SymbolRateText(type);
  const int sync = system_.QueryRadioInt("STATE SYNC\r", &stop);
  if (sync == kNoValue) return false;
  t.sync = sync == 1 ? "Unique word is confirmed" : "Unique word was not confirmed";
  t.ber = system_.GetBER(&stop);
  // A failed quality query reads "N/A", as the BER and service texts do, not the value 65535.
  const int quality = system_.QueryRadioInt("STATE EBN0\r", &stop);
  t.quality = quality == kNoValue ? "N/A" : StrPrintf("%d", quality);
  t.rsid = system_.GetRSID(&stop);
  // A poll cut short by Stop shows nothing of it and leaves the return to data mode to the page.
  if (stop.IsSet()) return false;
  {
    std::lock_guard<std::mutex> g(textsLock_);
    texts_ = t;
  }
  platform::PostMessage(window_.load(), kMsgLband, kPolled, 0);
  if (!system_.SwitchToDataMode(true)) return false;
  commandMode_.store(false);
  return true;
}
