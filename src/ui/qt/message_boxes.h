#pragma once
// The program's boxes: information boxes shown topmost, and the questions
// the flash file chooser and the device dialog ask.

#include <QMessageBox>
#include <QString>

class QWidget;

namespace vantor::ui {

// Object names, so a test can find and answer the box.
constexpr const char* kInfoBoxName = "vantorInfoBox";
constexpr const char* kQuestionBoxName = "vantorQuestionBox";

void ShowInfoBox(QWidget* parent, const QString& text, const QString& caption);
// Returns the button pressed (Escape gives the last of buttons).
QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, const QString& caption,
                                QMessageBox::StandardButtons buttons);

}  // namespace vantor::ui
