#pragma once
// The configuration report as paper items: the logo fixed at the top right, the title, and one
// framed table per section with its label and value rows.

#include "reports/VkcPaperDocument.h"

class VkcSystem;

// Screen pixels of the logo bitmap to paper units (tenths of a millimetre at 96 pixels per inch).
inline constexpr double kPaperUnitsPerPixel = 254.0 / 96.0;

void BuildConfigurationReportItems(VkcPaperDocument& document, VkcSystem& system, int paperWidth);
