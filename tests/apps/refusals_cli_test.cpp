// What the tool refuses: each message once, on stderr, naming the file or
// option concerned, with 1 for a failure and 2 for a usage error; a refused
// run leaves every file as it was and writes none, an input least of all.
// An update refuses a bad image before it opens the port; the pane lines of
// a failed job go to stderr too.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/analysis_samples.h"
#include "support/log_builder.h"
#include "support/temp_dir.h"
#include "support/tool_process.h"

namespace vantor {
namespace {

TEST(VantorRefusals, EachNamesWhatIsWrongAndExitsWithItsStatus) {
  test::TempDir files;
  const std::string dir = files.Path();
  std::filesystem::create_directory(files.File("d.dat"));
  test::WriteText(files.File("garbage.dat"), std::string(5000, 'g'));
  testlog::LogBuilder().Raw(testlog::BuildLogA()).Save(files.File("a.dat"));
  test::WriteText(files.File("text.bin"), "not a calibration at all");
  test::WriteText(files.File("short.bin"), std::string("\0\x07ORV9", 6) + std::string(94, '\xFF'));
  test::WriteText(files.File("cal.bin"), std::string("\0\x07ORV9", 6) + std::string(32762, '\xFF'));
  test::WriteText(files.File("Bank_6_20990101_000000.bin"), "a spoiled backup");
  std::filesystem::copy_file(VANTOR_DATA_DIR "/firmware_stand_in.bin", files.File("stand_in.bin"));
  std::filesystem::create_directory(files.File("sub"));
  std::filesystem::create_hard_link(files.File("cal.bin"), files.File("linked.bin"));
  std::filesystem::create_hard_link(files.File("a.dat"), files.File("linked.dat"));
  const std::set<std::string> inputs = test::Names(dir);
  const std::string calibration = test::ReadText(files.File("cal.bin"));
  const std::string log = test::ReadText(files.File("a.dat"));
  const struct {
    const char* command;
    int status;
    const char* err;  // how stderr starts
  } cases[] = {
      {"frames {dir}/missing.dat", 1, "vantor frames: Can not open Data Log File: {dir}/missing.dat\n"},
      {"dump {dir}/d.dat", 1, "vantor dump: Error Reading the Data Log File: {dir}/d.dat\n"},
      {"dump {dir}/garbage.dat", 1,
       "vantor dump: Not a Data Log File: {dir}/garbage.dat (no frame passes its check)\n"},
      {"qtr {dir}/garbage.dat --line x", 2, "vantor qtr: --line: 'x' is not a number from 0 to 2147483647\n"},
      {"dump {dir}/a.dat -o {dir}/no/dir/out.csv", 1, "vantor dump: Can Not Open Output File: {dir}/no/dir/out.csv\n"},
      {"dump {dir}/a.dat -o /dev/full", 1, "vantor dump: Error Writing to File: /dev/full (Disk Full?)\n"},
      {"bin info {dir}/text.bin", 1, "vantor bin: {dir}/text.bin: Not an ORV KDM-9 Flash BIN!\n"},
      {"bin ve {dir}/short.bin", 1, "vantor bin: {dir}/short.bin: BIN File Too Short: Need 32768 Bytes\n"},
      {"bank program --port SIM --bank 0 {dir}/short.bin", 1,
       "BIN File Too Short: Need 8192 Bytes\n     -Flashing Failed-\n"},
      {"bank read --port {dir}/no-such-port --bank 0 {dir}/x.bin", 1, "vantor: can not open port {dir}/no-such-port\n"},
      {"bank program --port SIM --bank 9 x.bin", 2, "vantor bank: --bank: '9' is not a number from 0 to 7\n"},
      {"sim --bank-file 9 {dir}/short.bin", 2, "vantor sim: --bank-file: '9' is not a number from 0 to 7\n"},
      {"sim --bank-file 3", 2, ""},
      {"sim --bank-file 1 {dir}/missing.bin", 1, ""},
      {"sim --replay {dir}/missing.dat", 1, ""},
      {"sim --bogus", 2, ""},
      {"--bogus", 2, ""},
      {"--version", 0, ""},
      {"smooth {dir}/cal.bin {dir}/x.bin --factor 21", 2, ""},
      {"smooth {dir}/missing.bin {dir}/x.bin", 1, ""},
      {"velearn --from {dir}/cal.bin --out {dir}/x.bin {dir}/missing.dat", 1,
       "vantor velearn: Can not open Data Log File: {dir}/missing.dat\n"},
      {"bank restore --port SIM --bank 5 --backup-dir {dir}", 1, "vantor bank: no backup of bank 5 in {dir}\n"},
      {"bank restore --port SIM --bank 6 --backup-dir {dir}", 1,
       "vantor bank: the backup {dir}/Bank_6_20990101_000000.bin is not 32768 bytes long: nothing programmed\n"},
      {"update --port SIM --firmware {dir}/text.bin --dir {dir}", 1,
       "vantor update: Firmware Image Not 24576 Bytes: {dir}/text.bin\n"},
      {"update --port {dir}/no-such-port --firmware {dir}/stand_in.bin", 1,
       "vantor update: Stand-In Firmware Image Refused: Not For A Real ECM: {dir}/stand_in.bin\n"
       "vantor update: the stand-in only serves the simulated ECM (--port SIM); nothing was sent\n"},
      {"bin frobnicate x", 2, ""},
      {"bank read --port SIM --bank 0 --no-backup x.bin", 2, ""},
      {"bank restore --port SIM --bank 0 --no-verify", 2, ""},
      {"bank program --port SIM --bank 0 --no-backup --backup-dir d x.bin", 2, ""},
      // A recording goes only into a new file, an empty one or a data log.
      {"record --port SIM --seconds 1 {dir}/cal.bin", 1, "vantor record: {dir}/cal.bin: Not a Data Log File\n"},
      {"record --port {dir}/no-such-port --seconds 1 {dir}/x.dat", 1,
       "vantor record: can not open port {dir}/no-such-port\n"},
      {"record --port SIM --seconds 1 {dir}/no/such/dir.dat", 1,
       "vantor record: {dir}/no/such/dir.dat: Can not open Data Logging File\n"},
      {"record --port SIM --seconds 0 {dir}/x.dat", 2, "vantor record: --seconds: '0' is not a number from 1 to 86400\n"},
      {"record --seconds 1 {dir}/x.dat", 2, "vantor record: --port PORT is needed\n"},
      {"record --port SIM {dir}/x.dat", 2, "vantor record: --seconds N is needed\n"},
      {"frames", 2, "vantor frames: one log file is needed\n"},
      {"record --help", 0, ""},
      // An output that is an input under another name: a ".." spelling, a hard link.
      {"bin convert {dir}/cal.bin {dir}/sub/../cal.bin", 1,
       "vantor bin: the output {dir}/sub/../cal.bin is the same file as the input {dir}/cal.bin: nothing written\n"},
      {"smooth {dir}/cal.bin {dir}/linked.bin", 1,
       "vantor smooth: the output {dir}/linked.bin is the same file as the input {dir}/cal.bin: nothing written\n"},
      {"velearn --from {dir}/cal.bin --out {dir}/linked.dat {dir}/a.dat", 1,
       "vantor velearn: the output {dir}/linked.dat is the same file as the input {dir}/a.dat: nothing written\n"},
      {"dump {dir}/a.dat -o {dir}/linked.dat", 1,
       "vantor dump: the output {dir}/linked.dat is the same file as the input {dir}/a.dat: nothing written\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const auto run = apptest::RunTool(apptest::InDir(c.command, dir));
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err.rfind(apptest::InDir(c.err, dir), 0), 0u) << run.err;
  }
  EXPECT_EQ(test::Names(dir), inputs);
  EXPECT_EQ(test::ReadText(files.File("cal.bin")), calibration);
  EXPECT_EQ(test::ReadText(files.File("a.dat")), log);
}

}  // namespace
}  // namespace vantor
