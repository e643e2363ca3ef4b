#pragma once
// The RF power range of the power pages (Wireless Interface, Dealer Configuration, BERT Transmit):
// limits in dBm or, shown in mW, converted with the device's table (extended with feature 6),
// the slider's tick, the clamp policies and the conversions between the two units.

enum class PowerUnit { Dbm = 0, Milliwatt = 1 };

struct PowerRange {
  int min = 0;  // in the unit shown
  int max = 0;
  PowerUnit unit = PowerUnit::Dbm;
  bool extended = false;

  // The limits given in dBm, shown in unit.
  static PowerRange FromDbm(int minDbm, int maxDbm, PowerUnit unit, bool extended);
  // The Wireless page's upper limit: the dealer maximum, or the device maximum when the dealer
  // maximum lies outside the device's range.
  static int DealerMaximum(int dealerMaxDbm, int deviceMinDbm, int deviceMaxDbm);

  int Tick() const { return (max - min) / 10; }
  bool Contains(int value) const { return value >= min && value <= max; }
  int Clamp(int value) const { return value < min ? min : value > max ? max : value; }
  // Only a value above the maximum is taken down (a value below the minimum is left).
  int ClampTop(int value) const { return value > max ? max : value; }

  // A dBm value in the unit shown, and back.
  int FromDbmValue(int dbm) const;
  int ToDbmValue(int shown) const;
  // A value shown in one unit, shown in the other.
  static int Convert(int value, PowerUnit from, PowerUnit to, bool extended);
};
