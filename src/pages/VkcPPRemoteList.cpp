#include "pages/VkcPPRemoteList.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/VkcMultiEdit.h"
#include "pages/VkcPPIdentify.h"

VkcPPRemoteList::VkcPPRemoteList() : VkcPage(155) {
  using M = VkcPPRemoteListModel;
  auto* group = new QGroupBox(QStringLiteral("Serial Numbers"), this);
  auto* form = new QFormLayout(group);
  for (int i = 0; i < M::kRemoteCount; ++i) {
    auto* edit = Named(VkcPPIdentify::MakeUnitIdEdit(group), M::kRemote1 + i);
    edit->SetWindowText(u"000000000000");
    form->addRow(new QLabel(QStringLiteral("Remote%1").arg(i + 1), group), edit);
  }
  auto* apply = Named(new QPushButton(QStringLiteral("Apply"), this), M::kApply);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(apply, 0, Qt::AlignLeft);
  layout->addStretch(1);
  MakeNonDefault(this);
  Bind();
  UpdateControls();
}
