#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

#include "platform/SettingsLocation.h"
#include <filesystem>
#include "support/TestSupport.h"

using namespace platform;

namespace {
std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }
}  // namespace

TEST(Files, AtomicWriteReplacesContentAndKeepsMode) {
  testsupport::TempDir dir;
  const std::string path = dir.File("a.bin");
  ASSERT_TRUE(WriteFileAtomic(path, Bytes("old")));
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomic(path, Bytes("new content")));
  std::vector<uint8_t> got;
  ASSERT_EQ(ReadWholeFile(path, got, 1024), ReadResult::Ok);
  EXPECT_EQ(got, Bytes("new content"));
  struct stat st {};
  ::stat(path.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(Files, AFailureAtAnyStepLeavesTheOldFileIntact) {
  testsupport::TempDir dir;
  const std::string path = dir.File("settings.vkc");
  ASSERT_TRUE(WriteFileAtomic(path, Bytes("keep me")));
  for (WriteStep step : {WriteStep::CreateTemp, WriteStep::Write, WriteStep::SyncFile, WriteStep::Rename}) {
    SetWriteFailureForTest(step);
    std::string error;
    EXPECT_FALSE(WriteFileAtomic(path, Bytes("lost"), &error));
    EXPECT_FALSE(error.empty());
    SetWriteFailureForTest(std::nullopt);
    std::vector<uint8_t> got;
    ASSERT_EQ(ReadWholeFile(path, got, 1024), ReadResult::Ok);
    EXPECT_EQ(got, Bytes("keep me")) << static_cast<int>(step);
  }
  // No temporary file is left behind.
  size_t files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.Path())) (void)e, ++files;
  EXPECT_EQ(files, 1u);
}

TEST(Files, ReadTellsMissingFromTooLarge) {
  testsupport::TempDir dir;
  std::vector<uint8_t> got;
  EXPECT_EQ(ReadWholeFile(dir.File("none"), got, 10), ReadResult::Missing);
  ASSERT_TRUE(WriteFileAtomic(dir.File("big"), Bytes("0123456789AB")));
  EXPECT_EQ(ReadWholeFile(dir.File("big"), got, 10), ReadResult::TooLarge);
  EXPECT_TRUE(got.empty());
  // A folder is told as one, whatever errno held before.
  std::string error;
  errno = EAGAIN;
  EXPECT_EQ(ReadWholeFile(dir.Path(), got, 10, &error), ReadResult::Error);
  EXPECT_EQ(error, "not a regular file " + dir.Path() + ": Is a directory");
}

TEST(Files, CreatesParentFoldersOnRequest) {
  testsupport::TempDir dir;
  const std::string path = dir.Path() + "/x/y/z.bin";
  EXPECT_FALSE(WriteFileAtomic(path, Bytes("1")));
  EXPECT_TRUE(WriteFileAtomic(path, Bytes("1"), nullptr, true));
}

TEST(SettingsLocation, FollowsXdgConfigHome) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  std::string saved = old ? old : "";
  ::setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
  EXPECT_EQ(SettingsFilePath(), "/tmp/cfg/Velkor Communcations/Modulink/settings.vkc");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored, as XDG says
  ::setenv("HOME", "/home/tech", 1);
  EXPECT_EQ(SettingsFolder(), "/home/tech/.config/Velkor Communcations/Modulink");
  if (old) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1); else ::unsetenv("XDG_CONFIG_HOME");
}
