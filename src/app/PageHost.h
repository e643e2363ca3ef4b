#pragma once
// What pages reach through their host dialog: the one-operation lock, refreshing every page,
// the window title, and running unit operations in a progress dialog.

#include <string>
#include <vector>

#include "app/ModulinkShell.h"

class PageHost {
 public:
  virtual ~PageHost() = default;
  virtual bool LockProcess(const void* owner) = 0;
  virtual bool UnlockProcess(const void* owner) = 0;
  virtual bool IsProcessRunning() const = 0;
  virtual void RefreshAllPages() = 0;
  virtual void UpdateTitle() = 0;
  // A modal progress dialog with Stop disabled running the tasks on the connected unit.
  virtual ShellRun RunTasks(const std::u16string& caption, const std::vector<ShellTask>& tasks) = 0;
};
