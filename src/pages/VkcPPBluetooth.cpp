#include "pages/VkcPPBluetooth.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
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
  // The length hints stand next to their edits, as separate texts.
  const auto limited = [box](QLineEdit* edit, const char* hint) {
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(new QLabel(QString::fromUtf8(hint), box));
    return row;
  };
  form->addRow(QStringLiteral("Pin code"), limited(Named(new QLineEdit(box), M::kPin), "(8 chars max)"));
  form->addRow(QStringLiteral("Mode"), Named(new QComboBox(box), M::kMode));
  form->addRow(QString(), Named(new QCheckBox(QStringLiteral("Discoverable Slave"), box), M::kDiscoverable));
  auto* destination = Named(new VkcMultiEdit(box), M::kDestination);
  destination->SetCharSet({2, 2, 2, 2, 2, 2});
  destination->SetTemplate(u":");
  destination->SetLeftFill(false);
  destination->SetMaxLength(12);
  form->addRow(QStringLiteral("Destination address"), destination);
  form->addRow(QStringLiteral("Name"), limited(Named(new QLineEdit(box), M::kName), "(14 chars max)"));
  auto* warning = Named(new QLabel(this), M::kWarning);
  warning->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(box);
  layout->addWidget(warning);
  layout->addStretch(1);
  Bind();
}
