#include "sim/SimSurvey.h"

#include "link/Format.h"

namespace sim {

namespace {

const char* const kGroups[] = {"LINK", "MPORT", "DPORT", "STATE", "INFO"};

// A number that differs from unit to unit: its position in the network (0 the local unit).
int UnitNumber(const SimNetwork& network, const std::string& id) {
  for (size_t i = 0; i < network.remotes.size(); ++i)
    if (network.remotes[i].id == id) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace

SimNetwork SimNetwork::Default() {
  SimNetwork network;
  network.remotes = {
      {"00112233AABB", SimRemote::Kind::Reachable, "4", ""},
      {"00112233AABC", SimRemote::Kind::Reachable, "48", "STATE"},
      {"00112233AABD", SimRemote::Kind::Unreachable, "4", ""},
      {"00112233AABE", SimRemote::Kind::Silent, "4", ""},
      {"00112233AABF", SimRemote::Kind::Reachable, "4", ""},
  };
  return network;
}

SimNetwork SimNetwork::Unreachable(size_t count) {
  SimNetwork network;
  for (size_t i = 0; i < count; ++i)
    network.remotes.push_back({StrPrintf("00112233%04zX", i + 1), SimRemote::Kind::Unreachable, "4", ""});
  return network;
}

SimSurvey::SimSurvey(SimUnit& unit, SimNetwork network) : state_(std::make_shared<State>()) {
  state_->network = std::move(network);
  std::shared_ptr<State> s = state_;
  unit.AddCommandHandler("CONNECT", [s](SimUnit& u, const std::string& line) { OnConnect(*s, u, line); });
  unit.AddCommandHandler("EXIT", [s](SimUnit& u, const std::string&) { OnExit(*s, u); });
  AnswerGroupsAs(*state_, unit, state_->network.ownId);
}

std::string SimSurvey::ConnectedTo() const {
  std::lock_guard<std::mutex> g(state_->m);
  return state_->connected;
}

std::string SimSurvey::GroupBody(const SimNetwork& network, const std::string& id, const std::string& group) {
  const int n = UnitNumber(network, id);
  std::string productId = network.ownProductId;
  for (const SimRemote& r : network.remotes) {
    if (r.id != id) continue;
    if (r.failingGroup == group) return "@01\r\n";
    productId = r.productId;
  }
  if (group == "LINK")
    return StrPrintf("PROT=1\r\nMOD=%d\r\nPWRB=%d\r\nPWRW=20\r\nCHAN=%d\r\nFHOP=0\r\nSCRAM=0\r\nFEC=1\r\n@00\r\n",
                     1 + n % 3, 13 + n, 3 + n);
  if (group == "MPORT") return "RATE=9\r\n@00\r\n";
  if (group == "DPORT") return "RATE=5\r\nBITS=8\r\nPARITY=0\r\nFLOW=0\r\n@00\r\n";
  if (group == "STATE")
    return StrPrintf("TTL1=12\r\nTTL2=7\r\nRSSI=-%d\r\nBER=0\r\nFREQ=433.125MHz\r\n@00\r\n", 80 + n);
  if (group == "INFO")
    return "Product ID=" + productId + "\r\nS/N=" + id +
           "\r\nHardware=HW 1.0\r\nSoftware=SW 3.2 Rev 5\r\nBootLoader=BL 1.0\r\n@00\r\n";
  return "@01\r\n";
}

void SimSurvey::AnswerGroupsAs(const State& s, SimUnit& unit, const std::string& id) {
  for (const char* group : kGroups) unit.SetAnswer(group, GroupBody(s.network, id, group));
}

void SimSurvey::OnConnect(State& s, SimUnit& unit, const std::string& line) {
  std::unique_lock<std::mutex> g(s.m);
  if (line == "CONNECT") {
    std::string list = "  0 " + s.network.ownId + "\r\n";
    for (size_t i = 0; i < s.network.remotes.size(); ++i)
      list += StrPrintf("  %zu ", i + 1) + s.network.remotes[i].id + "\r\n";
    g.unlock();
    unit.Answer(list, 0);
    return;
  }
  const std::string id = line.size() > 8 && line[7] == ' ' ? line.substr(8) : std::string();
  for (const SimRemote& r : s.network.remotes) {
    if (r.id != id) continue;
    switch (r.kind) {
      case SimRemote::Kind::Silent:
        return;
      case SimRemote::Kind::Unreachable:
        g.unlock();
        unit.Answer("", 3);
        return;
      case SimRemote::Kind::Reachable:
        s.connected = id;
        AnswerGroupsAs(s, unit, id);
        g.unlock();
        unit.Answer("Established\r\n", 0);
        return;
    }
  }
  g.unlock();
  unit.Answer("", 3);  // no such unit in the network
}

void SimSurvey::OnExit(State& s, SimUnit& unit) {
  {
    std::lock_guard<std::mutex> g(s.m);
    s.connected.clear();
    AnswerGroupsAs(s, unit, s.network.ownId);
  }
  unit.Answer("", 0);
}

}  // namespace sim
