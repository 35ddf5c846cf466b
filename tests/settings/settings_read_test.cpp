// The reader's rules: ranges and defaults, text limits, repeated and
// malformed keys, line pieces and the derived fields.

#include <gtest/gtest.h>

#include <string>

#include "settings/settings.h"
#include "settings/settings_io.h"
#include "settings/settings_table.h"
#include "cal/temp_dir.h"

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

TEST(SettingsRead, EmptyFileKeepsStartValuesAndSetsDerivedFields) {
  Settings settings;
  settings.totalPw = 12.5;
  settings.totalVss = 3.0;
  ApplySettingsText("", MainProgramSettingsTable(), &settings);
  EXPECT_EQ(settings.updateDivisor, 3);
  EXPECT_EQ(settings.totalPw, 0.0);
  EXPECT_EQ(settings.totalVss, 0.0);
  EXPECT_EQ(settings.rdln, 5800);
  EXPECT_EQ(settings.smoothFac, 5);
  EXPECT_EQ(settings.port, "COM2");
  EXPECT_EQ(settings.userDevices[15].precision, 4);
}

TEST(SettingsRead, NumberOutOfRangeTakesTheDefaultText) {
  EXPECT_EQ(ReadMain(Line("[PBSPD]", "150")).pbSpd, 50);
  EXPECT_EQ(ReadMain(Line("[PBSPD]", "-3")).pbSpd, 50);
  EXPECT_EQ(ReadMain(Line("[PBSPD]", "0")).pbSpd, 0);
  EXPECT_EQ(ReadMain(Line("[RDLN]", "9000")).rdln, 6400);
  EXPECT_EQ(ReadMain(Line("[SMOOTHFAC]", "21")).smoothFac, 12);
  EXPECT_EQ(ReadMain(Line("[FLSHBANK]", "8")).flshBank, 0);
  EXPECT_EQ(ReadMain(Line("[FLSHACTION]", "2")).flshAction, 2);
  EXPECT_EQ(ReadMain(Line("[UD3UNITJ]", "-9999999")).userDevices[3].unitJ, -9999999);
  EXPECT_EQ(ReadMain(Line("[UD3UNITJ]", "-10000000")).userDevices[3].unitJ, 0);
  EXPECT_EQ(ReadMain(Line("[AD2TYPE]", "101")).adcChannels[2].type, -1);
}

TEST(SettingsRead, EmptyDefaultsReadAsZero) {
  EXPECT_EQ(ReadMain(Line("[KNOCKALERT]", "5")).knockAlert, 0);
  EXPECT_EQ(ReadMain(Line("[AUTOVSHOW]", "2")).autoVShow, 0);
  EXPECT_EQ(ReadMain(Line("[UD4ACTIVE]", "2")).userDevices[4].active, 0);
  EXPECT_EQ(ReadMain(Line("[UD4ACTIVE]", "1")).userDevices[4].active, 1);
}

TEST(SettingsRead, AutoUpdateSwitchAlwaysReadsOff) {
  EXPECT_EQ(ReadMain(Line("[AUTOVSAVE]", "1")).autoVSave, 0);
}

TEST(SettingsRead, IntegerReadsLikeAtoi) {
  EXPECT_EQ(ReadMain(Line("[RDLN]", "7000abc")).rdln, 7000);
  EXPECT_EQ(ReadMain(Line("[RDLN]", "  +6000")).rdln, 6000);
  EXPECT_EQ(ReadMain(Line("[RDLN]", "abc")).rdln, 0);
  EXPECT_EQ(ReadMain(Line("[BFRVSSPPM]", "99999999999999999999")).bfrVssPpm, 0);
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

TEST(SettingsRead, UpdateDivisorFollowsUpdateRate) {
  EXPECT_EQ(ReadMain(Line("[UPDATERATE]", "3")).updateDivisor, 0);
  EXPECT_EQ(ReadMain(Line("[UPDATERATE]", "1")).updateDivisor, 2);
  EXPECT_EQ(ReadMain(Line("[UPDATERATE]", "4")).updateDivisor, 3);
}

TEST(SettingsRead, TextIsTrimmedAndOverLongTextTakesTheDefault) {
  EXPECT_EQ(ReadMain(Line("[PORT]", "  COM7 \t")).port, "COM7");
  EXPECT_EQ(ReadMain(Line("[PORT]", std::string(33, 'X'))).port, "COM2");
  EXPECT_EQ(ReadMain(Line("[PORT]", std::string(32, 'X'))).port, std::string(32, 'X'));
  EXPECT_EQ(ReadMain(Line("[UD0UNIT]", "PSIGX")).userDevices[0].unit, "PSIGX");
  EXPECT_EQ(ReadMain(Line("[UD0UNIT]", "PSIGXY")).userDevices[0].unit, "NEW");
  EXPECT_EQ(ReadMain(Line("[DLOG]", std::string(1024, 'p'))).dlog, "C:\\");
}

TEST(SettingsRead, EmptyTextLineGivesEmptyText) {
  Settings settings;
  settings.dlogName = "old";
  ApplySettingsText("[DLOGNAME] \r\r\n", MainProgramSettingsTable(), &settings);
  EXPECT_EQ(settings.dlogName, "");
}

TEST(SettingsRead, LaterLineWins) {
  Settings settings = ReadMain(Line("[RDLN]", "6000") + Line("[RDLN]", "6500"));
  EXPECT_EQ(settings.rdln, 6500);
}

TEST(SettingsRead, KeysMustMatchExactly) {
  Settings settings =
      ReadMain(Line("[rdln]", "6000") + " [RPMRANGE] 5000\r\r\n" + Line("[RDLN", "6100") +
               Line("[RDLNX]", "6200") + Line("[ID]", "something") + "no key at all\r\r\n");
  EXPECT_EQ(settings.rdln, 5800);
  EXPECT_EQ(settings.rpmRange, 7000);
}

TEST(SettingsRead, AnySeparatorCharacterIsSkipped) {
  EXPECT_EQ(ReadMain("[RDLN]=6100\r\r\n").rdln, 6100);
  EXPECT_EQ(ReadMain("[RDLN]x6100\r\r\n").rdln, 6100);
  EXPECT_EQ(ReadMain("[PORT]XCOM3\r\r\n").port, "COM3");
}

TEST(SettingsRead, MissingFinalLineEnd) {
  Settings settings = ReadMain(Line("[RDLN]", "6100") + "[PORT] COM9");
  EXPECT_EQ(settings.rdln, 6100);
  EXPECT_EQ(settings.port, "COM9");
  Settings bare = ReadMain("[PORT]");
  EXPECT_EQ(bare.port, "");
}

TEST(SettingsRead, LoneCarriageReturnStaysData) {
  // No LF: the whole file is one line, and the CR ends up trimmed from the value.
  Settings settings = ReadMain("[PORT] COM3\r[RDLN] 6100\r");
  EXPECT_EQ(settings.port, "COM3\r[RDLN] 6100");
  EXPECT_EQ(settings.rdln, 5800);
}

TEST(SettingsRead, LongLinesAreReadInPieces) {
  // 1047 bytes of padding then a line of its own: the second piece is a key line.
  std::string padding = "[X] " + std::string(1043, 'a');
  Settings settings = ReadMain(padding + "[RDLN] 6300\r\r\n");
  EXPECT_EQ(settings.rdln, 6300);
}

TEST(SettingsRead, UnixLineEndsReadToo) {
  Settings settings = ReadMain("[RDLN] 6200\n[PORT] COM4\n");
  EXPECT_EQ(settings.rdln, 6200);
  EXPECT_EQ(settings.port, "COM4");
}

TEST(SettingsRead, UpdateUtilityTableHasNoDerivedStep) {
  Settings settings;
  settings.totalPw = 5.0;
  settings.updateRate = 2;
  ApplySettingsText("[PORT] COM5\r\n[XPOSHWND] 1500\r\n[RDLN] 6000\r\n",
                    UpdateUtilitySettingsTable(), &settings);
  EXPECT_EQ(settings.port, "COM5");
  EXPECT_EQ(settings.xPosHwnd, -1);
  EXPECT_EQ(settings.rdln, 5800);
  EXPECT_EQ(settings.totalPw, 5.0);
  EXPECT_EQ(settings.updateDivisor, 3);
}

TEST(SettingsFile, FirstRunCreatesAnEmptyFile) {
  test::TempDir dir;
  std::string path = dir.File(kMainConfigName);
  Settings settings;
  int errors = 0;
  EXPECT_EQ(ReadSettings(path, MainProgramSettingsTable(), &settings,
                         [&](const std::string&, const std::string&) { ++errors; }),
            0);
  EXPECT_EQ(errors, 0);
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(test::ReadText(path), "");
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

TEST(SettingsFile, ReadOnlyReaderCreatesNothing) {
  test::TempDir dir;
  std::string path = dir.File("absent.cfg");
  Settings settings;
  EXPECT_FALSE(ReadSettingsFile(path, MainProgramSettingsTable(), &settings));
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(SettingsFile, ConfigPathIsBesideTheProgram) {
  std::filesystem::path path = ConfigPath(kMainConfigName);
  EXPECT_EQ(path.filename(), kMainConfigName);
  EXPECT_TRUE(std::filesystem::exists(path.parent_path() / "test_settings"));
}

}  // namespace
}  // namespace vantor
