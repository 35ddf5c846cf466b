// The reply receiver's time limits, driven by a hand-stepped LinkTick.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "link/ecm_link.h"
#include "link/packets.h"
#include "test_ecm_support.h"

namespace vantor {
namespace {

using namespace std::chrono_literals;
using test::AckPayload;
using test::Bytes;
using test::MakeReply;
using test::WaitFor;

struct Limits {
  const LinkProfile* profile;
  std::uint32_t headerSearch, timeout1, timeout2, timeout3;
};

// Ticks a receiver may be late in seeing a step on a busy machine; the two
// programs' limits differ by more where they differ at all.
constexpr std::uint32_t kSlack = 8;

class ReceiveTimeouts : public ::testing::TestWithParam<Limits> {
 protected:
  ReceiveTimeouts() : m(*GetParam().profile) { m.Open(); }
  ~ReceiveTimeouts() override {
    // After a failed assertion the receiver may still wait: run its clock out.
    while (receiver_.joinable() && !done_.load()) {
      m.link.Tick().Advance(100);
      std::this_thread::yield();
    }
    if (receiver_.joinable()) receiver_.join();
  }

  // Runs the receiver on its own thread; the test thread plays the clock.
  void StartReceiver() {
    start_ = m.link.Tick().Now();
    receiver_ = std::thread([this] {
      result_ = ReceiveSlReply(m.link);
      done_.store(true);
    });
  }

  // Steps the tick one at a time, giving the receiver a moment to look after each step.
  int StepUntilDone() {
    for (int step = 0; step < 400 && !done_.load(); ++step) {
      m.link.Tick().Advance();
      WaitFor([this] { return done_.load(); }, 10ms);
    }
    return Join();
  }

  int Join() {
    receiver_.join();
    return result_;
  }

  void ExpectFailure(const char* text, std::uint32_t limit) {
    ASSERT_EQ(StepUntilDone(), -1);
    const auto lines = m.sink.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, text);
    EXPECT_EQ(lines[0].colour, GetParam().profile->receiveErrorColour);
    const std::uint32_t elapsed = lines[0].tick - start_;
    EXPECT_GE(elapsed, limit + 1);
    EXPECT_LE(elapsed, limit + 1 + kSlack);
  }

  test::ManualLink m;
  std::thread receiver_;
  std::atomic<bool> done_{false};
  int result_ = 0;
  std::uint32_t start_ = 0;
};

// The exact limits: the timed checks below allow a few ticks of lateness.
TEST_P(ReceiveTimeouts, ProfileCarriesTheLimits) {
  const LinkProfile& profile = *GetParam().profile;
  EXPECT_EQ(profile.headerSearchTicks, GetParam().headerSearch);
  EXPECT_EQ(profile.timeout1Ticks, GetParam().timeout1);
  EXPECT_EQ(profile.timeout2Ticks, GetParam().timeout2);
  EXPECT_EQ(profile.timeout3Ticks, GetParam().timeout3);
}

TEST_P(ReceiveTimeouts, SilenceGivesTimeout1) {
  m.Feed({0x53});  // one byte is not enough to start
  StartReceiver();
  ExpectFailure("RX Timeout 1", GetParam().timeout1);
}

TEST_P(ReceiveTimeouts, HeaderArrivingAtTheTimeout1LimitIsStillRead) {
  StartReceiver();
  m.link.Tick().Advance(GetParam().timeout1);
  m.Feed(MakeReply('A', AckPayload(4, 0, 0, 0)));
  EXPECT_EQ(Join(), 0);
  EXPECT_TRUE(m.Messages().empty());
}

TEST_P(ReceiveTimeouts, MissingPayloadByteGivesTimeout2) {
  const Bytes reply = MakeReply('A', AckPayload(4, 0, 0, 0));
  m.Feed(Bytes(reply.begin(), reply.begin() + 7));
  StartReceiver();
  ASSERT_TRUE(WaitFor([this] { return m.link.RxAvailable() == 0; }));
  ExpectFailure("RX Timeout 2", GetParam().timeout2);
}

TEST_P(ReceiveTimeouts, Timeout2CountsPerByte) {
  const Bytes reply = MakeReply('A', AckPayload(4, 0, 0, 0));
  m.Feed(Bytes(reply.begin(), reply.begin() + 3));
  StartReceiver();
  for (std::size_t i = 3; i < reply.size() - 2; ++i) {
    ASSERT_TRUE(WaitFor([this] { return m.link.RxAvailable() == 0; }));
    m.link.Tick().Advance(GetParam().timeout2);  // the limit for each byte, never beyond it
    m.Feed({reply[i]});
  }
  ASSERT_TRUE(WaitFor([this] { return m.link.RxAvailable() == 0; }));
  m.Feed(Bytes(reply.end() - 2, reply.end()));
  EXPECT_EQ(Join(), 0);
}

TEST_P(ReceiveTimeouts, MissingChecksumByteGivesTimeout3) {
  const Bytes reply = MakeReply('A', AckPayload(4, 0, 0, 0));
  m.Feed(Bytes(reply.begin(), reply.end() - 1));
  StartReceiver();
  ASSERT_TRUE(WaitFor([this] { return m.link.RxAvailable() <= 1; }));
  ExpectFailure("RX Timeout 3", GetParam().timeout3);
}

TEST_P(ReceiveTimeouts, ChecksumArrivingAtTheTimeout3LimitIsStillRead) {
  const Bytes reply = MakeReply('A', AckPayload(4, 0, 0, 0));
  m.Feed(Bytes(reply.begin(), reply.end() - 2));
  StartReceiver();
  ASSERT_TRUE(WaitFor([this] { return m.link.RxAvailable() == 0; }));
  m.link.Tick().Advance(GetParam().timeout3);
  m.Feed(Bytes(reply.end() - 2, reply.end()));
  EXPECT_EQ(Join(), 0);
}

// The stream was not stopped: bytes keep coming but no header.
TEST_P(ReceiveTimeouts, EndlessStrayBytesGiveStreamingDataFailure) {
  std::atomic<bool> feeding{true};
  std::thread feeder([&] {
    while (feeding.load()) {
      if (m.link.RxAvailable() < 64)
        m.link.StoreRxByte(0x55);
      else
        std::this_thread::yield();
    }
  });
  StartReceiver();
  ExpectFailure("RX Streaming Data Failure", GetParam().headerSearch);
  feeding.store(false);
  feeder.join();
}

TEST_P(ReceiveTimeouts, ShutdownAbandonsTheWaitWithoutAMessage) {
  const Bytes reply = MakeReply('A', AckPayload(4, 0, 0, 0));
  m.Feed(Bytes(reply.begin(), reply.begin() + 5));
  StartReceiver();
  ASSERT_TRUE(WaitFor([this] { return m.link.RxAvailable() == 0; }));
  m.link.RequestShutdown();  // the clock stands still: only the shutdown can end the wait
  EXPECT_EQ(Join(), -1);
  EXPECT_TRUE(m.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, ReceiveTimeouts,
                         ::testing::Values(Limits{&MainProgramProfile(), 20, 10, 20, 20},
                                           Limits{&UpdateUtilityProfile(), 30, 20, 20, 5}),
                         [](const auto& info) { return std::string(info.param.profile->name); });

}  // namespace
}  // namespace vantor
