#include "live/comm_thread.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "link/commands.h"
#include "link/ecm_link.h"
#include "live/frame_reader.h"
#include "live/live_frame.h"
#include "live/log_hooks.h"
#include "sim/pty_server.h"
#include "sim/sim_ecm.h"
#include "sim/sim_serial.h"
#include "live/frame_wait.h"
#include "sim/sim_wire.h"

namespace vantor {
namespace {

using livetest::WaitForFrame;
using simtest::WaitFor;

constexpr const char* kDate = "07/20/2013 - 16:47:09";

// A log file in memory that remembers the order of writes and flushes.
class MemoryLog final : public LogWriter {
 public:
  bool WriteByte(std::uint8_t byte) override {
    std::lock_guard lock(mutex_);
    if (failBytes_) return false;
    bytes_ += static_cast<char>(byte);
    return true;
  }
  bool WriteText(std::string_view text) override {
    std::lock_guard lock(mutex_);
    bytes_ += text;
    events_.emplace_back(text);
    return true;
  }
  bool Flush() override {
    std::lock_guard lock(mutex_);
    events_.emplace_back("flush");
    return true;
  }
  void FailBytes() {
    std::lock_guard lock(mutex_);
    failBytes_ = true;
  }
  std::string Bytes() const {
    std::lock_guard lock(mutex_);
    return bytes_;
  }
  std::vector<std::string> Events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }

 private:
  mutable std::mutex mutex_;
  bool failBytes_ = false;
  std::string bytes_;
  std::vector<std::string> events_;
};

int CountPackets(const sim::SimEcm& ecm, std::uint8_t command, std::uint8_t arg) {
  const auto packets = ecm.ReceivedPackets();
  return static_cast<int>(std::count_if(packets.begin(), packets.end(), [&](const sim::ReceivedPacket& p) {
    return p.form == 'R' && p.command == command && p.firstByte == arg && p.checkOk;
  }));
}

sim::SimOptions Unpaced() {
  sim::SimOptions options;
  options.paced = false;
  return options;
}

// The communication thread on the in-process port "SIM".
struct SimRig {
  explicit SimRig(const LinkProfile& profile = MainProgramProfile()) : ecm(Unpaced()), link(profile), comm(link, &hooks) {
    link.SetDeviceOpener(sim::SimOpener(ecm));
    hooks.dateText = [] { return std::string(kDate); };
    hooks.reportWriteError = [this] { ++writeErrors; };
    comm.Start();
  }
  ~SimRig() {
    comm.Stop();
    std::lock_guard lock(hooks.fileMutex);
    hooks.file = nullptr;
  }
  void Open() {
    link.SelectPort(sim::kSimPortName);
    ASSERT_TRUE(WaitFor([&] { return link.Connected() && link.PortIsOpen(); }));
  }
  void StartLog() {
    {
      std::lock_guard lock(hooks.fileMutex);
      hooks.file = &log;
    }
    hooks.writerMode = 1;
  }

  sim::SimEcm ecm;
  MemoryLog log;
  LogHooks hooks;
  std::atomic<int> writeErrors{0};
  EcmLink link;
  CommThread comm;
};

TEST(CommThread, OpenStartsTheStreamAndFramesReachTheRing) {
  SimRig rig;
  rig.Open();
  EXPECT_TRUE(WaitFor([&] { return rig.ecm.Streaming(); }));
  EXPECT_TRUE(WaitForFrame(rig.link, [](const LogFrameRead& f) { return f.data[frame::kFirmware] == 0x10; }));
}

TEST(CommThread, StopThenRingResetLeavesTheRingEmpty) {
  SimRig rig;
  rig.Open();
  ASSERT_TRUE(WaitFor([&] { return rig.link.RxAvailable() > 2 * kLogFrameSize; }));
  ASSERT_EQ(TxMsXmit(rig.link, kStreamStop), 0);
  EXPECT_TRUE(WaitFor([&] { return !rig.ecm.Streaming() && rig.link.RxAvailable() == 0; }));
}

TEST(CommThread, SubmittedPacketIsWrittenAndTheBankChangeShowsInFrames) {
  SimRig rig;
  rig.Open();
  ASSERT_EQ(TxMsBank(rig.link, 3), 0);
  EXPECT_TRUE(WaitFor([&] { return rig.ecm.RunningBank() == 3; }));
  EXPECT_TRUE(WaitForFrame(rig.link, [](const LogFrameRead& f) { return f.data[frame::kBankInfo] == 0x83; }));
}

TEST(CommThread, UnpluggedDeviceIsReopenedWithBackOffAndTheStreamRestarts) {
  SimRig rig;
  rig.Open();
  const int startsBefore = CountPackets(rig.ecm, 'X', kStreamStart);
  rig.ecm.Unplug();
  ASSERT_TRUE(WaitFor([&] { return !rig.link.PortIsOpen(); }));
  // Two failed attempts later the wait has doubled twice.
  ASSERT_TRUE(WaitFor([&] { return rig.link.RetryDelayMs() >= 500; }));
  EXPECT_FALSE(rig.link.PortIsOpen());
  rig.ecm.Replug();
  EXPECT_TRUE(WaitFor([&] { return rig.link.PortIsOpen() && CountPackets(rig.ecm, 'X', kStreamStart) > startsBefore; }));
  EXPECT_TRUE(WaitForFrame(rig.link));
}

TEST(CommThread, StampAndMarkTogetherAreWrittenInTwoPassesStampFirst) {
  SimRig rig;
  rig.Open();
  rig.StartLog();
  rig.hooks.stampRequest = 1;
  rig.hooks.markRequest = 1;
  ASSERT_TRUE(WaitFor([&] { return rig.hooks.stampRequest == 0 && rig.hooks.markRequest == 0; }));
  rig.hooks.flushRequest = 1;
  ASSERT_TRUE(WaitFor([&] { return rig.hooks.flushRequest == 0; }));
  const std::vector<std::string> expected{std::string("TIME: ") + kDate, "flush",
                                          std::string("MARK000TIME: ") + kDate, "flush", "flush"};
  EXPECT_EQ(rig.log.Events(), expected);
  EXPECT_EQ(rig.hooks.markCounter, 1u);
  EXPECT_EQ(expected[0].size(), 27u);
  EXPECT_EQ(expected[2].size(), 34u);
}

TEST(CommThread, MarkNumbersPast999TakeMoreDigits) {
  SimRig rig;
  rig.Open();
  rig.StartLog();
  rig.hooks.markCounter = 1000;
  rig.hooks.markRequest = 1;
  ASSERT_TRUE(WaitFor([&] { return rig.hooks.markRequest == 0; }));
  EXPECT_EQ(rig.log.Events().front(), std::string("MARK1000TIME: ") + kDate);
}

TEST(LocalDateText, IsTheTwentyOneCharacterDateAndTime) {
  const std::string text = LocalDateText();
  ASSERT_EQ(text.size(), 21u);
  const std::string shape = "dd/dd/dddd - dd:dd:dd";
  for (std::size_t i = 0; i < shape.size(); ++i) {
    if (shape[i] == 'd') EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(text[i]))) << text;
    else EXPECT_EQ(text[i], shape[i]) << text;
  }
}

TEST(CommThread, ReceivedBytesGoToTheLogOnlyWhileNotPaused) {
  SimRig rig;
  rig.hooks.writerPaused = 1;
  rig.StartLog();
  rig.Open();
  ASSERT_TRUE(WaitFor([&] { return rig.link.RxAvailable() > 2 * kLogFrameSize; }));
  EXPECT_TRUE(rig.log.Bytes().empty());
  rig.hooks.writerPaused = 0;
  EXPECT_TRUE(WaitFor([&] { return rig.log.Bytes().size() > 2 * kLogFrameSize; }));
}

TEST(CommThread, FailedLogWriteStopsTheWriterReportsOnceAndBytesStillReachTheRing) {
  SimRig rig;
  rig.log.FailBytes();
  rig.StartLog();
  rig.Open();
  ASSERT_TRUE(WaitFor([&] { return rig.writeErrors == 1 && rig.hooks.writerMode == 0; }));
  const auto before = rig.link.RxAvailable();
  EXPECT_TRUE(WaitFor([&] { return rig.link.RxAvailable() > before + kLogFrameSize; }));
  EXPECT_EQ(rig.writeErrors, 1);
}

TEST(CommThread, UpdateUtilityProfileNeitherStreamsAfterOpenNorLogs) {
  SimRig rig(UpdateUtilityProfile());
  rig.StartLog();
  rig.hooks.stampRequest = 1;
  rig.Open();
  ASSERT_EQ(TxMsBank(rig.link, 2), -1);  // not in this profile: nothing to wait for
  ASSERT_EQ(TxMsXmit(rig.link, 1), 0);  // its stream request carries bit 0 only
  ASSERT_TRUE(WaitFor([&] { return rig.link.RxAvailable() > kLogFrameSize; }));
  EXPECT_EQ(CountPackets(rig.ecm, 'X', kStreamStart), 0);
  EXPECT_TRUE(rig.log.Bytes().empty());
  EXPECT_EQ(rig.hooks.stampRequest, 1u);
}

}  // namespace
}  // namespace vantor
