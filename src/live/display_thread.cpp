#include "live/display_thread.h"

#include "link/commands.h"
#include "link/ecm_link.h"
#include "live/byte_source.h"
#include "live/display_state.h"
#include "live/frame_loop.h"
#include "live/log_hooks.h"

namespace vantor {

DisplayThread::DisplayThread(FrameLoop& loop, ByteSources& sources, DisplayState& state, EcmLink* link,
                             LogHooks* logHooks)
    : loop_(loop), sources_(sources), state_(state), link_(link), logHooks_(logHooks) {
  if (link_) keepAlive_ = [link] { TxMsXmit(*link, kStreamStart); };
}

DisplayThread::~DisplayThread() { Stop(); }

void DisplayThread::Start() {
  if (thread_.joinable()) return;
  stop_.store(false, std::memory_order_release);
  running_.store(true, std::memory_order_release);
  thread_ = std::thread([this] {
    for (;;) {
      sources_.BeginPass();  // noted before anything is looked at
      if (stop_.load(std::memory_order_acquire)) break;
      switch (Pass()) {
        case Then::NextPass: break;
        case Then::Rest: sources_.Rest(); break;
        case Then::AwaitFrame: sources_.AwaitLiveBytes(kFrameDueBytes + 1); break;
      }
    }
    std::lock_guard lock(parkMutex_);
    running_.store(false, std::memory_order_release);
    parkedChanged_.notify_all();
  });
}

void DisplayThread::Stop() {
  if (!thread_.joinable()) return;
  stop_.store(true, std::memory_order_release);
  sources_.Select(ByteSourceId::None);
  thread_.join();
}

DisplayThread::Then DisplayThread::Pass() {
  if (HoldIfSuspended()) return Then::Rest;
  switch (sources_.Current()) {
    case ByteSourceId::Analysis:
    case ByteSourceId::None:
      return Then::Rest;
    case ByteSourceId::Playback:
      if (!playbackStep_) return Then::Rest;
      playbackStep_();
      return Then::NextPass;
    default:
      return LivePass();
  }
}

DisplayThread::Then DisplayThread::LivePass() {
  const std::int32_t tick = state_.Tick();
  if (tick > lastKeepAlive_) {
    // A sending that finds the transmit slot busy is simply lost.
    if (keepAlive_) keepAlive_();
    lastKeepAlive_ = tick;
  }
  if (logHooks_ && tick > lastFlush_ + kFlushIntervalSeconds &&
      logHooks_->writerMode.load(std::memory_order_acquire) == 1 &&
      logHooks_->writerPaused.load(std::memory_order_acquire) == 0) {
    logHooks_->flushRequest.store(1, std::memory_order_release);
    lastFlush_ = tick;
  }
  if (!link_) return Then::Rest;
  if (link_->RxAvailable() <= kFrameDueBytes) return Then::AwaitFrame;
  loop_.ProcessNextFrame();
  return Then::NextPass;
}

bool DisplayThread::HoldIfSuspended() {
  std::lock_guard lock(parkMutex_);
  if (state_.displaySuspended.load(std::memory_order_acquire) == 0) return false;
  if (parkedFor_ != suspendRequests_) {
    parkedFor_ = suspendRequests_;
    parkedChanged_.notify_all();
  }
  return true;
}

bool DisplayThread::Suspend(std::chrono::milliseconds bound) {
  std::unique_lock lock(parkMutex_);
  const std::uint64_t request = ++suspendRequests_;
  state_.displaySuspended.store(1, std::memory_order_release);
  sources_.Wake();  // a thread asleep between frames parks at once
  return parkedChanged_.wait_for(lock, bound, [&] { return parkedFor_ >= request || !running_.load(); });
}

void DisplayThread::Resume() {
  state_.displaySuspended.store(0, std::memory_order_release);
  sources_.Wake();
}

}  // namespace vantor
