// The POSIX pseudo-terminal; Windows has none (pty_server_win32.cpp).
#ifndef _WIN32

#include "sim/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/wake_pipe.h"
#include "sim/sim_ecm.h"

namespace vantor::sim {

class ServerWake : public WakePipe {};

namespace {

constexpr std::size_t kChunk = 1024;
// With no client the slave hangs up and poll does not wait: look for one this often.
constexpr std::int64_t kNoClientRecheckMicros = 50000;

std::string SystemError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

PtyServer::PtyServer(SimEcm& ecm, std::string linkPath)
    : ecm_(ecm), linkPath_(std::move(linkPath)), wake_(std::make_unique<ServerWake>()) {}

PtyServer::~PtyServer() {
  Stop();
  ClosePty();
}

bool PtyServer::Start(std::string* error) {
  if (thread_.joinable()) return true;
  if (!wake_->Ok()) {
    *error = SystemError("pipe");
    return false;
  }
  if (master_ < 0 && !OpenPty(error)) return false;
  stop_ = false;
  wake_->Drain();
  thread_ = std::thread([this] { Serve(); });
  return true;
}

void PtyServer::Stop() {
  stop_ = true;
  wake_->Ring();
  if (thread_.joinable()) thread_.join();
}

std::string PtyServer::SlavePath() const {
  std::lock_guard lock(pathMutex_);
  return slavePath_;
}

std::string PtyServer::DevicePath() const { return linkPath_.empty() ? SlavePath() : linkPath_; }

bool PtyServer::OpenPty(std::string* error) {
  const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *error = SystemError("posix_openpt");
    return false;
  }
  char name[128];
  if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0 || ::ptsname_r(fd, name, sizeof name) != 0) {
    *error = SystemError("pseudo-terminal set-up");
    ::close(fd);
    return false;
  }
  // Raw from the start: an echoing line would hand the module its own bytes.
  termios line{};
  if (::tcgetattr(fd, &line) == 0) {
    ::cfmakeraw(&line);
    ::tcsetattr(fd, TCSANOW, &line);
  }
  if (!linkPath_.empty()) {
    ::unlink(linkPath_.c_str());
    if (::symlink(name, linkPath_.c_str()) != 0) {
      *error = SystemError("symlink");
      ::close(fd);
      return false;
    }
  }
  master_ = fd;
  std::lock_guard lock(pathMutex_);
  slavePath_ = name;
  return true;
}

void PtyServer::ClosePty() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
  unsent_.clear();
  if (!linkPath_.empty()) ::unlink(linkPath_.c_str());
}

void PtyServer::Unplug() {
  Stop();
  ClosePty();
  ecm_.Unplug();
}

bool PtyServer::Replug(std::string* error) {
  ecm_.Replug();
  return Start(error);
}

// Sleeps until the host writes, the module's next batch is due (or the
// terminal takes bytes it refused) or Stop rings.
void PtyServer::Serve() {
  bool hungUp = false;
  while (!stop_) {
    // A hung-up terminal is left out (poll would report it at once) until the recheck.
    const short events = static_cast<short>(POLLIN | (unsent_.empty() ? 0 : POLLOUT));
    pollfd entries[2] = {{hungUp ? -1 : master_, events, 0}, {wake_->ReadEnd(), POLLIN, 0}};
    const std::int64_t sleep = hungUp ? kNoClientRecheckMicros : SleepMicros();
    timespec limit{static_cast<time_t>(sleep / 1000000), static_cast<long>(sleep % 1000000) * 1000};
    const int ready = ::ppoll(entries, 2, sleep < 0 ? nullptr : &limit, nullptr);
    if (ready > 0 && entries[1].revents != 0) wake_->Drain();
    hungUp = ready > 0 && (entries[0].revents & POLLHUP) != 0;  // no client has the slave open
    if (ready > 0 && (entries[0].revents & POLLIN)) PumpHostBytes();
    PumpEcmBytes();
  }
}

std::int64_t PtyServer::SleepMicros() {
  if (!unsent_.empty()) return -1;  // POLLOUT says when the terminal takes more
  return ecm_.BatchDueIn();
}

void PtyServer::PumpHostBytes() {
  std::uint8_t buffer[kChunk];
  for (;;) {
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n <= 0) return;
    ecm_.Receive(buffer, static_cast<std::size_t>(n));
  }
}

void PtyServer::PumpEcmBytes() {
  if (unsent_.empty()) {
    std::uint8_t buffer[kChunk];
    const std::size_t n = ecm_.Transmit(buffer, sizeof buffer);
    unsent_.assign(buffer, buffer + n);
  }
  if (unsent_.empty()) return;
  const ssize_t n = ::write(master_, unsent_.data(), unsent_.size());
  if (n > 0) {
    unsent_.erase(unsent_.begin(), unsent_.begin() + n);
  } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
    unsent_.clear();  // nobody is listening: the bytes are lost, as on a cable to nowhere
  }
}

}  // namespace vantor::sim

#endif  // _WIN32
