#include "app/PageHost.h"

#include "app/ModulinkApp.h"

VkcConfiguration& PageHost::Settings() { return App().Settings(); }

VkcDeviceManager& PageHost::Devices() { return App().Devices(); }

VkcSystem& PageHost::Unit() { return App().System(); }

int PageHost::ShowMessage(std::string_view text, unsigned flags, bool hint) {
  return App().ShowMessage(text, flags, hint);
}

int PageHost::ShowMessage(const std::u16string& text, unsigned flags, bool hint) {
  return App().ShowMessage(text, flags, hint);
}

ProgressRun PageHost::RunUnitTasks(const std::u16string& caption, const std::vector<ShellTask>& tasks) {
  std::vector<PageTask> steps;
  VkiPostProcess* unit = UnitTarget();
  for (const ShellTask& task : tasks)
    steps.push_back({task.target != nullptr ? task.target : unit, task.operation, task.parameter, task.always});
  return RunProgress(steps, {caption, false, true});
}
