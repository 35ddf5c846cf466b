#pragma once
// The command-line tool: one program, subcommands that register themselves.
// Exit status 0 success, 1 failure, 2 usage error; messages on stderr.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings.h"

namespace vantor::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Parsed arguments: options start with "-"; every option named in
// valueOptions takes the next argument as its value.
class Args {
 public:
  Args(std::vector<std::string> argv, const std::vector<std::string>& valueOptions,
       const std::vector<std::string>& flagOptions);
  bool Ok() const { return error_.empty(); }
  const std::string& Error() const { return error_; }
  bool Has(const std::string& option) const { return options_.count(option) != 0; }
  // The last value given for an option.
  std::optional<std::string> Value(const std::string& option) const;
  // Every value given for an option, in order (for options that repeat).
  std::vector<std::string> Values(const std::string& option) const;
  const std::vector<std::string>& Positional() const { return positional_; }
  bool WantsHelp() const { return help_; }

 private:
  std::multimap<std::string, std::string> options_;
  std::vector<std::string> positional_;
  std::string error_;
  bool help_ = false;
};

// Integer value of a command's option; false, with "vantor COMMAND: OPTION:
// 'TEXT' is not a number from MIN to MAX" on stderr, when it is not one in range.
bool ParseInt(const char* command, const std::string& option, const std::string& text, long min, long max,
              long* out);

// "vantor COMMAND: TEXT" on stderr.
void Say(const char* command, const std::string& text);
// True when everything printed to standard output reached it; else says so on stderr
// (a full disk or a closed pipe is no success).
bool StdoutWritten(const char* command);
// "vantor COMMAND: Can not open Data Log File: PATH" on stderr.
void SayCannotOpenLog(const char* command, const std::string& path);
// "the output OUT is the same file as the input IN: nothing written"
std::string OutputIsInputText(const std::string& output, const std::string& input);
// True, with that message on stderr, when output is the same file as one of
// inputs, by identity: through links and ".." spellings.
bool OutputIsAnInput(const char* command, const std::string& output, const std::vector<std::string>& inputs);

// Settings for a subcommand: the start values, or those of --config CFG.
// Never writes a configuration file. False (message printed) when CFG cannot be read.
bool LoadSettings(const Args& args, Settings* settings);

struct Command {
  const char* name;
  const char* summary;
  const char* usage;  // full help text
  int (*run)(const std::vector<std::string>& args);
};

// Each subcommand's file registers itself with a static Registration.
struct Registration {
  explicit Registration(const Command& command);
};

const std::vector<Command>& Commands();

// Prints usage text for a command to stdout (help) or stderr (error), returns the exit code.
int PrintHelp(const Command& command);
int UsageError(const Command& command, const std::string& message);

}  // namespace vantor::cli
