#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>

#include "logs/analysis_messages.h"
#include "logs/analysis_test_support.h"
#include "logs/analysis_samples.h"
#include "logs/analysis_view_file.h"

namespace vantor {
namespace {

using namespace testlog;

std::string ViewFileText(AnalysisViewFile& view) {
  const int count = view.LineCount();
  std::string text(static_cast<std::size_t>(count) * kViewLineSize, '\0');
  EXPECT_EQ(view.ReadLines(0, count, text.data()), count);
  return text;
}

std::string BuildView(const std::string& logBytes, const Settings& settings, const TempDir& dir) {
  LogBuilder().Raw(logBytes).Save(dir.File("log.dat"));
  AnalysisViewFile view;
  EXPECT_TRUE(view.Create(dir.Path()));
  EXPECT_EQ(BuildViewFile(view, dir.File("log.dat"), settings, {}), ExportResult::kOk);
  return ViewFileText(view);
}

// Log B with wideband, metric units and Celsius.
TEST(AnalysisViewFile, LinesMatchTheWorkedOutFiles) {
  TempDir dir;
  EXPECT_EQ(BuildView(BuildLogA(), SettingsA(), dir), Golden("view_a.txt"));
  EXPECT_EQ(BuildView(BuildLogB(), SettingsB(), dir), Golden("view_b.txt"));
}

TEST(AnalysisViewFile, LeavesNothingBehindInItsDirectory) {
  TempDir dir;
  {
    AnalysisViewFile view;
    ASSERT_TRUE(view.Create(dir.Path()));
    std::fputs("x", view.Stream());
    view.Close();
    EXPECT_FALSE(view.IsOpen());
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(AnalysisViewFile, CreateFailsInAMissingDirectory) {
  AnalysisViewFile view;
  EXPECT_FALSE(view.Create("/nonexistent/vantor/dir"));
}

TEST(AnalysisViewFile, MissingLogStopsSilently) {
  TempDir dir;
  AnalysisViewFile view;
  ASSERT_TRUE(view.Create(dir.Path()));
  int messages = 0;
  ExportHooks hooks;
  hooks.message = [&](const std::string&, const std::string&) { ++messages; };
  EXPECT_EQ(BuildViewFile(view, dir.File("missing.dat"), Settings(), hooks), ExportResult::kLogOpenFailed);
  EXPECT_EQ(messages, 0);
  EXPECT_EQ(view.LineCount(), 0);
}

TEST(AnalysisViewFile, WriteFailureShowsTheDiskFullMessage) {
  TempDir dir;
  LogBuilder().Raw(BuildLogA()).Save(dir.File("log.dat"));
  std::FILE* full = std::fopen("/dev/full", "wb");
  if (!full) GTEST_SKIP() << "no /dev/full";
  std::string text, caption;
  ExportHooks hooks;
  hooks.message = [&](const std::string& t, const std::string& c) { text = t, caption = c; };
  EXPECT_EQ(WriteViewLines(full, dir.File("log.dat"), SettingsA(), hooks), ExportResult::kWriteFailed);
  std::fclose(full);
  EXPECT_EQ(text, "Error Writing to File\nDisk Full?");
  EXPECT_EQ(caption, "File Write Error");
}

// A longer log with random frames, damaged frames and records everywhere:
// one 109-byte line per valid frame, and the kinds follow the records.
TEST(AnalysisViewFile, EveryValidFrameGivesOneFixedSizeLine) {
  std::mt19937 random(7);
  LogBuilder log;
  log.Recording(" 01/02/2014 - 03:04:05");
  int valid = 0, marked = 0;
  for (int i = 0; i < 700; ++i) {
    FrameData data{};
    // Below 64: no sync bytes and no letters, so no record hides in the data
    // and none is hidden by a letter in front of it.
    for (auto& byte : data) byte = static_cast<std::uint8_t>(random() % 64);
    const int kind = static_cast<int>(random() % 10);
    if (kind == 0) {
      log.Damaged(data);
    } else if (kind == 1) {
      // The reader's body loop ends at byte 273, so a record must start a few
      // bytes before the end of the data to be taken out of the frame.
      log.Frame(data, MarkRecord(marked++, " 01/02/2014 - 03:04:06"), 2 + static_cast<int>(random() % 260));
      ++valid;
    } else {
      log.Frame(data);
      ++valid;
    }
  }
  TempDir dir;
  int steps = 0, maximum = -1;
  ExportHooks hooks;
  hooks.progress.begin = [&](int m) { maximum = m; };
  hooks.progress.step = [&] { ++steps; };
  log.Save(dir.File("log.dat"));
  AnalysisViewFile view;
  ASSERT_TRUE(view.Create(dir.Path()));
  ASSERT_EQ(BuildViewFile(view, dir.File("log.dat"), Settings(), hooks), ExportResult::kOk);
  const std::string text = ViewFileText(view);
  ASSERT_EQ(view.LineCount(), valid);
  int marks = 0;
  for (int line = 0; line < valid; ++line) {
    const char* l = text.data() + line * kViewLineSize;
    EXPECT_EQ(l[107], '\r');
    EXPECT_EQ(l[108], '\n');
    EXPECT_EQ(std::string(l, 107).find_first_of("\r\n"), std::string::npos);
    marks += l[0] == kKindMark;
  }
  EXPECT_EQ(marks, marked);
  EXPECT_EQ(maximum, static_cast<int>(log.Bytes().size() / 4709));
  EXPECT_EQ(steps, valid / 17);
}

TEST(AnalysisViewFile, RebuildStartsAgainFromTheFileStart) {
  TempDir dir;
  LogBuilder().Raw(BuildLogA()).Save(dir.File("log.dat"));
  AnalysisViewFile view;
  ASSERT_TRUE(view.Create(dir.Path()));
  ASSERT_EQ(BuildViewFile(view, dir.File("log.dat"), SettingsA(), {}), ExportResult::kOk);
  Settings metric = SettingsA();
  metric.kphOrMph = 1;
  ASSERT_EQ(BuildViewFile(view, dir.File("log.dat"), metric, {}), ExportResult::kOk);
  EXPECT_EQ(view.LineCount(), kLogAValidFrames);
  EXPECT_EQ(ViewFileText(view).substr(25, 4), " 72 ");  // 45 mph in km/h
}

TEST(ViewHeadings, NameTheUnitsOfTheSettings) {
  Settings s;
  s.kphOrMph = 1;
  s.temperScale = 0;
  EXPECT_EQ(ViewHeadingUnits(s),
            " h:mm:ss  RPM KPH KPa   %  \xC2\xB0" "F  \xC2\xB0" "F   mV Flw  \xC2\xB0   mS   mS   %   DE  DC  LN INT BLM IAC  AFR    mS");
}

}  // namespace
}  // namespace vantor
