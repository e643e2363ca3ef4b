#include "unit/BertStatFile.h"

#include <cerrno>
#include <cinttypes>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "link/Format.h"

namespace bertfile {

namespace {

const char* const kDays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};

std::string Failure(const std::string& path, int err) { return path + ": " + std::strerror(err); }

// Writes the whole text at the end of the open file and syncs it.
bool WriteAtEnd(int fd, const std::string& text, int& err) {
  if (::lseek(fd, 0, SEEK_END) < 0) return err = errno, false;
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return err = n < 0 ? errno : EIO, false;
    done += static_cast<size_t>(n);
  }
  if (::fdatasync(fd) != 0) return err = errno, false;
  return true;
}

// Opens for writing with no other writer at the same time (an advisory lock on Linux).
int OpenLocked(const std::string& path, int flags, int& err) {
  int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_DSYNC, 0666);
  if (fd < 0) return err = errno, -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    err = errno;
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::string FormatDate(std::time_t when) {
  std::tm t{};
  localtime_r(&when, &t);
  return StrPrintf("%s, %s %02d, %d, %02d:%02d:%02d", kDays[t.tm_wday % 7], kMonths[t.tm_mon % 12], t.tm_mday,
                   t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
}

std::string TransmitHeader(const BertHeaderInfo& info) {
  return StrPrintf("BER Test for %s\r\nOn %s\r\nModulation: %s\r\nChannel Spacing: %g kHz\r\nFrequency: %g MHz\r\n"
                   "Sec.\tBits\tFrames\tRate\tTemperature\r\n",
                   info.serial.c_str(), FormatDate(info.when).c_str(), info.modulation.c_str(), info.spacingKHz,
                   info.frequencyMHz);
}

std::string ReceiveHeader(const BertHeaderInfo& info) {
  return StrPrintf("BER Test for %s\r\nOn %s\r\nChannel Spacing: %g kHz\r\nFrequency: %g MHz\r\n\r\n"
                   "Sec.\tBits\tFrames\tRate\tTemperature\tRSL\tBER\r\n",
                   info.serial.c_str(), FormatDate(info.when).c_str(), info.spacingKHz, info.frequencyMHz);
}

std::string TransmitRow(const BertStatistics& now, const BertStatistics& previous) {
  return StrPrintf("%ld\t%" PRId64 "\t%" PRId64 "\t%d\t%d\r\n", static_cast<long>(now.elapsedSeconds),
                   static_cast<int64_t>(now.bitsSent - previous.bitsSent),
                   static_cast<int64_t>(now.framesSent - previous.framesSent), static_cast<int>(now.rate),
                   now.temperature);
}

std::string ReceiveRow(const BertStatistics& now, const BertStatistics& previous, double ber) {
  return StrPrintf("%ld\t%" PRId64 "\t%" PRId64 "\t%g\t%d\t%d\t%3.1E\r\n", static_cast<long>(now.elapsedSeconds),
                   static_cast<int64_t>(now.bitsReceived - previous.bitsReceived),
                   static_cast<int64_t>(now.bytesReceived - previous.bytesReceived), now.rate, now.temperature,
                   now.rssi, ber);
}

double BitErrorRate(const BertStatistics& stats) {
  if (stats.bitsReceived == 0) return 0.0;
  return static_cast<double>(stats.bitErrors) / static_cast<double>(stats.bitsReceived);
}

std::string FormatBer(double ber) { return StrPrintf("%3.1E", ber); }

bool WriteHeader(const std::string& path, const std::string& header, std::string* error) {
  int err = 0;
  bool created = false;
  int fd = OpenLocked(path, O_WRONLY, err);
  if (fd < 0 && err == ENOENT) {
    fd = OpenLocked(path, O_WRONLY | O_CREAT, err);
    created = fd >= 0;
  }
  if (fd < 0) {
    if (error) *error = Failure(path, err);
    return false;
  }
  // An existing file, even an empty one, keeps its runs apart by four line ends.
  bool ok = WriteAtEnd(fd, created ? header : "\r\n\r\n\r\n\r\n" + header, err);
  ::close(fd);
  if (!ok && error) *error = Failure(path, err);
  return ok;
}

bool AppendRow(const std::string& path, const std::string& row, std::string* error) {
  int err = 0;
  int fd = OpenLocked(path, O_RDWR, err);
  bool ok = fd >= 0 && WriteAtEnd(fd, row, err);
  if (fd >= 0) ::close(fd);
  if (!ok && error) *error = Failure(path, err);
  return ok;
}

}  // namespace bertfile
