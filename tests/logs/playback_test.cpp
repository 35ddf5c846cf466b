#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <tuple>

#include "live/adc_channels.h"
#include "live/byte_source.h"
#include "live/display_thread.h"
#include "live/frame_loop.h"
#include "live/live_data.h"
#include "live/live_frame.h"
#include "logs/data_log_recorder.h"
#include "support/analysis_test_support.h"
#include "support/log_builder.h"
#include "logs/playback.h"
#include "support/sim_wire.h"

namespace vantor::testing {
namespace {

using simtest::WaitFor;

class NumberRecorder : public FrameConsumer {
 public:
  void OnFrame(const std::uint8_t* data, bool) override {
    std::lock_guard lock(mutex_);
    numbers_.push_back(static_cast<int>(frame::Word(data, frame::kPromId)));
  }
  std::vector<int> Numbers() {
    std::lock_guard lock(mutex_);
    return numbers_;
  }
  int Last() { return Numbers().back(); }

 private:
  std::mutex mutex_;
  std::vector<int> numbers_;
};

class PlaybackTest : public ::testing::Test {
 protected:
  PlaybackTest() {
    adc.BuildActiveChannels(settings);
    loop.SetConsumer(ConsumerSlot::Trip, &trip);
    loop.SetConsumer(ConsumerSlot::Gauges, &gauges);
    state.SetMode(DisplayMode::Trip);
    settings.pbSpd = 0;
    display.SetPlaybackStep([this] { playback.PlaybackStep(); });
  }
  ~PlaybackTest() override {
    display.Stop();
    playback.StopPlayback();
  }

  // Frame n carries n in its PROM id word, 17 frames a second of run time, the engine running.
  std::string WriteLog(unsigned frames) {
    testlog::LogBuilder log;
    for (unsigned n = 0; n < frames; ++n) {
      testlog::FrameData data{};
      testlog::SetWord(data, frame::kRunTime, 1 + n / 17);
      data[frame::kStatus1] = 0x80;
      testlog::SetWord(data, frame::kPromId, n);
      log.Frame(data);
    }
    log.Save(dir + "/play.dat");
    return dir + "/play.dat";
  }

  void Steps(int n) {
    for (int i = 0; i < n; ++i) playback.PlaybackStep();
  }

  Settings settings;
  ByteSources sources{nullptr, ByteSourceId::Live};
  LiveData live;
  AdcChannels adc;
  DisplayState state;
  FrameLoop loop{sources, live, adc, state};
  LogHooks logHooks;
  DataLogRecorder recorder{logHooks, settings, {}};
  std::vector<std::string> messages;
  std::vector<int> progressMaxima;
  std::atomic<int> progressSteps{0}, endsReached{0}, restsUntilWoken{0};
  std::vector<std::chrono::milliseconds> rests;
  // The display thread calls the step, end and rest hooks in the threaded
  // tests; there the rest is the real one (the steps called here directly
  // never wait: no pass of the display thread has begun).
  void Rest(std::chrono::milliseconds d) {
    rests.push_back(d);
    if (d == kRestUntilWoken) {
      ++restsUntilWoken;
      sources.Rest();
    } else {
      sources.RestUntil(std::chrono::steady_clock::now() + d);
    }
  }
  Playback playback{
      sources, loop, live, &recorder, settings,
      PlaybackHooks{[this](const std::string& t, const std::string& c) { messages.push_back(t + "|" + c); },
                    [this](int maximum) { progressMaxima.push_back(maximum); }, [this] { ++progressSteps; }, nullptr,
                    nullptr, [this] { ++endsReached; }, nullptr, [this](std::chrono::milliseconds d) { Rest(d); }}};
  NumberRecorder trip, gauges;
  DisplayThread display{loop, sources, state, nullptr, &logHooks};
  testlog::TempDir scratch;
  const std::string dir = scratch.Path();
};

TEST(PlaybackArithmeticTest, BackUpStepsOf4709BytesStopAtTheStartAndProgressCountsSecondsPlusFive) {
  EXPECT_EQ(BackUpTarget(100000, 6), 71746);
  EXPECT_EQ(BackUpTarget(9418, 2), 0);
  EXPECT_EQ(ProgressMaximum(4709 * 10 - 1), 14);
}

// An unopenable file changes nothing.
TEST_F(PlaybackTest, StartSwitchesToTheFileRemembersItAndClosesARunningLog) {
  EXPECT_FALSE(playback.StartPlayback(dir + "/none.dat"));
  EXPECT_EQ(messages, std::vector<std::string>{"Can not open Playback Data File|File Open Error"});
  EXPECT_EQ(sources.Current(), ByteSourceId::Live);
  EXPECT_TRUE(settings.play.empty());
  ASSERT_TRUE(recorder.StartDataLog(dir + "/rec.dat"));
  const std::string path = WriteLog(170);
  ASSERT_TRUE(playback.StartPlayback(path));
  EXPECT_EQ(sources.Current(), ByteSourceId::Playback);
  EXPECT_EQ(progressMaxima, std::vector<int>{170 * 277 / 4709 + 5});
  EXPECT_EQ(std::tie(settings.play, settings.playName, settings.playPath),
            std::make_tuple(path, std::string("play.dat"), dir + "/"));
  EXPECT_FALSE(recorder.Logging());
}

// Progress steps once every 17 frames.
TEST_F(PlaybackTest, FramesComeInOrderPacedByTheRateAndPauseStopsThem) {
  settings.pbSpd = 50;
  ASSERT_TRUE(playback.StartPlayback(WriteLog(60)));
  using std::chrono::milliseconds;
  Steps(3);
  EXPECT_EQ(trip.Numbers(), (std::vector<int>{0, 1, 2}));
  playback.SetPaused(true);
  Steps(2);
  EXPECT_EQ(trip.Numbers().size(), 3u);
  playback.SetPaused(false);
  playback.SetRate(0);
  EXPECT_EQ(settings.pbSpd, 0);
  Steps(2);
  EXPECT_EQ(trip.Numbers(), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(rests, (std::vector<milliseconds>{milliseconds(57), milliseconds(57), milliseconds(57), kRestUntilWoken,
                                              kRestUntilWoken}))
      << "paused: a rest until woken; [PBSPD] 0: no rest between frames";
  Steps(11);
  EXPECT_EQ(progressSteps, 0);
  Steps(1);
  EXPECT_EQ(progressSteps, 1);
}

TEST_F(PlaybackTest, BackUpSixStepsReplaysFromAFrameBoundaryAndHoldsTheAccumulators) {
  state.SetMode(DisplayMode::Gauges);
  ASSERT_TRUE(playback.StartPlayback(WriteLog(400)));
  Steps(361);  // the file position is now 361 x 277 = 99997
  ASSERT_EQ(trip.Last(), 360);
  const int progressBefore = progressSteps;
  playback.AddBackUp(6);  // 99997 - 6 x 4709 = 71743 = 259 x 277
  playback.AddBackUp(2);  // adds to the pending count, keeps the first target
  Steps(1);
  // 8 steps back: 99997 - 37672 = 62325 = 225 x 277
  EXPECT_EQ(gauges.Last(), 226) << "the back-up frame and the step's own frame";
  EXPECT_TRUE(loop.CatchingUp());
  Steps(360 - 226);
  EXPECT_FALSE(loop.CatchingUp()) << "frame 360 is the frame shown at the click";
  EXPECT_EQ(trip.Last(), 360) << "the trip computer saw no replayed frame";
  EXPECT_EQ(progressSteps, progressBefore) << "no progress while catching up";
  Steps(1);
  EXPECT_EQ(trip.Last(), 361);
}

// Parked at the end, not inside the reader: a display switch (a suspension)
// is served at once, long before its bound.
TEST_F(PlaybackTest, EndOfFileParksTheDisplayThread) {
  ASSERT_TRUE(playback.StartPlayback(WriteLog(3)));
  display.Start();
  ASSERT_TRUE(WaitFor([&] { return playback.AtEnd(); }));
  EXPECT_TRUE(display.Suspend(std::chrono::seconds(5)));
  display.Resume();
  EXPECT_EQ(trip.Numbers(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(endsReached, 1);
}

// Paused, the display thread sleeps until the pause ends.
TEST_F(PlaybackTest, PauseRestsTheDisplayThreadUntilItEnds) {
  settings.pbSpd = 1;
  ASSERT_TRUE(playback.StartPlayback(WriteLog(3000)));
  display.Start();
  playback.SetPaused(true);
  ASSERT_TRUE(WaitFor([&] { return restsUntilWoken > 0; }));
  const auto held = trip.Numbers().size();
  playback.SetPaused(false);
  EXPECT_TRUE(WaitFor([&] { return trip.Numbers().size() > held; }));
}

// A log that can not be read to its end is said to be so, not taken for its
// end. A directory opens as a file only on POSIX.
#ifndef _WIN32
TEST_F(PlaybackTest, AReadErrorIsReportedWhereTheEndOfTheFileIsNot) {
  std::filesystem::create_directory(dir + "/unreadable.dat");
  display.Start();
  for (const auto& [path, reported] : {std::pair{WriteLog(3), false}, {dir + "/unreadable.dat", true}}) {
    SCOPED_TRACE(path);
    ASSERT_TRUE(playback.StartPlayback(path));
    ASSERT_TRUE(WaitFor([&] { return playback.AtEnd(); }));
    playback.StopPlayback();
    EXPECT_EQ(messages, reported ? std::vector<std::string>{std::string(kPlaybackReadErrorText) + "|File Read Error"}
                                 : std::vector<std::string>{});
  }
}
#endif  // _WIN32

}  // namespace
}  // namespace vantor::testing
