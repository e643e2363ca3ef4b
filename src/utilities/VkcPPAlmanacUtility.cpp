#include "utilities/VkcPPAlmanacUtility.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "chart/CChartCtrl.h"
#include "link/VkcMessageIds.h"
#include "platform/qt/WindowMessages.h"

VkcPPAlmanacUtility::VkcPPAlmanacUtility() : VkcPage(VkcPPAlmanacUtilityModel::kTemplate) {
  using M = VkcPPAlmanacUtilityModel;
  chart_ = Named(new CChartCtrl(this), M::kChart);
  chart_->setMinimumSize(400, 250);
  auto* side = new QVBoxLayout;
  side->addWidget(Named(new QPushButton(QStringLiteral("Query"), this), M::kQuery));
  side->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(chart_, 1);
  layout->addLayout(side);
  MakeNonDefault(this);

  messages_ = std::make_unique<platform::qt::WindowMessages>(
      [this](uint32_t msg, intptr_t wParam, intptr_t) {
        if (msg != kMsgAlmanac) return;
        GetModel().OnAlmanacMessage(wParam);
        UpdateControls();
      },
      this);
  GetModel().SetWindow(messages_->Handle());
  GetModel().SetChart(chart_);
  Bind();
}

VkcPPAlmanacUtility::~VkcPPAlmanacUtility() = default;

platform::WindowHandle VkcPPAlmanacUtility::Handle() const { return messages_->Handle(); }
