#include "sim/SimGsmUnit.h"

#include <string>

namespace sim {

VkcConfiguration GsmUserImage(const uint8_t* serial) {
  VkcConfiguration tree;
  tree.GetChild(0).GetChildAt(0).SetString("IMAGE 1.2");
  uint8_t other[6] = {1, 1, 1, 1, 1, 1};
  tree.GetChild(1).GetChildAt(0).SetBytes(other, sizeof other);
  CfgNode& row = tree.GetChild(1).GetChildAt(1);
  row.SetBytes(serial, 6);
  row.GetChildAt(3).GetChildAt(9).SetInt(4);
  for (int k = 0; k < 4; ++k) row.GetChildAt(10).GetChildAt(k).SetString(k == 1 ? "5000" : "tcp" + std::to_string(k));
  for (int k = 0; k < 6; ++k) row.GetChildAt(9).GetChildAt(k).SetString(k == 1 ? "2101" : "ntrip" + std::to_string(k));
  for (int k = 0; k < 3; ++k) row.GetChildAt(11).GetChildAt(k).SetString(k == 0 ? "6000" : "srv" + std::to_string(k));
  row.GetChildAt(12).GetChildAt(0).SetInt(0);
  row.GetChildAt(12).GetChildAt(1).SetInt(0);
  return tree;
}

SimGsmUnit::SimGsmUnit(const VkcConfiguration& user, const uint8_t* serial) {
  IdentOptions options;
  options.modelKey = "49";
  ident = std::make_unique<SimIdent>(unit, options);
  files = std::make_unique<SimUnitControlFiles>(unit);
  VkcConfiguration factory;
  factory.GetChild(0).GetChildAt(0).SetBytes(serial, 6);
  VkcConfiguration dealer;
  dealer.GetChild(0).SetInt(49);
  files->SetSection(0, SimUnitControlFiles::Archive(factory));
  files->SetSection(1, SimUnitControlFiles::Archive(dealer));
  files->SetSection(2, SimUnitControlFiles::Archive(user));
}

SimGsmUnit::~SimGsmUnit() { files->StopTransfer(); }

}  // namespace sim
