#include "link/VkcLoader.h"

#include <cstring>
#include <optional>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "link/Ansi.h"
#include "link/CommandText.h"
#include "link/Utf.h"
#include "link/VkcCfgArchiver.h"
#include "link/VkcComPort.h"
#include "link/VkcConfiguration.h"
#include "link/VkcConnectionInterface.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcLinkTimes.h"
#include "link/VkcLogMessage.h"
#include "link/VkcMessageIds.h"
#include "link/VkcUnitFile.h"
#include "link/VkcXModemProtocol.h"
#include "platform/Files.h"
#include "platform/Timing.h"

namespace {
constexpr size_t kReplySize = 255;
const char* const kRxOff = "@RX OFF\r\n";
const char* const kRxOn = "@RX ON\r\n";

// The code digit of a refusal: "@0" followed by 1 to 9. "@00" or a bare "@0" is no code at all,
// so a refusal is never read as success.
int RefusalCode(const std::string& reply) {
  size_t at = reply.find("@0");
  if (at == std::string::npos || at + 2 >= reply.size()) return -1;
  char c = reply[at + 2];
  return c >= '1' && c <= '9' ? c - '0' : -1;
}

std::string Trimmed(const char* reply) {
  std::string s(reply);
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}
}  // namespace

VkcLoader::VkcLoader() : log_(&GlobalLogMessage()) {}

VkcLoader::~VkcLoader() {
  Wait();
  if (port_) port_->RemoveListener(this);
}

void VkcLoader::SetProgressLog(VkcLogMessage* log) { log_ = log ? log : &GlobalLogMessage(); }

void VkcLoader::SetExpectedReplies(int matchMode, std::vector<std::string> replies) {
  confirmationMode_ = matchMode;
  confirmation_ = std::move(replies);
}

uint32_t VkcLoader::Crc32(const uint8_t* data, size_t length) { return VkcUnitFile::Crc32(data, length); }

void VkcLoader::SetImage(const uint8_t* data, size_t length, bool hasHeader) {
  image_.Clear();
  hasHeader_ = hasHeader;
  if (!hasHeader) {
    uint8_t header[VkcUnitFile::kHeaderSize] = {};
    image_.Write(header, sizeof header);
  }
  if (data && length) image_.Write(data, length);
}

bool VkcLoader::WriteConfigurationImage(const VkcConfiguration& configuration) {
  image_.Clear();
  hasHeader_ = false;
  uint8_t header[VkcUnitFile::kHeaderSize] = {};
  image_.Write(header, sizeof header);
  VkcCfgArchiver ar;
  ar.Attach(image_, false);
  bool ok = configuration.Save(ar) && !ar.Failed();
  ar.Detach();
  return ok;
}

bool VkcLoader::ReadConfigurationSection(int index, VkcConfiguration& configuration) {
  size_t offset = 0;
  if (!VkcUnitFile::FindSection(image_.Bytes(), index, &offset, nullptr)) return false;
  image_.Seek(offset);
  VkcCfgArchiver ar;
  ar.Attach(image_, true);
  bool ok = configuration.Load(ar) && !ar.Failed();
  ar.Detach();
  return ok;
}

bool VkcLoader::StartReceive(const std::string& name, bool wait) {
  sending_ = false;
  const std::optional<std::string> command = CommandWithValue("XMOD ", name, {});
  if (!command) return false;
  command_ = *command;
  expectedAnswer_ = "Starting X-Modem Transmit...";
  // A receive replaces the image: a stale tail of an earlier, longer file must not pass for data.
  image_.Clear();
  stream_ = &image_;
  return Start(wait);
}

bool VkcLoader::StartSendFile(const std::string& name, bool wait) {
  if (image_.Length() > 0) {
    image_.Seek(0);
    stream_ = &image_;
  } else {
    std::string path = Utf16ToUtf8(filePath_);
    // Shared lock while it is read: no cooperating writer changes it under us.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool locked = ::flock(fd, LOCK_SH | LOCK_NB) == 0;
    std::vector<uint8_t> data;
    auto r = platform::ReadWholeFile(path, data, platform::kMaxArchiveFileSize);
    if (locked) ::flock(fd, LOCK_UN);
    ::close(fd);
    if (!locked || r != platform::ReadResult::Ok) return false;
    fileStream_ = VkcMemoryStream(std::move(data));
    stream_ = &fileStream_;
  }
  sending_ = true;
  fromImage_ = false;
  const std::optional<std::string> command = CommandWithValue("XMOD ", name, {});
  if (!command) return false;
  command_ = *command;
  expectedAnswer_ = "Starting to Download";
  return Start(wait);
}

bool VkcLoader::StartSendImage(const std::string& name, bool wait) {
  if (image_.Length() == 0) return false;
  if (!hasHeader_) {
    std::vector<uint8_t> bytes = image_.TakeBytes();
    if (!VkcUnitFile::WriteSendDescriptor(bytes)) return false;
    image_ = VkcMemoryStream(std::move(bytes));
  }
  image_.Seek(0);
  stream_ = &image_;
  sending_ = true;
  fromImage_ = true;
  const std::optional<std::string> command = CommandWithValue("XMOD ", name, {});
  if (!command) return false;
  command_ = *command;
  expectedAnswer_ = "Starting to Download";
  return Start(wait);
}

bool VkcLoader::Start(bool wait) {
  if (!worker_.Start([this](platform::Event&) { Run(); })) return false;
  if (wait) Wait();
  return true;
}

void VkcLoader::Wait() { worker_.Join(); }

std::string VkcLoader::Command() const {
  return command_.find('\r') == std::string::npos ? command_ + "\r" : command_;
}

void VkcLoader::Progress(intptr_t percent) {
  platform::WindowHandle w = owner_.load();
  if (w != platform::kNoWindow) platform::PostMessage(w, kMsgProgress, kProgressPercent, percent);
}

void VkcLoader::Log(const std::string& text) {
  log_->Append(text);
  platform::WindowHandle w = owner_.load();
  if (w != platform::kNoWindow)
    platform::PostMessage(w, kMsgProgress, kProgressMailbox, reinterpret_cast<intptr_t>(log_));
}

void VkcLoader::Run() {
  try {
    if (sending_)
      Send();
    else
      Receive();
  } catch (const std::exception& e) {
    // Out of memory on the way: the transfer failed, the worker still reports its end.
    ErrorLog().ReportError(0, "Loader error: %s", e.what());
    result_ = -1;
  }
  platform::WindowHandle w = owner_.load();
  if (w != platform::kNoWindow) platform::PostMessage(w, kMsgProgress, kProgressLoaderEnd, 0);
}

void VkcLoader::Receive() {
  result_ = -1;
  if (!port_) return;
  VkcXModemProtocol xmodem(port_);
  VkcConnectionInterface channel(port_);
  const uint32_t replyTimeout = port_->GetReplyTimeout();
  using Ch = VkcConnectionInterface;
  channel.SendCommand(kRxOff, nullptr, 0, replyTimeout, cancel_, false, Ch::kMatchAny, false, "@0");

  const std::string command = Command();
  char reply[kReplySize + 1] = {};
  if (!channel.SendCommand(command.c_str(), reply, sizeof reply, port_->GetLongTimeout(), cancel_, false,
                           Ch::kMatchAny, false, expectedAnswer_)) {
    std::string text(reply);
    if (text.find("@0") == std::string::npos) {
      ErrorLog().ReportError(0, "No response from command %s", command.c_str());
    } else {
      result_ = RefusalCode(text);
      ErrorLog().ReportError(0, "%s", Trimmed(reply).c_str());
      channel.SendCommand(nullptr, nullptr, 0, replyTimeout, cancel_, true, Ch::kMatchAny, false, "\r\n");
    }
  } else {
    const bool terminalsOn = port_->IsListenerGroupEnabled(kListenerGroupTerminal);
    port_->EnableListenerGroup(kListenerGroupTerminal, false);
    Progress(0);
    Log("Uploading Configuration");
    bool failed = false;
    xmodem.BeginReceive();
    uint8_t block[VkcXModemProtocol::kBlockData];
    uint64_t count = 0;
    for (;;) {
      if (!xmodem.ReceiveBlock(block, replyTimeout, cancel_)) {
        failed = true;
        break;
      }
      if (xmodem.GetState() == VkcXModemProtocol::kEnded) {
        result_ = 0;
        break;
      }
      if (image_.Length() + sizeof block > receiveLimit_) {
        ErrorLog().ReportError(0, "The unit's file is larger than %zu bytes", receiveLimit_);
        failed = true;
        break;
      }
      image_.Write(block, sizeof block);
      count += sizeof block;
      Progress(static_cast<intptr_t>(count * 100 / kReceiveProgressBase));
    }
    port_->EnableListenerGroup(kListenerGroupTerminal, terminalsOn);
    if (failed && xmodem.GetState() != VkcXModemProtocol::kEnded) CancelOnWire(xmodem);
    // The unit's text right behind its EOT reached the XModem engine: hand it to the wait below.
    channel.BeginCollecting();
    xmodem.End();
    const std::string trailing = xmodem.TakeTrailing();
    if (!trailing.empty())
      channel.OnDataReceived(reinterpret_cast<const uint8_t*>(trailing.data()), trailing.size(), port_);
    image_.Seek(0);
    // The unit ends its line; what it says there does not judge the file.
    if (port_->IsOpen())
      channel.SendCommand(nullptr, nullptr, 0, replyTimeout, cancel_, true, Ch::kMatchAny, false, "@0", "\r\n");
  }
  // A unit whose traffic stays off is no success, whatever the transfer gave.
  if (!RestartTraffic(channel, replyTimeout)) result_ = -1;
}

void VkcLoader::Send() {
  if (!port_) {
    result_ = -1;
    return;
  }
  VkcXModemProtocol xmodem(port_);
  VkcConnectionInterface channel(port_);
  using Ch = VkcConnectionInterface;
  const uint32_t replyTimeout = port_->GetReplyTimeout();
  const uint32_t blockWait =
      cancel_ ? linktimes::kLoaderBlockWaitFactor * port_->GetLongTimeout() : linktimes::kLoaderBlockWait;
  channel.SendCommand(kRxOff, nullptr, 0, replyTimeout, cancel_, false, Ch::kMatchAny, false, "@0");
  result_ = 0;

  const std::string command = Command();
  char reply[kReplySize + 1] = {};
  if (!channel.SendCommand(command.c_str(), reply, sizeof reply, port_->GetLongTimeout(), cancel_, false,
                           Ch::kMatchAny, false, expectedAnswer_)) {
    ErrorLog().ReportError(0, "No response on %s command", command.c_str());
    if (reply[0]) ErrorLog().ReportError(0, "%s", Trimmed(reply).c_str());
    result_ = -1;
    // A garbled or lost answer may hide a unit that did start its receiver.
    CancelOnWire(xmodem);
  } else {
    Progress(0);
    Log("Downloading File...");
    xmodem.BeginSend();
    const size_t total = stream_->Length();
    size_t sent = 0;
    uint8_t block[VkcXModemProtocol::kBlockData];
    for (;;) {
      size_t n = stream_->Read(block, sizeof block);
      if (n == 0) break;
      if (n < sizeof block) std::memset(block + n, kPadByte, sizeof block - n);
      if (!xmodem.SendBlock(block, blockWait, cancel_)) {
        result_ = -1;
        break;
      }
      Progress(total ? static_cast<intptr_t>(static_cast<uint64_t>(sent) * 100 / total) : 0);
      sent += n;
    }
    // The unit may confirm right behind its last ACK, in the same chunk: keep what arrives from
    // the end of the file on, so the confirmation wait below sees it.
    if (result_ == 0 && !confirmation_.empty()) channel.BeginCollecting();
    if (result_ == 0 && !xmodem.FinishSend(blockWait, cancel_)) result_ = -1;
    if (result_ != 0) {
      if (xmodem.GetState() != VkcXModemProtocol::kSenderDone) CancelOnWire(xmodem);
      xmodem.End();
    }
    if (result_ == 0 && !confirmation_.empty()) {
      port_->AddListener(this, kListenerGroupProtocol);
      uint32_t wait = fromImage_ ? blockWait : linktimes::kLoaderFileConfirmation;
      if (!channel.Transact(nullptr, nullptr, 0, wait, cancel_, true, confirmationMode_, false, confirmation_))
        result_ = 5;
      port_->RemoveListener(this);
    }
  }
  if (result_ != 0) {
    // Even when stopped: the unit needs the moment to leave its XModem receiver.
    platform::Event pause;
    pause.Wait(platform::Scaled(linktimes::kLoaderFailurePause));
  }
  if (!RestartTraffic(channel, replyTimeout)) result_ = -1;
}

void VkcLoader::CancelOnWire(VkcXModemProtocol& xmodem) {
  xmodem.Cancel();
  if (port_) port_->Write("\r", 1, nullptr, -1, nullptr);
}

bool VkcLoader::Cancelled() const { return cancel_ != nullptr && cancel_->IsSet(); }

bool VkcLoader::RestartTraffic(VkcConnectionInterface& channel, uint32_t replyTimeout) {
  using Ch = VkcConnectionInterface;
  auto send = [&] {
    return channel.SendCommand(kRxOn, nullptr, 0, replyTimeout, cancel_, false, Ch::kMatchAny, false, "@0");
  };
  // A port closed for good takes no command.
  if (!port_->IsOpen() && !port_->IsReconnecting()) {
    ErrorLog().ReportError(0, "No response from command %s", "@RX ON");
    return false;
  }
  if (send()) return true;
  // Stopped by the user: sent, not awaited.
  if (Cancelled()) return false;
  // Lost across a reconnect: once more when the link is back.
  const uint64_t until = platform::NowMs() + platform::Scaled(port_->GetLongTimeout());
  while (!port_->IsOpen() && port_->IsReconnecting() && platform::NowMs() < until) {
    platform::Event pause;
    if (cancel_) {
      if (platform::Event::WaitAny({cancel_, &pause}, platform::Scaled(linktimes::kLoaderPortCheck)) == 0) return false;
    } else {
      pause.Wait(platform::Scaled(linktimes::kLoaderPortCheck));
    }
  }
  if (port_->IsOpen() && send()) return true;
  if (!Cancelled()) ErrorLog().ReportError(0, "No response from command %s", "@RX ON");
  return false;
}

void VkcLoader::OnDataReceived(const uint8_t* data, size_t length, VkcComPort*) {
  std::u16string text = AnsiToWide(std::string_view(reinterpret_cast<const char*>(data), length));
  for (char16_t& c : text)
    if (c < 32 && c != '\r' && c != '\n') c = u'.';
  Log(Utf16ToUtf8(text));
}
