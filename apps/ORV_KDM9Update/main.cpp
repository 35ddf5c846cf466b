// ORV_KDM9Update: migrates every calibration bank of an ORV KDM-9 to layout
// 1.1 with the new firmware, and converts single BIN files.
//   ORV_KDM9Update [--demo] [--config CFG] [--help] [--version]
// --demo runs against the simulated ECM for this run only; the configuration
// keeps the user's port.

#include <QApplication>
#include <QMessageBox>

#include <clocale>

#include <string>

#include "platform/program_dir.h"
#include "ui/qt/qt_host.h"
#include "ui/window/update_program.h"
#include "ui/window/update_window.h"
#include "ui/window/window_command_line.h"
#include "update/firmware_image.h"

namespace {

using vantor::ui::UpdateProgramOptions;

constexpr char kUsage[] =
    "usage: ORV_KDM9Update [--demo] [--config CFG]\n\n"
    "Reads every calibration bank of an ORV KDM-9 flash ECM, converts each to layout\n"
    "1.1 keeping your parameters, and programs them back with the new firmware code.\n"
    "File > BIN Update... converts a single BIN file.\n\n"
    "  --demo         run on the simulated ECM for this run only (the configuration\n"
    "                 keeps your port)\n"
    "  --config CFG   the configuration file (default: ORV_KDM9Update.cfg beside the\n"
    "                 program, or in ~/.config/vantor when its folder is shared)\n"
    "  --help         print this help and exit\n"
    "  --version      print the version and exit\n\n"
    "The firmware code image, supplied with the ECM's firmware, goes beside the\n"
    "configuration as ORV_KDM9_firmware.bin. A run keeps Bank_N_old.bin and Bank_N_new.bin\n"
    "in the working directory; the simulated ECM keeps its own in the subfolder\n"
    "SimulatedECM. Qt's own options (-platform NAME, ...) are accepted too.\n";

constexpr char kVersion[] = "ORV_KDM9Update " VANTOR_VERSION "\nORV KDM-9 Update Version 1.1a\n";

UpdateProgramOptions ProgramOptions(const vantor::ui::WindowCommandLine& line) {
  UpdateProgramOptions options;
  options.demo = line.demo;
  options.configPath = line.configPath.empty() ? vantor::ConfigPath(vantor::kUpdateConfigName) : line.configPath;
  options.firmwareBeside = vantor::DefaultFirmwarePath(vantor::SettingsDirectory().string());
  return options;
}

void ShowError(const std::string& text, const std::string& caption) {
  QMessageBox box(QMessageBox::Information, QString::fromStdString(caption), QString::fromStdString(text));
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.exec();
}

}  // namespace

int main(int argc, char** argv) {
  const vantor::ui::WindowCommandLine line = vantor::ui::ReadWindowCommandLine(argc, argv);
  if (line.action != vantor::ui::WindowCommandLine::Action::RunWindow)
    return vantor::ui::AnswerWithoutWindow(line, "ORV_KDM9Update", kUsage, kVersion);
  QApplication app(argc, argv);
  // Qt takes the user's locale for the process; numbers in the displays,
  // the configuration file and the exports keep the '.' they have on every
  // machine.
  std::setlocale(LC_NUMERIC, "C");
  vantor::ui::UpdateProgram program(ProgramOptions(line), ShowError);
  vantor::ui::QtHost host;
  vantor::ui::UpdateWindow window(program, host);
  window.Window().Show();
  if (!window.Start()) return 1;
  return app.exec();
}
