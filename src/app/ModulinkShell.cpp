#include "app/ModulinkShell.h"

#include "app/ShellUnit.h"
#include "link/UnitId.h"
#include "unit/VkcMcuRouteTasks.h"
#include "platform/qt/MessageBox.h"

namespace {
constexpr unsigned kOk = platform::qt::kMbOk;
constexpr unsigned kYesNo = platform::qt::kMbYesNo | platform::qt::kMbIconQuestion;

// Unit operations run by identification and sending.
constexpr uint32_t kOpIdentify = 0;
constexpr uint32_t kOpWriteImages = 2;
constexpr uint32_t kOpRestart = 3;
constexpr uint32_t kOpPrepareImages = 4;
constexpr uint32_t kOpReadConfig = 7;
constexpr uint32_t kOpWriteMcu = 8;
constexpr intptr_t kUserImages = 6;
constexpr intptr_t kAllImages = 7;
}  // namespace

bool ModulinkShell::IdentifyUnit(const void* requester) {
  if (requester != nullptr && !lock_.Lock(requester)) {
    unit_.ShowMessage("Unable to run identification process.\nAnother process is running", kOk, false);
    return false;
  }
  if (!unit_.IsPortOpen()) {
    unit_.ShowMessage("Communication port is not open", kOk, false);
    lock_.Unlock(requester);
    return false;
  }
  const int iface = unit_.InterfaceSetting();
  if (iface != 1 && iface != 3 && view_.IsPassThroughOff()) {
    unit_.ShowMessage("The communication with radio modem is not enabled through selected Device interface.", kOk,
                      false);
    lock_.Unlock(requester);
    return false;
  }
  const ShellRun run = view_.RunTasks({}, {{kOpIdentify, unit_.InterfaceParameter(iface)}, {kOpReadConfig, 0}});
  const bool success = run.modal == 1;
  if (success) {
    unit_.StorePortRate();
  } else if (run.result == 1) {
    unit_.ShowMessage("Unable to upload parameters", kOk, true);
  } else if (run.result == 6) {
    unit_.ShowMessage("Could not upload MCU parameters", kOk, false);
  }
  // After a failure too: the images were cleared, and pages and panels must not show the old unit.
  view_.RefreshAllPages();
  lock_.Unlock(requester);
  if (success && unit_.CurrentProductId() < 1) unit_.ShowMessage("Unit does not contain firmware", kOk, false);
  return success;
}

void ModulinkShell::SendToRadio(const void* requester) {
  // The lock comes first: applying pages must not disturb a running operation, and sending is
  // refused anyway while one runs.
  if (!lock_.Lock(requester)) {
    unit_.ShowMessage("Unable to run download process.\nAnother process is running", kOk, false);
    return;
  }
  // Without an identified unit the images are empty; they must never be written to a unit.
  if (unit_.CurrentProductId() < 1) {
    unit_.ShowMessage("Invalid product ID", kOk, false);
    lock_.Unlock(requester);
    return;
  }
  if (!view_.ApplyAllPages()) {
    unit_.ShowMessage("Unable to Save Data", kOk, false);
    lock_.Unlock(requester);
    return;
  }
  if (!unit_.IsPortOpen()) {
    unit_.ShowMessage("Communication port is not open", kOk, false);
    lock_.Unlock(requester);
    return;
  }
  // The MCU's route is pointed at this port before the send and put back after it whatever the
  // outcome, both on the progress dialog's worker: a silent MCU must not freeze the window.
  const intptr_t mask = unit_.FactoryWrite() ? kAllImages : kUserImages;
  std::vector<ShellTask> tasks{{kOpPrepareImages, mask}, {kOpWriteImages, mask}, {kOpWriteMcu, 0}, {kOpRestart, -1}};
  if (VkiPostProcess* route = unit_.RouteTarget()) {
    tasks.insert(tasks.begin(), {VkcMcuRouteTasks::kOpRefreshRoute, 0, route});
    tasks.push_back({VkcMcuRouteTasks::kOpApplyStoredRoute, 0, route, true});
  }
  const ShellRun run = view_.RunTasks(u"Sending configuration to radio", tasks);
  if (run.modal != 1) {
    if (run.result == 1) {
      unit_.ShowMessage("Unable to download parameters", kOk, true);
    } else if (run.result == 2) {
      unit_.ShowMessage("Unable to communicate with the unit", kOk, false);
    } else if (run.result == 5) {
      unit_.ShowMessage("Could not download MCU parameters.", kOk, false);
    }
  }
  unit_.StorePortRate();
  view_.RefreshAllPages();
  lock_.Unlock(requester);
}

bool ModulinkShell::ConfirmClose() {
  if (lock_.IsHeld()) {
    unit_.ShowMessage("Another process is running.\r\nPlease wait until it is finished then close the application.",
                      kOk, false);
    return false;
  }
  if (unit_.ShowMessage("Do you want to exit the program?\nAll unsaved data will be lost", kYesNo, false) !=
      platform::qt::kIdYes)
    return false;
  view_.PrepareExit();
  return true;
}

std::u16string ModulinkShell::Title() const {
  return FormatTitle(unit_.ConnectionType(), unit_.SerialPortSetting(), unit_.TcpAddressSetting(),
                     unit_.TcpPortSetting(), unit_.SerialNumber());
}

std::u16string ModulinkShell::FormatTitle(int type, std::u16string_view port, std::u16string_view address,
                                          int tcpPort, const UnitId& serial) {
  std::u16string where;
  if (type == 0) {
    // Device paths here use '/', Windows names '\'; either way only the last part is shown.
    const size_t cut = port.find_last_of(u"\\/");
    where = cut == std::u16string_view::npos ? std::u16string(port) : std::u16string(port.substr(cut + 1));
  } else if (type == 1) {
    where = std::u16string(address) + u":";
    for (char c : std::to_string(tcpPort)) where.push_back(static_cast<char16_t>(c));
  }
  std::u16string title = u"Modulink - " + where;
  if (serial != UnitId()) title += u"  (" + serial.ToString(std::u16string_view(u"-")) + u")";
  return title;
}
