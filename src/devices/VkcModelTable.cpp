// The model table and the limit sets.

#include "devices/VkcModelTable.h"

#include <algorithm>

#include "devices/VkcDevice.h"
#include "devices/VkcDeviceBeacon.h"
#include "devices/VkcDeviceBeaconOEM.h"
#include "devices/VkcDeviceBootLoader.h"
#include "devices/VkcDeviceKEV100.h"
#include "devices/VkcDeviceKEV400EXT.h"
#include "devices/VkcDeviceKEV400Rx.h"
#include "devices/VkcDeviceKEV400RxS.h"
#include "devices/VkcDeviceLband.h"
#include "devices/VkcDeviceMIV20_1.h"
#include "devices/VkcDeviceONX101.h"
#include "devices/VkcDeviceONX104BT.h"
#include "devices/VkcDeviceONX104BT_GSM.h"
#include "devices/VkcDeviceONX135BT.h"
#include "devices/VkcDeviceONX401.h"
#include "devices/VkcDeviceONX401S.h"
#include "devices/VkcDeviceONX401_514.h"
#include "devices/VkcDeviceONX402.h"
#include "devices/VkcDeviceONX404BT.h"
#include "devices/VkcDeviceONX404BT_GSM.h"
#include "devices/VkcDeviceONX435BT.h"
#include "devices/VkcDeviceStartup.h"
#include "devices/VkcDeviceUHFGolden.h"
#include "devices/VkcDeviceUHFSSRX_FH.h"
#include "devices/VkcDeviceUHFSSRX_UHF.h"
#include "devices/VkcDeviceVHFGolden.h"
#include "devices/VkcDeviceVK100.h"
#include "devices/VkcDeviceVK100BT.h"
#include "devices/VkcDeviceVK100BT_GSM.h"
#include "devices/VkcDeviceVK100RxAvia.h"
#include "devices/VkcDeviceVK100Tx201.h"
#include "devices/VkcDeviceVK135.h"
#include "devices/VkcDeviceVK135BT.h"
#include "devices/VkcDeviceVK400.h"
#include "devices/VkcDeviceVK400BT.h"
#include "devices/VkcDeviceVK400BT_GSM.h"
#include "devices/VkcDeviceVK400Qr.h"
#include "devices/VkcDeviceVK400Rx.h"
#include "devices/VkcDeviceVK400Tc.h"
#include "devices/VkcDeviceVK400Tx.h"
#include "devices/VkcDeviceVK401Hi.h"
#include "devices/VkcDeviceVK401Tc.h"
#include "devices/VkcDeviceVK401Tx.h"
#include "devices/VkcDeviceVK404AF.h"
#include "devices/VkcDeviceVK415.h"
#include "devices/VkcDeviceVK435.h"
#include "devices/VkcDeviceVK435BT.h"
#include "devices/VkcDeviceVK435Tc.h"
#include "devices/VkcDeviceZOB1.h"

namespace {

template <class T>
std::unique_ptr<VkcDevice> Make() {
  return std::make_unique<T>();
}

constexpr VkcLimitSet kLimitSets[] = {
    {'A', 12000, {31, 0, 100}, {7000, 16000, 0}, 31},
    {'B', 115, {31, 0, 1}, {110, 127, 0}, 63},
    {'D', 127, {31, 0, 100}, {0, 255, 0}, 63},
    {'E', 115, {31, 0, 1}, {110, 127, 0}, 31},
    {'Z', 0, {0, 0, 0}, {0, 0, 0}, 31},
};

// The base device (0) and the frequency-hopping receiver (1112) set no interface; the beacon
// (3601) keeps the L-band id and name; 1112 keeps the base id and name.
const VkcModelRow kModels[] = {
    {-2, "VkcDeviceBootLoader", u"Bootloader", -2, 1, 0, 0, 'Z', &Make<VkcDeviceBootLoader>},
    {-1, "VkcDeviceStartup", u"Startup", -1, 1, 0, 0, 'Z', &Make<VkcDeviceStartup>},
    {0, "VkcDevice", u"N/A", 0, 0, 0, 0, 'Z', &Make<VkcDevice>},
    {1, "VkcDeviceMIV20_1", u"MIV20-1", 1, 1, 33, 15, 'E', &Make<VkcDeviceMIV20_1>},
    {2, "VkcDeviceVK400Rx", u"VK400Rx", 2, 1, 0, 0, 'Z', &Make<VkcDeviceVK400Rx>},
    {3, "VkcDeviceVK435", u"VK435", 3, 1, 45, 25, 'A', &Make<VkcDeviceVK435>},
    {4, "VkcDeviceVK400", u"VK400", 4, 1, 33, 13, 'A', &Make<VkcDeviceVK400>},
    {6, "VkcDeviceVK400Tx", u"VK400Tx", 6, 1, 30, 15, 'B', &Make<VkcDeviceVK400Tx>},
    {12, "VkcDeviceVK100", u"VK100", 12, 1, 33, 13, 'A', &Make<VkcDeviceVK100>},
    {16, "VkcDeviceVK135", u"VK135", 16, 1, 45, 25, 'A', &Make<VkcDeviceVK135>},
    {18, "VkcDeviceVK401Tc", u"VK401Tc", 18, 3, 30, 10, 'E', &Make<VkcDeviceVK401Tc>},
    {22, "VkcDeviceVK400Tc", u"VK400Tc", 22, 3, 33, 13, 'A', &Make<VkcDeviceVK400Tc>},
    {23, "VkcDeviceVK435Tc", u"VK435Tc", 23, 3, 45, 25, 'A', &Make<VkcDeviceVK435Tc>},
    {24, "VkcDeviceVK401Hi", u"VK401Hi", 24, 3, 30, 10, 'E', &Make<VkcDeviceVK401Hi>},
    {25, "VkcDeviceZOB1", u"ZOB1", 25, 1, 45, 25, 'A', &Make<VkcDeviceZOB1>},
    {27, "VkcDeviceVK415", u"VK415", 27, 1, 42, 22, 'A', &Make<VkcDeviceVK415>},
    {28, "VkcDeviceVK400Qr", u"VK400Qr", 28, 1, 30, 15, 'B', &Make<VkcDeviceVK400Qr>},
    {31, "VkcDeviceONX402", u"ONX402", 31, 1, 33, 13, 'A', &Make<VkcDeviceONX402>},
    {32, "VkcDeviceVK100RxAvia", u"VK100RxAvia", 32, 1, 0, 0, 'Z', &Make<VkcDeviceVK100RxAvia>},
    {33, "VkcDeviceKEV100", u"VK100Tx", 33, 1, 30, 15, 'D', &Make<VkcDeviceKEV100>},
    {35, "VkcDeviceONX435BT", u"ONX435BT", 35, 1, 46, 25, 'A', &Make<VkcDeviceONX435BT>},
    {36, "VkcDeviceLband", u"L-Band", 36, 1, 0, 0, 'Z', &Make<VkcDeviceLband>},
    {38, "VkcDeviceONX135BT", u"ONX135BT", 38, 1, 46, 25, 'A', &Make<VkcDeviceONX135BT>},
    {39, "VkcDeviceKEV400EXT", u"VK400TxEXT", 39, 1, 30, 15, 'D', &Make<VkcDeviceKEV400EXT>},
    {42, "VkcDeviceVK135BT", u"VK135BT", 42, 1, 46, 25, 'A', &Make<VkcDeviceVK135BT>},
    {43, "VkcDeviceVK435BT", u"VK435BT", 43, 1, 46, 25, 'A', &Make<VkcDeviceVK435BT>},
    {46, "VkcDeviceONX404BT", u"ONX404BT", 46, 1, 36, 15, 'A', &Make<VkcDeviceONX404BT>},
    {47, "VkcDeviceONX404BT_GSM", u"ONX404BT_GSM", 47, 1, 36, 15, 'A', &Make<VkcDeviceONX404BT_GSM>},
    {48, "VkcDeviceVK400BT", u"VK400BT", 48, 1, 36, 15, 'A', &Make<VkcDeviceVK400BT>},
    {49, "VkcDeviceVK400BT_GSM", u"VK400BT_GSM", 49, 1, 36, 15, 'A', &Make<VkcDeviceVK400BT_GSM>},
    {50, "VkcDeviceONX104BT", u"ONX104BT", 50, 1, 36, 15, 'A', &Make<VkcDeviceONX104BT>},
    {57, "VkcDeviceVK100BT", u"VK100BT", 57, 1, 36, 15, 'A', &Make<VkcDeviceVK100BT>},
    {58, "VkcDeviceKEV400Rx", u"KEV/VK400Rx", 58, 1, 0, 0, 'Z', &Make<VkcDeviceKEV400Rx>},
    {64, "VkcDeviceONX101", u"ONX101", 64, 1, 30, 15, 'A', &Make<VkcDeviceONX101>},
    {69, "VkcDeviceBeaconOEM", u"Beacon", 69, 1, 0, 0, 'Z', &Make<VkcDeviceBeaconOEM>},
    {70, "VkcDeviceVK100BT_GSM", u"VK100BT_GSM", 70, 1, 36, 15, 'A', &Make<VkcDeviceVK100BT_GSM>},
    {71, "VkcDeviceONX104BT_GSM", u"ONX104BT_GSM", 71, 1, 36, 15, 'A', &Make<VkcDeviceONX104BT_GSM>},
    {74, "VkcDeviceONX401", u"ONX401", 74, 1, 30, 15, 'B', &Make<VkcDeviceONX401>},
    {83, "VkcDeviceVK401Tx", u"VK400Tx", 83, 1, 30, 15, 'B', &Make<VkcDeviceVK401Tx>},
    {100, "VkcDeviceVK404AF", u"VK404AF", 100, 1, 36, 15, 'A', &Make<VkcDeviceVK404AF>},
    {111, "VkcDeviceUHFSSRX_UHF", u"KEV400Rx(UHFSSRX)", 111, 1, 0, 0, 'Z', &Make<VkcDeviceUHFSSRX_UHF>},
    {112, "VkcDeviceKEV400RxS", u"KEV/VK400RxS", 112, 1, 0, 0, 'Z', &Make<VkcDeviceKEV400RxS>},
    {201, "VkcDeviceVK100Tx201", u"VK100Tx", 201, 1, 30, 15, 'A', &Make<VkcDeviceVK100Tx201>},
    {741, "VkcDeviceONX401_514", u"ONX401", 741, 1, 30, 15, 'B', &Make<VkcDeviceONX401_514>},
    {931, "VkcDeviceONX401S", u"ONX401S", 931, 1, 30, 15, 'B', &Make<VkcDeviceONX401S>},
    {1001, "VkcDeviceUHFGolden", u"UHF Golden Unit", 1001, 1, 33, 13, 'A', &Make<VkcDeviceUHFGolden>},
    {1002, "VkcDeviceVHFGolden", u"VHF Golden Unit", 1002, 1, 33, 13, 'A', &Make<VkcDeviceVHFGolden>},
    {1112, "VkcDeviceUHFSSRX_FH", u"N/A", 0, 0, 0, 0, 'Z', &Make<VkcDeviceUHFSSRX_FH>},
    {3601, "VkcDeviceBeacon", u"L-Band", 36, 1, 0, 0, 'Z', &Make<VkcDeviceBeacon>},
};

}  // namespace

std::span<const VkcModelRow> ModelTable() { return kModels; }

const VkcModelRow* FindModelRow(int key) {
  auto it = std::lower_bound(std::begin(kModels), std::end(kModels), key,
                             [](const VkcModelRow& row, int k) { return row.key < k; });
  return it != std::end(kModels) && it->key == key ? &*it : nullptr;
}

const VkcLimitSet& FindLimitSet(char letter) {
  for (const VkcLimitSet& set : kLimitSets) {
    if (set.letter == letter) return set;
  }
  return kLimitSets[4];
}
