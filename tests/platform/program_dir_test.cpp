#include "platform/program_dir.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vantor {
namespace {

TEST(ProgramDirectory, IsTheTestProgramsFolderWithATrailingSeparator) {
  const std::filesystem::path dir = ProgramDirectory();
  ASSERT_FALSE(dir.empty());
  const std::string text = dir.string();
  EXPECT_EQ(text.back(), static_cast<char>(std::filesystem::path::preferred_separator));
  EXPECT_TRUE(std::filesystem::equivalent(dir, std::filesystem::path(VANTOR_BINARY_DIR) / "tests"));
  EXPECT_TRUE(std::filesystem::exists(dir / "test_platform"));
}

// Settings stay beside the program where files can be made there; an
// installation shared by every user sends them to the user's own folder.
TEST(SettingsDirectory, BesideTheProgramWhenWritableElseTheUsersOwnFolder) {
  namespace fs = std::filesystem;
  const test::TempDir dir;
  const fs::path scratch = dir.Path();
  fs::create_directories(scratch / "program");
  const fs::path user = scratch / "home" / "vantor" / "";
  struct Case {
    fs::path program, user, expected;
  } cases[] = {
      {scratch / "program" / "", user, scratch / "program" / ""},
      {scratch / "missing" / "", user, user},
      {scratch / "missing" / "", fs::path(), fs::path()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SettingsDirectoryFor(c.program, c.user), c.expected) << c.program;
    EXPECT_TRUE(fs::is_empty(scratch / "program"));  // the probe leaves nothing behind
  }
  EXPECT_TRUE(fs::is_directory(user));
  EXPECT_EQ(SettingsDirectory(), ProgramDirectory());  // a build folder is writable
}

}  // namespace
}  // namespace vantor
