#include "live/frame_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>

#include "support/temp_dir.h"
#include "live/byte_source.h"
#include "support/log_builder.h"
#include "support/sim_wire.h"

namespace vantor {
namespace {

using testlog::LogBuilder;
using testlog::SeededFrame;

const std::string kStampText = " 07/20/2013 - 16:47:09";

// Every read of a log as the playback source: "ok" and the frame's seed (its
// first byte over 31, "?" when the data is not that seed's), with " T<time>"
// and " M<mark>" when met; "bad@" and the file position it steps back to;
// "end". Reads stop once the end hook has run; the source then stays at its
// end without waiting.
std::string Reads(const LogBuilder& log) {
  const test::TempDir dir;
  const std::string path = dir.File("log.dat");
  log.Save(path);
  LogFileReader file;
  EXPECT_TRUE(file.Open(path));
  ByteSources sources(nullptr, ByteSourceId::Playback);
  int ends = 0;
  sources.SetPlaybackEndHook([&] { ++ends; });
  sources.SetPlaybackFile(true, &file);
  std::string reads;
  LogFrameRead frame{};
  for (int n = 0; n < 20 && ends == 0; ++n) {
    const int result = ReadLogFrame(sources, frame);
    if (!reads.empty()) reads += ", ";
    if (result == kFrameOk) {
      const int seed = frame.data[0] / 31;
      reads += "ok" + (std::ranges::equal(frame.data, SeededFrame(seed)) ? std::to_string(seed) : "?");
      if (*frame.timeText) reads += std::string(" T") + frame.timeText;
      if (*frame.markText) reads += std::string(" M") + frame.markText;
    }
    if (result == kFrameBadCheck) reads += "bad@" + std::to_string(file.Tell());
    if (result == kFrameEndOfData) reads += "end";
  }
  EXPECT_EQ(sources.NextByte(), -1);
  EXPECT_EQ(ends, 1);
  sources.SetPlaybackFile(false, nullptr);
  file.Close();
  return reads;
}

// A record met inside a frame is taken out of it; 270 is the latest place a
// stamp can start and still end inside the body. Between the sync bytes it
// costs the frame. A recording's first mark is 000. A failed frame is read
// again from five bytes before its end (which holds 0x55 0xAA), so that the
// next is not lost. A file ending inside a frame or a record, or a byte FF
// inside a record, is the end of the data; the next call starts clean.
TEST(ReadLogFrame, RecordsChecksAndEndsOfTheData) {
  const std::string stamp = testlog::StampRecord(kStampText), t = " T" + kStampText;
  const std::string partial = LogBuilder::Envelope(SeededFrame(1)).substr(0, 200);
  const std::string mark0 = testlog::MarkRecord(0, " 07/20/2013 - 16:48:00");
  const auto one = SeededFrame(1), two = SeededFrame(2), three = SeededFrame(3), four = SeededFrame(4);
  const struct {
    LogBuilder log;
    std::string reads;
  } cases[] = {
      {LogBuilder().Frame(one, testlog::MarkRecord(7, kStampText), 2).Frame(two), "ok1" + t + " M007, ok2, end"},
      {LogBuilder().Frame(one, stamp, 270).Frame(two), "ok1" + t + ", ok2, end"},
      {LogBuilder().Frame(one, stamp, 1).Frame(two), "ok2" + t + ", end"},
      {LogBuilder().Raw(stamp + "PORT COM2\r\nDLOGPATH C:\\logs\\\r\n").Frame(one).Raw(mark0).Frame(two),
       "ok1" + t + ", ok2 T 07/20/2013 - 16:48:00 M000, end"},
      {LogBuilder().Damaged(one).Frame(two).Frame(three), "bad@272, ok2, ok3, end"},
      {LogBuilder().Frame(four).Raw(partial), "ok4, end"},
      {LogBuilder().Frame(one).Raw("TIME: 07/20"), "ok1, end"},
      {LogBuilder().Raw(std::string("TIME: 07/20") + '\xFF').Frame(four), "end, ok4, end"},
  };
  for (const auto& c : cases) EXPECT_EQ(Reads(c.log), c.reads);
}

TEST(LogFileReader, SeeksBackAcrossItsBufferBoundary) {
  std::string block(3 << 19, 'a');  // larger than the read buffer
  block += "xyz";
  const test::TempDir dir;
  const auto path = dir.File("big.dat");
  test::WriteText(path, block);
  LogFileReader file;
  ASSERT_TRUE(file.Open(path));
  EXPECT_EQ(file.Size(), static_cast<std::int64_t>(block.size()));
  for (std::size_t i = 0; i < block.size() - 2; ++i) file.Next();
  EXPECT_EQ(file.Next(), 'y');
  ASSERT_TRUE(file.Seek(file.Tell() - (2 << 19)));
  EXPECT_EQ(file.Tell(), static_cast<std::int64_t>(block.size() - 1 - (2 << 19)));
  EXPECT_EQ(file.Next(), 'a');
  ASSERT_TRUE(file.Seek(static_cast<std::int64_t>(block.size() - 3)));
  for (int expected : {int{'x'}, int{'y'}, int{'z'}, -1}) EXPECT_EQ(file.Next(), expected);
  EXPECT_FALSE(file.Seek(-1));
}

// After SetPlaybackFile(false, nullptr) returns, the old file may be closed at
// once: no read of it is still in progress (the sanitizers watch this).
TEST(ByteSources, ReplacingTheFileWaitsForAReadInProgress) {
  LogBuilder log;
  for (int i = 0; i < 200; ++i) log.Frame(SeededFrame(i));
  const test::TempDir dir;
  const auto path = dir.File("handover.dat");
  log.Save(path);
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
}

}  // namespace
}  // namespace vantor
