#include "sim/SimUnitControlFiles.h"

#include "link/VkcCfgArchiver.h"
#include "link/VkcConfiguration.h"
#include "link/VkcMemoryStream.h"
#include "link/VkcUnitFile.h"
#include "platform/Timing.h"

namespace sim {

namespace {

// The unit's nominal block wait and how long it lets the program get ready before its first NAK.
constexpr uint32_t kBlockWaitMs = 3000;
constexpr uint32_t kReceiverStartMs = 100;
const char* const kNames[3] = {"DFCFG", "DDCFG", "CFGDN"};

std::string Trim(const std::string& line) {
  size_t at = 0;
  while (at < line.size() && (line[at] == '\n' || line[at] == 0 || line[at] == 0x18)) ++at;
  return line.substr(at);
}

}  // namespace

SimUnitControlFiles::SimUnitControlFiles(SimUnit& unit) : unit_(unit) {
  unit.AddCommandHandler("XMOD", [this](SimUnit& u, const std::string& line) { OnXmod(u, line); });
  unit.AddCommandHandler("\nXMOD", [this](SimUnit& u, const std::string& line) { OnXmod(u, line); });
}

SimUnitControlFiles::~SimUnitControlFiles() { transfer_.Stop(); }

std::vector<uint8_t> SimUnitControlFiles::Archive(const VkcConfiguration& tree) {
  VkcMemoryStream stream;
  VkcCfgArchiver ar;
  ar.Attach(stream, false);
  tree.Save(ar);
  ar.Detach();
  return stream.TakeBytes();
}

void SimUnitControlFiles::SetSection(int index, std::vector<uint8_t> record) {
  std::lock_guard<std::mutex> g(m_);
  sections_[index] = std::move(record);
}

std::vector<uint8_t> SimUnitControlFiles::Section(int index) const {
  std::lock_guard<std::mutex> g(m_);
  return sections_[index];
}

void SimUnitControlFiles::SetRefusal(const std::string& name, int code) {
  std::lock_guard<std::mutex> g(m_);
  refusals_[name] = code;
}

void SimUnitControlFiles::CorruptSection(int index) {
  std::lock_guard<std::mutex> g(m_);
  corrupt_ = index;
}

std::vector<std::pair<std::string, std::vector<uint8_t>>> SimUnitControlFiles::Received() const {
  std::lock_guard<std::mutex> g(m_);
  return received_;
}

std::vector<std::string> SimUnitControlFiles::HeaderErrors() const {
  std::lock_guard<std::mutex> g(m_);
  return headerErrors_;
}

std::vector<uint8_t> SimUnitControlFiles::BuildCfgup() const {
  std::lock_guard<std::mutex> g(m_);
  std::vector<uint8_t> file(VkcUnitFile::kHeaderSize, 0);
  const size_t d = VkcUnitFile::kDescriptorOffset;
  VkcUnitFile::PutU32(&file[d], 0x00030001);  // a format the program reads
  file[d + 14] = 3;
  for (int i = 0; i < 3; ++i) {
    VkcUnitFile::PutU32(&file[d + 24 + 4 * static_cast<size_t>(i)], static_cast<uint32_t>(sections_[i].size()));
  }
  for (int i = 0; i < 3; ++i) {
    size_t at = file.size();
    file.insert(file.end(), sections_[i].begin(), sections_[i].end());
    if (i == corrupt_ && !sections_[i].empty()) file[at + sections_[i].size() / 2] ^= 0xFF;
  }
  return file;
}

void SimUnitControlFiles::OnXmod(SimUnit& unit, const std::string& rawLine) {
  std::string line = Trim(rawLine);
  std::string name = line.size() > 5 ? line.substr(5) : std::string();
  int refusal = 0;
  {
    std::lock_guard<std::mutex> g(m_);
    auto r = refusals_.find(name);
    if (r != refusals_.end()) refusal = r->second;
  }
  bool known = name == "CFGUP" || name == "DFCFG" || name == "DDCFG" || name == "CFGDN";
  if (refusal != 0 || !known || transfer_.IsRunning()) {
    unit.Answer("", refusal != 0 ? refusal : 1);
    return;
  }
  transfer_.Join();  // the previous transfer has ended: reap it
  eotSeen_ = false;
  engine_ = std::make_unique<VkcXModemProtocol>(
      [this](const uint8_t* data, size_t length) {
        // The acknowledgement of the program's EOT ends the transfer: lines that follow it belong
        // to the command line again, so raw input is handed back before the program can send them.
        if (eotSeen_ && length == 1 && data[0] == VkcXModemProtocol::kACK) unit_.SetRawInput(nullptr);
        unit_.Send(std::string(reinterpret_cast<const char*>(data), length));
        return true;
      },
      [](bool) {});
  unit.SetRawInput([this](SimUnit&, const uint8_t* data, size_t length) {
    // A lone EOT between blocks ends the program's file; an EOT byte inside a block does not.
    if (length == 1 && data[0] == VkcXModemProtocol::kEOT && engine_->GetState() != VkcXModemProtocol::kCollecting)
      eotSeen_ = true;
    engine_->OnBytes(data, length);
  });
  if (name == "CFGUP") {
    // The prompt ends the command's answer, so the program does not wait for it.
    unit.Send("Starting X-Modem Transmit...\r\n");
    unit.Prompt();
    std::vector<uint8_t> file = BuildCfgup();
    transfer_.Start([this, file](platform::Event& stop) mutable { SendFile(std::move(file), stop); });
  } else {
    unit.Send("Starting to Download\r\n");
    unit.Prompt();
    transfer_.Start([this, name](platform::Event& stop) { ReceiveFile(name, stop); });
  }
}

void SimUnitControlFiles::SendFile(std::vector<uint8_t> file, platform::Event& stop) {
  bool ok = engine_->BeginSend();
  file.resize((file.size() + 127) / 128 * 128, 0x1A);
  for (size_t at = 0; ok && at < file.size(); at += 128) ok = engine_->SendBlock(file.data() + at, kBlockWaitMs, &stop);
  if (ok) ok = engine_->FinishSend(kBlockWaitMs, &stop);
  engine_->End();
  unit_.SetRawInput(nullptr);
  if (ok) {
    unit_.Send("@00\r\n");
    unit_.Prompt();
  }
  ++ended_;
}

void SimUnitControlFiles::ReceiveFile(const std::string& name, platform::Event& stop) {
  std::vector<uint8_t> file;
  bool ok = stop.Wait(platform::Scaled(kReceiverStartMs)) != 0 && engine_->BeginReceive();
  uint8_t block[128];
  while (ok) {
    ok = engine_->ReceiveBlock(block, kBlockWaitMs, &stop);
    if (!ok || engine_->GetState() == VkcXModemProtocol::kEnded) break;
    file.insert(file.end(), block, block + 128);
  }
  engine_->End();
  unit_.SetRawInput(nullptr);
  if (ok) CheckReceived(name, std::move(file));
  ++ended_;
}

void SimUnitControlFiles::CheckReceived(const std::string& name, std::vector<uint8_t> file) {
  std::string error;
  std::span<const uint8_t> bytes(file);
  size_t length = 0;
  if (file.size() < VkcUnitFile::kHeaderSize) {
    error = "short";
  } else {
    const size_t d = VkcUnitFile::kDescriptorOffset;
    length = VkcUnitFile::GetU32(bytes, d + 8);
    if (VkcUnitFile::GetU32(bytes, d) != 1 || VkcUnitFile::GetU32(bytes, d + 4) != 0 ||
        VkcUnitFile::GetU32(bytes, d + 12) != 0) {
      error = "descriptor";
    } else if (length > file.size() - VkcUnitFile::kHeaderSize) {
      error = "length";
    } else if (VkcUnitFile::Crc32(file.data() + VkcUnitFile::kHeaderSize, length) !=
               VkcUnitFile::GetU32(bytes, d + 16)) {
      error = "CRC";
    }
  }
  std::lock_guard<std::mutex> g(m_);
  if (!error.empty()) {
    headerErrors_.push_back(name + ": " + error);
    return;
  }
  std::vector<uint8_t> payload(file.begin() + VkcUnitFile::kHeaderSize,
                               file.begin() + static_cast<std::ptrdiff_t>(VkcUnitFile::kHeaderSize + length));
  for (int i = 0; i < 3; ++i) {
    if (name == kNames[i]) sections_[i] = payload;
  }
  received_.emplace_back(name, std::move(payload));
}

}  // namespace sim
