#pragma once
// Window message numbers that workers post, and their first parameters.

#include <cstdint>

// Progress of a task: first parameter kProgress* below.
constexpr uint32_t kMsgProgress = 2024;
constexpr intptr_t kProgressPercent = 2;      // second parameter: 0..100
constexpr intptr_t kProgressMailbox = 5;      // second parameter: address of a VkcLogMessage
constexpr intptr_t kProgressEnd = 1000;       // second parameter: 1 success, 2 failure or stop
constexpr intptr_t kProgressDownloadEnd = 2000;
constexpr intptr_t kProgressSurveyUnit = 3000;
constexpr intptr_t kProgressSurveyRedraw = 3001;
constexpr intptr_t kProgressSurveyEnd = 3;
constexpr intptr_t kProgressLoaderEnd = 3;

constexpr uint32_t kMsgTerminalData = 2025;
constexpr uint32_t kMsgBert = 1040;
constexpr uint32_t kMsgLband = 1041;
constexpr uint32_t kMsgRtnUtility = 1042;
constexpr uint32_t kMsgSpectrum = 1043;
constexpr uint32_t kMsgPortStatus = 1044;
constexpr uint32_t kMsgAlmanac = 1045;

// Modal results of a progress dialog.
constexpr intptr_t kModalOk = 1;
constexpr intptr_t kModalFailed = 2;
