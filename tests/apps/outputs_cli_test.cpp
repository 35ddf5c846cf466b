// What a writing command of the tool leaves behind: never a file touched
// but the output.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/tool_process.h"
#include "support/temp_dir.h"
#include "support/log_builder.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;

using apptest::RunToolMerged;

// A file named like the output plus ".part" (an earlier tool's working name)
// belongs to someone else: it is neither written nor removed, and the run
// leaves nothing but its output. The log of the first case is that file.
TEST(VantorOutputs, AWriterTouchesNothingButItsOutput) {
  test::TempDir files;
  testlog::LogBuilder log;
  for (int i = 0; i < 40; ++i) log.Frame(testlog::FrameData{});
  log.Save(files.File("L.part"));
  const bool hasScreenshot = apptest::RunTool("screenshot --help").status == 0;
  const struct {
    const char* command;
    const char* output;
    bool screenshot;
  } cases[] = {
      {"dump {dir}/L.part -o {dir}/L", "L", false},
      {"bank read --port SIM --bank 1 {dir}/read.bin", "read.bin", false},
      {"screenshot --display gauges --sim 1 {dir}/shot.png", "shot.png", true},
  };
  for (const auto& c : cases) {
    if (c.screenshot && !hasScreenshot) continue;
    SCOPED_TRACE(c.command);
    const std::string stranger = std::string(c.output) + ".part";
    if (!fs::exists(files.File(stranger))) test::WriteText(files.File(stranger), "someone else's");
    const std::string before = test::ReadText(files.File(stranger));
    std::set<std::string> expected = test::Names(files.Path());
    expected.insert(c.output);
    const auto run = RunToolMerged(apptest::InDir(c.command, files.Path()));
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(test::ReadText(files.File(stranger)), before);
    EXPECT_EQ(test::Names(files.Path()), expected);
  }
}

}  // namespace
}  // namespace vantor
