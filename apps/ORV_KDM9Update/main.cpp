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
#include "update_usage.h"

namespace {

using vantor::ui::UpdateProgramOptions;

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
    return vantor::ui::AnswerWithoutWindow(line, "ORV_KDM9Update", vantor::update::kUsage, vantor::update::kVersion);
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
