#include "live/comm_thread.h"

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>

#include "link/commands.h"
#include "link/ecm_link.h"
#include "support/test_ecm_support.h"
#include "live/live_frame.h"
#include "live/log_hooks.h"
#include "support/sim_wire.h"

namespace vantor {
namespace {

using simtest::WaitFor;

constexpr const char* kDate = "07/20/2013 - 16:47:09";
const std::string kStamp = std::string("TIME: ") + kDate;

// A log file in memory; each flush shows as "|" where it came.
class MemoryLog final : public LogWriter {
 public:
  bool WriteByte(std::uint8_t byte) override {
    std::lock_guard lock(mutex_);
    if (!failBytes) bytes_ += static_cast<char>(byte);
    return !failBytes;
  }
  bool WriteText(std::string_view text) override {
    std::lock_guard lock(mutex_);
    bytes_ += text;
    return true;
  }
  bool Flush() override {
    std::lock_guard lock(mutex_);
    bytes_ += '|';
    return true;
  }
  std::string Bytes() const {
    std::lock_guard lock(mutex_);
    return bytes_;
  }
  std::atomic<bool> failBytes{false};

 private:
  mutable std::mutex mutex_;
  std::string bytes_;
};

// The communication thread on a fake wire, its log hooks writing to memory.
struct Rig {
  explicit Rig(const LinkProfile& profile = MainProgramProfile()) : opener(wire), link(profile), comm(link, &hooks) {
    link.SetDeviceOpener([this](const std::string& name) { return opener.Open(name); });
    hooks.dateText = [] { return std::string(kDate); };
    hooks.reportWriteError = [this] { ++writeErrors; };
  }
  ~Rig() {
    comm.Stop();
    std::lock_guard lock(hooks.fileMutex);
    hooks.file = nullptr;
  }
  void Open() {
    const std::string port = "COM2";
    link.RequestPort(PortOpen, &port);
    comm.Start();
    ASSERT_EQ(link.AwaitOpenAttempt(), OpenOutcome::Connected);
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
  // Sends count bytes; true once they are in the ring, which they reach after the log.
  bool Feed(std::size_t count) {
    const std::size_t target = link.RxAvailable() + count;
    wire->SendToHost(test::Bytes(count, 0x11));
    return WaitFor([&] { return link.RxAvailable() >= target; });
  }

  std::shared_ptr<test::FakeWire> wire = std::make_shared<test::FakeWire>();
  test::FakeOpener opener;
  MemoryLog log;
  LogHooks hooks;
  std::atomic<int> writeErrors{0};
  EcmLink link;
  CommThread comm;
  WakeSignal reader;
};

// One duty a pass, the stamp first; each is flushed. Mark numbers past 999
// take more digits.
TEST(CommThread, StampAndMarkTogetherAreWrittenInTwoPassesStampFirst) {
  Rig rig;
  rig.Open();
  rig.StartLog();
  rig.hooks.stampRequest = 1;
  ASSERT_TRUE(rig.Served(rig.hooks.markRequest));
  ASSERT_TRUE(WaitFor([&] { return rig.hooks.stampRequest == 0; }));
  ASSERT_TRUE(rig.Served(rig.hooks.flushRequest));
  EXPECT_EQ(rig.hooks.markCounter, 1u);
  rig.hooks.markCounter = 1000;
  ASSERT_TRUE(rig.Served(rig.hooks.markRequest));
  EXPECT_EQ(rig.log.Bytes(), kStamp + "|MARK000" + kStamp + "||MARK1000" + kStamp + "|");
}

// The wire's waits, held, end only for bytes, a failure or an interrupt:
// whatever else asks for the thread's work must wake it.
TEST(CommThread, PacketsAndBytesEndItsSleepInAQuietDevice) {
  const struct {
    const char* name;
    std::function<void(Rig&)> ask;
    std::function<bool(Rig&)> done;
  } cases[] = {
      {"a packet", [](Rig& r) { ASSERT_EQ(TxMsXmit(r.link, 1), 0); }, [](Rig& r) { return r.wire->PacketCount() == 1; }},
      {"bytes, which ring the reader waiting for them",
       [](Rig& r) {
         r.link.WatchArrival(r.reader, 3);
         r.wire->SendToHost({1, 2, 3});
       },
       [](Rig& r) { return r.reader.Count() == 1 && r.link.RxAvailable() == 3; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig(UpdateUtilityProfile());  // no stream request after the open
    rig.wire->HoldWaits(true);
    rig.Open();
    ASSERT_TRUE(WaitFor([&] { return rig.wire->WaitsBegun() > 0; }));  // asleep in the device, or about to be
    c.ask(rig);
    EXPECT_TRUE(WaitFor([&] { return c.done(rig); }));
  }
}

TEST(CommThread, ReceivedBytesGoToTheLogOnlyWhileNotPaused) {
  Rig rig;
  rig.hooks.writerPaused = 1;
  rig.StartLog();
  rig.Open();
  ASSERT_TRUE(rig.Feed(300));
  EXPECT_TRUE(rig.log.Bytes().empty());
  rig.hooks.writerPaused = 0;
  ASSERT_TRUE(rig.Feed(3));
  EXPECT_EQ(rig.log.Bytes(), "\x11\x11\x11");
}

TEST(CommThread, FailedLogWriteStopsTheWriterReportsOnceAndBytesStillReachTheRing) {
  Rig rig;
  rig.log.failBytes = true;
  rig.StartLog();
  rig.Open();
  ASSERT_TRUE(rig.Feed(3));
  EXPECT_EQ(rig.writeErrors, 1);
  EXPECT_EQ(rig.hooks.writerMode, 0u);
}

}  // namespace
}  // namespace vantor
