#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace platform {

namespace {
std::atomic<int> g_failStep{-1};

bool Failing(WriteStep step) { return g_failStep.load() == static_cast<int>(step); }

void SetError(std::string* error, const std::string& what, int err) {
  if (error) *error = what + ": " + std::strerror(err);
}

std::string FolderOf(const std::string& path) {
  std::filesystem::path p(path);
  auto parent = p.parent_path();
  return parent.empty() ? std::string(".") : parent.string();
}
}  // namespace

void SetWriteFailureForTest(std::optional<WriteStep> step) {
  g_failStep.store(step ? static_cast<int>(*step) : -1);
}

bool MakeFolders(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return std::filesystem::is_directory(path, ec);
}

ReadResult ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, size_t maxBytes, std::string* error) {
  out.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    int err = errno;
    SetError(error, "cannot open " + path, err);
    return err == ENOENT ? ReadResult::Missing : ReadResult::Error;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    int err = errno;
    ::close(fd);
    SetError(error, "cannot read " + path, err);
    return ReadResult::Error;
  }
  if (!S_ISREG(st.st_mode)) {
    // The reason is what was found there; errno says nothing after a successful fstat.
    ::close(fd);
    SetError(error, "not a regular file " + path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    return ReadResult::Error;
  }
  if (static_cast<uint64_t>(st.st_size) > maxBytes) {
    ::close(fd);
    if (error) *error = path + " is larger than " + std::to_string(maxBytes) + " bytes";
    return ReadResult::TooLarge;
  }
  out.resize(static_cast<size_t>(st.st_size));
  size_t got = 0;
  while (got < out.size()) {
    ssize_t n = ::read(fd, out.data() + got, out.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int err = errno;
      ::close(fd);
      out.clear();
      SetError(error, "cannot read " + path, err);
      return ReadResult::Error;
    }
    if (n == 0) break;  // the file shrank while we read it
    got += static_cast<size_t>(n);
  }
  out.resize(got);
  ::close(fd);
  return ReadResult::Ok;
}

bool WriteFileAtomic(const std::string& path, std::span<const uint8_t> data, std::string* error, bool createDirs) {
  const std::string folder = FolderOf(path);
  if (createDirs && !MakeFolders(folder)) {
    SetError(error, "cannot create folder " + folder, errno ? errno : EACCES);
    return false;
  }
  std::string tmpl = path + ".XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  int fd = Failing(WriteStep::CreateTemp) ? (errno = EIO, -1) : ::mkstemp(name.data());
  if (fd < 0) {
    SetError(error, "cannot create a file in " + folder, errno);
    return false;
  }
  const std::string tmp(name.data());
  auto fail = [&](const std::string& what, int err) {
    ::close(fd);
    ::unlink(tmp.c_str());
    SetError(error, what, err);
    return false;
  };
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);

  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = Failing(WriteStep::Write) ? (errno = ENOSPC, -1) : ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail("cannot write " + tmp, errno);
    done += static_cast<size_t>(n);
  }
  if (Failing(WriteStep::Write) && data.empty()) return fail("cannot write " + tmp, ENOSPC);

  struct stat old {};
  mode_t mode = 0600;
  if (::stat(path.c_str(), &old) == 0) mode = old.st_mode & 07777;
  ::fchmod(fd, mode);

  if (Failing(WriteStep::SyncFile) || ::fsync(fd) != 0) return fail("cannot sync " + tmp, errno ? errno : EIO);
  if (::close(fd) != 0) {
    int err = errno;
    ::unlink(tmp.c_str());
    SetError(error, "cannot close " + tmp, err);
    return false;
  }
  if (Failing(WriteStep::Rename) || ::rename(tmp.c_str(), path.c_str()) != 0) {
    int err = Failing(WriteStep::Rename) ? EIO : errno;
    ::unlink(tmp.c_str());
    SetError(error, "cannot replace " + path, err);
    return false;
  }
  int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  bool synced = dfd >= 0 && !Failing(WriteStep::SyncFolder) && ::fsync(dfd) == 0;
  int err = errno;
  if (dfd >= 0) ::close(dfd);
  if (!synced) {
    // The new content is in place but may not survive a power loss; report it.
    SetError(error, "cannot sync folder " + folder, err ? err : EIO);
    return false;
  }
  return true;
}

}  // namespace platform
