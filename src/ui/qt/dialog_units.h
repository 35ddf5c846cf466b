#pragma once
// Dialog units to pixels with the base units of the dialog's font, so that a
// dialog laid out in dialog units keeps its proportions with any font.

#include <QFont>
#include <QRect>

class QWidget;

namespace vantor::ui {

class DialogUnits {
 public:
  // Horizontal base unit: the average width of the 52 letters; vertical: the font's height.
  explicit DialogUnits(const QFont& font);

  int X(int units) const { return (units * baseX_ + 2) / 4; }
  int Y(int units) const { return (units * baseY_ + 4) / 8; }
  QRect Rect(int x, int y, int width, int height) const { return {X(x), Y(y), X(width), Y(height)}; }
  // Places widget at the dialog-unit rectangle.
  void Place(QWidget* widget, int x, int y, int width, int height) const;

 private:
  int baseX_;
  int baseY_;
};

// The dialogs' font: "MS Sans Serif" 8 pt, or the platform's nearest.
QFont DialogFont();

}  // namespace vantor::ui
