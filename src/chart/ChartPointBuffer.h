#pragma once
// The points of a series, kept sorted by X, by Y or in insertion order, with their extremes.
// The array grows to exactly the largest count set and never shrinks.

#include <algorithm>
#include <cmath>
#include <memory>

template <class T>
class ChartPointBuffer {
 public:
  enum Ordering { kNoOrdering = 0, kOrderByX = 1, kOrderByY = 2 };
  static constexpr unsigned kInitialCapacity = 1000;

  ChartPointBuffer() : points_(std::make_unique<T[]>(kInitialCapacity)), capacity_(kInitialCapacity) {}

  void SetPoints(const T* points, unsigned count) {
    if (count > capacity_) {
      points_ = std::make_unique<T[]>(count);
      capacity_ = count;
    }
    count_ = count;
    if (count > 0) std::copy(points, points + count, points_.get());
    Sort();
    RefreshMinMax();
  }

  void SetOrdering(int ordering) {
    ordering_ = ordering;
    Sort();
  }
  int GetOrdering() const { return ordering_; }

  unsigned GetCount() const { return count_; }
  unsigned GetCapacity() const { return capacity_; }
  const T& operator[](unsigned i) const { return points_[i]; }

  // Extremes over the finite coordinates only; false when there is none.
  bool GetXMinMax(double& min, double& max) const {
    min = minX_;
    max = maxX_;
    return count_ > 0 && hasX_;
  }
  bool GetYMinMax(double& min, double& max) const {
    min = minY_;
    max = maxY_;
    return count_ > 0 && hasY_;
  }

  // The coordinate the buffer is ordered by.
  double Coord(unsigned i) const { return ordering_ == kOrderByY ? points_[i].GetY() : points_[i].GetX(); }

  // Binary search on the ordering coordinate; the result may be one point either side of the
  // exact boundary (callers widen by one point).
  unsigned Find(unsigned low, unsigned high, double value) const {
    const unsigned mid = low + (high - low) / 2;
    if (value < Coord(mid)) return low < mid ? Find(low, mid - 1, value) : low;
    return mid < high ? Find(mid + 1, high, value) : high;
  }

 private:
  // NaN sorts after every number, so the order stays a strict weak ordering.
  static bool Less(double a, double b) { return !std::isnan(a) && (std::isnan(b) || a < b); }

  void Sort() {
    if (count_ < 2) return;
    T* begin = points_.get();
    if (ordering_ == kOrderByX) {
      std::sort(begin, begin + count_, [](const T& a, const T& b) { return Less(a.GetX(), b.GetX()); });
    } else if (ordering_ == kOrderByY) {
      std::sort(begin, begin + count_, [](const T& a, const T& b) { return Less(a.GetY(), b.GetY()); });
    }
  }

  static void Widen(double v, bool& has, double& min, double& max) {
    if (!std::isfinite(v)) return;
    if (!has) {
      min = max = v;
      has = true;
    } else {
      min = std::min(min, v);
      max = std::max(max, v);
    }
  }

  void RefreshMinMax() {
    hasX_ = hasY_ = false;
    minX_ = maxX_ = minY_ = maxY_ = 0;
    for (unsigned i = 0; i < count_; ++i) {
      const T& p = points_[i];
      // A point that spans a range on an axis (a candle, a Gantt bar) widens by both its ends.
      if constexpr (requires { p.GetXMin(); p.GetXMax(); }) {
        Widen(p.GetXMin(), hasX_, minX_, maxX_);
        Widen(p.GetXMax(), hasX_, minX_, maxX_);
      } else {
        Widen(p.GetX(), hasX_, minX_, maxX_);
      }
      if constexpr (requires { p.GetYMin(); p.GetYMax(); }) {
        Widen(p.GetYMin(), hasY_, minY_, maxY_);
        Widen(p.GetYMax(), hasY_, minY_, maxY_);
      } else {
        Widen(p.GetY(), hasY_, minY_, maxY_);
      }
    }
  }

  double minX_ = 0;
  double maxX_ = 0;
  double minY_ = 0;
  double maxY_ = 0;
  std::unique_ptr<T[]> points_;
  unsigned capacity_;
  unsigned count_ = 0;
  int ordering_ = kOrderByX;
  bool hasX_ = false;
  bool hasY_ = false;
};
