#pragma once
// The air between a BERT transmitter and a BERT receiver: reads what the program writes to one
// pseudo-terminal and passes it, paced like a serial line, to a second one, with impairments
// injected at given stream offsets: bit substitutions, deleted runs (gaps) and inserted bytes
// (noise). A ledger records what was forwarded and injected. Bytes past the stream limit are
// read and dropped, so the receiver's stream ends where the test says.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/WorkerThread.h"
#include "sim/SimXmodRelay.h"

namespace sim {

struct BertImpairment {
  enum class Kind { Flip, Delete, Insert };
  Kind kind = Kind::Flip;
  uint64_t offset = 0;   // in the transmitted stream
  std::string masks;     // Flip: XOR masks for the bytes from offset on
  uint32_t count = 0;    // Delete: bytes removed
  std::string bytes;     // Insert: bytes put before the byte at offset
};

struct BertLedger {
  uint64_t read = 0;         // bytes taken from the transmitter
  uint64_t forwarded = 0;    // bytes given to the receiver
  uint64_t flippedBits = 0;
  uint64_t deleted = 0;
  uint64_t inserted = 0;
  std::vector<BertImpairment> applied;
};

class SimBertRelay {
 public:
  SimBertRelay() = default;
  ~SimBertRelay();
  SimBertRelay(const SimBertRelay&) = delete;
  SimBertRelay& operator=(const SimBertRelay&) = delete;

  bool IsOk() const { return in_.IsOk() && out_.IsOk(); }
  // The transmitter opens InPath, the receiver OutPath.
  std::u16string InPath16() const { return in_.SlavePath16(); }
  std::u16string OutPath16() const { return out_.SlavePath16(); }

  // plan sorted by offset. bytesPerSecond 0: unpaced. limit: stream bytes forwarded at most.
  bool Start(uint32_t bytesPerSecond, std::vector<BertImpairment> plan, uint64_t limit);
  void Stop();
  BertLedger Ledger() const;

  // Substitution bursts of 1..7 bytes with random non-zero masks, at least minGap good bytes apart,
  // none in the first 20 bytes or the last minGap bytes of the stream.
  static std::vector<BertImpairment> SeededFlips(uint32_t seed, uint64_t streamBytes, uint32_t bursts,
                                                 uint32_t minGap = 40);

 private:
  void Run(platform::Event& stop);
  void Forward(const uint8_t* data, size_t n, std::string& out);

  SimXmodRelay in_;
  SimXmodRelay out_;
  uint32_t bytesPerSecond_ = 0;
  uint64_t limit_ = 0;
  std::vector<BertImpairment> plan_;
  size_t next_ = 0;
  uint32_t deleting_ = 0;
  mutable std::mutex m_;
  BertLedger ledger_;
  platform::WorkerThread thread_;
};

}  // namespace sim
