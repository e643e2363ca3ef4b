#include "utilities/VkcPPAlmanacUtilityModel.h"

#include <vector>

#include "app/ModulinkApp.h"
#include "app/PageHost.h"
#include "chart/CChartAxis.h"
#include "chart/CChartCtrl.h"
#include "chart/CChartLegend.h"
#include "chart/CChartLineSerie.h"
#include "devices/VkcDevice.h"
#include "link/Format.h"
#include "link/Utf.h"
#include "link/VkcComPort.h"
#include "unit/AlmanacSeriesStore.h"
#include "unit/VkcAlmanacUtilityController.h"
#include "unit/VkcSystem.h"

VkcPPAlmanacUtilityModel::VkcPPAlmanacUtilityModel() {
  controls_.SetText(kQuery, u"Query");
  On(kQuery, ControlEvent::Clicked, [this] { OnQuery(); });
}

void VkcPPAlmanacUtilityModel::SetChart(CChartCtrl* chart) {
  chart_ = chart;
  if (!chart_) return;
  chart_->EnableRefresh(false);
  chart_->SetBackColor(kBackColor);
  chart_->CreateStandardAxis(CChartCtrl::kBottomAxis)->SetMinMax(275, 325);
  chart_->CreateStandardAxis(CChartCtrl::kLeftAxis)->SetMinMax(-140, -10);
  chart_->GetLegend()->SetVisible(true);
  chart_->EnablePan(false);
  chart_->EnableRefresh(true);
}

bool VkcPPAlmanacUtilityModel::HasAlmanac() {
  if (!HasHost()) return false;
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  return device != nullptr && device->HasFeature(unit, kFeatureAlmanac);
}

VkcAlmanacUtilityController& VkcPPAlmanacUtilityModel::Controller() {
  return EnsureAlmanacController(Host().Unit());
}

void VkcPPAlmanacUtilityModel::Refresh() {
  if (!HasAlmanac()) {
    controls_.Enable(kQuery, false);
    return;
  }
  VkcSystem& unit = Host().Unit();
  if (chart_) chart_->GetBottomAxis()->SetMinMax(unit.GetBandLimit(0) / 1000, unit.GetBandLimit(2) / 1000);
  controls_.Enable(kQuery, !querying_);
}

void VkcPPAlmanacUtilityModel::OnQuery() {
  if (!HasAlmanac()) return;
  controls_.Enable(kQuery, false);
  VkcComPort* port = Host().App().CurrentPort();
  if (port == nullptr || !port->IsOpen()) {
    ShowMessage("Communication port is not open");
    controls_.Enable(kQuery, true);
    return;
  }
  if (!Host().LockProcess(this)) {
    ShowMessage("Unable to run process.\nAnother process is running");
    controls_.Enable(kQuery, true);
    return;
  }
  if (chart_) chart_->RemoveAllSeries();
  controls_.SetText(kQuery, u"Querying...");
  querying_ = true;
  Controller().Start(window_);
}

void VkcPPAlmanacUtilityModel::OnAlmanacMessage(intptr_t wParam) {
  switch (wParam) {
    case VkcAlmanacUtilityController::kFailed:
      ShowMessage(Host().Unit().GetAlmanacStore()->GetMessage());
      break;
    case VkcAlmanacUtilityController::kTable:
      FillChart();
      break;
    case VkcAlmanacUtilityController::kEnded:
      OnQueryFinished();
      break;
    default:
      break;
  }
}

void VkcPPAlmanacUtilityModel::OnQueryFinished() {
  Controller().Join();
  querying_ = false;
  controls_.Enable(kQuery, true);
  Host().UnlockProcess(this);
  controls_.SetText(kQuery, u"Query");
}

std::u16string VkcPPAlmanacUtilityModel::StationName(const AlmanacStation& station) {
  return Utf8ToUtf16(StrPrintf("%gkHz, ID=%u", station.x0, station.id));
}

void VkcPPAlmanacUtilityModel::FillChart() {
  const AlmanacSeriesStore* store = Host().Unit().GetAlmanacStore();
  const std::vector<AlmanacStation> stations = store ? store->GetStations() : std::vector<AlmanacStation>{};
  if (stations.empty()) {
    ShowMessage("Invalid almanac table got from modem.");
    return;
  }
  if (!chart_) return;
  chart_->EnableRefresh(false);
  chart_->RemoveAllSeries();
  for (const AlmanacStation& s : stations) {
    CChartLineSerie* bar = chart_->CreateLineSerie();
    bar->SetWidth(5);
    bar->SetPenStyle(platform::qt::kPsSolid);
    bar->SetColor(AlmanacSeriesStore::ColorOf(s.code));
    const double x[2] = {s.x0, s.x1};
    const double y[2] = {s.y0, s.y1};
    bar->SetPoints(x, y, 2);
    bar->SetName(StationName(s));
  }
  chart_->EnableRefresh(true);
  chart_->RefreshCtrl();
}
