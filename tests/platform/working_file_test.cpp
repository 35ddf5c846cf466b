// A working file never touches anything but its own unique name and, on
// commit, its destination.

#include "platform/working_file.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/same_file.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;

class WorkingFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vantor_wf_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                        "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  static void Put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  static std::string Get(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.insert(entry.path().filename().string());
    return names;
  }

  fs::path dir_;
};

TEST_F(WorkingFileTest, CommitReplacesOnlyTheDestinationAndDiscardLeavesEverythingAsItWas) {
  const fs::path out = dir_ / "L";
  Put(out, "old");
  Put(dir_ / "L.part", "someone else's");  // a name an earlier fixed-name scheme would have taken
  for (const bool commit : {false, true}) {
    WorkingFile file;
    ASSERT_TRUE(file.Create(out));
    EXPECT_FALSE(IsSameFile(file.Path(), dir_ / "L.part"));
    EXPECT_EQ(file.Path().parent_path(), dir_);
    std::fputs("new", file.Get());
    if (commit) {
      EXPECT_TRUE(file.Commit());
    } else {
      file.Discard();
    }
    EXPECT_EQ(Get(out), commit ? "new" : "old");
    EXPECT_EQ(Get(dir_ / "L.part"), "someone else's");
    EXPECT_EQ(Names(), (std::set<std::string>{"L", "L.part"}));
  }
}

TEST_F(WorkingFileTest, TwoWritersOfOneDestinationGetTheirOwnNamesAndAnUncommittedOneCleansUp) {
  {
    WorkingFile a, b;
    ASSERT_TRUE(a.Create(dir_ / "out.bin"));
    ASSERT_TRUE(b.Create(dir_ / "out.bin"));
    EXPECT_NE(a.Path(), b.Path());
    EXPECT_EQ(Names().size(), 2u);
  }
  EXPECT_TRUE(Names().empty());
}

TEST_F(WorkingFileTest, AFolderThatDoesNotExistIsReportedNotCreated) {
  WorkingFile file;
  std::string error;
  EXPECT_FALSE(file.Create(dir_ / "missing" / "out.bin", &error));
  EXPECT_NE(error.find("out.bin"), std::string::npos);
  EXPECT_FALSE(file.Commit());
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

// A device (say /dev/null given as an output) or a folder is never replaced by a file.
TEST_F(WorkingFileTest, ADestinationThatIsNoRegularFileIsRefused) {
  fs::create_directory(dir_ / "folder");
  std::vector<fs::path> destinations{dir_ / "folder"};
#ifndef _WIN32
  ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  destinations.push_back(dir_ / "fifo");
#endif
  for (const fs::path& destination : destinations) {
    WorkingFile file;
    std::string error;
    EXPECT_FALSE(file.Create(destination, &error)) << destination;
    EXPECT_EQ(error, destination.string() + " is not a regular file");
  }
  EXPECT_EQ(Names().size(), destinations.size());
  EXPECT_TRUE(fs::is_directory(dir_ / "folder"));
}

}  // namespace
}  // namespace vantor
