#include "pages/VkcPPWireless.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
using M = VkcPPWirelessModel;

QLineEdit* DigitsOnly(QLineEdit* edit) {
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), edit));
  return edit;
}

// The up/down buddy of an edit: only its arrows show; the model copies its value into the edit.
QSpinBox* Buddy(QSpinBox* spin) {
  spin->setFixedWidth(18);
  spin->setKeyboardTracking(false);
  spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  return spin;
}
}  // namespace

VkcPPWireless::VkcPPWireless() : VkcPage(132) {
  // Protocol.
  auto* protocol = new QGroupBox(QStringLiteral("Protocol"), this);
  auto* protocolGrid = new QGridLayout(protocol);
  auto* base = Named(new QRadioButton(QStringLiteral("&Base"), protocol), M::kBase);
  auto* remote = Named(new QRadioButton(QStringLiteral("&Remote"), protocol), M::kRemote);
  PageBinder::TagRadioGroup(M::kStation, {base, remote});
  protocolGrid->addWidget(base, 0, 0);
  protocolGrid->addWidget(remote, 0, 1);
  protocolGrid->addWidget(new QLabel(QStringLiteral("&List"), protocol), 1, 0);
  protocolGrid->addWidget(Named(new QComboBox(protocol), M::kProtocol), 1, 1);

  // Modulation.
  auto* modulation = new QGroupBox(QStringLiteral("Modulation"), this);
  auto* modulationRow = new QHBoxLayout(modulation);
  modulationRow->addWidget(Named(new QComboBox(modulation), M::kModulation), 1);
  modulationRow->addWidget(Named(new QLabel(QStringLiteral("Rate"), modulation), M::kRate));

  // RF channel.
  auto* channel = new QGroupBox(QStringLiteral("RF Channel"), this);
  auto* channelGrid = new QGridLayout(channel);
  auto* autoScan = Named(new QRadioButton(QStringLiteral("&Automatic Scanning"), channel), M::kAutoScan);
  auto* manual = Named(new QRadioButton(QStringLiteral("&Manual"), channel), M::kManual);
  auto* hopping = Named(new QRadioButton(QStringLiteral("Frequency &Hopping"), channel), M::kHopping);
  PageBinder::TagRadioGroup(M::kChannelMode, {autoScan, manual, hopping});
  channelGrid->addWidget(autoScan, 0, 0, 1, 2);
  channelGrid->addWidget(manual, 1, 0, 1, 2);
  channelGrid->addWidget(hopping, 2, 0, 1, 2);
  channelGrid->addWidget(Named(new QLabel(QStringLiteral("Frequency &Channel"), channel), M::kChannelLabel), 3, 0);
  // The channel list and the channel number edit share one place; one of them is shown.
  channelGrid->addWidget(Named(new QComboBox(channel), M::kChannel), 3, 1);
  channelGrid->addWidget(DigitsOnly(Named(new QLineEdit(channel), M::kChannelNumber)), 3, 1);
  channelGrid->addWidget(Named(new QLabel(QStringLiteral("Frequency &Channel Tx"), channel), M::kTxLabel), 4, 0);
  channelGrid->addWidget(Named(new QComboBox(channel), M::kTxChannel), 4, 1);
  auto* patternRow = new QHBoxLayout;
  patternRow->addWidget(DigitsOnly(Named(new QLineEdit(channel), M::kPattern)));
  patternRow->addWidget(Buddy(Named(new QSpinBox(channel), M::kPatternSpin)));
  channelGrid->addWidget(new QLabel(QStringLiteral("Pa&ttern"), channel), 5, 0);
  channelGrid->addLayout(patternRow, 5, 1);

  // RF power.
  auto* power = new QGroupBox(QStringLiteral("RF Power"), this);
  auto* powerGrid = new QGridLayout(power);
  powerGrid->addWidget(Named(new QLabel(QStringLiteral("13"), power), M::kMinLabel), 0, 0);
  powerGrid->addWidget(Named(new QSlider(Qt::Horizontal, power), M::kSlider), 0, 1);
  powerGrid->addWidget(Named(new QLabel(QStringLiteral("33"), power), M::kMaxLabel), 0, 2);
  powerGrid->addWidget(Named(new QLineEdit(power), M::kPower), 1, 1);
  powerGrid->addWidget(Named(new QComboBox(power), M::kPowerUnit), 1, 2);

  // Misc.
  auto* misc = new QGroupBox(QStringLiteral("Misc"), this);
  auto* miscGrid = new QGridLayout(misc);
  miscGrid->addWidget(Named(new QCheckBox(QStringLiteral("&Scrambling"), misc), M::kScrambling), 0, 0);
  miscGrid->addWidget(Named(new QCheckBox(QStringLiteral("F&EC"), misc), M::kFec), 0, 1);
  miscGrid->addWidget(new QLabel(QStringLiteral("&Link Id"), misc), 1, 0);
  auto* linkRow = new QHBoxLayout;
  linkRow->addWidget(DigitsOnly(Named(new QLineEdit(misc), M::kLinkId)));
  linkRow->addWidget(Buddy(Named(new QSpinBox(misc), M::kLinkIdSpin)));
  miscGrid->addLayout(linkRow, 1, 1);
  const char* headings[] = {"Repeater", "Frame msg", "Data msg", "Status msg"};
  const int boxes[] = {M::kRepeater, M::kFrameMsg, M::kDataMsg, M::kStatusMsg};
  for (int i = 0; i < 4; ++i) {
    miscGrid->addWidget(new QLabel(QString::fromUtf8(headings[i]), misc), 2, i, Qt::AlignHCenter);
    miscGrid->addWidget(Named(new QCheckBox(misc), boxes[i]), 3, i, Qt::AlignHCenter);
  }

  // Active receiver and the automatic-scan criteria.
  auto* receiverRow = new QHBoxLayout;
  receiverRow->addStretch(1);
  receiverRow->addWidget(Named(new QLabel(QStringLiteral("Active Receiver"), this), M::kReceiverLabel));
  receiverRow->addWidget(Named(new QComboBox(this), M::kReceiver));
  auto* scan = Named(new QGroupBox(QStringLiteral("Auto scanning options"), this), M::kScanGroup);
  auto* scanGrid = new QGridLayout(scan);
  scanGrid->addWidget(Named(new QLabel(QStringLiteral("Frequency scanning criterions"), scan), M::kScanFrequencyLabel), 0, 0);
  scanGrid->addWidget(Named(new QComboBox(scan), M::kScanFrequency), 0, 1);
  scanGrid->addWidget(Named(new QLabel(QStringLiteral("Signal type scanning criterions"), scan), M::kScanSignalLabel), 1, 0);
  scanGrid->addWidget(Named(new QComboBox(scan), M::kScanSignal), 1, 1);

  auto* grid = new QGridLayout(this);
  grid->addLayout(receiverRow, 0, 0, 1, 2);
  grid->addWidget(protocol, 1, 0);
  grid->addWidget(modulation, 2, 0);
  grid->addWidget(power, 3, 0);
  grid->addWidget(channel, 1, 1, 2, 1);
  grid->addWidget(misc, 3, 1);
  grid->addWidget(scan, 4, 0, 1, 2);
  grid->setRowStretch(5, 1);
  Bind();
}
