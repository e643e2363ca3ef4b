#pragma once
// A series over a point type: the point buffer, the visible range, extremes for the axes,
// point labels and the series mouse listener.

#include <map>
#include <memory>

#include "chart/CChartAxis.h"
#include "chart/CChartPointLabel.h"
#include "chart/CChartSerie.h"
#include "chart/CChartSeriesMouseListener.h"
#include "chart/ChartPointBuffer.h"

template <class T>
class CChartSerieBase : public CChartSerie {
 public:
  using PointBuffer = ChartPointBuffer<T>;

  explicit CChartSerieBase(CChartCtrl* parent) : CChartSerie(parent) {}

  unsigned GetPointsCount() const override { return buffer_.GetCount(); }

  ChartPoint GetPointScreenCoord(unsigned index) const override {
    const T& p = buffer_[index];
    return ValueToScreen(p.GetX(), p.GetY());
  }

  bool GetSerieXMinMax(double& min, double& max) const override {
    return visible_ && buffer_.GetXMinMax(min, max);
  }
  bool GetSerieYMinMax(double& min, double& max) const override {
    return visible_ && buffer_.GetYMinMax(min, max);
  }

  // X extremes of the points visible on the vertical axis (the buffer ordered by Y).
  bool GetSerieXScreenMinMax(double& min, double& max) const override {
    unsigned first = 0;
    unsigned last = 0;
    if (!visible_ || buffer_.GetOrdering() != PointBuffer::kOrderByY || !GetVisiblePoints(first, last)) {
      return false;
    }
    min = max = buffer_[first].GetX();
    for (unsigned i = first; i < last; ++i) {
      min = std::min(min, buffer_[i].GetX());
      max = std::max(max, buffer_[i].GetX());
    }
    return true;
  }

  // Y extremes of the points visible on the horizontal axis (the buffer ordered by X).
  bool GetSerieYScreenMinMax(double& min, double& max) const override {
    unsigned first = 0;
    unsigned last = 0;
    if (!visible_ || buffer_.GetOrdering() != PointBuffer::kOrderByX || !GetVisiblePoints(first, last)) {
      return false;
    }
    min = max = buffer_[first].GetY();
    for (unsigned i = first; i < last; ++i) {
      min = std::min(min, buffer_[i].GetY());
      max = std::max(max, buffer_[i].GetY());
    }
    return true;
  }

  bool GetVisiblePoints(unsigned& first, unsigned& last) const override {
    const unsigned count = buffer_.GetCount();
    if (count == 0) return false;
    const int ordering = buffer_.GetOrdering();
    const CChartAxis* axis = ordering == PointBuffer::kOrderByX   ? horizontalAxis_
                             : ordering == PointBuffer::kOrderByY ? verticalAxis_
                                                                  : nullptr;
    if (!axis) {
      first = 0;
      last = count - 1;
      return true;
    }
    first = buffer_.Find(0, count - 1, axis->GetMin());
    last = buffer_.Find(first, count - 1, axis->GetMax());
    return true;
  }

  void DrawLabels(ChartDc& dc) override {
    for (auto& [index, label] : labels_) {
      if (label) label->Draw(dc, index);
    }
  }

  bool OnMouseEvent(int event, ChartPoint point) override {
    if (!listener_) return false;
    if (event == 0 ? !notifyOnMove_ : !notifyOnClick_) return false;
    int index = -1;
    if (!IsPointOnSerie(point, index)) return false;
    listener_->OnMouseEventSeries(event, point, this, index);
    return true;
  }

  // Copies the points, orders them and refreshes the axes' automatic ranges and the chart.
  void SetPoints(const T* points, unsigned count) {
    buffer_.SetPoints(points, count);
    RefreshAutoAxes(true);
  }

  void SetSeriesOrdering(int ordering) {
    buffer_.SetOrdering(ordering);
    RefreshParent();
  }

  void SetMouseListener(CChartSeriesMouseListener<T>* listener) { listener_ = listener; }
  void AttachPointLabel(unsigned index, std::unique_ptr<CChartPointLabel<T>> label) {
    labels_[index] = std::move(label);
    RefreshParent();
  }

  const PointBuffer& GetBuffer() const { return buffer_; }

 protected:
  PointBuffer buffer_;
  unsigned lastDrawnPoint_ = 0;
  std::map<unsigned, std::unique_ptr<CChartPointLabel<T>>> labels_;
  CChartSeriesMouseListener<T>* listener_ = nullptr;
};
