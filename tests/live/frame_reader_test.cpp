#include "live/frame_reader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "link/ecm_link.h"
#include "live/byte_source.h"
#include "sim/log_builder.h"
#include "sim/sim_wire.h"

namespace vantor {
namespace {

using simtest::FrameData;
using simtest::LogBuilder;

const std::string kStampText = std::string(" ") + simtest::kStampDate;

// A log file opened as the playback source.
struct PlaybackLog {
  explicit PlaybackLog(const LogBuilder& log, const std::string& name = "vantor_frame_reader.dat")
      : path(log.Save(name)) {
    EXPECT_TRUE(file.Open(path));
    sources.SetPlaybackEndHook([this] { ++endCalls; });
    sources.SetPlaybackFile(true, &file);
  }
  ~PlaybackLog() {
    sources.SetPlaybackFile(false, nullptr);
    file.Close();
    std::remove(path.c_str());
  }
  int Read() { return ReadLogFrame(sources, frame); }
  std::vector<std::uint8_t> Data() const { return {frame.data, frame.data + kFrameDataSize}; }
  std::string Time() const { return frame.timeText; }
  std::string Mark() const { return frame.markText; }

  std::string path;
  LogFileReader file;
  ByteSources sources{nullptr, ByteSourceId::Playback};
  LogFrameRead frame{};
  int endCalls = 0;
};

// A record placed after `at` envelope bytes of frame 1 is taken out of it;
// 270 is the latest place a stamp can start and still end inside the body.
// Between the sync bytes it costs the frame. Texts are per call.
TEST(ReadLogFrame, RecordInsideAFrameIsRemovedAndReported) {
  const struct {
    std::size_t at;
    std::string record;
    int firstSeed;
    const char* mark;
  } cases[] = {{100, "TIME:" + kStampText, 1, ""},
               {2, "MARK007TIME:" + kStampText, 1, "007"},
               {270, "TIME:" + kStampText, 1, ""},
               {1, "TIME:" + kStampText, 2, nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.at);
    PlaybackLog log(LogBuilder().FrameWith(1, c.at, c.record).Frame(2));
    ASSERT_EQ(log.Read(), kFrameOk);
    EXPECT_EQ(log.Data(), FrameData(c.firstSeed));
    if (!c.mark) continue;
    EXPECT_EQ(log.Mark(), c.mark);
    EXPECT_EQ(log.Time(), kStampText);
    ASSERT_EQ(log.Read(), kFrameOk);
    EXPECT_EQ(log.Time(), "");
  }
}

TEST(ReadLogFrame, FirstMarkOfARecordingIs000) {
  LogBuilder recording;
  recording.Stamp().Text("PORT COM2\r\nDLOGPATH C:\\logs\\\r\n").Frame(1).Mark(0, "07/20/2013 - 16:48:00").Frame(2);
  PlaybackLog log(recording);
  ASSERT_EQ(log.Read(), kFrameOk);
  EXPECT_EQ(log.Time(), kStampText);  // the recording's time line
  EXPECT_EQ(log.Mark(), "");
  ASSERT_EQ(log.Read(), kFrameOk);
  EXPECT_EQ(log.Data(), FrameData(2));
  EXPECT_EQ(log.Mark(), "000");
  EXPECT_EQ(log.Time(), " 07/20/2013 - 16:48:00");
}

TEST(ReadLogFrame, BadCheckResynchronisesFiveBytesBeforeTheEndOfTheFailedFrame) {
  // The failed frame ends in 0x55 0xAA ... so a restart further on would lose the next frame.
  PlaybackLog log(LogBuilder().Frame(1, true).Frame(2).Frame(3));
  ASSERT_EQ(log.Read(), kFrameBadCheck);
  EXPECT_EQ(log.file.Tell(), 277 - 5);
  ASSERT_EQ(log.Read(), kFrameOk);
  EXPECT_EQ(log.Data(), FrameData(2));
  ASSERT_EQ(log.Read(), kFrameOk);
  EXPECT_EQ(log.Data(), FrameData(3));
}

TEST(ReadLogFrame, FileEndingInsideAFrameIsEndOfDataAndTheHookRunsOnce) {
  auto partial = simtest::Envelope(FrameData(1));
  partial.resize(200);
  PlaybackLog log(LogBuilder().Frame(9).Bytes(partial));
  ASSERT_EQ(log.Read(), kFrameOk);
  EXPECT_EQ(log.Read(), kFrameEndOfData);
  EXPECT_EQ(log.endCalls, 1);
  EXPECT_EQ(log.sources.NextByte(), -1);  // at the end it stays there, without waiting
  EXPECT_EQ(log.endCalls, 1);
}

TEST(ReadLogFrame, FileEndingInsideAStampOrByteFFInItIsEndOfDataAndTheNextCallStartsClean) {
  PlaybackLog ending(LogBuilder().Frame(1).Text("TIME: 07/20"));
  ASSERT_EQ(ending.Read(), kFrameOk);
  EXPECT_EQ(ending.Read(), kFrameEndOfData);
  PlaybackLog broken(LogBuilder().Text(std::string("TIME: 07/20") + '\xFF').Frame(4), "vantor_broken_stamp.dat");
  EXPECT_EQ(broken.Read(), kFrameEndOfData);
  ASSERT_EQ(broken.Read(), kFrameOk);
  EXPECT_EQ(broken.Data(), FrameData(4));
}

TEST(ReadLogFrame, LiveSourceReadsTheRingAndDoesNotStepBack) {
  EcmLink link;
  ByteSources sources(&link, ByteSourceId::Live);
  LogBuilder stream;
  stream.Text("junk").Frame(1, true).Frame(2);
  LogFrameRead frame;
  EXPECT_EQ(ReadLogFrame(sources, frame), kFrameEndOfData) << "an empty ring";
  for (std::uint8_t b : stream.Data()) link.StoreRxByte(b);
  EXPECT_EQ(ReadLogFrame(sources, frame), kFrameBadCheck);
  ASSERT_EQ(ReadLogFrame(sources, frame), kFrameOk);
  EXPECT_EQ(std::vector<std::uint8_t>(frame.data, frame.data + kFrameDataSize), FrameData(2));
  EXPECT_EQ(link.RxAvailable(), 0u);
}

TEST(ByteSources, NoneGivesEndOfDataAndSelectReturnsThePrevious) {
  ByteSources sources(nullptr);
  EXPECT_EQ(sources.Select(ByteSourceId::None), ByteSourceId::Live);
  EXPECT_EQ(sources.NextByte(), -1);
  EXPECT_EQ(sources.Select(ByteSourceId::Analysis), ByteSourceId::None);
  EXPECT_EQ(sources.NextByte(), -1);  // no analysis file: at its end
}

TEST(LogFileReader, SeeksBackAcrossItsBufferBoundary) {
  LogBuilder big;
  std::string block(3 << 19, 'a');  // larger than the read buffer
  block += "xyz";
  big.Text(block);
  const auto path = big.Save("vantor_reader_big.dat");
  LogFileReader file;
  ASSERT_TRUE(file.Open(path));
  EXPECT_EQ(file.Size(), static_cast<std::int64_t>(block.size()));
  for (std::size_t i = 0; i < block.size() - 2; ++i) file.Next();
  EXPECT_EQ(file.Next(), 'y');
  ASSERT_TRUE(file.Seek(file.Tell() - (2 << 19)));
  EXPECT_EQ(file.Tell(), static_cast<std::int64_t>(block.size() - 1 - (2 << 19)));
  EXPECT_EQ(file.Next(), 'a');
  ASSERT_TRUE(file.Seek(static_cast<std::int64_t>(block.size() - 3)));
  EXPECT_EQ(file.Next(), 'x');
  EXPECT_EQ(file.Next(), 'y');
  EXPECT_EQ(file.Next(), 'z');
  EXPECT_EQ(file.Next(), -1);
  EXPECT_FALSE(file.Seek(-1));
  std::remove(path.c_str());
}

// After SetPlaybackFile(false, nullptr) returns, the old file may be closed at
// once: no read of it is still in progress (the sanitizers watch this).
TEST(ByteSources, ReplacingTheFileWaitsForAReadInProgress) {
  LogBuilder log;
  for (int i = 0; i < 200; ++i) log.Frame(i);
  const auto path = log.Save("vantor_handover.dat");
  ByteSources sources(nullptr, ByteSourceId::Playback);
  std::atomic<bool> stop{false};
  std::atomic<int> bytesRead{0};
  std::thread reader([&] {
    while (!stop)
      if (sources.NextByte() >= 0) ++bytesRead;
  });
  for (int round = 0; round < 50; ++round) {
    auto file = std::make_unique<LogFileReader>();
    EXPECT_TRUE(file->Open(path));
    sources.SetPlaybackFile(true, file.get());
    const int before = bytesRead;
    const bool read = simtest::WaitFor([&] { return bytesRead > before + 100; });
    sources.SetPlaybackFile(false, nullptr);
    file.reset();
    // No early return: the reader thread must be joined below.
    EXPECT_TRUE(read) << "round " << round;
    if (!read) break;
  }
  stop = true;
  reader.join();
  std::remove(path.c_str());
}

}  // namespace
}  // namespace vantor
