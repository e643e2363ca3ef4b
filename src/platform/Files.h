#pragma once
// Whole-file reads and atomic writes. A write builds the content in memory, writes it to a
// temporary file in the same folder, syncs it, renames it over the old file (keeping the old
// file's mode) and syncs the folder; a failure at any step leaves the old file byte-identical.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform {

constexpr size_t kMaxArchiveFileSize = 64u * 1024u * 1024u;

enum class ReadResult { Ok, Missing, TooLarge, Error };

// Reads the whole file into out. Files larger than maxBytes are refused (TooLarge) without
// reading them. error receives a readable reason when not Ok.
ReadResult ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, size_t maxBytes,
                         std::string* error = nullptr);

// Writes data to path atomically; creates missing parent folders when createDirs is set.
bool WriteFileAtomic(const std::string& path, std::span<const uint8_t> data, std::string* error = nullptr,
                     bool createDirs = false);

// The steps of an atomic write, so tests can make one of them fail (tests run as root, so file
// modes cannot make a write fail).
enum class WriteStep { CreateTemp, Write, SyncFile, Rename, SyncFolder };
void SetWriteFailureForTest(std::optional<WriteStep> step);

// Creates the folder and its parents (mode 0700 for new ones). True when it exists afterwards.
bool MakeFolders(const std::string& path);

}  // namespace platform
