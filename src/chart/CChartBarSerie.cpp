#include "chart/CChartBarSerie.h"

#include <algorithm>
#include <mutex>

#include "chart/CChartAxis.h"
#include "chart/CChartCtrl.h"
#include "chart/ChartGradient.h"

namespace {

std::mutex& ListLock() {
  static std::mutex lock;
  return lock;
}

std::vector<CChartBarSerie*>& AllBars() {
  static std::vector<CChartBarSerie*> list;
  return list;
}

}  // namespace

CChartBarSerie::CChartBarSerie(CChartCtrl* parent) : CChartXYSerie(parent) {
  std::lock_guard guard(ListLock());
  AllBars().push_back(this);
}

CChartBarSerie::~CChartBarSerie() {
  std::lock_guard guard(ListLock());
  auto& all = AllBars();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

void CChartBarSerie::SetHorizontal(bool horizontal) {
  horizontal_ = horizontal;
  buffer_.SetOrdering(horizontal ? PointBuffer::kOrderByY : PointBuffer::kOrderByX);
  RefreshParent();
}

void CChartBarSerie::SetBarWidth(int pixels) {
  barWidth_ = std::max(pixels, 1);
  RefreshParent();
}

void CChartBarSerie::SetInterSpace(int pixels) {
  interSpace_ = std::max(pixels, 0);
  RefreshParent();
}

void CChartBarSerie::SetGroupId(unsigned group) {
  groupId_ = group;
  RefreshParent();
}

void CChartBarSerie::SetStacked(bool stacked) {
  stacked_ = stacked;
  RefreshParent();
}

void CChartBarSerie::SetBaseLine(bool automatic, double value) {
  autoBase_ = automatic;
  baseValue_ = value;
  RefreshParent();
}

void CChartBarSerie::SetBorderColor(ChartColor color) {
  border_ = color;
  RefreshParent();
}

void CChartBarSerie::ShowGradient(bool on) {
  gradient_ = on;
  RefreshParent();
}

void CChartBarSerie::SetGradient(ChartColor color, int type) {
  gradientColor_ = color;
  gradientType_ = type;
  RefreshParent();
}

std::vector<const CChartBarSerie*> CChartBarSerie::Group() const {
  std::vector<const CChartBarSerie*> group;
  std::lock_guard guard(ListLock());
  for (const CChartBarSerie* s : AllBars()) {
    if (s->parent_ == parent_ && s->groupId_ == groupId_ && s->horizontal_ == horizontal_ && s->visible_ &&
        s->horizontalAxis_ == horizontalAxis_ && s->verticalAxis_ == verticalAxis_) {
      group.push_back(s);
    }
  }
  // Creation order: series ids grow.
  std::sort(group.begin(), group.end(), [](auto* a, auto* b) { return a->GetSerieId() < b->GetSerieId(); });
  return group;
}

int CChartBarSerie::BasePixel() const {
  CChartAxis* axis = ValueAxis();
  if (!autoBase_) return axis->ValueToScreen(baseValue_);
  // The edge where the category axis stands.
  const CChartAxis* other = CategoryAxis();
  const ChartRect& r = plottingRect_;
  if (horizontal_) return other->GetPosition() == 0 ? r.left : r.right - 1;
  return other->GetPosition() == 100 ? r.bottom - 1 : r.top;
}

ChartRect CChartBarSerie::GetBarRect(unsigned index) const {
  if (!horizontalAxis_ || !verticalAxis_ || index >= GetPointsCount()) return {};
  const std::vector<const CChartBarSerie*> group = Group();
  const auto self = std::find(group.begin(), group.end(), this);
  if (self == group.end()) return {};
  int offset = 0;
  double stackedBelow = 0;
  bool onStack = false;
  if (stacked_) {
    // Stacked series of the group share one place; each starts where the earlier ones ended.
    for (auto it = group.begin(); it != self; ++it) {
      if ((*it)->stacked_ && index < (*it)->GetPointsCount()) {
        stackedBelow += (*it)->ValueAt(index);
        onStack = true;
      }
    }
  } else {
    const int n = static_cast<int>(group.size());
    const int k = static_cast<int>(self - group.begin());
    const int total = n * barWidth_ + (n - 1) * interSpace_;
    offset = -total / 2 + k * (barWidth_ + interSpace_);
  }
  CChartAxis* values = ValueAxis();
  const int centre = CategoryAxis()->ValueToScreen(CategoryAt(index));
  const int from = onStack ? values->ValueToScreen(stackedBelow) : BasePixel();
  const int to = values->ValueToScreen(stackedBelow + ValueAt(index));
  const int a = stacked_ ? centre - barWidth_ / 2 : centre + offset;
  if (horizontal_) return {std::min(from, to), a, std::max(from, to) + 1, a + barWidth_};
  return {a, std::min(from, to), a + barWidth_, std::max(from, to) + 1};
}

void CChartBarSerie::DrawAll(ChartDc& dc) {
  if (!visible_ || !horizontalAxis_ || !verticalAxis_) return;
  unsigned first = 0;
  unsigned last = 0;
  if (!GetVisiblePoints(first, last)) return;
  dc.SaveDC();
  dc.SetClipRect(plottingRect_);
  dc.SelectPen(ChartPen::Solid(0, border_));
  dc.SelectBrush(platform::qt::Brush::Hollow());
  for (unsigned i = first; i <= last && i < GetPointsCount(); ++i) {
    const ChartRect r = GetBarRect(i);
    if (r.IsRectEmpty()) continue;
    if (gradient_) ChartGradient::Fill(dc, r, color_, gradientColor_, gradientType_);
    else dc.FillSolidRect(r, color_);
    dc.Rectangle(r);
  }
  lastDrawnPoint_ = last;
  dc.RestoreDC();
}

void CChartBarSerie::DrawLegend(ChartDc& dc, const ChartRect& rect) const {
  if (name_.empty()) return;
  dc.FillSolidRect(rect, color_);
}

bool CChartBarSerie::IsPointOnSerie(ChartPoint point, int& index) const {
  index = -1;
  unsigned first = 0;
  unsigned last = 0;
  if (!visible_ || !GetVisiblePoints(first, last)) return false;
  for (unsigned i = first; i <= last && i < GetPointsCount(); ++i) {
    if (GetBarRect(i).PtInRect(point)) {
      index = static_cast<int>(i);
      return true;
    }
  }
  return false;
}
