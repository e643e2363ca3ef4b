#pragma once
// XModem with 128-byte blocks, as sender (CRC-16 or 8-bit checksum, as the receiver asks) and as
// receiver (checksum mode). The caller drives it block by block on its own thread; the received
// bytes arrive on the port's receive thread (OnDataReceived), which only copies them and wakes the
// caller. Over a port the engine is a listener (group 0) from Begin to End; the simulated unit runs
// the same engine on a plain byte stream through the writer constructor.
//
// Over a port the transfer ends as soon as the port is closed or hung up (or a write to it fails),
// rather than running through its tries against a dead line.
//
// Time-outs are nominal milliseconds, scaled where the wait happens.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "link/VkcComPortInterface.h"
#include "platform/Event.h"
#include "platform/Locks.h"

class VkcComPort;

class VkcXModemProtocol : public VkcComPortInterface {
 public:
  enum State : uint32_t {
    kIdle = 0,           // receiver before the first block
    kCollecting = 1,     // receiver collecting a block
    kBlockComplete = 2,  // a full block arrived
    kEnded = 3,          // EOT or CAN received, or cancelled
    kWaitStart = 4,      // sender waiting for 'C' or NAK
    kGo = 5,             // receiver acknowledged (or started)
    kResend = 6,         // last block refused or unanswered
    kWaitReply = 7,      // sender waiting for the reply to what it sent
    kSenderDone = 8,     // receiver cancelled, or the sender finished
  };

  static constexpr uint8_t kSOH = 0x01;
  static constexpr uint8_t kEOT = 0x04;
  static constexpr uint8_t kACK = 0x06;
  static constexpr uint8_t kNAK = 0x15;
  static constexpr uint8_t kCAN = 0x18;
  static constexpr uint8_t kCRC = 'C';
  static constexpr size_t kBlockData = 128;
  static constexpr size_t kChecksumBlock = 132;
  static constexpr size_t kCrcBlock = 133;
  static constexpr int kMaxTries = 10;
  static constexpr int kMaxErrors = 10;
  static constexpr int kMaxTimeouts = 10;
  // What is kept of the peer's bytes behind its EOT.
  static constexpr size_t kMaxTrailing = 256;

  // Writes bytes to the peer; false when they could not be written.
  using Writer = std::function<bool(const uint8_t* data, size_t length)>;
  // Called by Begin*/End/FinishSend to register or unregister the engine with its byte source.
  using Registrar = std::function<void(bool add)>;

  explicit VkcXModemProtocol(VkcComPort* port);
  explicit VkcXModemProtocol(Writer writer, Registrar registrar = {});
  ~VkcXModemProtocol() override;
  VkcXModemProtocol(const VkcXModemProtocol&) = delete;
  VkcXModemProtocol& operator=(const VkcXModemProtocol&) = delete;

  // Sender. The first block goes out only after the receiver's 'C' or NAK.
  bool BeginSend();
  // Settles what was sent before (the receiver's start or the previous block: re-sent on NAK or
  // time-out, up to kMaxTries waits) and then sends this block. False on failure, the cancel event
  // or the receiver's CAN.
  bool SendBlock(const uint8_t* data128, uint32_t timeoutMs, platform::Event* cancel);
  // Settles the last block the same way, then sends EOT and unregisters. The EOT needs no ACK: a
  // receiver's first reply ends the wait whatever it is (a unit may answer with its confirmation
  // text; the caller judges that), except a NAK, which asks for the EOT again (up to kMaxTries
  // EOTs); no reply within timeoutMs ends it too. False only when the last block was not
  // accepted (no EOT is sent then).
  bool FinishSend(uint32_t timeoutMs, platform::Event* cancel);

  // Receiver (checksum mode: it opens with NAK).
  bool BeginReceive();
  // True for a block copied to destination and at the end of the file (then the state is kEnded).
  // False on failure, the cancel event or the sender's CAN. A first byte EOT ends the file even
  // when the sender's text follows it at once, however long.
  bool ReceiveBlock(uint8_t* destination128, uint32_t timeoutMs, platform::Event* cancel);
  // The bytes that followed the sender's EOT (a unit printing its result line right behind it),
  // up to kMaxTrailing, until End; taking them empties the store.
  std::string TakeTrailing();

  // Sends five CAN bytes and ends the transfer (state kEnded). Usable on a never-begun object.
  void Cancel();
  // Unregisters; the object may begin again.
  void End();
  uint32_t GetState() const { return state_.load(); }
  bool IsCrcMode() const { return crcMode_.load(); }

  // Bytes from the peer (receive thread).
  void OnBytes(const uint8_t* data, size_t length);
  void OnDataReceived(const uint8_t* data, size_t length, VkcComPort* port) override {
    OnBytes(data, length);
  }

 private:
  enum class Settle { Go, Failed };
  Settle AwaitGo(uint32_t timeoutMs, platform::Event* cancel);
  // 0 woke, 1 cancel or the port gone, 258 time-out.
  uint32_t WaitWake(uint32_t timeoutMs, platform::Event* cancel);
  void SendBuffer(const uint8_t* data, size_t length);
  bool LinkLost() const;
  void Register(bool add);
  bool IsLoneControl(uint8_t control);
  // Under lock_: bytes beyond a block that starts with EOT go to trailing_.
  void KeepBehindEotLocked(const uint8_t* data, size_t length);
  void Purge(uint32_t timeoutMs);

  Writer writer_;
  Registrar registrar_;
  std::function<bool()> portOpen_;  // empty: a plain byte stream, always there
  std::atomic<bool> writeFailed_{false};
  bool registered_ = false;

  platform::Mutex lock_;  // guards state_ changes, rx_ and count_ between the two threads
  platform::Event wake_{platform::Event::ResetMode::Manual, false};
  std::atomic<uint32_t> state_{kIdle};
  std::atomic<bool> crcMode_{false};
  std::array<uint8_t, kCrcBlock> rx_{};
  size_t count_ = 0;
  bool overrun_ = false;  // bytes arrived beyond the block being collected
  bool senderCancelled_ = false;  // CAN outside a block
  bool firstPending_ = false;     // the first block awaits its reply
  bool eotPending_ = false;       // the sender's EOT awaits its reply
  bool keepTrailing_ = false;     // the receiver ended on EOT: what follows is kept
  std::string trailing_;
  std::atomic<uint64_t> arrivals_{0};  // chunks received, to tell when the line went quiet

  // Caller's thread only.
  bool begun_ = false;
  bool sending_ = false;
  uint32_t blockNumber_ = 1;
  std::array<uint8_t, kCrcBlock> tx_{};
  size_t txLength_ = 0;  // what a resend repeats (0: nothing sent yet)
};
