#include "pages/VkcPPRTNServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

VkcPPRTNServices::VkcPPRTNServices() : VkcPage(VkcPPRTNServicesModel::kTemplate) {
  using M = VkcPPRTNServicesModel;
  auto* form = new QFormLayout();
  form->addRow(QStringLiteral("Active RTN service"), Named(new QComboBox(this), M::kService));
  form->addRow(QString(), Named(new QCheckBox(QStringLiteral("Autorun"), this), M::kAutorun));
  form->addRow(QStringLiteral("Host name"), Named(new QLineEdit(this), M::kHost));
  auto* port = Named(new QLineEdit(this), M::kPort);
  port->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), port));
  form->addRow(QStringLiteral("Host port"), port);
  form->addRow(QStringLiteral("Login"), Named(new QLineEdit(this), M::kLogin));
  form->addRow(QStringLiteral("Password"), Named(new QLineEdit(this), M::kPassword));
  form->addRow(QStringLiteral("Mount point"), Named(new QLineEdit(this), M::kMountPoint));
  form->addRow(QStringLiteral("NMEA"), Named(new QLineEdit(this), M::kNmea));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addStretch(1);
  MakeNonDefault(this);
  Bind();
}
