#pragma once
// The built command-line tool (or another built program) as a child process:
// run to its end with its output captured, or started, its first line read,
// stopped by a signal.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace vantor::apptest {

struct ToolRun {
  int status = -1;  // the exit status, -1 when the tool did not exit normally
  std::string out, err;
};

// Runs a program to its end; the command line goes through the shell.
inline ToolRun RunProgram(const std::string& program, const std::string& arguments) {
  char errPath[] = "/tmp/vantor_tool_err_XXXXXX";
  const int errFile = ::mkstemp(errPath);
  if (errFile >= 0) ::close(errFile);
  ToolRun run;
  const std::string command = program + " " + arguments + " 2>" + errPath;
  if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::ifstream err(errPath, std::ios::binary);
  run.err.assign(std::istreambuf_iterator<char>(err), {});
  ::unlink(errPath);
  return run;
}

#ifdef VANTOR_TOOL
inline ToolRun RunTool(const std::string& arguments) { return RunProgram(VANTOR_TOOL, arguments); }

// A command line (or an expected message) with every "{dir}" standing for dir.
inline std::string InDir(std::string text, const std::string& dir) {
  for (std::size_t at; (at = text.find("{dir}")) != std::string::npos;) text.replace(at, 5, dir);
  return text;
}

// The tool's messages and errors on one output.
inline ToolRun RunToolMerged(const std::string& arguments) {
  ToolRun run = RunTool(arguments);
  run.out += run.err;
  return run;
}

// The tool started with arguments; stdout's first line is read on request.
class ToolProcess {
 public:
  explicit ToolProcess(const std::vector<std::string>& args) {
    int out[2];
    if (::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> all{VANTOR_TOOL};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, VANTOR_TOOL, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    stdout_ = ::fdopen(out[0], "r");
  }
  ~ToolProcess() {
    if (pid_ > 0 && !waited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (stdout_) std::fclose(stdout_);
  }
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  std::string FirstLine() {
    char line[256] = {};
    if (!stdout_ || !std::fgets(line, sizeof line, stdout_)) return {};
    std::string text = line;
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }
  // Sends the signal and returns the exit status (-1 when it did not exit normally).
  int StopWith(int signal) {
    ::kill(pid_, signal);
    return Wait();
  }
  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    waited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  bool waited_ = false;
  std::FILE* stdout_ = nullptr;
};
#endif  // VANTOR_TOOL

}  // namespace vantor::apptest
