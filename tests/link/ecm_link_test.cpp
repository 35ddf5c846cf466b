#include "link/ecm_link.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "test_ecm_support.h"

namespace vantor {
namespace {

using test::Bytes;
using test::FakeOpener;
using test::FakeWire;
using test::WaitFor;

const Bytes kStopPacket{0x52, 0x58, 0x00, 0xB7, 0xB8};
const Bytes kStartPacket{0x52, 0x58, 0x66, 0xBB, 0xD8};

using DirectLink = test::ManualLink;

TEST(SubmitPacket, OnePacketOfAtMost256BytesWhileConnected) {
  DirectLink direct;
  const Bytes big(257, 0xA5), second{4, 5};
  EXPECT_EQ(direct.link.SubmitPacket(big.data(), 1), -1);  // not connected
  direct.Open();
  EcmLink& link = direct.link;
  EXPECT_EQ(link.SubmitPacket(big.data(), 257), -1);
  EXPECT_FALSE(link.TxPending());
  EXPECT_EQ(link.SubmitPacket(big.data(), 256), 0);
  EXPECT_TRUE(link.TxPending());
  EXPECT_EQ(link.SubmitPacket(second.data(), 2), -1);  // the slot is taken until written
  EXPECT_EQ(link.WritePendingPacket(), IoStatus::Ok);
  EXPECT_EQ(direct.wire->Packets().back(), Bytes(256, 0xA5));
  EXPECT_EQ(link.SubmitPacket(second.data(), 2), 0);
  direct.WhileServed([&] { link.ReleasePort(); });
  EXPECT_EQ(link.SubmitPacket(second.data(), 2), -1);
}

TEST(PortOpen, MainProgramStartsTheStreamUpdateUtilityDoesNot) {
  DirectLink main;
  main.Open();
  EXPECT_TRUE(main.link.Connected());
  EXPECT_TRUE(main.link.PortIsOpen());
  EXPECT_EQ(main.opener.LastPortName(), "COM2");
  ASSERT_EQ(main.wire->PacketCount(), 1u);
  EXPECT_EQ(main.wire->Packets()[0], kStartPacket);

  DirectLink update(UpdateUtilityProfile());
  update.Open();
  EXPECT_TRUE(update.link.Connected());
  EXPECT_EQ(update.wire->PacketCount(), 0u);
}

TEST(RequestPort, CloseStopsTheStreamBeforeClearingConnected) {
  test::TestEcm ecm;
  ecm.Connect();
  ecm.Wire().ClearPackets();
  EcmLink& link = ecm.Link();
  ASSERT_TRUE(link.HandleValid());
  link.RequestPort(PortClose, nullptr);
  EXPECT_FALSE(link.Connected());
  EXPECT_EQ(link.RequestedMode(), PortClose);
  ASSERT_TRUE(WaitFor([&] { return !link.RequestPending() && !link.HandleValid(); }));
  ASSERT_EQ(ecm.Wire().PacketCount(), 1u);
  EXPECT_EQ(ecm.Wire().Packets()[0], kStopPacket);
  EXPECT_FALSE(link.PortIsOpen());
  EXPECT_EQ(link.RequestedPortName(), "");
}

TEST(RequestPort, OpenOfAnOpenPortSendsNoStop) {
  test::TestEcm ecm(UpdateUtilityProfile());
  ecm.Connect();
  const std::string port = "COM5";
  ecm.Link().RequestPort(PortOpen, &port);
  EXPECT_EQ(ecm.Link().RequestedPortName(), "COM5");
  ASSERT_TRUE(WaitFor([&] { return ecm.Link().Connected(); }));
  EXPECT_EQ(ecm.Wire().PacketCount(), 0u);
}

TEST(RequestPort, SelectPortLeavesAHeldPortAloneButRemembersTheChoice) {
  DirectLink direct;
  direct.Open();
  int remembered = 0;
  bool held = true;
  direct.link.SetSelectPolicy([&] { return held; }, [&] { ++remembered; });
  direct.link.SelectPort("COM7");
  EXPECT_FALSE(direct.link.RequestPending());
  EXPECT_EQ(remembered, 1);
  held = false;
  direct.WhileServed([&] { direct.link.SelectPort("COM7"); });
  EXPECT_TRUE(direct.link.RequestPending());
  EXPECT_EQ(direct.link.RequestedMode(), PortReopen);
  EXPECT_EQ(direct.link.RequestedPortName(), "COM7");
  EXPECT_FALSE(direct.link.PortReleased());
  EXPECT_EQ(remembered, 2);
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

void ExpectRetryProgression(const LinkProfile& profile) {
  auto wire = std::make_shared<FakeWire>();
  FakeOpener opener(wire);
  EcmLink link(profile);
  opener.Refuse(true);
  opener.WatchDelays(&link);
  link.SetDeviceOpener([&](const std::string& name) { return opener.Open(name); });
  const std::string port = "COM9";
  link.RequestPort(PortOpen, &port);
  std::thread comm([&] { link.ServicePortRequest(); });
  const bool reached = WaitFor([&] { return link.RetryDelayMs() == 1000; });
  link.RequestShutdown();
  comm.join();
  ASSERT_TRUE(reached);
  const std::vector<std::uint32_t> seen = opener.DelaysSeen();
  ASSERT_GE(seen.size(), 4u);
  // The first attempt, then the one after the fixed 125 ms, then the doubled waits.
  EXPECT_EQ(std::vector<std::uint32_t>(seen.begin(), seen.begin() + 4),
            (std::vector<std::uint32_t>{125, 125, 250, 500}));
  EXPECT_FALSE(link.Connected());
  EXPECT_FALSE(link.PortIsOpen());
}

TEST(ReopenBackoff, RefusedOpensAreRetriedWithGrowingWaits) {
  ExpectRetryProgression(MainProgramProfile());
  ExpectRetryProgression(UpdateUtilityProfile());
}

// A request posted while the retry loop runs is serviced once the loop ends.
TEST(ReopenBackoff, RequestPostedDuringTheRetryLoopIsNotLost) {
  auto wire = std::make_shared<FakeWire>();
  FakeOpener opener(wire);  // outlives the communication thread of `ecm`
  test::TestEcm ecm;
  opener.Refuse(true);
  EcmLink& link = ecm.Link();
  link.SetDeviceOpener([&](const std::string& name) { return opener.Open(name); });
  const std::string port = "COM4";
  link.RequestPort(PortOpen, &port);
  ASSERT_TRUE(WaitFor([&] { return opener.Attempts() >= 2; }));
  link.RequestPort(PortClose, nullptr);
  opener.Refuse(false);
  ASSERT_TRUE(WaitFor([&] { return !link.RequestPending() && !link.HandleValid(); }));
  EXPECT_FALSE(link.Connected());
  EXPECT_FALSE(link.PortIsOpen());
  EXPECT_EQ(wire->PacketCount(), 0u);  // never streamed on the superseded open
}

TEST(DeviceFailure, ReadErrorReopensAndRestartsTheStream) {
  test::TestEcm ecm;
  ecm.Connect();
  ecm.Wire().ClearPackets();
  ecm.Wire().FailReads(true);
  // Only a reopen writes another stream request.
  ASSERT_TRUE(WaitFor([&] { return ecm.Wire().PacketCount() >= 1; }));
  ecm.Wire().FailReads(false);
  EXPECT_EQ(ecm.Wire().Packets()[0], kStartPacket);
  EXPECT_TRUE(WaitFor([&] { return ecm.Link().Connected() && !ecm.Link().RequestPending(); }));
}

// A packet handed over while the device is gone would be written to the
// reopened device long after its sender gave up on the reply.
TEST(DeviceFailure, NothingIsAcceptedOnceTheDeviceHasFailed) {
  test::ManualLink manual;
  manual.Open();
  manual.Written();
  EXPECT_TRUE(manual.link.Connected());
  manual.wire->FailReads(true);
  std::uint8_t byte = 0;
  ASSERT_EQ(manual.link.ReadDeviceByte(&byte), IoStatus::Failed);
  EXPECT_TRUE(manual.link.RequestPending());
  EXPECT_FALSE(manual.link.Connected());
  const std::uint8_t packet[5] = {0x52, 0x58, 0x66, 0xBB, 0xD8};
  EXPECT_EQ(manual.link.SubmitPacket(packet, sizeof packet), -1);
}

// A device that fails while a close is on its way must not turn the close
// into a reopen: the port would come back although the user closed it.
TEST(DeviceFailure, CloseRequestedAsTheDeviceFailsStaysAClose) {
  test::ManualLink manual;
  manual.Open();
  EcmLink& link = manual.link;
  manual.WhileServed([&] { link.RequestPort(PortClose, nullptr); });
  manual.wire->FailReads(true);
  std::uint8_t byte = 0;
  ASSERT_EQ(link.ReadDeviceByte(&byte), IoStatus::Failed);
  EXPECT_EQ(link.RequestedMode(), PortClose);
  link.ServicePortRequest();
  EXPECT_FALSE(link.HandleValid());
  EXPECT_FALSE(link.Connected());
}

TEST(DeviceFailure, CloseRequestedWhileTheReopenClosesTheDeviceIsKept) {
  test::ManualLink manual;
  manual.Open();
  EcmLink& link = manual.link;
  manual.wire->FailReads(true);
  std::uint8_t byte = 0;
  ASSERT_EQ(link.ReadDeviceByte(&byte), IoStatus::Failed);
  manual.wire->FailReads(false);
  bool posted = false;
  // The user closes the port just as the reopen has closed the device.
  link.SetStatusHook([&](bool open) {
    if (open || posted) return;
    posted = true;
    link.RequestPort(PortClose, nullptr);
  });
  link.ServicePortRequest();
  ASSERT_TRUE(posted);
  EXPECT_EQ(link.RequestedMode(), PortClose);
  ASSERT_TRUE(link.RequestPending());
  link.ServicePortRequest();
  EXPECT_FALSE(link.HandleValid());
  EXPECT_FALSE(link.Connected());
}

}  // namespace
}  // namespace vantor
