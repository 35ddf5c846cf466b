#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/tool_process.h"
#include "support/analysis_samples.h"
#include "support/analysis_test_support.h"
#include "settings/settings_io.h"

namespace vantor {
namespace {

using namespace testlog;

using apptest::ToolRun;

// The flags, not the configuration, choose a dump's form, and the
// configuration is left as it was; the rows' content is the log library's.
TEST(VantorDump, FlagsChooseTheFormAndTheToolSaysWhichFileItWrote) {
  TempDir dir;
  LogBuilder().Raw(BuildLogA()).Save(dir.File("a.dat"));
  Settings settings = SettingsA();
  settings.anaCsv = 1;
  const std::string cfg = dir.File("test.cfg");
  WriteSettings(cfg, MainProgramSettingsTable(), &settings, {});
  const std::string before = ReadAll(cfg);
  ToolRun run = apptest::RunTool("dump " + dir.File("a.dat") + " --config " + cfg);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, dir.File("a.ORV") + "\n");
  EXPECT_EQ(ReadAll(cfg), before);
  // A device takes the rows itself: no file name follows them. The
  // configuration's units apply.
  run = apptest::RunTool("dump " + dir.File("a.dat") + " --csv --single-header -o /dev/stdout --config " + cfg);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, Golden("dump_a_single.csv"));
  run = apptest::RunTool("view " + dir.File("a.dat"));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(run.out.empty());
  EXPECT_EQ(apptest::RunTool("dump " + dir.File("a.dat") + " --msl --csv").status, 2);
}

// A command that reads a log names the file when it cannot use it, and
// fails with 1 and no output file: a missing log, a log that cannot be read
// (a directory opens as a file on POSIX), a file in which no frame passes
// its check, a number that is none; a dump names the output it cannot open
// or write.
TEST(VantorLogs, FailuresNameTheFileAndExitWithOne) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("d.dat"));
  test::WriteText(dir.File("garbage.dat"), std::string(5000, 'g'));
  LogBuilder().Raw(BuildLogA()).Save(dir.File("a.dat"));
  const struct {
    std::string command;
    int status;
    std::string message;
  } cases[] = {
      {"frames {dir}/missing.dat", 1, "vantor frames: Can not open Data Log File: {dir}/missing.dat\n"},
      {"dump {dir}/d.dat", 1, "vantor dump: Error Reading the Data Log File: {dir}/d.dat\n"},
      {"view {dir}/d.dat", 1, "vantor view: Error Reading the Data Log File: {dir}/d.dat\n"},
      {"dump {dir}/garbage.dat", 1,
       "vantor dump: Not a Data Log File: {dir}/garbage.dat (no frame passes its check)\n"},
      {"qtr {dir}/garbage.dat --line x", 2, "vantor qtr: --line: 'x' is not a number from 0 to 2147483647\n"},
      {"dump {dir}/a.dat -o {dir}/no/dir/out.csv", 1, "vantor dump: Can Not Open Output File: {dir}/no/dir/out.csv\n"},
      {"dump {dir}/a.dat -o /dev/full", 1, "vantor dump: Error Writing to File: /dev/full (Disk Full?)\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const ToolRun run = apptest::RunTool(apptest::InDir(c.command, dir.Path()));
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, apptest::InDir(c.message, dir.Path()));
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(test::Names(dir.Path()), (std::set<std::string>{"a.dat", "d.dat", "garbage.dat"}));
  for (const char* usage : {"dump", "dump a b"}) EXPECT_EQ(apptest::RunTool(usage).status, 2) << usage;
  EXPECT_EQ(apptest::RunTool("dump --help").status, 0);
}

// The results are the quarter-mile library's; the tool picks the line.
TEST(VantorQtr, RunsFromAnyLineOfTheTable) {
  LogBuilder log;
  for (int i = 0; i < 200; ++i) log.Frame(BaseFrame(static_cast<unsigned>(i / 17), static_cast<unsigned>(4 * i % 256)));
  TempDir dir;
  log.Save(dir.File("run.dat"));
  const ToolRun run = apptest::RunTool("qtr " + dir.File("run.dat") + " --line 199");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("1/4 Mile:"), std::string::npos) << run.out;
  EXPECT_EQ(apptest::RunTool("qtr " + dir.File("run.dat") + " --line 200").status, 1);
}

}  // namespace
}  // namespace vantor
