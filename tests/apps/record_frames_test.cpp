#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/tool_process.h"
#include "support/temp_dir.h"
#include "support/log_read_back.h"

namespace vantor {
namespace {

using testlog::ReadLogBack;

std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> cells;
    std::istringstream cellsIn(line + ",");
    for (std::string cell; std::getline(cellsIn, cell, ',');) cells.push_back(cell);
    rows.push_back(cells);
  }
  return rows;
}

enum Column { kIndex, kTime, kMark };

class RecordFramesTest : public ::testing::Test {
 protected:
  test::TempDir files_;
  const std::string dir_ = files_.Path();
};

// Two recordings on the simulated port inside the tool, the second added to
// the same log; `frames` lists every good frame. Reading the frames and
// appending are the log library's; the port path is the bank commands'.
TEST_F(RecordFramesTest, RecordingsReadBackAsFrames) {
  const std::string log = files_.File("drive.dat");
  ASSERT_EQ(apptest::RunTool("record --port SIM --seconds 5 --mark-every 2 " + log).status, 0);
  const testlog::LogReadBack frames = ReadLogBack(log);
  EXPECT_EQ(frames.bad, 0) << "every recorded frame passes the reader";

  const apptest::ToolRun listed = apptest::RunTool("frames " + log);
  ASSERT_EQ(listed.status, 0) << listed.err;
  auto rows = CsvRows(listed.out);
  ASSERT_EQ(rows.size(), frames.good.size() + 1);
  EXPECT_EQ(listed.out.substr(0, listed.out.find('\n')),
            "index,time,mark,run_seconds,rpm,cylinders,map_sensor_bar,bank_valid,active_bank,engine_running,"
            "wb_afr,fuel_pressure");
  rows.erase(rows.begin());
  EXPECT_FALSE(rows[0][kTime].empty()) << "the recording's own time line comes with the first frame";
  int marks = 0;
  for (const auto& row : rows) marks += row[kMark].empty() ? 0 : 1;
  EXPECT_EQ(marks, 2) << "marks at 2 and 4 seconds, none at the end";
  EXPECT_EQ(rows.back()[kIndex], std::to_string(rows.size() - 1));

  ASSERT_EQ(apptest::RunTool("record --port SIM --seconds 1 --stamp-every 1 " + log).status, 0);
  // The first recording ends where the time ran out, possibly inside a
  // frame; the second recording's header then spoils that one frame.
  const testlog::LogReadBack appended = ReadLogBack(log);
  EXPECT_LE(appended.bad, 1);
  EXPECT_GT(appended.good.size(), frames.good.size() + 10);
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
