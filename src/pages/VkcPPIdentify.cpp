#include "pages/VkcPPIdentify.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/VkcMultiEdit.h"

VkcMultiEdit* VkcPPIdentify::MakeUnitIdEdit(QWidget* parent) {
  auto* edit = new VkcMultiEdit(parent);
  edit->SetCharSet({2, 2, 2, 2, 2, 2});
  edit->SetTemplate(u"-");
  edit->SetMaxLength(12);
  return edit;
}

VkcPPIdentify::VkcPPIdentify() : VkcPage(129) {
  using M = VkcPPIdentifyModel;
  auto* form = new QFormLayout;
  auto add = [&](const char* label, QWidget* field) {
    auto* text = new QLabel(QString::fromUtf8(label), this);
    text->setBuddy(field);
    form->addRow(text, field);
    return text;
  };
  add("&Unit Type", Named(new QLineEdit(this), M::kUnitType));
  add("Unit &Name", Named(new QLineEdit(this), M::kUnitName));
  add("&Owner", Named(new QLineEdit(this), M::kOwner));
  add("&Serial Number", Named(MakeUnitIdEdit(this), M::kSerialNumber));
  add("&Firmware version", Named(new QLineEdit(this), M::kFirmware));
  add("&Bootloader Version", Named(new QLineEdit(this), M::kBootloader));
  add("&Hardware Version", Named(new QLineEdit(this), M::kHardware));
  Named(add("APS-3 Serial Number", Named(MakeUnitIdEdit(this), M::kAddress)), M::kAddressLabel);
  form->setRowWrapPolicy(QFormLayout::DontWrapRows);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addStretch(1);
  MakeNonDefault(this);
  Bind();
  UpdateControls();
}
