#pragma once
// What one print job of a chart carries between its steps.

#include "chart/ChartTypes.h"

struct ChartPrintInfo {
  ChartRect drawRect;
  int currentPage = 1;
  int maxPage = 1;
  bool continuePrinting = true;
};
