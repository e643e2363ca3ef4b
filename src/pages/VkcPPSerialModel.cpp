#include "pages/VkcPPSerialModel.h"

#include <vector>

#include "app/ModulinkApp.h"
#include "app/PageHost.h"
#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "devices/VkcImageNodes.h"
#include "devices/VkcMCUController.h"
#include "unit/VkcSystem.h"

namespace {
using N = VkcNodes;
constexpr int kAllLists[] = {VkcPPSerialModel::kMaintenanceRate, VkcPPSerialModel::kDataRate,
                             VkcPPSerialModel::kFlow,            VkcPPSerialModel::kDestination,
                             VkcPPSerialModel::kSource,          VkcPPSerialModel::kBuffering};
}  // namespace

VkcPPSerialModel::VkcPPSerialModel() {
  controls_[kParity].SetItems({u"None", u"Even", u"Odd"});
  controls_[kByteSize].SetItems({u"8", u"7"});
  controls_[kFlow].SetItems({u"None", u"RTS/CTS"});
  controls_[kBuffering].SetItems({u"Disable", u"Enable"});
  controls_.Enable(kParity, false);
  controls_.Enable(kByteSize, false);
  controls_.Show(kRouting, false);
  controls_.Show(kRoutingLabel, false);
  On(kMaintenanceRate, ControlEvent::SelectionChanged, [this] { Mirror(kMaintenanceRate, kDataRate); });
  On(kDataRate, ControlEvent::SelectionChanged, [this] { Mirror(kDataRate, kMaintenanceRate); });
}

bool VkcPPSerialModel::HasUnit() {
  return HasHost() && Host().Unit().GetCurrentDevice() != nullptr && Host().Unit().GetProductId() > 0;
}

void VkcPPSerialModel::Mirror(int from, int to) {
  TakeValues();
  controls_.Select(to, controls_.Selection(from));
}

void VkcPPSerialModel::FillRates(const std::vector<int>& codes, int current) {
  const char16_t* currentName = current >= 0 && current < VkcDevice::GetSerialRateNameCount()
                                    ? VkcDevice::GetSerialRateName(current)
                                    : nullptr;
  for (int id : {kMaintenanceRate, kDataRate}) {
    ControlState& list = controls_[id];
    list.SetItems({});
    for (int code : codes) {
      if (code < 0 || code >= VkcDevice::GetSerialRateNameCount()) continue;
      list.AddItem(VkcDevice::GetSerialRateName(code), code);
    }
    // A stored code that names no offered rate (0 means "as the maintenance port") shows no
    // entry, so apply leaves it as it is rather than setting the unit to the first rate.
    list.selection = currentName != nullptr ? list.FindItem(currentName) : -1;
  }
}

void VkcPPSerialModel::Refresh() {
  NoteFilledUnit(HasUnit());
  if (!IsFilledUnit()) {
    for (int id : kAllLists) controls_.Enable(id, false);
    controls_.Show(kRouting, false);
    controls_.Show(kRoutingLabel, false);
    return;
  }
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  VkcMCUController& mcu = Host().Devices().GetMCUController();
  controls_.Select(kParity, 0);
  controls_.Select(kByteSize, 0);
  // The flow node is kept even where the list cannot show it, so apply writes back what was there.
  const int flow = unit.ReadInt(N::kDataPortFlow);
  controls_.Select(kFlow, flow == 2 ? 1 : (flow == 0 || flow == 1 ? flow : -1));
  std::vector<int> codes;
  int current = 0;
  if (mcu.IsPresent()) {
    controls_.Enable(kMaintenanceRate, false);
    if (mcu.Settings().HasSerialPort()) controls_.Enable(kDataRate, true);
    for (int id : {kFlow, kDestination, kSource, kBuffering}) controls_.Enable(id, false);
    controls_.Show(kRouting, true);
    controls_.Show(kRoutingLabel, true);
    controls_.Select(kDestination, -1);
    controls_.Select(kSource, -1);
    controls_.Select(kBuffering, 0);
    int count = 0;
    const char16_t* const* names = mcu.GetRouteNames(count);
    controls_[kRouting].SetItems({});
    for (int i = 0; i < count; ++i) controls_[kRouting].AddItem(names[i], i);
    const int route = mcu.Settings().GetRoute();
    controls_.Select(kRouting, route >= 0 && route < count ? route : -1);
    mcu.GetSerialRateChoices(codes);
    current = static_cast<int>(mcu.Settings().GetSerialRate());
  } else {
    for (int id : {kMaintenanceRate, kDataRate, kFlow, kBuffering}) controls_.Enable(id, true);
    controls_.Enable(kDestination, false);
    controls_.Enable(kSource, false);
    controls_.Show(kRouting, false);
    controls_.Show(kRoutingLabel, false);
    current = unit.ReadInt(N::kMaintenancePortRate);  // the data rate follows it
    const bool maintenanceRate = device->HasFeature(unit, 3);
    for (int id : {kMaintenanceRate, kMaintenanceBox, kMaintenanceLabel}) controls_.Enable(id, maintenanceRate);
    const int destination = unit.ReadInt(N::kActiveDestPorts);
    const int source = unit.ReadInt(N::kActiveSourcePort);
    if (device->IsBluetoothModel()) {
      controls_.Enable(kDestination, true);
      controls_.Enable(kSource, true);
      const bool bluetooth = device->HasFeature(unit, 7);
      controls_[kDestination].SetItems(bluetooth ? std::vector<std::u16string>{u"UART", u"UART & USB", u"UART & Bluetooth"}
                                                 : std::vector<std::u16string>{u"UART", u"UART & USB"});
      controls_[kSource].SetItems(bluetooth ? std::vector<std::u16string>{u"UART", u"USB", u"Bluetooth"}
                                            : std::vector<std::u16string>{u"UART", u"USB"});
    }
    controls_.Select(kDestination, destination >= 0 && destination < controls_[kDestination].ItemCount() ? destination : -1);
    controls_.Select(kSource, source >= 0 && source < controls_[kSource].ItemCount() ? source : -1);
    if (device->IsGsmModel()) {
      controls_.Show(kRouting, true);
      controls_.Show(kRoutingLabel, true);
      int count = 0;
      const char16_t* const* names = device->GetRouteNames(count);
      controls_[kRouting].SetItems({});
      for (int i = 0; names != nullptr && i < count; ++i) controls_[kRouting].AddItem(names[i], i);
      const int routing = unit.ReadInt(N::kRoutingType) - 1;
      controls_.Select(kRouting, routing >= 0 && routing < count ? routing : -1);
    }
    controls_.Select(kBuffering, unit.ReadInt(N::kMaintenanceBuffering) != 0 ? 1 : 0);
    if (!device->HasFeature(unit, 12)) controls_.Enable(kBuffering, false);
    if (Host().App().Setting("Serial Interface", "Interface").GetInt() != 1) {
      controls_.Enable(kMaintenanceRate, false);
      controls_.Enable(kDataRate, false);
    }
    device->GetSerialRateList(codes);
  }
  FillRates(codes, current);
}

void VkcPPSerialModel::Exchange(VkcDataExchange& dx) {
  dx.Index(kDataRate, rateIndex_);
  dx.Index(kBuffering, buffering_);
  dx.Index(kFlow, flow_);
  dx.Index(kDestination, destination_);
  dx.Index(kSource, source_);
  dx.Index(kRouting, routing_);
}

bool VkcPPSerialModel::Store() {
  // Refresh fills nothing without an identified model (a unit in its start-up code): the lists
  // still hold the unit shown before, which must not be written into this one.
  if (!IsFilledUnit()) return true;
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  VkcMCUController& mcu = Host().Devices().GetMCUController();
  const ControlState& rates = controls_.Get(kDataRate);
  // No rate on offer (an MCU without a serial port): the rate nodes keep what they hold.
  const bool haveRate = rateIndex_ >= 0 && rateIndex_ < rates.ItemCount();
  const int code = haveRate ? static_cast<int>(rates.itemData[rateIndex_]) : 0;
  if (haveRate) {
    unit.WriteInt(N::kMaintenancePortRate, code);
    unit.WriteInt(N::kDataPortRate, code);
  }
  unit.WriteInt(N::kDataPortParity, 0);
  unit.WriteInt(N::kDataPortBits, 0);
  if (flow_ >= 0) unit.WriteInt(N::kDataPortFlow, flow_ == 0 ? 0 : 2);
  // Behind an MCU the MCU does the routing: the unit's own buffering and ports are written as the
  // page shows them (off, none).
  unit.WriteInt(N::kMaintenanceBuffering, buffering_ > 0 ? 1 : 0);
  if (device->IsBluetoothModel()) {
    unit.WriteInt(N::kActiveDestPorts, destination_ < 0 ? 0 : destination_);
    unit.WriteInt(N::kActiveSourcePort, source_ < 0 ? 0 : source_);
  }
  // The route list then holds the MCU's routes, whose index is no routing type of the unit.
  if (mcu.IsPresent()) {
    mcu.Settings().SetRoute(routing_);
    if (haveRate) mcu.Settings().SetSerialRate(static_cast<uint32_t>(code));
  } else if (device->IsGsmModel()) {
    unit.WriteInt(N::kRoutingType, routing_ + 1);
  }
  return true;
}
