#pragma once
// The network survey on the simulated unit: the unit belongs to a radio network of remote units.
// "CONNECT" lists them ("  0 <own id>", then "  n <id>" for each remote, then "@00");
// "CONNECT <id>" reaches one over the radio ("Established" and "@00"), after which the parameter
// groups ("LINK", "MPORT", "DPORT", "STATE", "INFO") are answered with that remote's values until
// "EXIT". A remote can be unreachable (answered "@03" without "Established"), silent (no answer
// at all), or answer one of its groups with "@01" every time.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sim/SimUnit.h"

namespace sim {

struct SimRemote {
  enum class Kind { Reachable, Unreachable, Silent };
  std::string id;              // twelve upper-case hexadecimal digits
  Kind kind = Kind::Reachable;
  std::string productId = "4";
  std::string failingGroup;    // a group this unit answers "@01" every time
};

struct SimNetwork {
  std::string ownId = "001A2B3C4D5E";
  std::string ownProductId = "4";
  std::vector<SimRemote> remotes;

  // Five remote units: three reachable (the second answers "STATE" with "@01"), one unreachable,
  // one silent (the fourth).
  static SimNetwork Default();
  // count remote units, none of them in reach (each "CONNECT <id>" is answered "@03"): a long
  // remote list that is quick to survey.
  static SimNetwork Unreachable(size_t count);
};

class SimSurvey {
 public:
  // Installs on unit. The unit keeps the handlers, which share this object's state.
  SimSurvey(SimUnit& unit, SimNetwork network);

  // The parameter group's answer body of the unit with this id (own id: the local unit), as the
  // unit sends it before the prompt.
  static std::string GroupBody(const SimNetwork& network, const std::string& id, const std::string& group);
  // The remote the unit is connected to; empty while it talks for itself.
  std::string ConnectedTo() const;

 private:
  struct State {
    mutable std::mutex m;
    SimNetwork network;
    std::string connected;
  };
  static void OnConnect(State& s, SimUnit& unit, const std::string& line);
  static void OnExit(State& s, SimUnit& unit);
  static void AnswerGroupsAs(const State& s, SimUnit& unit, const std::string& id);

  std::shared_ptr<State> state_;
};

}  // namespace sim
