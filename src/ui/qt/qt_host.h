#pragma once
// The window layer's host on Qt Widgets: windows, dialogs, file choosers,
// message boxes and the alert sound; work posted to the event loop.

#include "ui/window/window_host.h"

namespace vantor::ui {

class QtHost final : public Host {
 public:
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
  bool ModalOpen() const override;
};

}  // namespace vantor::ui
