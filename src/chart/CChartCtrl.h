#pragma once
// A charting window: up to four axes, line series, a legend and a title, drawn off-screen and
// copied on paint. Left-button dragging zooms (a drag leftwards or upwards undoes), right-button
// dragging pans. Every change ends with a refresh; changes bracketed by EnableRefresh(false) and
// EnableRefresh(true) draw once at the end.

#include <QWidget>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "chart/ChartPrintInfo.h"
#include "chart/ChartTypes.h"
#include "platform/qt/MemoryDc.h"

class QPrinter;
class CChartLegend;
class CChartScrollBar;
class CChartTitle;
class CChartLineSerie;
class ChartMouseListener;
class CChartCursor;
class CChartCrossHairCursor;
class CChartDragLineCursor;

class CChartCtrl : public QWidget {
  Q_OBJECT
 public:
  enum AxisPosition { kLeftAxis = 0, kBottomAxis = 1, kRightAxis = 2, kTopAxis = 3 };
  static constexpr std::array<ChartColor, 10> kPalette = {0x0000FF, 0x009600, 0xFF0000, 0x00FFFF,
                                                           0xFFFF00, 0x0080FF, 0x800080, 0x008080,
                                                           0xFF00FF, 0x808040};

  explicit CChartCtrl(QWidget* parent = nullptr);
  ~CChartCtrl() override;

  static bool RegisterWndClass() { return true; }

  CChartAxis* CreateStandardAxis(int position);
  // Takes the axis for the position; series drawn against the axis it replaces move onto it.
  CChartAxis* AttachCustomAxis(std::unique_ptr<CChartAxis> axis, int position);
  CChartAxis* GetAxis(int position) const;
  CChartAxis* GetBottomAxis() const { return GetAxis(kBottomAxis); }
  CChartAxis* GetLeftAxis() const { return GetAxis(kLeftAxis); }

  // Null when the axes the series would use do not exist.
  CChartLineSerie* CreateLineSerie(bool secondaryHorizontal = false, bool secondaryVertical = false);
  CChartSerie* AttachCustomSerie(std::unique_ptr<CChartSerie> series, bool secondaryHorizontal,
                                 bool secondaryVertical);
  void RemoveAllSeries();
  size_t GetSeriesCount() const { return series_.size(); }
  CChartSerie* GoToFirstSerie();
  CChartSerie* GetNextSerie();

  // Cursors over the plotting area, drawn above the series; null when the axes do not exist.
  CChartCrossHairCursor* CreateCrossHairCursor(bool secondaryHorizontal = false, bool secondaryVertical = false);
  CChartDragLineCursor* CreateDragLineCursor(bool verticalLine, bool secondaryHorizontal = false,
                                             bool secondaryVertical = false);
  CChartCursor* AttachCustomCursor(std::unique_ptr<CChartCursor> cursor);
  void RemoveCursor(std::uint32_t cursorId);
  size_t GetCursorsCount() const { return cursors_.size(); }

  CChartLegend* GetLegend() const { return legend_.get(); }
  CChartTitle* GetTitle() const { return title_.get(); }
  void SetBackColor(ChartColor color);
  ChartColor GetBackColor() const { return backColor_; }
  void SetBorderColor(ChartColor color);
  void SetBackGradient(ChartColor color1, ChartColor color2, int type);
  void SetZoomRectColor(ChartColor color);
  void EnablePan(bool on) { panEnabled_ = on; }
  void EnableZoom(bool on) { zoomEnabled_ = on; }
  void ShowMouseCursor(bool show) { mouseCursorShown_ = show; }
  void SetMouseListener(ChartMouseListener* listener) { mouseListener_ = listener; }
  ChartRect GetPlottingRect() const { return plottingRect_; }

  void EnableRefresh(bool enable);
  void RefreshCtrl();
  void UndoPanZoom();
  void UpdateAxesScrollBars();
  void SendMouseEvent(int event, ChartPoint point);

  virtual bool Print(const QString& title, QPrinter* printer = nullptr);
  virtual void OnBeginPrinting(ChartDc& printerDc, ChartPrintInfo& info);
  virtual void OnPrint(ChartDc& printerDc, ChartPrintInfo& info);
  virtual void OnEndPrinting(ChartDc& printerDc, ChartPrintInfo& info);
  virtual void DrawChart(ChartDc& dc, ChartRect rect);
  virtual void DrawBackground(ChartDc& dc, ChartRect rect);

  // Mouse handling in the control's own terms (the Qt events call these).
  void OnLButtonDown(ChartPoint point);
  void OnLButtonUp(ChartPoint point);
  void OnLButtonDblClk(ChartPoint point);
  void OnRButtonDown(ChartPoint point);
  void OnRButtonUp(ChartPoint point);
  void OnRButtonDblClk(ChartPoint point);
  void OnMouseMove(ChartPoint point);
  // A scroll code from one of the axes' scroll bars.
  void OnScroll(CChartScrollBar* bar, int code, int position);

  // The off-screen picture (empty until the first refresh with a size).
  const QImage& GetBufferImage() const { return buffer_.Image(); }
  bool IsZoomDragging() const { return zoomDragging_; }
  ChartSize GetPrintSize() const { return printSize_; }
  ChartSize GetPageSize() const { return pageSize_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  int refreshCounter_ = 1;
  bool pendingRefresh_ = false;
  bool rerunning_ = false;  // RefreshCtrl is running the refresh asked for while drawing
  bool drawing_ = false;
  platform::qt::MemoryDc buffer_;
  bool paintedOnce_ = false;
  bool gradient_ = false;
  ChartColor gradientColor1_;
  ChartColor gradientColor2_;
  int gradientType_ = 1;
  ChartColor backColor_;
  ChartColor borderColor_ = 0;
  unsigned edgeType_ = platform::qt::kEdgeRaised;
  ChartRect plottingRect_;
  std::map<std::uint32_t, std::unique_ptr<CChartSerie>> series_;
  std::array<std::unique_ptr<CChartAxis>, 4> axes_;
  std::unique_ptr<CChartLegend> legend_;
  std::unique_ptr<CChartTitle> title_;
  bool panEnabled_ = true;
  bool panning_ = false;
  ChartPoint lastPanPoint_;
  bool zoomEnabled_ = true;
  bool zoomDragging_ = false;
  ChartRect zoomRect_;
  ChartColor zoomRectColor_ = 0xFFFFFF;
  ChartSize printSize_;
  ChartSize pageSize_;
  ChartMouseListener* mouseListener_ = nullptr;
  bool mouseCursorShown_ = true;
  std::map<std::uint32_t, std::unique_ptr<CChartSerie>>::iterator seriesIter_;
  std::map<std::uint32_t, std::unique_ptr<CChartCursor>> cursors_;
  bool CursorDragging() const;
};
