#include "live/comm_thread.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <regex>
#include <string>
#include <vector>

#include "link/commands.h"
#include "link/ecm_link.h"
#include "support/test_ecm_support.h"
#include "live/live_frame.h"
#include "live/log_hooks.h"
#include "sim/sim_ecm.h"
#include "sim/sim_serial.h"
#include "support/sim_wire.h"

namespace vantor {
namespace {

using simtest::WaitFor;

constexpr const char* kDate = "07/20/2013 - 16:47:09";
const std::string kStamp = std::string("TIME: ") + kDate;
// Bytes as fast as the line takes them: the thread is the point, not the line rate.
const sim::SimOptions kUnpaced{.paced = false, .framesPerSecond = 17.0, .cylinders = 8, .clock = nullptr};

// A log file in memory that remembers the texts and flushes in their order.
// Its texts can be held: a write then waits, having said it began.
class MemoryLog final : public LogWriter {
 public:
  bool WriteByte(std::uint8_t byte) override {
    std::lock_guard lock(mutex_);
    if (!failBytes) bytes_ += static_cast<char>(byte);
    return !failBytes;
  }
  bool WriteText(std::string_view text) override {
    std::unique_lock lock(mutex_);
    ++textsBegun_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !holdTexts_; });
    bytes_ += text;
    events_.emplace_back(text);
    return true;
  }
  void HoldTexts(bool hold) {
    {
      std::lock_guard lock(mutex_);
      holdTexts_ = hold;
    }
    changed_.notify_all();
  }
  bool AwaitTextsBegun(int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return textsBegun_ >= count; });
  }
  bool Flush() override {
    std::lock_guard lock(mutex_);
    events_.emplace_back("flush");
    return true;
  }
  std::string Bytes() const {
    std::lock_guard lock(mutex_);
    return bytes_;
  }
  std::vector<std::string> Events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }
  std::atomic<bool> failBytes{false};

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool holdTexts_ = false;
  int textsBegun_ = 0;
  std::string bytes_;
  std::vector<std::string> events_;
};

// The communication thread on the in-process port "SIM".
struct SimRig {
  explicit SimRig(const LinkProfile& profile = MainProgramProfile()) : ecm(kUnpaced), link(profile), comm(link, &hooks) {
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
  bool Served(std::atomic<std::uint32_t>& request) {
    request = 1;
    return WaitFor([&] { return request == 0; });
  }

  sim::SimEcm ecm;
  MemoryLog log;
  LogHooks hooks;
  std::atomic<int> writeErrors{0};
  EcmLink link;
  CommThread comm;
};

// One duty a pass, the stamp first; each is flushed. Mark numbers past 999
// take more digits.
TEST(CommThread, StampAndMarkTogetherAreWrittenInTwoPassesStampFirst) {
  SimRig rig;
  rig.Open();
  rig.StartLog();
  rig.hooks.stampRequest = 1;
  ASSERT_TRUE(rig.Served(rig.hooks.markRequest));
  ASSERT_TRUE(WaitFor([&] { return rig.hooks.stampRequest == 0; }));
  ASSERT_TRUE(rig.Served(rig.hooks.flushRequest));
  EXPECT_EQ(rig.hooks.markCounter, 1u);
  rig.hooks.markCounter = 1000;
  ASSERT_TRUE(rig.Served(rig.hooks.markRequest));
  EXPECT_EQ(rig.log.Events(),
            (std::vector<std::string>{kStamp, "flush", "MARK000" + kStamp, "flush", "flush", "MARK1000" + kStamp, "flush"}));
}

// The recorder asks for the next mark while the last is being written: the
// request is served again, not taken for done.
TEST(CommThread, AMarkAskedWhileTheLastIsWrittenIsWrittenToo) {
  SimRig rig;
  rig.Open();
  rig.StartLog();
  rig.log.HoldTexts(true);
  rig.hooks.markRequest = 1;
  ASSERT_TRUE(rig.log.AwaitTextsBegun(1));
  rig.hooks.markRequest = 1;
  rig.log.HoldTexts(false);
  ASSERT_TRUE(WaitFor([&] { return rig.hooks.markRequest == 0 && rig.hooks.markCounter == 2; }));
  EXPECT_EQ(rig.log.Events()[2], "MARK001" + kStamp);
}

// The thread on a fake wire whose waits, held, end only for bytes, a
// failure or an interrupt: whatever else asks for its work must wake it.
struct QuietWireRig {
  QuietWireRig() : opener(wire), comm(link, nullptr) {
    wire->HoldWaits(true);
    link.SetDeviceOpener([this](const std::string& name) { return opener.Open(name); });
    const std::string port = "COM2";
    link.RequestPort(PortOpen, &port);
    comm.Start();
  }
  ~QuietWireRig() { comm.Stop(); }

  std::shared_ptr<test::FakeWire> wire = std::make_shared<test::FakeWire>();
  test::FakeOpener opener;
  EcmLink link{UpdateUtilityProfile()};  // no stream request after the open
  CommThread comm;
  WakeSignal reader;
};

TEST(CommThread, PacketsResetsRequestsAndBytesEndItsSleepInAQuietDevice) {
  const struct {
    const char* name;
    std::function<void(QuietWireRig&)> ask;
    std::function<bool(QuietWireRig&)> done;
  } cases[] = {
      {"a packet", [](QuietWireRig& r) { ASSERT_EQ(TxMsXmit(r.link, 1), 0); },
       [](QuietWireRig& r) { return r.wire->PacketCount() == 1; }},
      {"a ring reset", [](QuietWireRig& r) { r.link.RequestRxReset(); },
       [](QuietWireRig& r) { return !r.link.RxResetPending(); }},
      {"a close", [](QuietWireRig& r) { r.link.RequestPort(PortClose, nullptr); },
       [](QuietWireRig& r) { return !r.link.HandleValid(); }},
      {"bytes, which ring the reader waiting for them",
       [](QuietWireRig& r) {
         r.link.WatchArrival(r.reader, 3);
         r.wire->SendToHost({1, 2, 3});
       },
       [](QuietWireRig& r) { return r.reader.Count() == 1 && r.link.RxAvailable() == 3; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QuietWireRig rig;
    ASSERT_EQ(rig.link.AwaitOpenAttempt(), OpenOutcome::Connected);
    ASSERT_TRUE(WaitFor([&] { return rig.wire->WaitsBegun() > 0; }));  // asleep in the device, or about to be
    c.ask(rig);
    EXPECT_TRUE(WaitFor([&] { return c.done(rig); }));
  }
}

TEST(LocalDateText, IsTheDateAndTimeInTwentyOneCharacters) {
  EXPECT_TRUE(std::regex_match(LocalDateText(), std::regex(R"(\d\d/\d\d/\d{4} - \d\d:\d\d:\d\d)"))) << LocalDateText();
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
  rig.log.failBytes = true;
  rig.StartLog();
  rig.Open();
  ASSERT_TRUE(WaitFor([&] { return rig.writeErrors == 1 && rig.hooks.writerMode == 0; }));
  const auto before = rig.link.RxAvailable();
  EXPECT_TRUE(WaitFor([&] { return rig.link.RxAvailable() > before + kLogFrameSize; }));
  EXPECT_EQ(rig.writeErrors, 1);
}

// The update utility's profile writes no log: its hooks are not served.
TEST(CommThread, UpdateUtilityProfileNeverLogs) {
  SimRig rig(UpdateUtilityProfile());
  rig.StartLog();
  rig.hooks.stampRequest = 1;
  rig.Open();
  ASSERT_EQ(TxMsXmit(rig.link, 1), 0);
  ASSERT_TRUE(WaitFor([&] { return rig.link.RxAvailable() > kLogFrameSize; }));
  EXPECT_TRUE(rig.log.Bytes().empty());
  EXPECT_EQ(rig.hooks.stampRequest, 1u);
}

}  // namespace
}  // namespace vantor
