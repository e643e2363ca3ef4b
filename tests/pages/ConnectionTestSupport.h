#pragma once
// Shared pieces of the Connection page tests: a settings file in a temporary folder, a message
// recorder, a port list that names the simulated unit's pseudo-terminal, and a host that keeps
// the lock and answers progress runs from a script.

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/ModulinkApp.h"
#include "app/PageHost.h"
#include "app/VkcProcessLock.h"
#include "link/EnumSerialPorts.h"
#include "support/TestSupport.h"

namespace conntest {

struct FixedPorts : PortListSource {
  std::vector<PortInfo> ports;
  std::vector<PortInfo> List() override { return ports; }
};

inline PortInfo Port(const std::u16string& path, const std::u16string& friendly) {
  PortInfo p;
  p.devicePath = path;
  p.portName = path.substr(path.rfind(u'/') + 1);
  p.friendlyName = friendly + u" (" + p.portName + u")";
  p.displayName = friendly;
  return p;
}

struct ScopedPorts {
  std::shared_ptr<FixedPorts> source = std::make_shared<FixedPorts>();
  explicit ScopedPorts(std::vector<PortInfo> ports) {
    source->ports = std::move(ports);
    SetPortListSource(source);
  }
  ~ScopedPorts() { SetPortListSource(nullptr); }
};

struct Messages {
  std::vector<std::u16string> shown;
  ModulinkApp::MessageBoxFunction Function() {
    return [this](const std::u16string& text, unsigned) {
      shown.push_back(text);
      return 1;
    };
  }
  std::string Last() const;
};

struct FakeHost : PageHost {
  VkcProcessLock lock;
  int refreshAll = 0;
  int titles = 0;
  std::vector<std::pair<std::u16string, std::vector<ShellTask>>> runs;
  std::deque<ProgressRun> results;

  ModulinkApp& App() override { return *ModulinkApp::Instance(); }
  bool LockProcess(const void* owner) override { return lock.Lock(owner); }
  bool UnlockProcess(const void* owner) override { return lock.Unlock(owner); }
  bool IsProcessRunning() const override { return lock.IsHeld(); }
  void RefreshAllPages() override { ++refreshAll; }
  bool ApplyAllPages() override { return true; }
  void UpdateTitle() override { ++titles; }
  bool IdentifyUnit(const void*) override { return true; }
  void PrintPreview() override {}
  VkiPostProcess* UnitTarget() override { return nullptr; }
  ProgressRun RunProgress(const std::vector<PageTask>& tasks, const ProgressOptions& options) override {
    std::vector<ShellTask> steps;
    for (const PageTask& task : tasks) steps.push_back({task.operation, task.parameter});
    runs.emplace_back(options.caption, steps);
    if (results.empty()) return {1, 0};
    ProgressRun r = results.front();
    results.pop_front();
    return r;
  }
};

}  // namespace conntest
