#include "utilities/VkcPPSpectrumUtility.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "chart/CChartCtrl.h"
#include "link/VkcMessageIds.h"
#include "platform/qt/WindowMessages.h"

VkcPPSpectrumUtility::VkcPPSpectrumUtility() : VkcPage(VkcPPSpectrumUtilityModel::kTemplate) {
  using M = VkcPPSpectrumUtilityModel;
  chart_ = Named(new CChartCtrl(this), M::kChart);
  chart_->setMinimumSize(400, 250);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Start frequency (Hz)"), Named(new QLineEdit(this), M::kStart));
  form->addRow(QStringLiteral("Stop frequency (Hz)"), Named(new QLineEdit(this), M::kStop));
  form->addRow(QStringLiteral("Step (Hz)"), Named(new QLineEdit(this), M::kStep));
  form->addRow(QStringLiteral("Timeout (ms)"), Named(new QComboBox(this), M::kTimeout));
  auto* side = new QVBoxLayout;
  side->addLayout(form);
  side->addWidget(Named(new QPushButton(QStringLiteral("Start"), this), M::kStartStop));
  side->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(chart_, 1);
  layout->addLayout(side);
  MakeNonDefault(this);

  messages_ = std::make_unique<platform::qt::WindowMessages>(
      [this](uint32_t msg, intptr_t wParam, intptr_t) {
        if (msg != kMsgSpectrum) return;
        GetModel().OnSpectrumMessage(wParam);
        UpdateControls();
      },
      this);
  GetModel().SetWindow(messages_->Handle());
  GetModel().SetChart(chart_);
  Bind();
}

VkcPPSpectrumUtility::~VkcPPSpectrumUtility() = default;

platform::WindowHandle VkcPPSpectrumUtility::Handle() const { return messages_->Handle(); }
