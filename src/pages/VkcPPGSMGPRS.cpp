#include "pages/VkcPPGSMGPRS.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

VkcPPGSMGPRS::VkcPPGSMGPRS() : VkcPage(VkcPPGSMGPRSModel::kTemplate) {
  using M = VkcPPGSMGPRSModel;
  auto* form = new QFormLayout();
  form->addRow(QStringLiteral("Frequency Band"), Named(new QComboBox(this), M::kBand));
  form->addRow(QStringLiteral("Pin code"), Named(new QLineEdit(this), M::kPinCode));
  form->addRow(QStringLiteral("Access Point Name"), Named(new QLineEdit(this), M::kApn));
  form->addRow(QStringLiteral("Login"), Named(new QLineEdit(this), M::kLogin));
  form->addRow(QStringLiteral("Password"), Named(new QLineEdit(this), M::kPassword));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addStretch(1);
  MakeNonDefault(this);
  Bind();
}
