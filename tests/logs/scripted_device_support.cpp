#include "logs/scripted_device_support.h"

#include <thread>

namespace vantor::testing {

void ScriptedLine::Push(const std::vector<std::uint8_t>& bytes) {
  std::lock_guard lock(mutex);
  toProgram.insert(toProgram.end(), bytes.begin(), bytes.end());
}

std::size_t ScriptedLine::Delivered() {
  std::lock_guard lock(mutex);
  return delivered;
}

std::size_t ScriptedLine::Waiting() {
  std::lock_guard lock(mutex);
  return toProgram.size();
}

IoStatus ScriptedDevice::Read(std::uint8_t* buffer, std::size_t capacity, std::size_t* got) {
  std::lock_guard lock(line_->mutex);
  *got = 0;
  if (capacity == 0 || line_->toProgram.empty()) return IoStatus::NoData;
  buffer[0] = line_->toProgram.front();
  line_->toProgram.pop_front();
  ++line_->delivered;
  *got = 1;
  return IoStatus::Ok;
}

IoStatus ScriptedDevice::Write(const std::uint8_t* bytes, std::size_t length, std::size_t* written) {
  std::lock_guard lock(line_->mutex);
  line_->fromProgram.insert(line_->fromProgram.end(), bytes, bytes + length);
  *written = length;
  return IoStatus::Ok;
}

SerialOpener ScriptedOpener(std::shared_ptr<ScriptedLine> line) {
  return [line](const std::string&) -> std::unique_ptr<SerialDevice> {
    return std::make_unique<ScriptedDevice>(line);
  };
}

bool WaitFor(const std::function<bool()>& predicate, std::chrono::milliseconds bound) {
  const auto until = std::chrono::steady_clock::now() + bound;
  while (!predicate()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace vantor::testing
