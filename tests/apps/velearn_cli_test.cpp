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

TEST_F(VeLearnCliTest, SmoothWritesTheNextGenerationAndReportsTheErrorCode) {
  const auto run = Tool("smooth " + File("base.bin") + " " + File("smooth.bin") + " --factor 12");
  ASSERT_EQ(run.status, 0) << run.out;
  const SignatureCheck smooth = CheckSignature(File("smooth.bin"));
  ASSERT_EQ(smooth.status, SignatureStatus::Bin);
  EXPECT_EQ(smooth.generation, static_cast<std::uint16_t>(CheckSignature(File("base.bin")).generation + 1));
}

// Learning from the simulated engine raises cells; the report's content is
// the learn report's own.
TEST_F(VeLearnCliTest, LearningWritesTheNewBinAndAReport) {
  WriteLog("drive.dat", 240 * 17, true);
  test::WriteText(File("learn.cfg"), "[SMOOTHFAC] 0\r\r\n");
  const auto run = Tool(Learn(File("drive.dat")) + " --config " + File("learn.cfg") + " --report " + File("r.csv"));
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_NE(test::ReadAll(File("new.bin")), test::ReadAll(File("base.bin")));
  EXPECT_TRUE(fs::exists(File("r.csv")));
}

// A log that cannot be read, or logs in which no frame passes the learn
// gates (the engine never runs), write nothing: an earlier NEW.bin stays.
TEST_F(VeLearnCliTest, FailuresWriteNothing) {
  WriteLog("stopped.dat", 170, false);
  const auto missing = Tool(Learn(File("stopped.dat") + " " + File("missing.dat")));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.out.find("Can not open Data Log File: " + File("missing.dat")), std::string::npos) << missing.out;
  EXPECT_FALSE(fs::exists(File("new.bin")));
  test::WriteText(File("new.bin"), "earlier");
  const auto run = Tool(Learn(File("stopped.dat")) + " --report " + File("why.csv"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("vantor velearn: no sample was learned"), std::string::npos) << run.out;
  EXPECT_TRUE(fs::exists(File("why.csv")));
  EXPECT_EQ(test::ReadText(File("new.bin")), "earlier");
}

}  // namespace
}  // namespace vantor
