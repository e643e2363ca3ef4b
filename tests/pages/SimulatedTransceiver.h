#pragma once
// A VK400 transceiver on a pseudo-terminal serving its three configuration images, optionally
// behind an MCU with a serial port and Bluetooth, and the Connection page steps the program's
// end-to-end tests share: connect at 115200 bit/s, identify from Configurations, disconnect.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "app/ModulinkDlg.h"
#include "app/VkcVerticalTabControl.h"
#include "app/VkcTopPPConfigDlg.h"
#include "pages/VkcPPConnection.h"
#include "sim/SimTransceiver.h"
#include "support/PageWidgets.h"

namespace conntest {

using TransceiverOptions = sim::TransceiverOptions;
using SimulatedTransceiver = sim::SimTransceiver;

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
