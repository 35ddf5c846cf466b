#pragma once
// The window tests' application object on Qt's offscreen platform, and a
// wait that keeps the event loop running.

#include <QApplication>

#include <chrono>
#include <cstdlib>

namespace vantor::ui::testing {

inline QApplication& OffscreenApp() {
  static int argc = 1;
  static char name[] = "window_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return existing;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return new QApplication(argc, argv);
  }();
  return *app;
}

// Runs the event loop until done() holds, at most the given time.
template <typename Done>
bool WaitFor(Done done, std::chrono::seconds bound = std::chrono::seconds(10)) {
  const auto end = std::chrono::steady_clock::now() + bound;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

}  // namespace vantor::ui::testing
