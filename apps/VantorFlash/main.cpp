// VantorFlash: live data displays, data logs and playback for the ORV KDM-9.
//   VantorFlash [--demo] [--config CFG]
// --demo runs on the simulated ECM ("SIM") for this run only; the
// configuration keeps the user's port.

#include <QApplication>
#include <QMessageBox>

#include <cstring>
#include <string>

#include "settings/settings_io.h"
#include "settings/settings_table.h"
#include "sim/sim_serial.h"
#include "ui/qt/main_window.h"
#include "ui/qt/program_parts.h"

namespace {

struct Options {
  bool demo = false;
  std::string configPath;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--demo") == 0) options.demo = true;
    if (std::strcmp(argv[i], "--config") == 0 && i + 1 < argc) options.configPath = argv[++i];
  }
  if (options.configPath.empty()) options.configPath = vantor::ConfigPath(vantor::kMainConfigName);
  return options;
}

void ShowError(const std::string& text, const std::string& caption) {
  QMessageBox::information(nullptr, QString::fromStdString(caption), QString::fromStdString(text));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const Options options = ParseOptions(argc, argv);

  vantor::Settings settings;
  vantor::ReadSettings(options.configPath, vantor::MainProgramSettingsTable(), &settings, ShowError);
  const std::string userPort = settings.port;
  if (options.demo) settings.port = vantor::sim::kSimPortName;

  vantor::ui::ProgramParts parts(settings, options.configPath);
  if (options.demo) {
    // Whatever writes the configuration during this run keeps the user's port.
    parts.SetPortOverride(userPort);
  }
  vantor::ui::MainWindow window(parts);
  window.show();
  window.Start();
  return app.exec();
}
