// The writer: byte-exact files for both programs, the clamp on write, the
// data log header's line ends and text that survives a write and a read.

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "settings/settings.h"
#include "settings/settings_io.h"
#include "settings/settings_table.h"
#include "support/temp_dir.h"

namespace vantor {
namespace {

TEST(SettingsWrite, MainFileIsByteExact) {
  test::TempDir dir;
  std::string path = dir.File(kMainConfigName);
  Settings settings;
  WriteSettings(path, MainProgramSettingsTable(), &settings, {});
  std::string bytes = test::ReadText(path);
  EXPECT_TRUE(bytes.starts_with("[ID] ORV KDM-9 Vantor Display\r\r\n[PORT] COM2\r\r\n[DLOG] \r\r\n"));
  EXPECT_NE(bytes.find("\r\r\n[BFRVSSPPM] 0\r\r\n[BFRFLWCNST] 0\r\r\n[TOTALPW] 0.000000\r\r\n"), std::string::npos);
  std::string tail =
      "[UD15PRECI] 4\r\r\n"
      "[AD0TYPE] -1\r\r\n[AD0INSTA] 0\r\r\n[AD0INDEX] 0\r\r\n[AD0NAME] None\r\r\n"
      "[AD0FILTER] 100\r\r\n[AD0WBPREF] 0\r\r\n[AD0FPPREF] 0\r\r\n";
  EXPECT_NE(bytes.find(tail), std::string::npos);
  EXPECT_TRUE(bytes.ends_with("[AD7WBPREF] 0\r\r\n[AD7FPPREF] 0\r\r\n"));
  std::size_t lines = 0;
  for (std::size_t at = 0; (at = bytes.find("\r\r\n", at)) != std::string::npos; at += 3) ++lines;
  EXPECT_EQ(lines, 59u + 16u * 9u + 8u * 7u);
}

TEST(SettingsWrite, UpdateUtilityFileIsByteExact) {
  test::TempDir dir;
  std::string path = dir.File(kUpdateConfigName);
  Settings settings;
  settings.port = "COM12";
  settings.xPosHwnd = 40;
  settings.flshBin = "C:\\bins\\a.bin";
  settings.flshBinFile = "a.bin";
  settings.flshBinPath = "C:\\bins\\";
  WriteSettings(path, UpdateUtilitySettingsTable(), &settings, {});
  EXPECT_EQ(test::ReadText(path),
            "[ID] ORV Flash Update\r\n[PORT] COM12\r\n[XPOSHWND] 40\r\n[YPOSHWND] -1\r\n"
            "[FLSHBIN] C:\\bins\\a.bin\r\n[FLSHBINFILE] a.bin\r\n[FLSHBINPATH] C:\\bins\\\r\n");
}

TEST(SettingsWrite, DemoRunKeepsTheUsersPortUntilAnotherIsChosen) {
  test::TempDir dir;
  const std::string path = dir.File(kUpdateConfigName);
  Settings settings;
  settings.port = "SIM";
  std::optional<std::string> kept = "COM3";
  WriteSettingsKeepingPort(path, UpdateUtilitySettingsTable(), &settings, &kept, "SIM", {});
  EXPECT_NE(test::ReadText(path).find("[PORT] COM3\r\n"), std::string::npos);
  EXPECT_EQ(settings.port, "SIM");
  settings.port = "COM7";
  WriteSettingsKeepingPort(path, UpdateUtilitySettingsTable(), &settings, &kept, "SIM", {});
  EXPECT_NE(test::ReadText(path).find("[PORT] COM7\r\n"), std::string::npos);
  EXPECT_FALSE(kept.has_value());
}

// Reals have no range and are written with six decimals.
TEST(SettingsWrite, NumbersAreClampedInPlaceAndRealsHaveSixDecimals) {
  Settings settings;
  settings.xPosHwnd = 1500;
  settings.pbSpd = -20;
  settings.flshBank = 9;
  settings.totalPw = -1.0;
  settings.totalVss = 123456.0078125;
  std::string text = SettingsText(MainProgramSettingsTable(), &settings);
  EXPECT_NE(text.find("[XPOSHWND] 1280\r\r\n"), std::string::npos);
  EXPECT_NE(text.find("[FLSHBANK] 7\r\r\n"), std::string::npos);
  EXPECT_EQ(settings.xPosHwnd, 1280);
  EXPECT_EQ(settings.pbSpd, 0);
  EXPECT_EQ(settings.flshBank, 7);
  EXPECT_NE(text.find("[TOTALPW] -1.000000\r\r\n"), std::string::npos);
  EXPECT_NE(text.find("[TOTALVSS] 123456.007812\r\r\n"), std::string::npos);
}

TEST(SettingsWrite, LogHeaderUsesCrLf) {
  test::TempDir dir;
  std::string path = dir.File("header.bin");
  Settings settings;
  std::FILE* stream = std::fopen(path.c_str(), "wb");
  ASSERT_NE(stream, nullptr);
  EXPECT_TRUE(WriteSettingsText(stream, MainProgramSettingsTable(), &settings));
  std::fclose(stream);
  std::string bytes = test::ReadText(path);
  EXPECT_TRUE(bytes.starts_with("[ID] ORV KDM-9 Vantor Display\r\n[PORT] COM2\r\n[DLOG] \r\n"));
  EXPECT_EQ(bytes, SettingsText(MainProgramSettingsTable(), &settings, kLogHeaderLineEnd));
}

// Also the longest texts that fit: a 4-letter unit and a 48-character name once
// read back as "NEW" and the free-slot name, silently replacing the user's device.
TEST(SettingsWrite, EveryFieldSurvivesARoundTrip) {
  test::TempDir dir;
  std::string path = dir.File(kMainConfigName);
  Settings written;
  written.saveTrip = 1;
  written.totalPw = 1234.5;
  written.updateRate = 2;
  written.flshAction = 2;
  written.userDevices[2] = {1, 2, std::string(48, 'N'), "PSIG", 0, 5000, 0, 1000000, 4, 3};
  written.userDevices[15] = {1, 15, "Oil pressure", "psi", 500, 4500, -50000, 1000000, 3, 1};
  written.adcChannels[5].name = std::string(48, 'C');
  written.adcChannels[7] = {kChannelUserDevice, 15, 15, "Oil pressure", 30, 0, 1};
  written.port = std::string(32, 'P');
  written.dlog = "/logs/" + std::string(1017, 'd');
  WriteSettings(path, MainProgramSettingsTable(), &written, {});
  Settings read;
  ASSERT_TRUE(ReadSettingsFile(path, MainProgramSettingsTable(), &read));
  EXPECT_EQ(SettingsText(MainProgramSettingsTable(), &read),
            SettingsText(MainProgramSettingsTable(), &written));
}

}  // namespace
}  // namespace vantor
