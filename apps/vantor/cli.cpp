#include "cli.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "logs/analysis_messages.h"
#include "platform/same_file.h"
#include "settings/settings_io.h"

namespace vantor::cli {
namespace {

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

Args::Args(std::vector<std::string> argv, const std::vector<std::string>& valueOptions,
           const std::vector<std::string>& flagOptions) {
  bool onlyPositional = false;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& arg = argv[i];
    if (onlyPositional || arg.size() < 2 || arg[0] != '-') {
      positional_.push_back(arg);
    } else if (arg == "--") {
      onlyPositional = true;
    } else if (arg == "--help" || arg == "-h") {
      help_ = true;
    } else if (Contains(valueOptions, arg)) {
      if (i + 1 >= argv.size()) {
        error_ = "option " + arg + " needs a value";
        return;
      }
      options_.emplace(arg, argv[++i]);
    } else if (Contains(flagOptions, arg)) {
      options_.emplace(arg, "");
    } else {
      error_ = "unknown option " + arg;
      return;
    }
  }
}

std::optional<std::string> Args::Value(const std::string& option) const {
  auto range = options_.equal_range(option);
  if (range.first == range.second) return std::nullopt;
  return std::prev(range.second)->second;
}

std::vector<std::string> Args::Values(const std::string& option) const {
  std::vector<std::string> values;
  auto range = options_.equal_range(option);
  for (auto it = range.first; it != range.second; ++it) values.push_back(it->second);
  return values;
}

bool ParseInt(const char* command, const std::string& option, const std::string& text, long min, long max,
              long* out) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || value < min || value > max) {
    std::fprintf(stderr, "vantor %s: %s: '%s' is not a number from %ld to %ld\n", command, option.c_str(), text.c_str(),
                 min, max);
    return false;
  }
  *out = value;
  return true;
}

void Say(const char* command, const std::string& text) {
  std::fprintf(stderr, "vantor %s: %s\n", command, text.c_str());
}

bool StdoutWritten(const char* command) {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  Say(command, "can not write standard output");
  return false;
}

void SayCannotOpenLog(const char* command, const std::string& path) {
  Say(command, std::string(analysis_text::kCanNotOpenLog) + ": " + path);
}

std::string OutputIsInputText(const std::string& output, const std::string& input) {
  return "the output " + output + " is the same file as the input " + input + ": nothing written";
}

bool OutputIsAnInput(const char* command, const std::string& output, const std::vector<std::string>& inputs) {
  for (const std::string& input : inputs) {
    if (!IsSameFile(output, input)) continue;
    Say(command, OutputIsInputText(output, input));
    return true;
  }
  return false;
}

bool LoadSettings(const Args& args, Settings* settings) {
  *settings = Settings();
  const auto path = args.Value("--config");
  if (!path) return true;
  if (!ReadSettingsFile(*path, MainProgramSettingsTable(), settings)) {
    std::fprintf(stderr, "vantor: can not read configuration file %s\n", path->c_str());
    return false;
  }
  return true;
}

Registration::Registration(const Command& command) { Registry().push_back(command); }

const std::vector<Command>& Commands() {
  auto& commands = Registry();
  std::sort(commands.begin(), commands.end(),
            [](const Command& a, const Command& b) { return std::string(a.name) < b.name; });
  return commands;
}

int PrintHelp(const Command& command) {
  std::fputs(command.usage, stdout);
  return kExitOk;
}

int UsageError(const Command& command, const std::string& message) {
  std::fprintf(stderr, "vantor %s: %s\n", command.name, message.c_str());
  std::fputs(command.usage, stderr);
  return kExitUsage;
}

}  // namespace vantor::cli
