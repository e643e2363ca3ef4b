// Redraw of a 1000 x 600 chart with one line series of 100,000 points into its off-screen image,
// against a single QPainter::drawPolyline of the same screen points into an image of that size.
// Prints both medians and their ratio last.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "chart/CChartAxis.h"
#include "chart/CChartCtrl.h"
#include "chart/CChartLineSerie.h"

namespace {

constexpr int kPoints = 100000;
constexpr int kRuns = 15;

template <class F>
double MedianMs(F&& f) {
  std::vector<double> times;
  f();  // warm-up
  for (int i = 0; i < kRuns; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    const auto t1 = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);

  // A spectrum-like trace: a few peaks over noise, one sample per frequency step.
  std::vector<double> x(kPoints), y(kPoints);
  unsigned seed = 12345;
  for (int i = 0; i < kPoints; ++i) {
    seed = seed * 1103515245u + 12345u;
    const double noise = ((seed >> 16) & 0x7FFF) / 32768.0 * 6.0;
    const double f = i / static_cast<double>(kPoints);
    x[i] = 400.0 + 100.0 * f;
    y[i] = -120.0 + noise + 60.0 * std::exp(-std::pow((f - 0.3) * 40, 2)) +
           40.0 * std::exp(-std::pow((f - 0.7) * 25, 2));
  }

  CChartCtrl chart;
  chart.resize(1000, 600);
  chart.CreateStandardAxis(CChartCtrl::kLeftAxis)->SetMinMax(-130, -40);
  chart.CreateStandardAxis(CChartCtrl::kBottomAxis)->SetMinMax(400, 500);
  CChartLineSerie* series = chart.CreateLineSerie();
  series->SetPoints(x.data(), y.data(), kPoints);

  const double chartMs = MedianMs([&] { chart.RefreshCtrl(); });

  QPolygon polygon(kPoints);
  for (int i = 0; i < kPoints; ++i) {
    const ChartPoint p = series->GetPointScreenCoord(static_cast<unsigned>(i));
    polygon.setPoint(i, p.x, p.y);
  }
  QImage image(1000, 600, QImage::Format_RGB32);
  const double polylineMs = MedianMs([&] {
    QPainter painter(&image);
    painter.setPen(QPen(QBrush(QColor(255, 0, 0)), 0, Qt::SolidLine, Qt::FlatCap));
    painter.drawPolyline(polygon);
  });

  std::printf("chart redraw (1000x600, %d points): %.3f ms\n", kPoints, chartMs);
  std::printf("plain drawPolyline of the same points: %.3f ms\n", polylineMs);
  std::printf("ratio: %.2f\n", chartMs / polylineMs);
  return 0;
}
