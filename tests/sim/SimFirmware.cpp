#include "sim/SimFirmware.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/Timing.h"

namespace sim {

namespace {
constexpr uint8_t kSOH = 0x01, kEOT = 0x04, kACK = 0x06, kNAK = 0x15, kCAN = 0x18;
constexpr size_t kBlock = 133;  // SOH, number, its complement, 128 bytes, CRC-16 high and low
constexpr uint32_t kExtraMagic = 0x434D584D;  // "MXMC"
const char* const kWords[] = {"IMAGE", "FACTIMAGE", "NIMG"};

uint32_t U32(const std::vector<uint8_t>& d, size_t at) {
  if (d.size() < at + 4) return 0;
  return uint32_t{d[at]} | uint32_t{d[at + 1]} << 8 | uint32_t{d[at + 2]} << 16 | uint32_t{d[at + 3]} << 24;
}
}  // namespace

uint16_t SimFirmware::Crc16(const uint8_t* data, size_t length) {
  uint16_t crc = 0;
  for (size_t i = 0; i < length; ++i) {
    crc ^= static_cast<uint16_t>(data[i] << 8);
    for (int b = 0; b < 8; ++b) crc = crc & 0x8000 ? static_cast<uint16_t>(crc << 1 ^ 0x1021) : static_cast<uint16_t>(crc << 1);
  }
  return crc;
}

uint32_t SimFirmware::JamCrc(const uint8_t* data, size_t length) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int b = 0; b < 8; ++b) crc = crc & 1 ? crc >> 1 ^ 0xEDB88320u : crc >> 1;
  }
  return crc;
}

SimFirmware::SimFirmware(SimUnit& unit, SimFirmwareOptions options) : unit_(unit), options_(std::move(options)) {
  for (const char* lf : {"", "\n"}) {
    for (const char* word : kWords) {
      std::string w = word;
      unit_.AddCommandHandler(std::string(lf) + "XMOD " + w, [this, w](SimUnit& u, const std::string& line) {
        // "XMOD IMAGE" must not take "XMOD IMAGEX": anything after the word is another file.
        size_t at = line.find("XMOD ") + 5 + w.size();
        if (at != line.size()) {
          u.Answer("", 1);
          return;
        }
        OnXmod(u, w);
      });
    }
    unit_.AddCommandHandler(std::string(lf) + "@RX ON", [this](SimUnit& u, const std::string&) { OnRxOn(u); });
    unit_.AddCommandHandler(std::string(lf) + "@CRCID", [this](SimUnit& u, const std::string&) { OnCrcId(u); });
  }
}

SimFirmware::~SimFirmware() {
  worker_.Stop();
  unit_.SetRawInput(nullptr);
}

std::vector<SimFirmwareLoad> SimFirmware::Loads() const {
  std::lock_guard<std::mutex> g(m_);
  return loads_;
}

bool SimFirmware::WaitForLoads(size_t count, uint32_t ms) const {
  std::unique_lock<std::mutex> g(m_);
  return cv_.wait_for(g, std::chrono::milliseconds(ms), [&] { return loads_.size() >= count; });
}

bool SimFirmware::InReceiver() const {
  std::lock_guard<std::mutex> g(m_);
  return receiving_;
}

int SimFirmware::Restarts() const {
  std::lock_guard<std::mutex> g(m_);
  return restarts_;
}

void SimFirmware::SetCrcId(std::optional<uint32_t> id) {
  std::lock_guard<std::mutex> g(m_);
  crcId_ = id;
}

std::optional<uint32_t> SimFirmware::CrcId() const {
  std::lock_guard<std::mutex> g(m_);
  return crcId_;
}

void SimFirmware::OnCrcId(SimUnit& u) {
  std::optional<uint32_t> id = CrcId();
  if (!id) {
    u.Answer("", 1);
    return;
  }
  char text[16];
  std::snprintf(text, sizeof text, "%08X", *id);
  u.Answer(text, 0);
}

void SimFirmware::OnRxOn(SimUnit& u) {
  bool restart;
  {
    std::lock_guard<std::mutex> g(m_);
    restart = restartPending_;
    restartPending_ = false;
    if (restart) ++restarts_;
  }
  u.Answer("", 0);
  if (restart) {
    u.Send(options_.banner, options_.bannerDelayMs);
    u.Prompt();
  }
}

void SimFirmware::OnXmod(SimUnit& u, const std::string& word) {
  worker_.Join();  // a receiver that ended on its own
  {
    std::lock_guard<std::mutex> g(m_);
    rx_.clear();
    lineFreeUs_ = 0;
    receiving_ = true;
  }
  u.Send("Starting to Download\r\n");
  u.SetRawInput([this](SimUnit&, const uint8_t* d, size_t n) { OnBytes(d, n); });
  worker_.Start([this, word](platform::Event& stop) { Receive(word, stop); });
}

void SimFirmware::OnBytes(const uint8_t* data, size_t length) {
  {
    std::lock_guard<std::mutex> g(m_);
    rx_.insert(rx_.end(), data, data + length);
    if (options_.pacedRate != 0) {
      lineFreeUs_ = std::max(lineFreeUs_, platform::NowUs()) + uint64_t{length} * 10'000'000 / options_.pacedRate;
    }
  }
  arrived_.Set();
}

bool SimFirmware::WaitBytes(size_t count, uint32_t ms, platform::Event& stop) {
  const uint64_t deadline = platform::NowUs() + uint64_t{platform::Scaled(ms)} * 1000;
  for (;;) {
    bool have;
    uint64_t lineFree;
    {
      std::lock_guard<std::mutex> g(m_);
      have = rx_.size() >= count;
      lineFree = lineFreeUs_;
    }
    const uint64_t now = platform::NowUs();
    if (have) {
      // On a paced line the bytes are there only once the line could have carried them.
      if (lineFree <= now) return true;
      // A block's line time is a few milliseconds: sleep it out to the microsecond, so the pace
      // is the line's and not the wait's granularity.
      const uint64_t waitUs = lineFree - now;
      if (waitUs >= 50000) return stop.Wait(static_cast<uint32_t>(waitUs / 1000)) != 0 && WaitBytes(count, ms, stop);
      std::this_thread::sleep_for(std::chrono::microseconds(waitUs));
      return !stop.IsSet();
    }
    if (now >= deadline) return false;
    const uint64_t left = (deadline - now + 999) / 1000;
    if (platform::Event::WaitAny({&stop, &arrived_}, static_cast<uint32_t>(left)) == 0) return false;
  }
}

void SimFirmware::Reply(uint8_t control) {
  // On a paced line the reply takes its byte's time too.
  if (options_.pacedRate != 0) std::this_thread::sleep_for(std::chrono::microseconds(10'000'000 / options_.pacedRate));
  unit_.Send(std::string(1, static_cast<char>(control)));
}

void SimFirmware::WaitLine(platform::Event& stop) {
  // A moment of quiet before a NAK, so the rest of a damaged block is not taken for the next one.
  while (WaitBytes(1, 50, stop)) {
    std::lock_guard<std::mutex> g(m_);
    rx_.clear();
  }
}

void SimFirmware::Receive(const std::string& word, platform::Event& stop) {
  SimFirmwareLoad load;
  load.word = word;
  std::vector<uint8_t> data;
  uint8_t expected = 1;
  bool started = false;
  uint64_t lastByteUs = platform::NowUs();
  // The first 'C' goes out on its own, after the answer to the command.
  uint64_t nextAskUs = lastByteUs + uint64_t{platform::Scaled(options_.askIntervalMs)} * 1000;
  for (;;) {
    if (stop.IsSet()) break;
    uint64_t now = platform::NowUs();
    if (now - lastByteUs >= uint64_t{platform::Scaled(options_.idleTimeoutMs)} * 1000) break;
    if (!started && now >= nextAskUs) {
      unit_.Send("C");
      nextAskUs = now + uint64_t{platform::Scaled(options_.askIntervalMs)} * 1000;
    }
    if (!WaitBytes(1, started ? 100 : 20, stop)) continue;
    lastByteUs = platform::NowUs();
    uint8_t first;
    {
      std::lock_guard<std::mutex> g(m_);
      first = rx_.front();
    }
    if (first == kCAN) {
      load.cancelled = true;
      break;
    }
    if (first == kEOT) {
      {
        std::lock_guard<std::mutex> g(m_);
        rx_.pop_front();
      }
      Reply(kACK);
      load.complete = started;
      break;
    }
    if (first != kSOH) {
      std::lock_guard<std::mutex> g(m_);
      rx_.pop_front();  // noise, or a command line sent into the receiver: swallowed
      continue;
    }
    started = true;
    uint8_t block[kBlock];
    if (!WaitBytes(kBlock, 1000, stop)) {
      if (stop.IsSet()) break;
      WaitLine(stop);
      unit_.Send(std::string(1, static_cast<char>(kNAK)));
      continue;
    }
    {
      std::lock_guard<std::mutex> g(m_);
      std::copy_n(rx_.begin(), kBlock, block);
      rx_.erase(rx_.begin(), rx_.begin() + kBlock);
    }
    lastByteUs = platform::NowUs();
    const uint16_t crc = static_cast<uint16_t>(block[131] << 8 | block[132]);
    if (static_cast<uint8_t>(block[1] + block[2]) != 0xFF || Crc16(block + 3, 128) != crc) {
      WaitLine(stop);
      unit_.Send(std::string(1, static_cast<char>(kNAK)));
      continue;
    }
    if (block[1] == expected) {
      data.insert(data.end(), block + 3, block + 131);
      ++expected;
    } else if (block[1] != static_cast<uint8_t>(expected - 1)) {
      unit_.Send(std::string(2, static_cast<char>(kCAN)));  // out of step: give up
      break;
    }
    Reply(kACK);
  }
  unit_.SetRawInput(nullptr);

  // Rebuild the image by its own length and check it.
  bool good = load.complete && data.size() >= 128;
  if (good) {
    const uint64_t length = 128 + uint64_t{U32(data, 72)};
    good = length <= data.size() && data.size() - length < 128;
    if (good) data.resize(static_cast<size_t>(length));
    good = good && JamCrc(data.data() + 128, data.size() - 128) == U32(data, 80);
    const bool extra = U32(data, 0) == kExtraMagic;
    good = good && extra == (word == "NIMG");
  }
  load.image = std::move(data);
  load.accepted = good;
  Store(std::move(load));
}

void SimFirmware::Store(SimFirmwareLoad load) {
  const bool good = load.accepted;
  const bool nimg = load.word == "NIMG";
  const bool complete = load.complete;
  {
    std::lock_guard<std::mutex> g(m_);
    receiving_ = false;
    if (good) {
      if (nimg || U32(load.image, 64) >= 4) crcId_ = U32(load.image, 92);
      restartPending_ = nimg || options_.restartAfterMain;
    }
    loads_.push_back(std::move(load));
  }
  cv_.notify_all();
  if (good)
    unit_.Send("File Successfully Written\r\n\r\n", options_.storeDelayMs);
  else if (complete)
    unit_.Send("Image check failed\r\n", options_.storeDelayMs);
  unit_.Prompt();
}

}  // namespace sim
