// The communication thread and the command set against the simulated ECM
// served on a real pseudo-terminal and opened through the termios back-end.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "link/commands.h"
#include "link/ecm_link.h"
#include "live/comm_thread.h"
#include "live/frame_reader.h"
#include "sim/pty_server.h"
#include "sim/sim_ecm.h"
#include "live/frame_wait.h"
#include "sim/sim_wire.h"

namespace vantor {
namespace {

using livetest::WaitForFrame;
using simtest::WaitFor;

std::string LinkPath(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::string(name) + std::to_string(::getpid()))).string();
}

class PrintingSink final : public MessageSink {
 public:
  void AddLine(Rgb, std::string_view text) override { ADD_FAILURE() << "message pane: " << text; }
};

struct PtyRig {
  explicit PtyRig(const char* name) : server(ecm, LinkPath(name)), comm(link, nullptr) {
    std::string error;
    EXPECT_TRUE(server.Start(&error)) << error;
    link.SetMessageSink(&sink);
    comm.Start();
  }
  ~PtyRig() { comm.Stop(); }
  void Open() {
    link.SelectPort(server.DevicePath());
    ASSERT_TRUE(WaitFor([&] { return link.Connected() && link.PortIsOpen(); }));
  }

  PrintingSink sink;
  sim::SimEcm ecm{sim::SimOptions{.paced = false, .framesPerSecond = 17.0, .cylinders = 8, .clock = nullptr}};  // the pseudo-terminal is the point, not the line rate
  sim::PtyServer server;
  EcmLink link;
  CommThread comm;
};

TEST(PtyLink, StreamStartsAfterOpenAndStopsWithARingReset) {
  PtyRig rig("vantor_pty_stream_");
  rig.Open();
  EXPECT_TRUE(WaitForFrame(rig.link));
  ASSERT_EQ(TxMsXmit(rig.link, kStreamStop), 0);
  EXPECT_TRUE(WaitFor([&] { return !rig.ecm.Streaming() && rig.link.RxAvailable() == 0; }));
}

TEST(PtyLink, DeviceThatDisappearsIsReopenedWithBackOffWhenItReturns) {
  PtyRig rig("vantor_pty_unplug_");
  rig.Open();
  ASSERT_TRUE(WaitForFrame(rig.link));
  rig.server.Unplug();
  ASSERT_TRUE(WaitFor([&] { return !rig.link.PortIsOpen(); }));
  ASSERT_TRUE(WaitFor([&] { return rig.link.RetryDelayMs() >= 500; }));
  std::string error;
  ASSERT_TRUE(rig.server.Replug(&error)) << error;
  EXPECT_TRUE(WaitFor([&] { return rig.link.PortIsOpen(); }));
  EXPECT_TRUE(WaitForFrame(rig.link));
}

TEST(PtyLink, FullFlashDialogue) {
  PtyRig rig("vantor_pty_flash_");
  rig.Open();
  rig.link.Tick().Start();
  constexpr int kBank = 5;
  std::vector<std::uint8_t> pages(4096);
  for (std::size_t i = 0; i < pages.size(); ++i) pages[i] = static_cast<std::uint8_t>(i * 13 + 7);

  ASSERT_EQ(TxMsXmit(rig.link, kStreamStop), 0);
  ASSERT_EQ(TxMsBank(rig.link, kBank), 0);
  ASSERT_TRUE(WaitFor([&] { return !rig.link.TxPending(); }));  // the bank operations pause here too
  ASSERT_EQ(TxMsFlash(rig.link), 0);
  InfoParams info;
  info.bank = kBank;
  ASSERT_EQ(TxSlInfo(rig.link, info), 0);
  ASSERT_EQ(TxSlEraseSector(rig.link, kBank * 8 + 0), 0);
  for (int page = 0; page < 32; ++page)
    ASSERT_EQ(TxSlPgmPage(rig.link, page, kBank, &pages[static_cast<std::size_t>(page) * 128]), 0) << page;
  ASSERT_EQ(TxSlRequestCal(rig.link, kBank), 0);
  const auto& payload = rig.link.Reply().payload;
  EXPECT_EQ(payload[0], kBank);
  EXPECT_TRUE(std::equal(pages.begin(), pages.end(), payload.begin() + 1));
  ASSERT_EQ(TxSlStop(rig.link, true), 0);
  rig.link.Tick().Stop();

  EXPECT_FALSE(rig.ecm.FlashMode());
  EXPECT_EQ(rig.ecm.RunningBank(), kBank);
  const auto bank = rig.ecm.Bank(kBank);
  EXPECT_TRUE(std::equal(pages.begin(), pages.end(), bank.begin()));
}

}  // namespace
}  // namespace vantor
