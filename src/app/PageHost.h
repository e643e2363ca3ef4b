#pragma once
// What a page reaches through its host (the main dialog, or a test's host): the application
// object with the settings, the device manager and the connected unit; the one message box; the
// one-operation lock; identification, apply-all, refresh-all, the title and print preview; and
// running tasks on any task target in the modal progress dialog.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/ModulinkShell.h"

class ModulinkApp;
class VkcConfiguration;
class VkcDeviceManager;
class VkcSystem;
class VkiPostProcess;

// One step of a progress run: operation and parameter of a task target.
struct PageTask {
  VkiPostProcess* target = nullptr;
  uint32_t operation = 0;
  intptr_t parameter = 0;
  // Runs after an earlier failure or a stop too, ignoring Stop, and its result does not count:
  // for putting the unit back whatever the outcome.
  bool always = false;
};

struct ProgressOptions {
  std::u16string caption;    // empty: the dialog's own
  bool stopEnabled = false;  // the Stop button may be pressed
  bool escCancels = true;    // Esc and the close box ask the tasks to stop
};

struct ProgressRun {
  int modal = 0;            // 1 every task succeeded, 2 a failure or a stop
  uint32_t result = 0;      // the first failing task's code, 0 otherwise
  bool stopped = false;     // the user stopped the run
};

class PageHost {
 public:
  virtual ~PageHost() = default;

  // The application object: settings, device manager, connected unit, message box.
  virtual ModulinkApp& App() = 0;
  VkcConfiguration& Settings();
  VkcDeviceManager& Devices();
  VkcSystem& Unit();
  // Every user message goes through the application's message box (text in UTF-8 or UTF-16).
  int ShowMessage(std::string_view text, unsigned flags = 0, bool hint = false);
  int ShowMessage(const std::u16string& text, unsigned flags = 0, bool hint = false);

  virtual bool LockProcess(const void* owner) = 0;
  virtual bool UnlockProcess(const void* owner) = 0;
  virtual bool IsProcessRunning() const = 0;
  virtual void RefreshAllPages() = 0;
  virtual bool ApplyAllPages() = 0;
  virtual void UpdateTitle() = 0;
  // Identification as the panels' Identify runs it; true on success.
  virtual bool IdentifyUnit(const void* requester) = 0;
  virtual void PrintPreview() = 0;

  // Runs the tasks in order in a modal progress dialog, stopping at the first that fails (tasks
  // marked always still run).
  virtual ProgressRun RunProgress(const std::vector<PageTask>& tasks, const ProgressOptions& options) = 0;
  // The connected unit as a task target.
  virtual VkiPostProcess* UnitTarget() = 0;
  // Operations of the connected unit with Stop disabled, as identification and sending run them.
  ProgressRun RunUnitTasks(const std::u16string& caption, const std::vector<ShellTask>& tasks);
};
