#pragma once
// The modal About and Help boxes.

class QWidget;

namespace vantor::ui {

void ShowAboutBox(QWidget* owner);
void ShowHelpBox(QWidget* owner);
// The update utility's About box.
void ShowUpdateAboutBox(QWidget* owner);

}  // namespace vantor::ui
