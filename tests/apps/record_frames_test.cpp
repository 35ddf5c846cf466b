#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/tool_process.h"
#include "support/temp_dir.h"
#include "support/log_read_back.h"
#include "live/live_data.h"
#include "live/live_frame.h"
#include "sim/engine_model.h"
#include "sim/pty_server.h"
#include "sim/sim_ecm.h"

namespace vantor {
namespace {

using testlog::ReadLogBack;

std::vector<std::vector<std::string>> ReadCsv(const std::string& path, std::string* header) {
  std::ifstream in(path);
  std::getline(in, *header);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> cells;
    std::stringstream cellsIn(line);
    std::string cell;
    while (std::getline(cellsIn, cell, ',')) cells.push_back(cell);
    if (!line.empty() && line.back() == ',') cells.push_back("");
    rows.push_back(cells);
  }
  return rows;
}

std::string Differences(const std::uint8_t* a, const std::vector<std::uint8_t>& b) {
  std::string text;
  for (int i = 0; i < kFrameDataSize; ++i) {
    if (a[i] != b[i]) text += " @" + std::to_string(i) + ":" + std::to_string(a[i]) + "/" + std::to_string(b[i]);
  }
  return text;
}

bool SameIgnoringBank(const std::uint8_t* a, const std::vector<std::uint8_t>& b) {
  for (int i = 0; i < kFrameDataSize; ++i) {
    if (i != frame::kBankInfo && a[i] != b[i]) return false;
  }
  return true;
}

enum Column { kIndex, kTime, kMark, kRunSeconds, kRpm, kCylinders, kMapBar, kBankValid, kActiveBank, kRunning };

class RecordFramesTest : public ::testing::Test {
 protected:
  int Tool(const std::string& arguments) { return apptest::RunTool(arguments).status; }

  test::TempDir files_;
  const std::filesystem::path dir_{files_.Path()};
};

TEST_F(RecordFramesTest, RecordingFromTheSimulatorOverAPseudoTerminalReadsBackFrameForFrame) {
  // The engine model at twice its pace, so it starts early in a short recording.
  sim::SimEcm ecm(sim::SimOptions{.paced = false, .framesPerSecond = 34, .cylinders = 8, .clock = nullptr});
  sim::PtyServer server(ecm);
  std::string error;
  ASSERT_TRUE(server.Start(&error)) << error;
  const std::string log = (dir_ / "drive.dat").string();
  const std::string csv = (dir_ / "drive.csv").string();
  ASSERT_EQ(Tool("record --port " + server.SlavePath() + " --seconds 5 --mark-every 2 " + log), 0);
  server.Stop();

  const testlog::LogReadBack frames = ReadLogBack(log);
  EXPECT_EQ(frames.bad, 0) << "every recorded frame passes the reader";
  ASSERT_GT(frames.good.size(), 100u);

  ASSERT_EQ(Tool("frames " + log + " > " + csv), 0);
  std::string header;
  const auto rows = ReadCsv(csv, &header);
  EXPECT_EQ(header,
            "index,time,mark,run_seconds,rpm,cylinders,map_sensor_bar,bank_valid,active_bank,engine_running,"
            "wb_afr,fuel_pressure");
  ASSERT_EQ(rows.size(), frames.good.size());
  EXPECT_FALSE(rows[0][kTime].empty()) << "the recording's own time line comes with the first frame";
  int marks = 0;
  for (const auto& row : rows) marks += row[kMark].empty() ? 0 : 1;
  EXPECT_EQ(marks, 2) << "marks at 2 and 4 seconds";

  // The engine counts as running from the 35th frame with the ECM's running bit.
  std::size_t runningFrames = 0, expectedStart = 0;
  for (std::size_t i = 0; i < frames.good.size() && expectedStart == 0; ++i) {
    if (frames.good[i][frame::kStatus1] & 0x80) {
      if (++runningFrames == 35) expectedStart = i;
    }
  }
  ASSERT_NE(expectedStart, 0u) << "the simulated engine starts within the recording";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    ASSERT_EQ(rows[i][kIndex], std::to_string(i));
    EXPECT_EQ(rows[i][kRunning], i >= expectedStart ? "1" : "0") << "row " << i;
  }

  // The same frames come out of a fresh engine model. The frames of the
  // stopped engine are all alike, so the recording is placed in the model's
  // sequence by its first frame that differs from the first one.
  std::size_t first = 1;
  while (first < frames.good.size() && SameIgnoringBank(frames.good[first].data(), frames.good[0])) ++first;
  ASSERT_LT(first, frames.good.size());
  for (std::size_t i = 0; i < first; ++i) {
    EXPECT_EQ(rows[i][kRpm], "0");
    EXPECT_EQ(rows[i][kRunSeconds], "0");
  }
  sim::EngineModel model;
  std::uint8_t data[kFrameDataSize];
  int skipped = 0;
  for (model.NextFrame(data); !SameIgnoringBank(data, frames.good[first]); model.NextFrame(data)) {
    ASSERT_LT(++skipped, 17 * 60) << "the recording does not start in the model's first minute";
  }
  // A busy machine may make the simulator leave out a frame now and then;
  // every recorded frame must still be one of the model's, in order.
  int modelFramesLeftOut = 0;
  for (std::size_t i = first; i < rows.size(); ++i) {
    if (i > first) model.NextFrame(data);
    for (int tries = 0; !SameIgnoringBank(data, frames.good[i]) && tries < 17; ++tries) {
      model.NextFrame(data);
      ++modelFramesLeftOut;
    }
    ASSERT_TRUE(SameIgnoringBank(data, frames.good[i]))
        << "frame " << i << " is not the model's:" << Differences(data, frames.good[i]);
    const sim::EngineState& state = model.State();
    EXPECT_EQ(std::stoi(rows[i][kRunSeconds]), static_cast<int>(std::floor(state.runSeconds))) << "row " << i;
    const double rpm = std::stod(rows[i][kRpm]);
    if (state.rpm > 100) {
      EXPECT_NEAR(rpm, state.rpm, state.rpm * 0.01 + 2) << "row " << i;
    }
    EXPECT_EQ(rows[i][kCylinders], "8");
    EXPECT_EQ(rows[i][kBankValid], "1");
  }
  EXPECT_LT(modelFramesLeftOut, static_cast<int>(rows.size()) / 10);
}

TEST_F(RecordFramesTest, RecordAppendsToAnExistingLogAndTheInProcessSimulatorWorks) {
  const std::string log = (dir_ / "twice.dat").string();
  ASSERT_EQ(Tool("record --port SIM --seconds 1 " + log), 0);
  const auto once = std::filesystem::file_size(log);
  ASSERT_EQ(Tool("record --port SIM --seconds 1 --stamp-every 1 " + log), 0);
  EXPECT_GT(std::filesystem::file_size(log), 2 * once - 2 * 277 * 3);
  const testlog::LogReadBack frames = ReadLogBack(log);
  // The first recording ends where the time ran out, possibly inside a
  // frame; the second recording's header then spoils that one frame.
  EXPECT_LE(frames.bad, 1);
  EXPECT_GT(frames.good.size(), 20u);
}

// A recording goes only into a new file, an empty one or a data log: a
// calibration chosen by mistake stays as it was, and so does everything
// when the port is not there.
TEST_F(RecordFramesTest, FailuresLeaveEveryFileAsItWasAndSayWhy) {
  test::WriteText((dir_ / "cal.bin").string(), std::string("\0\x07ORV9", 6) + std::string(32762, '\xFF'));
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
  const std::string calibration = test::ReadText((dir_ / "cal.bin").string());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const auto run = apptest::RunTool(apptest::InDir(c.command, dir_.string()));
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(apptest::InDir(c.message, dir_.string())), std::string::npos) << run.err;
  }
  EXPECT_EQ(test::ReadText((dir_ / "cal.bin").string()), calibration);
  EXPECT_EQ(test::Names(dir_.string()), std::set<std::string>{"cal.bin"});
  EXPECT_EQ(Tool("record --help >/dev/null"), 0);
}

}  // namespace
}  // namespace vantor
