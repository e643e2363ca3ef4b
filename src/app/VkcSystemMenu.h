#pragma once
// The main dialog's system-menu commands: the About box, the error-message window and a new
// terminal window.

class ModulinkApp;
class ModulinkDlg;

void InstallSystemCommands(ModulinkDlg& dialog, ModulinkApp& app);
