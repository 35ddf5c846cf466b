#include <gtest/gtest.h>

#include <filesystem>

#include "cal/cal_image.h"
#include "support/temp_dir.h"
#include "update/bank_update.h"
#include "update/bin_naming.h"
#include "update/calibration_migration.h"
#include "update/firmware_image.h"
#include "update/single_bin_update.h"

namespace vantor {
namespace {

using std::chrono::milliseconds;

class UpdateFilesTest : public ::testing::Test {
 protected:
  std::string Source(std::uint8_t major, std::uint8_t minor, const std::string& name = "src.bin") {
    const auto calibration = test::SampleCalibration(31, major, minor);
    const CalImage image = MakeImageFromCalibration(calibration.data());
    test::WriteAll(dir.File(name), std::vector<std::uint8_t>(image.Data(), image.Data() + kCalImageSize));
    return dir.File(name);
  }
  test::TempDir dir;
};

TEST(BinNaming, NewGoesBeforeTheExtension) {
  EXPECT_EQ(UpdatedBinName("/a/b.d/calib"), "/a/b.d/calib_new.bin");
  EXPECT_EQ(UpdatedBinName("calib.v2.bin"), "calib.v2_new.bin");
}

TEST_F(UpdateFilesTest, Layout10GetsTheFeatureBitAndParameterBlock) {
  const std::string source = Source(1, 0);
  const auto before = test::ReadAll(source);
  const ConvertOutcome outcome = ConvertCalibration(source, dir.File("new.bin"), milliseconds(0));
  ASSERT_EQ(outcome.status, ConvertStatus::Ok);
  const auto after = test::ReadAll(dir.File("new.bin"));
  ASSERT_EQ(after.size(), kCalImageSize);
  EXPECT_EQ(after[9], 1);
  EXPECT_EQ(after[10], 1);
  EXPECT_EQ(after[0x0B8D], before[0x0B8D] | 0x10);
  EXPECT_EQ(after[0x0DC0], 0x86);
  EXPECT_EQ(after[0x0DCE], 0xC0);
  EXPECT_EQ(after[0x0DD8], 0x40);
  EXPECT_EQ(after[0x0DD9], before[0x0DD9]);
  for (std::size_t i = 11; i < 0x0B8D; ++i) ASSERT_EQ(after[i], before[i]) << i;
  // The calibration alone sums to the checksum; the balance area then makes the whole image agree.
  EXPECT_EQ(test::SumBytes(after, 8, 0x1FFF), test::StoredChecksum(after));
  EXPECT_EQ(test::SumBytes(after, 8, 0x7FFF), test::StoredChecksum(after));
}

TEST_F(UpdateFilesTest, OtherLayoutsOnlyGetTheVersionBytes) {
  const std::string source = Source(0, 9);
  const auto before = test::ReadAll(source);
  ASSERT_EQ(ConvertCalibration(source, dir.File("new.bin"), milliseconds(0)).status, ConvertStatus::Ok);
  const auto after = test::ReadAll(dir.File("new.bin"));
  for (std::size_t i = 8; i < 8192; ++i)
    if (i != 9 && i != 10) {
      ASSERT_EQ(after[i], before[i]) << i;
    }
  EXPECT_EQ(test::SumBytes(after, 8, 0x7FFF), test::StoredChecksum(after));
}

TEST_F(UpdateFilesTest, CurrentOrUnreadableCalibrationsWriteNothingAndSayWhy) {
  test::WriteAll(dir.File("short.bin"), std::vector<std::uint8_t>(8191, 0));
  const struct {
    std::string source, target;
    ConvertStatus status;
    const char* text;
  } cases[] = {{Source(1, 1, "current.bin"), "new.bin", ConvertStatus::AlreadyCurrent, "Calibration Already Current"},
               {dir.File("none.bin"), "n.bin", ConvertStatus::Error, "Calibration File Open Failed"},
               {dir.File("short.bin"), "n.bin", ConvertStatus::Error, "Calibration File Read Failure"},
               {Source(1, 0), "no/such/dir/n.bin", ConvertStatus::Error, "New Calibration File Open Failed"},
               {Source(1, 0, "self.bin"), "self.bin", ConvertStatus::Error, "New Calibration File Open Failed"}};
  for (const auto& c : cases) {
    const auto before = test::ReadAll(dir.File(c.target));  // only the source itself exists
    const ConvertOutcome outcome = ConvertCalibration(c.source, dir.File(c.target), milliseconds(0));
    EXPECT_EQ(outcome.status, c.status) << c.text;
    EXPECT_EQ(outcome.text, c.text);
    EXPECT_EQ(std::filesystem::exists(dir.File(c.target)), !before.empty()) << c.text;
    EXPECT_EQ(test::ReadAll(dir.File(c.target)), before) << c.text;
  }
}

TEST_F(UpdateFilesTest, OneFileUpdateBoxes) {
  const SingleBinUpdate made = UpdateOneBinFile(Source(1, 0, "calib.bin"));
  EXPECT_EQ(made.caption, "SUCCESS!");
  EXPECT_EQ(made.text, "            New BIN has been Created             ");
  EXPECT_TRUE(std::filesystem::exists(dir.File("calib_new.bin")));

  EXPECT_EQ(UpdateOneBinFile(Source(1, 1, "cur.bin")).text, "Calibration Already Current");

  test::WriteAll(dir.File("other.bin"), std::vector<std::uint8_t>(100, 0x41));
  EXPECT_EQ(UpdateOneBinFile(dir.File("other.bin")).text, "Not an ORV Flash BIN");

  EXPECT_EQ(UpdateOneBinFile(dir.File("none.bin")).caption, "File Open Error");

  auto shortBin = test::ReadAll(Source(1, 0, "short.bin"));
  shortBin.resize(4000);
  test::WriteAll(dir.File("short.bin"), shortBin);
  const SingleBinUpdate failed = UpdateOneBinFile(dir.File("short.bin"));
  EXPECT_EQ(failed.text, "             BIN Creation failed             \n\nCalibration File Read Failure");
  EXPECT_EQ(failed.caption, "Incorrect BIN File");
}

TEST_F(UpdateFilesTest, FirmwareImageMustBeExactly24576Bytes) {
  FirmwareImage image;
  EXPECT_EQ(LoadFirmwareImage(dir.File("none.bin"), &image), FirmwareStatus::Missing);
  test::WriteAll(dir.File("small.bin"), std::vector<std::uint8_t>(24575, 1));
  EXPECT_EQ(LoadFirmwareImage(dir.File("small.bin"), &image), FirmwareStatus::WrongSize);
  test::WriteAll(dir.File("big.bin"), std::vector<std::uint8_t>(24577, 1));
  EXPECT_EQ(LoadFirmwareImage(dir.File("big.bin"), &image), FirmwareStatus::WrongSize);
  EXPECT_STREQ(FirmwareStatusText(FirmwareStatus::WrongSize), "Firmware Image Not 24576 Bytes");
  test::WriteAll(dir.File("ok.bin"), std::vector<std::uint8_t>(24576, 7));
  EXPECT_EQ(LoadFirmwareImage(dir.File("ok.bin"), &image), FirmwareStatus::Ok);
  EXPECT_EQ(image[24575], 7);
  EXPECT_EQ(FirmwareAdvice(FirmwareStatus::Missing, "/opt/f.bin", 80),
            (std::vector<std::string>{"The image is supplied with the ECM's firmware. It goes here:", "  /opt/f.bin"}));
}

TEST(FirmwareImage, ShippedStandInIsTheDocumentedPattern) {
  FirmwareImage image;
  ASSERT_EQ(LoadFirmwareImage(std::string(VANTOR_DATA_DIR) + "/firmware_stand_in.bin", &image), FirmwareStatus::Ok);
  EXPECT_EQ(image, StandInFirmwareImage());
  EXPECT_EQ(std::string(image.begin() + 128, image.begin() + 136), "STAND-IN");
  EXPECT_EQ(DefaultFirmwarePath("/opt/orv"), "/opt/orv/" + std::string(kFirmwareFileName));
}

// Which image a run gets: the stand-in, built in or copied beside the program,
// serves the simulated module only.
TEST_F(UpdateFilesTest, TheStandInServesOnlyTheSimulatedModule) {
  enum Beside { Nothing, StandIn, OnePageMarked, Real };
  const struct {
    const char* name;
    Beside beside;
    bool simulatedModule;
    FirmwareStatus status;
    bool builtIn;  // the built-in stand-in was chosen
  } cases[] = {{"built in for the simulated module", Nothing, true, FirmwareStatus::Ok, true},
               {"nothing for a real module", Nothing, false, FirmwareStatus::Missing, false},
               {"stand-in beside for a real module", StandIn, false, FirmwareStatus::StandIn, false},
               {"one marked page for a real module", OnePageMarked, false, FirmwareStatus::StandIn, false},
               {"real image for a real module", Real, false, FirmwareStatus::Ok, false}};
  const std::string beside = dir.File(kFirmwareFileName);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(beside);
    FirmwareImage file = StandInFirmwareImage();
    if (c.beside != StandIn)
      for (std::size_t page = 0; page < file.size(); page += 128) file[page] = 0x0F;  // no marker left
    if (c.beside == OnePageMarked) std::copy_n("STAND-IN", 8, file.begin() + 100 * 128);
    if (c.beside != Nothing) test::WriteAll(beside, std::vector<std::uint8_t>(file.begin(), file.end()));

    const FirmwareSource source = ChooseFirmware(beside, c.simulatedModule);
    EXPECT_EQ(source.path.empty(), c.builtIn);
    FirmwareImage image{};
    EXPECT_EQ(LoadRunFirmware(source, &image), c.status);
    if (c.status == FirmwareStatus::Ok) {
      EXPECT_EQ(image, c.builtIn ? StandInFirmwareImage() : file);
    }
  }
}

}  // namespace
}  // namespace vantor
