#include "sim/sim_serial.h"

#include <atomic>

#include "sim/sim_ecm.h"

namespace vantor::sim {
namespace {

class SimSerialDevice final : public SerialDevice {
 public:
  explicit SimSerialDevice(SimEcm& ecm) : ecm_(ecm), generation_(ecm.PlugGeneration()) {}

  bool ClearEventMask() override { return Attached(); }
  bool SetNonBlockingReads() override { return true; }
  bool ConfigureLine() override { return Attached(); }
  bool SetQueueSizes(std::uint32_t, std::uint32_t) override { return Attached(); }

  IoStatus Read(std::uint8_t* buffer, std::size_t capacity, std::size_t* got) override {
    *got = 0;
    if (!Attached()) return IoStatus::Failed;
    *got = ecm_.Transmit(buffer, capacity);
    return *got > 0 ? IoStatus::Ok : IoStatus::NoData;
  }

  IoStatus Write(const std::uint8_t* bytes, std::size_t length, std::size_t* written) override {
    *written = 0;
    if (!Attached()) return IoStatus::Failed;
    ecm_.Receive(bytes, length);
    *written = length;
    return IoStatus::Ok;
  }

  void WaitReadable(std::chrono::milliseconds bound) override {
    if (!Attached()) return;
    ecm_.AwaitBatch(bound, [this] { return interrupted_.exchange(false); });
  }

  void Interrupt() override {
    interrupted_.store(true);
    ecm_.WakeWaiters();
  }

 private:
  bool Attached() const { return ecm_.Plugged() && ecm_.PlugGeneration() == generation_; }

  SimEcm& ecm_;
  const std::uint64_t generation_;
  std::atomic<bool> interrupted_{false};
};

}  // namespace

std::unique_ptr<SerialDevice> OpenSimDevice(SimEcm& ecm) {
  if (!ecm.Plugged()) return nullptr;
  return std::make_unique<SimSerialDevice>(ecm);
}

SerialOpener SimOpener(SimEcm& ecm) {
  return [&ecm](const std::string& portName) -> std::unique_ptr<SerialDevice> {
    if (portName == kSimPortName) return OpenSimDevice(ecm);
    return OpenPlatformSerial(portName);
  };
}

}  // namespace vantor::sim
