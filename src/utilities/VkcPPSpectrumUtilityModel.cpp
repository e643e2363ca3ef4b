#include "utilities/VkcPPSpectrumUtilityModel.h"

#include <limits>
#include <vector>

#include "app/ModulinkApp.h"
#include "app/PageHost.h"
#include "app/VkcDataExchange.h"
#include "chart/CChartAxis.h"
#include "chart/CChartCtrl.h"
#include "chart/CChartLineSerie.h"
#include "devices/VkcDevice.h"
#include "link/Format.h"
#include "link/Utf.h"
#include "link/VkcComPort.h"
#include "unit/SpectrumScanData.h"
#include "unit/VkcSpectrumUtilityController.h"
#include "unit/VkcSystem.h"

namespace {

std::u16string Number(uint32_t value) { return Utf8ToUtf16(std::to_string(value)); }

// The analyser's time-outs in ms, as the drop list offers them.
constexpr uint32_t kTimeouts[] = {320, 640, 1280, 2560, 5120, 8000};
constexpr int kTimeoutCount = 6;

}  // namespace

VkcPPSpectrumUtilityModel::VkcPPSpectrumUtilityModel() {
  controls_[kTimeout].SetItems({u"320", u"640", u"1280", u"2560", u"5120", u"8000"});
  controls_.Select(kTimeout, 0);
  controls_.SetText(kStartStop, u"Start");
  ShowValues();
  On(kStartStop, ControlEvent::Clicked, [this] { OnStartStop(); });
  On(kStart, ControlEvent::FocusLost, [this] { OnStartDone(); });
  On(kStop, ControlEvent::FocusLost, [this] { OnStopDone(); });
  On(kStep, ControlEvent::FocusLost, [this] { OnStepDone(); });
}

void VkcPPSpectrumUtilityModel::SetChart(CChartCtrl* chart) {
  chart_ = chart;
  if (!chart_) return;
  chart_->EnableRefresh(false);
  chart_->SetBackColor(kBackColor);
  chart_->CreateStandardAxis(CChartCtrl::kBottomAxis)->SetMinMax(285, 325);
  chart_->CreateStandardAxis(CChartCtrl::kLeftAxis)->SetMinMax(-140, -10);
  chart_->EnableRefresh(true);
}

bool VkcPPSpectrumUtilityModel::HasSpectrum() {
  if (!HasHost()) return false;
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  return device != nullptr && device->HasFeature(unit, kFeatureSpectrum);
}

void VkcPPSpectrumUtilityModel::GetBand(uint32_t& min, uint32_t& max) {
  min = Host().Unit().GetBandLimit(0);
  max = Host().Unit().GetBandLimit(2);
}

VkcSpectrumUtilityController& VkcPPSpectrumUtilityModel::Controller() {
  return EnsureSpectrumController(Host().Unit());
}

void VkcPPSpectrumUtilityModel::ShowValues() {
  controls_.SetText(kStart, Number(start_));
  controls_.SetText(kStop, Number(stop_));
  controls_.SetText(kStep, Number(step_));
}

void VkcPPSpectrumUtilityModel::EnableControls(bool on) {
  for (int id : {kStartStop, kStart, kStop, kStep, kTimeout}) controls_.Enable(id, on);
}

void VkcPPSpectrumUtilityModel::Refresh() {
  if (!HasSpectrum()) {
    EnableControls(false);
    return;
  }
  uint32_t min, max;
  GetBand(min, max);
  if (!(min <= start_ && start_ <= stop_ && stop_ <= max)) {
    start_ = min;
    stop_ = max;
    step_ = (max - min) / 400;
  }
  ShowValues();
  if (busy_) return;  // a scan keeps its controls as it set them
  if (chart_) chart_->GetBottomAxis()->SetMinMax(start_, stop_);
  EnableControls(true);
}

bool VkcPPSpectrumUtilityModel::ReadEdit(int id, uint32_t current, uint32_t& value) {
  int64_t parsed = 0;
  if (!VkcDataExchange::ParseInt(controls_.Text(id), parsed) || parsed < 0 ||
      parsed > std::numeric_limits<uint32_t>::max()) {
    ShowMessage(VkcDataExchange::RangeMessage(0, std::numeric_limits<uint32_t>::max()));
    controls_.SetText(id, Number(current));
    return false;
  }
  value = static_cast<uint32_t>(parsed);
  return true;
}

void VkcPPSpectrumUtilityModel::OnStartDone() {
  if (!HasSpectrum()) return;
  uint32_t value, min, max;
  if (!ReadEdit(kStart, start_, value)) return;
  GetBand(min, max);
  if (value < min) {
    ShowMessage(StrPrintf("Start frequency must be not less than %d Hz", static_cast<int>(min)));
    controls_.SetText(kStart, Number(start_));
    return;
  }
  start_ = value;
}

void VkcPPSpectrumUtilityModel::OnStopDone() {
  if (!HasSpectrum()) return;
  uint32_t value, min, max;
  if (!ReadEdit(kStop, stop_, value)) return;
  GetBand(min, max);
  if (value > max) {
    ShowMessage(StrPrintf("Stop frequency must be not higher than %d Hz", static_cast<int>(max)));
    controls_.SetText(kStop, Number(stop_));
    return;
  }
  stop_ = value;
}

void VkcPPSpectrumUtilityModel::OnStepDone() {
  if (!HasSpectrum()) return;
  uint32_t value, min, max;
  if (!ReadEdit(kStep, step_, value)) return;
  GetBand(min, max);
  const uint32_t band = max >= min ? max - min : 0;
  bool ok = true;
  if (stop_ < start_ || value > stop_ - start_) {
    ShowMessage("Frequency step is invalid for entered start and stop frequencies.");
    ok = false;
  }
  if (value < band / 1000) {
    ShowMessage(StrPrintf("Frequency step is too small. It should be greater than % d Hz",
                          static_cast<int>(band / 1000)));
    ok = false;
  } else if (value > band / 5) {
    ShowMessage(StrPrintf("Frequency step is too big. It should be less than % d Hz", static_cast<int>(band / 5)));
    ok = false;
  }
  if (!ok) {
    controls_.SetText(kStep, Number(step_));
    return;
  }
  step_ = value;
}

void VkcPPSpectrumUtilityModel::OnStartStop() {
  if (!HasSpectrum()) return;
  EnableControls(false);
  VkcComPort* port = Host().App().CurrentPort();
  // A running scan can always be stopped: its worker ends on the stop event whatever the port does.
  if (!scanning_ && (port == nullptr || !port->IsOpen())) {
    ShowMessage("Communication port is not open");
    EnableControls(true);
    return;
  }
  VkcSpectrumUtilityController& controller = Controller();
  if (!scanning_) {
    // A range without a point is refused here, before anything is locked or started.
    if (SpectrumScanData::PointCount(start_, stop_, step_) == 0) {
      ShowMessage("Frequency step is invalid for entered start and stop frequencies.");
      EnableControls(true);
      return;
    }
    if (!Host().LockProcess(this)) {
      ShowMessage("Unable to run process.\nAnother process is running");
      EnableControls(true);
      return;
    }
    const int index = controls_.Selection(kTimeout);
    const uint32_t timeout = kTimeouts[index >= 0 && index < kTimeoutCount ? index : 0];
    if (chart_) chart_->RemoveAllSeries();
    controls_.SetText(kStartStop, u"Starting");
    busy_ = true;
    Host().Unit().GetSpectrumData()->SetParameters(start_, stop_, step_, timeout);
  } else {
    controls_.SetText(kStartStop, u"Stopping");
  }
  controller.StartStop(window_);
}

void VkcPPSpectrumUtilityModel::OnSpectrumMessage(intptr_t wParam) {
  switch (wParam) {
    case VkcSpectrumUtilityController::kFailed:
      ShowMessage(Host().Unit().GetSpectrumData()->GetMessage());
      break;
    case VkcSpectrumUtilityController::kStarted:
      OnScanStarted();
      break;
    case VkcSpectrumUtilityController::kSamples:
      UpdateChart();
      break;
    case VkcSpectrumUtilityController::kEnded:
      OnScanFinished();
      break;
    default:
      break;
  }
}

void VkcPPSpectrumUtilityModel::OnScanStarted() {
  controls_.Enable(kStartStop, true);
  controls_.SetText(kStartStop, u"Stop");
  scanning_ = true;
  if (chart_) chart_->GetBottomAxis()->SetMinMax(start_, stop_);
}

void VkcPPSpectrumUtilityModel::UpdateChart() {
  SpectrumScanData* data = Host().Unit().GetSpectrumData();
  if (!chart_ || data == nullptr) return;
  // A copy taken under the data's lock: the port's reader keeps writing the ring.
  std::vector<double> frequencies, levels;
  data->CopyPoints(frequencies, levels);
  chart_->EnableRefresh(false);
  chart_->RemoveAllSeries();
  CChartLineSerie* line = chart_->CreateLineSerie();
  line->SetWidth(2);
  line->SetPenStyle(platform::qt::kPsSolid);
  line->SetColor(kLineColor);
  line->SetPoints(frequencies.data(), levels.data(), static_cast<unsigned>(frequencies.size()));
  chart_->EnableRefresh(true);
  chart_->RefreshCtrl();
}

void VkcPPSpectrumUtilityModel::OnScanFinished() {
  Controller().Join();
  EnableControls(true);
  Host().UnlockProcess(this);
  controls_.SetText(kStartStop, u"Start");
  scanning_ = false;
  busy_ = false;
}
