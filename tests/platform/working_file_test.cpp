// A working file never touches anything but its own unique name and, on
// commit, its destination.

#include "platform/working_file.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <set>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;

class WorkingFileTest : public ::testing::Test {
 protected:
  std::set<std::string> Names() const { return test::Names(scratch_.Path()); }

  test::TempDir scratch_;
  const fs::path dir_{scratch_.Path()};
};

TEST_F(WorkingFileTest, CommitReplacesOnlyTheDestinationAndDiscardLeavesEverythingAsItWas) {
  const std::string out = scratch_.File("L"), part = scratch_.File("L.part");
  test::WriteText(out, "old");
  test::WriteText(part, "someone else's");  // a name an earlier fixed-name scheme would have taken
  for (const bool commit : {false, true}) {
    WorkingFile file;
    ASSERT_TRUE(file.Create(out));
    EXPECT_EQ(file.Path().parent_path(), dir_);
    std::fputs("new", file.Get());
    if (commit) {
      EXPECT_TRUE(file.Commit());
    } else {
      file.Discard();
    }
    EXPECT_EQ(test::ReadText(out), commit ? "new" : "old");
    EXPECT_EQ(test::ReadText(part), "someone else's");
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
