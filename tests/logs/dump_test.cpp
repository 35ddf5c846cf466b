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

TEST(DumpLog, OpenAndWriteFailuresAreReported) {
  TempDir dir;
  LogBuilder().Raw(BuildLogA()).Save(dir.File("log.dat"));
  const struct {
    std::string log, out;
    ExportResult result;
    const char* text;
    const char* caption;
  } cases[] = {
      {dir.File("log.dat"), dir.File("no/such/dir/out.csv"), ExportResult::kOutputOpenFailed,
       "Can Not Open Output File\n\nIs it open elsewhere?", "File Open Error"},
      {dir.File("missing.dat"), dir.File("out.csv"), ExportResult::kLogOpenFailed, "Can not open Data Log File", ""},
      {dir.File("log.dat"), "/dev/full", ExportResult::kWriteFailed, "Error Writing to File\n\nDisk Full?",
       "File Write Error"},
  };
  for (const auto& c : cases) {
    if (c.out == "/dev/full" && !std::filesystem::exists(c.out)) continue;
    std::string text, caption;
    ExportHooks hooks;
    hooks.message = [&](const std::string& t, const std::string& cap) { text = t, caption = cap; };
    EXPECT_EQ(DumpLog(c.log, c.out, Settings(), hooks), c.result) << c.text;
    EXPECT_EQ(text, c.text);
    if (*c.caption) {
      EXPECT_EQ(caption, c.caption);
    }
  }
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
