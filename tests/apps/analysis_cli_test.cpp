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

std::string WriteConfig(Settings settings, const TempDir& dir) {
  const std::string path = dir.File("test.cfg");
  WriteSettings(path, MainProgramSettingsTable(), &settings, {});
  return path;
}

// The flags, not the configuration, choose a dump's form; the configuration's
// units apply to the dump and the view lines, and it is left as it was.
TEST(VantorDump, FlagsChooseTheFormAndTheToolSaysWhichFileItWrote) {
  TempDir dir;
  LogBuilder().Raw(BuildLogA()).Save(dir.File("a.dat"));
  LogBuilder().Raw(BuildLogB()).Save(dir.File("b.dat"));
  const std::string metric = " --config " + WriteConfig(SettingsB(), dir);
  ToolRun run = apptest::RunTool("dump " + dir.File("b.dat") + " --csv" + metric);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, dir.File("b.csv") + "\n");
  EXPECT_EQ(ReadAll(dir.File("b.csv")), Golden("dump_b_repeated.csv"));
  run = apptest::RunTool("view " + dir.File("b.dat") + metric);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, Golden("view_b.txt"));
  Settings settings = SettingsA();
  settings.anaCsv = 1;
  settings.anaSHeader = 1;
  const std::string cfg = WriteConfig(settings, dir);
  const std::string before = ReadAll(cfg);
  run = apptest::RunTool("dump " + dir.File("a.dat") + " --config " + cfg);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadAll(dir.File("a.ORV")), Golden("dump_a_text.ORV"));
  // A device takes the rows itself: no file name follows them.
  run = apptest::RunTool("dump " + dir.File("a.dat") + " --csv --single-header -o /dev/stdout --config " + cfg);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, Golden("dump_a_single.csv"));
  EXPECT_EQ(ReadAll(cfg), before);
  run = apptest::RunTool("dump " + dir.File("a.dat") + " --msl");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, dir.File("a.msl") + "\n");
  EXPECT_EQ(apptest::RunTool("dump " + dir.File("a.dat") + " --msl --csv").status, 2);
}

// Every command that reads a log names the file when it cannot use it, and
// fails with 1 and no output file: a missing log, a log that cannot be read
// (a directory opens as a file on POSIX), a file in which no frame passes
// its check (only a dump needs one), a number that is none; a dump names
// the output it cannot open or write.
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
      {"dump {dir}/missing.dat", 1, "vantor dump: Can not open Data Log File: {dir}/missing.dat\n"},
      {"view {dir}/missing.dat", 1, "vantor view: Can not open Data Log File: {dir}/missing.dat\n"},
      {"frames {dir}/missing.dat", 1, "vantor frames: Can not open Data Log File: {dir}/missing.dat\n"},
      {"qtr {dir}/missing.dat", 1, "vantor qtr: Can not open Data Log File: {dir}/missing.dat\n"},
      {"dump {dir}/d.dat", 1, "vantor dump: Error Reading the Data Log File: {dir}/d.dat\n"},
      {"view {dir}/d.dat", 1, "vantor view: Error Reading the Data Log File: {dir}/d.dat\n"},
      {"frames {dir}/d.dat", 1, "vantor frames: Error Reading the Data Log File: {dir}/d.dat\n"},
      {"dump {dir}/garbage.dat", 1,
       "vantor dump: Not a Data Log File: {dir}/garbage.dat (no frame passes its check)\n"},
      {"dump {dir}/garbage.dat --msl", 1,
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

TEST(VantorQtr, PrintsTheResultsOfARunFromAnyLineOfTheTable) {
  // 4 pulses a frame at 2639 pulses a mile (calibration 349): about 8 feet a frame at 90 mph.
  LogBuilder log;
  for (int i = 0; i < 200; ++i) {
    FrameData frame = BaseFrame(static_cast<unsigned>(i / 17), static_cast<unsigned>(4 * i % 256));
    SetWord(frame, 127, 349);
    frame[52] = 90;
    log.Frame(frame);
  }
  TempDir dir;
  log.Save(dir.File("run.dat"));
  const ToolRun run = apptest::RunTool("qtr " + dir.File("run.dat"));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "0-60 mph:  0.1 sec.\n60 foot:  0.5 sec.\n330 foot:  2.5 sec.\n1/8 Mile:  4.9 sec.\n"
            "1/8 trap:  90 mph\n1/4 Mile:  9.7 sec.\n1/4 trap:  90 mph\n");
  EXPECT_EQ(apptest::RunTool("qtr " + dir.File("run.dat") + " --line 199").status, 0);
  EXPECT_EQ(apptest::RunTool("qtr " + dir.File("run.dat") + " --line 200").status, 1);
}

}  // namespace
}  // namespace vantor
