// The termios back-end of SerialDevice.
#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/serial_device.h"
#include "platform/wake_pipe.h"

#ifdef __linux__
#include <linux/serial.h>
#endif

namespace vantor {
namespace {

// A packet of at most 256 bytes drains in about 22 ms at 115200 baud.
constexpr int kWriteStallMs = 1000;
constexpr std::chrono::milliseconds::rep kLongestWaitMs = 60000;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

void RequestLowLatency([[maybe_unused]] int fd) {
#ifdef __linux__
  serial_struct info{};
  if (::ioctl(fd, TIOCGSERIAL, &info) != 0) return;  // not every driver has it
  info.flags |= ASYNC_LOW_LATENCY;
  ::ioctl(fd, TIOCSSERIAL, &info);
#endif
}

class PosixSerial final : public SerialDevice {
 public:
  explicit PosixSerial(int fd) : fd_(fd) {}
  bool Ok() const { return wake_.Ok(); }

  bool ClearEventMask() override { return true; }  // no events are delivered here
  bool SetNonBlockingReads() override { return true; }  // opened with O_NONBLOCK
  bool SetQueueSizes(std::uint32_t, std::uint32_t) override { return true; }  // the driver decides

  bool ConfigureLine() override {
    termios line{};
    if (::tcgetattr(fd_.get(), &line) != 0) return false;
    ::cfmakeraw(&line);
    line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    line.c_cflag |= CS8 | CLOCAL | CREAD;
    line.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    // With O_NONBLOCK, VMIN 1 makes an empty read report EAGAIN and a hang-up report end of file.
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
    if (::cfsetispeed(&line, B115200) != 0 || ::cfsetospeed(&line, B115200) != 0) return false;
    if (::tcsetattr(fd_.get(), TCSANOW, &line) != 0) return false;
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd_.get(), TIOCMBIS, &lines);  // pseudo-terminals have no modem lines
    RequestLowLatency(fd_.get());
    return true;
  }

  IoStatus Read(std::uint8_t* buffer, std::size_t capacity, std::size_t* got) override {
    *got = 0;
    if (capacity == 0) return IoStatus::Ok;
    const ssize_t n = ::read(fd_.get(), buffer, capacity);
    if (n > 0) {
      *got = static_cast<std::size_t>(n);
      return IoStatus::Ok;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return IoStatus::NoData;
    return IoStatus::Failed;  // end of file after a hang-up, EIO after an unplug
  }

  IoStatus Write(const std::uint8_t* bytes, std::size_t length, std::size_t* written) override {
    *written = 0;
    while (*written < length) {
      const ssize_t n = ::write(fd_.get(), bytes + *written, length - *written);
      if (n > 0) {
        *written += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno == EAGAIN && WaitWritable()) continue;
      return IoStatus::Failed;
    }
    return IoStatus::Ok;
  }

  // A hang-up or an error also ends the wait: the next read reports it.
  void WaitReadable(std::chrono::milliseconds bound) override {
    pollfd entries[2] = {{fd_.get(), POLLIN, 0}, {wake_.ReadEnd(), POLLIN, 0}};
    const int ms = static_cast<int>(std::min<std::chrono::milliseconds::rep>(bound.count(), kLongestWaitMs));
    if (::poll(entries, 2, ms) > 0 && entries[1].revents != 0) wake_.Drain();
  }

  void Interrupt() override { wake_.Ring(); }

 private:
  bool WaitWritable() {
    pollfd entry{fd_.get(), POLLOUT, 0};
    return ::poll(&entry, 1, kWriteStallMs) == 1 && (entry.revents & POLLOUT);
  }

  FileDescriptor fd_;
  WakePipe wake_;
};

}  // namespace

std::unique_ptr<SerialDevice> OpenPlatformSerial(const std::string& portName) {
  const std::string path = DevicePathForPort(portName);
  if (path.empty()) return nullptr;
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  auto device = std::make_unique<PosixSerial>(fd);
  if (::ioctl(fd, TIOCEXCL) != 0) return nullptr;  // not a terminal, or not ours alone
  if (!device->Ok()) return nullptr;                // no descriptors left for its wake-up
  return device;
}

}  // namespace vantor

#endif  // !_WIN32
