#pragma once
// EcmLink: the serial connection shared by the user-interface, communication
// and display threads. The communication thread alone touches the device;
// the others post requests and exchange bytes through the receive ring and
// the transmit slot. Every shared word has one writer at a time.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "link/arrival_watch.h"
#include "link/link_profile.h"
#include "link/link_tick.h"
#include "link/message_sink.h"
#include "link/sl_reply.h"
#include "platform/serial_device.h"
#include "platform/wake_signal.h"

namespace vantor {

enum PortRequest : std::uint32_t { PortClose = 0, PortOpen = 1, PortReopen = 99 };

// How the first attempt at an open went (see EcmLink::AwaitOpenAttempt).
enum class OpenOutcome { Connected, Failed, ShutDown };

constexpr std::uint32_t kTxSlotSize = 256;
constexpr std::uint32_t kInitialRetryDelayMs = 125;

class EcmLink {
 public:
  explicit EcmLink(const LinkProfile& profile = MainProgramProfile());
  ~EcmLink();
  EcmLink(const EcmLink&) = delete;
  EcmLink& operator=(const EcmLink&) = delete;

  const LinkProfile& Profile() const { return profile_; }

  // ---- installed by the program before the threads start ----
  void SetDeviceOpener(SerialOpener opener);
  // Called with the new open state whenever it changes (the window draws it).
  void SetStatusHook(std::function<void(bool open)> hook);
  // Decides whether SelectPort may touch the port (not while analysis or
  // playback hold it) and remembers the choice (writes the configuration).
  void SetSelectPolicy(std::function<bool()> portHeldElsewhere, std::function<void()> remember);
  void SetMessageSink(MessageSink* sink) { sink_.store(sink); }
  MessageSink* Messages() const { return sink_.load(); }
  LinkTick& Tick() { return tick_; }
  SlReply& Reply() { return reply_; }

  // ---- user-interface thread ----
  int RequestPort(PortRequest mode, const std::string* portName);
  void SelectPort(const std::string& portName);
  void ReleasePort();
  void ShowPortStatus(bool open);

  // ---- communication thread ----
  void ServicePortRequest();
  bool OpenPort();
  void ClosePort();
  void ReopenPortUntilOpen();
  IoStatus WritePendingPacket();     // writes the slot; a failure posts PortReopen
  bool ServiceRxReset();             // true when a requested reset was done
  // The next byte of the device: it is read a batch at a time, and the
  // bytes stored from the last batch are announced before the next is read.
  IoStatus ReadDeviceByte(std::uint8_t* byte);  // a failure posts PortReopen
  void StoreRxByte(std::uint8_t byte);
  // Rings the readers whose awaited count of bytes is now in the ring.
  void AnnounceArrival();
  void PostReopen();
  // Sleeps until bytes wait on the device, `bound` passes or WakeCommThread.
  void AwaitDeviceInput(std::chrono::milliseconds bound);
  // Sleeps until a port request or the shutdown is posted after `seen` was
  // noted (CommWakeCount, before looking for a request).
  std::uint64_t CommWakeCount() const { return commWake_.Count(); }
  void AwaitRequest(std::uint64_t seen);

  // ---- the one ring reader ----
  std::uint32_t RxAvailable() const;
  int RxNextByte();
  int RxPeekByte() const;
  void RequestRxReset();
  bool RxResetPending() const { return rxResetRequested_.load(std::memory_order_acquire) != 0; }
  // Rings `bell` once `count` bytes wait in the ring (ArrivalWatches).
  void WatchArrival(WakeSignal& bell, std::uint32_t count);
  void EndArrivalWatch(const WakeSignal& bell);
  // Sleeps until `count` bytes wait or Changed rings after `seen`.
  void AwaitBytes(std::uint32_t count, std::uint64_t seen);
  // After RequestRxReset: true once the communication thread has done it
  // (or nothing pumps to do it), false when `bound` passed first.
  bool AwaitRxReset(std::chrono::milliseconds bound);

  // ---- waits of the other threads ----
  // Rung when LinkTick advances, when a ring reset is done, when pumping
  // stops, when the port closes and at shutdown. A waiter notes Count(),
  // looks at what it waits for and then waits past the note.
  WakeSignal& Changed() { return changed_; }
  // Any thread: the communication thread looks at once for a request, a
  // packet or a ring reset, also while it waits for bytes.
  void WakeCommThread();
  // True once the handle is closed, false when `bound` passed first.
  bool AwaitClosed(std::chrono::milliseconds bound);

  // ---- any thread ----
  int SubmitPacket(const std::uint8_t* bytes, std::uint32_t length);

  bool Connected() const { return connected_.load(std::memory_order_acquire) != 0; }
  bool RequestPending() const { return requestPending_.load(std::memory_order_acquire) != 0; }
  std::uint32_t RequestedMode() const { return requestedMode_.load(std::memory_order_acquire); }
  bool PortIsOpen() const { return portIsOpen_.load(std::memory_order_acquire) != 0; }
  bool PortReleased() const { return portReleased_.load(std::memory_order_acquire) != 0; }
  // The user-interface thread's view: open and not released since. A close
  // it posted shows in PortIsOpen only once the communication thread has
  // served it, so a switch back soon after ReleasePort must not rely on that.
  bool PortHeld() const { return PortIsOpen() && !PortReleased(); }
  bool HandleValid() const { return handleValid_.load(std::memory_order_acquire); }
  bool TxPending() const { return txPending_.load(std::memory_order_acquire) != 0; }
  std::uint32_t RetryDelayMs() const { return retryDelayMs_.load(); }
  std::string RequestedPortName() const;

  // Waits for the communication thread's first attempt at the port request
  // posted last (an open): Connected once the link pumps (and the main program's stream
  // request is written); Failed as soon as that attempt could not open the
  // port, or a close superseded it, while the thread goes on retrying as the
  // window wants; ShutDown when the link shuts down first. For a caller that
  // must not wait for ever on a port that is not there.
  OpenOutcome AwaitOpenAttempt();

  // Ends the back-off waits at once and tells the communication thread to leave.
  void RequestShutdown();
  bool ShutdownRequested() const { return shutdown_.load(std::memory_order_acquire); }
  // A sleep that a shutdown cuts short.
  void Sleep(std::chrono::milliseconds duration);

  // The back-off wait that follows `delay` after a failed attempt (profile rule).
  std::uint32_t NextRetryDelay(std::uint32_t delay) const;

 private:

  const LinkProfile& profile_;
  WakeSignal changed_;
  WakeSignal commWake_;
  LinkTick tick_{&changed_};
  SlReply reply_;
  std::atomic<MessageSink*> sink_{nullptr};

  SerialOpener opener_;
  std::function<void(bool)> statusHook_;
  std::function<bool()> portHeldElsewhere_;
  std::function<void()> rememberPort_;

  // Device: replaced by the communication thread only, under deviceMutex_,
  // which other threads take to interrupt its wait.
  void ReplaceDevice(std::unique_ptr<SerialDevice> device);
  // A back-off wait that a shutdown or a newly posted port request ends; true for the request.
  bool BackOffUntilRequest(std::chrono::milliseconds duration);
  std::mutex deviceMutex_;
  std::unique_ptr<SerialDevice> device_;
  std::atomic<bool> handleValid_{false};
  // The batch last read from the device: communication thread only.
  std::unique_ptr<std::uint8_t[]> batch_;
  std::size_t batchNext_ = 0;
  std::size_t batchFill_ = 0;

  mutable std::mutex nameMutex_;
  std::string requestedPortName_;

  std::atomic<std::uint32_t> requestedMode_{PortClose};
  std::atomic<std::uint32_t> requestPending_{0};
  std::atomic<std::uint32_t> connected_{0};
  std::atomic<std::uint32_t> retryDelayMs_{kInitialRetryDelayMs};
  std::atomic<std::uint32_t> portIsOpen_{0};
  std::atomic<std::uint32_t> portReleased_{0};

  std::unique_ptr<std::uint8_t[]> ring_;
  const std::uint32_t ringSize_;
  std::atomic<std::uint32_t> rxHead_{0};
  std::atomic<std::uint32_t> rxTail_{0};
  std::uint32_t rxWrite_ = 0;
  std::atomic<std::uint32_t> rxResetRequested_{0};
  // A reset discards what is unread without the writer touching the reader's
  // index: the writer publishes (generation << 32 | position to read from) and
  // the reader moves its tail there once per generation.
  std::atomic<std::uint64_t> rxDiscard_{0};
  std::atomic<std::uint32_t> rxDiscardApplied_{0};  // generation the reader has applied
  std::uint32_t TailFor(std::uint64_t discard) const;

  std::uint8_t txBuffer_[kTxSlotSize] = {};
  std::atomic<std::uint32_t> txPending_{0};

  ArrivalWatches arrivals_;
  // Waits on Changed until done() holds (true) or `bound` passes (false).
  template <typename Done>
  bool AwaitChange(std::chrono::milliseconds bound, Done done);

  // The hand-over of AwaitOpenAttempt: the port requests posted, those
  // served as far as a first open attempt, and how the last one went.
  void PublishOpenOutcome(std::uint64_t serviced, OpenOutcome outcome);
  std::mutex outcomeMutex_;
  std::condition_variable outcomeKnown_;
  std::uint64_t requestsPosted_ = 0;
  std::uint64_t requestsServiced_ = 0;
  OpenOutcome lastOutcome_ = OpenOutcome::Failed;

  std::atomic<bool> shutdown_{false};
  std::mutex sleepMutex_;
  std::condition_variable sleepWake_;
};

}  // namespace vantor
