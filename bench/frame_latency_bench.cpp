// Latency of the live path: a frame's bytes written to a pseudo-terminal
// whose slave the program has open, until the frame is handed to the
// consumer of the display on screen. The communication thread reads the
// device, the display thread reads the frame from the ring once more than
// 360 bytes wait; each burst is one frame and 84 bytes more, so its last
// byte makes the frame due. The threads are idle before each burst, as they
// are between the ECM's frames. Goal: max_ms under 5.

#include <benchmark/benchmark.h>

#ifndef _WIN32
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "live/live_session.h"
#include "support/log_builder.h"
#include "settings/settings.h"

namespace {

using namespace vantor;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kBurstTail = kFrameDueBytes + 1 - kLogFrameSize;
constexpr auto kIdleBetweenBursts = std::chrono::milliseconds(5);

// The module's end of a pseudo-terminal.
class PtyMaster {
 public:
  PtyMaster() : fd_(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK)) {
    char name[128];
    if (fd_ < 0 || ::grantpt(fd_) != 0 || ::unlockpt(fd_) != 0 || ::ptsname_r(fd_, name, sizeof name) != 0) return;
    termios line{};
    if (::tcgetattr(fd_, &line) == 0) {
      ::cfmakeraw(&line);
      ::tcsetattr(fd_, TCSANOW, &line);
    }
    slave_ = name;
  }
  ~PtyMaster() {
    if (fd_ >= 0) ::close(fd_);
  }
  PtyMaster(const PtyMaster&) = delete;
  PtyMaster& operator=(const PtyMaster&) = delete;

  const std::string& Slave() const { return slave_; }
  bool Write(const std::vector<std::uint8_t>& bytes) {
    return ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  // Throws away what the program sent (its stream requests).
  void Drain() {
    std::uint8_t sink[256];
    while (::read(fd_, sink, sizeof sink) > 0) {
    }
  }

 private:
  int fd_;
  std::string slave_;
};

// The gauges on screen: notes when each frame reaches them.
class HandOverClock final : public FrameConsumer {
 public:
  void OnFrame(const std::uint8_t*, bool) override {
    const auto now = Clock::now();
    {
      std::lock_guard lock(mutex_);
      handedAt_ = now;
      ++frames_;
    }
    handed_.notify_all();
  }
  std::uint64_t Frames() {
    std::lock_guard lock(mutex_);
    return frames_;
  }
  // When the frame after `seen` frames was handed over; false after a second without it.
  bool WaitNext(std::uint64_t seen, Clock::time_point* at) {
    std::unique_lock lock(mutex_);
    if (!handed_.wait_for(lock, std::chrono::seconds(1), [&] { return frames_ > seen; })) return false;
    *at = handedAt_;
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable handed_;
  std::uint64_t frames_ = 0;
  Clock::time_point handedAt_;
};

void BM_FrameHandOverFromPseudoTerminal(benchmark::State& state) {
  PtyMaster master;
  if (master.Slave().empty()) {
    state.SkipWithError("no pseudo-terminal");
    return;
  }
  Settings settings;
  LiveSession session(settings, OpenPlatformSerial);
  HandOverClock clock;
  session.Loop().SetConsumer(ConsumerSlot::Gauges, &clock);
  session.Start();
  const std::string port = master.Slave();
  session.Link().RequestPort(PortOpen, &port);
  if (session.Link().AwaitOpenAttempt() != OpenOutcome::Connected) {
    state.SkipWithError("the pseudo-terminal did not open");
    return;
  }
  const std::string envelope = testlog::LogBuilder::Envelope(testlog::SeededFrame(7));
  std::vector<std::uint8_t> burst(envelope.begin(), envelope.end());
  burst.insert(burst.end(), kBurstTail, 0x00);

  double total = 0, worst = 0;
  for (auto _ : state) {
    std::this_thread::sleep_for(kIdleBetweenBursts);
    master.Drain();
    const std::uint64_t seen = clock.Frames();
    const auto written = Clock::now();
    Clock::time_point handed;
    if (!master.Write(burst) || !clock.WaitNext(seen, &handed)) {
      state.SkipWithError("the frame was not handed over");
      break;
    }
    const double seconds = std::chrono::duration<double>(handed - written).count();
    state.SetIterationTime(seconds);
    total += seconds;
    worst = std::max(worst, seconds);
  }
  session.Loop().SetConsumer(ConsumerSlot::Gauges, nullptr);
  session.Stop();
  state.counters["mean_ms"] = 1000 * total / static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
  state.counters["max_ms"] = 1000 * worst;
}
BENCHMARK(BM_FrameHandOverFromPseudoTerminal)->UseManualTime()->Iterations(400)->Unit(benchmark::kMicrosecond);

}  // namespace

#endif  // !_WIN32

BENCHMARK_MAIN();
