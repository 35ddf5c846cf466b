#include "ui/qt/display_buttons.h"

#include <QPalette>
#include <QPushButton>

namespace vantor::ui {

void UseWindowColours(QWidget* widget) { UseColours(widget, colour::kText, colour::kBackground); }

void UseColours(QWidget* widget, Rgb textColour, Rgb backgroundColour) {
  QPalette palette = widget->palette();
  const QColor text(textColour.r, textColour.g, textColour.b);
  const QColor background(backgroundColour.r, backgroundColour.g, backgroundColour.b);
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::ButtonText, text);
  palette.setColor(QPalette::Window, background);
  palette.setColor(QPalette::Button, background);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

void PlaceButton(QAbstractButton* button, int x, int y, int width, int height, QObject* keyFilter) {
  button->setGeometry(x, y, width, height);
  if (keyFilter) button->installEventFilter(keyFilter);
  button->setFocusPolicy(Qt::ClickFocus);
  button->show();
}

QPushButton* CreateClearButton(QWidget* parent, int x, int y, const DisplayControlHooks& hooks,
                               std::function<void()> clear) {
  auto* button = new QPushButton("Clear Data", parent);
  QObject::connect(button, &QPushButton::clicked, button, [hooks, clear = std::move(clear)] {
    hooks.whileSuspended(clear);
    hooks.repaint();
  });
  PlaceButton(button, x, y, 80, 30, hooks.keyFilter);
  return button;
}

}  // namespace vantor::ui
