// The Win32 back-end of SerialDevice.
#ifdef _WIN32

#include <windows.h>

#include "platform/serial_device.h"

namespace vantor {
namespace {

class Win32Serial final : public SerialDevice {
 public:
  explicit Win32Serial(HANDLE handle) : handle_(handle) {}
  ~Win32Serial() override { CloseHandle(handle_); }
  Win32Serial(const Win32Serial&) = delete;
  Win32Serial& operator=(const Win32Serial&) = delete;

  bool ClearEventMask() override { return SetCommMask(handle_, 0) != 0; }

  bool SetNonBlockingReads() override {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;  // with zero totals: return at once
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
    DWORD count = 0;
    *got = 0;
    if (!ReadFile(handle_, buffer, static_cast<DWORD>(capacity), &count, nullptr)) return IoStatus::Failed;
    *got = count;
    return count ? IoStatus::Ok : IoStatus::NoData;
  }

  IoStatus Write(const std::uint8_t* bytes, std::size_t length, std::size_t* written) override {
    DWORD count = 0;
    *written = 0;
    if (!WriteFile(handle_, bytes, static_cast<DWORD>(length), &count, nullptr)) return IoStatus::Failed;
    *written = count;
    return IoStatus::Ok;
  }

 private:
  HANDLE handle_;
};

}  // namespace

std::unique_ptr<SerialDevice> OpenPlatformSerial(const std::string& portName) {
  const std::string path = DevicePathForPort(portName);
  if (path.empty()) return nullptr;
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32Serial>(handle);
}

}  // namespace vantor

#endif  // _WIN32
