#include "app/ModulinkStartup.h"

#include <QTimer>
#include <clocale>

#include "app/ModulinkDlg.h"
#include "app/PageTitles.h"
#include "app/VkcProgressDialog.h"
#include "app/VkcSystemMenu.h"
#include "devices/VkcDeviceUHFSSRX_UHF.h"
#include "devices/VkcFrequencyCalculator.h"
#include "link/VkcMessageIds.h"

#include <QApplication>
#include <QThread>

namespace {
// The synthesizer search takes a while: on the user-interface thread it runs as the task of a
// modal progress dialog; a worker runs it in place.
bool RunSynthSearch(VkcFrequencyCalculator& calculator) {
  if (!qApp || QThread::currentThread() != qApp->thread()) {
    platform::Event stop(platform::Event::ResetMode::Manual, false);
    return calculator.Process(0, 0, platform::kNoWindow, stop) == 0;
  }
  VkcProgressDialog dialog(QApplication::activeWindow(), false);
  dialog.SetTask(&calculator, 0, 0);
  dialog.SetCaption(QString::fromStdString(VkcFrequencyCalculator::Caption(calculator.GetTargetFrequency())));
  return dialog.exec() == kModalOk;
}
}  // namespace

ModulinkStartup::ModulinkStartup(std::string settingsPath) : app_(std::move(settingsPath)) {
  app_.SetPorts(&serial_, &tcp_);
  app_.Attach(&devices_, &system_, &tabs_);
  system_.Attach(&devices_, &app_.Settings(), [this] { return app_.CurrentPort(); });
  // The model classes read the connected unit's images and versions through this pointer.
  SetGlobalUnitImages(&system_);
  VkcFrequencyCalculator::SetRunner(RunSynthSearch);
  VkcDeviceUHFSSRX_UHF::SetUnitAccess({[this] { return app_.CurrentPort(); },
                                       [this] { return system_.SwitchToCommandMode(false); }});
}

ModulinkStartup::~ModulinkStartup() {
  // Workers post to windows that are gone by now; the ports stop theirs before the objects go.
  serial_.SetOwnerWindow(platform::kNoWindow);
  tcp_.SetOwnerWindow(platform::kNoWindow);
  serial_.Close();
  tcp_.Close();
  if (GlobalUnitImages() == &system_) SetGlobalUnitImages(nullptr);
  VkcFrequencyCalculator::SetRunner(nullptr);
  VkcDeviceUHFSSRX_UHF::SetUnitAccess({});
  app_.Attach(nullptr, nullptr, nullptr);
}

void ModulinkStartup::Start() {
  // Numbers are written and read in the C locale whatever the user's locale is (the Qt
  // application object has set the user's locale by now).
  std::setlocale(LC_NUMERIC, "C");
  app_.InitInstance();
  devices_.RegisterPrototypes();
  tabs_.Init();
  tabs_.SelectGroup(titles::kPreferences);
}

int ModulinkStartup::Run(const AttachPages& attach, const Shown& shown) {
  Start();
  {
    ModulinkDlg dialog(tabs_, unit_);
    InstallSystemCommands(dialog, app_);
    if (attach) attach(dialog, app_, devices_);
    if (shown) QTimer::singleShot(0, &dialog, [&dialog, &shown] { shown(dialog); });
    dialog.exec();
  }
  return app_.ExitInstance();
}
