// The termios back-end over a pseudo-terminal: the test holds the master side,
// the device under test opens the slave.
#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/serial_device.h"
#include "support/temp_dir.h"

namespace vantor {
namespace {

using Bytes = std::vector<std::uint8_t>;

class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    const char* name = ::ptsname(master_);
    if (name) slavePath_ = name;
  }
  ~PseudoTerminal() { CloseMaster(); }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool Ready() const { return master_ >= 0 && !slavePath_.empty(); }
  const std::string& SlavePath() const { return slavePath_; }

  void Write(const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
      ASSERT_GT(n, 0);
      done += static_cast<std::size_t>(n);
    }
  }

  // Reads until `count` bytes came or a generous bound passed.
  Bytes Read(std::size_t count) {
    Bytes bytes;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
      pollfd entry{master_, POLLIN, 0};
      if (::poll(&entry, 1, 100) != 1) continue;
      std::uint8_t chunk[512];
      const ssize_t n = ::read(master_, chunk, sizeof chunk);
      if (n <= 0) break;
      bytes.insert(bytes.end(), chunk, chunk + n);
    }
    return bytes;
  }

  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  std::string slavePath_;
};

// Collects bytes from the device one at a time, as the reader takes them, until
// `count` came, a read failed (`*last` tells) or a generous bound passed.
Bytes ReadDevice(SerialDevice& device, std::size_t count, IoStatus* last = nullptr) {
  Bytes bytes;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  IoStatus ignored;
  IoStatus& status = last ? *last : ignored;
  while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
    std::uint8_t byte = 0;
    std::size_t got = 0;
    status = device.Read(&byte, 1, &got);
    if (status == IoStatus::Failed) break;
    if (got > 1) ADD_FAILURE() << "more than the one byte asked for";
    bytes.insert(bytes.end(), &byte, &byte + got);
    if (status == IoStatus::NoData) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return bytes;
}

Bytes AllByteValues() {
  Bytes bytes(256);
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<std::uint8_t>(i);
  return bytes;
}

class SerialPosix : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty_.Ready());
    device_ = OpenPlatformSerial(pty_.SlavePath());
    ASSERT_NE(device_, nullptr);
    ASSERT_TRUE(device_->ClearEventMask());
    device_->SetNonBlockingReads();
    ASSERT_TRUE(device_->ConfigureLine());
    ASSERT_TRUE(device_->SetQueueSizes(8192, 1024));
  }
  PseudoTerminal pty_;
  std::unique_ptr<SerialDevice> device_;
};

// Raw line: control characters, XON/XOFF, CR, NUL and 0xFF pass untouched both ways.
TEST_F(SerialPosix, EveryByteValuePassesBothWays) {
  const Bytes sent = AllByteValues();
  pty_.Write(sent);
  EXPECT_EQ(ReadDevice(*device_, sent.size()), sent);
  std::size_t written = 0;
  ASSERT_EQ(device_->Write(sent.data(), sent.size(), &written), IoStatus::Ok);
  EXPECT_EQ(written, sent.size());
  EXPECT_EQ(pty_.Read(sent.size()), sent);
}

// The quiet wait ends at its bound; an interrupt made before a wait ends it
// at once, and so do bytes waiting (a broken wait hangs, not fails, here).
TEST_F(SerialPosix, WaitForBytesEndsAtItsBoundOnAnInterruptOrWhenBytesWait) {
  constexpr auto kForever = std::chrono::hours(1);
  std::uint8_t bytes[8];
  std::size_t got = 1;
  device_->WaitReadable(std::chrono::milliseconds(10));
  EXPECT_EQ(device_->Read(bytes, sizeof bytes, &got), IoStatus::NoData);
  EXPECT_EQ(got, 0u);
  device_->Interrupt();
  device_->WaitReadable(kForever);
  pty_.Write({0x55, 0xAA, 0x01});
  device_->WaitReadable(kForever);
  ASSERT_EQ(device_->Read(bytes, sizeof bytes, &got), IoStatus::Ok);
  EXPECT_GE(got, 1u);
}

TEST_F(SerialPosix, HangUpOfTheFarEndIsAFailure) {
  pty_.CloseMaster();
  IoStatus status = IoStatus::Ok;
  EXPECT_TRUE(ReadDevice(*device_, 1, &status).empty());
  EXPECT_EQ(status, IoStatus::Failed);
}

TEST_F(SerialPosix, SecondOpenIsRefusedWhileTheDeviceIsInUse) {
  if (::geteuid() == 0) GTEST_SKIP() << "the administrator may share an exclusive terminal";
  EXPECT_EQ(OpenPlatformSerial(pty_.SlavePath()), nullptr);
}

TEST(SerialPosixFiles, AFileThatIsNoTerminalIsRefused) {
  test::TempDir scratch;
  test::WriteText(scratch.File("not_a_tty.bin"), "");
  EXPECT_EQ(OpenPlatformSerial(scratch.File("not_a_tty.bin")), nullptr);
}

}  // namespace
}  // namespace vantor

#endif  // !_WIN32
