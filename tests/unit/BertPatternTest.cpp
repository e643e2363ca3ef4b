// The BERT pattern and the receive checker: generation against an independent register, sync,
// exact bit-error counting, gaps and noise, fed through the engine as the port's reader feeds it.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "sim/SimBertPattern.h"
#include "unit/BertPattern.h"
#include "unit/VkcBERT.h"
#include "unit/VkcSystem.h"

namespace {

std::string Reference(size_t n, size_t skip = 0) {
  sim::SimBertPattern p;
  p.Next(skip);
  return p.Next(n);
}

struct Counts {
  uint64_t bits, bytes, errors, lost;
  bool operator==(const Counts&) const = default;
};

// The stream as the port's reader hands it over, in pieces of chunk bytes.
Counts Receive(const std::string& stream, size_t chunk) {
  VkcSystem system;
  VkcBERT engine(system);
  for (size_t at = 0; at < stream.size(); at += chunk) {
    size_t n = std::min(chunk, stream.size() - at);
    engine.OnDataReceived(reinterpret_cast<const uint8_t*>(stream.data() + at), n, nullptr);
  }
  BertStatistics s = engine.GetStatistics();
  return {s.bitsReceived, s.bytesReceived, s.bitErrors, s.lostCount};
}

TEST(BertPattern, GeneratesTheReferenceSequenceAcrossFramesOfAnySize) {
  BertPattern pattern;
  std::vector<uint8_t> frame(16);
  pattern.Generate(frame.data(), frame.size());
  EXPECT_EQ(frame, (std::vector<uint8_t>{0x30, 0xa6, 0xf6, 0x2d, 0x53, 0x53, 0x8e, 0x0b, 0x5a, 0xc2, 0x14, 0xe4,
                                         0x17, 0xb9, 0x18, 0xc9}));
  // Odd frames (duty-cycle sizes) carry pattern in their last byte too: the stream stays whole
  // over several periods of the register.
  std::string stream(frame.begin(), frame.end());
  for (size_t size : {58u, 951u, 475u, 1u, 2u, 4283u}) {
    for (int i = 0; i < 30; ++i) {
      frame.assign(size, 0);
      pattern.Generate(frame.data(), size);
      stream.append(frame.begin(), frame.end());
    }
  }
  EXPECT_GT(stream.size(), 2u * 65535u);
  EXPECT_EQ(stream, Reference(stream.size()));
}

TEST(BertPattern, FindOffsetCountsWholeEightByteJumps) {
  BertPattern p;
  uint32_t from = p.NextWord();
  for (uint32_t k : {0u, 1u, 100u, 999u}) {
    BertPattern q;
    q.SetState(from);
    q.Advance(8 * k);
    EXPECT_EQ(BertPattern::FindOffset(q.State(), from), k);
  }
  BertPattern q;
  q.SetState(from);
  q.Advance(8 * 1000);
  EXPECT_EQ(BertPattern::FindOffset(q.State(), from), BertPattern::kMaxJumps);
  q.SetState(from);
  q.Advance(3);
  EXPECT_EQ(BertPattern::FindOffset(q.State(), from), BertPattern::kMaxJumps);
  EXPECT_EQ(BertPattern::FindOffset(0, from), BertPattern::kMaxJumps);
}

TEST(BertReceive, SynchronisesAfterTenBytesFromAnyOffset) {
  for (size_t offset : {0u, 1u, 7u, 1000u, 65534u}) {
    std::string stream = Reference(10, offset);
    BertPattern p;
    EXPECT_EQ(p.Synchronise(reinterpret_cast<const uint8_t*>(stream.data()), 9), -1);
    EXPECT_EQ(p.Synchronise(reinterpret_cast<const uint8_t*>(stream.data()) + 9, 1), 1) << offset;
    std::string next = Reference(1, offset + 10);
    // The register now expects the byte after the tenth: a correct byte counts nothing.
    BertPattern::CountResult r = p.CountErrors(reinterpret_cast<const uint8_t*>(next.data()), 1);
    EXPECT_EQ(r.bitErrors, 0u);
    EXPECT_FALSE(r.syncLost);
  }
  // Fewer than ten bytes never synchronise, yet every byte counts as received.
  std::string nine = Reference(9, 5);
  nine[3] ^= 0x0F;
  EXPECT_EQ(Receive(nine, 4), (Counts{72, 9, 0, 0}));
}

TEST(BertReceive, CountsExactlyTheWrongBitsOfClosedBursts) {
  struct Case {
    const char* name;
    std::vector<std::pair<size_t, uint8_t>> flips;  // offset in the stream, XOR mask
    uint64_t errors;
  };
  const Case cases[] = {
      {"one bit", {{100, 0x01}}, 1},
      {"whole byte", {{100, 0xFF}}, 8},
      {"two adjacent bytes", {{100, 0x03}, {101, 0x81}}, 4},
      {"two bursts a byte apart", {{100, 0x01}, {102, 0x10}}, 2},
      {"two errors five bytes apart", {{100, 0x07}, {105, 0x01}}, 4},
      {"seven wrong bytes then a good one", {{200, 1}, {201, 1}, {202, 1}, {203, 1}, {204, 1}, {205, 1}, {206, 3}}, 8},
      {"a burst still open at the end", {{100, 0x01}, {499, 0xFF}}, 1},
  };
  for (const Case& c : cases) {
    std::string stream = Reference(500, 12345);
    for (auto [at, mask] : c.flips) stream[at] = static_cast<char>(stream[at] ^ mask);
    for (size_t chunk : {1u, 7u, 100u, 4096u})
      EXPECT_EQ(Receive(stream, chunk), (Counts{4000, 500, c.errors, 0})) << c.name << " chunk " << chunk;
  }
}

// The 8 bytes that follow an impairment are all wrong where the checker expects them, so no
// chance match closes the burst early (the rules below hold only then).
bool CoincidenceFree(const std::string& received, size_t at, const std::string& clean) {
  for (size_t j = 0; j < 8; ++j)
    if (received[at + j] == clean[at + j]) return false;
  return true;
}

TEST(BertReceive, GapsOfWholeJumpsAreCountedAsLostAndOthersLoseSync) {
  // Removing 8k bytes re-aligns after 8 wrong bytes: k lost, no bit errors. Any other gap cannot
  // be re-aligned: sync is lost after 6 skipped bytes and found again 10 bytes later.
  struct Case {
    size_t removed;
    uint64_t lost;
  };
  for (Case c : {Case{8, 1}, Case{800, 100}, Case{7992, 999}, Case{58, 6}, Case{13, 6}}) {
    const size_t at = 3001;
    std::string clean = Reference(20000, 777);
    std::string stream = clean.substr(0, at) + clean.substr(at + c.removed);
    ASSERT_TRUE(CoincidenceFree(stream, at, clean)) << c.removed;
    // A single flipped bit before the gap and one after it are counted in every chunking.
    stream[1000] ^= 0x10;
    stream[9000] ^= 0x21;
    for (size_t chunk : {1u, 7u, 100u, 4096u})
      EXPECT_EQ(Receive(stream, chunk), (Counts{8 * stream.size(), stream.size(), 3, c.lost}))
          << c.removed << " chunk " << chunk;
  }
}

TEST(BertReceive, NoiseAndZerosNeverSynchronise) {
  std::string zeros(1000, '\0');
  EXPECT_EQ(Receive(zeros, 100), (Counts{8000, 1000, 0, 0}));
  std::mt19937 rng(7);
  std::string noise(5000, '\0');
  for (char& c : noise) c = static_cast<char>(rng());
  EXPECT_EQ(Receive(noise, 100).errors, 0u);
  // Inserted noise cannot be re-aligned: errors counted before it in the same piece are kept.
  std::string clean = Reference(3000, 99);
  std::string stream = clean;
  stream[500] ^= 0x0F;
  stream.insert(1500, "\x11\x22\x33\x44\x55");
  std::string expectedAt = clean.substr(1500);
  ASSERT_TRUE(CoincidenceFree(stream.substr(1500), 0, expectedAt));
  for (size_t chunk : {7u, 4096u}) EXPECT_EQ(Receive(stream, chunk), (Counts{8 * 3005, 3005, 4, 6})) << chunk;
}

}  // namespace
