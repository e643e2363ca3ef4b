#pragma once
// The simulated unit's unit files and its "XMOD <name>" command, both ways, with XModem on the
// unit's side done by our own engine (or, on request, by lrzsz).
//
// "XMOD CFGUP": the unit sends "Starting X-Modem Transmit...\r\n" and then, once asked with NAK,
// the file: the CFGUP set by the test, or one built from its stored DFCFG, DDCFG and CFGDN
// (format 0x00010001, three sections, sizes at +24); then "@00\r\n" and the prompt. Without
// either it answers "@05\r\n". Any other name: "Starting to Download\r\n", the unit receives the
// file (asking with NAK about every second until the first block), checks a configuration file's
// descriptor (format 1, payload length, CRC-32) and answers "File Successfully Written\r\n" and
// the prompt. "@RX OFF" and "@RX ON" are answered "@00". (The LF that ends "@RX OFF\r\n" starts
// the unit's next line, so these commands are also known with a LF in front.)
//
// Faults act on the bytes of the transfer itself, counted from its first byte, in either direction.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Event.h"
#include "platform/WorkerThread.h"

class VkcXModemProtocol;

namespace sim {

class SimUnit;

struct SimXmodFaults {
  // Byte offsets within one transfer's stream; -1 off. Out: unit to program; in: program to unit.
  int64_t corruptOut = -1, dropOut = -1, duplicateOut = -1;
  int64_t corruptIn = -1, dropIn = -1, duplicateIn = -1;
  int cancelAtBlock = 0;  // the unit cancels instead of sending or answering block k (from 1)
  int silentAtBlock = 0;  // the unit says nothing more from block k on
  bool confirm = true;    // the confirmation after a good file
  bool confirmAtOnce = false;  // the confirmation follows the last ACK without a storing pause
  bool lrzsz = false;     // lrzsz (sx -X / rx -X -c) does the unit's side
  bool textAfterEot = false;  // sending, the unit prints its result line in the same write as its EOT
  bool ackEot = true;         // receiving, the unit acknowledges the program's EOT
  int rxOnUnanswered = 0;     // this many "@RX ON" commands get no answer
  std::string sentResult = "@00\r\n";  // the unit's line after it sent a file
};

struct SimXmodTransfer {
  std::string name;
  bool toUnit = false;     // the program sent the file
  bool ok = false;         // the XModem transfer completed
  bool headerOk = false;   // a received configuration file's descriptor checked out
  size_t bytes = 0;        // data bytes moved (received files: as stored)
};

class SimXmodFiles {
 public:
  static constexpr const char* kUploadName = "CFGUP";
  static constexpr const char* kConfirmation = "File Successfully Written\r\n";
  static constexpr uint32_t kStoreDelayMs = 200;

  explicit SimXmodFiles(SimUnit& unit);
  ~SimXmodFiles();
  SimXmodFiles(const SimXmodFiles&) = delete;
  SimXmodFiles& operator=(const SimXmodFiles&) = delete;

  void SetFile(const std::string& name, std::vector<uint8_t> bytes);
  void RemoveFile(const std::string& name);
  bool HasFile(const std::string& name) const;
  std::vector<uint8_t> File(const std::string& name) const;
  // The answer to "XMOD <name>" instead of a transfer (then the prompt), e.g. "@05\r\n".
  void SetXmodAnswer(const std::string& name, const std::string& answer);
  void SetFaults(const SimXmodFaults& faults);
  // Waits for the unit's side of XModem (sending or asking) per block.
  void SetBlockWait(uint32_t ms);

  std::vector<SimXmodTransfer> Transfers() const;
  bool WaitForTransfers(size_t count, uint32_t ms) const;

  // A CFGUP built from three configuration records (empty: absent section).
  static std::vector<uint8_t> BuildUpload(const std::vector<std::vector<uint8_t>>& sections);

 private:
  struct Stream;
  void OnXmod(SimUnit& unit, const std::string& line);
  void UnitSends(const std::string& name, std::vector<uint8_t> data);
  void UnitReceives(const std::string& name);
  void Finish(const SimXmodTransfer& t, const std::string& answer);
  std::string FilterOut(const uint8_t* d, size_t n);
  std::string FilterIn(const uint8_t* d, size_t n);

  SimUnit& unit_;
  mutable std::mutex m_;
  mutable std::condition_variable cv_;
  std::map<std::string, std::vector<uint8_t>> files_;
  std::map<std::string, std::string> answers_;
  SimXmodFaults faults_;
  uint32_t blockWaitMs_ = 3000;
  std::vector<SimXmodTransfer> transfers_;

  // The transfer in progress: its byte counters and engine (the unit thread feeds it).
  int64_t outCount_ = 0, inCount_ = 0;
  std::shared_ptr<VkcXModemProtocol> engine_;
  int peerFd_ = -1;
  std::atomic<bool> silent_{false};
  platform::Event canSeen_{platform::Event::ResetMode::Manual, false};
  platform::Event eotAcked_{platform::Event::ResetMode::Manual, false};  // the program's ACK to our EOT
  std::atomic<bool> eotSent_{false};  // our EOT went out by hand (not through the engine)
  platform::WorkerThread worker_;
};

}  // namespace sim
