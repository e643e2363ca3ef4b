#include "chart/CChartDateTimeAxis.h"

#include <cmath>
#include <ctime>

#include <QString>

namespace {

constexpr double kSecondsPerDay = 86400.0;
const char* const kFormats[] = {"%H:%M:%S", "%H:%M", "%H:00", "%d %b", "%b %Y", "%Y"};
// Interval lengths in days for choosing a step; months and years by their mean length.
constexpr double kLengths[] = {1 / kSecondsPerDay, 60 / kSecondsPerDay, 1 / 24.0, 1, 30.44, 365.25};

// Days from 1970-01-01 to a civil date and back (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

// OLE day 0 is 1899-12-30, 25569 days before 1970-01-01.
constexpr long long kOleToUnixDays = 25569;

// Dates far outside the calendar are not formatted or stepped.
bool Usable(double value) { return std::isfinite(value) && std::fabs(value) < 3.0e6; }

}  // namespace

double CChartDateTimeAxis::MakeDate(int year, int month, int day, int hour, int minute, int second) {
  const long long days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kOleToUnixDays;
  return static_cast<double>(days) + (hour * 3600 + minute * 60 + second) / kSecondsPerDay;
}

std::string CChartDateTimeAxis::FormatDate(double oleDate, const std::string& format) {
  if (!Usable(oleDate)) return {};
  // Rounded to the second so that 09:59:59.9999 reads 10:00:00.
  const long long totalSeconds = std::llround(oleDate * kSecondsPerDay);
  long long days = totalSeconds / 86400;
  long long secs = totalSeconds % 86400;
  if (secs < 0) {
    secs += 86400;
    --days;
  }
  long long y;
  unsigned m, d;
  CivilFromDays(days - kOleToUnixDays, y, m, d);
  std::tm tm{};
  tm.tm_year = static_cast<int>(y - 1900);
  tm.tm_mon = static_cast<int>(m) - 1;
  tm.tm_mday = static_cast<int>(d);
  tm.tm_hour = static_cast<int>(secs / 3600);
  tm.tm_min = static_cast<int>(secs / 60 % 60);
  tm.tm_sec = static_cast<int>(secs % 60);
  tm.tm_wday = static_cast<int>(((days - kOleToUnixDays) % 7 + 11) % 7);  // 1970-01-01 was a Thursday
  char buf[128];
  // The format is the owner's to choose, so it cannot be a literal.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const size_t n = std::strftime(buf, sizeof buf, format.c_str(), &tm);
#pragma GCC diagnostic pop
  return std::string(buf, n);
}

double CChartDateTimeAxis::Add(double value, int interval, int count) {
  if (interval < kMonth) return value + count * kLengths[interval];
  const long long day = static_cast<long long>(std::floor(value));
  const double time = value - static_cast<double>(day);
  long long y;
  unsigned m, d;
  CivilFromDays(day - kOleToUnixDays, y, m, d);
  long long months = y * 12 + (m - 1) + (interval == kMonth ? count : 12LL * count);
  y = months >= 0 ? months / 12 : (months - 11) / 12;
  m = static_cast<unsigned>(months - y * 12) + 1;
  if (d > 28) d = 28;  // ticks sit on the first of a month; a later day never runs past a month's end
  return static_cast<double>(DaysFromCivil(y, m, d) + kOleToUnixDays) + time;
}

double CChartDateTimeAxis::Floor(double value, int interval, int multiplier) {
  if (interval < kDay) {
    const double unit = kLengths[interval] * multiplier;
    return std::floor(value / unit + 1e-9) * unit;
  }
  const long long day = static_cast<long long>(std::floor(value + 1e-9));
  if (interval == kDay) return static_cast<double>(day - ((day % multiplier) + multiplier) % multiplier);
  long long y;
  unsigned m, d;
  CivilFromDays(day - kOleToUnixDays, y, m, d);
  if (interval == kMonth) {
    long long months = y * 12 + (m - 1);
    months -= ((months % multiplier) + multiplier) % multiplier;
    y = months >= 0 ? months / 12 : (months - 11) / 12;
    m = static_cast<unsigned>(months - y * 12) + 1;
  } else {
    y -= ((y % multiplier) + multiplier) % multiplier;
    m = 1;
  }
  return static_cast<double>(DaysFromCivil(y, m, 1) + kOleToUnixDays);
}

void CChartDateTimeAxis::SetTickIncrement(bool automatic, int interval, int multiplier) {
  autoTicks_ = automatic;
  if (!automatic && interval >= kSecond && interval <= kYear && multiplier > 0) {
    interval_ = interval;
    multiplier_ = multiplier;
  }
  RefreshParent();
}

void CChartDateTimeAxis::SetTickLabelFormat(bool automatic, const std::string& format) {
  autoFormat_ = automatic || format.empty();
  format_ = format;
  RefreshParent();
}

std::string CChartDateTimeAxis::GetLabelFormat() const { return autoFormat_ ? kFormats[interval_] : format_; }

void CChartDateTimeAxis::RefreshTickIncrement() {
  if (!autoTicks_) return;
  const double range = std::fabs(max_ - min_);
  if (!Usable(range) || range == 0) return;
  // Date labels are wide: about 60 pixels a tick across, 20 down.
  const int perTick = horizontal_ ? 60 : 20;
  const int count = std::max(1, GetAxisLength() / perTick);
  const double wanted = range / count;
  static const int kMultipliers[6][6] = {{1, 2, 5, 10, 15, 30}, {1, 2, 5, 10, 15, 30}, {1, 2, 3, 6, 12, 12},
                                         {1, 2, 7, 14, 14, 14}, {1, 2, 3, 6, 6, 6},     {1, 2, 5, 10, 50, 100}};
  for (int kind = kSecond; kind <= kYear; ++kind) {
    for (int mul : kMultipliers[kind]) {
      if (kLengths[kind] * mul >= wanted || (kind == kYear && mul == 100)) {
        interval_ = kind;
        multiplier_ = kind == kYear ? std::max(mul, static_cast<int>(std::ceil(wanted / kLengths[kYear]))) : mul;
        return;
      }
    }
  }
}

void CChartDateTimeAxis::RefreshFirstTick() {
  if (!Usable(min_)) {
    firstTick_ = min_;
    return;
  }
  double first = Floor(min_, interval_, multiplier_);
  if (first < min_ - 1e-9) first = Add(first, interval_, multiplier_);
  firstTick_ = first;
}

double CChartDateTimeAxis::GetFirstTickValue() const {
  return discrete_ && Usable(firstTick_) ? Add(firstTick_, interval_, -multiplier_) : firstTick_;
}

bool CChartDateTimeAxis::GetNextTickValue(double current, double& next) const {
  if (!Usable(current)) return false;
  next = Add(current, interval_, multiplier_);
  return next > current && next <= max_ + 1e-9;
}

int CChartDateTimeAxis::ValueToScreenDiscrete(double value) const {
  if (!Usable(value)) return ValueToScreenStandard(value);
  const double start = Floor(value, interval_, multiplier_);
  return ValueToScreenStandard((start + Add(start, interval_, multiplier_)) / 2);
}

std::u16string CChartDateTimeAxis::GetTickLabel(double value) const {
  // strftime writes month names in the user's language, in the locale's encoding.
  return QString::fromLocal8Bit(FormatDate(value, GetLabelFormat())).toStdU16String();
}
