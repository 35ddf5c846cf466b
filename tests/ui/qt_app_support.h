#pragma once
// The window tests' one application object on the offscreen platform, and
// a wait that runs its event loop.

#include <QApplication>

#include <chrono>
#include <cstdlib>

namespace vantor::ui::qttest {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "test_ui";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return new QApplication(argc, argv);
  }();
  return *app;
}

// Runs the event loop until done() holds, at most 10 s.
template <typename Done>
bool WaitFor(Done done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

}  // namespace vantor::ui::qttest
