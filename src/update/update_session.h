#pragma once
// The update utility's working parts besides its window: the link with the
// utility's profile, its communication thread and LinkTick for the life of
// the program, the 20 x 80 message pane, and the flash thread that does one
// update run at a time.

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "cal/message_pane.h"
#include "link/ecm_link.h"
#include "live/comm_thread.h"
#include "update/firmware_image.h"

namespace vantor {

struct UpdateRunSetup {
  std::string directory;     // where the bank files live; empty: the working directory
  FirmwareSource firmware;   // read as the run starts
  std::chrono::milliseconds settle{100};  // lets the window show the emptied pane first
  std::chrono::milliseconds conversionPause{100};
};

class UpdateSession {
 public:
  explicit UpdateSession(SerialOpener opener);
  ~UpdateSession() { Stop(); }
  UpdateSession(const UpdateSession&) = delete;
  UpdateSession& operator=(const UpdateSession&) = delete;

  EcmLink& Link() { return link_; }
  MessagePane& Pane() { return pane_; }

  // LinkTick and the communication thread; false when a thread cannot start.
  bool Start();
  // Waits for a run still going, then stops the threads (idempotent).
  void Stop();

  // Starts the flash thread; false while a run is going on or when the thread
  // cannot start. finished(result) is called on the flash thread as it ends,
  // after Running() has turned false.
  bool StartRun(const UpdateRunSetup& setup, std::function<void(int result)> finished);
  bool Running() const { return running_.load(std::memory_order_acquire); }

 private:
  EcmLink link_;
  CommThread comm_;
  MessagePane pane_;
  std::thread flash_;
  std::atomic<bool> running_{false};
};

}  // namespace vantor
