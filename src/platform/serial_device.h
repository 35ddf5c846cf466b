#pragma once
// One small interface in front of every serial back-end: the POSIX termios
// port, the Win32 port and the in-process simulated ECM.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vantor {

enum class IoStatus { Ok, NoData, Failed };

class SerialDevice {
 public:
  virtual ~SerialDevice() = default;
  // No event notifications are wanted; false when the device refuses.
  virtual bool ClearEventMask() = 0;
  // Reads return at once with whatever is buffered. The result is advisory.
  virtual bool SetNonBlockingReads() = 0;
  // 115200 baud, 8N1, raw, no flow control, DTR and RTS held on.
  virtual bool ConfigureLine() = 0;
  virtual bool SetQueueSizes(std::uint32_t inputBytes, std::uint32_t outputBytes) = 0;
  // Never blocks; takes what is waiting, up to capacity; *got is 0 with
  // NoData when nothing is.
  virtual IoStatus Read(std::uint8_t* buffer, std::size_t capacity, std::size_t* got) = 0;
  virtual IoStatus Write(const std::uint8_t* bytes, std::size_t length, std::size_t* written) = 0;
  // Sleeps until bytes wait to be read (or the device failed), `bound` has
  // passed or Interrupt is called, whichever comes first; an Interrupt made
  // while no wait runs ends the next one at once.
  virtual void WaitReadable(std::chrono::milliseconds bound) = 0;
  // Any thread, while the device exists.
  virtual void Interrupt() = 0;
};

// Opens the device for a port name; nullptr when it cannot be opened.
using SerialOpener = std::function<std::unique_ptr<SerialDevice>(const std::string& portName)>;

// "COM1".."COM40" map to the platform's serial devices (/dev/ttyS0.. on Linux),
// a name starting with "/" is a device path. Empty when the name means nothing here.
std::string DevicePathForPort(const std::string& portName);

// A device name holds 16 bytes with its terminator (and, on Windows, the
// "\\.\" prefix). A longer port name is refused, never cut or overflowed.
constexpr std::size_t kDeviceNameBytes = 16;
bool PortNameFits(const std::string& portName);

// The platform back-end (termios or Win32).
std::unique_ptr<SerialDevice> OpenPlatformSerial(const std::string& portName);

}  // namespace vantor
