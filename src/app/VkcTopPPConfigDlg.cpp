#include "app/VkcTopPPConfigDlg.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "app/ModulinkDlg.h"
#include "app/ShellUnit.h"

VkcTopPPConfigDlg::VkcTopPPConfigDlg(QWidget* parent) : VkcTopPPSubDialog(131, parent) {
  auto* layout = new QHBoxLayout(this);
  identify_ = new QPushButton(QStringLiteral("Identify"), this);
  identify_->setObjectName(QStringLiteral("ctl%1").arg(kIdIdentify));
  send_ = new QPushButton(QStringLiteral("Send settings to radio"), this);
  send_->setObjectName(QStringLiteral("ctl%1").arg(kIdSendToRadio));
  send_->setEnabled(false);
  layout->addWidget(identify_);
  layout->addWidget(send_);
  layout->addStretch(1);
  MakeNonDefault(this);
  connect(identify_, &QPushButton::clicked, this, &VkcTopPPConfigDlg::OnIdentify);
  connect(send_, &QPushButton::clicked, this, &VkcTopPPConfigDlg::OnSendToRadio);
}

void VkcTopPPConfigDlg::RefreshPage() {
  ModulinkDlg* host = GetHostDialog();
  send_->setEnabled(host != nullptr && host->Unit().CurrentProductId() > 0);
}

void VkcTopPPConfigDlg::OnIdentify() {
  if (ModulinkDlg* host = GetHostDialog()) host->IdentifyUnit(this);
  RefreshPage();
}

void VkcTopPPConfigDlg::OnSendToRadio() {
  if (ModulinkDlg* host = GetHostDialog()) host->SendToRadio(this);
}
