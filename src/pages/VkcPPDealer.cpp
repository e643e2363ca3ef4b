#include "pages/VkcPPDealer.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/VkcConfigFileDialogs.h"
#include "app/VkcMultiEdit.h"

VkcPPDealer::VkcPPDealer() : VkcPage(136) {
  using M = VkcPPDealerModel;
  auto* spacingLabel = new QLabel(QStringLiteral("&Channel Spacing"), this);
  auto* spacing = Named(new QComboBox(this), M::kSpacing);
  spacingLabel->setBuddy(spacing);

  auto* power = new QGroupBox(QStringLiteral("Maximum allowable RF P&ower"), this);
  auto* powerGrid = new QGridLayout(power);
  auto* slider = Named(new QSlider(Qt::Horizontal, power), M::kSlider);
  slider->setTickPosition(QSlider::TicksBelow);
  powerGrid->addWidget(slider, 0, 0, 1, 3);
  powerGrid->addWidget(Named(new QLabel(QStringLiteral("13"), power), M::kMinLabel), 1, 0);
  powerGrid->addWidget(Named(new QLabel(QStringLiteral("33"), power), M::kMaxLabel), 1, 2, Qt::AlignRight);
  auto* edit = Named(new QLineEdit(power), M::kPower);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d*")), edit));
  powerGrid->addWidget(edit, 2, 0);
  powerGrid->addWidget(Named(new QComboBox(power), M::kUnit), 2, 1);

  auto* mapLabel = new QLabel(QStringLiteral("Channel &map"), this);
  auto* map = Named(new QTreeWidget(this), M::kMap);
  map->setRootIsDecorated(false);
  map->setSelectionMode(QAbstractItemView::SingleSelection);
  map->setSelectionBehavior(QAbstractItemView::SelectRows);
  map->header()->setStretchLastSection(true);
  map->setColumnWidth(0, 35);
  mapLabel->setBuddy(map);
  auto* frequency = Named(new VkcMultiEdit(this), M::kFrequency);
  frequency->SetCharSet({3, 3});
  frequency->SetTemplate(u",");
  frequency->SetLeftFill(false);
  frequency->SetMaxLength(9);

  auto* buttons = new QVBoxLayout;
  const auto button = [&](const QString& text, int id) {
    auto* b = Named(new QPushButton(text, this), id);
    buttons->addWidget(b);
    return b;
  };
  button(QStringLiteral("Add"), M::kAdd);
  button(QStringLiteral("Change"), M::kChange);
  button(QStringLiteral("Remove"), M::kRemove);
  button(QStringLiteral("Up"), M::kUp)->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
  button(QStringLiteral("Dn"), M::kDown)->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
  button(QStringLiteral("Import"), M::kImport);
  buttons->addStretch(1);

  auto* grid = new QGridLayout(this);
  grid->addWidget(spacingLabel, 0, 0);
  grid->addWidget(spacing, 0, 1);
  grid->addWidget(power, 1, 0, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Select a channel to change or remove"), this), 0, 2);
  grid->addWidget(mapLabel, 1, 2, Qt::AlignTop);
  auto* mapColumn = new QVBoxLayout;
  mapColumn->addWidget(map, 1);
  mapColumn->addWidget(frequency);
  grid->addLayout(mapColumn, 2, 2);
  grid->addLayout(buttons, 2, 3);
  grid->setRowStretch(2, 1);
  MakeNonDefault(this);

  GetModel().SetImportChooser([this](const std::u16string& initial) {
    auto dialog = VkcConfigFileDialogs::MakeOpenDialog(this, QString::fromStdU16String(initial), false);
    return VkcConfigFileDialogs::Run(*dialog).toStdU16String();
  });
  Bind();
}
