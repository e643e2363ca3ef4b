#include "reports/VkcPrintPreviewClient.h"

#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

#include "app/ModulinkApp.h"
#include "reports/VkcPrintPaper.h"
#include "reports/VkcReportPrinter.h"

namespace {
// A scroll bar whose line step is 1 and page step 10 whatever the scroll area sets on a resize.
class FixedStepScrollBar : public QScrollBar {
 public:
  FixedStepScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) { Fix(); }

 protected:
  void sliderChange(SliderChange change) override {
    if (change == SliderStepsChange) Fix();
    QScrollBar::sliderChange(change);
  }

 private:
  void Fix() {
    setSingleStep(VkcPrintPreviewClient::kLineStep);
    setPageStep(VkcPrintPreviewClient::kPageStep);
  }
};
}  // namespace

VkcPrintPreviewClient::VkcPrintPreviewClient(QWidget* parent) : QScrollArea(parent) {
  setVerticalScrollBar(new FixedStepScrollBar(Qt::Vertical, this));
  setHorizontalScrollBar(new FixedStepScrollBar(Qt::Horizontal, this));
  setWidgetResizable(false);
  setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  setBackgroundRole(QPalette::Dark);
  setViewportMargins(5, 5, 5, 5);
}

bool VkcPrintPreviewClient::LayoutPaper(VkcSystem* system) {
  const platform::qt::Size paper = VkcReportPrinter::Instance().PaperSize();
  if (paper.cx <= 0 || paper.cy <= 0) {
    if (ModulinkApp* app = ModulinkApp::Instance()) {
      app->ShowMessage(std::u16string(u"Problem occured during Print preview initialization.\r\n  "
                                      u"Please check the default printer of the system."));
    }
    return false;
  }
  int height = screenHeight_;
  if (height <= 0) height = screen() != nullptr ? screen()->geometry().height() : 1024;
  const int width = static_cast<int>(static_cast<long long>(height) * paper.cx / paper.cy);
  if (paper_ == nullptr) {
    paper_ = new VkcPrintPaper;
    paper_->resize(width - 10, height - 10);
    if (system != nullptr) paper_->Create(*system, paper);
    setWidget(paper_);
  } else {
    paper_->SetPaperSize(paper);
    paper_->resize(width - 10, height - 10);
  }
  return true;
}

void VkcPrintPreviewClient::wheelEvent(QWheelEvent* event) {
  // 10 units a notch, downward when the wheel turns toward the user. Touchpads and fine wheels
  // send parts of a notch: they add up until they make one.
  wheelRest_ += event->angleDelta().y();
  const int notches = wheelRest_ / kWheelNotch;
  wheelRest_ -= notches * kWheelNotch;
  if (notches != 0) verticalScrollBar()->setValue(verticalScrollBar()->value() - notches * kWheelStep);
  event->accept();
}
