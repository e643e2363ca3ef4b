#pragma once
// What the printed configuration report says about the connected unit: three sections of label and
// value rows, read from the unit's identification, its current model and its images. Plain texts
// only; the paper layout is built from them in the reports library.

#include <string>
#include <vector>

class VkcSystem;

struct VkcReportRow {
  std::u16string label;
  std::u16string value;
  // A row whose value is a small table of its own (alarm outputs, ports, sleep settings).
  std::vector<VkcReportRow> nested;
};

struct VkcReportSection {
  std::u16string heading;
  std::vector<VkcReportRow> rows;
  // Dealer section only: one row per channel of the channel map, empty when there is none.
  std::vector<VkcReportRow> channelMap;
};

// The sections "Identification", "Dealer Configuration" and "Unit Settings", in that order. Reads
// the images without adding nodes to them.
std::vector<VkcReportSection> BuildConfigurationReportContent(VkcSystem& system);

// Frequencies and spacings are shown with up to ten significant digits, so 450006250 Hz reads
// "450.00625" and a 6.25 kHz raster "6.25", whatever the user's locale.
std::u16string FormatReportNumber(double value);
