#include "sim/SimBertRelay.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <random>
#include <unistd.h>

#include "sim/SimXmodPump.h"

namespace sim {

SimBertRelay::~SimBertRelay() { Stop(); }

bool SimBertRelay::Start(uint32_t bytesPerSecond, std::vector<BertImpairment> plan, uint64_t limit) {
  if (!IsOk()) return false;
  bytesPerSecond_ = bytesPerSecond;
  plan_ = std::move(plan);
  limit_ = limit;
  next_ = 0;
  deleting_ = 0;
  {
    std::lock_guard<std::mutex> g(m_);
    ledger_ = BertLedger{};
  }
  return thread_.Start([this](platform::Event& stop) { Run(stop); });
}

void SimBertRelay::Stop() { thread_.Stop(); }

BertLedger SimBertRelay::Ledger() const {
  std::lock_guard<std::mutex> g(m_);
  return ledger_;
}

void SimBertRelay::Forward(const uint8_t* data, size_t n, std::string& out) {
  std::lock_guard<std::mutex> g(m_);
  for (size_t i = 0; i < n; ++i) {
    uint64_t pos = ledger_.read++;
    if (pos >= limit_) continue;
    uint8_t b = data[i];
    while (next_ < plan_.size() && plan_[next_].offset + std::max<size_t>(plan_[next_].masks.size(), 1) <= pos &&
           plan_[next_].kind == BertImpairment::Kind::Flip)
      ++next_;
    if (deleting_ > 0) {
      --deleting_;
      ++ledger_.deleted;
      continue;
    }
    if (next_ < plan_.size() && plan_[next_].offset <= pos) {
      const BertImpairment& imp = plan_[next_];
      switch (imp.kind) {
        case BertImpairment::Kind::Flip: {
          uint8_t mask = static_cast<uint8_t>(imp.masks[pos - imp.offset]);
          b ^= mask;
          ledger_.flippedBits += static_cast<uint64_t>(__builtin_popcount(mask));
          if (pos == imp.offset) ledger_.applied.push_back(imp);
          break;
        }
        case BertImpairment::Kind::Delete:
          ledger_.applied.push_back(imp);
          ++next_;
          ++ledger_.deleted;
          deleting_ = imp.count > 0 ? imp.count - 1 : 0;
          continue;
        case BertImpairment::Kind::Insert:
          ledger_.applied.push_back(imp);
          out += imp.bytes;
          ledger_.inserted += imp.bytes.size();
          ++next_;
          break;
      }
    }
    out.push_back(static_cast<char>(b));
  }
  ledger_.forwarded += out.size();
}

void SimBertRelay::Run(platform::Event& stop) {
  using Clock = std::chrono::steady_clock;
  Clock::time_point busy = Clock::now();
  uint8_t buf[4096];
  std::string out;
  for (;;) {
    pollfd p[2] = {{in_.MasterFd(), POLLIN, 0}, {stop.Fd(), POLLIN, 0}};
    int r = ::poll(p, 2, 1000);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0 || stop.IsSet()) return;
    if (!(p[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
    size_t chunk = sizeof buf;
    if (bytesPerSecond_) chunk = std::clamp<size_t>(bytesPerSecond_ / 200, 1, sizeof buf);  // about 5 ms of line
    ssize_t n = ::read(in_.MasterFd(), buf, chunk);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (n <= 0) {
      // No one has the transmitter's side open (yet, or any more).
      if (stop.Wait(5) == 0) return;
      continue;
    }
    if (bytesPerSecond_) {
      auto now = Clock::now();
      if (busy < now) busy = now;
      busy += std::chrono::microseconds(static_cast<int64_t>(n) * 1000000 / bytesPerSecond_);
      auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(busy - now).count();
      if (wait > 0 && stop.Wait(static_cast<uint32_t>(wait)) == 0) return;
    }
    out.clear();
    Forward(buf, static_cast<size_t>(n), out);
    if (!out.empty()) SimXmodPump::WriteAll(out_.MasterFd(), reinterpret_cast<const uint8_t*>(out.data()), out.size(), 5000);
  }
}

std::vector<BertImpairment> SimBertRelay::SeededFlips(uint32_t seed, uint64_t streamBytes, uint32_t bursts,
                                                      uint32_t minGap) {
  std::mt19937 rng(seed);
  std::vector<BertImpairment> plan;
  uint64_t at = 20;
  const uint64_t end = streamBytes > minGap ? streamBytes - minGap : 0;
  const uint64_t room = bursts ? (end > at ? (end - at) / bursts : 0) : 0;
  if (room < minGap + 8) return plan;
  for (uint32_t i = 0; i < bursts; ++i) {
    BertImpairment imp;
    imp.offset = at + rng() % (room - minGap - 7);
    uint32_t len = 1 + rng() % 7;
    for (uint32_t j = 0; j < len; ++j) imp.masks.push_back(static_cast<char>(1 + rng() % 255));
    plan.push_back(imp);
    at += room;
  }
  return plan;
}

}  // namespace sim
