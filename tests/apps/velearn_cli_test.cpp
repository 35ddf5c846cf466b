// vantor smooth and vantor velearn, run as a user runs them.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/tool_process.h"
#include "cal/ve_file.h"
#include "support/temp_dir.h"
#include "support/log_builder.h"
#include "sim/default_calibration.h"
#include "sim/engine_model.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;

apptest::ToolRun Tool(const std::string& arguments) { return apptest::RunToolMerged(arguments); }

class VeLearnCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto bank = sim::DefaultBankImage(0);
    test::WriteAll(File("base.bin"), std::vector<std::uint8_t>(bank.begin(), bank.end()));
  }
  // The simulated engine running on the shipped calibration (it needs more
  // fuel than that gives, so block learn sits above 128), or a stopped one.
  void WriteLog(const std::string& name, int frames, bool running) {
    sim::EngineModel model;
    testlog::LogBuilder log;
    testlog::FrameData data{};
    for (int i = 0; i < frames; ++i) {
      if (running) model.NextFrame(data.data());
      log.Frame(data);
    }
    log.Save(File(name));
  }
  std::string File(const std::string& name) const { return files_.File(name); }
  std::string Learn(const std::string& logs) const {
    return "velearn --from " + File("base.bin") + " --out " + File("new.bin") + " " + logs;
  }

  test::TempDir files_;
};

TEST_F(VeLearnCliTest, SmoothAndLearningWriteTheirNewBin) {
  ASSERT_EQ(Tool("smooth " + File("base.bin") + " " + File("smooth.bin") + " --factor 12").status, 0);
  EXPECT_EQ(CheckSignature(File("smooth.bin")).status, SignatureStatus::Bin);
  WriteLog("drive.dat", 240 * 17, true);
  test::WriteText(File("learn.cfg"), "[SMOOTHFAC] 0\r\r\n");
  const auto run = Tool(Learn(File("drive.dat")) + " --config " + File("learn.cfg") + " --report " + File("r.csv"));
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_NE(test::ReadAll(File("new.bin")), test::ReadAll(File("base.bin")));
  EXPECT_TRUE(fs::exists(File("r.csv")));
}

// Logs in which no frame passes the learn gates (the engine never runs)
// write no NEW.bin: an earlier one stays. The report says why.
TEST_F(VeLearnCliTest, NoSampleLearnedWritesNoBin) {
  WriteLog("stopped.dat", 170, false);
  test::WriteText(File("new.bin"), "earlier");
  const auto run = Tool(Learn(File("stopped.dat")) + " --report " + File("why.csv"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("vantor velearn: no sample was learned"), std::string::npos) << run.out;
  EXPECT_TRUE(fs::exists(File("why.csv")));
  EXPECT_EQ(test::ReadText(File("new.bin")), "earlier");
}

}  // namespace
}  // namespace vantor
