#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/tool_process.h"
#include "support/analysis_samples.h"
#include "support/analysis_test_support.h"
#include "support/log_read_back.h"
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
  EXPECT_EQ(apptest::RunTool("view " + dir.File("a.dat")).status, 0);
  EXPECT_EQ(apptest::RunTool("dump " + dir.File("a.dat") + " --msl --csv").status, 2);
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

// A recording on the simulated port inside the tool; `frames` lists every
// good frame. Reading the frames and appending are the log library's.
TEST(VantorRecord, ARecordingReadsBackAsFrames) {
  TempDir files;
  const std::string log = files.File("drive.dat");
  ASSERT_EQ(apptest::RunTool("record --port SIM --seconds 5 --mark-every 2 --stamp-every 1 " + log).status, 0);
  const LogReadBack frames = ReadLogBack(log);
  EXPECT_EQ(frames.bad, 0) << "every recorded frame passes the reader";
  EXPECT_EQ(std::count_if(frames.marks.begin(), frames.marks.end(), [](const auto& m) { return !m.empty(); }), 2)
      << "marks at 2 and 4 seconds, none at the end";
  const apptest::ToolRun listed = apptest::RunTool("frames " + log);
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), static_cast<long>(frames.good.size() + 1));
}

}  // namespace
}  // namespace vantor
