#pragma once
// The two exceptions an archiver built with a path throws: the user exception for framing and
// settings-key errors, the file exception for errors of the file itself (with its cause).

#include <stdexcept>
#include <string>

class CfgArchiveError : public std::runtime_error {
 public:
  explicit CfgArchiveError(const std::string& what) : std::runtime_error(what) {}
};

class CfgFileError : public std::runtime_error {
 public:
  // cause: an errno value (ENOENT for a missing file, EFBIG for one over the size bound).
  CfgFileError(int cause, std::string path, const std::string& what)
      : std::runtime_error(what), cause_(cause), path_(std::move(path)) {}
  int Cause() const { return cause_; }
  const std::string& Path() const { return path_; }

 private:
  int cause_;
  std::string path_;
};
