#include <gtest/gtest.h>

#include <random>

#include "logs/analysis_samples.h"
#include "logs/analysis_test_support.h"
#include "logs/analysis_view_file.h"
#include "logs/dump_log.h"

namespace vantor {
namespace {

using namespace testlog;

std::string Dump(const std::string& logBytes, Settings settings, bool csv, bool singleHeader, const TempDir& dir) {
  settings.anaCsv = csv ? 1 : 0;
  settings.anaSHeader = singleHeader ? 1 : 0;
  LogBuilder().Raw(logBytes).Save(dir.File("log.dat"));
  const std::string out = DumpOutputPath(dir.File("log.dat"), csv);
  EXPECT_EQ(DumpLog(dir.File("log.dat"), out, settings, {}), ExportResult::kOk);
  return ReadAll(out);
}

TEST(DumpLog, TextWithRepeatedHeadingsMarkersAndStampsMatchesTheWorkedOutFile) {
  TempDir dir;
  EXPECT_EQ(Dump(BuildLogA(), SettingsA(), false, false, dir), Golden("dump_a_text.ORV"));
}

TEST(DumpLog, CsvWithSingleHeaderMatchesTheWorkedOutFile) {
  TempDir dir;
  EXPECT_EQ(Dump(BuildLogA(), SettingsA(), true, true, dir), Golden("dump_a_single.csv"));
}

TEST(DumpLog, TextWithChannelsAutomaticGearsAndMetricUnitsMatchesTheWorkedOutFile) {
  TempDir dir;
  EXPECT_EQ(Dump(BuildLogB(), SettingsB(), false, true, dir), Golden("dump_b_single.ORV"));
}

TEST(DumpLog, CsvWithChannelsAndRepeatedHeadingsMatchesTheWorkedOutFile) {
  TempDir dir;
  EXPECT_EQ(Dump(BuildLogB(), SettingsB(), true, false, dir), Golden("dump_b_repeated.csv"));
}

TEST(DumpLog, EveryLineEndsInCrLfAndEveryCsvRowInAComma) {
  TempDir dir;
  const std::string csv = Dump(BuildLogB(), SettingsB(), true, false, dir);
  std::size_t start = 0, lines = 0;
  for (std::size_t end = csv.find('\n'); end != std::string::npos; end = csv.find('\n', start)) {
    ASSERT_GT(end, start + 1);
    EXPECT_EQ(csv[end - 1], '\r');
    const std::string line = csv.substr(start, end - start - 1);
    if (line.rfind("TimeStamp:", 0) != 0) {
      EXPECT_EQ(line.back(), ',') << line;
    }
    start = end + 1;
    ++lines;
  }
  EXPECT_EQ(start, csv.size());
  EXPECT_EQ(lines, 1u + 2u + 4u);  // one stamp, two headings, four rows
}

// Rows = valid frames, whatever damage and records the log holds.
TEST(DumpLog, OneRowPerValidFrame) {
  std::mt19937 random(11);
  LogBuilder log;
  log.Recording(" 03/04/2015 - 05:06:07");
  int valid = 0;
  for (int i = 0; i < 500; ++i) {
    FrameData data{};
    for (auto& byte : data) byte = static_cast<std::uint8_t>(random() % 64);
    if (random() % 8 == 0) {
      log.Damaged(data);
    } else {
      log.Frame(data);
      ++valid;
    }
  }
  TempDir dir;
  const std::string csv = Dump(log.Bytes(), SettingsB(), true, true, dir);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), valid + 1);
}

TEST(DumpLog, ProgressStepsEverySeventeenFrames) {
  LogBuilder log;
  for (int i = 0; i < 40; ++i) log.Frame(BaseFrame(static_cast<unsigned>(i), 0));
  TempDir dir;
  log.Save(dir.File("log.dat"));
  int steps = 0, maximum = -1, ends = 0;
  ExportHooks hooks;
  hooks.progress = {[&](int m) { maximum = m; }, [&] { ++steps; }, [&] { ++ends; }};
  ASSERT_EQ(DumpLog(dir.File("log.dat"), dir.File("out.ORV"), Settings(), hooks), ExportResult::kOk);
  EXPECT_EQ(maximum, 40 * 277 / 4709);
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(ends, 1);
}

TEST(DumpLog, OutputThatCannotBeOpenedIsReported) {
  TempDir dir;
  LogBuilder().Raw(BuildLogA()).Save(dir.File("log.dat"));
  std::string text, caption;
  ExportHooks hooks;
  hooks.message = [&](const std::string& t, const std::string& c) { text = t, caption = c; };
  EXPECT_EQ(DumpLog(dir.File("log.dat"), dir.File("no/such/dir/out.csv"), Settings(), hooks),
            ExportResult::kOutputOpenFailed);
  EXPECT_EQ(text, "Can Not Open Output File\n\nIs it open elsewhere?");
  EXPECT_EQ(caption, "File Open Error");
}

TEST(DumpLog, MissingLogIsReported) {
  TempDir dir;
  std::string text;
  ExportHooks hooks;
  hooks.message = [&](const std::string& t, const std::string&) { text = t; };
  EXPECT_EQ(DumpLog(dir.File("missing.dat"), dir.File("out.csv"), Settings(), hooks), ExportResult::kLogOpenFailed);
  EXPECT_EQ(text, "Can not open Data Log File");
}

TEST(DumpLog, WriteFailureStopsWithTheDiskFullMessage) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  TempDir dir;
  LogBuilder().Raw(BuildLogA()).Save(dir.File("log.dat"));
  std::string text, caption;
  ExportHooks hooks;
  hooks.message = [&](const std::string& t, const std::string& c) { text = t, caption = c; };
  EXPECT_EQ(DumpLog(dir.File("log.dat"), "/dev/full", Settings(), hooks), ExportResult::kWriteFailed);
  EXPECT_EQ(text, "Error Writing to File\n\nDisk Full?");
  EXPECT_EQ(caption, "File Write Error");
}

struct Shown {
  std::string text, caption;
  ExportHooks Hooks() {
    ExportHooks hooks;
    hooks.message = [this](const std::string& t, const std::string& c) { text = t, caption = c; };
    return hooks;
  }
};

// The log named like its own output (or linked to it) is refused before
// anything is opened for writing: the log keeps every byte.
struct SelfDumpCase {
  const char* log;
  bool csv;
  const char* output;  // nullptr: the output name rule; else a hard link to the log
};

class DumpOntoItsLog : public ::testing::TestWithParam<SelfDumpCase> {};

TEST_P(DumpOntoItsLog, IsRefusedAndTheLogIsUntouched) {
  const SelfDumpCase& c = GetParam();
  TempDir dir;
  LogBuilder().Raw(BuildLogA()).Save(dir.File(c.log));
  std::string output = DumpOutputPath(dir.File(c.log), c.csv);
  if (c.output) {
    output = dir.File(c.output);
    std::filesystem::create_hard_link(dir.File(c.log), output);
  }
  Settings settings = SettingsA();
  settings.anaCsv = c.csv ? 1 : 0;
  Shown shown;
  EXPECT_EQ(DumpLog(dir.File(c.log), output, settings, shown.Hooks()), ExportResult::kOutputIsLog);
  EXPECT_EQ(ReadAll(dir.File(c.log)), BuildLogA());
  EXPECT_EQ(shown.text, "The output file would replace the data log itself:\n\n" + output);
  EXPECT_EQ(shown.caption, "File Open Error");
  EXPECT_FALSE(std::filesystem::exists(output + ".part"));
}

INSTANTIATE_TEST_SUITE_P(Names, DumpOntoItsLog,
                         ::testing::Values(SelfDumpCase{"run.ORV", false, nullptr}, SelfDumpCase{"run.csv", true, nullptr},
                                           SelfDumpCase{"keep.dat", true, "linked.csv"}));

// A log that cannot be read is not an empty log: the dump says so and an
// earlier output stays as it was.
TEST(DumpLog, UnreadableLogIsReportedAndLeavesTheEarlierOutput) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("d.dat"));
  LogBuilder().Raw("earlier").Save(dir.File("d.ORV"));
  Shown shown;
  EXPECT_EQ(DumpLog(dir.File("d.dat"), dir.File("d.ORV"), Settings(), shown.Hooks()), ExportResult::kReadFailed);
  EXPECT_EQ(shown.caption, "File Read Error");
  EXPECT_NE(shown.text.find("cut short"), std::string::npos);
  EXPECT_EQ(ReadAll(dir.File("d.ORV")), "earlier");
  EXPECT_FALSE(std::filesystem::exists(dir.File("d.ORV.part")));

  AnalysisViewFile view;
  ASSERT_TRUE(view.Create(dir.Path()));
  EXPECT_EQ(BuildViewFile(view, dir.File("d.dat"), Settings(), shown.Hooks()), ExportResult::kReadFailed);
  EXPECT_EQ(shown.caption, "File Read Error");
}

TEST(DumpLog, ReplacesAnEarlierOutputOnlyWhenComplete) {
  TempDir dir;
  LogBuilder().Raw(BuildLogA()).Save(dir.File("log.dat"));
  LogBuilder().Raw("earlier").Save(dir.File("log.ORV"));
  ASSERT_EQ(DumpLog(dir.File("log.dat"), dir.File("log.ORV"), SettingsA(), {}), ExportResult::kOk);
  EXPECT_EQ(ReadAll(dir.File("log.ORV")), Golden("dump_a_text.ORV"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("log.ORV.part")));
}

TEST(DumpOutputPath, ReplacesOrAppendsTheExtension) {
  EXPECT_EQ(DumpOutputPath("/logs/run1.dat", true), "/logs/run1.csv");
  EXPECT_EQ(DumpOutputPath("/logs/run1.dat", false), "/logs/run1.ORV");
  EXPECT_EQ(DumpOutputPath("/logs/run1", true), "/logs/run1.csv");
  EXPECT_EQ(DumpOutputPath("C:\\logs\\run.1.dat", false), "C:\\logs\\run.1.ORV");
}

TEST(DumpOutputPath, DotInADirectoryNameIsNotAnExtension) {
  EXPECT_EQ(DumpOutputPath("/home/car.v2/run1", true), "/home/car.v2/run1.csv");
  EXPECT_EQ(DumpOutputPath("C:\\car.v2\\run1", false), "C:\\car.v2\\run1.ORV");
}

}  // namespace
}  // namespace vantor
