#pragma once
// The network-service family of a simulated GSM unit: the RTN service's settings ("RTN TYPE",
// "RTN HOSTNAME", "RTN HOSTPORT", "RTN LOGIN", "RTN PASSWORD", "RTN MPOINT", "RTN NMEA" with a
// value, "DPORT ROUTE n"), its connection ("RTN CONNECT" asks, "RTN CONNECT 1" / "0" connects
// or disconnects, reporting progress on the way) and its status ("GSM RSSI", "RTN STATE",
// "RTN ERROR", "RTN HOSTNAME" without a value). Lines may end in CR or CR LF.

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "sim/SimUnit.h"

namespace sim {

class SimRtn {
 public:
  explicit SimRtn(SimUnit& unit);

  // The last value set for a key ("TYPE", "HOSTNAME", ..., "ROUTE"); "" when never set.
  std::string Setting(const std::string& key) const;
  bool Connected() const;
  void SetConnected(bool connected);
  // The code of the next connects and disconnects (0: done).
  void SetConnectResult(int code);
  // What the unit prints while it connects, chunk by chunk.
  void SetConnectOutput(std::vector<std::string> chunks);
  // The command (the line as sent, e.g. "RTN LOGIN user") answers with this code.
  void SetFailure(const std::string& prefix, int code);
  // The command gets only its echo.
  void SetUnanswered(const std::string& command, bool unanswered = true);
  void SetStatus(const std::string& rssi, const std::string& state, const std::string& error);
  void SetServerHost(const std::string& host);

 private:
  struct State {
    mutable std::mutex m;
    std::map<std::string, std::string> settings;
    bool connected = false;
    int connectResult = 0;
    std::vector<std::string> connectOutput{"..", "..", "CONNECTED\r\n"};
    std::map<std::string, int> failures;
    std::set<std::string> unanswered;
    std::string rssi = "-71", state = "CONNECTED", error = "NONE", serverHost = "10.1.2.3";
  };
  static void Handle(State& s, SimUnit& unit, const std::string& rawLine);

  std::shared_ptr<State> state_;
};

}  // namespace sim
