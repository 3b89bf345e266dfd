// Telling whether a file is still the one that was read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/framework/FileIdentity.h"

namespace {

namespace fs = std::filesystem;

class FileIdentity : public testing::Test {
 protected:
  void SetUp() override {
    FFolder = fs::temp_directory_path() / ("loupix_identity_" + std::to_string(getpid()));
    fs::create_directories(FFolder);
  }
  void TearDown() override { fs::remove_all(FFolder); }
  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = (FFolder / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  static void SetAge(const std::string& path, std::chrono::seconds age) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
  }
  fs::path FFolder;
};

TEST_F(FileIdentity, StaysWhileTheFileStays) {
  const std::string path = Write("a.jpg", "12345");
  SetAge(path, std::chrono::hours(1));
  const std::optional<TFileIdentity> first = FileIdentityOf(path);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Size, 5);
  EXPECT_EQ(FileIdentityOf(path), first);
}

TEST_F(FileIdentity, ChangesWhenTheFileIsRewrittenReplacedOrTouched) {
  const std::string path = Write("a.jpg", "12345");
  SetAge(path, std::chrono::hours(1));
  const std::optional<TFileIdentity> before = FileIdentityOf(path);
  // The same size written again in place: only the time tells.
  Write("a.jpg", "54321");
  EXPECT_NE(FileIdentityOf(path), before);
  // Another file renamed over it: another inode.
  SetAge(path, std::chrono::hours(1));
  const std::optional<TFileIdentity> rewritten = FileIdentityOf(path);
  const std::string other = Write("b.jpg", "54321");
  fs::last_write_time(other, fs::last_write_time(path));
  fs::rename(other, path);
  EXPECT_NE(FileIdentityOf(path), rewritten);
}

TEST_F(FileIdentity, NoneForWhatIsNoRegularFile) {
  EXPECT_FALSE(FileIdentityOf((FFolder / "missing.jpg").string()));
  EXPECT_FALSE(FileIdentityOf(FFolder.string()));
  const std::string pipe = (FFolder / "pipe.jpg").string();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(FileIdentityOf(pipe));
}

TEST_F(FileIdentity, ReadingGivesTheBytesAndTheIdentityOfWhatWasRead) {
  const std::string path = Write("a.jpg", "picture");
  SetAge(path, std::chrono::hours(1));
  const std::optional<TFileContents> contents = ReadFileWithIdentity(path, 100);
  ASSERT_TRUE(contents);
  EXPECT_EQ(std::string(contents->Bytes.begin(), contents->Bytes.end()), "picture");
  EXPECT_EQ(contents->Identity, FileIdentityOf(path));
  EXPECT_FALSE(contents->Racy);
}

TEST_F(FileIdentity, AFileChangedAMomentAgoCannotBeToldFromALaterChange) {
  const std::string path = Write("a.jpg", "picture");
  const std::optional<TFileContents> contents = ReadFileWithIdentity(path, 100);
  ASSERT_TRUE(contents);
  EXPECT_TRUE(contents->Racy);
}

TEST_F(FileIdentity, ReadingRefusesLargeFilesPipesAndFolders) {
  EXPECT_FALSE(ReadFileWithIdentity(Write("big.jpg", "0123456789"), 9));
  EXPECT_TRUE(ReadFileWithIdentity(Write("fits.jpg", "0123456789"), 10));
  const std::string pipe = (FFolder / "pipe.jpg").string();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(ReadFileWithIdentity(pipe, 100));  // and does not wait for a writer
  EXPECT_FALSE(ReadFileWithIdentity(FFolder.string(), 100));
  EXPECT_FALSE(ReadFileWithIdentity((FFolder / "missing.jpg").string(), 100));
}

}  // namespace
