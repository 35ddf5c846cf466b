// The two passes over a log: the Analysis view file and the dump.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <tuple>

#include "support/analysis_samples.h"
#include "support/analysis_test_support.h"
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

std::string BuildView(const std::string& logBytes, const Settings& settings, const TempDir& dir, Shown* shown = nullptr) {
  AnalysisViewFile view;
  EXPECT_TRUE(view.Create(dir.Path()));
  EXPECT_EQ(BuildViewFile(view, SaveLog(logBytes, dir), settings, shown ? shown->Hooks() : ExportHooks{}),
            ExportResult::kOk);
  std::string text(static_cast<std::size_t>(view.LineCount()) * kViewLineSize, '\0');
  EXPECT_EQ(view.ReadLines(0, view.LineCount(), text.data()), view.LineCount());
  return text;
}

// Log A in mph and degrees F; log B with wideband, metric units and Celsius;
// text and CSV dumps, repeated and single headings, automatic gears.
TEST(Exports, ViewLinesAndDumpsMatchTheWorkedOutFiles) {
  TempDir dir;
  EXPECT_EQ(BuildView(BuildLogA(), SettingsA(), dir), Golden("view_a.txt"));
  EXPECT_EQ(BuildView(BuildLogB(), SettingsB(), dir), Golden("view_b.txt"));
  const std::string tenHours = LogBuilder().Frame(BaseFrame(10 * 3600 + 5, 0)).Bytes();
  EXPECT_EQ(BuildView(tenHours, SettingsA(), dir).substr(12, 7), "9:00:05") << "the hours stop at 9";
  const struct {
    bool logB, csv, singleHeader;
    const char* golden;
  } dumps[] = {{false, false, false, "dump_a_text.ORV"},
               {false, true, true, "dump_a_single.csv"},
               {true, false, true, "dump_b_single.ORV"},
               {true, true, false, "dump_b_repeated.csv"}};
  for (const auto& c : dumps) {
    Settings settings = c.logB ? SettingsB() : SettingsA();
    settings.anaCsv = c.csv;
    settings.anaSHeader = c.singleHeader;
    const std::string log = SaveLog(c.logB ? BuildLogB() : BuildLogA(), dir);
    EXPECT_EQ(DumpLog(log, DumpOutputPath(log, c.csv), settings, {}), ExportResult::kOk);
    EXPECT_EQ(ReadAll(DumpOutputPath(log, c.csv)), Golden(c.golden));
  }
}

// Random frame bytes below 64 (no sync bytes, no letters: no record hides in
// the data), one in ten damaged; more lines than one written block. One
// 109-byte line in the view per valid frame, whatever the values; a progress
// step every 17 frames in both passes.
TEST(Exports, EveryValidFrameGivesOneFixedSizeLineAndProgressInBothPasses) {
  std::mt19937 random(7);
  LogBuilder log;
  log.Recording(" 01/02/2014 - 03:04:05");
  int valid = 0;
  for (int i = 0; i < 700; ++i) {
    FrameData data{};
    for (auto& byte : data) byte = static_cast<std::uint8_t>(random() % 64);
    const bool damaged = random() % 10 == 0;
    log.Frame(data, "", 0, damaged);
    valid += damaged ? 0 : 1;
  }
  TempDir dir;
  Shown shown;
  const std::string text = BuildView(log.Bytes(), Settings(), dir, &shown);
  EXPECT_EQ(text.size(), static_cast<std::size_t>(valid) * kViewLineSize);
  EXPECT_EQ(shown.maximum, static_cast<int>(log.Bytes().size() / 4709));
  EXPECT_EQ(shown.steps, valid / 17);

  Shown dumped;
  Settings settings = SettingsB();
  settings.anaCsv = settings.anaSHeader = 1;
  ASSERT_EQ(DumpLog(dir.File("log.dat"), dir.File("log.csv"), settings, dumped.Hooks()), ExportResult::kOk);
  EXPECT_EQ(std::tie(dumped.maximum, dumped.steps, dumped.ends), std::make_tuple(shown.maximum, shown.steps, 1));
}

// The view file leaves nothing behind in its directory; a missing log stops
// the pass silently, a read or write failure says so. A directory opens as a
// file only on POSIX.
TEST(AnalysisViewFile, LeavesNothingBehindAndReportsFailures) {
  TempDir dir;
  {
    AnalysisViewFile view;
    ASSERT_TRUE(view.Create(dir.Path()));
    std::fputs("x", view.Stream());
    Shown shown;
    EXPECT_EQ(BuildViewFile(view, dir.File("missing.dat"), Settings(), shown.Hooks()), ExportResult::kLogOpenFailed);
    EXPECT_EQ(shown.text, "");
    EXPECT_EQ(view.LineCount(), 0);
#ifndef _WIN32
    fs::create_directory(dir.File("d.dat"));
    EXPECT_EQ(BuildViewFile(view, dir.File("d.dat"), Settings(), shown.Hooks()), ExportResult::kReadFailed);
    EXPECT_EQ(shown.caption, "File Read Error");
    fs::remove(dir.File("d.dat"));
#endif  // _WIN32
    view.Close();
  }
  EXPECT_TRUE(fs::is_empty(dir.Path()));
  if (std::FILE* full = std::fopen("/dev/full", "wb")) {
    Shown shown;
    EXPECT_EQ(WriteViewLines(full, SaveLog(BuildLogA(), dir), SettingsA(), shown.Hooks()), ExportResult::kWriteFailed);
    std::fclose(full);
    EXPECT_EQ(shown.text, "Error Writing to File\nDisk Full?");
    EXPECT_EQ(shown.caption, "File Write Error");
  }
}

// Each failure says what went wrong and leaves an earlier output as it was:
// a missing log, an output that cannot be opened or written, a log that
// cannot be read (a directory opens as a file only on POSIX) and, when asked
// to refuse one (the tool's dump), a file without a good frame. The window's
// dump writes what such a file has.
TEST(DumpLog, FailuresAreReportedAndLeaveTheFilesAsTheyWere) {
  TempDir dir;
  const std::string log = SaveLog(BuildLogA(), dir), garbage = SaveLog(std::string(5000, 'g'), dir, "garbage.dat");
  SaveLog("earlier", dir, "log.ORV");
  const struct {
    std::string log, out;
    ExportResult result;
    std::string text;
    const char* caption;
  } cases[] = {
      {dir.File("missing.dat"), dir.File("log.ORV"), ExportResult::kLogOpenFailed, "Can not open Data Log File", ""},
      {log, dir.File("no/such/dir/out.csv"), ExportResult::kOutputOpenFailed,
       "Can Not Open Output File\n\nIs it open elsewhere?", "File Open Error"},
      {log, "/dev/full", ExportResult::kWriteFailed, "Error Writing to File\n\nDisk Full?", "File Write Error"},
#ifndef _WIN32
      {dir.File("d.dat"), dir.File("log.ORV"), ExportResult::kReadFailed,
       "Error Reading the Data Log File\n\nThe export was cut short there and has not been saved.", "File Read Error"},
#endif  // _WIN32
      {garbage, dir.File("log.ORV"), ExportResult::kNotALog,
       "No frame of this file passes its check: it is not a data log:\n\n" + garbage, ""},
  };
  fs::create_directory(dir.File("d.dat"));
  for (const auto& c : cases) {
    if (c.out == "/dev/full" && !fs::exists(c.out)) continue;
    SCOPED_TRACE(c.text);
    Shown shown;
    EXPECT_EQ(DumpLog(c.log, c.out, Settings(), shown.Hooks(), FramelessLog::Refuse), c.result);
    EXPECT_EQ(shown.text, c.text);
    if (*c.caption) {
      EXPECT_EQ(shown.caption, c.caption);
    }
    EXPECT_EQ(ReadAll(dir.File("log.ORV")), "earlier");
  }
  EXPECT_EQ(test::Names(dir.Path()), (std::set<std::string>{"log.dat", "garbage.dat", "log.ORV", "d.dat"}));
  EXPECT_EQ(DumpLog(garbage, dir.File("log.ORV"), Settings(), {}), ExportResult::kOk);
}

// The log named like its own output (or linked to it) is refused before
// anything is opened for writing: the log keeps every byte.
TEST(DumpLog, OntoItsOwnLogIsRefusedAndTheLogIsUntouched) {
  const struct {
    const char* log;
    bool csv;
    const char* output;  // nullptr: the output name rule; else a hard link to the log
  } cases[] = {{"run.ORV", false, nullptr}, {"keep.dat", true, "linked.csv"}};
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

TEST(DumpOutputPath, ReplacesOrAppendsTheExtensionButNotADotInADirectory) {
  EXPECT_EQ(DumpOutputPath("C:\\logs\\run.1.dat", false), "C:\\logs\\run.1.ORV");
  EXPECT_EQ(DumpOutputPath("/home/car.v2/run1", true), "/home/car.v2/run1.csv");
  EXPECT_EQ(DumpOutputPath("C:\\car.v2\\run1", false), "C:\\car.v2\\run1.ORV");
}

}  // namespace
}  // namespace vantor
