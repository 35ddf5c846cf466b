#include "ui/window/window_command_line.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string_view>

namespace vantor::ui {
namespace {

// Qt's own options, taken with one dash or two; those that name a value take
// the next argument (or "=value").
constexpr std::string_view kToolkitValueOptions[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry", "qwindowtitle",
    "title", "qwindowicon", "icon", "session", "display", "name", "style", "stylesheet", "qmljsdebugger"};
constexpr std::string_view kToolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};

bool Listed(std::string_view name, const std::string_view* begin, const std::string_view* end) {
  return std::find(begin, end, name) != end;
}

// The option's name without its dashes and any "=value"; empty for a plain argument.
std::string_view OptionName(std::string_view arg) {
  if (arg.size() < 2 || arg[0] != '-') return {};
  arg.remove_prefix(arg[1] == '-' ? 2 : 1);
  return arg.substr(0, arg.find('='));
}

WindowCommandLine Refuse(std::string error) {
  WindowCommandLine line;
  line.action = WindowCommandLine::Action::UsageError;
  line.error = std::move(error);
  return line;
}

}  // namespace

WindowCommandLine ReadWindowCommandLine(int argc, char** argv) {
  using Action = WindowCommandLine::Action;
  WindowCommandLine line;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const std::string_view name = OptionName(arg);
    const bool hasValue = arg.find('=') != std::string_view::npos;
    if (arg == "--help" || arg == "-h") {
      line.action = Action::Help;
    } else if (arg == "--version") {
      if (line.action == Action::RunWindow) line.action = Action::Version;
    } else if (arg == "--demo") {
      line.demo = true;
    } else if (arg == "--config") {
      if (i + 1 >= argc) return Refuse("--config needs a file name");
      line.configPath = argv[++i];
    } else if (arg.starts_with("--config=")) {
      line.configPath = std::string(arg.substr(arg.find('=') + 1));
    } else if (Listed(name, std::begin(kToolkitValueOptions), std::end(kToolkitValueOptions))) {
      if (!hasValue && ++i >= argc) return Refuse(std::string(arg) + " needs a value");
    } else if (!Listed(name, std::begin(kToolkitFlags), std::end(kToolkitFlags))) {
      return Refuse(name.empty() ? "unexpected argument " + std::string(arg) : "unknown option " + std::string(arg));
    }
  }
  return line;
}

int AnswerWithoutWindow(const WindowCommandLine& line, const char* programName, const char* usage,
                        const char* version) {
  switch (line.action) {
    case WindowCommandLine::Action::Help:
      std::fputs(usage, stdout);
      return 0;
    case WindowCommandLine::Action::Version:
      std::fputs(version, stdout);
      return 0;
    case WindowCommandLine::Action::UsageError:
      std::fprintf(stderr, "%s: %s\n\n%s", programName, line.error.c_str(), usage);
      return 2;
    case WindowCommandLine::Action::RunWindow:
      break;
  }
  return 0;
}

}  // namespace vantor::ui
