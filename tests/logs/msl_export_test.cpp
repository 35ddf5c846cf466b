// The viewer log: its head, one line per good frame with the time of its
// place, the marks and stamps where they were met, and units that follow the
// settings.

#include <gtest/gtest.h>

#include <map>

#include "support/analysis_samples.h"
#include "support/analysis_test_support.h"
#include "logs/msl_export.h"

namespace vantor {
namespace {

using namespace testlog;

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + separator.size())
    parts.push_back(text.substr(from, at - from));
  if (from < text.size()) parts.push_back(text.substr(from));
  return parts;
}

struct Msl {
  std::vector<std::string> lines;
  std::vector<std::string> names, units;
  // The fields of each frame's line by channel name (the first of two alike).
  std::vector<std::map<std::string, std::string>> rows;
  std::vector<std::string> firstFields;  // Time or the MARK line, in file order
};

Msl ExportedMsl(const std::string& logBytes, const Settings& settings, const TempDir& dir) {
  LogBuilder().Raw(logBytes).Save(dir.File("log.dat"));
  EXPECT_EQ(ExportMsl(dir.File("log.dat"), dir.File("log.msl"), settings, "vantor", {}), ExportResult::kOk);
  Msl msl;
  msl.lines = Split(ReadAll(dir.File("log.msl")), "\r\n");
  if (msl.lines.size() < 4) return msl;
  msl.names = Split(msl.lines[2], "\t");
  msl.units = Split(msl.lines[3], "\t");
  for (std::size_t i = 4; i < msl.lines.size(); ++i) {
    const auto fields = Split(msl.lines[i], "\t");
    msl.firstFields.push_back(fields[0]);
    if (fields.size() == 1) continue;
    std::map<std::string, std::string> row;
    for (std::size_t c = 0; c < fields.size() && c < msl.names.size(); ++c) row.emplace(msl.names[c], fields[c]);
    msl.rows.push_back(row);
  }
  return msl;
}

// Log A: a mark before the first frame, a stamp inside a frame, a damaged
// frame, a second recording, and a frame lost to the stamp between its sync bytes.
TEST(MslExport, HeadTimesAndMarksFollowTheLog) {
  TempDir dir;
  const Msl msl = ExportedMsl(BuildLogA(), SettingsA(), dir);
  ASSERT_GE(msl.lines.size(), 4u);
  EXPECT_EQ(msl.lines[0], "\"vantor - ORV Q8, ECM Firmware Version: 1.0\"");
  EXPECT_EQ(msl.lines[1], "\"Capture Date: 07/20/2013 - 16:47:09\"") << "the recording's own stamp";
  EXPECT_EQ(msl.names.front(), "Time");
  EXPECT_EQ(msl.units.size(), msl.names.size());
  EXPECT_EQ(msl.firstFields,
            (std::vector<std::string>{"MARK 000 - Marker: 000 @ 07/20/2013 - 16:47:10", "3725.000", "3725.059",
                                      "MARK 001 - TimeStamp: 07/20/2013 - 16:47:11", "3726.000", "3726.059",
                                      "MARK 002 - TimeStamp: 07/21/2013 - 08:00:00", "10.000",
                                      "MARK 003 - TimeStamp: 07/21/2013 - 08:00:05", "11.000"}));
}

// The names the viewers know, flags as 1/0, channels without a device, the
// automatic's gear ranges as numbers. Units follow the settings.
TEST(MslExport, FramesGiveTheirValuesUnderTheViewersNamesAndUnits) {
  TempDir dir;
  const std::map<std::string, std::string> expectedA{
      {"RPM", "2001"}, {"Speed", "45"}, {"MAP", "47"}, {"PSI", "0"},   {"CLT", "164"},
      {"AFR", "0.0"},  {"Id", "1"},     {"Bo", "0"},   {"Gr", "9"},    {"tpsAE", "1.526"}};
  Msl msl = ExportedMsl(BuildLogA(), SettingsA(), dir);
  ASSERT_FALSE(msl.rows.empty());
  for (const auto& [name, value] : expectedA) EXPECT_EQ(msl.rows[0].at(name), value) << name;
  for (const bool imperial : {true, false}) {
    Settings settings = SettingsB();
    settings.temperScale = settings.kphOrMph = imperial ? 0 : 1;
    msl = ExportedMsl(BuildLogB(), settings, dir);
    std::map<std::string, std::string> unitOf;
    for (std::size_t i = 0; i < msl.names.size(); ++i) unitOf.emplace(msl.names[i], msl.units.at(i));
    EXPECT_EQ(unitOf["CLT"], imperial ? "\xC2\xB0" "F" : "\xC2\xB0" "C");
    EXPECT_EQ(unitOf["Speed"], imperial ? "MPH" : "KPH");
    EXPECT_EQ(unitOf["PSI_5"], "PSI") << "a user device's own unit";
  }
  std::vector<std::string> gears;
  for (const auto& row : msl.rows) gears.push_back(row.at("Gr"));
  EXPECT_EQ(gears, (std::vector<std::string>{"4", "0", "3", "1"})) << "the automatic's ranges as numbers";
}

TEST(MslOutputPath, TakesTheMslExtension) {
  EXPECT_EQ(MslOutputPath("/logs/run1.dat"), "/logs/run1.msl");
  EXPECT_EQ(MslOutputPath("/car.v2/run1"), "/car.v2/run1.msl");
}

}  // namespace
}  // namespace vantor
