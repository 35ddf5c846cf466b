#pragma once
// The main window on the offscreen platform and the simulated ECM, with its
// configuration in a scratch directory, for the window tests.
#ifdef VANTOR_HAS_UI_QT

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>

#include "cal/temp_dir.h"
#include "sim/sim_serial.h"
#include "ui/offscreen_app.h"
#include "ui/qt/main_window.h"
#include "qt_test_support.h"

namespace vantor::ui::test {

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    TestApp();
    settings.port = sim::kSimPortName;
    settings.updateDivisor = 0;
    parts = std::make_unique<ProgramParts>(settings, (dir / "test.cfg").string());
    window = std::make_unique<MainWindow>(*parts);
  }
  bool FramesArrive(std::uint64_t count) {
    const std::uint64_t start = parts->session.Loop().FramesProcessed();
    return testing::WaitFor([&] { return parts->session.Loop().FramesProcessed() >= start + count; });
  }

  vantor::test::TempDir scratch;
  std::filesystem::path dir{scratch.Path()};
  Settings settings;
  std::unique_ptr<ProgramParts> parts;
  std::unique_ptr<MainWindow> window;
};

}  // namespace vantor::ui::test

#endif  // VANTOR_HAS_UI_QT
