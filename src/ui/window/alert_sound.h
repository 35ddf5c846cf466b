#pragma once
// The knock alert: the host's alert sound, played on the user-interface
// thread. Play may be called from any thread and never blocks; requests that
// arrive while one is still queued are merged into it.

#include <atomic>

#include "ui/window/window_host.h"

namespace vantor::ui {

class AlertSound {
 public:
  explicit AlertSound(Host& host) : host_(host) {}
  void Play();
  int Played() const { return played_.load(); }

 private:
  Host& host_;
  std::atomic<bool> queued_{false};
  std::atomic<int> played_{0};
};

}  // namespace vantor::ui
