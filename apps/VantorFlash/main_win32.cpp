// VantorFlash for Windows: the window layer on the Windows API host.
//   VantorFlash.exe [--demo] [--config CFG] [--help] [--version]
// --demo runs on the simulated ECM ("SIM") for this run only; the
// configuration keeps the user's port.

#include <string>

#include "settings/settings_io.h"
#include "settings/settings_table.h"
#include "sim/sim_serial.h"
#include "ui/window/main_window.h"
#include "ui/window/program_parts.h"
#include "ui/window/window_command_line.h"
#include "flash_usage.h"
#include "ui/win32/console_output.h"
#include "ui/win32/win32_host.h"

int main(int argc, char** argv) {
  const vantor::ui::WindowCommandLine line = vantor::ui::ReadWindowCommandLine(argc, argv);
  if (line.action != vantor::ui::WindowCommandLine::Action::RunWindow) {
    vantor::ui::UseParentConsole();
    return vantor::ui::AnswerWithoutWindow(line, "VantorFlash", vantor::flash::kUsage, vantor::flash::kVersion);
  }
  vantor::ui::Win32Host host(vantor::ui::Win32HostOptions{L"VANTOR", vantor::ui::colour::kBackground});
  const std::string configPath =
      line.configPath.empty() ? vantor::ConfigPath(vantor::kMainConfigName) : line.configPath;

  vantor::Settings settings;
  vantor::ReadSettings(configPath, vantor::MainProgramSettingsTable(), &settings,
                       [&host](const std::string& text, const std::string& caption) {
                         host.ShowMessage(vantor::ui::MessageSpec{text, caption}, nullptr);
                       });
  const std::string userPort = settings.port;
  if (line.demo) settings.port = vantor::sim::kSimPortName;

  vantor::ui::ProgramParts parts(settings, configPath);
  if (line.demo) {
    // Whatever writes the configuration during this run keeps the user's port.
    parts.SetPortOverride(userPort);
  }
  vantor::ui::MainWindow window(parts, host);
  window.Window().Show();
  window.Start();
  return host.Run();
}
