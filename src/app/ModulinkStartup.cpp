#include "app/ModulinkStartup.h"

#include <QTimer>
#include <clocale>

#include "app/ModulinkDlg.h"
#include "app/PageTitles.h"

ModulinkStartup::ModulinkStartup(std::string settingsPath) : app_(std::move(settingsPath)) {
  app_.SetPorts(&serial_, &tcp_);
  system_.Attach(&devices_, &app_.Settings(), [this] { return app_.CurrentPort(); });
  // The model classes read the connected unit's images and versions through this pointer.
  SetGlobalUnitImages(&system_);
}

ModulinkStartup::~ModulinkStartup() {
  // Workers post to windows that are gone by now; the ports stop theirs before the objects go.
  serial_.SetOwnerWindow(platform::kNoWindow);
  tcp_.SetOwnerWindow(platform::kNoWindow);
  serial_.Close();
  tcp_.Close();
  if (GlobalUnitImages() == &system_) SetGlobalUnitImages(nullptr);
}

int ModulinkStartup::Run(const AttachPages& attach, const Shown& shown) {
  // Numbers are written and read in the C locale whatever the user's locale is (the Qt
  // application object has set the user's locale by now).
  std::setlocale(LC_NUMERIC, "C");
  app_.InitInstance();
  devices_.RegisterPrototypes();
  tabs_.Init();
  tabs_.SelectGroup(titles::kPreferences);
  {
    ModulinkDlg dialog(tabs_, unit_);
    if (attach) attach(dialog, app_, devices_);
    if (shown) QTimer::singleShot(0, &dialog, [&dialog, &shown] { shown(dialog); });
    dialog.exec();
  }
  return app_.ExitInstance();
}
