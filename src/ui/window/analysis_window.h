#pragma once
// The Analysis display's window side: its controls on the main window, the
// view file and table, the keys, mouse and scroll bar, View Log, Dump Log,
// Find Mark and the "1/4 Mile Graph". The display thread idles on the
// analysis byte source while it is open.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "live/byte_source.h"
#include "logs/analysis_table_model.h"
#include "logs/analysis_view_file.h"
#include "settings/settings.h"
#include "ui/draw/analysis_controls.h"
#include "ui/draw/analysis_painter.h"
#include "ui/draw/draw_surface.h"
#include "ui/window/qtr_graph_window.h"

namespace vantor::ui {

// What the window works with, owned by the program.
struct AnalysisParts {
  Settings& settings;
  ByteSources& sources;
  std::string viewDirectory;  // where the temporary view file goes (beside the configuration)
  Host& host;
  WindowHost& window;         // the main window: its controls' window, owner of the graph
  DrawSurface& surface;       // its picture
  MessageHook message;        // a message box
  // A data log chooser: title, start directory, start name; empty when cancelled.
  std::function<std::string(const std::string&, const std::string&, const std::string&)> chooseFile;
};

class AnalysisWindow {
 public:
  static constexpr int kFirstControl = 200;
  static constexpr int kProgress = 210;

  explicit AnalysisWindow(AnalysisParts parts);
  ~AnalysisWindow();

  DisplayBody& Body() { return face_; }
  // OpenAnalysisWindow / CloseAnalysisWindow; closing acts only when open.
  void Open();
  void Close();
  bool IsOpen() const { return open_; }

  // The controls' commands.
  void ViewLog();
  void DumpLog();
  void FindMark();
  void QuarterMile();
  // ViewLog and DumpLog past their choosers.
  bool ViewLogFile(const std::string& path);
  ExportResult DumpLogFile(const std::string& path);
  // The Preferences or User Devices dialog changed the settings: the next
  // paint rebuilds the table.
  void SettingsChanged() { settingsChanged_ = true; }

  // The main window's events while the display is open; false when not this window's.
  bool OnKey(const KeyEvent& key);
  bool OnControl(const ControlEvent& event);
  void OnMouse(const MouseEvent& mouse);
  void Scroll(TableScroll move);
  void ScrollToLine(int line);
  // A next-control request: the focus moves on (or back).
  void NextControl(bool backwards);

  const AnalysisTableModel& Table() const { return table_; }
  static int ControlId(AnalysisControl control) { return kFirstControl + static_cast<int>(control); }
  QtrGraphWindow* Graph() const;

 private:
  class Face final : public DisplayBody {
   public:
    explicit Face(AnalysisWindow& window) : window_(window) {}
    void Paint(Canvas& canvas) override;

   private:
    AnalysisWindow& window_;
  };

  void CreateControls();
  void DestroyControls();
  void Moved();
  void RedrawRows();
  void SyncScrollBars();
  void ShowQuarterMile();
  void CloseGraph();
  void Rebuild();
  ExportHooks Hooks();
  bool CanRead(const std::string& path);

  AnalysisParts parts_;
  AnalysisViewFile view_;
  AnalysisTableModel table_{view_};
  AnalysisPainter painter_{table_, parts_.settings};
  Face face_{*this};
  std::unique_ptr<QtrGraphWindow> graph_;
  bool graphClosed_ = false;  // closed by the user, let go once its event is over
  std::optional<ByteSourceId> rememberedSource_;
  bool open_ = false;
  bool progress_ = false;
  bool settingsChanged_ = false;
  bool releaseAfterDoubleClick_ = false;
  int downX_ = -1000, downY_ = -1000;
};

}  // namespace vantor::ui
