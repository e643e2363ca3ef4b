#include "chart/CChartCursor.h"

#include <algorithm>
#include <atomic>

#include "chart/CChartCtrl.h"

namespace {
std::atomic<std::uint32_t> nextCursorId{0};
}

CChartCursor::CChartCursor(CChartCtrl* parent, CChartAxis* horizontal, CChartAxis* vertical)
    : parent_(parent), horizontal_(horizontal), vertical_(vertical), id_(nextCursorId++) {}

void CChartCursor::SetColor(ChartColor color) {
  color_ = color;
  RefreshParent();
}

void CChartCursor::RegisterListener(CChartCursorListener* listener) {
  if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
    listeners_.push_back(listener);
  }
}

void CChartCursor::UnregisterListener(CChartCursorListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void CChartCursor::CursorMoved(double xValue, double yValue) {
  for (CChartCursorListener* l : listeners_) l->OnCursorMoved(this, xValue, yValue);
}

void CChartCursor::RefreshParent() {
  if (parent_) parent_->RefreshCtrl();
}
