#include "app/VkcTopPPUtilsDlg.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "app/ModulinkDlg.h"

VkcTopPPUtilsDlg::VkcTopPPUtilsDlg(QWidget* parent) : VkcTopPPSubDialog(1003, parent) {
  auto* layout = new QHBoxLayout(this);
  identify_ = new QPushButton(QStringLiteral("Identify"), this);
  identify_->setObjectName(QStringLiteral("ctl%1").arg(kIdIdentify));
  layout->addWidget(identify_);
  layout->addStretch(1);
  MakeNonDefault(this);
  connect(identify_, &QPushButton::clicked, this, &VkcTopPPUtilsDlg::OnIdentify);
}

void VkcTopPPUtilsDlg::OnIdentify() {
  if (ModulinkDlg* host = GetHostDialog()) host->IdentifyUnit(this);
}
