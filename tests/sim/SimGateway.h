#pragma once
// A TCP gateway on 127.0.0.1 (an ephemeral port) in front of the simulated unit: it asks for a
// user name and a password ("login: ", "Password: " unless set otherwise), answers "LOGGED\r\n"
// or "INCORRECT\r\n", and then relays bytes between the client and the unit's serial line (or,
// without a unit, records them and sends what the test queues). One session at a time: a new
// connection replaces the old one.
//
// Hooks: refuse the password, close after a refusal, stall (accept and say nothing), drop the
// session now or after some bytes, refuse connections (the listening socket is closed; allowing
// them again listens on the same port), read slowly.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Event.h"
#include "platform/WorkerThread.h"

namespace sim {

class SimUnit;

class SimGateway {
 public:
  explicit SimGateway(SimUnit* unit = nullptr);
  ~SimGateway();
  SimGateway(const SimGateway&) = delete;
  SimGateway& operator=(const SimGateway&) = delete;

  bool IsOk() const { return ok_; }
  uint16_t Port() const { return port_; }

  void SetCredentials(const std::string& user, const std::string& password);
  // Prompts as sent; with split, each goes in two parts a short pause apart.
  void SetPrompts(const std::string& login, const std::string& password, bool split = false);
  void SetRefusePassword(bool refuse);
  void SetCloseAfterRefusal(bool close);
  void SetStall(bool stall);
  void DropSession();
  void DropAfterBytes(size_t bytes);  // of client input after the login
  // Returns once the gateway has stopped (or resumed) listening.
  void SetRefuseConnections(bool refuse);
  void SetReadPause(uint32_t msPerChunk);  // a slow reader of client input
  // Bytes for the client of the current logged-in session (no unit attached).
  void SendToClient(const std::string& bytes);

  size_t Connections() const;
  size_t LoggedInSessions() const;
  std::vector<std::string> LoginLines() const;  // every line the client sent before the verdict
  std::string Received() const;                 // client bytes after the login
  size_t ReceivedCount() const;
  bool WaitFor(const std::function<bool()>& pred, uint32_t ms) const;

 private:
  enum class Stage { None, User, Password, Refused, Relay, Stalled };
  void Run(platform::Event& stop);
  static int Bind(uint16_t port);
  bool Listen();
  void Accept();
  void EndSession();
  void OnClientBytes(const uint8_t* data, size_t n);
  void SendClient(const std::string& bytes);
  void SendPrompt(const std::string& prompt);

  bool ok_ = false;
  uint16_t port_ = 0;
  SimUnit* unit_;
  int listenFd_ = -1;
  int reserveFd_ = -1;
  std::atomic<bool> listening_{false};
  int sessionFd_ = -1;
  int unitFd_ = -1;

  mutable std::mutex m_;
  platform::Event wake_{platform::Event::ResetMode::Auto};
  std::string user_ = "a";
  std::string password_ = "pw";
  std::string loginPrompt_ = "login: ";
  std::string passwordPrompt_ = "Password: ";
  bool splitPrompts_ = false;
  bool refusePassword_ = false;
  bool closeAfterRefusal_ = false;
  bool stall_ = false;
  bool dropNow_ = false;
  bool dropArmed_ = false;
  size_t dropAfter_ = 0;
  bool refuseConnections_ = false;
  uint32_t readPauseMs_ = 0;
  std::string toClient_;

  Stage stage_ = Stage::None;
  std::string line_;
  size_t connections_ = 0;
  size_t loggedIn_ = 0;
  std::vector<std::string> loginLines_;
  std::string received_;

  platform::WorkerThread thread_;
};

}  // namespace sim
