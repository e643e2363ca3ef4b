#include "chart/CChartSerie.h"

#include <atomic>

#include "chart/CChartAxis.h"
#include "chart/CChartCtrl.h"

namespace {
std::atomic<std::uint32_t> g_nextSerieId{0};
}  // namespace

CChartSerie::CChartSerie(CChartCtrl* parent) : parent_(parent), id_(g_nextSerieId++) {}

CChartSerie::~CChartSerie() {
  if (verticalAxis_) verticalAxis_->UnregisterSeries(this);
  if (horizontalAxis_) horizontalAxis_->UnregisterSeries(this);
}

void CChartSerie::RefreshParent() {
  if (parent_) parent_->RefreshCtrl();
}

void CChartSerie::SetColor(ChartColor color) {
  color_ = color;
  RefreshParent();
}

void CChartSerie::SetName(const std::u16string& name) {
  name_ = name;
  RefreshParent();
}

void CChartSerie::SetVisible(bool visible) {
  visible_ = visible;
  RefreshParent();
}

void CChartSerie::SetShadow(bool on) {
  shadow_ = on;
  RefreshParent();
}

void CChartSerie::SetShadowColor(ChartColor color) {
  shadowColor_ = color;
  RefreshParent();
}

void CChartSerie::SetShadowDepth(int depth) {
  shadowDepth_ = depth;
  RefreshParent();
}

void CChartSerie::EnableMouseNotifications(bool onClick, bool onMove) {
  notifyOnClick_ = onClick;
  notifyOnMove_ = onMove;
}

void CChartSerie::SetAxes(CChartAxis* horizontal, CChartAxis* vertical) {
  horizontalAxis_ = horizontal;
  verticalAxis_ = vertical;
}

void CChartSerie::ReplaceAxis(CChartAxis* old, CChartAxis* replacement) {
  bool moved = false;
  if (horizontalAxis_ == old) {
    horizontalAxis_ = replacement;
    moved = true;
  }
  if (verticalAxis_ == old) {
    verticalAxis_ = replacement;
    moved = true;
  }
  if (!moved) return;
  if (old) old->UnregisterSeries(this);
  if (replacement) replacement->RegisterSeries(this);
}

void CChartSerie::RefreshAutoAxes(bool refresh) {
  if (parent_) parent_->EnableRefresh(false);
  if (verticalAxis_) verticalAxis_->RefreshAutoAxis();
  if (horizontalAxis_) horizontalAxis_->RefreshAutoAxis();
  if (parent_) {
    if (refresh) parent_->RefreshCtrl();
    parent_->EnableRefresh(true);
  }
}

ChartPoint CChartSerie::ValueToScreen(double x, double y) const {
  return {horizontalAxis_ ? horizontalAxis_->ValueToScreen(x) : 0,
          verticalAxis_ ? verticalAxis_->ValueToScreen(y) : 0};
}
