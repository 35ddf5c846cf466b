#include "ui/qt/display_buttons.h"

#include <QAbstractButton>
#include <QPalette>

namespace vantor::ui {

void UseWindowColours(QWidget* widget) {
  QPalette palette = widget->palette();
  const QColor text(240, 240, 240), background(20, 20, 20);
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

}  // namespace vantor::ui
