#pragma once
// The main dialog's operations without widgets: the one-operation lock, identification, the
// send to the radio, the close rule and the window title. The dialog supplies the view side
// (progress dialog, pages); the unit side comes from ShellUnit.

#include <cstdint>
#include <string>
#include <vector>

#include "app/VkcProcessLock.h"

class ShellUnit;
class UnitId;

class VkiPostProcess;

struct ShellTask {
  uint32_t operation;
  intptr_t parameter;
  VkiPostProcess* target = nullptr;  // null: the connected unit
  bool always = false;               // runs after a failure or a stop too (putting things back)
  bool operator==(const ShellTask&) const = default;
};

struct ShellRun {
  int modal;        // 1 every task succeeded, 2 failure or stop
  uint32_t result;  // first failing task's code, 0 otherwise
};

class ShellView {
 public:
  virtual ~ShellView() = default;
  // A modal progress dialog with Stop disabled running the tasks (on the connected unit unless a
  // task names its target).
  virtual ShellRun RunTasks(const std::u16string& caption, const std::vector<ShellTask>& tasks) = 0;
  virtual void RefreshAllPages() = 0;
  virtual bool ApplyAllPages() = 0;
  // The Connection page's flag: the pass-through through a receiver is not established.
  virtual bool IsPassThroughOff() const = 0;
  // Switches an established pass-through off before the program ends.
  virtual void PrepareExit() = 0;
};

class ModulinkShell {
 public:
  ModulinkShell(ShellUnit& unit, ShellView& view) : unit_(unit), view_(view) {}

  bool LockProcess(const void* owner) { return lock_.Lock(owner); }
  bool UnlockProcess(const void* owner) { return lock_.Unlock(owner); }
  bool IsProcessRunning() const { return lock_.IsHeld(); }
  const void* LockOwner() const { return lock_.Owner(); }

  bool IdentifyUnit(const void* requester);
  void SendToRadio(const void* requester);
  // The close rule: refused while an operation runs; otherwise asks, and on Yes prepares the
  // exit. True when the dialog may end.
  bool ConfirmClose();

  std::u16string Title() const;
  static std::u16string FormatTitle(int type, std::u16string_view port, std::u16string_view address,
                                    int tcpPort, const UnitId& serial);

 private:
  ShellUnit& unit_;
  ShellView& view_;
  VkcProcessLock lock_;
};
