#ifdef VANTOR_HAS_UI_QT

#include "qt_test_support.h"

#include "ui/offscreen_app.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

namespace vantor::ui::test {
namespace {

// Calls answer(widget) on the first visible top-level widget it accepts, polling every 10 ms.
template <typename Answer>
void AnswerNextTopLevel(Answer answer) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->isVisible() && answer(widget)) {
        timer->stop();
        timer->deleteLater();
        return;
      }
    }
  });
  timer->start(10);
}

}  // namespace

QApplication& TestApp() { return testing::OffscreenApp(); }

bool WaitUntil(const std::function<bool()>& done) { return testing::WaitFor(done); }

void AnswerNextBox(QMessageBox::StandardButton button, QString* text, std::function<void()> then, QString* caption) {
  AnswerNextTopLevel([button, text, then, caption](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (!box) return false;
    if (text) *text = box->text();
    if (caption) *caption = box->windowTitle();
    box->button(button)->click();
    if (then) then();
    return true;
  });
}

void OnNextTopLevel(std::function<bool(QWidget*)> handle) { AnswerNextTopLevel(std::move(handle)); }

QStringList AnswerBoxesDuring(QMessageBox::StandardButton button, const std::function<void()>& action) {
  QStringList texts;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (!box || !box->isVisible()) continue;
      texts << box->text();
      QAbstractButton* answer = box->button(button);
      if (!answer && box->buttons().size() == 1) answer = box->buttons().first();
      if (answer) answer->click();
    }
  });
  timer.start(10);
  action();
  return texts;
}

void AnswerNextFileDialog(const std::filesystem::path& path) { AnswerFileDialogs({path}); }

void AnswerFileDialogs(std::vector<std::filesystem::path> paths) {
  if (paths.empty()) return;
  AnswerNextTopLevel([paths](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    if (!dialog) return false;
    const std::filesystem::path& path = paths.front();
    if (path.empty()) {
      dialog->reject();
    } else if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) {
      // Typed into the name field: selectFile leaves a focused field alone.
      name->setText(QString::fromStdString(path.string()));
      static_cast<QDialog*>(dialog)->accept();  // hides it at once
    } else {
      dialog->selectFile(QString::fromStdString(path.string()));
      static_cast<QDialog*>(dialog)->accept();
    }
    AnswerFileDialogs({paths.begin() + 1, paths.end()});
    return true;
  });
}

}  // namespace vantor::ui::test

#endif  // VANTOR_HAS_UI_QT
