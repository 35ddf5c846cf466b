#include "link/ecm_link.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "support/test_ecm_support.h"

namespace vantor {
namespace {

using simtest::MsPacket;
using test::Bytes;
using test::LinkRig;
using test::WaitFor;

TEST(SubmitPacket, OnePacketOfAtMost256BytesWhileConnected) {
  LinkRig m;
  const Bytes big(257, 0xA5);
  EXPECT_EQ(m.link.SubmitPacket(big.data(), 1), -1);  // not connected
  m.Open();
  EXPECT_EQ(m.link.SubmitPacket(big.data(), 257), -1);
  EXPECT_EQ(m.link.SubmitPacket(big.data(), 256), 0);
  EXPECT_EQ(m.link.SubmitPacket(big.data(), 2), -1);  // the slot is taken until written
  EXPECT_EQ(m.Written(), Bytes(256, 0xA5));
  EXPECT_EQ(m.link.SubmitPacket(big.data(), 2), 0);
}

// An open of an open port sends no stop (the main program restarts the stream); a release stops it.
TEST(RequestPort, OpenRestartsTheMainProgramsStreamAndReleaseStopsIt) {
  for (const auto& [profile, packets] : {std::pair(&MainProgramProfile(), 1u), std::pair(&UpdateUtilityProfile(), 0u)}) {
    LinkRig m(*profile);
    const std::vector<Bytes> started(packets, MsPacket('X', 102));
    m.Open();
    m.wire->ClearPackets();
    const std::string port = "COM5";
    m.link.RequestPort(PortOpen, &port);
    m.link.ServicePortRequest();
    EXPECT_EQ(m.opener.LastPortName(), "COM5");
    EXPECT_TRUE(m.link.Connected());
    EXPECT_EQ(m.wire->Packets(), started);
    m.wire->ClearPackets();
    m.WhileServed([&] { m.link.ReleasePort(); });
    EXPECT_EQ(m.wire->Packets(), std::vector<Bytes>{MsPacket('X', 0)});
    EXPECT_FALSE(m.link.Connected());
    EXPECT_TRUE(m.link.PortReleased());
    m.link.ServicePortRequest();
    EXPECT_FALSE(m.link.HandleValid());
  }
}

TEST(RequestPort, SelectPortLeavesAHeldPortAloneButRemembersTheChoice) {
  LinkRig m;
  m.link.ReleasePort();
  int remembered = 0;
  bool held = true;
  m.link.SetSelectPolicy([&] { return held; }, [&] { ++remembered; });
  m.link.SelectPort("COM7");
  EXPECT_EQ(m.link.RequestedMode(), PortClose);
  held = false;
  m.link.SelectPort("COM7");
  EXPECT_EQ(m.link.RequestedMode(), PortReopen);
  EXPECT_EQ(m.link.RequestedPortName(), "COM7");
  EXPECT_FALSE(m.link.PortReleased());
  EXPECT_EQ(remembered, 2);
}

// Posts an open and serves it on a thread of its own, as the communication thread would.
std::thread ServeOpen(EcmLink& link, const std::string& port) {
  link.RequestPort(PortOpen, &port);
  return std::thread([&link] { link.ServicePortRequest(); });
}

TEST(ReopenBackoff, MainProgramCapsAt5000UpdateUtilityStartsAgainAfter8000) {
  const std::pair<const LinkProfile*, std::vector<std::uint32_t>> cases[] = {
      {&MainProgramProfile(), {250, 500, 1000, 2000, 4000, 5000, 5000, 5000}},
      {&UpdateUtilityProfile(), {250, 500, 1000, 2000, 4000, 8000, 125, 250, 500}}};
  for (const auto& [profile, expected] : cases) {
    EcmLink link(*profile);
    std::vector<std::uint32_t> waits;
    std::uint32_t delay = kInitialRetryDelayMs;
    while (waits.size() < expected.size()) waits.push_back(delay = link.NextRetryDelay(delay));
    EXPECT_EQ(waits, expected) << profile->name;
  }
}

// An open's waiter learns the first attempt's outcome at once; a shutdown ends the retries and frees it.
TEST(AwaitOpenAttempt, TellsTheFirstAttemptOrTheShutdown) {
  for (const OpenOutcome expected : {OpenOutcome::Connected, OpenOutcome::Failed, OpenOutcome::ShutDown}) {
    LinkRig m;
    m.opener.Refuse(expected == OpenOutcome::Failed);
    if (expected == OpenOutcome::ShutDown) m.link.RequestShutdown();
    std::thread comm = ServeOpen(m.link, "COM9");
    EXPECT_EQ(m.link.AwaitOpenAttempt(), expected);
    EXPECT_FALSE(m.link.TxPending()) << "the slot is free for the first command";
    m.link.RequestShutdown();
    comm.join();
    EXPECT_EQ(m.link.Connected(), expected == OpenOutcome::Connected);
  }
}

// After a read error no packet is taken (its sender gives up) until the reopen restarts the
// stream; a close posted as the device fails, or as the reopen closes it, stays a close.
TEST(DeviceFailure, ReadErrorReopensTheDeviceUnlessACloseIsPosted) {
  enum { kNoClose, kCloseBefore, kCloseDuringReopen };
  for (const int close : {kNoClose, kCloseBefore, kCloseDuringReopen}) {
    SCOPED_TRACE(close);
    LinkRig m;
    m.Open();
    if (close == kCloseBefore) m.WhileServed([&] { m.link.RequestPort(PortClose, nullptr); });
    m.wire->FailReads(true);
    std::uint8_t byte = 0;
    ASSERT_EQ(m.link.ReadDeviceByte(&byte), IoStatus::Failed);
    m.wire->FailReads(false);
    ASSERT_TRUE(m.link.RequestPending());
    EXPECT_EQ(m.link.SubmitPacket(&byte, 1), -1);
    bool posted = false;
    m.link.SetStatusHook([&](bool open) {
      if (open || posted || close != kCloseDuringReopen) return;
      posted = true;
      m.link.RequestPort(PortClose, nullptr);
    });
    m.wire->ClearPackets();
    m.link.ServicePortRequest();
    if (posted) m.link.ServicePortRequest();
    EXPECT_EQ(posted, close == kCloseDuringReopen);
    EXPECT_EQ(m.link.HandleValid(), close == kNoClose);
    EXPECT_EQ(m.link.Connected(), close == kNoClose);
    EXPECT_EQ(m.wire->Packets(), std::vector<Bytes>(close == kNoClose, MsPacket('X', 102)));
  }
}

}  // namespace
}  // namespace vantor
