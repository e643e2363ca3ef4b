#include "pages/ModulinkPages.h"

#include "app/ModulinkDlg.h"
#include "app/PageTitles.h"
#include "pages/VkcPPConnection.h"

void AttachPages(ModulinkDlg& dialog, ModulinkApp& app, VkcDeviceManager& devices) {
  auto* connection = new VkcPPConnection(app, devices);
  dialog.AddPage(titles::kPreferences, titles::kConnection, connection);
  dialog.SetConnectionControl(&connection->Model());
}
