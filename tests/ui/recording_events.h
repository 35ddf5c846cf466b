#pragma once
// What a host delivered to a window, for the hosts' own tests: controls,
// keys (Tab is taken, the rest left to the control) and close requests.

#include <vector>

#include "ui/window/window_host.h"

namespace vantor::ui::test {

struct RecordingEvents final : WindowEvents {
  std::vector<ControlEvent> controls;
  std::vector<KeyEvent> keys;
  int closeRequests = 0;
  bool allowClose = false;
  void OnControl(const ControlEvent& event) override { controls.push_back(event); }
  bool OnKey(const KeyEvent& key) override {
    keys.push_back(key);
    return key.key == Key::Tab;
  }
  bool OnCloseRequest() override {
    ++closeRequests;
    return allowClose;
  }
};

}  // namespace vantor::ui::test
