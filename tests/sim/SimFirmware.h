#pragma once
// Firmware loads on the simulated unit: "XMOD IMAGE", "XMOD FACTIMAGE" and "XMOD NIMG" answer
// "Starting to Download\r\n" and receive the image by XModem with the unit as receiver in CRC mode
// (a lone 'C' about every second until the first block). The unit answers every block with a lone
// ACK, a repeated block with ACK, a damaged one with NAK, and EOT with ACK. It then cuts the
// padding by the image's own length (128 + its word at 72), checks the CRC-32 at 80 and that the
// word fits the image ("NIMG" for an "MXMC" image, the others for a main image), and confirms
// with "File Successfully Written\r\n\r\n" and the prompt; a bad image gets an error line only.
//
// A transfer that breaks off leaves the unit inside its receiver, swallowing every byte, until a
// CAN arrives or nothing has come for the idle time-out. "@CRCID" answers the identifier of the
// image set stored last ("@01" before any). After a stored "NIMG" (and, unless switched off, a main
// image) the unit restarts by itself: its banner follows the answer to "@RX ON" after
// bannerDelayMs. Every load is recorded.

#include <cstdint>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Event.h"
#include "platform/WorkerThread.h"
#include "sim/SimUnit.h"

namespace sim {

struct SimFirmwareOptions {
  bool restartAfterMain = true;   // the unit restarts by itself after a main image
  uint32_t bannerDelayMs = 1700;  // from the answer to "@RX ON" to the restart banner
  std::string banner = "\r\nModem RTOS Real Time kernel v2\r\n";
  uint32_t askIntervalMs = 1000;  // 'C' while no block has come
  uint32_t idleTimeoutMs = 20000; // the receiver gives up after this long without a byte
  uint32_t pacedRate = 0;         // non-zero: the transfer's bytes, both ways, take their line time at this rate
  uint32_t storeDelayMs = 200;    // storing the image before the confirmation
};

struct SimFirmwareLoad {
  std::string word;            // IMAGE, FACTIMAGE or NIMG
  std::vector<uint8_t> image;  // as rebuilt (padding cut when the header allowed it)
  bool complete = false;       // the transfer ended with EOT
  bool cancelled = false;      // the program sent CAN
  bool accepted = false;       // stored and confirmed
};

class SimFirmware {
 public:
  SimFirmware(SimUnit& unit, SimFirmwareOptions options = {});
  ~SimFirmware();
  SimFirmware(const SimFirmware&) = delete;
  SimFirmware& operator=(const SimFirmware&) = delete;

  std::vector<SimFirmwareLoad> Loads() const;
  bool WaitForLoads(size_t count, uint32_t ms) const;
  // True while the unit's receiver runs.
  bool InReceiver() const;
  // Restart banners sent.
  int Restarts() const;
  void SetCrcId(std::optional<uint32_t> id);
  std::optional<uint32_t> CrcId() const;

  static uint16_t Crc16(const uint8_t* data, size_t length);
  static uint32_t JamCrc(const uint8_t* data, size_t length);

 private:
  void OnXmod(SimUnit& unit, const std::string& word);
  void OnRxOn(SimUnit& unit);
  void OnCrcId(SimUnit& unit);
  void OnBytes(const uint8_t* data, size_t length);
  void Receive(const std::string& word, platform::Event& stop);
  // Waits until count bytes are buffered. False on the idle time-out or stop.
  bool WaitBytes(size_t count, uint32_t ms, platform::Event& stop);
  void WaitLine(platform::Event& stop);
  void Reply(uint8_t control);
  void Store(SimFirmwareLoad load);

  SimUnit& unit_;
  const SimFirmwareOptions options_;
  mutable std::mutex m_;
  mutable std::condition_variable cv_;
  platform::Event arrived_{platform::Event::ResetMode::Auto};
  std::deque<uint8_t> rx_;
  uint64_t lineFreeUs_ = 0;  // when the paced line has carried what was received
  bool receiving_ = false;
  bool restartPending_ = false;
  int restarts_ = 0;
  std::optional<uint32_t> crcId_;
  std::vector<SimFirmwareLoad> loads_;
  platform::WorkerThread worker_;
};

}  // namespace sim
