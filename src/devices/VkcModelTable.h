#pragma once
// The one table of radio models: for every registry key the display name, the model id the
// prototype reports, the device interface, the output power limits and the set of the remaining
// limit words, and how to build the prototype. Model classes take their constants from here.

#include <array>
#include <cstdint>
#include <memory>
#include <span>

class VkcDevice;

struct VkcLimitSet {
  char letter;
  uint32_t record1Third;
  std::array<uint32_t, 3> record2;
  std::array<uint32_t, 3> record3;
  uint32_t limitWord;
};

struct VkcModelRow {
  int key;                 // registry key (product id the unit reports in INFO ID)
  const char* className;   // the model's class
  const char16_t* name;    // display name
  int modelId;             // product id the prototype reports (differs from the key for 1112, 3601)
  uint32_t interfaceId;    // device interface through which the command line is reached
  uint32_t maxDbm;
  uint32_t minDbm;
  char limitSet;           // 'A', 'B', 'D', 'E' or 'Z'
  std::unique_ptr<VkcDevice> (*create)();
};

// Every model in registration order (ascending key).
std::span<const VkcModelRow> ModelTable();
const VkcModelRow* FindModelRow(int key);
const VkcLimitSet& FindLimitSet(char letter);
