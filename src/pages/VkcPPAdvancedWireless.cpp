#include "pages/VkcPPAdvancedWireless.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QValidator>
#include <QVBoxLayout>

namespace {
using M = VkcPPAdvancedWirelessModel;

QLineEdit* DigitsOnly(QLineEdit* edit) {
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), edit));
  return edit;
}

// Letters typed into the call sign arrive in upper case (the check on leaving does the rest).
class UpperCase : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    input = input.toUpper();
    return Acceptable;
  }
};
}  // namespace

VkcPPAdvancedWireless::VkcPPAdvancedWireless() : VkcPage(1009) {
  auto* ptp = new QGroupBox(QStringLiteral("PTP options"), this);
  auto* ptpGrid = new QGridLayout(ptp);
  ptpGrid->addWidget(Named(new QCheckBox(QStringLiteral("Loop back"), ptp), M::kLoopBack), 0, 0, 1, 2);
  ptpGrid->addWidget(Named(new QLabel(QStringLiteral("Tx start delay (ms)"), ptp), M::kDelayLabel), 1, 0);
  ptpGrid->addWidget(DigitsOnly(Named(new QLineEdit(ptp), M::kDelay)), 1, 1);

  auto* antenna = new QGroupBox(QStringLiteral("Antenna"), this);
  auto* antennaGrid = new QGridLayout(antenna);
  antennaGrid->addWidget(Named(new QCheckBox(QStringLiteral("Power"), antenna), M::kAntennaPower), 0, 0, 1, 2);
  antennaGrid->addWidget(Named(new QLabel(QStringLiteral("Beacon antenna connector"), antenna), M::kConnectorLabel), 1, 0);
  antennaGrid->addWidget(Named(new QComboBox(antenna), M::kConnector), 1, 1);
  antennaGrid->addWidget(Named(new QLabel(QStringLiteral("Antenna Detection"), antenna), M::kDetectionLabel), 2, 0);
  antennaGrid->addWidget(Named(new QComboBox(antenna), M::kDetection), 2, 1);

  auto* sensitivity = new QGroupBox(QStringLiteral("Sensitivity"), this);
  (new QVBoxLayout(sensitivity))->addWidget(Named(new QComboBox(sensitivity), M::kSensitivity));

  auto* reset = new QGroupBox(QStringLiteral("Synchronization reset time"), this);
  auto* resetGrid = new QGridLayout(reset);
  auto* resetDefault = Named(new QRadioButton(QStringLiteral("Default ( 4 seconds )"), reset), M::kResetDefault);
  auto* resetNone = Named(new QRadioButton(QStringLiteral("No Reset"), reset), M::kResetNone);
  auto* resetCustom = Named(new QRadioButton(QStringLiteral("Custom"), reset), M::kResetCustom);
  PageBinder::TagRadioGroup(M::kResetMode, {resetDefault, resetNone, resetCustom});
  resetGrid->addWidget(resetDefault, 0, 0, 1, 3);
  resetGrid->addWidget(resetNone, 1, 0, 1, 3);
  resetGrid->addWidget(resetCustom, 2, 0);
  resetGrid->addWidget(DigitsOnly(Named(new QLineEdit(reset), M::kSeconds)), 2, 1);
  resetGrid->addWidget(Named(new QLabel(QStringLiteral("seconds"), reset), M::kSecondsLabel), 2, 2);

  auto* callSignRow = new QHBoxLayout;
  callSignRow->addWidget(new QLabel(QStringLiteral("Call Sign"), this));
  auto* callSign = Named(new QLineEdit(this), M::kCallSign);
  callSign->setValidator(new UpperCase(callSign));
  callSignRow->addWidget(callSign, 1);

  auto* mode = new QGroupBox(QStringLiteral("Transceiver mode"), this);
  auto* modeRow = new QHBoxLayout(mode);
  auto* transceiver = Named(new QRadioButton(QStringLiteral("Transceiver"), mode), M::kTransceiver);
  auto* rxOnly = Named(new QRadioButton(QStringLiteral("Rx Only"), mode), M::kRxOnly);
  auto* txOnly = Named(new QRadioButton(QStringLiteral("Tx Only"), mode), M::kTxOnly);
  PageBinder::TagRadioGroup(M::kTransceiverMode, {transceiver, rxOnly, txOnly});
  for (QRadioButton* button : {transceiver, rxOnly, txOnly}) modeRow->addWidget(button);

  auto* grid = new QGridLayout(this);
  grid->addWidget(ptp, 0, 0);
  grid->addWidget(antenna, 0, 1);
  grid->addWidget(sensitivity, 1, 0);
  grid->addWidget(reset, 1, 1);
  grid->addLayout(callSignRow, 2, 0);
  grid->addWidget(mode, 2, 1);
  grid->setRowStretch(3, 1);
  Bind();
}
