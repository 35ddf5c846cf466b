// `vantor ports` as a user runs it: the probe finds the module behind the
// simulated port and the pseudo-terminal of `vantor sim`, and tells a
// terminal that stays silent and a port that is not there apart.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "support/tool_process.h"
#include "support/temp_dir.h"

namespace {

using vantor::apptest::RunToolMerged;

// A terminal nobody answers on: its master end is held open and never written.
class SilentTerminal {
 public:
  SilentTerminal() : master_(::posix_openpt(O_RDWR | O_NOCTTY)) {
    if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0 && ::ptsname(master_))
      path_ = ::ptsname(master_);
  }
  ~SilentTerminal() {
    if (master_ >= 0) ::close(master_);
  }
  const std::string& Path() const { return path_; }

 private:
  int master_;
  std::string path_;
};

TEST(VantorPorts, TheProbeSaysWhichPortAnswersAsTheModule) {
  vantor::apptest::ToolProcess server("sim --no-pace");
  const std::string pty = server.FirstLine();
  ASSERT_EQ(pty.rfind("/dev/", 0), 0u) << pty;
  SilentTerminal silent;
  ASSERT_FALSE(silent.Path().empty());
  const auto run = RunToolMerged("ports --probe SIM " + pty + " " + silent.Path() + " /dev/vantor-no-such-port");
  EXPECT_EQ(run.status, 0) << run.out;
  const std::string answers = "answers: ORV KDM-9, ECM Firmware Version: 1.0\n";
  EXPECT_EQ(run.out, "SIM            the simulated ECM in this program\n               " + answers + pty +
                         "\n               " + answers + silent.Path() + "\n               no answer\n" +
                         "/dev/vantor-no-such-port\n               can not open\n");
  // The module keeps working after the probe stopped its stream again.
  vantor::test::TempDir files;
  EXPECT_EQ(RunToolMerged("bank read --port " + pty + " --bank 0 " + files.File("b0.bin")).status, 0);

  const auto none = RunToolMerged("ports --probe " + silent.Path());
  EXPECT_EQ(none.status, 1) << none.out;
  EXPECT_EQ(RunToolMerged("ports --frobnicate").status, 2);
  EXPECT_EQ(server.StopWith(SIGINT), 0) << "sim serves until a signal";
}

}  // namespace

#endif  // _WIN32
