#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "support/tool_process.h"
#include "support/temp_dir.h"
#include "support/log_read_back.h"

namespace vantor {
namespace {

using testlog::ReadLogBack;

class RecordFramesTest : public ::testing::Test {
 protected:
  test::TempDir files_;
  const std::string dir_ = files_.Path();
};

// A recording on the simulated port inside the tool; `frames` lists every
// good frame. Reading the frames and appending are the log library's.
TEST_F(RecordFramesTest, RecordingsReadBackAsFrames) {
  const std::string log = files_.File("drive.dat");
  ASSERT_EQ(apptest::RunTool("record --port SIM --seconds 5 --mark-every 2 --stamp-every 1 " + log).status, 0);
  const testlog::LogReadBack frames = ReadLogBack(log);
  EXPECT_EQ(frames.bad, 0) << "every recorded frame passes the reader";
  EXPECT_FALSE(frames.times[0].empty()) << "the recording's own time line comes with the first frame";
  EXPECT_EQ(std::count_if(frames.marks.begin(), frames.marks.end(), [](const auto& m) { return !m.empty(); }), 2)
      << "marks at 2 and 4 seconds, none at the end";
  const apptest::ToolRun listed = apptest::RunTool("frames " + log);
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), static_cast<long>(frames.good.size() + 1));
}

// A recording goes only into a new file, an empty one or a data log: a
// calibration chosen by mistake stays as it was, and so does everything
// when the port is not there.
TEST_F(RecordFramesTest, FailuresLeaveEveryFileAsItWasAndSayWhy) {
  test::WriteText(files_.File("cal.bin"), std::string("\0\x07ORV9", 6) + std::string(32762, '\xFF'));
  const struct {
    const char* command;
    int status;
    const char* message;
  } cases[] = {
      {"record --port SIM --seconds 1 {dir}/cal.bin", 1, "vantor record: {dir}/cal.bin: Not a Data Log File"},
      {"record --port {dir}/no-such-port --seconds 1 {dir}/x.dat", 1,
       "vantor record: can not open port {dir}/no-such-port\n"},
      {"record --port SIM --seconds 1 {dir}/no/such/dir.dat", 1, "Can not open Data Logging File"},
      {"record --port SIM --seconds 0 {dir}/x.dat", 2,
       "vantor record: --seconds: '0' is not a number from 1 to 86400\n"},
      {"record --seconds 1 {dir}/x.dat", 2, "--port PORT is needed"},
      {"record --port SIM {dir}/x.dat", 2, "--seconds N is needed"},
      {"frames", 2, "one log file is needed"},
  };
  const std::string calibration = test::ReadText(files_.File("cal.bin"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const auto run = apptest::RunTool(apptest::InDir(c.command, dir_));
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(apptest::InDir(c.message, dir_)), std::string::npos) << run.err;
  }
  EXPECT_EQ(test::ReadText(files_.File("cal.bin")), calibration);
  EXPECT_EQ(test::Names(dir_), std::set<std::string>{"cal.bin"});
  EXPECT_EQ(apptest::RunTool("record --help").status, 0);
}

}  // namespace
}  // namespace vantor
