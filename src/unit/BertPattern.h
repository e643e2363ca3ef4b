#pragma once
// The BERT pattern: a 16-bit maximal-length shift register whose output, written least significant
// bit first, is the test byte stream. Generate writes frames from it; Synchronise locks onto a
// received stream and CountErrors checks it byte by byte, re-aligning over gaps of whole 8-byte
// jumps. Stepping and jumps are table driven so the checker keeps up with the port's reader thread.

#include <cstddef>
#include <cstdint>
#include <deque>

class BertPattern {
 public:
  static constexpr uint32_t kTaps = 0x115AB;
  static constexpr uint32_t kMask = 0xFFFF;
  static constexpr uint32_t kLength = 16;
  static constexpr uint32_t kSeed = 0xFFFF;
  // FindOffset's answer when no jump of fewer than this many 8-byte steps matches.
  static constexpr uint32_t kMaxJumps = 1000;
  static constexpr size_t kSyncWindow = 10;
  static constexpr size_t kBurstLimit = 8;

  BertPattern();

  // One register step; the same with the tables for 8 steps (a byte) and n bytes.
  static uint32_t Step(uint32_t state);
  void Advance(uint32_t bytes);
  // 16 steps; the new register value.
  uint32_t NextWord();
  // frameSize / 2 words, each stored little-endian; an odd last byte is the next pattern byte.
  void Generate(uint8_t* frame, size_t frameSize);

  // Consumes input while looking for sync: the number of bytes consumed when synchronised (the
  // state then expects the byte that follows), -1 when all input went without sync.
  long Synchronise(const uint8_t* data, size_t length);

  struct CountResult {
    uint64_t bitErrors = 0;  // wrong bits of closed bursts
    uint64_t lost = 0;       // 8-byte jumps of successful re-alignments, bytes skipped by a failed one
    size_t consumed = 0;     // bytes looked at (less than length only when sync was lost)
    bool syncLost = false;
  };
  CountResult CountErrors(const uint8_t* data, size_t length);

  // 8-byte jumps from `from` until the register equals word, or kMaxJumps.
  static uint32_t FindOffset(uint32_t word, uint32_t from);

  void ClearQueues();
  uint32_t State() const { return state_; }
  void SetState(uint32_t state) { state_ = state & kMask; }

 private:
  static uint32_t AdvanceBytes(uint32_t state, uint32_t bytes);

  uint32_t state_ = kSeed;
  uint32_t savedState_ = 0;
  bool inBurst_ = false;
  std::deque<uint8_t> syncWindow_;
  std::deque<uint8_t> burstBytes_;
  std::deque<uint8_t> burstBitCounts_;
};
