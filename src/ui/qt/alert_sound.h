#pragma once
// The knock alert: the platform's alert sound, played on the user-interface
// thread. Play may be called from any thread and never blocks; requests that
// arrive while one is still queued are merged into it.

#include <QObject>

#include <atomic>

namespace vantor::ui {

class AlertSound final : public QObject {
  Q_OBJECT
 public:
  explicit AlertSound(QObject* parent = nullptr) : QObject(parent) {}
  void Play();
  int Played() const { return played_.load(); }

 private:
  std::atomic<bool> queued_{false};
  std::atomic<int> played_{0};
};

}  // namespace vantor::ui
