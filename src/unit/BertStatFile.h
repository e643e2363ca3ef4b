#pragma once
// The BERT statistics file: a narrow text log with CR LF line ends that both BERT pages append to.
// Each run starts with a header (after four empty line ends when the file has text already); each
// 7-second step adds one row. Every header and every row goes to the file in one write, so a
// stopped test or a closed program never leaves half a row behind.

#include <cstdint>
#include <ctime>
#include <string>

#include "unit/BertStatistics.h"

struct BertHeaderInfo {
  std::string serial;        // the unit's serial number, groups joined by "-"
  std::time_t when = 0;      // shown in local time
  std::string modulation;    // transmit header only
  double spacingKHz = 0;
  double frequencyMHz = 0;
};

namespace bertfile {

// "%A, %B %d, %Y, %H:%M:%S" with English names, whatever the user's locale.
std::string FormatDate(std::time_t when);
std::string TransmitHeader(const BertHeaderInfo& info);
std::string ReceiveHeader(const BertHeaderInfo& info);
// Counts since the copy kept at the previous row.
std::string TransmitRow(const BertStatistics& now, const BertStatistics& previous);
std::string ReceiveRow(const BertStatistics& now, const BertStatistics& previous, double ber);
// Errored bits over received bits from the 64-bit counters; 0 before any bit arrived.
double BitErrorRate(const BertStatistics& stats);
std::string FormatBer(double ber);  // "%3.1E"

// Opens the file for writing (creating it when missing), denying other writers, and writes the
// header. error: "<path>: <reason>".
bool WriteHeader(const std::string& path, const std::string& header, std::string* error);
// Appends a row to an existing file.
bool AppendRow(const std::string& path, const std::string& row, std::string* error);

}  // namespace bertfile
