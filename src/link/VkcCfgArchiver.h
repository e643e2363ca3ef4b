#pragma once
// Writes and reads settings trees as framed node records, little-endian, to a file, to a caller's
// memory stream, or to the settings file that stands in for the program's registry key.
//
// Node framing: 'S', u32 L, u32 N, N bytes of UTF-16LE name, the body and the children, 'T'; L
// counts from its own first byte up to (not including) the 'T'. A reader skips bytes it does not
// know between the last child and the 'T'.
//
// Files are read whole (bounded) before parsing and written atomically when the archiver is
// closed, so a store that fails anywhere leaves the old file as it was. Reading checks every count
// and length against the bytes left in the enclosing node and bounds the nesting depth.
//
// Failures: an archiver built with a path throws. Framing and settings-key errors close it and
// throw CfgArchiveError; a file that cannot be opened or read throws CfgFileError with its cause,
// and so does a file that cannot be written, in every mode. Without throwing, Open, BeginNode and
// EndNode return false and the primitives do nothing once the archiver has failed (Failed()).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "link/VkcCfgArchiverErrors.h"
#include "link/VkcMemoryStream.h"

class VkcCfgArchiver {
 public:
  static constexpr uint8_t kNodeStart = 'S';
  static constexpr uint8_t kNodeEnd = 'T';
  static constexpr uint8_t kPlainRecord = 'N';
  static constexpr uint8_t kLinkRecord = 'L';
  // Registry value types of raw writes; the file format does not store them.
  static constexpr uint32_t kRegNone = 0;
  static constexpr uint32_t kRegBinary = 3;
  static constexpr size_t kMaxDepth = 64;

  // No back end; throw-on-error off.
  VkcCfgArchiver() = default;
  // Throw-on-error on, then Open.
  VkcCfgArchiver(const std::string& path, bool loading, bool registry = false);
  VkcCfgArchiver(std::u16string_view path, bool loading, bool registry = false);
  VkcCfgArchiver(const VkcCfgArchiver&) = delete;
  VkcCfgArchiver& operator=(const VkcCfgArchiver&) = delete;
  // Closes; a store still pending is written, a failure only logged. Call Close to learn of it.
  virtual ~VkcCfgArchiver();

  // File mode: path is a file. Registry mode: path is a key such as
  // "HKLM\SOFTWARE\Velkor Communcations\Modulink"; its root must be one of the registry's, and the
  // key is kept in the settings file (platform::SettingsFilePath()). A missing settings file is a
  // missing key.
  bool Open(const std::string& path, bool loading, bool registry = false);
  bool Open(std::u16string_view path, bool loading, bool registry = false);
  // Uses a caller's stream from its position (registry mode off); the stream must outlive the use.
  void Attach(VkcMemoryStream& stream, bool loading);
  void Detach();
  // Ends the archive. A store to a file (or the settings file) is written here, atomically, unless
  // the archiver has failed or a node was left open. Returns whether that went well.
  bool Close();

  void SetThrowOnError(bool on) { throw_ = on; }
  bool IsOpen() const { return open_; }
  bool IsLoading() const { return loading_; }
  bool Failed() const { return failed_; }
  // Bytes left in the node being read (or the stream outside any node); 0 when storing.
  size_t Remaining() const;
  size_t Depth() const { return frames_.size(); }

  // On load, name receives the stored name; on store it is written.
  bool BeginNode(std::u16string& name);
  bool BeginNode(std::u16string_view name);  // store only
  bool EndNode();
  // Load only: whether the next byte in the current node starts a child node.
  bool HasMoreNodes() const {
    if (!open_ || !loading_ || failed_) return false;
    const size_t pos = stream_->position_;
    return pos < Limit() && stream_->data_[pos] == kNodeStart;
  }

  VkcCfgArchiver& WriteU8(uint8_t value) {
    if (Usable(false)) Put(&value, 1);
    return *this;
  }
  VkcCfgArchiver& ReadU8(uint8_t& value) {
    if (Readable(1)) value = stream_->data_[stream_->position_++];
    return *this;
  }
  VkcCfgArchiver& WriteU32(uint32_t value) {
    if (Usable(false)) Put(&value, 4);
    return *this;
  }
  VkcCfgArchiver& ReadU32(uint32_t& value) {
    if (Readable(4)) {
      std::memcpy(&value, stream_->data_.data() + stream_->position_, 4);
      stream_->position_ += 4;
    }
    return *this;
  }
  // u32 byte count, then the bytes (no NUL).
  VkcCfgArchiver& WriteString(std::string_view text);
  VkcCfgArchiver& ReadString(std::string& text);
  // u32 byte count (2 x code units), then UTF-16LE (no NUL).
  VkcCfgArchiver& WriteWString(std::u16string_view text);
  VkcCfgArchiver& ReadWString(std::u16string& text);
  // Raw bytes as they are.
  VkcCfgArchiver& Write(const void* data, size_t length, uint32_t registryType = kRegBinary);
  VkcCfgArchiver& Read(void* data, size_t length);
  // Reads length raw bytes into out after checking they are there (no allocation beyond the data).
  VkcCfgArchiver& ReadBlock(std::vector<uint8_t>& out, size_t length);

  // Marks the archive as corrupt (throws CfgArchiveError in throw mode).
  void FailFormat(const char* what);

 private:
  struct Frame {
    size_t start;  // position of L
    size_t end;    // load: position of the node's 'T'
  };

  bool Fail(const char* what);
  bool Usable(bool forLoading) {
    return (open_ && !failed_ && loading_ == forLoading) || UsableSlow(forLoading);
  }
  bool UsableSlow(bool forLoading);
  // Whether n bytes are left to read in the current node; fails the archive when they are not or
  // when it cannot be read at all.
  bool Readable(size_t n) {
    if (open_ && loading_ && !failed_) [[likely]] {
      const size_t limit = Limit();
      const size_t pos = stream_->position_;
      return (pos <= limit && n <= limit - pos) || Fail("data ends inside a node");
    }
    return UsableSlow(true) && Take(n);
  }
  // Load: how many child nodes follow in the current node, found by stepping over their frames
  // (only to size the children ahead; the frames are checked when they are read).
  size_t ChildNodesAhead() const;
  // Store: makes room for n more bytes at once, so a large tree is not copied as the stream grows
  // (still geometrically, for streams that take one record after another).
  void ReserveAhead(size_t n) {
    if (!open_ || loading_ || failed_ || stream_->position_ != stream_->data_.size()) return;
    std::vector<uint8_t>& out = stream_->data_;
    const size_t needed = out.size() + n;
    if (needed > out.capacity()) out.reserve(std::max(needed, out.capacity() * 2));
  }
  friend class CfgNode;
  // Checks n bytes are left to read in the current node.
  bool Take(size_t n) {
    const size_t limit = Limit();
    const size_t pos = stream_->position_;
    return (pos <= limit && n <= limit - pos) || Fail("data ends inside a node");
  }
  void Put(const void* data, size_t n) {
    std::vector<uint8_t>& out = stream_->data_;
    if (stream_->position_ == out.size()) [[likely]] {  // appending, the usual case
      const auto* bytes = static_cast<const uint8_t*>(data);
      out.insert(out.end(), bytes, bytes + n);
      stream_->position_ += n;
    } else {
      stream_->Write(data, n);
    }
  }
  size_t Limit() const { return frames_.empty() ? stream_->data_.size() : frames_.back().end; }
  bool OpenFile(const std::string& file, bool loading);
  void Reset();

  VkcMemoryStream own_;
  VkcMemoryStream* stream_ = nullptr;
  std::vector<Frame> frames_;
  std::string path_;      // as given to Open
  std::string filePath_;  // the file read or to be written
  bool registry_ = false;
  bool ownFile_ = false;
  bool open_ = false;
  bool loading_ = false;
  bool throw_ = false;
  bool failed_ = false;
  size_t completedNodes_ = 0;  // store: top-level nodes ended
};
