#pragma once
// The scroll bar of an axis: a child of the chart along the plotting area's edge, created hidden.
// Its range is kept as Windows keeps it (minimum, maximum, page, position) and mirrored to the
// widget; scrolling moves the axis by tenths of its range.

#include <QScrollBar>

#include "chart/ChartTypes.h"

// Scroll codes as Windows sends them.
enum ChartScrollCode : int {
  kSbLineUp = 0,
  kSbLineDown = 1,
  kSbPageUp = 2,
  kSbPageDown = 3,
  kSbThumbPosition = 4,
  kSbThumbTrack = 5,
  kSbTop = 6,
  kSbBottom = 7,
  kSbEndScroll = 8,
};

class CChartScrollBar : public QScrollBar {
  Q_OBJECT
 public:
  static constexpr int kControlId = 100;

  explicit CChartScrollBar(CChartAxis* axis);

  // Makes it a hidden child of the chart inside the plotting area, with range 1..1, page 1, pos 1.
  void CreateScrollBar(QWidget* chart, const ChartRect& plotting);
  // Moves it to the plotting area's edge that belongs to its axis.
  void Place(const ChartRect& plotting);
  // Range and position from the axis' scroll steps.
  void Refresh();
  void OnHScroll(int code, int position) { OnScroll(code, position); }
  void OnVScroll(int code, int position) { OnScroll(code, position); }
  void OnMouseEnter();
  void OnMouseLeave();
  bool IsReversed() const;

  void SetEnabled(bool on) { enabled_ = on; }
  void SetAutoHide(bool on) { autoHide_ = on; }
  int GetMin() const { return min_; }
  int GetMax() const { return max_; }
  int GetPage() const { return page_; }
  int GetPos() const { return pos_; }

 private:
  void OnScroll(int code, int position);
  void SetScrollInfo(int min, int max, int page, int pos);

  CChartAxis* axis_;
  bool enabled_ = false;
  bool autoHide_ = true;
  int min_ = 1;
  int max_ = 1;
  int page_ = 1;
  int pos_ = 1;
};
