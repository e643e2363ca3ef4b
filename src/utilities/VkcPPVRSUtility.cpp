#include "utilities/VkcPPVRSUtility.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "link/VkcMessageIds.h"
#include "platform/qt/WindowMessages.h"

VkcPPVRSUtility::VkcPPVRSUtility() : VkcPage(VkcPPVRSUtilityModel::kTemplate) {
  using M = VkcPPVRSUtilityModel;
  auto* form = new QFormLayout();
  form->addRow(QStringLiteral("Active RTN service"), Named(new QComboBox(this), M::kService));
  form->addRow(QStringLiteral("Host name"), Named(new QLineEdit(this), M::kHost));
  auto* port = Named(new QLineEdit(this), M::kPort);
  port->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), port));
  form->addRow(QStringLiteral("Host port"), port);
  form->addRow(QStringLiteral("Login"), Named(new QLineEdit(this), M::kLogin));
  form->addRow(QStringLiteral("Password"), Named(new QLineEdit(this), M::kPassword));
  form->addRow(QStringLiteral("Mount point"), Named(new QLineEdit(this), M::kMountPoint));
  form->addRow(QStringLiteral("NMEA"), Named(new QLineEdit(this), M::kNmea));
  form->addRow(QStringLiteral("Routing Type"), Named(new QComboBox(this), M::kRouting));

  auto* status = new QGroupBox(QStringLiteral("Status"), this);
  auto* statusForm = new QFormLayout(status);
  statusForm->addRow(QStringLiteral("GSM module RSSI"), Named(new QLineEdit(status), M::kRssi));
  statusForm->addRow(QStringLiteral("State"), Named(new QLineEdit(status), M::kState));
  statusForm->addRow(QStringLiteral("Error"), Named(new QLineEdit(status), M::kError));

  auto* buttons = new QHBoxLayout();
  buttons->addWidget(Named(new QPushButton(QStringLiteral("Connect"), this), M::kConnect));
  buttons->addWidget(Named(new QCheckBox(QStringLiteral("Monitor"), this), M::kMonitor));
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(status);
  layout->addLayout(buttons);
  layout->addStretch(1);
  MakeNonDefault(this);

  messages_ = std::make_unique<platform::qt::WindowMessages>(
      [this](uint32_t msg, intptr_t wParam, intptr_t lParam) {
        if (msg != kMsgRtnUtility) return;
        GetModel().OnUtilityMessage(wParam, lParam);
        UpdateControls();
      },
      this);
  GetModel().SetWindow(messages_->Handle());
  Bind();
}

VkcPPVRSUtility::~VkcPPVRSUtility() = default;

platform::WindowHandle VkcPPVRSUtility::Handle() const { return messages_->Handle(); }
