// ORV_KDM9Update's window on the recording host and the simulated ECM: what
// the window adds to the update run, which the update library's tests cover.

#include "ui/window/update_window.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "support/fake_host.h"
#include "support/pane_recorder.h"
#include "support/temp_dir.h"
#include "settings/settings_io.h"
#include "update/bank_update.h"
#include "support/update_world.h"

namespace vantor::ui {
namespace {

using vantor::test::ReadText;
using U = UpdateWindow;

// A window on the simulated module; boxes and choosers are answered by the test.
class UpdateWindowTest : public ::testing::Test {
 protected:
  std::string ConfigPath() const { return dir_.File(kUpdateConfigName); }
  std::string Beside() const { return dir_.File("ORV_KDM9_firmware.bin"); }

  void Open(const std::string& config = "[PORT] SIM\r\n", bool demo = false) {
    std::ofstream(ConfigPath(), std::ios::binary) << config;
    const UpdateProgramOptions options{.configPath = ConfigPath(), .demo = demo,
                                       .simOptions = vantor::test::UnpacedSim(), .bankDirectory = dir_.Path(),
                                       .firmwareBeside = Beside(), .deviceDirectory = devices_.Path(), .settle = {},
                                       .conversionPause = {}};
    program_ = std::make_unique<UpdateProgram>(options, nullptr);
    window_ = std::make_unique<UpdateWindow>(*program_, host_);
    program_->session.Pane().SetLineHook([this](vantor::Rgb colour, std::string_view text) { pane_.AddLine(colour, text); });
    View().Show();
    ASSERT_TRUE(window_->Start());
  }
  test::FakeWindow& View() { return static_cast<test::FakeWindow&>(window_->Window()); }
  bool WaitFor(const std::function<bool()>& done) { return host_.WaitUntil(done, std::chrono::seconds(60)); }
  const MenuItem* PortItem(const std::string& text) {
    for (const MenuItem& item : *View().MenuItems(U::kPortMenu))
      if (item.text == text) return &item;
    return nullptr;
  }

  vantor::test::TempDir dir_;
  vantor::test::TempDir devices_;  // the adapters the CommPort menu finds
  test::FakeHost host_;
  vantor::test::PaneRecorder pane_;  // every line of the runs; outlives the program that writes it
  std::unique_ptr<UpdateProgram> program_;
  std::unique_ptr<UpdateWindow> window_;
};

TEST_F(UpdateWindowTest, DemoRunsOnTheSimulatedModuleAndKeepsTheUsersPort) {
  Open("[PORT] COM3\r\n", true);
  EXPECT_EQ(program_->settings.port, "SIM");
  EXPECT_TRUE(WaitFor([&] { return program_->session.Link().PortIsOpen(); }));
  EXPECT_NE(ReadText(ConfigPath()).find("[PORT] COM3\r\n"), std::string::npos);
}

TEST_F(UpdateWindowTest, ButtonRunsTheUpdateAndThePaneShowsItsLines) {
  Open();
  ASSERT_TRUE(WaitFor([&] { return program_->session.Link().Connected(); }));
  View().Click(U::kProceed);
  // Held on this thread before the run's thread exists: no second run, no
  // port change, no exit while the module is being written.
  EXPECT_FALSE(View().Find(U::kProceed)->enabled);
  for (int item : {U::kPortMenu, U::kBinUpdate, U::kExit}) EXPECT_FALSE(View().MenuFind(item)->enabled) << item;
  window_->ProceedWithUpdate();
  window_->ChoosePort("COM5");
  EXPECT_FALSE(View().CloseBox());
  ASSERT_TRUE(WaitFor([&] { return View().Find(U::kProceed)->enabled; }));
  EXPECT_EQ(program_->settings.port, "SIM");
  EXPECT_TRUE(host_.boxes.empty());

  // The image line first; the run's own lines are the update library's.
  const auto lines = pane_.Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].text, FirmwareImageLine({"", true}, 80));
  EXPECT_EQ(lines.back().text, "    -Update Successful-");
}

// For a real module with no image beside the program, the reason goes to the
// pane and a bare error box follows.
TEST_F(UpdateWindowTest, AnUnusableImageStopsTheRunBeforeAnyCommand) {
  Open("[PORT] COM5\r\n");
  View().Click(U::kProceed);
  ASSERT_TRUE(WaitFor([&] { return View().Find(U::kProceed)->enabled; }));
  const auto lines = pane_.Lines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[1].text, "Firmware Image Missing");
  ASSERT_EQ(host_.boxes.size(), 1u);
  EXPECT_EQ(host_.boxes[0].caption, "-ORV Update Error-");
  EXPECT_EQ(host_.boxes[0].text, "");
}

// The bank folder and the image follow the port chosen when the button is
// pressed: the simulated module keeps its files in a folder of its own and
// runs on the built-in stand-in when no image lies beside the program.
TEST_F(UpdateWindowTest, EachRunTakesItsFolderAndImageFromThePortChosenThen) {
  Open();
  for (const std::string port : {"COM5", "SIM"}) {
    window_->ChoosePort(port);
    const UpdateRunSetup setup = program_->RunSetup();
    const bool simulated = port == "SIM";
    EXPECT_EQ(setup.directory, simulated ? dir_.File(kSimulatedModuleFolder) : dir_.Path()) << port;
    EXPECT_EQ(setup.firmware.path, simulated ? "" : Beside()) << port;
  }
}

TEST_F(UpdateWindowTest, PortMenuChoiceIsWrittenAndTooLongANameIsRefused) {
  Open();
  ASSERT_NE(PortItem("COM12"), nullptr);
  EXPECT_TRUE(View().Menu(PortItem("COM12")->id));
  EXPECT_EQ(program_->session.Link().RequestedPortName(), "COM12");
  EXPECT_NE(ReadText(ConfigPath()).find("[PORT] COM12\r\n"), std::string::npos);

  const std::string tooLong(kDeviceNameBytes + 4, 'X');
  window_->ChoosePort(tooLong);
  ASSERT_EQ(host_.boxes.size(), 1u);
  EXPECT_EQ(host_.boxes[0].text, "Port name too long: " + tooLong);
  EXPECT_NE(ReadText(ConfigPath()).find("[PORT] COM12\r\n"), std::string::npos);
}

// A file that is not a calibration brings the chooser back; the one
// converted is remembered, and the next choice starts in its folder.
TEST_F(UpdateWindowTest, BinUpdateConvertsTheChosenFileAndRemembersIt) {
  Open();
  const std::string junk = dir_.File("junk.bin"), source = dir_.File("calib.bin");
  vantor::test::WriteAll(junk, std::vector<std::uint8_t>(64, 0x41));
  vantor::test::WriteAll(source, vantor::test::BankImageOf(vantor::test::SampleCalibration(3)));
  for (const std::string& path : {junk, source}) host_.AnswerChooser(path);
  EXPECT_TRUE(View().Menu(U::kBinUpdate));
  ASSERT_EQ(host_.boxes.size(), 2u);
  EXPECT_EQ(host_.boxes[1].caption, "SUCCESS!");
  EXPECT_NE(ReadText(ConfigPath()).find("[FLSHBIN] " + source + "\r\n"), std::string::npos);
  EXPECT_TRUE(View().Menu(U::kBinUpdate));
  EXPECT_EQ(host_.choosers.back().directory, dir_.Path() + "/");
}

}  // namespace
}  // namespace vantor::ui
