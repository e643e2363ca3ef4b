#include "unit/BertPattern.h"

#include <bit>
#include <memory>
#include <vector>

namespace {

constexpr uint32_t kPeriod = 65535;  // every non-zero state, once

// The cycle of the register from the seed, and each state's place on it; 8-step tables split by
// byte (the step is linear, so 8 steps of a state are the XOR of 8 steps of its two bytes).
struct Tables {
  std::vector<uint16_t> sequence = std::vector<uint16_t>(kPeriod);
  std::vector<uint16_t> position = std::vector<uint16_t>(kPeriod + 1);
  uint16_t byteLow[256];
  uint16_t byteHigh[256];

  Tables() {
    uint32_t s = BertPattern::kSeed;
    for (uint32_t i = 0; i < kPeriod; ++i) {
      sequence[i] = static_cast<uint16_t>(s);
      position[s] = static_cast<uint16_t>(i);
      s = BertPattern::Step(s);
    }
    for (uint32_t b = 0; b < 256; ++b) {
      uint32_t lo = b, hi = b << 8;
      for (int i = 0; i < 8; ++i) lo = BertPattern::Step(lo), hi = BertPattern::Step(hi);
      byteLow[b] = static_cast<uint16_t>(lo);
      byteHigh[b] = static_cast<uint16_t>(hi);
    }
  }
};

const Tables& T() {
  static const Tables tables;
  return tables;
}

inline uint32_t Byte8(uint32_t s) {
  const Tables& t = T();
  return t.byteLow[s & 0xFF] ^ t.byteHigh[(s >> 8) & 0xFF];
}

inline uint32_t Word(uint8_t low, uint8_t high) { return low | (static_cast<uint32_t>(high) << 8); }

}  // namespace

BertPattern::BertPattern() { T(); }

uint32_t BertPattern::Step(uint32_t state) {
  uint32_t parity = std::popcount(state & kTaps & kMask) & 1u;
  return ((state >> 1) | (parity << (kLength - 1))) & kMask;
}

uint32_t BertPattern::AdvanceBytes(uint32_t state, uint32_t bytes) {
  state &= kMask;
  if (state == 0) return 0;  // the zero state never leaves itself
  const Tables& t = T();
  uint64_t at = (static_cast<uint64_t>(t.position[state]) + 8ull * bytes) % kPeriod;
  return t.sequence[at];
}

void BertPattern::Advance(uint32_t bytes) {
  if (bytes == 1)
    state_ = Byte8(state_);
  else
    state_ = AdvanceBytes(state_, bytes);
}

uint32_t BertPattern::NextWord() {
  state_ = Byte8(Byte8(state_));
  return state_;
}

void BertPattern::Generate(uint8_t* frame, size_t frameSize) {
  size_t words = frameSize / 2;
  for (size_t i = 0; i < words; ++i) {
    uint32_t w = NextWord();
    frame[2 * i] = static_cast<uint8_t>(w);
    frame[2 * i + 1] = static_cast<uint8_t>(w >> 8);
  }
  // An odd frame ends with the stream's next byte, so the stream stays whole across frames.
  if (frameSize % 2) {
    state_ = Byte8(state_);
    frame[frameSize - 1] = static_cast<uint8_t>(state_ >> 8);
  }
}

long BertPattern::Synchronise(const uint8_t* data, size_t length) {
  size_t pos = 0;
  for (;;) {
    while (syncWindow_.size() < kSyncWindow && pos < length) syncWindow_.push_back(data[pos++]);
    if (syncWindow_.size() < kSyncWindow) return -1;
    state_ = Word(syncWindow_[0], syncWindow_[1]);
    // The zero word is not on the sequence: a silent line that sends zeros never synchronises.
    bool held = state_ != 0;
    if (!held) syncWindow_.pop_front();
    while (held && syncWindow_.size() > 2) {
      Advance(1);
      syncWindow_.pop_front();
      held = state_ == Word(syncWindow_[0], syncWindow_[1]);
    }
    if (held) {
      NextWord();
      inBurst_ = false;
      burstBytes_.clear();
      burstBitCounts_.clear();
      return static_cast<long>(pos);
    }
    if (pos >= length) return -1;
  }
}

BertPattern::CountResult BertPattern::CountErrors(const uint8_t* data, size_t length) {
  CountResult r;
  for (size_t i = 0; i < length; ++i) {
    uint8_t b = data[i];
    uint64_t pending = 0;
    uint32_t x = b ^ (state_ & 0xFF);
    if (x == 0) {
      for (uint8_t n : burstBitCounts_) pending += n;
      burstBytes_.clear();
      burstBitCounts_.clear();
      inBurst_ = false;
    } else {
      if (!inBurst_) {
        savedState_ = state_;
        inBurst_ = true;
      }
      burstBitCounts_.push_back(static_cast<uint8_t>(std::popcount(x)));
      burstBytes_.push_back(b);
      if (burstBytes_.size() >= kBurstLimit) {
        uint64_t skipped = 0;
        while (burstBytes_.size() >= 2) {
          uint32_t k = FindOffset(Word(burstBytes_[0], burstBytes_[1]), savedState_);
          if (k < kMaxJumps) {
            state_ = AdvanceBytes(state_, 8 * k);
            r.lost += k;
            burstBytes_.clear();
            burstBitCounts_.clear();
            break;
          }
          burstBytes_.pop_front();
          if (burstBytes_.size() < 2) {
            // Sync lost: the errors closed before stay counted; the burst's bits are not.
            r.lost += skipped;
            r.consumed = i + 1;
            r.syncLost = true;
            burstBytes_.clear();
            burstBitCounts_.clear();
            inBurst_ = false;
            return r;
          }
          savedState_ = Byte8(savedState_);
          pending += burstBitCounts_.front();
          burstBitCounts_.pop_front();
          ++skipped;
        }
        inBurst_ = false;
      }
    }
    state_ = Byte8(state_);
    r.bitErrors += pending;
  }
  r.consumed = length;
  return r;
}

uint32_t BertPattern::FindOffset(uint32_t word, uint32_t from) {
  word &= kMask;
  from &= kMask;
  if (word == 0 || from == 0) return kMaxJumps;
  const Tables& t = T();
  uint32_t d = (t.position[word] + kPeriod - t.position[from]) % kPeriod;
  if (d % 64 != 0 || d / 64 >= kMaxJumps) return kMaxJumps;
  return d / 64;
}

void BertPattern::ClearQueues() {
  syncWindow_.clear();
  burstBytes_.clear();
  burstBitCounts_.clear();
  inBurst_ = false;
}
