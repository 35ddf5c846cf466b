#include <gtest/gtest.h>

#include <string>

#include "apps/tool_process.h"
#include "logs/analysis_samples.h"
#include "logs/analysis_test_support.h"
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

TEST(VantorDump, CsvWithDefaultNameAndConfigMatchesTheWorkedOutFile) {
  TempDir dir;
  LogBuilder().Raw(BuildLogB()).Save(dir.File("b.dat"));
  const std::string cfg = WriteConfig(SettingsB(), dir);
  const ToolRun run = apptest::RunTool("dump " + dir.File("b.dat") + " --csv --config " + cfg);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadAll(dir.File("b.csv")), Golden("dump_b_repeated.csv"));
}

TEST(VantorDump, FlagsSetTheModeForThisRunOnly) {
  TempDir dir;
  LogBuilder().Raw(BuildLogA()).Save(dir.File("a.dat"));
  Settings settings = SettingsA();
  settings.anaCsv = 0;
  settings.anaSHeader = 0;
  const std::string cfg = WriteConfig(settings, dir);
  const std::string before = ReadAll(cfg);
  ToolRun run = apptest::RunTool("dump " + dir.File("a.dat") + " --csv --single-header -o " + dir.File("x.txt") + " --config " + cfg);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadAll(dir.File("x.txt")), Golden("dump_a_single.csv"));
  run = apptest::RunTool("dump " + dir.File("a.dat") + " --config " + cfg);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadAll(dir.File("a.ORV")), Golden("dump_a_text.ORV"));
  EXPECT_EQ(ReadAll(cfg), before);
}

TEST(VantorDump, FailuresExitWithOneAndTheMessage) {
  TempDir dir;
  ToolRun run = apptest::RunTool("dump " + dir.File("missing.dat"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Can not open Data Log File\n");
  LogBuilder().Raw(BuildLogA()).Save(dir.File("a.dat"));
  run = apptest::RunTool("dump " + dir.File("a.dat") + " -o " + dir.File("no/dir/out.csv"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Can Not Open Output File\n\nIs it open elsewhere?\n");
  if (std::filesystem::exists("/dev/full")) {
    run = apptest::RunTool("dump " + dir.File("a.dat") + " -o /dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Error Writing to File\n\nDisk Full?\n");
  }
  EXPECT_EQ(apptest::RunTool("dump").status, 2);
  EXPECT_EQ(apptest::RunTool("dump a b").status, 2);
  EXPECT_EQ(apptest::RunTool("dump --help").status, 0);
}

// Neither a dump onto the log itself nor an unreadable log passes for success.
TEST(VantorDump, OntoItsOwnLogOrFromAnUnreadableLogFails) {
  TempDir dir;
  LogBuilder().Raw(BuildLogA()).Save(dir.File("keep.dat"));
  ToolRun run = apptest::RunTool("dump " + dir.File("keep.dat") + " -o " + dir.File("keep.dat"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("data log itself"), std::string::npos) << run.err;
  EXPECT_EQ(ReadAll(dir.File("keep.dat")), BuildLogA());
  std::filesystem::create_directory(dir.File("d.dat"));
  run = apptest::RunTool("dump " + dir.File("d.dat"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Error Reading"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir.File("d.ORV")));
  EXPECT_EQ(apptest::RunTool("view " + dir.File("d.dat")).status, 1);
}

TEST(VantorView, WritesTheViewLines) {
  TempDir dir;
  LogBuilder().Raw(BuildLogA()).Save(dir.File("a.dat"));
  LogBuilder().Raw(BuildLogB()).Save(dir.File("b.dat"));
  ToolRun run = apptest::RunTool("view " + dir.File("a.dat") + " --config " + WriteConfig(SettingsA(), dir));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, Golden("view_a.txt"));
  run = apptest::RunTool("view " + dir.File("b.dat") + " --config " + WriteConfig(SettingsB(), dir));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, Golden("view_b.txt"));
  run = apptest::RunTool("view " + dir.File("missing.dat"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Can not open Data Log File\n");
}

TEST(VantorQtr, PrintsTheResultsOfARun) {
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
  ToolRun run = apptest::RunTool("qtr " + dir.File("run.dat"));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "0-60 mph:  0.1 sec.\n60 foot:  0.5 sec.\n330 foot:  2.5 sec.\n1/8 Mile:  4.9 sec.\n"
            "1/8 trap:  90 mph\n1/4 Mile:  9.7 sec.\n1/4 trap:  90 mph\n");
  run = apptest::RunTool("qtr " + dir.File("run.dat") + " --line 199");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "0-60 mph:  0.0 sec.\n60 foot:  0.0 sec.\n330 foot:  0.0 sec.\n1/8 Mile:  0.0 sec.\n"
            "1/8 trap:   0 mph\n1/4 Mile:  0.0 sec.\n1/4 trap:   0 mph\n");
  EXPECT_EQ(apptest::RunTool("qtr " + dir.File("run.dat") + " --line 200").status, 1);
  EXPECT_EQ(apptest::RunTool("qtr " + dir.File("run.dat") + " --line x").status, 2);
  EXPECT_EQ(apptest::RunTool("qtr " + dir.File("missing.dat")).status, 1);
}

}  // namespace
}  // namespace vantor
