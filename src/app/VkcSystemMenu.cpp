#include "app/VkcSystemMenu.h"

#include "app/CAboutDlg.h"
#include "app/ModulinkDlg.h"
#include "app/VkcErrorMessages.h"
#include "app/VkcTerminalWnd.h"
#include "link/VkcErrorProcessor.h"

void InstallSystemCommands(ModulinkDlg& dialog, ModulinkApp& app) {
  dialog.AddSystemCommand(ModulinkDlg::kCmdAbout, QStringLiteral("&About Modulink..."), [&dialog] {
    CAboutDlg about(&dialog);
    about.exec();
  });
  dialog.AddSystemCommand(ModulinkDlg::kCmdErrorMessages, QStringLiteral("&Error Messages..."), [&dialog] {
    VkcErrorMessages messages(ErrorLog(), &dialog);
    messages.exec();
  });
  dialog.AddSystemCommand(ModulinkDlg::kCmdTerminal, QStringLiteral("&Terminal Window"),
                          [&dialog, &app] { VkcTerminalWnd::Open(app, &dialog); });
}
