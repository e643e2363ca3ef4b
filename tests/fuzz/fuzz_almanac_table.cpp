// The almanac table a beacon receiver sends: parsed into the series store, whose stations are then
// read back as the chart draws them; a second table must replace the first whole.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "unit/AlmanacSeriesStore.h"
#include "unit/VkcAlmanacUtilityController.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view table(reinterpret_cast<const char*>(data), size);
  AlmanacSeriesStore store;
  const uint32_t result = VkcAlmanacUtilityController::ParseTable(table, store);
  if (result == 0 && store.GetMessage().size() != 0) __builtin_trap();
  double sum = 0;
  for (const AlmanacStation& s : store.GetStations()) sum += s.x0 + s.y0 + AlmanacSeriesStore::ColorOf(s.code);
  (void)sum;
  VkcAlmanacUtilityController::ParseTable("300000,-80,1,7", store);
  if (store.GetCount() != 1) __builtin_trap();
  return 0;
}
