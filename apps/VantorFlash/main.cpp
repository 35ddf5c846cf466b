// VantorFlash: live data displays, data logs and playback for the ORV KDM-9.
//   VantorFlash [--demo] [--config CFG] [--help] [--version]
// --demo runs on the simulated ECM ("SIM") for this run only; the
// configuration keeps the user's port.

#include <QApplication>
#include <QMessageBox>

#include <clocale>

#include <string>

#include "settings/settings_io.h"
#include "settings/settings_table.h"
#include "sim/sim_serial.h"
#include "ui/qt/qt_host.h"
#include "ui/window/main_window.h"
#include "ui/window/program_parts.h"
#include "ui/window/window_command_line.h"

namespace {

constexpr char kUsage[] =
    "usage: VantorFlash [--demo] [--config CFG]\n\n"
    "Live data displays, data logs, playback, VE learn and bank flashing for the\n"
    "ORV KDM-9 flash ECM on a serial port.\n\n"
    "  --demo         run on the simulated ECM for this run only (the configuration\n"
    "                 keeps your port)\n"
    "  --config CFG   the configuration file (default: ORV_KDM-9_Vantor.cfg beside the\n"
    "                 program, or in ~/.config/vantor when its folder is shared)\n"
    "  --help         print this help and exit\n"
    "  --version      print the version and exit\n\n"
    "Qt's own options (-platform NAME, ...) are accepted too.\n";

constexpr char kVersion[] = "VantorFlash " VANTOR_VERSION "\n";

void ShowError(const std::string& text, const std::string& caption) {
  QMessageBox::information(nullptr, QString::fromStdString(caption), QString::fromStdString(text));
}

}  // namespace

int main(int argc, char** argv) {
  const vantor::ui::WindowCommandLine line = vantor::ui::ReadWindowCommandLine(argc, argv);
  if (line.action != vantor::ui::WindowCommandLine::Action::RunWindow)
    return vantor::ui::AnswerWithoutWindow(line, "VantorFlash", kUsage, kVersion);
  QApplication app(argc, argv);
  // Qt takes the user's locale for the process; numbers in the displays,
  // the configuration file and the exports keep the '.' they have on every
  // machine.
  std::setlocale(LC_NUMERIC, "C");
  const std::string configPath =
      line.configPath.empty() ? vantor::ConfigPath(vantor::kMainConfigName) : line.configPath;

  vantor::Settings settings;
  vantor::ReadSettings(configPath, vantor::MainProgramSettingsTable(), &settings, ShowError);
  const std::string userPort = settings.port;
  if (line.demo) settings.port = vantor::sim::kSimPortName;

  vantor::ui::ProgramParts parts(settings, configPath);
  if (line.demo) {
    // Whatever writes the configuration during this run keeps the user's port.
    parts.SetPortOverride(userPort);
  }
  vantor::ui::QtHost host;
  vantor::ui::MainWindow window(parts, host);
  window.Window().Show();
  window.Start();
  return app.exec();
}
