#pragma once
// An outside program as a test peer: an XModem program (lrzsz sx/rx), or the stand-alone simulated
// unit. It runs with its stdin and stdout on one end of a socket pair, never on a terminal of ours,
// so its terminal settings touch nothing we use; the test relays between the other end and
// whatever link it exercises, or reads what the program prints.

#include <string>
#include <sys/types.h>
#include <vector>

namespace sim {

class SimXmodPeer {
 public:
  SimXmodPeer() = default;
  ~SimXmodPeer();
  SimXmodPeer(const SimXmodPeer&) = delete;
  SimXmodPeer& operator=(const SimXmodPeer&) = delete;

  // Starts argv (argv[0] a path) in workDir. False when it cannot start.
  bool Start(const std::vector<std::string>& argv, const std::string& workDir);
  // Our end of the socket pair (non-blocking).
  int Fd() const { return fd_; }
  // Waits up to ms for the program to end: its exit status, or -1 (the program is then killed).
  int Wait(int ms);
  bool Running() const { return pid_ > 0; }
  // Sends the program a signal (SIGTERM: asks it to end), for a Wait that follows.
  void Signal(int signal);
  // Without waiting: true with the exit status once the program has ended.
  bool TryWait(int* status);

 private:
  pid_t pid_ = -1;
  int fd_ = -1;
};

}  // namespace sim
