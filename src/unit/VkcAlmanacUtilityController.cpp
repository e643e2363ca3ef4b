#include "unit/VkcAlmanacUtilityController.h"

#include "devices/VkcDeviceManager.h"
#include "link/VkcMessageIds.h"
#include "unit/AlmanacSeriesStore.h"
#include "unit/VkcRadioReply.h"
#include "unit/VkcSaCommand.h"
#include "unit/VkcSystem.h"

VkcAlmanacUtilityController::VkcAlmanacUtilityController(VkcSystem& system, AlmanacSeriesStore& store)
    : system_(system), store_(store) {}

// A query has no stop; its waits are bounded, so the join ends.
VkcAlmanacUtilityController::~VkcAlmanacUtilityController() { worker_.Join(); }

void VkcAlmanacUtilityController::Start(platform::WindowHandle window) {
  window_.store(window);
  // Claimed here, not by the worker, so two quick starts cannot both launch.
  if (running_.exchange(true)) return;
  if (!StartThread()) running_.store(false);
}

bool VkcAlmanacUtilityController::StartThread() {
  return worker_.Start([this](platform::Event&) { ThreadProc(); });
}

std::string VkcAlmanacUtilityController::GetTable() const {
  std::lock_guard<std::mutex> g(tableLock_);
  return table_;
}

void VkcAlmanacUtilityController::Post(Notice notice) {
  platform::PostMessage(window_.load(), kMsgAlmanac, notice, 0);
}

void VkcAlmanacUtilityController::ThreadProc() {
  const uint32_t result = Run();
  if (result != kOk) Post(kFailed);
  running_.store(false);
  Post(kEnded);
}

uint32_t VkcAlmanacUtilityController::Run() {
  Post(kStarted);
  VkcDeviceManager* manager = system_.GetDeviceManager();
  if (manager != nullptr) manager->GetMCUController().RefreshRoute(system_.GetCurrentPort());
  if (!system_.SwitchToCommandMode(true)) {
    store_.SetMessage("Could not switch to command mode!");
    return kNoCommandMode;
  }
  if (uint32_t result = SwitchToBeaconMaster(); result != kOk) return result;
  std::string table;
  if (uint32_t result = QueryTable(table); result != kOk) return result;
  if (uint32_t result = ParseTable(table, store_); result != kOk) return result;
  Post(kTable);
  if (manager != nullptr) manager->GetMCUController().ApplyStoredRoute(system_.GetCurrentPort());
  return kOk;
}

uint32_t VkcAlmanacUtilityController::SwitchToBeaconMaster() {
  const std::string command = "LINK SAR 1\r\n";
  std::string reply;
  switch (VkcSaCommand::Send(system_, command, reply)) {
    case VkcSaCommand::kNoReply:
      store_.SetMessage(VkcSaCommand::NoReplyMessage(command));
      return kNoMasterReply;
    case VkcSaCommand::kRefused:
      store_.SetMessage("Could not switch to Beacon Master.\n" + VkcSaCommand::RefusedTail(reply, command));
      return kMasterRefused;
    case VkcSaCommand::kOk:
      break;
  }
  return kOk;
}

uint32_t VkcAlmanacUtilityController::QueryTable(std::string& table) {
  const std::string command = "SCAN ALMANAC\r\n";
  std::string reply;
  switch (VkcSaCommand::Send(system_, command, reply, VkcSaCommand::kLongReplySize, "\r\n@00")) {
    case VkcSaCommand::kNoReply:
      store_.SetMessage(VkcSaCommand::NoReplyMessage(command));
      return kNoTableReply;
    case VkcSaCommand::kRefused:
      store_.SetMessage("Could not get almanac table.\n" + VkcSaCommand::RefusedTail(reply, command));
      return kNoTable;
    case VkcSaCommand::kOk:
      break;
  }
  table = reply.substr(0, reply.find("\r\n@00"));
  // The line feed that ended the command comes back in front of the table.
  table.erase(0, table.find_first_not_of("\r\n") == std::string::npos ? table.size()
                                                                        : table.find_first_not_of("\r\n"));
  std::lock_guard<std::mutex> g(tableLock_);
  table_ = table;
  return kOk;
}

std::vector<std::string_view> VkcAlmanacUtilityController::SplitString(std::string_view text, char sep) {
  std::vector<std::string_view> pieces;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = text.find(sep, begin);
    if (end == std::string_view::npos) end = text.size();
    pieces.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return pieces;
}

uint32_t VkcAlmanacUtilityController::ParseTable(std::string_view table, AlmanacSeriesStore& store) {
  const std::vector<std::string_view> lines = SplitString(table, '\n');
  if (lines.empty()) {
    store.SetMessage("Could not parse almanac table.");
    return kUnparsable;
  }
  if (lines.front().find("EMPTY") != std::string_view::npos) {
    store.SetMessage("Almanac table is empty.");
    return kEmpty;
  }
  if (lines.size() > AlmanacSeriesStore::kMaxStations || !store.Allocate(static_cast<uint32_t>(lines.size()))) {
    store.SetMessage("Not enough memory for chart series.");
    return kNoMemory;
  }
  for (std::string_view line : lines) {
    const std::vector<std::string_view> fields = SplitString(line, ',');
    if (fields.size() != 4) {
      store.SetMessage("Could not parse almanac table.");
      return kUnparsable;
    }
    if (!store.AddStation(ParseLeadingInt(fields[0]), ParseLeadingInt(fields[1]), ParseLeadingInt(fields[2]),
                          ParseLeadingInt(fields[3]))) {
      store.SetMessage("Could not add a station to chart series.");
      return kStoreFull;
    }
  }
  return kOk;
}

VkcAlmanacUtilityController& EnsureAlmanacController(VkcSystem& system) {
  if (system.GetAlmanacController() == nullptr || system.GetAlmanacStore() == nullptr) {
    auto* store = new AlmanacSeriesStore;
    system.SetAlmanac({new VkcAlmanacUtilityController(system, *store),
                       [](VkcAlmanacUtilityController* c) { delete c; }},
                      {store, [](AlmanacSeriesStore* s) { delete s; }});
  }
  return *system.GetAlmanacController();
}
