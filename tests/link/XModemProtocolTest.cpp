// The XModem engine against scripted peers and against itself over an in-process byte link.

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <future>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "link/VkcXModemCrc.h"
#include "link/VkcXModemProtocol.h"
#include "link/VkcUnitFile.h"
#include "platform/Event.h"

namespace {

using X = VkcXModemProtocol;

// What the engine wrote, for a scripted peer to look at.
class Capture {
 public:
  X::Writer Writer() {
    return [this](const uint8_t* d, size_t n) {
      std::lock_guard<std::mutex> g(m_);
      bytes_.insert(bytes_.end(), d, d + n);
      writes_.emplace_back(d, d + n);
      cv_.notify_all();
      return true;
    };
  }
  // Waits for the index-th write (0-based).
  bool WaitWrites(size_t count, int ms = 5000) {
    std::unique_lock<std::mutex> g(m_);
    return cv_.wait_for(g, std::chrono::milliseconds(ms), [&] { return writes_.size() >= count; });
  }
  std::vector<std::vector<uint8_t>> Writes() {
    std::lock_guard<std::mutex> g(m_);
    return writes_;
  }
  std::vector<uint8_t> Bytes() {
    std::lock_guard<std::mutex> g(m_);
    return bytes_;
  }

 private:
  std::mutex m_;
  std::condition_variable cv_;
  std::vector<uint8_t> bytes_;
  std::vector<std::vector<uint8_t>> writes_;
};

void Feed(X& x, std::initializer_list<uint8_t> bytes) {
  std::vector<uint8_t> v(bytes);
  x.OnBytes(v.data(), v.size());
}

std::vector<uint8_t> Pattern(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = static_cast<uint8_t>(rng());
  return v;
}

std::vector<uint8_t> ChecksumBlock(uint8_t number, const uint8_t* data) {
  std::vector<uint8_t> b{X::kSOH, number, static_cast<uint8_t>(255 - number)};
  b.insert(b.end(), data, data + 128);
  b.push_back(XModemChecksum(data, 128));
  return b;
}

// A one-way byte pipe delivering on its own thread, as a port's receive thread does. A filter
// may change each chunk on the way (fault injection).
class Pipe {
 public:
  using Filter = std::function<void(std::vector<uint8_t>&)>;
  explicit Pipe(X* to) : to_(to), thread_([this] { Run(); }) {}
  ~Pipe() {
    {
      std::lock_guard<std::mutex> g(m_);
      stop_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  void SetFilter(Filter f) {
    std::lock_guard<std::mutex> g(m_);
    filter_ = std::move(f);
  }
  X::Writer Writer() {
    return [this](const uint8_t* d, size_t n) {
      std::lock_guard<std::mutex> g(m_);
      std::vector<uint8_t> chunk(d, d + n);
      if (filter_) filter_(chunk);
      if (!chunk.empty()) q_.push_back(std::move(chunk));
      cv_.notify_all();
      return true;
    };
  }

 private:
  void Run() {
    std::unique_lock<std::mutex> g(m_);
    for (;;) {
      cv_.wait(g, [&] { return stop_ || !q_.empty(); });
      if (q_.empty()) return;
      auto chunk = std::move(q_.front());
      q_.pop_front();
      g.unlock();
      to_->OnBytes(chunk.data(), chunk.size());
      g.lock();
    }
  }
  X* to_;
  std::mutex m_;
  std::condition_variable cv_;
  std::deque<std::vector<uint8_t>> q_;
  Filter filter_;
  bool stop_ = false;
  std::thread thread_;
};

// Sender and receiver engines joined by two pipes.
struct Link {
  std::function<bool(const uint8_t*, size_t)> toRx, toTx;
  X tx{[this](const uint8_t* d, size_t n) { return toRx(d, n); }};
  X rx{[this](const uint8_t* d, size_t n) { return toTx(d, n); }};
  Pipe txToRx{&rx}, rxToTx{&tx};
  Link() {
    toRx = txToRx.Writer();
    toTx = rxToTx.Writer();
  }
};

bool SendAll(X& tx, const std::vector<uint8_t>& data, uint32_t ms, platform::Event* cancel = nullptr) {
  if (!tx.BeginSend()) return false;
  for (size_t at = 0; at < data.size(); at += 128) {
    uint8_t block[128];
    std::memset(block, 0x1A, sizeof block);
    std::memcpy(block, data.data() + at, std::min<size_t>(128, data.size() - at));
    if (!tx.SendBlock(block, ms, cancel)) {
      tx.Cancel();
      tx.End();
      return false;
    }
  }
  return tx.FinishSend(ms, cancel);
}

// Receives until EOT; false on failure. out gets every block.
bool ReceiveAll(X& rx, std::vector<uint8_t>& out, uint32_t ms, platform::Event* cancel = nullptr) {
  rx.BeginReceive();
  uint8_t block[128];
  for (;;) {
    if (!rx.ReceiveBlock(block, ms, cancel)) {
      rx.End();
      return false;
    }
    if (rx.GetState() == X::kEnded) break;
    out.insert(out.end(), block, block + 128);
  }
  rx.End();
  return true;
}

}  // namespace

TEST(XModemChecks, KnownValues) {
  const uint8_t abc[] = {'a', 'b', 'c'};
  const uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(XModemCrc16(abc, 3), 0x9DD6);
  EXPECT_EQ(XModemCrc16(digits, 9), 0x31C3);
  EXPECT_EQ(XModemChecksum(abc, 3), static_cast<uint8_t>('a' + 'b' + 'c'));
  EXPECT_EQ(VkcUnitFile::Crc32(abc, 3), 0xCADBBE3Du);
  EXPECT_EQ(VkcUnitFile::Crc32(digits, 9), 0x340BC6D9u);
}

TEST(XModemSender, BlockLayoutFollowsTheReceiversStart) {
  for (uint8_t start : {X::kCRC, X::kNAK}) {
    Capture cap;
    X x(cap.Writer());
    ASSERT_TRUE(x.BeginSend());
    EXPECT_FALSE(x.BeginSend());
    auto data = Pattern(128, 1);
    auto f = std::async(std::launch::async, [&] { return x.SendBlock(data.data(), 5000, nullptr); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(cap.Writes().empty()) << "nothing goes out before the receiver starts";
    Feed(x, {start});
    ASSERT_TRUE(f.get());
    auto w = cap.Writes();
    ASSERT_EQ(w.size(), 1u);
    const auto& b = w[0];
    ASSERT_EQ(b.size(), start == X::kCRC ? 133u : 132u);
    EXPECT_EQ(b[0], X::kSOH);
    EXPECT_EQ(b[1], 1);
    EXPECT_EQ(b[2], 254);
    EXPECT_EQ(0, std::memcmp(b.data() + 3, data.data(), 128));
    if (start == X::kCRC) {
      uint16_t crc = XModemCrc16(data.data(), 128);
      EXPECT_EQ(b[131], crc >> 8);
      EXPECT_EQ(b[132], crc & 0xFF);
    } else {
      EXPECT_EQ(b[131], XModemChecksum(data.data(), 128));
    }
    x.End();
  }
}

TEST(XModemSender, RetriesAndRefusals) {
  auto data = Pattern(128, 2);
  {  // a receiver that never answers a block: ten waits, nine repeats, then false
    Capture cap;
    X x(cap.Writer());
    x.BeginSend();
    Feed(x, {X::kNAK});
    ASSERT_TRUE(x.SendBlock(data.data(), 10, nullptr));
    EXPECT_FALSE(x.SendBlock(data.data(), 10, nullptr));
    auto w = cap.Writes();
    ASSERT_EQ(w.size(), 10u);
    for (auto& b : w) EXPECT_EQ(b, w[0]);
  }
  {  // a missed start: time-outs send nothing; a late 'C' starts the transfer
    Capture cap;
    X x(cap.Writer());
    x.BeginSend();
    auto f = std::async(std::launch::async, [&] { return x.SendBlock(data.data(), 10, nullptr); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    Feed(x, {X::kCRC});
    ASSERT_TRUE(f.get());
    auto w = cap.Writes();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0][0], X::kSOH);
    EXPECT_EQ(w[0].size(), 133u);
  }
  {  // NAK then ACK: the block goes again once; the last block NAKed is repeated before EOT
    Capture cap;
    X x(cap.Writer());
    x.BeginSend();
    Feed(x, {X::kNAK});
    ASSERT_TRUE(x.SendBlock(data.data(), 5000, nullptr));
    auto f = std::async(std::launch::async, [&] { return x.SendBlock(data.data(), 5000, nullptr); });
    ASSERT_TRUE(cap.WaitWrites(1));
    Feed(x, {X::kNAK});
    ASSERT_TRUE(cap.WaitWrites(2));
    Feed(x, {X::kACK});
    ASSERT_TRUE(f.get());
    ASSERT_TRUE(cap.WaitWrites(3));
    auto fin = std::async(std::launch::async, [&] { return x.FinishSend(5000, nullptr); });
    Feed(x, {X::kNAK});  // the second block refused
    ASSERT_TRUE(cap.WaitWrites(4));
    Feed(x, {X::kACK});
    ASSERT_TRUE(cap.WaitWrites(5));
    Feed(x, {X::kACK});  // the EOT
    ASSERT_TRUE(fin.get());
    auto w = cap.Writes();
    ASSERT_EQ(w.size(), 5u);
    EXPECT_EQ(w[1], w[0]);
    EXPECT_EQ(w[2][1], 2);
    EXPECT_EQ(w[3], w[2]);
    EXPECT_EQ(w[4], std::vector<uint8_t>{X::kEOT});
    EXPECT_EQ(x.GetState(), X::kSenderDone);
  }
  {  // CAN while waiting ends the transfer; so does the cancel event
    Capture cap;
    X x(cap.Writer());
    x.BeginSend();
    Feed(x, {X::kNAK});
    ASSERT_TRUE(x.SendBlock(data.data(), 5000, nullptr));
    Feed(x, {X::kCAN});
    EXPECT_FALSE(x.SendBlock(data.data(), 5000, nullptr));
    EXPECT_EQ(x.GetState(), X::kSenderDone);
    x.End();
    platform::Event cancel(platform::Event::ResetMode::Manual, true);
    x.BeginSend();
    EXPECT_FALSE(x.SendBlock(data.data(), 5000, &cancel));
    x.Cancel();
    auto w = cap.Writes();
    EXPECT_EQ(w.back(), std::vector<uint8_t>(5, X::kCAN));
  }
}

TEST(XModemReceiver, AnswersBlocksByContent) {
  Capture cap;
  X x(cap.Writer());
  ASSERT_TRUE(x.BeginReceive());
  auto d1 = Pattern(128, 3), d2 = Pattern(128, 4);
  std::vector<uint8_t> got;
  auto f = std::async(std::launch::async, [&] { return ReceiveAll(x, got, 5000); });
  size_t n = 0;
  auto expectReply = [&](uint8_t reply) {
    ASSERT_TRUE(cap.WaitWrites(++n));
    EXPECT_EQ(cap.Writes()[n - 1], std::vector<uint8_t>{reply}) << "write " << n;
  };
  auto send = [&](std::vector<uint8_t> b) { x.OnBytes(b.data(), b.size()); };
  expectReply(X::kNAK);  // the start asks for checksum mode
  auto bad = ChecksumBlock(1, d1.data());
  bad[131] ^= 1;
  send(bad);
  expectReply(X::kNAK);
  auto badComplement = ChecksumBlock(1, d1.data());
  badComplement[2] ^= 0x10;
  send(badComplement);
  expectReply(X::kNAK);
  send(ChecksumBlock(1, d1.data()));
  expectReply(X::kACK);
  send(ChecksumBlock(1, d1.data()));  // a repeat of the previous block: acknowledged, dropped
  expectReply(X::kACK);
  send(ChecksumBlock(3, d2.data()));  // a gap: refused
  expectReply(X::kNAK);
  send(ChecksumBlock(2, d2.data()));
  expectReply(X::kACK);
  send({X::kEOT});
  expectReply(X::kACK);
  ASSERT_TRUE(f.get());
  std::vector<uint8_t> want = d1;
  want.insert(want.end(), d2.begin(), d2.end());
  EXPECT_EQ(got, want);
}

TEST(XModemReceiver, EndsOnCancelAndOnSilence) {
  {  // the sender's CAN burst wakes the receiver at once
    Capture cap;
    X x(cap.Writer());
    std::vector<uint8_t> got;
    auto f = std::async(std::launch::async, [&] { return ReceiveAll(x, got, 5000); });
    ASSERT_TRUE(cap.WaitWrites(1));
    Feed(x, {X::kCAN, X::kCAN, 8, 8});
    EXPECT_FALSE(f.get());
    EXPECT_EQ(x.GetState(), X::kEnded);
  }
  {  // block 4 without its SOH starts with 0x04: not an end of file
    Capture cap;
    X x(cap.Writer());
    x.BeginReceive();
    auto d = Pattern(128, 5);
    uint8_t block[128];
    platform::Event stop;
    auto f = std::async(std::launch::async, [&] { return x.ReceiveBlock(block, 5000, &stop); });
    ASSERT_TRUE(cap.WaitWrites(1));
    auto b = ChecksumBlock(4, d.data());
    x.OnBytes(b.data() + 1, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    x.OnBytes(b.data() + 2, b.size() - 2);
    ASSERT_TRUE(cap.WaitWrites(2));
    EXPECT_EQ(cap.Writes()[1], std::vector<uint8_t>{X::kNAK});
    EXPECT_NE(x.GetState(), X::kEnded);
    stop.Set();
    EXPECT_FALSE(f.get());
    x.End();
  }
  {  // a dead sender: ten errors of ten time-outs, each answered by NAK
    Capture cap;
    X x(cap.Writer());
    x.BeginReceive();
    uint8_t block[128];
    EXPECT_FALSE(x.ReceiveBlock(block, 1, nullptr));
    auto w = cap.Writes();
    EXPECT_EQ(w.size(), 100u);
    for (auto& b : w) EXPECT_EQ(b, std::vector<uint8_t>{X::kNAK});
  }
}

// A unit may print its result line in the same write as its EOT: whatever its length, the file ends
// there and the line is kept for the caller.
TEST(XModemReceiver, EotEndsTheFileWhateverFollowsInTheSameRead) {
  for (size_t textLength : {2u, 130u, 131u, 300u}) {
    SCOPED_TRACE(textLength);
    Capture cap;
    X x(cap.Writer());
    x.BeginReceive();
    uint8_t block[128];
    platform::Event stop(platform::Event::ResetMode::Manual, false);
    auto f = std::async(std::launch::async, [&] { return x.ReceiveBlock(block, 5000, &stop); });
    ASSERT_TRUE(cap.WaitWrites(1));
    std::string text(textLength - 2, 'r');
    text += "\r\n";
    std::vector<uint8_t> read(text.size() + 1, X::kEOT);
    std::copy(text.begin(), text.end(), read.begin() + 1);
    x.OnBytes(read.data(), read.size());
    ASSERT_TRUE(cap.WaitWrites(2));
    EXPECT_EQ(cap.Writes()[1], std::vector<uint8_t>{X::kACK});
    stop.Set();
    EXPECT_TRUE(f.get());
    EXPECT_EQ(x.GetState(), X::kEnded);
    EXPECT_EQ(x.TakeTrailing(), text.substr(0, X::kMaxTrailing));
    x.End();
  }
}

TEST(XModemLink, OursToOursWithBlockNumberWrap) {
  Link link;
  auto data = Pattern(300 * 128 + 77, 6);
  std::vector<uint8_t> got;
  auto r = std::async(std::launch::async, [&] { return ReceiveAll(link.rx, got, 2000); });
  ASSERT_TRUE(SendAll(link.tx, data, 2000));
  ASSERT_TRUE(r.get());
  ASSERT_EQ(got.size(), 301u * 128);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), got.begin()));
  for (size_t i = data.size(); i < got.size(); ++i) EXPECT_EQ(got[i], 0x1A);
}

TEST(XModemLink, FaultsEndInTheRightFileOrAFailure) {
  // Each kind of fault hits every 7th chunk on one direction or the other.
  struct Case {
    const char* name;
    bool onData;
    std::function<void(std::vector<uint8_t>&)> hurt;
  };
  std::mt19937 rng(7);
  std::vector<Case> cases = {
      {"corrupt data", true, [&](auto& c) { c[rng() % c.size()] ^= static_cast<uint8_t>(1 + rng() % 255); }},
      {"drop data byte", true, [&](auto& c) { c.erase(c.begin() + static_cast<long>(rng() % c.size())); }},
      {"duplicate data byte", true, [&](auto& c) { c.insert(c.begin() + static_cast<long>(rng() % c.size()), c[0]); }},
      {"drop reply", false, [&](auto& c) { c.clear(); }},
      {"corrupt reply", false, [&](auto& c) { c[0] = 0x55; }},
      {"duplicate reply", false, [&](auto& c) { c.push_back(c[0]); }},
  };
  for (auto& k : cases) {
    Link link;
    int n = 0;
    (k.onData ? link.txToRx : link.rxToTx).SetFilter([&](std::vector<uint8_t>& c) {
      if (++n % 7 == 0) k.hurt(c);
    });
    auto data = Pattern(40 * 128, 8);
    std::vector<uint8_t> got;
    // As in the loader, the sender waits longer for an answer than the receiver waits for a
    // block, so a lost ACK is settled by the receiver's NAK before the sender gives up; with equal
    // waits both retry at once, and XModem's unnumbered ACKs can then be taken for the wrong block.
    auto r = std::async(std::launch::async, [&] { return ReceiveAll(link.rx, got, 300); });
    bool sent = SendAll(link.tx, data, 1000);
    bool received = r.get();
    // A file reported whole must be whole; a sender that reports success was fully received.
    if (received) {
      EXPECT_EQ(got, data) << k.name;
    }
    if (sent) {
      EXPECT_TRUE(received) << k.name;
    }
  }
}

TEST(XModemSender, ARepeatedStartCrossingTheFirstBlockIsNoRefusal) {
  Capture cap;
  X x(cap.Writer());
  x.BeginSend();
  auto data = Pattern(128, 9);
  Feed(x, {X::kCRC});
  ASSERT_TRUE(x.SendBlock(data.data(), 5000, nullptr));
  auto f = std::async(std::launch::async, [&] { return x.SendBlock(data.data(), 5000, nullptr); });
  ASSERT_TRUE(cap.WaitWrites(1));
  Feed(x, {X::kCRC});  // the receiver's next ask, sent before block 1 reached it
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(cap.Writes().size(), 1u) << "block 1 not sent twice";
  Feed(x, {X::kACK});
  ASSERT_TRUE(f.get());
  ASSERT_TRUE(cap.WaitWrites(2));
  EXPECT_EQ(cap.Writes()[1][1], 2);
  x.End();
}
