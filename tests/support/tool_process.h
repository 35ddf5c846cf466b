#pragma once
// A built program (the command-line tool or another) as a child process,
// started through the shell: run to its end with its output captured, or
// started, its first line read, stopped by a signal.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

extern char** environ;

namespace vantor::apptest {

struct ToolRun {
  int status = -1;  // the exit status, -1 when the program did not exit normally
  std::string out, err;
};

class ChildProgram {
 public:
  // The shell execs the command, so a signal sent to the child reaches the program.
  explicit ChildProgram(const std::string& commandLine) {
    const int errFile = ::mkstemp(errPath_);
    if (errFile >= 0) ::close(errFile);
    int out[2];
    if (errFile < 0 || ::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath_, O_WRONLY | O_TRUNC, 0);
    std::string script = "exec " + commandLine;
    char* argv[] = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), script.data(), nullptr};
    if (posix_spawn(&pid_, "/bin/sh", &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    stdout_ = ::fdopen(out[0], "r");
  }
  ~ChildProgram() {
    if (pid_ > 0 && !waited_) StopWith(SIGKILL);
    if (stdout_) std::fclose(stdout_);
    ::unlink(errPath_);
  }
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  std::string FirstLine() {
    char line[256] = {};
    if (!stdout_ || !std::fgets(line, sizeof line, stdout_)) return {};
    std::string text = line;
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }
  // Reads stdout to its end, then waits for the exit; stderr is read last.
  ToolRun Finish() {
    ToolRun run;
    char buffer[4096];
    for (std::size_t got; stdout_ && (got = std::fread(buffer, 1, sizeof buffer, stdout_)) > 0;)
      run.out.append(buffer, got);
    run.status = Wait();
    std::ifstream err(errPath_, std::ios::binary);
    run.err.assign(std::istreambuf_iterator<char>(err), {});
    return run;
  }
  // Sends the signal and returns the exit status (-1 when it did not exit normally).
  int StopWith(int signal) {
    ::kill(pid_, signal);
    return Wait();
  }
  int Wait() {
    int status = 0;
    if (pid_ <= 0 || ::waitpid(pid_, &status, 0) != pid_) return -1;
    waited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  char errPath_[32] = "/tmp/vantor_tool_err_XXXXXX";
  pid_t pid_ = -1;
  bool waited_ = false;
  std::FILE* stdout_ = nullptr;
};

inline ToolRun RunProgram(const std::string& program, const std::string& arguments) {
  return ChildProgram(program + " " + arguments).Finish();
}

#ifdef VANTOR_TOOL
inline ToolRun RunTool(const std::string& arguments) { return RunProgram(VANTOR_TOOL, arguments); }

// The tool started with these arguments.
class ToolProcess : public ChildProgram {
 public:
  explicit ToolProcess(const std::string& arguments) : ChildProgram(std::string(VANTOR_TOOL) + " " + arguments) {}
};

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
#endif  // VANTOR_TOOL

}  // namespace vantor::apptest
