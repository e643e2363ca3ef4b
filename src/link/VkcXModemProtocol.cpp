#include "link/VkcXModemProtocol.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "link/VkcComPort.h"
#include "link/VkcLinkTimes.h"
#include "link/VkcXModemCrc.h"
#include "platform/Timing.h"

VkcXModemProtocol::VkcXModemProtocol(VkcComPort* port)
    : writer_([this, port](const uint8_t* d, size_t n) {
        return port && port->Write(d, static_cast<int>(n), this, -1, nullptr) == static_cast<int>(n);
      }),
      registrar_([this, port](bool add) {
        if (!port) return;
        if (add)
          port->AddListener(this, kListenerGroupProtocol);
        else
          port->RemoveListener(this);
      }),
      portOpen_([port] { return port && port->IsOpen(); }) {}

VkcXModemProtocol::VkcXModemProtocol(Writer writer, Registrar registrar)
    : writer_(std::move(writer)), registrar_(std::move(registrar)) {}

VkcXModemProtocol::~VkcXModemProtocol() { Register(false); }

void VkcXModemProtocol::Register(bool add) {
  if (add == registered_) return;
  registered_ = add;
  if (registrar_) registrar_(add);
}

void VkcXModemProtocol::SendBuffer(const uint8_t* data, size_t length) {
  if (writer_ && !writer_(data, length)) writeFailed_ = true;
}

bool VkcXModemProtocol::LinkLost() const { return writeFailed_.load() || (portOpen_ && !portOpen_()); }

uint32_t VkcXModemProtocol::WaitWake(uint32_t timeoutMs, platform::Event* cancel) {
  // In slices, so a port that closes or hangs up ends the wait (it sets no event of ours).
  const uint64_t until = platform::NowMs() + platform::Scaled(timeoutMs);
  const uint32_t slice = platform::Scaled(linktimes::kXModemPortCheck);
  for (;;) {
    if (LinkLost()) return 1;
    const uint64_t now = platform::NowMs();
    if (now >= until) return platform::kWaitTimeout;
    const uint32_t ms = static_cast<uint32_t>(std::min<uint64_t>(until - now, std::max<uint32_t>(slice, 1)));
    if (cancel) {
      uint32_t r = platform::Event::WaitAny({cancel, &wake_}, ms);
      if (r == 0) return 1;
      if (r == 1) return 0;
    } else if (wake_.Wait(ms) == 0) {
      return 0;
    }
  }
}

void VkcXModemProtocol::OnBytes(const uint8_t* data, size_t length) {
  if (!data || length == 0) return;
  std::lock_guard<platform::Mutex> guard(lock_);
  ++arrivals_;
  uint32_t st = state_.load();
  if (keepTrailing_) {
    trailing_.append(reinterpret_cast<const char*>(data), std::min(length, kMaxTrailing - trailing_.size()));
    return;
  }
  if (st == kBlockComplete) {
    overrun_ = true;
    KeepBehindEotLocked(data, length);
    // Nothing is due between blocks: a CAN here is the sender giving up.
    if (data[0] == kCAN) {
      senderCancelled_ = true;
      wake_.Set();
    }
    return;
  }
  if (st == kCollecting) {
    size_t take = std::min(length, kChecksumBlock - count_);
    std::memcpy(rx_.data() + count_, data, take);
    count_ += take;
    // A sender waits for our reply after a block: bytes beyond it mean the block is misaligned
    // (a byte was lost or added), however its checksum looks.
    if (take < length) {
      overrun_ = true;
      // A cancel right behind a block.
      const uint8_t* extra = data + take;
      size_t n = length - take;
      KeepBehindEotLocked(extra, n);
      bool can = extra[0] == kCAN;
      for (size_t i = 1; !can && i < n; ++i) can = extra[i] == kCAN && extra[i - 1] == kCAN;
      if (can) senderCancelled_ = true;
    }
    if (count_ == kChecksumBlock) {
      state_ = kBlockComplete;
      wake_.Set();
    } else if (rx_[0] == kEOT || rx_[0] == kCAN) {
      wake_.Set();
    }
    return;
  }
  if (st == kWaitReply && eotPending_) {
    // The reply to the EOT: only a NAK asks for something (the EOT again).
    state_ = data[0] == kNAK ? kResend : kSenderDone;
    wake_.Set();
    return;
  }
  if (st == kWaitStart || st == kWaitReply) {
    uint8_t b = data[0];
    // A receiver repeats its 'C' until the first block arrives: one that crosses the first block is
    // no refusal of it (taking it as one would send the block twice and pair the next ACK wrongly).
    if (b == kCRC && st == kWaitReply && firstPending_) return;
    if (b == kCRC || b == kNAK) {
      if (st == kWaitStart) {
        if (b == kCRC) crcMode_ = true;
        state_ = kGo;
      } else {
        state_ = kResend;
      }
      wake_.Set();
    } else if (b == kACK) {
      // An ACK means nothing before anything was sent.
      if (st == kWaitReply) {
        firstPending_ = false;
        state_ = kGo;
        wake_.Set();
      }
    } else if (b == kCAN) {
      state_ = kSenderDone;
      wake_.Set();
    }
  }
}

void VkcXModemProtocol::KeepBehindEotLocked(const uint8_t* data, size_t length) {
  // More than a block's worth of the sender's text behind its EOT: kept in case the EOT ends the file.
  if (count_ == 0 || rx_[0] != kEOT || trailing_.size() >= kMaxTrailing) return;
  trailing_.append(reinterpret_cast<const char*>(data), std::min(length, kMaxTrailing - trailing_.size()));
}

// ---- sender ----

bool VkcXModemProtocol::BeginSend() {
  if (begun_) return false;
  {
    std::lock_guard<platform::Mutex> guard(lock_);
    state_ = kWaitStart;
    count_ = 0;
    crcMode_ = false;
    wake_.Reset();
  }
  writeFailed_ = false;
  begun_ = true;
  sending_ = true;
  blockNumber_ = 1;
  txLength_ = 0;
  Register(true);
  return true;
}

VkcXModemProtocol::Settle VkcXModemProtocol::AwaitGo(uint32_t timeoutMs, platform::Event* cancel) {
  int tries = 1;
  for (;;) {
    uint32_t st = state_.load();
    if (st == kResend) {
      // Nothing sent yet: a missed start is waited for again, never answered with garbage.
      st = txLength_ ? kWaitReply : kWaitStart;
      {
        std::lock_guard<platform::Mutex> guard(lock_);
        state_ = st;
        wake_.Reset();
      }
      if (txLength_) SendBuffer(tx_.data(), txLength_);
    }
    if (st == kWaitStart || st == kWaitReply) {
      uint32_t r = WaitWake(timeoutMs, cancel);
      if (r == 1) return Settle::Failed;
      if (r == platform::kWaitTimeout) {
        std::lock_guard<platform::Mutex> guard(lock_);
        if (state_.load() == st) state_ = kResend;
      } else {
        std::lock_guard<platform::Mutex> guard(lock_);
        if (state_.load() == st) wake_.Reset();  // stale wake; keep waiting
        continue;
      }
      st = state_.load();
    }
    if (st == kSenderDone) return Settle::Failed;
    if (st == kResend) {
      if (++tries > kMaxTries) return Settle::Failed;
      continue;
    }
    if (st == kGo) return Settle::Go;
    return Settle::Failed;  // a receiver state: not sending
  }
}

bool VkcXModemProtocol::SendBlock(const uint8_t* data128, uint32_t timeoutMs, platform::Event* cancel) {
  if (!begun_ || !sending_ || !data128) return false;
  if (AwaitGo(timeoutMs, cancel) != Settle::Go) return false;
  uint8_t n = static_cast<uint8_t>(blockNumber_ & 0xFF);
  tx_[0] = kSOH;
  tx_[1] = n;
  tx_[2] = static_cast<uint8_t>(255 - n);
  std::memcpy(tx_.data() + 3, data128, kBlockData);
  if (crcMode_.load()) {
    uint16_t crc = XModemCrc16(data128, kBlockData);
    tx_[131] = static_cast<uint8_t>(crc >> 8);
    tx_[132] = static_cast<uint8_t>(crc & 0xFF);
    txLength_ = kCrcBlock;
  } else {
    tx_[131] = XModemChecksum(data128, kBlockData);
    txLength_ = kChecksumBlock;
  }
  ++blockNumber_;
  {
    std::lock_guard<platform::Mutex> guard(lock_);
    firstPending_ = n == 1 && blockNumber_ == 2;
    state_ = kWaitReply;
    wake_.Reset();
  }
  SendBuffer(tx_.data(), txLength_);
  return true;
}

bool VkcXModemProtocol::FinishSend(uint32_t timeoutMs, platform::Event* cancel) {
  if (!begun_ || !sending_) return false;
  const bool ok = AwaitGo(timeoutMs, cancel) == Settle::Go;
  for (int tries = 1; ok; ++tries) {
    {
      std::lock_guard<platform::Mutex> guard(lock_);
      state_ = kWaitReply;
      eotPending_ = true;
      wake_.Reset();
    }
    const uint8_t eot = kEOT;
    SendBuffer(&eot, 1);
    const bool woke = WaitWake(timeoutMs, cancel) == 0;
    if (!woke || state_.load() != kResend || tries >= kMaxTries) break;
  }
  {
    std::lock_guard<platform::Mutex> guard(lock_);
    eotPending_ = false;
    if (ok) state_ = kSenderDone;
  }
  Register(false);
  begun_ = false;
  sending_ = false;
  return ok;
}

// ---- receiver ----

bool VkcXModemProtocol::BeginReceive() {
  {
    std::lock_guard<platform::Mutex> guard(lock_);
    state_ = kIdle;
    count_ = 0;
    senderCancelled_ = false;
    keepTrailing_ = false;
    trailing_.clear();
    wake_.Reset();
  }
  writeFailed_ = false;
  begun_ = true;
  sending_ = false;
  blockNumber_ = 1;
  Register(true);
  return true;
}

// A first byte CAN ends the transfer only when no block bytes follow it (a block whose SOH was
// lost). A first byte EOT ends the file whatever follows, however long (a unit may print its
// result right behind it), unless the next byte is 0xFB: then it is block 4 (number 4, complement
// 0xFB) that lost its SOH.
bool VkcXModemProtocol::IsLoneControl(uint8_t control) {
  constexpr uint8_t kBlock4Complement = 0xFB;
  auto judge = [&](bool final) -> int {  // 1 lone, 0 not, -1 undecided
    std::lock_guard<platform::Mutex> guard(lock_);
    if (control == kEOT) {
      if (count_ >= 2) return rx_[1] == kBlock4Complement ? 0 : 1;
      return final ? 1 : -1;
    }
    if (count_ >= 2 && rx_[1] == kCAN) return 1;  // a cancel burst
    for (size_t i = 1; i < count_; ++i)
      if (rx_[i] != control) return 0;
    return final ? 1 : -1;
  };
  int v = judge(false);
  if (v >= 0) return v == 1;
  platform::Event idle;
  idle.Wait(platform::Scaled(linktimes::kXModemControlSettle));
  return judge(true) == 1;
}

bool VkcXModemProtocol::ReceiveBlock(uint8_t* destination128, uint32_t timeoutMs, platform::Event* cancel) {
  if (!begun_ || sending_ || !destination128) return false;
  uint8_t reply = state_.load() == kIdle ? kNAK : kACK;
  int errors = 0;
  auto cancelledBySender = [&] {
    {
      std::lock_guard<platform::Mutex> guard(lock_);
      if (!senderCancelled_) return false;
      state_ = kEnded;
    }
    uint8_t ack = kACK;
    SendBuffer(&ack, 1);
    return true;
  };
  for (;;) {
    if (cancelledBySender()) return false;
    {
      std::lock_guard<platform::Mutex> guard(lock_);
      state_ = kCollecting;
      count_ = 0;
      overrun_ = false;
      trailing_.clear();
      wake_.Reset();
    }
    SendBuffer(&reply, 1);
    int timeouts = 0;
    bool woke = false;
    while (!woke) {
      uint32_t r = WaitWake(timeoutMs, cancel);
      if (r == 1) return false;
      if (r == 0) {
        woke = true;
        break;
      }
      {
        std::lock_guard<platform::Mutex> guard(lock_);
        if (wake_.IsSet()) {
          woke = true;
          break;
        }
        count_ = 0;
        overrun_ = false;
        trailing_.clear();
      }
      if (++timeouts == kMaxTimeouts) break;
      uint8_t nak = kNAK;
      SendBuffer(&nak, 1);
    }
    reply = kNAK;
    if (woke && cancelledBySender()) return false;
    if (woke) {
      std::array<uint8_t, kCrcBlock> block{};
      size_t count;
      bool overrun;
      {
        std::lock_guard<platform::Mutex> guard(lock_);
        count = count_;
        block = rx_;
        overrun = overrun_;
      }
      uint8_t first = count ? block[0] : 0;
      // An EOT ends the file however much text came with it; a CAN only without block bytes.
      const bool control = first == kEOT || (first == kCAN && count < kChecksumBlock);
      if (control && IsLoneControl(first)) {
        {
          std::lock_guard<platform::Mutex> guard(lock_);
          state_ = kEnded;
          if (first == kEOT) {
            keepTrailing_ = true;
            trailing_.insert(0, reinterpret_cast<const char*>(rx_.data()) + 1, count_ > 1 ? count_ - 1 : 0);
            if (trailing_.size() > kMaxTrailing) trailing_.resize(kMaxTrailing);
          }
        }
        uint8_t ack = kACK;
        SendBuffer(&ack, 1);
        return first == kEOT;
      }
      if (first == kSOH && count == kChecksumBlock && !overrun &&
          static_cast<uint8_t>(block[1] + block[2]) == 0xFF &&
          XModemChecksum(block.data() + 3, kBlockData) == block[131]) {
        uint8_t expected = static_cast<uint8_t>(blockNumber_ & 0xFF);
        if (block[1] == expected) {
          std::memcpy(destination128, block.data() + 3, kBlockData);
          ++blockNumber_;
          return true;
        }
        // The previous block again (our ACK was lost): acknowledged and dropped. Any other
        // number would mean a gap in the file: refused.
        if (block[1] == static_cast<uint8_t>(expected - 1)) reply = kACK;
      }
    }
    if (++errors >= kMaxErrors) return false;
    if (reply == kNAK) Purge(timeoutMs);
  }
}

// Lets the rest of a broken block go by before asking again, so the repeat is read from its SOH.
void VkcXModemProtocol::Purge(uint32_t timeoutMs) {
  {
    std::lock_guard<platform::Mutex> guard(lock_);
    state_ = kBlockComplete;  // bytes are ignored meanwhile
  }
  platform::Event idle;
  uint32_t settle = platform::Scaled(linktimes::kXModemControlSettle);
  uint64_t until = platform::NowMs() + platform::Scaled(timeoutMs);
  for (;;) {
    uint64_t before = arrivals_.load();
    idle.Wait(settle);
    if (arrivals_.load() == before || platform::NowMs() >= until) return;
  }
}

void VkcXModemProtocol::Cancel() {
  static const uint8_t kCans[5] = {kCAN, kCAN, kCAN, kCAN, kCAN};
  {
    std::lock_guard<platform::Mutex> guard(lock_);
    state_ = kEnded;
    wake_.Set();
  }
  SendBuffer(kCans, sizeof kCans);
}

std::string VkcXModemProtocol::TakeTrailing() {
  std::lock_guard<platform::Mutex> guard(lock_);
  std::string out = std::move(trailing_);
  trailing_.clear();
  return out;
}

void VkcXModemProtocol::End() {
  Register(false);
  {
    std::lock_guard<platform::Mutex> guard(lock_);
    keepTrailing_ = false;
  }
  begun_ = false;
  sending_ = false;
}
