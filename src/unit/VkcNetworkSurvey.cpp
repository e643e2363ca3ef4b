#include "unit/VkcNetworkSurvey.h"

#include "devices/VkcCommandExchange.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcMessageIds.h"
#include "unit/NetworkSurveyReplies.h"

namespace {

void Post(platform::WindowHandle window, intptr_t what, intptr_t value) {
  platform::PostMessage(window, kMsgProgress, what, value);
}

}  // namespace

ParamNode CopyParamNode(const ParamNode& node) {
  ParamNode copy;
  copy.unitId = node.unitId;
  copy.noUnit = node.noUnit;
  copy.answered = node.answered;
  if (node.params) copy.params = std::make_unique<ParamMap>(*node.params);
  copy.children.reserve(node.children.size());
  for (const ParamNode& child : node.children) copy.children.push_back(CopyParamNode(child));
  return copy;
}

VkcNetworkSurvey::VkcNetworkSurvey(std::function<VkcComPort*()> port, std::function<bool()> toCommandMode)
    : port_(std::move(port)), toCommandMode_(std::move(toCommandMode)) {}

uint32_t VkcNetworkSurvey::Process(uint32_t operation, intptr_t, platform::WindowHandle, platform::Event&) {
  if (operation != kOpCommandMode) return 1;
  return toCommandMode_ && toCommandMode_() ? 0 : 1;
}

VkcNetworkSurvey::~VkcNetworkSurvey() {
  thread_.Stop(kJoinBoundMs, [] { ErrorLog().ReportError(0, "Network survey did not stop in time"); });
}

VkcNetworkSurvey::StartResult VkcNetworkSurvey::Start(Mode mode, int unit, platform::WindowHandle window) {
  if (running_) return StartResult::kRunning;
  if (failNextStart_) {
    failNextStart_ = false;
    return StartResult::kNoThread;
  }
  thread_.Join();  // an earlier survey's worker, ended already
  if (!thread_.Start([this, mode, unit, window](platform::Event& stop) { Run(mode, unit, window, stop); }))
    return StartResult::kNoThread;
  running_ = true;
  return StartResult::kStarted;
}

void VkcNetworkSurvey::RequestStop() { thread_.RequestStop(); }

void VkcNetworkSurvey::Finish() {
  thread_.Join(kJoinBoundMs, [] { ErrorLog().ReportError(0, "Network survey did not stop in time"); });
  running_ = false;
}

ParamNode VkcNetworkSurvey::Snapshot() const {
  std::lock_guard<std::mutex> g(mutex_);
  return CopyParamNode(root_);
}

size_t VkcNetworkSurvey::RemoteCount() const {
  std::lock_guard<std::mutex> g(mutex_);
  return root_.children.size();
}

void VkcNetworkSurvey::SetLocalUnit(const UnitId& id) {
  std::lock_guard<std::mutex> g(mutex_);
  if (root_.unitId == id) return;
  root_.unitId = id;
  root_.params.reset();
  root_.children.clear();
}

void VkcNetworkSurvey::SetNoUnit(bool noUnit) {
  std::lock_guard<std::mutex> g(mutex_);
  root_.noUnit = noUnit;
}

void VkcNetworkSurvey::ClearRemotes() {
  std::lock_guard<std::mutex> g(mutex_);
  root_.children.clear();
}

ParamNode* VkcNetworkSurvey::NodeLocked(int unit) {
  if (unit == kLocalUnit) return &root_;
  if (unit < 0 || static_cast<size_t>(unit) >= root_.children.size()) return nullptr;
  return &root_.children[static_cast<size_t>(unit)];
}

void VkcNetworkSurvey::SetAnswered(int unit, bool answered, bool dropParams) {
  std::lock_guard<std::mutex> g(mutex_);
  ParamNode* node = NodeLocked(unit);
  if (node == nullptr) return;
  node->answered = answered;
  if (dropParams) node->params.reset();
}

void VkcNetworkSurvey::Run(Mode mode, int unit, platform::WindowHandle window, platform::Event& stop) {
  if (mode == Mode::kNetwork) {
    RunNetwork(window, stop);
    return;
  }
  if (unit != kLocalUnit) {
    if (QueryRemote(unit, window, stop) < 0) {
      Post(window, kProgressSurveyEnd, 1);
      return;
    }
    Post(window, kProgressSurveyRedraw, 0);
  } else if (!QueryGroups(kLocalUnit, stop)) {
    SetAnswered(kLocalUnit, false);
  }
  Post(window, kProgressSurveyEnd, 0);
}

void VkcNetworkSurvey::RunNetwork(platform::WindowHandle window, platform::Event& stop) {
  Post(window, kProgressSurveyUnit, kLocalUnit);
  SetAnswered(kLocalUnit, QueryGroups(kLocalUnit, stop));
  Post(window, kProgressSurveyRedraw, 0);

  // The list wait watches the stop event too; a stop is not a failure of the unit.
  VkcExchange list;
  list.command = "CONNECT";
  list.timeoutMs = kListTimeoutMs;
  list.extra = &stop;
  list.match = VkcExchange::kInOrder;
  list.replySize = kListReplySize;
  if (stop.IsSet() || !list.Run(port_ ? port_() : nullptr, {"@0"})) {
    Post(window, kProgressSurveyEnd, stop.IsSet() ? 0 : 1);
    return;
  }
  size_t count = 0;
  {
    std::vector<UnitId> ids = survey::ParseRemoteList(list.reply);
    if (list.cut)
      ErrorLog().ReportError(0, "Network survey: the unit's list of remote units is longer than %zu bytes; "
                                "the %zu units read from it are surveyed, those past them are left out",
                             kListReplySize - 1, ids.size());
    std::lock_guard<std::mutex> g(mutex_);
    root_.children.clear();
    root_.children.resize(ids.size());
    for (size_t i = 0; i < ids.size(); ++i) root_.children[i].unitId = ids[i];
    count = ids.size();
  }
  Post(window, kProgressSurveyRedraw, 0);

  for (size_t i = 0; i < count; ++i) {
    if (QueryRemote(static_cast<int>(i), window, stop) < 0) {
      Post(window, kProgressSurveyEnd, 1);
      return;
    }
    if (stop.IsSet()) break;
    Post(window, kProgressSurveyRedraw, 0);
  }
  Post(window, kProgressSurveyEnd, 0);
}

int VkcNetworkSurvey::QueryRemote(int index, platform::WindowHandle window, platform::Event& stop) {
  UnitId id;
  {
    std::lock_guard<std::mutex> g(mutex_);
    ParamNode* node = index == kLocalUnit ? nullptr : NodeLocked(index);
    if (node == nullptr) return -1;
    id = node->unitId;
  }
  Post(window, kProgressSurveyUnit, index);

  const std::string command = "CONNECT " + id.ToString(std::string_view());
  VkcExchange connect;
  connect.command = command.c_str();
  connect.timeoutMs = kConnectTimeoutMs;
  connect.extra = &stop;
  connect.match = VkcExchange::kAny;
  connect.replySize = kReplySize;
  if (!connect.Run(port_ ? port_() : nullptr, {"@0", "Established"})) {
    if (stop.IsSet()) {
      SendExit();
      return 1;
    }
    // A remote unit the local one got no answer from, or refused with another code, is shown
    // as not answering, and the survey goes on with the next.
    SetAnswered(index, false, true);
    const int code = survey::ParseAtCode(connect.reply);
    return code < 0 ? 0 : code;
  }
  if (connect.reply.find("Established") == std::string::npos) {
    SetAnswered(index, false, true);
    return 0;
  }
  QueryGroups(index, stop);  // what the groups gave is kept; a failed group does not fail the unit
  if (!SendExit()) return -1;
  if (stop.IsSet()) return 1;
  SetAnswered(index, true);
  return 0;
}

bool VkcNetworkSurvey::QueryGroups(int unit, platform::Event& stop) {
  for (const char* group : survey::kGroups) {
    if (!QueryGroup(unit, group, stop)) return false;
  }
  return true;
}

bool VkcNetworkSurvey::QueryGroup(int unit, const char* group, platform::Event& stop) {
  {
    std::lock_guard<std::mutex> g(mutex_);
    ParamNode* node = NodeLocked(unit);
    if (node == nullptr) return false;
    if (!node->params) node->params = std::make_unique<ParamMap>(survey::InitialParams());
  }
  for (int send = 0; send < kGroupSends; ++send) {
    if (stop.IsSet()) return false;
    VkcExchange exchange;
    exchange.command = group;
    exchange.timeoutMs = kGroupTimeoutMs;
    exchange.extra = &stop;
    exchange.match = VkcExchange::kAny;
    exchange.replySize = kReplySize;
    if (!exchange.Run(port_ ? port_() : nullptr, {"@0"})) return false;
    if (survey::ParseResultCode(exchange.reply) != 0) continue;
    std::lock_guard<std::mutex> g(mutex_);
    ParamNode* node = NodeLocked(unit);
    if (node != nullptr && node->params) survey::ParseGroupReply(exchange.reply, (*node->params)[group]);
    return true;
  }
  return false;
}

bool VkcNetworkSurvey::SendExit() {
  VkcExchange exit;
  exit.command = "EXIT";
  exit.timeoutMs = kExitTimeoutMs;
  exit.match = VkcExchange::kAny;
  exit.replySize = kReplySize;
  return exit.Run(port_ ? port_() : nullptr, {"@0"});
}
