#include "app/PowerRange.h"

#include "devices/VkcDevice.h"

PowerRange PowerRange::FromDbm(int minDbm, int maxDbm, PowerUnit unit, bool extended) {
  PowerRange range{minDbm, maxDbm, unit, extended};
  if (unit == PowerUnit::Milliwatt) {
    range.min = VkcDevice::DbmToMilliwatts(minDbm, extended);
    range.max = VkcDevice::DbmToMilliwatts(maxDbm, extended);
  }
  return range;
}

int PowerRange::DealerMaximum(int dealerMaxDbm, int deviceMinDbm, int deviceMaxDbm) {
  return dealerMaxDbm < deviceMinDbm || dealerMaxDbm > deviceMaxDbm ? deviceMaxDbm : dealerMaxDbm;
}

int PowerRange::FromDbmValue(int dbm) const {
  return unit == PowerUnit::Milliwatt ? VkcDevice::DbmToMilliwatts(dbm, extended) : dbm;
}

int PowerRange::ToDbmValue(int shown) const {
  return unit == PowerUnit::Milliwatt ? VkcDevice::MilliwattsToDbm(shown, extended) : shown;
}

int PowerRange::Convert(int value, PowerUnit from, PowerUnit to, bool extended) {
  if (from == to) return value;
  return to == PowerUnit::Milliwatt ? VkcDevice::DbmToMilliwatts(value, extended)
                                    : VkcDevice::MilliwattsToDbm(value, extended);
}
