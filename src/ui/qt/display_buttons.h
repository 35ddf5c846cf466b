#pragma once
// Shared look and key handling of the buttons the live displays put on the
// window: window colours, and the window's keys passed on to keyFilter.

class QAbstractButton;
class QObject;
class QWidget;

namespace vantor::ui {

// Text RGB(240,240,240) on RGB(20,20,20), as the window's static controls.
void UseWindowColours(QWidget* widget);
// Places, colours and shows a button; its keys go to keyFilter.
void PlaceButton(QAbstractButton* button, int x, int y, int width, int height, QObject* keyFilter);

}  // namespace vantor::ui
