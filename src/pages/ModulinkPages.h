#pragma once
// Builds the pages that exist and attaches them to the main dialog under their groups.

class ModulinkApp;
class ModulinkDlg;
class VkcDeviceManager;

void AttachPages(ModulinkDlg& dialog, ModulinkApp& app, VkcDeviceManager& devices);
