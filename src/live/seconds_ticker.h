#pragma once
// Advances secondsTick once a second on its own thread, and tells whoever
// waits for it (the display thread's keep-alive) by the tick hook.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace vantor {

struct DisplayState;

class SecondsTicker {
 public:
  explicit SecondsTicker(DisplayState& state, std::function<void()> ticked = {})
      : state_(state), ticked_(std::move(ticked)) {}
  ~SecondsTicker() { Stop(); }
  SecondsTicker(const SecondsTicker&) = delete;
  SecondsTicker& operator=(const SecondsTicker&) = delete;

  void Start();
  // Returns at once, also in the middle of a second.
  void Stop();

 private:
  void Run();

  DisplayState& state_;
  std::function<void()> ticked_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace vantor
