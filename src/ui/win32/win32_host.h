#pragma once
// The window layer's host on the Windows API: windows of registered classes
// ("VANTOR" or "ORV_KDM9UPDATE" for the program's main window, "QTRGRAPH"
// for the graph, "VANTORTOOL" for the floating tool windows), dialogs from
// in-memory templates with their controls in dialog units, the common file
// dialogs, message boxes shown topmost, MessageBeep, and work posted to the
// user-interface thread through a message-only window.

#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "ui/window/window_host.h"

struct tagMSG;
using MSG = tagMSG;

namespace vantor::ui {

struct Win32HostOptions {
  std::wstring mainClass = L"VANTOR";  // the main window's class
  Rgb mainBackground{20, 20, 20};      // its class brush
};

class Win32Host final : public Host {
 public:
  explicit Win32Host(Win32HostOptions options = {});
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  // The message loop, until the main window has gone; the exit code.
  int Run();
  // Runs the messages waiting now, posted work among them (the tests' pump).
  void RunPending();
  // The work posted so far (the message-only window's message).
  void RunPosted();

  std::unique_ptr<WindowHost> CreateWindow(const WindowSpec& spec, WindowEvents& events, PixelSource* pixels,
                                           WindowHost* owner) override;
  void RunDialog(const DialogSpec& spec, WindowEvents& events, const std::function<void(WindowHost&)>& opened,
                 WindowHost* owner) override;
  std::optional<std::string> ChooseFile(const FileChooserSpec& spec, WindowHost* owner) override;
  BoxAnswer ShowMessage(const MessageSpec& spec, WindowHost* owner) override;
  void ShowTextBox(const TextBoxSpec& spec, WindowHost* owner) override;
  void Beep() override;
  void Post(std::function<void()> work) override;
  bool OnUserThread() const override;
  Point DesktopSize() const override;
  bool ModalOpen() const override { return modalDepth_ > 0; }

  const Win32HostOptions& Options() const { return options_; }
  // The program's icon (resource 146), null when the program carries none.
  void* Icon(bool small) const { return small ? smallIcon_ : largeIcon_; }

  // Counts a modal dialog of the program while it is up.
  class ModalScope {
   public:
    explicit ModalScope(Win32Host& host) : host_(host) { ++host_.modalDepth_; }
    ~ModalScope() { --host_.modalDepth_; }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

   private:
    Win32Host& host_;
  };

 private:
  void RegisterClasses();
  void Deliver(MSG& message);

  Win32HostOptions options_;
  unsigned long userThread_;
  void* workWindow_ = nullptr;
  void* largeIcon_ = nullptr;
  void* smallIcon_ = nullptr;
  int modalDepth_ = 0;
  std::mutex workMutex_;
  std::deque<std::function<void()>> work_;
};

}  // namespace vantor::ui
