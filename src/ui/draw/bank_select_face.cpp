#include "ui/draw/bank_select_face.h"

#include <string>

namespace vantor::ui {
namespace {

constexpr Rgb kActive{255, 153, 0};
constexpr Rgb kInactive{0, 0, 0};
constexpr Rgb kHighlight{15, 15, 15};
constexpr int kFirstX = 22, kLastX = 425, kPitch = 50;

int SquareX(int bank) { return 25 + kPitch * bank; }
constexpr int kSquareY = 10, kSquareSize = 45;

Rect HighlightRect(int square) { return Rect{23 + kPitch * square, 4, 71 + kPitch * square, 75}; }

// Every other pixel of the rectangle's outline.
void DottedFrame(Canvas& canvas, const Rect& rect, Rgb colour) {
  const int right = rect.right - 1, bottom = rect.bottom - 1;
  int n = 0;
  auto dot = [&](int x, int y) {
    if (n++ % 2 == 0) canvas.FillRect(Rect{x, y, x + 1, y + 1}, colour);
  };
  for (int x = rect.left; x < right; ++x) dot(x, rect.top);
  for (int y = rect.top; y < bottom; ++y) dot(right, y);
  for (int x = right; x > rect.left; --x) dot(x, bottom);
  for (int y = bottom; y > rect.top; --y) dot(rect.left, y);
}

}  // namespace

int BankSquareAt(int x) { return x >= kFirstX ? (x - kFirstX) / kPitch : -1; }

std::optional<int> ClickedBank(int pressX, int releaseX) {
  auto inside = [](int x) { return x >= kFirstX && x <= kLastX; };
  if (!inside(pressX) || !inside(releaseX)) return std::nullopt;
  const int square = BankSquareAt(pressX);
  if (square != BankSquareAt(releaseX) || square >= kBankSquares) return std::nullopt;
  return square;
}

void BankSelectFace::Paint(Canvas& canvas, int activeBank) const {
  canvas.FillRect(Rect{0, 0, kBankWidth, kBankHeight}, colour::kBackground);
  TextStyle digit;
  digit.font = FontId::Medium;
  for (int i = 0; i < kBankSquares; ++i) {
    const int x = SquareX(i);
    canvas.Text(43 + kPitch * i, 58, std::to_string(i), digit);
    canvas.FrameRect(Rect{x - 1, kSquareY - 1, x + kSquareSize, kSquareY + kSquareSize}, Pen{colour::kDim, 1});
  }
  ShowBank(canvas, activeBank);
}

void BankSelectFace::ShowBank(Canvas& canvas, int activeBank) const {
  for (int i = 0; i < kBankSquares; ++i) {
    const int x = SquareX(i);
    canvas.FillRect(Rect{x, kSquareY, x + kSquareSize, kSquareY + kSquareSize}, i == activeBank ? kActive : kInactive);
  }
}

void BankSelectFace::Hover(Canvas& canvas, int x) {
  const int square = BankSquareAt(x);
  if (square != hovered_) MoveHighlight(canvas, square);
}

void BankSelectFace::Leave(Canvas& canvas) {
  if (hovered_ != -1) MoveHighlight(canvas, -1);
}

void BankSelectFace::MoveHighlight(Canvas& canvas, int square) {
  if (hovered_ >= 0) canvas.FrameRect(HighlightRect(hovered_), Pen{colour::kBackground, 1});
  hovered_ = square;
  if (square >= 0 && square < kBankSquares) DottedFrame(canvas, HighlightRect(square), kHighlight);
}

}  // namespace vantor::ui
