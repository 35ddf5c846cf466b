// `vantor sim` as an independent client sees it: raw bytes on its pseudo-terminal.

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "apps/tool_process.h"
#include "cal/temp_dir.h"
#include "sim/sim_wire.h"

namespace {

using namespace vantor::simtest;
using Tool = vantor::apptest::ToolProcess;

TEST(SimCommand, ClientGetsAbout17ValidFramesASecond) {
  Tool tool({"sim"});
  const std::string path = tool.FirstLine();
  ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
  PtyClient client(path);
  ASSERT_TRUE(client.Ok());
  ASSERT_TRUE(client.Send(MsPacket('X', 102)));
  StreamScanner scanner;
  // Skip to the first frame, then count frames over a few seconds of the stream.
  ASSERT_TRUE(WaitFor([&] {
    client.Pump(scanner);
    return scanner.NextFrame().has_value();
  }));
  const auto start = Clock::now();
  int frames = 0;
  while (Clock::now() - start < std::chrono::seconds(2)) {
    client.Pump(scanner);
    while (scanner.NextFrame()) ++frames;
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  EXPECT_NEAR(frames / seconds, 17.0, 2.0) << frames << " frames in " << seconds << " s";
  EXPECT_EQ(tool.StopWith(SIGINT), 0);
}

char TypeOf(const std::optional<Reply>& reply) { return reply ? static_cast<char>(reply->type) : '?'; }

// The flash dialogue over the tool's pseudo-terminal, with a bank served from a file.
TEST(SimCommand, FlashDialogueOfEraseProgramReadBackAndStopWithABankFileServed) {
  vantor::test::TempDir dir;
  const std::string file = dir.File("bank.bin");
  std::string image(32768, '\0');
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i % 251);
  std::ofstream(file, std::ios::binary) << image;
  Tool tool({"sim", "--no-pace", "--bank-file", "6", file});
  PtyClient client(tool.FirstLine());
  ASSERT_TRUE(client.Ok());
  StreamScanner scanner;
  ASSERT_TRUE(client.Send(MsPacket('X', 0)));
  ASSERT_TRUE(client.Send(MsPacket('F', 0)));
  ASSERT_TRUE(client.Ask(scanner, InfoPacket(2, 7)));

  auto reply = client.Ask(scanner, SlPacket(1, {6}));
  ASSERT_TRUE(reply);
  ASSERT_EQ(reply->type, 'C');
  EXPECT_TRUE(std::equal(reply->payload.begin() + 1, reply->payload.end(), image.begin(),
                         [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));

  EXPECT_EQ(TypeOf(client.Ask(scanner, SlPacket(2, {2 * 8 + 1}))), 'A');
  Bytes page(128);
  for (std::size_t i = 0; i < page.size(); ++i) page[i] = static_cast<std::uint8_t>(0xF0 ^ i);
  EXPECT_EQ(TypeOf(client.Ask(scanner, PgmPagePacket(33, page))), 'A');  // the second page of sector 1

  reply = client.Ask(scanner, SlPacket(3, {2}));
  ASSERT_TRUE(reply);
  ASSERT_EQ(reply->type, 'B');
  ASSERT_EQ(reply->payload.size(), 32769u);
  const auto bank = reply->payload.begin() + 1;
  EXPECT_TRUE(std::equal(page.begin(), page.end(), bank + 33 * 128));
  EXPECT_TRUE(std::all_of(bank + 4096, bank + 33 * 128, [](std::uint8_t b) { return b == 0xFF; }));
  EXPECT_EQ(std::string(bank + 2, bank + 6), "ORV9");  // sector 0 kept

  EXPECT_EQ(TypeOf(client.Ask(scanner, SlPacket(4))), 'A');
  EXPECT_EQ(tool.StopWith(SIGTERM), 0);
}

TEST(SimCommand, UsageErrorsAndFailures) {
  EXPECT_EQ(Tool({"--version"}).Wait(), 0);
  EXPECT_EQ(Tool({"--bogus"}).Wait(), 2);
  EXPECT_EQ(Tool({"sim", "--help"}).Wait(), 0);
  EXPECT_EQ(Tool({"sim", "--bogus"}).Wait(), 2);
  EXPECT_EQ(Tool({"sim", "--bank-file", "3"}).Wait(), 2);
  EXPECT_EQ(Tool({"sim", "--bank-file", "9", "x.bin"}).Wait(), 2);
  EXPECT_EQ(Tool({"sim", "--bank-file", "1", "/nonexistent/bank.bin"}).Wait(), 1);
  EXPECT_EQ(Tool({"sim", "--replay", "/nonexistent/log.dat"}).Wait(), 1);
}

}  // namespace
