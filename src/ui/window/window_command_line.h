#pragma once
// The window programs' own command line, read before the window toolkit
// starts, so that --help and --version answer without a display and an
// unknown option is refused: exit 0 for help and version, 2 for a usage
// error (message and usage on stderr). The toolkit's own options
// (-platform NAME, -style NAME, -reverse, ...) are let through to it.

#include <string>

namespace vantor::ui {

struct WindowCommandLine {
  enum class Action { RunWindow, Help, Version, UsageError };
  Action action = Action::RunWindow;
  bool demo = false;
  std::string configPath;  // empty: the program's default
  std::string error;       // for UsageError
};

// argv as main receives it; the program takes --demo, --config CFG, --help
// (-h) and --version.
WindowCommandLine ReadWindowCommandLine(int argc, char** argv);

// For any action but RunWindow: prints the usage (stdout for help, stderr
// after the error) or the version, and returns the exit status.
int AnswerWithoutWindow(const WindowCommandLine& line, const char* programName, const char* usage,
                        const char* version);

}  // namespace vantor::ui
