#include "utilities/VkcPPAlmanacUtility.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "chart/CChartCtrl.h"
#include "link/VkcMessageIds.h"
#include "platform/qt/QtDc.h"
#include "platform/qt/WindowMessages.h"

namespace {

using platform::qt::Point;

// The page's picture, drawn by the program itself: a beacon mast sending radio waves, in the
// chart's background and the colours of its bars, scaled to the control's size.
class BeaconPicture : public QWidget {
 public:
  explicit BeaconPicture(QWidget* parent) : QWidget(parent) {
    setFixedSize(VkcPPAlmanacUtility::kPictureWidth, VkcPPAlmanacUtility::kPictureHeight);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    platform::qt::QtDc dc(this);
    Draw(dc, {width(), height()});
  }

 private:
  // Drawn in a 100 x 130 unit space mapped onto size.
  static void Draw(platform::qt::Dc& dc, platform::qt::Size size) {
    using namespace platform::qt;
    constexpr ColorRef kMast = Rgb(64, 64, 80);
    dc.SetMapping({100, 130}, size);
    dc.FillSolidRect({0, 0, 100, 130}, VkcPPAlmanacUtilityModel::kBackColor);
    dc.SelectPen(Pen::Solid(1, kMast));
    dc.SelectBrush(Brush::Hollow());
    dc.Rectangle({0, 0, 100, 130});
    // The lattice mast: two legs from the top to a wide foot, braced crosswise.
    constexpr int kTop = 42, kFoot = 122;
    dc.SelectPen(Pen{kPsSolid, 3, kMast, true});
    const Point legs[] = {{36, kFoot}, {50, kTop}, {64, kFoot}};
    dc.Polyline(legs);
    dc.SelectPen(Pen{kPsSolid, 1, kMast, true});
    for (int y = kTop + 12; y + 14 <= kFoot; y += 14) {
      const int half = 1 + (y - kTop) * 14 / (kFoot - kTop);
      const int halfBelow = 1 + (y + 14 - kTop) * 14 / (kFoot - kTop);
      const Point brace[] = {{50 - half, y}, {50 + halfBelow, y + 14}, {50 - halfBelow, y + 14}, {50 + half, y}};
      dc.Polyline(brace);
    }
    dc.MoveTo(30, kFoot);
    dc.LineTo(70, kFoot);
    // The antenna at the top and its waves on both sides, in the bar colours.
    dc.SelectBrush(Brush::Solid(0x0000FF));
    dc.SelectPen(Pen::Solid(1, kMast));
    dc.Ellipse({45, kTop - 9, 55, kTop + 1});
    const ColorRef waves[] = {0xFF0000, 0x71B33C, 0x0000FF};
    for (int i = 0; i < 3; ++i) {
      const double r = 12.0 + 10.0 * i;
      dc.SelectPen(Pen{kPsSolid, 3, waves[i], true});
      for (const int side : {-1, 1}) {
        Point arc[9];
        for (int k = 0; k < 9; ++k) {
          const double a = (-40.0 + 10.0 * k) * M_PI / 180.0;
          arc[k] = {50 + static_cast<int>(std::lround(side * r * std::cos(a))),
                    kTop - 4 + static_cast<int>(std::lround(r * std::sin(a)))};
        }
        dc.Polyline(arc);
      }
    }
    dc.ResetMapping();
  }
};

}  // namespace

VkcPPAlmanacUtility::VkcPPAlmanacUtility() : VkcPage(VkcPPAlmanacUtilityModel::kTemplate) {
  using M = VkcPPAlmanacUtilityModel;
  chart_ = Named(new CChartCtrl(this), M::kChart);
  chart_->setMinimumSize(400, 250);
  auto* side = new QVBoxLayout;
  side->addWidget(Named(new QPushButton(QStringLiteral("Query"), this), M::kQuery));
  side->addWidget(Named(new BeaconPicture(this), M::kPicture));
  side->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(chart_, 1);
  layout->addLayout(side);
  MakeNonDefault(this);

  messages_ = std::make_unique<platform::qt::WindowMessages>(
      [this](uint32_t msg, intptr_t wParam, intptr_t) {
        if (msg != kMsgAlmanac) return;
        GetModel().OnAlmanacMessage(wParam);
        UpdateControls();
      },
      this);
  GetModel().SetWindow(messages_->Handle());
  GetModel().SetChart(chart_);
  Bind();
}

VkcPPAlmanacUtility::~VkcPPAlmanacUtility() = default;

platform::WindowHandle VkcPPAlmanacUtility::Handle() const { return messages_->Handle(); }
