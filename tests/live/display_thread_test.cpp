#include <gtest/gtest.h>

#include <chrono>

#include "link/ecm_link.h"
#include "live/adc_channels.h"
#include "live/byte_source.h"
#include "live/display_thread.h"
#include "live/frame_loop.h"
#include "live/live_data.h"
#include "live/log_hooks.h"
#include "support/log_builder.h"
#include "settings/settings.h"
#include "support/sim_wire.h"

namespace vantor {
namespace {

using simtest::WaitFor;

std::vector<std::uint8_t> GoodFrame() { return testlog::FrameEnvelope(std::vector<std::uint8_t>(kFrameDataSize, 0)); }

class DisplayThreadTest : public ::testing::Test {
 protected:
  DisplayThreadTest() {
    adc.BuildActiveChannels(settings);
    display.SetKeepAlive([this] { ++keepAlives; });
  }

  // As the communication thread does: the bytes, then their announcement.
  void StoreBytes(const std::vector<std::uint8_t>& bytes) {
    for (std::uint8_t b : bytes) link.StoreRxByte(b);
    link.AnnounceArrival();
  }

  void StartRecording() { hooks.writerMode = 1; }
  // The communication thread's part: take the request.
  bool TakeFlushRequest() { return hooks.flushRequest.exchange(0) == 1; }

  Settings settings;
  EcmLink link;
  LogHooks hooks;
  ByteSources sources{&link, ByteSourceId::Live};
  LiveData live;
  AdcChannels adc;
  DisplayState state;
  FrameLoop loop{sources, live, adc, state};
  DisplayThread display{loop, sources, state, &link, &hooks};
  std::atomic<int> keepAlives{0};
};

// One stream request a second from the first pass on, seconds missed not
// piling up; a flush request when the tick passes 59, then at most every 61 seconds.
TEST_F(DisplayThreadTest, KeepAliveEverySecondAndFlushRequestsWhileRecording) {
  StartRecording();
  std::vector<int> flushedAt;
  int ticks = 0;
  for (int tick = 0; tick <= 200; tick += tick == 20 ? 5 : 1, ++ticks) {
    state.secondsTick = tick;
    display.RunOnePass();
    display.RunOnePass();
    if (TakeFlushRequest()) flushedAt.push_back(tick);
  }
  EXPECT_EQ(keepAlives, ticks);
  EXPECT_EQ(flushedAt, (std::vector<int>{60, 121, 182}));
  EXPECT_EQ(loop.FramesProcessed(), 0u) << "nothing arrived, nothing processed";
}

TEST_F(DisplayThreadTest, FrameIsProcessedOnlyWhenMoreThan360BytesWait) {
  StoreBytes(GoodFrame());
  StoreBytes(std::vector<std::uint8_t>(kFrameDueBytes - kLogFrameSize, 0x11));
  display.RunOnePass();
  EXPECT_EQ(loop.FramesProcessed(), 0u);
  StoreBytes({0x11});
  display.RunOnePass();
  EXPECT_EQ(loop.FramesProcessed(), 1u);
}

// Asleep between frames, the thread wakes when a frame is due in the ring
// and when the second ticks (nothing else rings here).
TEST_F(DisplayThreadTest, SleepsUntilAFrameIsDueOrTheSecondTicks) {
  display.Start();
  ASSERT_TRUE(WaitFor([&] { return keepAlives == 1; }));
  StoreBytes(GoodFrame());
  StoreBytes(std::vector<std::uint8_t>(kFrameDueBytes + 1 - kLogFrameSize, 0x11));
  EXPECT_TRUE(WaitFor([&] { return loop.FramesProcessed() == 1; }));
  state.secondsTick = 1;
  sources.Wake();  // as the seconds ticker does
  EXPECT_TRUE(WaitFor([&] { return keepAlives == 2; }));
  display.Stop();
}

// A second Suspend returns once the thread, woken by it, has parked again:
// it has looked at the ring in between.
TEST_F(DisplayThreadTest, SuspendHoldsTheThreadBetweenFrames) {
  ASSERT_TRUE(display.Suspend(std::chrono::seconds(10))) << "no running thread: at once";
  display.Resume();
  display.Start();
  ASSERT_TRUE(display.Suspend(std::chrono::seconds(10)));
  StoreBytes(GoodFrame());
  StoreBytes(GoodFrame());
  ASSERT_TRUE(display.Suspend(std::chrono::seconds(10)));
  EXPECT_EQ(loop.FramesProcessed(), 0u);
  display.Resume();
  ASSERT_TRUE(WaitFor([&] { return loop.FramesProcessed() == 1; }));
  display.Stop();
}

}  // namespace
}  // namespace vantor
