#include "logs/analysis_table_model.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "logs/analysis_messages.h"

namespace vantor {

RowShade ShadeOfLine(const char* line) {
  switch (line[view_field::kKind]) {
    case kKindMark: return RowShade::kMark;
    case kKindStamp: return RowShade::kStamp;
    case kKindSelected: return RowShade::kSelected;
    default: return (line[view_field::kSecondsDigit] - '0') % 2 == 0 ? RowShade::kPlainEven : RowShade::kPlainOdd;
  }
}

void AnalysisTableModel::Reset() {
  top_ = 0;
  selected_ = -1;
  replacedKind_ = kKindPlain;
}

int AnalysisTableModel::MaxTop() const { return std::max(0, LineCount() - kRows); }

void AnalysisTableModel::ScrollBy(int lines) {
  int top = top_ + lines;
  // Find Mark may have put the top line beyond the last page; moving down
  // from there stays put rather than jumping back.
  if (lines > 0) top = std::min(top, std::max(MaxTop(), top_));
  top_ = std::max(0, top);
}

void AnalysisTableModel::End() { top_ = MaxTop(); }

void AnalysisTableModel::ScrollTo(int line) { top_ = std::clamp(line, 0, MaxTop()); }

bool AnalysisTableModel::Select(int line) {
  if (line < 0 || line >= LineCount()) return false;
  if (selected_ >= 0) view_.WriteKind(selected_, replacedKind_);
  replacedKind_ = view_.Kind(line);
  selected_ = line;
  return view_.WriteKind(line, kKindSelected);
}

int AnalysisTableModel::LineAt(int y) const {
  if (y < kTableTop) return -1;
  const int row = (y - kTableTop) / kRowHeight;
  if (row >= kRows) return -1;
  const int line = top_ + row;
  return line < LineCount() ? line : -1;
}

bool AnalysisTableModel::SelectByClick(int downX, int downY, int upX, int upY) {
  if (std::abs(upX - downX) > kClickSlack || std::abs(upY - downY) > kClickSlack) return false;
  if (upX < kTableLeft || upX > kTableRight || upY > kTableBottom) return false;
  const int line = LineAt(upY);
  return line >= 0 && Select(line);
}

bool AnalysisTableModel::FindNextMark(const MessageHook& message) {
  const auto tell = [&](const char* text, const char* caption) {
    if (message) message(text, caption);
    return false;
  };
  if (!HasView()) return tell(analysis_text::kNoLogOpened, analysis_text::kNoLogOpenedTitle);
  const int count = LineCount();
  if (top_ + kRows >= count) return tell(analysis_text::kEndOfFile, analysis_text::kEndOfFileTitle);
  constexpr int kBlock = 256;
  std::vector<char> block(static_cast<std::size_t>(kBlock) * kViewLineSize);
  for (int first = top_ + 1; first < count; first += kBlock) {
    const int got = view_.ReadLines(first, kBlock, block.data());
    for (int i = 0; i < got; ++i) {
      if (block[i * kViewLineSize + view_field::kKind] != kKindPlain) {
        top_ = first + i;
        return true;
      }
    }
    if (got < kBlock) break;
  }
  return tell(analysis_text::kEndOfFile, analysis_text::kEndOfFileTitle);
}

int AnalysisTableModel::QuarterMileStart(const MessageHook& message) {
  if (LineCount() == 0) {
    if (message) message(analysis_text::kNoLogOpened, analysis_text::kNoLogOpenedTitle);
    return -1;
  }
  if (selected_ >= 0) {
    top_ = selected_;
  } else {
    Select(top_);
  }
  return top_;
}

ExportResult AnalysisTableModel::Rebuild(const std::string& logPath, const Settings& settings,
                                         const ExportHooks& hooks) {
  const int selected = selected_;
  const ExportResult result = BuildViewFile(view_, logPath, settings, hooks);
  selected_ = -1;
  replacedKind_ = kKindPlain;
  if (selected >= 0) Select(selected);
  if (top_ >= LineCount()) top_ = MaxTop();
  return result;
}

}  // namespace vantor
