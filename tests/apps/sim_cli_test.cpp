// `vantor sim` started and stopped as a user does; what it serves is tested
// in-process and through the other commands over its pseudo-terminal.

#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "support/tool_process.h"

namespace {

using Tool = vantor::apptest::ToolProcess;

TEST(SimCommand, ServesUntilASignalAndRefusesBadArguments) {
  for (const int signal : {SIGINT, SIGTERM}) {
    Tool served("sim --no-pace");
    EXPECT_EQ(served.FirstLine().rfind("/dev/", 0), 0u);
    EXPECT_EQ(served.StopWith(signal), 0) << signal;
  }
  EXPECT_EQ(Tool("--version").Wait(), 0);
  EXPECT_EQ(Tool("--bogus").Wait(), 2);
  EXPECT_EQ(Tool("sim --bogus").Wait(), 2);
  EXPECT_EQ(Tool("sim --bank-file 3").Wait(), 2);
  EXPECT_EQ(Tool("sim --bank-file 1 /nonexistent/bank.bin").Wait(), 1);
  EXPECT_EQ(Tool("sim --replay /nonexistent/log.dat").Wait(), 1);
}

}  // namespace
