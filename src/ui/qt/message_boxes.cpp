#include "ui/qt/message_boxes.h"

namespace vantor::ui {

void ShowInfoBox(QWidget* parent, const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
  box.setObjectName(kInfoBoxName);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.exec();
}

QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, const QString& caption,
                                QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::Question, caption, text, buttons, parent);
  box.setObjectName(kQuestionBoxName);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace vantor::ui
