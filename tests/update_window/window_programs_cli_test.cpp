// Both window programs answer --help and --version, and refuse an unknown
// option, without a display: nothing of the window toolkit starts first.
// Qt's own options still pass.

#if defined(VANTOR_UPDATE_PROGRAM) && defined(VANTOR_FLASH_PROGRAM)

#include <gtest/gtest.h>

#include <string>

#include "support/tool_process.h"

namespace {

TEST(WindowProgramCommandLine, AnswersWithoutADisplay) {
  constexpr const char* kUpdate = VANTOR_UPDATE_PROGRAM;
  constexpr const char* kFlash = VANTOR_FLASH_PROGRAM;
  const struct {
    const char* program;
    const char* arguments;
    int status;
    const char* out;  // starts stdout
    const char* err;  // found in stderr
  } cases[] = {
      {kUpdate, "--help", 0, "usage: ORV_KDM9Update [--demo] [--config CFG]\n", ""},
      {kUpdate, "--version", 0, "ORV_KDM9Update 1.0\nORV KDM-9 Update Version 1.1a\n", ""},
      {kUpdate, "--demo --frobnicate", 2, "", "ORV_KDM9Update: unknown option --frobnicate\n\nusage:"},
      {kUpdate, "--config", 2, "", "--config needs a file name"},
      {kFlash, "--help", 0, "usage: VantorFlash [--demo] [--config CFG]\n", ""},
      {kFlash, "-style fusion --help", 0, "usage: VantorFlash", ""},
      {kFlash, "stray", 2, "", "VantorFlash: unexpected argument stray\n\nusage:"},
  };
  // A program that waited for a window would be cut off by the time limit.
  const std::string headless = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 ";
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.program) + " " + c.arguments);
    const auto run = vantor::apptest::RunProgram(headless + c.program, c.arguments);
    EXPECT_EQ(run.status, c.status) << run.out << run.err;
    EXPECT_EQ(run.out.rfind(c.out, 0), 0u) << run.out;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
  }
}

}  // namespace

#endif  // the window programs are built
