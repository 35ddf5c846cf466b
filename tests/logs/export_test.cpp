// The two passes over a log: the Analysis view file and the dump.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <set>

#include "logs/analysis_samples.h"
#include "logs/analysis_test_support.h"
#include "logs/analysis_view_file.h"
#include "logs/dump_log.h"

namespace vantor {
namespace {

using namespace testlog;
namespace fs = std::filesystem;

// The last message shown and the progress calls.
struct Shown {
  std::string text, caption;
  int maximum = -1, steps = 0, ends = 0;
  ExportHooks Hooks() {
    return {[this](const std::string& t, const std::string& c) { text = t, caption = c; },
            {[this](int m) { maximum = m; }, [this] { ++steps; }, [this] { ++ends; }}};
  }
};

std::string SaveLog(const std::string& bytes, const TempDir& dir, const std::string& name = "log.dat") {
  LogBuilder().Raw(bytes).Save(dir.File(name));
  return dir.File(name);
}

std::string ViewFileText(AnalysisViewFile& view) {
  const int count = view.LineCount();
  std::string text(static_cast<std::size_t>(count) * kViewLineSize, '\0');
  EXPECT_EQ(view.ReadLines(0, count, text.data()), count);
  return text;
}

std::string BuildView(const std::string& logBytes, const Settings& settings, const TempDir& dir) {
  AnalysisViewFile view;
  EXPECT_TRUE(view.Create(dir.Path()));
  EXPECT_EQ(BuildViewFile(view, SaveLog(logBytes, dir), settings, {}), ExportResult::kOk);
  return ViewFileText(view);
}

std::string Dump(const std::string& logBytes, Settings settings, bool csv, bool singleHeader, const TempDir& dir) {
  settings.anaCsv = csv ? 1 : 0;
  settings.anaSHeader = singleHeader ? 1 : 0;
  const std::string log = SaveLog(logBytes, dir), out = DumpOutputPath(log, csv);
  EXPECT_EQ(DumpLog(log, out, settings, {}), ExportResult::kOk);
  return ReadAll(out);
}

// Random frame bytes below 64 (no sync bytes, no letters: no record hides in
// the data), one in damagedOneIn damaged and one in markedOneIn carrying a mark
// record somewhere inside (the reader's body loop ends at byte 273, so a
// record starts a few bytes before the end to be taken out of the frame).
struct RandomLog {
  std::string bytes;
  int valid = 0, marked = 0;
};
RandomLog MakeRandomLog(unsigned seed, int frames, unsigned damagedOneIn, unsigned markedOneIn) {
  std::mt19937 random(seed);
  LogBuilder log;
  log.Recording(" 01/02/2014 - 03:04:05");
  RandomLog out;
  for (int i = 0; i < frames; ++i) {
    FrameData data{};
    for (auto& byte : data) byte = static_cast<std::uint8_t>(random() % 64);
    const unsigned kind = static_cast<unsigned>(random());
    if (kind % damagedOneIn == 0) {
      log.Damaged(data);
      continue;
    }
    ++out.valid;
    if (markedOneIn && kind % markedOneIn == 1)
      log.Frame(data, MarkRecord(out.marked++, " 01/02/2014 - 03:04:06"), 2 + static_cast<int>(random() % 260));
    else
      log.Frame(data);
  }
  out.bytes = log.Bytes();
  return out;
}

// Log A in mph and degrees F; log B with wideband, metric units and Celsius.
TEST(AnalysisViewFile, LinesMatchTheWorkedOutFiles) {
  TempDir dir;
  EXPECT_EQ(BuildView(BuildLogA(), SettingsA(), dir), Golden("view_a.txt"));
  EXPECT_EQ(BuildView(BuildLogB(), SettingsB(), dir), Golden("view_b.txt"));
  const std::string tenHours = LogBuilder().Frame(BaseFrame(10 * 3600 + 5, 0)).Bytes();
  EXPECT_EQ(BuildView(tenHours, SettingsA(), dir).substr(12, 7), "9:00:05") << "the hours stop at 9";
}

// The view file leaves nothing behind in its directory, cannot be made in a
// missing one, and a missing log stops the pass silently.
TEST(AnalysisViewFile, LeavesNothingBehindAndAMissingLogStopsSilently) {
  TempDir dir;
  AnalysisViewFile missing;
  EXPECT_FALSE(missing.Create("/nonexistent/vantor/dir"));
  {
    AnalysisViewFile view;
    ASSERT_TRUE(view.Create(dir.Path()));
    std::fputs("x", view.Stream());
    Shown shown;
    EXPECT_EQ(BuildViewFile(view, dir.File("missing.dat"), Settings(), shown.Hooks()), ExportResult::kLogOpenFailed);
    EXPECT_EQ(shown.text, "");
    EXPECT_EQ(view.LineCount(), 0);
    view.Close();
    EXPECT_FALSE(view.IsOpen());
  }
  EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(AnalysisViewFile, WriteFailureShowsTheDiskFullMessage) {
  TempDir dir;
  std::FILE* full = std::fopen("/dev/full", "wb");
  if (!full) GTEST_SKIP() << "no /dev/full";
  Shown shown;
  EXPECT_EQ(WriteViewLines(full, SaveLog(BuildLogA(), dir), SettingsA(), shown.Hooks()), ExportResult::kWriteFailed);
  std::fclose(full);
  EXPECT_EQ(shown.text, "Error Writing to File\nDisk Full?");
  EXPECT_EQ(shown.caption, "File Write Error");
}

// One 109-byte line in the view and one row in the dump per valid frame,
// whatever damage and records the log holds; a progress step every 17 frames.
TEST(AnalysisViewFile, EveryValidFrameGivesOneFixedSizeLineAndOneDumpRow) {
  const RandomLog log = MakeRandomLog(7, 700, 10, 10);
  TempDir dir;
  Shown shown;
  AnalysisViewFile view;
  ASSERT_TRUE(view.Create(dir.Path()));
  ASSERT_EQ(BuildViewFile(view, SaveLog(log.bytes, dir), Settings(), shown.Hooks()), ExportResult::kOk);
  const std::string text = ViewFileText(view);
  ASSERT_EQ(view.LineCount(), log.valid);
  int marks = 0;
  for (int line = 0; line < log.valid; ++line) {
    const char* l = text.data() + line * kViewLineSize;
    EXPECT_EQ(std::string(l + 107, 2), "\r\n");
    EXPECT_EQ(std::string(l, 107).find_first_of("\r\n"), std::string::npos);
    marks += l[0] == kKindMark;
  }
  EXPECT_EQ(marks, log.marked);
  EXPECT_EQ(shown.maximum, static_cast<int>(log.bytes.size() / 4709));
  EXPECT_EQ(shown.steps, log.valid / 17);

  Shown dumped;
  Settings settings = SettingsB();
  settings.anaCsv = settings.anaSHeader = 1;
  ASSERT_EQ(DumpLog(dir.File("log.dat"), dir.File("log.csv"), settings, dumped.Hooks()), ExportResult::kOk);
  const std::string csv = ReadAll(dir.File("log.csv"));
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), log.valid + 1);
  EXPECT_EQ(dumped.maximum, shown.maximum);
  EXPECT_EQ(dumped.steps, shown.steps);
  EXPECT_EQ(dumped.ends, 1);
}

TEST(ViewHeadings, NameTheUnitsOfTheSettings) {
  Settings s;
  s.kphOrMph = 1;
  s.temperScale = 0;
  EXPECT_EQ(ViewHeadingUnits(s),
            " h:mm:ss  RPM KPH KPa   %  \xC2\xB0" "F  \xC2\xB0" "F   mV Flw  \xC2\xB0   mS   mS   %   DE  DC  LN INT BLM IAC  AFR    mS");
}

// Text and CSV, repeated and single headings, channels, automatic gears and metric units.
TEST(DumpLog, OutputsMatchTheWorkedOutFiles) {
  const struct {
    bool logB, csv, singleHeader;
    const char* golden;
  } cases[] = {{false, false, false, "dump_a_text.ORV"},
               {false, true, true, "dump_a_single.csv"},
               {true, false, true, "dump_b_single.ORV"},
               {true, true, false, "dump_b_repeated.csv"}};
  for (const auto& c : cases) {
    TempDir dir;
    EXPECT_EQ(Dump(c.logB ? BuildLogB() : BuildLogA(), c.logB ? SettingsB() : SettingsA(), c.csv, c.singleHeader, dir),
              Golden(c.golden));
  }
}

TEST(DumpLog, OpenAndWriteFailuresAreReported) {
  TempDir dir;
  const std::string log = SaveLog(BuildLogA(), dir);
  const struct {
    std::string log, out;
    ExportResult result;
    const char* text;
    const char* caption;
  } cases[] = {
      {log, dir.File("no/such/dir/out.csv"), ExportResult::kOutputOpenFailed,
       "Can Not Open Output File\n\nIs it open elsewhere?", "File Open Error"},
      {dir.File("missing.dat"), dir.File("out.csv"), ExportResult::kLogOpenFailed, "Can not open Data Log File", ""},
      {log, "/dev/full", ExportResult::kWriteFailed, "Error Writing to File\n\nDisk Full?", "File Write Error"},
  };
  for (const auto& c : cases) {
    if (c.out == "/dev/full" && !fs::exists(c.out)) continue;
    Shown shown;
    EXPECT_EQ(DumpLog(c.log, c.out, Settings(), shown.Hooks()), c.result) << c.text;
    EXPECT_EQ(shown.text, c.text);
    if (*c.caption) {
      EXPECT_EQ(shown.caption, c.caption);
    }
  }
}

// The log named like its own output (or linked to it) is refused before
// anything is opened for writing: the log keeps every byte.
TEST(DumpLog, OntoItsOwnLogIsRefusedAndTheLogIsUntouched) {
  const struct {
    const char* log;
    bool csv;
    const char* output;  // nullptr: the output name rule; else a hard link to the log
  } cases[] = {{"run.ORV", false, nullptr}, {"run.csv", true, nullptr}, {"keep.dat", true, "linked.csv"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log);
    TempDir dir;
    const std::string log = SaveLog(BuildLogA(), dir, c.log);
    std::string output = DumpOutputPath(log, c.csv);
    if (c.output) {
      output = dir.File(c.output);
      fs::create_hard_link(log, output);
    }
    Settings settings = SettingsA();
    settings.anaCsv = c.csv ? 1 : 0;
    Shown shown;
    EXPECT_EQ(DumpLog(log, output, settings, shown.Hooks()), ExportResult::kOutputIsLog);
    EXPECT_EQ(ReadAll(log), BuildLogA());
    EXPECT_EQ(shown.text, "The output file would replace the data log itself:\n\n" + output);
    EXPECT_EQ(shown.caption, "File Open Error");
    EXPECT_EQ(test::Names(dir.Path()).size(), c.output ? 2u : 1u);
  }
}

// A log that cannot be read is not an empty log: both passes say so and an
// earlier output stays as it was. A directory opens as a file only on POSIX.
#ifndef _WIN32
TEST(DumpLog, UnreadableLogIsReportedAndLeavesTheEarlierOutput) {
  TempDir dir;
  fs::create_directory(dir.File("d.dat"));
  SaveLog("earlier", dir, "d.ORV");
  Shown shown;
  EXPECT_EQ(DumpLog(dir.File("d.dat"), dir.File("d.ORV"), Settings(), shown.Hooks()), ExportResult::kReadFailed);
  EXPECT_EQ(shown.caption, "File Read Error");
  EXPECT_NE(shown.text.find("cut short"), std::string::npos);
  EXPECT_EQ(ReadAll(dir.File("d.ORV")), "earlier");
  EXPECT_EQ(test::Names(dir.Path()), (std::set<std::string>{"d.dat", "d.ORV"}));

  AnalysisViewFile view;
  ASSERT_TRUE(view.Create(dir.Path()));
  shown.caption.clear();
  EXPECT_EQ(BuildViewFile(view, dir.File("d.dat"), Settings(), shown.Hooks()), ExportResult::kReadFailed);
  EXPECT_EQ(shown.caption, "File Read Error");
}
#endif  // _WIN32

// The output is written under a name of its own: a log (or any file) named
// like the output with ".part" added is only read, never written or removed.
TEST(DumpLog, ReplacesAnEarlierOutputOnlyWhenCompleteAndTouchesNothingElse) {
  TempDir dir;
  SaveLog("earlier", dir, "log.ORV");
  const std::string log = SaveLog(BuildLogA(), dir, "log.ORV.part");
  ASSERT_EQ(DumpLog(log, dir.File("log.ORV"), SettingsA(), {}), ExportResult::kOk);
  EXPECT_EQ(ReadAll(dir.File("log.ORV")), Golden("dump_a_text.ORV"));
  EXPECT_EQ(ReadAll(log), BuildLogA());
  EXPECT_EQ(test::Names(dir.Path()), (std::set<std::string>{"log.ORV", "log.ORV.part"}));
}

// The tool's dump of a file without a good frame is no dump at all; the
// window's writes what it has.
TEST(DumpLog, AFileWithoutAGoodFrameIsNotADataLogWhenAskedToRefuse) {
  TempDir dir;
  const std::string garbage = SaveLog(std::string(5000, 'g'), dir, "garbage.dat");
  Shown shown;
  EXPECT_EQ(DumpLog(garbage, dir.File("out.ORV"), Settings(), shown.Hooks(), FramelessLog::Refuse),
            ExportResult::kNotALog);
  EXPECT_NE(shown.text.find(garbage), std::string::npos);
  EXPECT_FALSE(fs::exists(dir.File("out.ORV")));
  EXPECT_EQ(DumpLog(garbage, dir.File("out.ORV"), Settings(), {}), ExportResult::kOk);
}

TEST(DumpOutputPath, ReplacesOrAppendsTheExtensionButNotADotInADirectory) {
  EXPECT_EQ(DumpOutputPath("/logs/run1.dat", true), "/logs/run1.csv");
  EXPECT_EQ(DumpOutputPath("/logs/run1.dat", false), "/logs/run1.ORV");
  EXPECT_EQ(DumpOutputPath("/logs/run1", true), "/logs/run1.csv");
  EXPECT_EQ(DumpOutputPath("C:\\logs\\run.1.dat", false), "C:\\logs\\run.1.ORV");
  EXPECT_EQ(DumpOutputPath("/home/car.v2/run1", true), "/home/car.v2/run1.csv");
  EXPECT_EQ(DumpOutputPath("C:\\car.v2\\run1", false), "C:\\car.v2\\run1.ORV");
}

}  // namespace
}  // namespace vantor
