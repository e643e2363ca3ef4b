#include "sim/SimXmodFiles.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "link/VkcUnitFile.h"
#include "link/VkcXModemProtocol.h"
#include "platform/Event.h"
#include "platform/Timing.h"
#include "sim/SimUnit.h"
#include "sim/SimXmodPeer.h"
#include "sim/SimXmodPump.h"

namespace sim {

namespace {
bool IsConfigurationName(const std::string& name) {
  return name == "CFGDN" || name == "DDCFG" || name == "DFCFG";
}

std::string MakeTempDir() {
  char tmpl[] = "/tmp/simxmod-XXXXXX";
  const char* d = ::mkdtemp(tmpl);
  return d ? d : "";
}

void RemoveTempDir(const std::string& dir) {
  if (dir.empty()) return;
  for (const char* f : {"/file", "/out"}) ::unlink((dir + f).c_str());
  ::rmdir(dir.c_str());
}
}  // namespace

SimXmodFiles::SimXmodFiles(SimUnit& unit) : unit_(unit) {
  // "@RX OFF\r\n" ends with a LF, which the unit takes as the first character of the next line.
  for (const char* lf : {"", "\n"}) {
    unit_.AddCommandHandler(std::string(lf) + "@RX", [this](SimUnit& u, const std::string& line) {
      {
        std::lock_guard<std::mutex> g(m_);
        if (line.size() >= 2 && line.compare(line.size() - 2, 2, "ON") == 0 && faults_.rxOnUnanswered > 0) {
          --faults_.rxOnUnanswered;
          return;
        }
      }
      u.Answer("", 0);
    });
    unit_.AddCommandHandler(std::string(lf) + "XMOD",
                            [this](SimUnit& u, const std::string& line) { OnXmod(u, line); });
  }
}

SimXmodFiles::~SimXmodFiles() {
  worker_.Stop();
  unit_.SetRawInput(nullptr);
}

void SimXmodFiles::SetFile(const std::string& name, std::vector<uint8_t> bytes) {
  std::lock_guard<std::mutex> g(m_);
  files_[name] = std::move(bytes);
}

void SimXmodFiles::RemoveFile(const std::string& name) {
  std::lock_guard<std::mutex> g(m_);
  files_.erase(name);
}

bool SimXmodFiles::HasFile(const std::string& name) const {
  std::lock_guard<std::mutex> g(m_);
  return files_.count(name) != 0;
}

std::vector<uint8_t> SimXmodFiles::File(const std::string& name) const {
  std::lock_guard<std::mutex> g(m_);
  auto it = files_.find(name);
  return it == files_.end() ? std::vector<uint8_t>{} : it->second;
}

void SimXmodFiles::SetXmodAnswer(const std::string& name, const std::string& answer) {
  std::lock_guard<std::mutex> g(m_);
  answers_[name] = answer;
}

void SimXmodFiles::SetFaults(const SimXmodFaults& faults) {
  std::lock_guard<std::mutex> g(m_);
  faults_ = faults;
}

void SimXmodFiles::SetBlockWait(uint32_t ms) {
  std::lock_guard<std::mutex> g(m_);
  blockWaitMs_ = ms;
}

std::vector<SimXmodTransfer> SimXmodFiles::Transfers() const {
  std::lock_guard<std::mutex> g(m_);
  return transfers_;
}

bool SimXmodFiles::WaitForTransfers(size_t count, uint32_t ms) const {
  std::unique_lock<std::mutex> g(m_);
  return cv_.wait_for(g, std::chrono::milliseconds(ms), [&] { return transfers_.size() >= count; });
}

std::vector<uint8_t> SimXmodFiles::BuildUpload(const std::vector<std::vector<uint8_t>>& sections) {
  std::vector<uint8_t> out(VkcUnitFile::kHeaderSize, 0);
  uint8_t* d = out.data() + VkcUnitFile::kDescriptorOffset;
  VkcUnitFile::PutU32(d, 0x00010001);
  d[14] = static_cast<uint8_t>(sections.size());
  for (size_t i = 0; i < sections.size() && i < VkcUnitFile::kMaxSections; ++i)
    VkcUnitFile::PutU32(d + 24 + 4 * i, static_cast<uint32_t>(sections[i].size()));
  for (size_t i = 0; i < sections.size() && i < VkcUnitFile::kMaxSections; ++i)
    out.insert(out.end(), sections[i].begin(), sections[i].end());
  return out;
}

std::string SimXmodFiles::FilterOut(const uint8_t* d, size_t n) {
  std::lock_guard<std::mutex> g(m_);
  std::string s;
  for (size_t i = 0; i < n; ++i, ++outCount_) {
    uint8_t b = d[i];
    if (outCount_ == faults_.dropOut) continue;
    if (outCount_ == faults_.corruptOut) b ^= 0x5A;
    s.push_back(static_cast<char>(b));
    if (outCount_ == faults_.duplicateOut) s.push_back(static_cast<char>(b));
  }
  return s;
}

std::string SimXmodFiles::FilterIn(const uint8_t* d, size_t n) {
  std::lock_guard<std::mutex> g(m_);
  std::string s;
  for (size_t i = 0; i < n; ++i, ++inCount_) {
    uint8_t b = d[i];
    if (inCount_ == faults_.dropIn) continue;
    if (inCount_ == faults_.corruptIn) b ^= 0x5A;
    s.push_back(static_cast<char>(b));
    if (inCount_ == faults_.duplicateIn) s.push_back(static_cast<char>(b));
  }
  return s;
}

void SimXmodFiles::OnXmod(SimUnit& u, const std::string& line) {
  size_t at = line.find("XMOD") + 5;
  std::string name = line.size() > at ? line.substr(at) : "";
  while (!name.empty() && name.back() == ' ') name.pop_back();
  std::vector<uint8_t> upload;
  bool haveUpload = false;
  {
    std::lock_guard<std::mutex> g(m_);
    auto a = answers_.find(name);
    if (a != answers_.end()) {
      u.Send(a->second);
      u.Prompt();
      return;
    }
    if (name == kUploadName) {
      auto f = files_.find(name);
      if (f != files_.end()) {
        upload = f->second;
        haveUpload = true;
      } else {
        std::vector<std::vector<uint8_t>> sections;
        for (const char* s : {"DFCFG", "DDCFG", "CFGDN"}) {
          auto it = files_.find(s);
          if (it != files_.end() && it->second.size() > VkcUnitFile::kHeaderSize) {
            sections.emplace_back(it->second.begin() + VkcUnitFile::kHeaderSize, it->second.end());
            haveUpload = true;
          } else {
            sections.emplace_back();
          }
        }
        if (haveUpload) upload = BuildUpload(sections);
      }
    }
  }
  worker_.Join();  // an earlier transfer has ended by now
  if (name == kUploadName) {
    if (!haveUpload) {
      u.Answer("", 5);
      return;
    }
    u.Send("Starting X-Modem Transmit...\r\n");
    UnitSends(name, std::move(upload));
  } else {
    u.Send("Starting to Download\r\n");
    UnitReceives(name);
  }
}

struct SimXmodFiles::Stream {
  // Set up the unit's side of one transfer: our engine, or lrzsz through a socket pair.
  static void Begin(SimXmodFiles& self, bool lrzsz) {
    std::lock_guard<std::mutex> g(self.m_);
    self.outCount_ = 0;
    self.inCount_ = 0;
    self.silent_ = false;
    self.canSeen_.Reset();
    self.eotAcked_.Reset();
    self.eotSent_ = false;
    self.peerFd_ = -1;
    if (!lrzsz)
      self.engine_ = std::make_shared<VkcXModemProtocol>([&self](const uint8_t* d, size_t n) {
        // Told not to acknowledge the program's EOT: the receiver's ACK after the end is dropped.
        if (n == 1 && d[0] == VkcXModemProtocol::kACK) {
          std::lock_guard<std::mutex> g(self.m_);
          if (!self.faults_.ackEot && self.engine_ && self.engine_->GetState() == VkcXModemProtocol::kEnded)
            return true;
        }
        std::string s = self.FilterOut(d, n);
        if (!s.empty()) self.unit_.Send(s);
        return true;
      });
    else
      self.engine_.reset();
  }
  static void RawInput(SimXmodFiles& self) {
    self.unit_.SetRawInput([&self](SimUnit&, const uint8_t* d, size_t n) {
      if (std::memchr(d, VkcXModemProtocol::kCAN, n)) self.canSeen_.Set();
      if (self.silent_) return;
      std::string s = self.FilterIn(d, n);
      std::shared_ptr<VkcXModemProtocol> engine;
      int fd;
      {
        std::lock_guard<std::mutex> g(self.m_);
        engine = self.engine_;
        fd = self.peerFd_;
      }
      if (s.empty()) return;
      // The program's reply to our EOT: a sender waits for it before it leaves the transfer.
      if (self.eotSent_ &&
          s.find(static_cast<char>(VkcXModemProtocol::kACK)) != std::string::npos)
        self.eotAcked_.Set();
      if (fd >= 0)
        SimXmodPump::WriteAll(fd, reinterpret_cast<const uint8_t*>(s.data()), s.size(), 2000);
      else if (engine)
        engine->OnBytes(reinterpret_cast<const uint8_t*>(s.data()), s.size());
    });
  }
  // Runs lrzsz until it ends (or stop); its output goes to the program through the fault filter.
  // As receiver, the unit asks again about every second until the first block comes (lrzsz
  // itself asks once and then waits long), so a program that registers late still starts.
  static bool RunPeer(SimXmodFiles& self, const std::vector<std::string>& argv, const std::string& dir,
                      platform::Event& stop, bool repeatStart) {
    SimXmodPeer peer;
    if (!peer.Start(argv, dir)) return false;
    SimXmodPump pump;
    std::atomic<int> start{-1};
    pump.Start(peer.Fd(), [&self, &start](const uint8_t* d, size_t n) {
      int none = -1;
      start.compare_exchange_strong(none, d[0]);
      std::string s = self.FilterOut(d, n);
      if (!s.empty()) self.unit_.Send(s);
    });
    {
      std::lock_guard<std::mutex> g(self.m_);
      self.peerFd_ = peer.Fd();
    }
    int status = -1;
    auto lastAsk = std::chrono::steady_clock::now();
    while (!peer.TryWait(&status)) {
      if (stop.Wait(20) == 0) {
        status = peer.Wait(0);
        break;
      }
      int first = start.load();
      bool idle;
      {
        std::lock_guard<std::mutex> g(self.m_);
        idle = self.inCount_ == 0;
      }
      if (repeatStart && idle && (first == 'C' || first == VkcXModemProtocol::kNAK) &&
          std::chrono::steady_clock::now() - lastAsk > std::chrono::seconds(1)) {
        lastAsk = std::chrono::steady_clock::now();
        self.unit_.Send(std::string(1, static_cast<char>(first)));
      }
    }
    {
      std::lock_guard<std::mutex> g(self.m_);
      self.peerFd_ = -1;
    }
    pump.Stop();
    return status == 0;
  }
  // The ACK to an EOT sent by hand, as an XModem sender waits for it; bounded.
  static void AwaitEotAck(SimXmodFiles& self, uint32_t ms, platform::Event& stop) {
    platform::Event::WaitAny({&stop, &self.eotAcked_}, platform::Scaled(ms));
  }
  // Waits until the last block is acknowledged: the engine is ready for its EOT.
  static bool AwaitLastAck(VkcXModemProtocol& engine, uint32_t ms, platform::Event& stop) {
    for (uint32_t waited = 0; waited < ms; waited += 5) {
      if (engine.GetState() == VkcXModemProtocol::kGo) return true;
      if (stop.Wait(5) == 0) return false;
    }
    return false;
  }
  // The unit went quiet: it swallows input until the program cancels (CAN) or a minute passes.
  static void Silence(SimXmodFiles& self, platform::Event& stop) {
    self.silent_ = true;
    platform::Event::WaitAny({&stop, &self.canSeen_}, 60000);
  }
};

void SimXmodFiles::Finish(const SimXmodTransfer& t, const std::string& answer) {
  unit_.SetRawInput(nullptr);
  bool atOnce;
  {
    std::lock_guard<std::mutex> g(m_);
    engine_.reset();
    transfers_.push_back(t);
    atOnce = faults_.confirmAtOnce;
  }
  cv_.notify_all();
  // A unit takes a moment to store what it received before it says so.
  if (!answer.empty()) unit_.Send(answer, t.toUnit && !atOnce ? kStoreDelayMs : 0);
  unit_.Prompt();
}

void SimXmodFiles::UnitSends(const std::string& name, std::vector<uint8_t> data) {
  SimXmodFaults faults;
  uint32_t wait;
  {
    std::lock_guard<std::mutex> g(m_);
    faults = faults_;
    wait = blockWaitMs_;
  }
  Stream::Begin(*this, faults.lrzsz);
  Stream::RawInput(*this);
  worker_.Start([this, name, data = std::move(data), faults, wait](platform::Event& stop) {
    SimXmodTransfer t;
    t.name = name;
    t.bytes = data.size();
    bool silent = false;
    if (faults.lrzsz) {
      std::string dir = MakeTempDir();
      {
        std::ofstream f(dir + "/file", std::ios::binary);
        f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
      }
      t.ok = Stream::RunPeer(*this, {"/usr/bin/sx", "-X", "-q", "file"}, dir, stop, false);
      RemoveTempDir(dir);
    } else {
      std::shared_ptr<VkcXModemProtocol> engine;
      {
        std::lock_guard<std::mutex> g(m_);
        engine = engine_;
      }
      engine->BeginSend();
      t.ok = true;
      size_t blocks = (data.size() + 127) / 128;
      for (size_t k = 1; k <= blocks; ++k) {
        if (static_cast<int>(k) == faults.cancelAtBlock) {
          engine->Cancel();
          t.ok = false;
          break;
        }
        if (static_cast<int>(k) == faults.silentAtBlock) {
          silent = true;
          t.ok = false;
          break;
        }
        uint8_t block[128];
        std::memset(block, 0x1A, sizeof block);
        size_t at = (k - 1) * 128;
        std::memcpy(block, data.data() + at, std::min<size_t>(128, data.size() - at));
        if (!engine->SendBlock(block, wait, &stop)) {
          t.ok = false;
          break;
        }
      }
      if (t.ok && faults.textAfterEot) {
        // The result line goes out with the EOT, before the program could acknowledge it.
        t.ok = Stream::AwaitLastAck(*engine, platform::Scaled(wait), stop);
        eotSent_ = true;
        if (t.ok) unit_.Send(std::string(1, static_cast<char>(VkcXModemProtocol::kEOT)) + faults.sentResult);
        engine->End();
        Stream::AwaitEotAck(*this, wait, stop);
        Finish(t, "");
        return;
      }
      if (t.ok) t.ok = engine->FinishSend(wait, &stop);
      engine->End();
    }
    if (silent) {
      Stream::Silence(*this, stop);
      unit_.SetRawInput(nullptr);
      std::lock_guard<std::mutex> g(m_);
      transfers_.push_back(t);
      cv_.notify_all();
      return;
    }
    Finish(t, t.ok ? faults.sentResult : "");
  });
}

void SimXmodFiles::UnitReceives(const std::string& name) {
  SimXmodFaults faults;
  uint32_t wait;
  {
    std::lock_guard<std::mutex> g(m_);
    faults = faults_;
    wait = blockWaitMs_;
  }
  Stream::Begin(*this, faults.lrzsz);
  Stream::RawInput(*this);
  worker_.Start([this, name, faults, wait](platform::Event& stop) {
    SimXmodTransfer t;
    t.name = name;
    t.toUnit = true;
    std::vector<uint8_t> data;
    bool silent = false;
    if (faults.lrzsz) {
      std::string dir = MakeTempDir();
      t.ok = Stream::RunPeer(*this, {"/usr/bin/rx", "-X", "-c", "-q", "out"}, dir, stop, true);
      std::ifstream f(dir + "/out", std::ios::binary);
      data.assign(std::istreambuf_iterator<char>(f), {});
      RemoveTempDir(dir);
    } else {
      std::shared_ptr<VkcXModemProtocol> engine;
      {
        std::lock_guard<std::mutex> g(m_);
        engine = engine_;
      }
      engine->BeginReceive();
      for (int k = 1;; ++k) {
        if (k == faults.cancelAtBlock) {
          engine->Cancel();
          break;
        }
        if (k == faults.silentAtBlock) {
          silent = true;
          break;
        }
        uint8_t block[128];
        if (!engine->ReceiveBlock(block, wait, &stop)) break;
        if (engine->GetState() == VkcXModemProtocol::kEnded) {
          t.ok = true;
          break;
        }
        data.insert(data.end(), block, block + 128);
      }
      engine->End();
    }
    if (t.ok && IsConfigurationName(name) && data.size() >= VkcUnitFile::kHeaderSize) {
      uint32_t length = VkcUnitFile::GetU32(data, 72);
      if (VkcUnitFile::GetU32(data, 64) == 1 && VkcUnitFile::kHeaderSize + length <= data.size() &&
          data.size() - VkcUnitFile::kHeaderSize - length < 128) {
        data.resize(VkcUnitFile::kHeaderSize + length);
        t.headerOk = VkcUnitFile::Crc32(data.data() + VkcUnitFile::kHeaderSize, length) ==
                     VkcUnitFile::GetU32(data, 80);
      }
    }
    t.bytes = data.size();
    bool good = t.ok && (t.headerOk || !IsConfigurationName(name));
    if (good) {
      std::lock_guard<std::mutex> g(m_);
      files_[name] = data;
    }
    if (silent) {
      Stream::Silence(*this, stop);
      unit_.SetRawInput(nullptr);
      std::lock_guard<std::mutex> g(m_);
      transfers_.push_back(t);
      cv_.notify_all();
      return;
    }
    Finish(t, good && faults.confirm ? kConfirmation : "");
  });
}

}  // namespace sim
