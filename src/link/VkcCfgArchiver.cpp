#include "link/VkcCfgArchiver.h"

#include <bit>
#include <cerrno>
#include <cstring>

#include "link/Utf.h"
#include "link/VkcErrorProcessor.h"
#include "platform/Files.h"
#include "platform/SettingsLocation.h"

static_assert(std::endian::native == std::endian::little, "the archive format is little-endian");

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

bool IsRegistryRoot(std::string_view root) {
  static constexpr std::string_view kRoots[] = {"HKEY_CLASSES_ROOT",   "HKCR", "HKEY_CURRENT_CONFIG", "HKCC",
                                                "HKEY_CURRENT_USER",   "HKCU", "HKEY_LOCAL_MACHINE",  "HKLM",
                                                "HKEY_USERS",          "HKU"};
  for (std::string_view known : kRoots) {
    if (EqualsNoCase(root, known)) return true;
  }
  return false;
}

// Sets text to the UTF-16LE code units of size bytes at from (which may be unaligned). A new
// string is built at its exact size; resize would round an empty string's capacity up.
void CopyUtf16(std::u16string& text, const uint8_t* from, size_t size) {
  if (text.empty()) {
    if (size == 0) return;
    std::u16string fresh(size / 2, u'\0');
    std::memcpy(fresh.data(), from, size);
    text = std::move(fresh);
    return;
  }
  text.resize(size / 2);
  if (size) std::memcpy(text.data(), from, size);
}

int CauseOf(platform::ReadResult result) {
  switch (result) {
    case platform::ReadResult::Missing:
      return ENOENT;
    case platform::ReadResult::TooLarge:
      return EFBIG;
    default:
      return EIO;
  }
}

}  // namespace

VkcCfgArchiver::VkcCfgArchiver(const std::string& path, bool loading, bool registry) : throw_(true) {
  Open(path, loading, registry);
}

VkcCfgArchiver::VkcCfgArchiver(std::u16string_view path, bool loading, bool registry) : throw_(true) {
  Open(path, loading, registry);
}

VkcCfgArchiver::~VkcCfgArchiver() {
  try {
    Close();
  } catch (const std::exception& e) {
    ErrorLog().ReportError(0, "%s", e.what());
  }
}

void VkcCfgArchiver::Reset() {
  open_ = false;
  stream_ = nullptr;
  ownFile_ = false;
  frames_.clear();
  completedNodes_ = 0;
  own_ = VkcMemoryStream();
}

bool VkcCfgArchiver::Fail(const char* what) {
  failed_ = true;
  if (throw_) {
    Reset();
    throw CfgArchiveError(std::string("Settings archive: ") + what);
  }
  return false;
}

void VkcCfgArchiver::FailFormat(const char* what) { Fail(what); }

bool VkcCfgArchiver::UsableSlow(bool forLoading) {
  if (failed_) return false;
  if (!open_) return Fail("not open");
  if (loading_ != forLoading) return Fail(forLoading ? "read while storing" : "write while loading");
  return true;
}

size_t VkcCfgArchiver::Remaining() const {
  if (!open_ || !loading_ || failed_) return 0;
  const size_t limit = Limit();
  return stream_->position_ < limit ? limit - stream_->position_ : 0;
}

bool VkcCfgArchiver::Open(std::u16string_view path, bool loading, bool registry) {
  return Open(Utf16ToUtf8(path), loading, registry);
}

bool VkcCfgArchiver::Open(const std::string& path, bool loading, bool registry) {
  Close();
  failed_ = false;
  path_ = path;
  registry_ = registry;
  loading_ = loading;
  std::string file = path;
  if (registry) {
    // The key lives in the one settings file; only its root is checked, as the registry would.
    const size_t slash = path.find('\\');
    if (slash == std::string::npos) return Fail("settings key without a root key");
    if (!IsRegistryRoot(std::string_view(path).substr(0, slash))) return Fail("unknown root key");
    file = platform::SettingsFilePath();
  }
  return OpenFile(file, loading);
}

bool VkcCfgArchiver::OpenFile(const std::string& file, bool loading) {
  Reset();
  filePath_ = file;
  stream_ = &own_;
  ownFile_ = true;
  if (loading) {
    std::string error;
    const platform::ReadResult result =
        platform::ReadWholeFile(file, own_.data_, platform::kMaxArchiveFileSize, &error);
    if (result != platform::ReadResult::Ok) {
      Reset();
      if (registry_) return Fail("settings key cannot be read");
      failed_ = true;
      if (throw_) throw CfgFileError(CauseOf(result), file, error);
      return false;
    }
  }
  open_ = true;
  return true;
}

void VkcCfgArchiver::Attach(VkcMemoryStream& stream, bool loading) {
  Close();
  failed_ = false;
  registry_ = false;
  loading_ = loading;
  stream_ = &stream;
  open_ = true;
}

void VkcCfgArchiver::Detach() { Reset(); }

bool VkcCfgArchiver::Close() {
  if (!open_) {
    Reset();
    return true;
  }
  if (!ownFile_ || loading_) {
    Reset();
    return true;
  }
  // A store is written only when it holds a whole record: a failed or abandoned one keeps the old file.
  if (failed_ || !frames_.empty() || completedNodes_ == 0) {
    Reset();
    return false;
  }
  const std::vector<uint8_t> data = own_.TakeBytes();
  const std::string file = filePath_;
  const bool registry = registry_;
  Reset();
  std::string error;
  if (platform::WriteFileAtomic(file, data, &error, registry)) return true;
  if (registry) return Fail("settings key cannot be written");
  failed_ = true;
  throw CfgFileError(errno ? errno : EIO, file, error);
}

bool VkcCfgArchiver::BeginNode(std::u16string& name) {
  if (!loading_) return BeginNode(std::u16string_view(name));
  if (!Usable(true)) return false;
  if (frames_.size() >= kMaxDepth) return Fail("nodes nested too deep");
  if (!Take(1)) return false;
  const uint8_t* data = stream_->data_.data();
  size_t& pos = stream_->position_;
  if (data[pos] != kNodeStart) return Fail("node start missing");
  ++pos;
  const size_t start = pos;
  if (!Take(8)) return false;
  uint32_t length, nameSize;
  std::memcpy(&length, data + pos, 4);
  std::memcpy(&nameSize, data + pos + 4, 4);
  pos += 8;
  // The node and its closing 'T' must fit in what encloses it.
  const size_t room = Limit() - start;
  if (length < 8 || length >= room) return Fail("node length out of range");
  if (nameSize % 2 != 0) return Fail("odd name size");
  if (nameSize > length - 8) return Fail("name longer than its node");
  CopyUtf16(name, data + pos, nameSize);
  pos += nameSize;
  frames_.push_back({start, start + length});
  return true;
}

bool VkcCfgArchiver::BeginNode(std::u16string_view name) {
  if (!Usable(false)) return false;
  Put(&kNodeStart, 1);
  frames_.push_back({stream_->position_, 0});
  WriteU32(0);
  WriteU32(static_cast<uint32_t>(name.size() * 2));
  Put(name.data(), name.size() * 2);
  return true;
}

bool VkcCfgArchiver::EndNode() {
  if (!Usable(loading_)) return false;
  if (frames_.empty()) return Fail("node end without a node");
  if (loading_) {
    const size_t end = frames_.back().end;
    if (stream_->data_[end] != kNodeEnd) return Fail("node end missing");
    frames_.pop_back();
    stream_->position_ = end + 1;
    return true;
  }
  const size_t start = frames_.back().start;
  const size_t length = stream_->position_ - start;
  if (length > UINT32_MAX) return Fail("node too large");
  const auto l32 = static_cast<uint32_t>(length);
  std::memcpy(stream_->data_.data() + start, &l32, 4);
  frames_.pop_back();
  Put(&kNodeEnd, 1);
  if (frames_.empty()) ++completedNodes_;
  return true;
}

size_t VkcCfgArchiver::ChildNodesAhead() const {
  if (!open_ || !loading_ || failed_) return 0;
  const uint8_t* data = stream_->data_.data();
  const size_t limit = Limit();
  size_t pos = stream_->position_;
  size_t count = 0;
  // A frame is 'S', L (at least 8) and its closing 'T': at least 10 bytes, so count stays below the size.
  while (pos < limit && data[pos] == kNodeStart && limit - pos >= 10) {
    uint32_t length;
    std::memcpy(&length, data + pos + 1, 4);
    if (length < 8 || length > limit - pos - 2) break;
    pos += size_t{length} + 2;
    ++count;
  }
  return count;
}

VkcCfgArchiver& VkcCfgArchiver::WriteString(std::string_view text) {
  if (!Usable(false)) return *this;
  WriteU32(static_cast<uint32_t>(text.size()));
  Put(text.data(), text.size());
  return *this;
}

VkcCfgArchiver& VkcCfgArchiver::ReadString(std::string& text) {
  uint32_t size = 0;
  if (!Usable(true) || !Take(4)) return *this;
  std::memcpy(&size, stream_->data_.data() + stream_->position_, 4);
  stream_->position_ += 4;
  if (!Take(size)) return *this;
  const char* from = reinterpret_cast<const char*>(stream_->data_.data() + stream_->position_);
  // A new string holds exactly the text (assign would round an empty string's capacity up).
  if (text.empty()) {
    text = std::string(from, size);
  } else {
    text.assign(from, size);
  }
  stream_->position_ += size;
  return *this;
}

VkcCfgArchiver& VkcCfgArchiver::WriteWString(std::u16string_view text) {
  if (!Usable(false)) return *this;
  WriteU32(static_cast<uint32_t>(text.size() * 2));
  Put(text.data(), text.size() * 2);
  return *this;
}

VkcCfgArchiver& VkcCfgArchiver::ReadWString(std::u16string& text) {
  uint32_t size = 0;
  if (!Usable(true) || !Take(4)) return *this;
  std::memcpy(&size, stream_->data_.data() + stream_->position_, 4);
  stream_->position_ += 4;
  if (size % 2 != 0) {
    Fail("odd text size");
    return *this;
  }
  if (!Take(size)) return *this;
  CopyUtf16(text, stream_->data_.data() + stream_->position_, size);
  stream_->position_ += size;
  return *this;
}

VkcCfgArchiver& VkcCfgArchiver::Write(const void* data, size_t length, uint32_t /*registryType*/) {
  if (Usable(false) && length) Put(data, length);
  return *this;
}

VkcCfgArchiver& VkcCfgArchiver::Read(void* data, size_t length) {
  if (Usable(true) && Take(length) && length) {
    std::memcpy(data, stream_->data_.data() + stream_->position_, length);
    stream_->position_ += length;
  }
  return *this;
}

VkcCfgArchiver& VkcCfgArchiver::ReadBlock(std::vector<uint8_t>& out, size_t length) {
  if (Usable(true) && Take(length)) {
    const uint8_t* from = stream_->data_.data() + stream_->position_;
    out.assign(from, from + length);
    stream_->position_ += length;
  }
  return *this;
}
