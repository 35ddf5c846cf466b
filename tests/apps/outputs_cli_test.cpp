// What every writing command of the tool leaves behind: never an input
// replaced, never a file touched but the output.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/tool_process.h"
#include "support/temp_dir.h"
#include "support/log_builder.h"
#include "sim/default_calibration.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;

using apptest::RunToolMerged;

class OutputsCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto bank = sim::DefaultBankImage(0);
    test::WriteAll(File("base.bin"), std::vector<std::uint8_t>(bank.begin(), bank.end()));
    testlog::LogBuilder log;
    for (int i = 0; i < 40; ++i) log.Frame(testlog::FrameData{});
    log.Save(File("drive.dat"));
    fs::create_directory(dir_ / "sub");
  }
  std::string File(const std::string& name) const { return files_.File(name); }
  static bool HasScreenshot() { return apptest::RunTool("screenshot --help").status == 0; }

  test::TempDir files_;
  const fs::path dir_{files_.Path()};
};

// An output that is an input under another name (the same name, a ".."
// spelling, a hard link) is refused and the input keeps every byte.
TEST_F(OutputsCliTest, AnOutputThatIsAnInputIsRefusedAndTheInputKept) {
  fs::create_hard_link(File("base.bin"), File("linked.bin"));
  fs::create_hard_link(File("drive.dat"), File("linked.dat"));
  const struct {
    const char* command;
    const char* input;
  } cases[] = {
      {"bin convert {dir}/base.bin {dir}/sub/../base.bin", "base.bin"},
      {"smooth {dir}/base.bin {dir}/linked.bin", "base.bin"},
      {"velearn --from {dir}/base.bin --out {dir}/linked.dat {dir}/drive.dat", "drive.dat"},
      {"dump {dir}/drive.dat -o {dir}/linked.dat", "drive.dat"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const std::string before = test::ReadText(File(c.input));
    const auto run = RunToolMerged(apptest::InDir(c.command, files_.Path()));
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_NE(run.out.find("is the same file as the input"), std::string::npos) << run.out;
    EXPECT_EQ(test::ReadText(File(c.input)), before);
  }
}

// A file named like the output plus ".part" (an earlier tool's working name)
// belongs to someone else: it is neither written nor removed, and the run
// leaves nothing but its output. The log of the first case is that file.
TEST_F(OutputsCliTest, AWriterTouchesNothingButItsOutput) {
  fs::rename(File("drive.dat"), File("L.part"));
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
    if (c.screenshot && !HasScreenshot()) continue;
    SCOPED_TRACE(c.command);
    const std::string stranger = std::string(c.output) + ".part";
    if (!fs::exists(File(stranger))) test::WriteText(File(stranger), "someone else's");
    const std::string before = test::ReadText(File(stranger));
    std::set<std::string> expected = test::Names(files_.Path());
    expected.insert(c.output);
    const auto run = RunToolMerged(apptest::InDir(c.command, files_.Path()));
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(test::ReadText(File(stranger)), before);
    EXPECT_EQ(test::Names(files_.Path()), expected);
  }
}

}  // namespace
}  // namespace vantor
