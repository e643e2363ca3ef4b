#include "chart/CChartScrollBar.h"

#include <QStyle>
#include <algorithm>

#include "chart/CChartAxis.h"

CChartScrollBar::CChartScrollBar(CChartAxis* axis) : axis_(axis) {
  setObjectName(QStringLiteral("ctl%1").arg(kControlId));
  hide();
}

void CChartScrollBar::CreateScrollBar(QWidget* chart, const ChartRect& plotting) {
  setParent(chart);
  setOrientation(axis_->IsHorizontal() ? Qt::Horizontal : Qt::Vertical);
  hide();
  Place(plotting);
  SetScrollInfo(1, 1, 1, 1);
}

void CChartScrollBar::Place(const ChartRect& plotting) {
  ChartRect r{plotting.left + 1, plotting.top + 1, plotting.right, plotting.bottom};
  const int thick = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  if (axis_->IsHorizontal()) {
    if (axis_->IsSecondary()) r.bottom = r.top + thick;
    else r.top = r.bottom - thick;
  } else {
    if (axis_->IsSecondary()) r.left = r.right - thick;
    else r.right = r.left + thick;
  }
  setGeometry(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()));
}

bool CChartScrollBar::IsReversed() const {
  return axis_->IsHorizontal() ? axis_->IsInverted() : !axis_->IsInverted();
}

void CChartScrollBar::SetScrollInfo(int min, int max, int page, int pos) {
  min_ = min;
  max_ = std::max(min, max);
  page_ = std::max(0, page);
  // As Windows does: the position stays within min..max - page + 1.
  const int top = page_ > 0 ? std::max(min_, max_ - page_ + 1) : max_;
  pos_ = std::clamp(pos, min_, top);
  QSignalBlocker block(this);
  setRange(min_, top);
  setPageStep(std::max(1, page_));
  setValue(pos_);
}

void CChartScrollBar::Refresh() {
  int steps = 1;
  int position = 1;
  axis_->GetScrollbarSteps(steps, position);
  SetScrollInfo(0, steps - 1, 10, IsReversed() ? steps - 9 - position : position);
}

void CChartScrollBar::OnScroll(int code, int position) {
  const int old = pos_;
  int p = pos_;
  switch (code) {
    case kSbLineUp:
      if (p > min_) --p;
      break;
    case kSbLineDown:
      if (p < max_ - 9) ++p;
      break;
    case kSbPageUp:
      if (p > min_) p = std::max(min_, p - 10);
      break;
    case kSbPageDown:
      if (p < max_ - 9) p = std::min(max_, p + 10);
      break;
    case kSbThumbPosition:
    case kSbThumbTrack:
      p = position;
      break;
    case kSbTop:
      p = 0;
      break;
    case kSbBottom:
      p = max_;
      break;
    default:
      return;
  }
  SetScrollInfo(min_, max_, page_, p);
  axis_->SetAxisToScrollStep(old, pos_, IsReversed());
}

void CChartScrollBar::OnMouseEnter() {
  if (enabled_ && autoHide_) show();
}

void CChartScrollBar::OnMouseLeave() {
  if (enabled_ && autoHide_) hide();
}
