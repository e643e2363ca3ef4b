#include "unit/VkcBERT.h"

#include <algorithm>
#include <vector>

#include "link/VkcComPort.h"
#include "link/VkcConnectionInterface.h"
#include "link/VkcMessageIds.h"
#include "platform/Timing.h"
#include "unit/VkcSystem.h"

namespace {

constexpr uint32_t kStandardEvents = kEvRxChar | kEvCts;
// Room over a frame's time on the line before the drain wait gives up.
constexpr uint32_t kDrainMarginMs = 50;

}  // namespace

VkcBERT::VkcBERT(VkcSystem& system) : system_(system) {}

VkcBERT::~VkcBERT() {
  worker_.Stop();
  if (port_ != nullptr) port_->RemoveListener(this);
}

bool VkcBERT::Prepare(platform::WindowHandle window, int32_t pauseMs) {
  if (running_.load() || window == platform::kNoWindow) return false;
  Join();
  window_ = window;
  data_.Reset();
  std::lock_guard<platform::CriticalSection> g(lock_);
  pattern_.ClearQueues();
  stats_ = BertStatistics{};
  pauseMs_ = static_cast<uint32_t>(std::clamp<int32_t>(pauseMs, 0, static_cast<int32_t>(kMaxPauseMs)));
  return true;
}

void VkcBERT::SetFrameSize(uint32_t bytes) { frameSize_ = bytes; }

void VkcBERT::SetRunningTime(int32_t seconds) { runningTime_ = seconds > 0 ? seconds : -1; }

bool VkcBERT::Start(bool transmit) {
  if (running_.load()) return false;
  Join();
  VkcComPort* port = system_.GetCurrentPort();
  if (port == nullptr) return false;
  {
    std::lock_guard<platform::CriticalSection> g(lock_);
    pattern_.ClearQueues();
  }
  port_ = port;
  transmit_ = transmit;
  running_.store(true);
  if (!transmit) {
    {
      std::lock_guard<platform::CriticalSection> g(lock_);
      synchronised_ = false;
    }
    inputIgnored_.store(false);
    watchCts_.store(false);
    // Listening before the worker runs, so nothing that arrives right after Start is missed.
    port_->AddListener(this, kListenerGroupProtocol);
  }
  if (!worker_.Start([this](platform::Event& stop) { ThreadProc(stop); })) {
    if (!transmit) port_->RemoveListener(this);
    running_.store(false);
    return false;
  }
  return true;
}

bool VkcBERT::Stop() {
  if (!running_.load()) return false;
  worker_.RequestStop();
  return true;
}

void VkcBERT::Join() {
  if (worker_.Joinable() && !worker_.IsCurrentThread()) worker_.Join();
}

BertStatistics VkcBERT::GetStatistics() const {
  std::lock_guard<platform::CriticalSection> g(lock_);
  return stats_;
}

void VkcBERT::Post(Notice notice) { platform::PostMessage(window_, kMsgBert, notice, 0); }

void VkcBERT::SetElapsed(uint64_t startUs) {
  std::lock_guard<platform::CriticalSection> g(lock_);
  stats_.elapsedSeconds = static_cast<uint32_t>((platform::NowUs() - startUs) / 1000000u);
}

void VkcBERT::ThreadProc(platform::Event& stop) {
  // The transmit-empty event tells when written bytes have left the port.
  port_->SetEventMask(kStandardEvents | kEvTxEmpty);
  if (transmit_)
    TransmitLoop(stop);
  else
    ReceiveLoop(stop);
  port_->SetEventMask(kStandardEvents);
  // The flag goes first, so a page that sees the end can start again at once.
  running_.store(false);
  if (window_ != platform::kNoWindow) Post(kEnded);
}

bool VkcBERT::WaitForTxEmpty(platform::Event& stop, uint32_t nominalMs) {
  VkcConnectionInterface channel(port_);
  return channel.WaitForTxEmpty(nominalMs, &stop) && !stop.IsSet();
}

bool VkcBERT::TransmitStep(platform::Event& stop, int32_t& temperature) {
  if (WaitForTxEmpty(stop, kTxEmptyMs)) stop.Wait(platform::Scaled(kTxSettleMs));
  if (stop.IsSet()) return false;
  if (system_.GetCurrentDevice() == nullptr || !system_.SwitchToCommandMode(true)) return true;
  int t = system_.QueryRadioInt("STATE TEMP\r", &stop);
  if (t == 65535) return false;
  temperature = t;
  return system_.SwitchToDataMode(true);
}

void VkcBERT::TransmitLoop(platform::Event& stop) {
  const uint32_t frameSize = std::max<uint32_t>(frameSize_, 1);
  std::vector<uint8_t> frame(frameSize);
  const uint32_t baud = port_->GetBaudRate();
  // A frame's time on the line (8N1), for the drain wait's bound.
  const uint32_t frameMs = baud ? static_cast<uint32_t>(frameSize * 10000ull / baud) : 0;
  uint64_t bitsSinceStep = 0;
  const uint64_t startUs = platform::NowUs();
  uint64_t stepUs = startUs;
  for (;;) {
    if (stop.IsSet()) break;
    pattern_.Generate(frame.data(), frameSize);
    int written = port_->Write(frame.data(), static_cast<int>(frameSize), nullptr, -1, &stop);
    if (written < static_cast<int>(frameSize)) break;
    bitsSinceStep += 8ull * frameSize;
    // A paced frame must have left the port before the pause starts, or the duty cycle is the
    // port buffer's, not the line's.
    if (pauseMs_ > 0 && baud > 0) WaitForTxEmpty(stop, frameMs + kDrainMarginMs);

    bool stepped = false;
    bool end = false;
    uint64_t now = platform::NowUs();
    if (now - stepUs >= platform::Scaled(kStepMs) * 1000ull) {
      double rate = bitsSinceStep * 1e6 / static_cast<double>(now - stepUs);
      bitsSinceStep = 0;
      // The unit is asked outside the lock, so the window's reads of the counters never wait on it.
      int32_t temperature = GetStatistics().temperature;
      end = !TransmitStep(stop, temperature);
      std::lock_guard<platform::CriticalSection> g(lock_);
      stats_.rate = rate;
      stats_.temperature = temperature;
      stepUs = platform::NowUs();
      stepped = true;
    }
    {
      std::lock_guard<platform::CriticalSection> g(lock_);
      stats_.bitsSent += 8ull * frameSize;
      stats_.framesSent += frameSize / 2;
    }
    Post(kCounters);
    if (stepped) Post(kStep);
    if (end) break;
    if (pauseMs_ > 0 && stop.Wait(pauseMs_) == 0) break;
    SetElapsed(startUs);
    int32_t limit = runningTime_;
    if (limit > 0 && GetStatistics().elapsedSeconds >= static_cast<uint32_t>(limit)) break;
  }
}

bool VkcBERT::ReceiveStep(platform::Event& stop, int32_t values[3]) {
  WaitForTxEmpty(stop, kTxEmptyMs);
  if (stop.IsSet()) return false;
  watchCts_.store(true);
  // What the unit sends from here to the end of its data-mode answer answers our commands: it is
  // not radio data. The loop takes input again once the step has returned.
  inputIgnored_.store(true);
  if (system_.GetCurrentDevice() == nullptr || !system_.SwitchToCommandMode(true)) return true;
  const char* const queries[3] = {"STATE TEMP\r", "STATE RSSI\r", "TSTUFR REMOTEPWR\r"};
  for (int i = 0; i < 3; ++i) {
    int v = system_.QueryRadioInt(queries[i], &stop);
    if (v == 65535) return false;
    values[i] = v;
  }
  return system_.SwitchToDataMode(true);
}

void VkcBERT::ReceiveLoop(platform::Event& stop) {
  // Registered as a listener by Start; unregistered here as the test ends.
  uint64_t previousBits = GetStatistics().bitsReceived;
  uint64_t accumulatedBits = 0;
  const uint64_t startUs = platform::NowUs();
  uint64_t stepUs = startUs;
  uint64_t rateMs = platform::NowMs();
  for (;;) {
    // The loop turns when data arrive; with a running time it also wakes each second to end on time.
    int32_t limit = runningTime_;
    uint32_t r = platform::Event::WaitAny({&stop, &data_}, limit > 0 ? 1000 : platform::kInfinite);
    if (r == platform::kWaitTimeout) {
      SetElapsed(startUs);
      if (GetStatistics().elapsedSeconds >= static_cast<uint32_t>(limit)) break;
      continue;
    }
    if (r != 1) break;
    uint64_t nowMs = platform::NowMs();
    if (nowMs - rateMs > platform::Scaled(kRateMs)) {
      std::lock_guard<platform::CriticalSection> g(lock_);
      uint64_t d = stats_.bitsReceived - previousBits;
      accumulatedBits += d;
      stats_.rate = d * 1000.0 / static_cast<double>(nowMs - rateMs);
      previousBits = stats_.bitsReceived;
      rateMs = nowMs;
    }
    bool stepped = false;
    bool end = false;
    uint64_t now = platform::NowUs();
    if (now - stepUs >= platform::Scaled(kStepMs) * 1000ull) {
      double rate = accumulatedBits * 1e6 / static_cast<double>(now - stepUs);
      accumulatedBits = 0;
      int32_t values[3];
      {
        std::lock_guard<platform::CriticalSection> g(lock_);
        values[0] = stats_.temperature, values[1] = stats_.rssi, values[2] = stats_.remotePower;
      }
      end = !ReceiveStep(stop, values);
      // The data-mode answer has been delivered whole (the command channel's removal waits for
      // the delivery), so what comes now is radio data. Input ignored for good would stop the
      // loop, as it turns only on counted data.
      watchCts_.store(false);
      inputIgnored_.store(false);
      std::lock_guard<platform::CriticalSection> g(lock_);
      stats_.rate = rate;
      stats_.temperature = values[0], stats_.rssi = values[1], stats_.remotePower = values[2];
      stepUs = platform::NowUs();
      stepped = true;
    }
    Post(kCounters);
    if (stepped) Post(kStep);
    SetElapsed(startUs);
    if (end) break;
    if (limit > 0 && GetStatistics().elapsedSeconds >= static_cast<uint32_t>(limit)) break;
  }
  port_->RemoveListener(this);
}

void VkcBERT::OnDataReceived(const uint8_t* data, size_t length, VkcComPort*) {
  if (inputIgnored_.load()) return;
  std::lock_guard<platform::CriticalSection> g(lock_);
  uint64_t errors = 0;
  uint64_t lost = 0;
  size_t pos = 0;
  // After a loss of sync the rest of the same data synchronises afresh, so the counts do not
  // depend on how the reader cut the stream.
  while (pos < length) {
    if (!synchronised_) {
      long p = pattern_.Synchronise(data + pos, length - pos);
      if (p < 0) break;
      synchronised_ = true;
      pos += static_cast<size_t>(p);
      continue;
    }
    BertPattern::CountResult r = pattern_.CountErrors(data + pos, length - pos);
    errors += r.bitErrors;
    lost += r.lost;
    pos += r.consumed;
    if (r.syncLost) synchronised_ = false;
  }
  stats_.bitsReceived += 8ull * length;
  stats_.bitErrors += errors;
  stats_.bytesReceived += length;
  stats_.lostCount += lost;
  data_.Set();
}

void VkcBERT::OnPortEvent(uint32_t eventMask, VkcComPort* port) {
  if (!watchCts_.load() || !(eventMask & kEvCts) || port == nullptr) return;
  if ((port->GetModemStatus() & kMsCtsOn) == 0) {
    inputIgnored_.store(true);
    watchCts_.store(false);
  }
}
