#pragma once
// The spark knock map display: one statistic of one grid as a text table in
// a tabbed panel, the cell of the current operating point highlighted, and
// the engine speed and MAP readouts. Every frame feeds the map; every
// (updateDivisor + 1)-th frame on screen redraws the table.
// Threads: OnFrame runs on the display thread, Paint and the selections on
// the user-interface thread; all state is touched under the surface's lock.

#include <cstdint>
#include <string>

#include "live/frame_consumer.h"
#include "settings/settings.h"
#include "ui/draw/display_painter.h"
#include "ui/draw/draw_surface.h"
#include "ui/draw/knock_map.h"
#include "ui/draw/live_view.h"
#include "ui/draw/status_panel.h"

namespace vantor::ui {

// The table's cell text: "%3d " of hundredths / 100, or "  . " for an empty cell.
std::string KnockCellText(std::uint32_t hundredths);
const char* KnockStatisticTitle(KnockStatistic statistic);
// Top-left of a cell's highlight box.
Point KnockCellOrigin(KnockGrid grid, KnockCell cell);

class KnockDisplay final : public FrameConsumer, public DisplayBody {
 public:
  KnockDisplay(const Settings& settings, const LiveView& view, StatusPanel& panel, DrawSurface& surface);

  void OnFrame(const std::uint8_t* data, bool draw) override;
  void Paint(Canvas& canvas) override;

  // These take the surface's lock themselves; the caller repaints.
  void SelectStatistic(KnockStatistic statistic);
  void SelectGrid(KnockGrid grid);
  void ClearData();
  KnockStatistic Statistic() const { return statistic_; }
  KnockGrid GridShown() const { return shown_; }
  // Any thread: the running knock total (the gauge display's knock bar).
  unsigned KnockTotal() const { return map_.Total(); }
  const KnockMap& Map() const { return map_; }

 private:
  void DrawFrame(Canvas& canvas);
  void DrawTable(Canvas& canvas);
  void DrawHighlight(Canvas& canvas);

  const Settings& settings_;
  const LiveView& view_;
  StatusPanel& panel_;
  DrawSurface& surface_;
  KnockMap map_;
  KnockStatistic statistic_ = KnockStatistic::Average;
  KnockGrid shown_ = KnockGrid::Standard;
  int redrawCounter_ = 0;
};

}  // namespace vantor::ui
