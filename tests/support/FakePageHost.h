#pragma once
// The host of a page under test: a real application object (settings in a temporary folder), a
// real device manager with its model prototypes and a real connected unit, every message shown
// recorded, the lock kept, and progress runs recorded and run in place on the calling thread, or
// answered from a script when one is queued. Header only: suites that link the Qt libraries use it.

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/ModulinkApp.h"
#include "app/PageHost.h"
#include "app/VkcProcessLock.h"
#include "devices/VkcDeviceManager.h"
#include "link/Utf.h"
#include "link/VkiPostProcess.h"
#include "platform/Event.h"
#include "support/TestSupport.h"
#include "unit/VkcSystem.h"

namespace testsupport {

class FakePageHost : public PageHost {
 public:
  struct Run {
    std::vector<PageTask> tasks;
    ProgressOptions options;
  };

  FakePageHost() : app_(dir_.File("settings.vkc")) {
    devices_.RegisterPrototypes();
    unit_.Attach(&devices_, &app_.Settings(), [this] { return app_.CurrentPort(); });
    app_.Attach(&devices_, &unit_);
    // The model classes reach the connected unit through this pointer, as in the program.
    SetGlobalUnitImages(&unit_);
    app_.SetMessageBoxFunction([this](const std::u16string& text, unsigned) {
      messages.push_back(Utf16ToUtf8(text));
      return answer;
    });
  }
  ~FakePageHost() override {
    if (GlobalUnitImages() == &unit_) SetGlobalUnitImages(nullptr);
    app_.Attach(nullptr, nullptr);
  }

  ModulinkApp& App() override { return app_; }
  bool LockProcess(const void* owner) override { return lock.Lock(owner); }
  bool UnlockProcess(const void* owner) override { return lock.Unlock(owner); }
  bool IsProcessRunning() const override { return lock.IsHeld(); }
  void RefreshAllPages() override { ++refreshAll; }
  bool ApplyAllPages() override {
    ++applyAll;
    return applyAllResult;
  }
  void UpdateTitle() override { ++titles; }
  bool IdentifyUnit(const void*) override {
    ++identifications;
    return identifyResult;
  }
  void PrintPreview() override { ++printPreviews; }
  VkiPostProcess* UnitTarget() override { return &unit_; }

  // Scripted when results are queued; else each task runs in turn here, as the dialog's worker
  // would run them (stopping at the first failure).
  ProgressRun RunProgress(const std::vector<PageTask>& tasks, const ProgressOptions& options) override {
    runs.push_back({tasks, options});
    if (!results.empty()) {
      ProgressRun r = results.front();
      results.pop_front();
      return r;
    }
    // As the progress dialog: the first failure ends the run, tasks marked always still run.
    platform::Event stop(platform::Event::ResetMode::Manual, false);
    uint32_t failure = 0;
    for (const PageTask& task : tasks) {
      if (task.target == nullptr || (failure != 0 && !task.always)) continue;
      const uint32_t code = task.target->Process(task.operation, task.parameter, platform::kNoWindow, stop);
      if (!task.always) failure = code;
    }
    return failure != 0 ? ProgressRun{2, failure, false} : ProgressRun{1, 0, false};
  }

  VkcDeviceManager& DeviceManager() { return devices_; }
  VkcSystem& System() { return unit_; }
  std::string LastMessage() const { return messages.empty() ? std::string() : messages.back(); }

  std::vector<std::string> messages;  // UTF-8
  int answer = 1;                     // the button every message box answers (IDOK)
  VkcProcessLock lock;
  int refreshAll = 0;
  int applyAll = 0;
  bool applyAllResult = true;
  int titles = 0;
  int identifications = 0;
  bool identifyResult = true;
  int printPreviews = 0;
  std::vector<Run> runs;
  std::deque<ProgressRun> results;

 private:
  TempDir dir_;
  ModulinkApp app_;
  VkcDeviceManager devices_;
  VkcSystem unit_;
};

}  // namespace testsupport
