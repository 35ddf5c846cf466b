#pragma once
// The VE learn display: one of VE learn's three tables as a text grid, the
// cell of the current operating point highlighted, the wideband warning and
// the overflow text. It feeds VE learn its frames and is redrawn by VE
// learn's frame update every (updateDivisor + 1)-th frame while shown.
// Threads: OnFrame and Redraw run on the display thread, Paint on the
// user-interface thread under the surface's lock; the tables are read under
// VE learn's lock, always taken after the surface's.

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "cal/ve_table.h"

#include "live/frame_consumer.h"
#include "ui/draw/display_painter.h"
#include "ui/draw/draw_surface.h"
#include "ui/draw/live_view.h"
#include "ui/draw/status_panel.h"

namespace vantor {
class VeLearn;
}

namespace vantor::ui {

enum class VeTableShown : int { Original = 0, Learned = 1, Corrections = 2 };

struct VeCell {
  int row = 0;
  int column = 0;
  friend constexpr bool operator==(VeCell, VeCell) = default;
};

// The grid cell of the operating point: mapIndex = MAP - 20 (not below 0),
// rpmIndex = VE learn's RPM bin.
VeCell HighlightedCell(int mapIndex, int rpmIndex);
// One "%3d " field (or "  . " for a correction never made).
std::string VeCellText(VeTableShown table, std::int32_t cell);
// 35 rows once a table has been read from a BIN, 32 (to 6500 RPM) before.
int VeRowCount(bool tableRead);

class VeLearnDisplay final : public DisplayBody, public FrameConsumer {
 public:
  VeLearnDisplay(VeLearn& learn, const LiveView& view, StatusPanel& panel, DrawSurface& surface);

  // The status panel's values follow the frame before VE learn may redraw.
  void OnFrame(const std::uint8_t* data, bool draw) override;
  // VE learn's redraw: the panel's values, then the table; only what changed
  // since the last drawing is drawn again (the same pixels as drawing it all).
  void Redraw();
  // Paint request: the frame and the whole table.
  void Paint(Canvas& canvas) override;

  void SetShown(VeTableShown table) { shown_.store(static_cast<int>(table), std::memory_order_release); }
  VeTableShown Shown() const { return static_cast<VeTableShown>(shown_.load(std::memory_order_acquire)); }

 private:
  // What is on screen, so a redraw can leave the rest alone.
  struct Drawn {
    std::string title, header;
    std::array<std::string, kVeRows + 1> rows;
    bool highlightShown = false;
    VeCell highlight;
    Rgb highlightColour;
    std::string highlightText;
    bool warning = false;
    std::string overflow;
    std::string rpm, map;
  };

  void DrawFrame(Canvas& canvas);
  void DrawGrid(Canvas& canvas);
  bool DrawRows(Canvas& canvas, VeTableShown shown, const VeTable& table, int forcedRow, int highlightRow);
  void DrawNotes(Canvas& canvas);

  VeLearn& learn_;
  const LiveView& view_;
  StatusPanel& panel_;
  DrawSurface& surface_;
  std::atomic<int> shown_{0};
  Drawn drawn_;  // under the surface's lock
};

}  // namespace vantor::ui
