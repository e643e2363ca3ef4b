#include "utilities/VkcPPLBState.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/VkcMessageIds.h"
#include "platform/qt/WindowMessages.h"

VkcPPLBState::VkcPPLBState() : VkcPage(VkcPPLBStateModel::kTemplate) {
  using M = VkcPPLBStateModel;
  auto* grid = new QGridLayout;
  const std::pair<const char*, int> rows[] = {
      {"RSSI", M::kRssi},           {"Frequency", M::kFrequency}, {"Symbol rate", M::kSymbolRate},
      {"Unique word", M::kUniqueWord}, {"Signal quality", M::kQuality}, {"BER", M::kBer},
      {"Service ID", M::kServiceId}};
  int row = 0;
  for (const auto& [caption, id] : rows) {
    grid->addWidget(new QLabel(QString::fromUtf8(caption), this), row, 0);
    grid->addWidget(Named(new QLineEdit(this), id), row, 1);
    ++row;
  }
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Named(new QPushButton(QStringLiteral("Start"), this), M::kStartStop));
  buttons->addWidget(Named(new QPushButton(QStringLiteral("Reset BER"), this), M::kResetBer));
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  layout->addStretch(1);
  MakeNonDefault(this);

  messages_ = std::make_unique<platform::qt::WindowMessages>(
      [this](uint32_t msg, intptr_t wParam, intptr_t) {
        if (msg != kMsgLband) return;
        GetModel().OnStatusMessage(wParam);
        UpdateControls();
      },
      this);
  GetModel().SetWindow(messages_->Handle());
  Bind();
}

VkcPPLBState::~VkcPPLBState() = default;

platform::WindowHandle VkcPPLBState::Handle() const { return messages_->Handle(); }
