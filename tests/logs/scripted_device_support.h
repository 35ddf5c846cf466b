#pragma once
// A serial device for tests: delivers the bytes a test pushes, one per read,
// and keeps what the program wrote.

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/serial_device.h"

namespace vantor::testing {

struct ScriptedLine {
  std::mutex mutex;
  std::deque<std::uint8_t> toProgram;
  std::vector<std::uint8_t> fromProgram;
  std::size_t delivered = 0;

  void Push(const std::vector<std::uint8_t>& bytes);
  std::size_t Delivered();
  std::size_t Waiting();
};

class ScriptedDevice final : public SerialDevice {
 public:
  explicit ScriptedDevice(std::shared_ptr<ScriptedLine> line) : line_(std::move(line)) {}
  bool ClearEventMask() override { return true; }
  bool SetNonBlockingReads() override { return true; }
  bool ConfigureLine() override { return true; }
  bool SetQueueSizes(std::uint32_t, std::uint32_t) override { return true; }
  IoStatus Read(std::uint8_t* buffer, std::size_t capacity, std::size_t* got) override;
  IoStatus Write(const std::uint8_t* bytes, std::size_t length, std::size_t* written) override;

 private:
  std::shared_ptr<ScriptedLine> line_;
};

SerialOpener ScriptedOpener(std::shared_ptr<ScriptedLine> line);

// Polls a predicate until it holds or the bound passes.
bool WaitFor(const std::function<bool()>& predicate,
             std::chrono::milliseconds bound = std::chrono::seconds(10));

}  // namespace vantor::testing
