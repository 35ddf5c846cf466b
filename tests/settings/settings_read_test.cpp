// The reader's rules: ranges and defaults, text limits, repeated and
// malformed keys, line pieces and the derived fields.

#include <gtest/gtest.h>

#include <string>

#include "settings/settings.h"
#include "settings/settings_io.h"
#include "settings/settings_table.h"
#include "support/temp_dir.h"

namespace vantor {
namespace {

Settings ReadMain(const std::string& bytes) {
  Settings settings;
  ApplySettingsText(bytes, MainProgramSettingsTable(), &settings);
  return settings;
}

// A line as the main program stores it.
std::string Line(const std::string& key, const std::string& value) {
  return key + " " + value + "\r\r\n";
}

TEST(SettingsRead, EmptyFileSetsTheDerivedFields) {
  Settings settings;
  settings.totalPw = 12.5;
  ApplySettingsText("", MainProgramSettingsTable(), &settings);
  EXPECT_EQ(settings.updateDivisor, 3);
  EXPECT_EQ(settings.totalPw, 0.0);
}

// One line (or a few) read on its own, and the field it must leave.
struct IntCase {
  std::string text;
  long long (*field)(const Settings&);
  long long expected;
};

long long Rdln(const Settings& s) { return s.rdln; }
long long PbSpd(const Settings& s) { return s.pbSpd; }

TEST(SettingsRead, NumbersReadLikeAtoiAndTakeTheirDefaultOutOfRange) {
  const IntCase cases[] = {
      {Line("[PBSPD]", "-3"), PbSpd, 50},
      {Line("[PBSPD]", "0"), PbSpd, 0},
      {Line("[SMOOTHFAC]", "21"), [](const Settings& s) -> long long { return s.smoothFac; }, 12},
      {Line("[FLSHACTION]", "2"), [](const Settings& s) -> long long { return s.flshAction; }, 2},
      // An empty default reads as zero.
      {Line("[KNOCKALERT]", "5"), [](const Settings& s) -> long long { return s.knockAlert; }, 0},
      // The auto-update switch always starts off.
      {Line("[AUTOVSAVE]", "1"), [](const Settings& s) -> long long { return s.autoVSave; }, 0},
      {Line("[RDLN]", "7000abc"), Rdln, 7000},
      {Line("[RDLN]", "  +6000"), Rdln, 6000},
      {Line("[RDLN]", "abc"), Rdln, 0},
      {Line("[BFRVSSPPM]", "99999999999999999999"), [](const Settings& s) -> long long { return s.bfrVssPpm; }, 0},
      {Line("[UPDATERATE]", "1"), [](const Settings& s) -> long long { return s.updateDivisor; }, 2},
      // Line rules: the later line wins, keys match exactly, any one separator
      // character is skipped, Unix line ends and long lines read in pieces.
      {Line("[RDLN]", "6000") + Line("[RDLN]", "6500"), Rdln, 6500},
      {Line("[rdln]", "6000") + Line("[RDLN", "6100") + Line("[RDLNX]", "6200") + Line("[ID]", "x") + "no key\r\r\n",
       Rdln, 5800},
      {" [RPMRANGE] 5000\r\r\n", [](const Settings& s) -> long long { return s.rpmRange; }, 7000},
      {"[RDLN]=6100\r\r\n", Rdln, 6100},
      {"[RDLN] 6200\n[PORT] COM4\n", Rdln, 6200},
      {"[X] " + std::string(1043, 'a') + "[RDLN] 6300\r\r\n", Rdln, 6300},
  };
  for (const IntCase& c : cases) EXPECT_EQ(c.field(ReadMain(c.text)), c.expected) << c.text.substr(0, 60);
}

TEST(SettingsRead, RealHasNoRangeCheckButTripTotalsNeedSaveTrip) {
  Settings kept = ReadMain(Line("[SAVETRIP]", "1") + Line("[TOTALPW]", "-1") +
                           Line("[TOTALVSS]", "1234.5xyz"));
  EXPECT_EQ(kept.totalPw, -1.0);
  EXPECT_EQ(kept.totalVss, 1234.5);
  Settings dropped = ReadMain(Line("[TOTALPW]", "-1") + Line("[TOTALVSS]", "7"));
  EXPECT_EQ(dropped.totalPw, 0.0);
  EXPECT_EQ(dropped.totalVss, 0.0);
}

TEST(SettingsRead, TextIsTrimmedAndOverLongTextTakesTheDefault) {
  const struct {
    std::string text;
    std::string (*field)(const Settings&);
    std::string expected;
  } cases[] = {
      {Line("[PORT]", "  COM7 \t"), [](const Settings& s) { return s.port; }, "COM7"},
      {Line("[PORT]", std::string(33, 'X')), [](const Settings& s) { return s.port; }, "COM2"},
      {Line("[PORT]", std::string(32, 'X')), [](const Settings& s) { return s.port; }, std::string(32, 'X')},
      {Line("[RDLN]", "6100") + "[PORT] COM9", [](const Settings& s) { return s.port; }, "COM9"},
      {"[PORT]", [](const Settings& s) { return s.port; }, ""},
      // No LF: the whole file is one line.
      {"[PORT] COM3\r[RDLN] 6100\r", [](const Settings& s) { return s.port; }, "COM3\r[RDLN] 6100"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.field(ReadMain(c.text)), c.expected) << c.text.substr(0, 60);
}

// The read-only reader creates nothing; the program's first run creates the file.
TEST(SettingsFile, FirstRunCreatesAnEmptyFile) {
  test::TempDir dir;
  std::string path = dir.File(kMainConfigName);
  Settings settings;
  EXPECT_FALSE(ReadSettingsFile(path, MainProgramSettingsTable(), &settings));
  EXPECT_FALSE(std::filesystem::exists(path));
  int errors = 0;
  EXPECT_EQ(ReadSettings(path, MainProgramSettingsTable(), &settings,
                         [&](const std::string&, const std::string&) { ++errors; }),
            0);
  EXPECT_EQ(errors, 0);
  EXPECT_TRUE(std::filesystem::exists(path));
}

TEST(SettingsFile, UnopenableFileIsReported) {
  test::TempDir dir;
  std::string path = dir.File("missing/dir/x.cfg");
  Settings settings;
  std::string text, caption;
  ReadSettings(path, MainProgramSettingsTable(), &settings,
               [&](const std::string& t, const std::string& c) { text = t, caption = c; });
  EXPECT_EQ(text, "Can not open Configuration File: \n\n " + path);
  EXPECT_EQ(caption, "Configuration File Error");
  EXPECT_FALSE(ReadSettingsFile(path, MainProgramSettingsTable(), &settings));
  text.clear();
  WriteSettings(path, MainProgramSettingsTable(), &settings,
                [&](const std::string& t, const std::string&) { text = t; });
  EXPECT_EQ(text, "Can not open Configuration File: \n\n " + path);
}

}  // namespace
}  // namespace vantor
