// A configuration write that the disk cuts short leaves the old file whole.
// The size limit is a POSIX resource limit.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/file_size_limit.h"
#include "support/temp_dir.h"
#include "settings/settings_io.h"

namespace vantor {
namespace {

TEST(SettingsReplace, FailedWriteKeepsTheOldFileAndReportsIt) {
  test::TempDir dir;
  const std::string path = dir.File("Vantor.cfg");
  Settings settings;
  settings.port = "COM2";
  WriteSettings(path, MainProgramSettingsTable(), &settings, {});
  const std::string before = test::ReadText(path);
  ASSERT_GT(before.size(), 512u);

  settings.port = "COM4";
  int reported = 0;
  {
    test::FileSizeLimit full(512);
    WriteSettings(path, MainProgramSettingsTable(), &settings, [&](const std::string&, const std::string&) { ++reported; });
  }
  EXPECT_EQ(reported, 1);
  EXPECT_EQ(test::ReadText(path), before);
  EXPECT_EQ(test::Names(dir.Path()), std::set<std::string>{"Vantor.cfg"});
}

}  // namespace
}  // namespace vantor

#endif  // _WIN32
