#include "platform/file_attributes.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vantor {
namespace {

namespace fs = std::filesystem;

class FileAttributes : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    path_ = fs::path(::testing::TempDir()) / ("vantor_attributes_" + name + ".bin");
    std::ofstream(path_) << "bank";
  }
  void TearDown() override {
    SetReadOnly(path_, false);
    fs::remove(path_);
  }
  bool Writable() const {
    return (fs::status(path_).permissions() & fs::perms::owner_write) != fs::perms::none;
  }
  fs::path path_;
};

TEST_F(FileAttributes, ReadOnlyIsSetAndCleared) {
  ASSERT_TRUE(Writable());
  EXPECT_EQ(SetReadOnly(path_, true), 0);
  EXPECT_FALSE(Writable());
  EXPECT_EQ((fs::status(path_).permissions() & (fs::perms::group_write | fs::perms::others_write)), fs::perms::none);
  EXPECT_EQ(SetReadOnly(path_, false), 0);
  EXPECT_TRUE(Writable());
}

TEST_F(FileAttributes, HiddenSucceedsOnAnExistingFile) { EXPECT_EQ(SetHiddenAttribute(path_), 0); }

TEST_F(FileAttributes, MissingFilesFail) {
  const fs::path missing = path_.string() + ".missing";
  EXPECT_EQ(SetReadOnly(missing, true), -1);
  EXPECT_EQ(SetHiddenAttribute(missing), -1);
}

}  // namespace
}  // namespace vantor
