#pragma once
// A VK400 transceiver on a pseudo-terminal serving its three configuration images, optionally
// behind an MCU with a serial port and Bluetooth, and the Connection page steps the program's
// end-to-end tests share: connect at 115200 bit/s, identify from Configurations, disconnect.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "app/ModulinkDlg.h"
#include "app/VkcVerticalTabControl.h"
#include "app/VkcTopPPConfigDlg.h"
#include "link/VkcConfiguration.h"
#include "pages/VkcPPConnection.h"
#include "sim/SimCommandsReboot.h"
#include "sim/SimIdent.h"
#include "sim/SimMcu.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"
#include "sim/SimUnitControlFiles.h"
#include "support/PageWidgets.h"

namespace conntest {

struct TransceiverOptions {
  const char* callSign = nullptr;  // the dealer image's call sign, when set
  bool behindMcu = false;
};

struct SimulatedTransceiver {
  sim::SimUnit unit;
  sim::SimUnitControl control{unit};
  std::unique_ptr<sim::SimMcu> mcu;  // only behind an MCU
  std::unique_ptr<sim::SimIdent> ident;
  std::unique_ptr<sim::SimUnitControlFiles> files;

  explicit SimulatedTransceiver(const TransceiverOptions& options = {}) {
    if (options.behindMcu) mcu = std::make_unique<sim::SimMcu>(unit, sim::McuState{});
    sim::IdentOptions identity;
    identity.modelKey = "4";
    ident = std::make_unique<sim::SimIdent>(unit, identity, mcu.get());
    files = std::make_unique<sim::SimUnitControlFiles>(unit);
    VkcConfiguration factory, dealer, user;
    const uint8_t serial[6] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
    factory.GetChild(0).GetChildAt(0).SetBytes(serial, sizeof serial);
    dealer.GetChild(0).SetInt(4);
    if (options.callSign != nullptr) dealer.GetChild(1).SetString(options.callSign);
    user.GetChild(0).GetChildAt(0).SetString("IMAGE 1.2");
    user.GetChild(1).GetChildAt(0).SetBytes(serial, sizeof serial);
    files->SetSection(0, sim::SimUnitControlFiles::Archive(factory));
    files->SetSection(1, sim::SimUnitControlFiles::Archive(dealer));
    files->SetSection(2, sim::SimUnitControlFiles::Archive(user));
    sim::RebootOptions reboot;
    reboot.bannerDelayMs = 3000;  // the program listens for the banner only after its settle pause
    sim::InstallReboot(unit, reboot);
  }
  ~SimulatedTransceiver() { files->StopTransfer(); }
};

// Connects the Connection page's current port at 115200 bit/s and waits for "Connected.".
inline void ConnectAt115200(VkcPPConnection* connection) {
  using testsupport::Control;
  auto* rate = Control<QComboBox>(connection, 1018);
  rate->setCurrentIndex(rate->findText(QStringLiteral("115200")));
  emit rate->activated(rate->currentIndex());
  Control<QPushButton>(connection, 1131)->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Control<QLabel>(connection, 1226)->text() == "Connected."; }, 5000));
}

// Shows the Configurations group and runs its Identify; the group's panel, or null.
inline VkcTopPPConfigDlg* IdentifyFromConfigurations(ModulinkDlg& dialog) {
  dialog.GroupStrip()->setCurrentIndex(dialog.GroupStrip()->FindTab(QStringLiteral("Configurations")));
  auto* panel = qobject_cast<VkcTopPPConfigDlg*>(dialog.CurrentPanel());
  if (panel == nullptr) {
    ADD_FAILURE() << "no Configurations panel";
    return nullptr;
  }
  panel->IdentifyButton()->click();
  return panel;
}

// Back on Preferences: disconnects, waits for "Ready to connect." and closes the dialog.
inline void DisconnectAndClose(ModulinkDlg& dialog, VkcPPConnection* connection) {
  using testsupport::Control;
  dialog.GroupStrip()->setCurrentIndex(dialog.GroupStrip()->FindTab(QStringLiteral("Preferences")));
  Control<QPushButton>(connection, 1131)->click();
  EXPECT_TRUE(QTest::qWaitFor([&] { return Control<QLabel>(connection, 1226)->text() == "Ready to connect."; }, 5000));
  dialog.reject();
}

}  // namespace conntest
