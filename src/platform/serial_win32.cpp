// The Win32 back-end of SerialDevice.
#ifdef _WIN32

#if !defined(_WIN32_WINNT) || _WIN32_WINNT < 0x0600
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600  // CancelIoEx
#endif
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/serial_device.h"

namespace vantor {
namespace {

constexpr DWORD kReadChunk = 4096;
// A read that finds nothing waiting completes empty after this long; the wait
// for it is cut short by Interrupt anyway.
constexpr DWORD kReadWaitMs = 100;
// Once bytes come, a pause this long in them completes the read. (Windows
// alone also honours "return once the first byte is in" as interval and
// multiplier MAXDWORD; Wine takes those as 49-day waits.)
constexpr DWORD kReadPauseMs = 1;

// An event handle, closed with its owner.
class EventHandle {
 public:
  explicit EventHandle(BOOL manualReset) : handle_(CreateEventA(nullptr, manualReset, FALSE, nullptr)) {}
  ~EventHandle() {
    if (handle_) CloseHandle(handle_);
  }
  EventHandle(const EventHandle&) = delete;
  EventHandle& operator=(const EventHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// The port is opened for overlapped I/O so that a wait for bytes can be
// ended by Interrupt (a packet to write, a request to serve). A read is
// started when Read finds nothing buffered and stays pending until bytes
// come or its 100 ms pass empty; Read and WaitReadable collect it.
class Win32Serial final : public SerialDevice {
 public:
  explicit Win32Serial(HANDLE handle) : handle_(handle) {}
  ~Win32Serial() override {
    if (pending_) {
      CancelIoEx(handle_, &readOv_);
      DWORD ignored = 0;
      GetOverlappedResult(handle_, &readOv_, &ignored, TRUE);  // the buffer is ours until then
    }
    CloseHandle(handle_);
  }
  Win32Serial(const Win32Serial&) = delete;
  Win32Serial& operator=(const Win32Serial&) = delete;

  bool Ok() const { return readEvent_.get() && writeEvent_.get() && wakeEvent_.get(); }

  bool ClearEventMask() override { return SetCommMask(handle_, 0) != 0; }

  // A read ends at a pause in the bytes, or empty when none come.
  bool SetNonBlockingReads() override {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kReadPauseMs;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = kReadWaitMs;
    return SetCommTimeouts(handle_, &timeouts) != 0;
  }

  bool ConfigureLine() override {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle_, &dcb)) return false;
    dcb.BaudRate = CBR_115200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    dcb.XonLim = 0;
    dcb.XoffLim = 0;
    dcb.XonChar = 0;
    dcb.XoffChar = 0;
    dcb.EvtChar = 0;
    return SetCommState(handle_, &dcb) != 0;
  }

  bool SetQueueSizes(std::uint32_t inputBytes, std::uint32_t outputBytes) override {
    return SetupComm(handle_, inputBytes, outputBytes) != 0;
  }

  IoStatus Read(std::uint8_t* buffer, std::size_t capacity, std::size_t* got) override {
    *got = 0;
    if (next_ == filled_) {
      if (!pending_ && !StartRead()) return IoStatus::Failed;
      const IoStatus status = Collect(FALSE);
      if (status != IoStatus::Ok) return status;
      if (next_ == filled_) return IoStatus::NoData;  // the read's own time-out ended it empty
    }
    const std::size_t count = std::min<std::size_t>(capacity, filled_ - next_);
    std::memcpy(buffer, chunk_ + next_, count);
    next_ += count;
    *got = count;
    return IoStatus::Ok;
  }

  IoStatus Write(const std::uint8_t* bytes, std::size_t length, std::size_t* written) override {
    *written = 0;
    OVERLAPPED ov{};
    ov.hEvent = writeEvent_.get();
    DWORD count = 0;
    if (!WriteFile(handle_, bytes, static_cast<DWORD>(length), nullptr, &ov) && GetLastError() != ERROR_IO_PENDING)
      return IoStatus::Failed;
    if (!GetOverlappedResult(handle_, &ov, &count, TRUE)) return IoStatus::Failed;
    *written = count;
    return IoStatus::Ok;
  }

  void WaitReadable(std::chrono::milliseconds bound) override {
    if (next_ != filled_) return;
    if (!pending_ && !StartRead()) return;  // the failure shows on the next read
    HANDLE events[2] = {readEvent_.get(), wakeEvent_.get()};
    const auto ms = std::min<std::chrono::milliseconds::rep>(bound.count(), INFINITE - 1);
    WaitForMultipleObjects(2, events, FALSE, static_cast<DWORD>(ms));
  }

  void Interrupt() override { SetEvent(wakeEvent_.get()); }

 private:
  bool StartRead() {
    next_ = filled_ = 0;
    readOv_ = OVERLAPPED{};
    readOv_.hEvent = readEvent_.get();
    ResetEvent(readEvent_.get());
    if (!ReadFile(handle_, chunk_, kReadChunk, nullptr, &readOv_) && GetLastError() != ERROR_IO_PENDING)
      return false;
    pending_ = true;  // also when it completed at once: Collect takes the result
    return true;
  }

  // The pending read's bytes, waiting for them when `wait`; NoData while it runs.
  IoStatus Collect(BOOL wait) {
    DWORD count = 0;
    if (!GetOverlappedResult(handle_, &readOv_, &count, wait)) {
      if (GetLastError() == ERROR_IO_INCOMPLETE) return IoStatus::NoData;
      pending_ = false;
      return IoStatus::Failed;
    }
    pending_ = false;
    next_ = 0;
    filled_ = count;
    return IoStatus::Ok;
  }

  HANDLE handle_;
  EventHandle readEvent_{TRUE};
  EventHandle writeEvent_{TRUE};
  EventHandle wakeEvent_{FALSE};  // auto-reset: one Interrupt ends one wait, even an early one
  OVERLAPPED readOv_{};
  bool pending_ = false;
  std::uint8_t chunk_[kReadChunk] = {};
  std::size_t next_ = 0;
  std::size_t filled_ = 0;
};

}  // namespace

std::unique_ptr<SerialDevice> OpenPlatformSerial(const std::string& portName) {
  const std::string path = DevicePathForPort(portName);
  if (path.empty()) return nullptr;
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  auto device = std::make_unique<Win32Serial>(handle);
  if (!device->Ok()) return nullptr;
  return device;
}

}  // namespace vantor

#endif  // _WIN32
