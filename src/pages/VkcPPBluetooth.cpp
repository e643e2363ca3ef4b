#include "pages/VkcPPBluetooth.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/VkcMultiEdit.h"

VkcPPBluetooth::VkcPPBluetooth() : VkcPage(1004) {
  using M = VkcPPBluetoothModel;
  auto* top = new QFormLayout;
  top->addRow(QStringLiteral("Device address"), Named(new QLineEdit(this), M::kOwnAddress));
  auto* box = new QGroupBox(QStringLiteral("Device settings"), this);
  auto* form = new QFormLayout(box);
  form->addRow(QStringLiteral("State"), Named(new QComboBox(box), M::kState));
  form->addRow(QStringLiteral("Pin code (8 chars max)"), Named(new QLineEdit(box), M::kPin));
  form->addRow(QStringLiteral("Mode"), Named(new QComboBox(box), M::kMode));
  form->addRow(QString(), Named(new QCheckBox(QStringLiteral("Discoverable Slave"), box), M::kDiscoverable));
  auto* destination = Named(new VkcMultiEdit(box), M::kDestination);
  destination->SetCharSet({2, 2, 2, 2, 2, 2});
  destination->SetTemplate(u":");
  destination->SetLeftFill(false);
  destination->SetMaxLength(12);
  form->addRow(QStringLiteral("Destination address"), destination);
  form->addRow(QStringLiteral("Name (14 chars max)"), Named(new QLineEdit(box), M::kName));
  auto* warning = Named(new QLabel(this), M::kWarning);
  warning->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(box);
  layout->addWidget(warning);
  layout->addStretch(1);
  Bind();
}
