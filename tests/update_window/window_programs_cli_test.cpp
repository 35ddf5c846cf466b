// Both window programs answer --help and --version, and refuse an unknown
// option, without a display: nothing of the window toolkit starts first.
// Qt's own options still pass.

#if defined(VANTOR_UPDATE_PROGRAM) && defined(VANTOR_FLASH_PROGRAM)

#include <gtest/gtest.h>

#include <string>

#include "support/tool_process.h"

namespace {

struct CommandLineCase {
  const char* program;
  const char* arguments;
  int status;
  const char* out;  // starts stdout
  const char* err;  // found in stderr
  friend void PrintTo(const CommandLineCase& c, std::ostream* os) { *os << c.program << " " << c.arguments; }
};

class WindowProgramCommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(WindowProgramCommandLine, AnswersWithoutADisplay) {
  const CommandLineCase& c = GetParam();
  // A program that waited for a window would be cut off by the time limit.
  const std::string headless = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 ";
  const auto run = vantor::apptest::RunProgram(headless + c.program, c.arguments);
  EXPECT_EQ(run.status, c.status) << run.out << run.err;
  EXPECT_EQ(run.out.rfind(c.out, 0), 0u) << run.out;
  EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
}

constexpr const char* kUpdate = VANTOR_UPDATE_PROGRAM;
constexpr const char* kFlash = VANTOR_FLASH_PROGRAM;

INSTANTIATE_TEST_SUITE_P(
    Programs, WindowProgramCommandLine,
    ::testing::Values(
        CommandLineCase{kUpdate, "--help", 0, "usage: ORV_KDM9Update [--demo] [--config CFG]\n", ""},
        CommandLineCase{kUpdate, "--version", 0, "ORV_KDM9Update 1.0\nORV KDM-9 Update Version 1.1a\n", ""},
        CommandLineCase{kUpdate, "-platform offscreen --version", 0, "ORV_KDM9Update 1.0\n", ""},
        CommandLineCase{kUpdate, "--demo --frobnicate", 2, "", "ORV_KDM9Update: unknown option --frobnicate\n\nusage:"},
        CommandLineCase{kUpdate, "--config", 2, "", "--config needs a file name"},
        CommandLineCase{kFlash, "--help", 0, "usage: VantorFlash [--demo] [--config CFG]\n", ""},
        CommandLineCase{kFlash, "--version", 0, "VantorFlash 1.0\n", ""},
        CommandLineCase{kFlash, "-style fusion --help", 0, "usage: VantorFlash", ""},
        CommandLineCase{kFlash, "stray", 2, "", "VantorFlash: unexpected argument stray\n\nusage:"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace

#endif  // the window programs are built
