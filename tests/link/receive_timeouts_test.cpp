// The reply receiver's time limits, driven by a hand-stepped LinkTick.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "link/ecm_link.h"
#include "link/packets.h"
#include "support/test_ecm_support.h"

namespace vantor {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::WaitFor;

struct Limits {
  const LinkProfile* profile;
  std::uint32_t headerSearch, timeout1, timeout2, timeout3;
  bool operator==(const Limits&) const = default;
};

// Ticks a receiver may be late in seeing a step on a busy machine.
constexpr std::uint32_t kSlack = 8;

const Bytes kReply = test::MakeReply('A', test::AckPayload(4, 0, 0, 0));

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

  // Starts the receiver once `fed` bytes of the reply wait; returns once all but `left` are taken.
  void StartReceiver(std::size_t fed, std::uint32_t left = 0) {
    m.Feed(Bytes(kReply.begin(), kReply.begin() + static_cast<std::ptrdiff_t>(fed)));
    start_ = m.link.Tick().Now();
    receiver_ = std::thread([this] {
      result_ = ReceiveSlReply(m.link);
      done_.store(true);
    });
    WaitTaken(left);
  }
  void WaitTaken(std::uint32_t left) { ASSERT_TRUE(WaitFor([&] { return m.link.RxAvailable() <= left; })); }
  int Join() {
    receiver_.join();
    return result_;
  }

  // Steps the tick until the receiver fails, and checks it failed just past `limit`.
  void ExpectFailure(const char* text, std::uint32_t limit) {
    for (int step = 0; step < 400 && !done_.load(); ++step) {
      m.link.Tick().Advance();
      WaitFor([this] { return done_.load(); }, 10ms);
    }
    ASSERT_EQ(Join(), -1);
    const auto lines = m.sink.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, text);
    const std::uint32_t elapsed = lines[0].tick - start_;
    EXPECT_GE(elapsed, limit + 1);
    EXPECT_LE(elapsed, limit + 1 + kSlack);
  }

  test::LinkRig m;
  std::thread receiver_;
  std::atomic<bool> done_{false};
  int result_ = 0;
  std::uint32_t start_ = 0;
};

// The exact limits: the timed checks below allow a few ticks of lateness.
TEST_P(ReceiveTimeouts, ProfileCarriesTheLimits) {
  const LinkProfile& p = *GetParam().profile;
  EXPECT_EQ((Limits{&p, p.headerSearchTicks, p.timeout1Ticks, p.timeout2Ticks, p.timeout3Ticks}), GetParam());
}

TEST_P(ReceiveTimeouts, SilenceGivesTimeout1) {
  StartReceiver(1, 1);
  ExpectFailure("RX Timeout 1", GetParam().timeout1);
}

TEST_P(ReceiveTimeouts, ShutdownAbandonsTheWaitWithoutAMessage) {
  StartReceiver(5);
  m.link.RequestShutdown();  // the clock stands still: only the shutdown can end the wait
  EXPECT_EQ(Join(), -1);
  EXPECT_TRUE(m.sink.Lines().empty());
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, ReceiveTimeouts,
                         ::testing::Values(Limits{&MainProgramProfile(), 20, 10, 20, 20},
                                           Limits{&UpdateUtilityProfile(), 30, 20, 20, 5}),
                         [](const auto& info) { return std::string(info.param.profile->name); });

}  // namespace
}  // namespace vantor
