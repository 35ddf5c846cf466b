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
#include "flash_usage.h"

namespace {

void ShowError(const std::string& text, const std::string& caption) {
  QMessageBox::information(nullptr, QString::fromStdString(caption), QString::fromStdString(text));
}

}  // namespace

int main(int argc, char** argv) {
  const vantor::ui::WindowCommandLine line = vantor::ui::ReadWindowCommandLine(argc, argv);
  if (line.action != vantor::ui::WindowCommandLine::Action::RunWindow)
    return vantor::ui::AnswerWithoutWindow(line, "VantorFlash", vantor::flash::kUsage, vantor::flash::kVersion);
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
