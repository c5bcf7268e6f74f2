#include "KPQuaslet/services/FileManager+KPExt.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

class FileManagerKPExtTest : public ios::testing::PlatformFixture {
 protected:
  double entrySize(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return static_cast<double>(info.st_size);
  }

  kp_test::TemporaryDirectory dir_;
  ios::FileManager& fm_ = ios::FileManager::defaultManager();
  ios::testing::CapturedOutput out_;
};

TEST_F(FileManagerKPExtTest, FileSizesInBytesAndMegabytes) {
  const auto small = dir_.writeFile("a.bin", 2048);
  const auto mega = dir_.writeFile("m.bin", 1048576);
  EXPECT_EQ(kp::fileSizeAtPath(small), 2048.0f);
  EXPECT_EQ(kp::fileSizeAtPath(dir_.path() + "/missing"), 0.0f);
  EXPECT_EQ(kp::getFileSizeWithPath(fm_, mega), 1.0);
  EXPECT_EQ(kp::getFileSizeWithPath(fm_, dir_.path() + "/missing"), 0.0);
  EXPECT_EQ(out_.text(), "");
}

TEST_F(FileManagerKPExtTest, FolderSizeCountsImmediateEntriesAndPrintsTheByteTotal) {
  dir_.writeFile("f/a.bin", 2048);
  const auto folder = dir_.path() + "/f";
  EXPECT_FLOAT_EQ(kp::folderSizeAtPath(folder), 2048.0f / 1048576.0f);
  EXPECT_EQ(out_.text(), "2048.0\n");

  out_.clear();
  EXPECT_EQ(kp::folderSizeAtPath(dir_.makeFolder("empty")), 0.0f);
  EXPECT_EQ(out_.text(), "0.0\n");

  out_.clear();
  EXPECT_EQ(kp::folderSizeAtPath(""), 0.0f);
  EXPECT_EQ(kp::folderSizeAtPath(dir_.path() + "/missing"), 0.0f);
  EXPECT_EQ(out_.text(), "");
}

TEST_F(FileManagerKPExtTest, OnlyTheRecursiveSizeCountsNestedFiles) {
  dir_.writeFile("root/top.bin", 1048576);
  dir_.writeFile("root/sub/deep.bin", 1048576);
  const auto root = dir_.path() + "/root";
  const double subEntry = entrySize(root + "/sub");
  EXPECT_FLOAT_EQ(kp::folderSizeAtPath(root), static_cast<float>((1048576.0 + subEntry) / 1048576.0));
  EXPECT_DOUBLE_EQ(kp::getFolderSizeWithPath(fm_, root), 2.0 + subEntry / 1048576.0);
  EXPECT_EQ(kp::getFolderSizeWithPath(fm_, dir_.makeFolder("none")), 0.0);
  EXPECT_EQ(kp::getFolderSizeWithPath(fm_, dir_.path() + "/missing"), 0.0);
  EXPECT_EQ(kp::getFolderSizeWithPath(fm_, root + "/top.bin"), 0.0) << "a file is not a folder to list";
}

TEST_F(FileManagerKPExtTest, ClearingAFolderKeepsTheFolder) {
  dir_.writeFile("c/a.bin", 10);
  dir_.writeFile("c/sub/b.bin", 10);
  dir_.writeFile("c/sub/deeper/c.bin", 10);
  const auto folder = dir_.path() + "/c";
  EXPECT_TRUE(kp::clearFolderWithPath(fm_, folder));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_TRUE(std::filesystem::is_empty(folder));
  EXPECT_TRUE(kp::clearFolderWithPath(fm_, folder)) << "an empty folder clears trivially";
  EXPECT_FALSE(kp::clearFolderWithPath(fm_, dir_.path() + "/missing"));
  const auto file = dir_.writeFile("plain.bin", 3);
  EXPECT_FALSE(kp::clearFolderWithPath(fm_, file)) << "a file is not a folder to clear";
  EXPECT_TRUE(std::filesystem::exists(file));
}

TEST_F(FileManagerKPExtTest, ClearingReportsEntriesThatCouldNotBeRemoved) {
  // Entries of /proc cannot be unlinked, not even by root.
  EXPECT_FALSE(kp::clearFolderWithPath(fm_, "/proc/self/fdinfo"));
}

TEST_F(FileManagerKPExtTest, DiskFiguresUseUnitsOf1024Cubed) {
  {
    ios::testing::ScopedFileSystemAttributes volume(ios::FileSystemAttributes{64'000'000'000, 1'073'741'824, 0, 0});
    EXPECT_NEAR(kp::diskOfAllSizeMBytes(), 59.6, 0.01);
    EXPECT_EQ(kp::diskOfFreeSizeMBytes(), 1.0);
  }
  {
    ios::testing::ScopedFileSystemAttributes failing(std::nullopt, "volume unavailable");
    EXPECT_EQ(kp::diskOfAllSizeMBytes(), 0.0);
    EXPECT_EQ(out_.text(), "error: volume unavailable\n");
  }
  EXPECT_GT(kp::diskOfAllSizeMBytes(), 0.0) << "the real volume";
}

TEST_F(FileManagerKPExtTest, DocumentsLiveInTheHomeFolder) {
  ios::testing::ScopedHomeDirectory home(dir_.path());
  EXPECT_EQ(kp::documentsDirectory(), ios::NSHomeDirectory() + "/Documents");
  EXPECT_EQ(ios::NSHomeDirectory(),
            dir_.path() + "/.local/share/kpquaslet/containers/" + ios::applicationIdentifier())
      << "the application's container, not the user's own Documents";
}

TEST(FileManagerKPExtDeathTest, NoDocumentsFolderStopsWithAMessage) {
  ios::testing::ScopedHomeDirectory noHome("");
  EXPECT_TRUE(ios::FileManager::defaultManager().urls(ios::SearchPathDirectory::documentDirectory).empty());
  EXPECT_DEATH((void)kp::documentsDirectory(), "no Documents folder");
}

}  // namespace
