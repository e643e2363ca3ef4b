#pragma once
// The status queries of a simulated L-band receiver: "STATE RSSI", "STATE FREQ", "LINK SIGTYPE",
// "STATE SYNC", "STATE BER", "STATE EBN0" and "LINK RSID" answer "<value>@00\r\n" and the prompt;
// "@RX RESBER" answers "@00". Values, failure codes and a reply delay are settable per query.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "sim/SimUnit.h"

namespace sim {

class SimLband {
 public:
  // Installs on unit with the values -120 dBm, 1545525000 Hz, type 2, sync 1, BER "1.2E-5",
  // Eb/N0 8 and service "OMNI".
  explicit SimLband(SimUnit& unit);

  void SetValue(const std::string& query, const std::string& value);
  // The query answers "@%02d" with no value.
  void SetFailure(const std::string& query, int code);
  // The query is answered only after ms (its echo comes at once).
  void SetDelay(const std::string& query, uint32_t ms);
  // How many "@RX RESBER" the unit has received.
  int ResetCount() const;

 private:
  struct State {
    mutable std::mutex m;
    std::map<std::string, std::string> values;
    std::map<std::string, int> failures;
    std::map<std::string, uint32_t> delays;
    int resets = 0;
  };
  static void Handle(State& s, SimUnit& unit, const std::string& line);

  std::shared_ptr<State> state_;
};

}  // namespace sim
