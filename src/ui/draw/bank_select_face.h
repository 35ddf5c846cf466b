#pragma once
// The Bank Select window's face: eight squares, the ECM's running bank
// filled; the square under the mouse outlined; a click on a square asks the
// ECM to switch to that bank.

#include <optional>

#include "ui/canvas.h"

namespace vantor::ui {

constexpr int kBankWidth = 446;  // client size of the window
constexpr int kBankHeight = 110;
constexpr int kBankSquares = 8;

// The square under mouse x: (x - 22) / 50 from x = 22 on (8 lies past the
// last square), -1 left of the first.
int BankSquareAt(int x);
// The bank a click selects: press and release both within 22..425 and in
// the same square 0..7.
std::optional<int> ClickedBank(int pressX, int releaseX);

class BankSelectFace {
 public:
  void Paint(Canvas& canvas, int activeBank) const;
  // All eight squares refilled.
  void ShowBank(Canvas& canvas, int activeBank) const;
  // Mouse moved to x; redraws the highlight when the square changed.
  void Hover(Canvas& canvas, int x);
  // Mouse left the window: the highlight goes.
  void Leave(Canvas& canvas);
  int Hovered() const { return hovered_; }

 private:
  void MoveHighlight(Canvas& canvas, int square);
  int hovered_ = -1;
};

}  // namespace vantor::ui
