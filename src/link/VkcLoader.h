#pragma once
// Moves one unit file over the port on a worker thread, in either direction: stops the unit's own
// traffic with "@RX OFF\r\n", names the file with "XMOD " + name, moves the blocks with XModem,
// waits for the unit's confirmation and restarts the traffic with "@RX ON\r\n". Progress (2024
// with 2) and the unit's text (2024 with 5, through the progress log) go to the owner window; the
// worker ends by posting 2024 with 3.
//
// A transfer that fails midway, or whose command got no proper answer, is cancelled on the wire
// (CAN) before "@RX ON\r\n", so the unit is not left inside XModem swallowing the command as block
// data. An "@RX ON\r\n" that gets no "@0" is sent once more when the port is there again (a TCP
// link comes back by itself); still unanswered, the transfer fails: the unit's own traffic is off.
// A received file larger than the receive limit fails the transfer cleanly.
//
// Results: 0 success; -1 failed or cancelled (also before any transfer); 5 no confirmation after
// a send; after a refused "XMOD" on receive, the unit's code digit (1-9) after "@0".

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/VkcComPortInterface.h"
#include "link/VkcMemoryStream.h"
#include "platform/Event.h"
#include "platform/Messages.h"
#include "platform/WorkerThread.h"

class VkcComPort;
class VkcConfiguration;
class VkcLogMessage;
class VkcConnectionInterface;
class VkcXModemProtocol;

class VkcLoader : public VkcComPortInterface {
 public:
  // The bytes that fill a last block shorter than 128 (the files carry their own lengths).
  static constexpr uint8_t kPadByte = 0x1A;
  // Progress of a receive counts against this many bytes (and may pass 100).
  static constexpr uint32_t kReceiveProgressBase = 8192;
  // The largest unit file a receive takes.
  static constexpr size_t kDefaultReceiveLimit = size_t{64} << 20;

  VkcLoader();
  ~VkcLoader() override;

  void SetPort(VkcComPort* port) { port_ = port; }
  void SetOwnerWindow(platform::WindowHandle window) { owner_ = window; }
  void SetCancelEvent(platform::Event* cancel) { cancel_ = cancel; }
  // Where the progress texts go (the process-wide mailbox unless set).
  void SetProgressLog(VkcLogMessage* log);
  int GetResult() const { return result_.load(); }
  // The largest unit file a receive takes (kDefaultReceiveLimit unless set).
  void SetReceiveLimit(size_t bytes) { receiveLimit_ = bytes; }

  // The confirmation awaited after a send, and its match mode (the command channel's modes).
  void SetExpectedReplies(int matchMode, std::vector<std::string> replies);
  template <typename... Texts>
  void SetExpectedReplies(int matchMode, const Texts&... replies) {
    std::vector<std::string> list;
    bool ended = false;
    (AddReply(list, ended, replies), ...);
    SetExpectedReplies(matchMode, std::move(list));
  }

  // Empties the memory image; without a header of its own, 128 zero bytes go first.
  void SetImage(const uint8_t* data, size_t length, bool hasHeader);
  // 128 zero bytes and the configuration record. False when the record could not be written.
  bool WriteConfigurationImage(const VkcConfiguration& configuration);
  // Loads section index of a received unit file into configuration (which keeps its id).
  bool ReadConfigurationSection(int index, VkcConfiguration& configuration);
  // The disk file StartSendFile sends when the memory image is empty.
  void SetFilePath(const std::u16string& path) { filePath_ = path; }

  bool StartReceive(const std::string& name, bool wait);
  bool StartSendFile(const std::string& name, bool wait);
  bool StartSendImage(const std::string& name, bool wait);
  // Starts the worker; with wait, returns when it has ended. False when it cannot start.
  bool Start(bool wait);
  // Blocks until the worker has ended.
  void Wait();

  const VkcMemoryStream& Image() const { return image_; }
  static uint32_t Crc32(const uint8_t* data, size_t length);

  // The unit's text while the loader awaits a confirmation.
  void OnDataReceived(const uint8_t* data, size_t length, VkcComPort* port) override;

 private:
  static void AddReply(std::vector<std::string>& list, bool& ended, const char* text) {
    if (!text) ended = true;
    if (!ended) list.emplace_back(text);
  }
  static void AddReply(std::vector<std::string>& list, bool& ended, const std::string& text) {
    if (!ended) list.push_back(text);
  }
  static void AddReply(std::vector<std::string>&, bool& ended, std::nullptr_t) { ended = true; }

  void Run();
  void Receive();
  void Send();
  // Ends a transfer the unit may still be in: CAN, then a CR so the noise is a line of its own.
  void CancelOnWire(VkcXModemProtocol& xmodem);
  // "@RX ON\r\n", once more when the port is back; false when it never got its "@0".
  bool RestartTraffic(VkcConnectionInterface& channel, uint32_t replyTimeout);
  bool Cancelled() const;
  void Progress(intptr_t percent);
  void Log(const std::string& text);
  std::string Command() const;

  VkcComPort* port_ = nullptr;
  std::atomic<platform::WindowHandle> owner_{platform::kNoWindow};
  platform::Event* cancel_ = nullptr;
  VkcLogMessage* log_;

  VkcMemoryStream image_;
  bool hasHeader_ = false;
  std::u16string filePath_;
  VkcMemoryStream* stream_ = nullptr;
  VkcMemoryStream fileStream_;

  bool sending_ = false;
  bool fromImage_ = false;
  std::string command_;
  std::string expectedAnswer_;
  std::vector<std::string> confirmation_;
  int confirmationMode_ = 0;
  std::atomic<int> result_{-1};
  size_t receiveLimit_ = kDefaultReceiveLimit;

  platform::WorkerThread worker_;
};
