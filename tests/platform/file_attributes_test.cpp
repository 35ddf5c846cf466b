#include "platform/file_attributes.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;

class FileAttributes : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteText(path_.string(), "bank"); }
  bool Writable() const {
    return (fs::status(path_).permissions() & fs::perms::owner_write) != fs::perms::none;
  }
  test::TempDir scratch_;
  const fs::path path_{scratch_.File("bank.bin")};
};

TEST_F(FileAttributes, ReadOnlyIsSetAndCleared) {
  EXPECT_EQ(SetReadOnly(path_, true), 0);
  EXPECT_FALSE(Writable());
  EXPECT_EQ((fs::status(path_).permissions() & (fs::perms::group_write | fs::perms::others_write)), fs::perms::none);
  EXPECT_EQ(SetReadOnly(path_, false), 0);
  EXPECT_TRUE(Writable());
}

TEST_F(FileAttributes, HiddenSucceedsOnAnExistingFileAndMissingFilesFail) {
  EXPECT_EQ(SetHiddenAttribute(path_), 0);
  const fs::path missing = path_.string() + ".missing";
  EXPECT_EQ(SetReadOnly(missing, true), -1);
  EXPECT_EQ(SetHiddenAttribute(missing), -1);
}

}  // namespace
}  // namespace vantor
