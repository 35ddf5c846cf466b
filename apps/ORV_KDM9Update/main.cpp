// ORV_KDM9Update: migrates every calibration bank of an ORV KDM-9 to layout
// 1.1 with the new firmware, and converts single BIN files.
//   ORV_KDM9Update [--demo] [--config CFG]
// --demo runs against the simulated ECM for this run only; the configuration
// keeps the user's port.

#include <QApplication>
#include <QMessageBox>

#include <cstring>
#include <string>

#include "platform/program_dir.h"
#include "update/firmware_image.h"
#include "update_program.h"
#include "update_window.h"

namespace {

using vantor::update_app::UpdateProgramOptions;

UpdateProgramOptions ParseOptions(int argc, char** argv) {
  UpdateProgramOptions options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--demo") == 0) options.demo = true;
    if (std::strcmp(argv[i], "--config") == 0 && i + 1 < argc) options.configPath = argv[++i];
  }
  if (options.configPath.empty()) options.configPath = vantor::ConfigPath(vantor::kUpdateConfigName);
  options.firmwareBeside = vantor::DefaultFirmwarePath(vantor::ProgramDirectory().string());
  options.firmwareStandIn = std::string(VANTOR_DATA_DIR) + "/firmware_stand_in.bin";
  return options;
}

void ShowError(const std::string& text, const std::string& caption) {
  QMessageBox box(QMessageBox::Information, QString::fromStdString(caption), QString::fromStdString(text));
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.exec();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vantor::update_app::UpdateProgram program(ParseOptions(argc, argv), ShowError);
  vantor::update_app::UpdateWindow window(program);
  window.show();
  if (!window.Start()) return 1;
  return app.exec();
}
