#pragma once
// The main window on the recording host and the simulated ECM, with its
// configuration in a scratch directory, for the window layer's tests.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>

#include "support/temp_dir.h"
#include "support/fake_host.h"
#include "sim/sim_serial.h"
#include "ui/window/main_window.h"

namespace vantor::ui::test {

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    settings.port = sim::kSimPortName;
    settings.updateDivisor = 0;
    parts = std::make_unique<ProgramParts>(settings, (dir / "test.cfg").string());
    window = std::make_unique<MainWindow>(*parts, host);
  }
  FakeWindow& View() { return static_cast<FakeWindow&>(window->Window()); }
  bool FramesArrive(std::uint64_t count) {
    const std::uint64_t start = parts->session.Loop().FramesProcessed();
    return host.WaitUntil([&] { return parts->session.Loop().FramesProcessed() >= start + count; });
  }
  bool WaitUntil(const std::function<bool()>& done) { return host.WaitUntil(done); }

  vantor::test::TempDir scratch;
  std::filesystem::path dir{scratch.Path()};
  Settings settings;
  FakeHost host;
  std::unique_ptr<ProgramParts> parts;
  std::unique_ptr<MainWindow> window;
};

}  // namespace vantor::ui::test
