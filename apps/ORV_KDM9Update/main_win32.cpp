// ORV_KDM9Update for Windows: the window layer on the Windows API host.
//   ORV_KDM9Update.exe [--demo] [--config CFG] [--help] [--version]
// --demo runs against the simulated ECM for this run only; the configuration
// keeps the user's port.

#include <string>

#include "platform/program_dir.h"
#include "ui/window/update_program.h"
#include "ui/window/update_window.h"
#include "ui/window/window_command_line.h"
#include "update/firmware_image.h"
#include "update_usage.h"
#include "ui/win32/console_output.h"
#include "ui/win32/win32_host.h"

namespace {

vantor::ui::UpdateProgramOptions ProgramOptions(const vantor::ui::WindowCommandLine& line) {
  vantor::ui::UpdateProgramOptions options;
  options.demo = line.demo;
  options.configPath = line.configPath.empty() ? vantor::ConfigPath(vantor::kUpdateConfigName) : line.configPath;
  options.firmwareBeside = vantor::DefaultFirmwarePath(vantor::SettingsDirectory().string());
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const vantor::ui::WindowCommandLine line = vantor::ui::ReadWindowCommandLine(argc, argv);
  if (line.action != vantor::ui::WindowCommandLine::Action::RunWindow) {
    vantor::ui::UseParentConsole();
    return vantor::ui::AnswerWithoutWindow(line, "ORV_KDM9Update", vantor::update::kUsage, vantor::update::kVersion);
  }
  vantor::ui::Win32Host host(vantor::ui::Win32HostOptions{L"ORV_KDM9UPDATE", vantor::ui::Rgb{220, 220, 220}});
  vantor::ui::UpdateProgram program(ProgramOptions(line), [&host](const std::string& text, const std::string& caption) {
    host.ShowMessage(vantor::ui::MessageSpec{text, caption}, nullptr);
  });
  vantor::ui::UpdateWindow window(program, host);
  window.Window().Show();
  if (!window.Start()) return 1;
  return host.Run();
}
