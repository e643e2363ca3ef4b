#include "app/VkcTopPPConfigDlg.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QPushButton>

#include "app/ModulinkDlg.h"
#include "app/ShellUnit.h"
#include "app/VkcConfigFileDialogs.h"
#include "devices/VkcDeviceManager.h"
#include "unit/VkcConfigFile.h"
#include "unit/VkcSystem.h"

namespace {

QPushButton* AddButton(QWidget* panel, QHBoxLayout* layout, const QString& text, int id) {
  auto* button = new QPushButton(text, panel);
  button->setObjectName(QStringLiteral("ctl%1").arg(id));
  layout->addWidget(button);
  return button;
}

}  // namespace

VkcTopPPConfigDlg::VkcTopPPConfigDlg(QWidget* parent) : VkcTopPPSubDialog(131, parent) {
  auto* layout = new QHBoxLayout(this);
  identify_ = AddButton(this, layout, QStringLiteral("Identify"), kIdIdentify);
  send_ = AddButton(this, layout, QStringLiteral("Send settings to radio"), kIdSendToRadio);
  send_->setEnabled(false);
  save_ = AddButton(this, layout, QStringLiteral("Save settings to file "), kIdSaveToFile);
  load_ = AddButton(this, layout, QStringLiteral("Load settings from file"), kIdLoadFromFile);
  print_ = AddButton(this, layout, QStringLiteral("Print Config."), kIdPrint);
  print_->setEnabled(false);
  layout->addStretch(1);
  MakeNonDefault(this);
  connect(identify_, &QPushButton::clicked, this, &VkcTopPPConfigDlg::OnIdentify);
  connect(send_, &QPushButton::clicked, this, &VkcTopPPConfigDlg::OnSendToRadio);
  connect(save_, &QPushButton::clicked, this, &VkcTopPPConfigDlg::OnSaveToFile);
  connect(load_, &QPushButton::clicked, this, &VkcTopPPConfigDlg::OnLoadFromFile);
  connect(print_, &QPushButton::clicked, this, &VkcTopPPConfigDlg::OnPrint);
}

void VkcTopPPConfigDlg::RefreshPage() {
  ModulinkDlg* host = GetHostDialog();
  const bool unit = host != nullptr && host->Unit().CurrentProductId() > 0;
  send_->setEnabled(unit);
  print_->setEnabled(unit);
}

void VkcTopPPConfigDlg::OnPrint() {
  ModulinkDlg* host = GetHostDialog();
  if (host == nullptr) return;
  host->ApplyAllPages();
  host->PrintPreview();
}

void VkcTopPPConfigDlg::OnIdentify() {
  if (ModulinkDlg* host = GetHostDialog()) host->IdentifyUnit(this);
  RefreshPage();
}

void VkcTopPPConfigDlg::OnSendToRadio() {
  if (ModulinkDlg* host = GetHostDialog()) host->SendToRadio(this);
}

void VkcTopPPConfigDlg::OnSaveToFile() {
  ModulinkDlg* host = GetHostDialog();
  if (host == nullptr || host->Unit().System() == nullptr || host->Unit().Devices() == nullptr) return;
  ShellUnit& unit = host->Unit();
  auto dialog = VkcConfigFileDialogs::MakeSaveDialog(this, QString::fromStdU16String(unit.ProfileFileName()));
  const QString path = VkcConfigFileDialogs::Run(*dialog);
  if (path.isEmpty()) return;
  unit.SetProfileFileName(path.toStdU16String());
  host->ApplyAllPages();  // a refusing page has said why; the file holds what the images hold
  std::string message;
  if (!VkcConfigFile::Save(path.toStdString(), *unit.System(), unit.Devices()->GetMCUController(), message)) {
    unit.ShowMessage(message, 0, false);
  }
}

void VkcTopPPConfigDlg::OnLoadFromFile() {
  ModulinkDlg* host = GetHostDialog();
  if (host == nullptr || host->Unit().System() == nullptr || host->Unit().Devices() == nullptr) return;
  ShellUnit& unit = host->Unit();
  auto dialog = VkcConfigFileDialogs::MakeOpenDialog(this, QString::fromStdU16String(unit.ProfileFileName()),
                                                     unit.System()->GetProductId() > 0);
  const QString path = VkcConfigFileDialogs::Run(*dialog);
  if (path.isEmpty()) return;
  unit.SetProfileFileName(path.toStdU16String());
  std::string message;
  switch (VkcConfigFile::Load(path.toStdString(), *unit.System(), *unit.Devices(), message)) {
    case VkcConfigFile::Loaded::kNothing:
      unit.ShowMessage(message, 0, false);
      break;
    case VkcConfigFile::Loaded::kConfiguration:
      host->RefreshAllPages();
      break;
    case VkcConfigFile::Loaded::kFactory:
      break;  // the pages show nothing of the factory image
  }
}
