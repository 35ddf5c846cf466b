#pragma once
// What the live displays' own controls share: the window's colours, the
// window's keys passed on, and the "Clear Data" button that clears with the
// display thread held off and then repaints the window.

#include <functional>

#include "ui/canvas.h"

class QAbstractButton;
class QObject;
class QPushButton;
class QWidget;

namespace vantor::ui {

struct DisplayControlHooks {
  // Runs the work while the display thread is held between frames.
  std::function<void(const std::function<void()>& work)> whileSuspended;
  // Repaints the whole window and gives it the focus.
  std::function<void()> repaint;
  // Receives the keys the controls get (the window's keys).
  QObject* keyFilter = nullptr;
};

// Text RGB(240,240,240) on RGB(20,20,20), as the window's static controls.
void UseWindowColours(QWidget* widget);
// The given text colour on the given background, which the widget fills.
void UseColours(QWidget* widget, Rgb text, Rgb background);
// Places and shows a button; its keys go to keyFilter.
void PlaceButton(QAbstractButton* button, int x, int y, int width, int height, QObject* keyFilter);
// An 80 x 30 "Clear Data" push button at (x, y).
QPushButton* CreateClearButton(QWidget* parent, int x, int y, const DisplayControlHooks& hooks,
                               std::function<void()> clear);

}  // namespace vantor::ui
