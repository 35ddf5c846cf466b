#pragma once
// The Analysis display's window side: its controls on the main window's
// client area, the view file and table, the keys, mouse and scroll bar,
// View Log, Dump Log, Find Mark and the "1/4 Mile Graph". The display
// thread idles on the analysis byte source while it is open.

#include <QObject>
#include <QPointer>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "live/byte_source.h"
#include "logs/analysis_table_model.h"
#include "logs/analysis_view_file.h"
#include "settings/settings.h"
#include "ui/draw/analysis_controls.h"
#include "ui/draw/analysis_painter.h"
#include "ui/draw/draw_surface.h"
#include "ui/qt/table_scroll.h"

class QProgressBar;
class QScrollBar;
class QWidget;

namespace vantor::ui {

class QtrGraphWindow;

// What the window works with, owned by the program.
struct AnalysisParts {
  Settings& settings;
  ByteSources& sources;
  std::string viewDirectory;  // where the temporary view file goes (beside the configuration)
  QWidget& client;            // the main window's client area: parent of the controls
  DrawSurface& surface;       // its back-buffer
  QWidget* owner;             // owner of the graph window
  MessageHook message;        // a message box
  // A file chooser: title, start directory, start name; empty when cancelled.
  std::function<std::string(const std::string&, const std::string&, const std::string&)> chooseFile;
};

class AnalysisWindow final : public QObject {
  Q_OBJECT
 public:
  explicit AnalysisWindow(AnalysisParts parts);
  ~AnalysisWindow() override;

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

  // Keys from the main window or the graph; false when not a table key.
  bool HandleKey(int key);
  void Scroll(TableScroll move);
  void ScrollToLine(int line);
  // The table rows' mouse: button down and up, double click, wheel.
  void MouseDown(int x, int y);
  void MouseUp(int x, int y);
  void DoubleClick(int x, int y);
  // A next-control request: the focus moves on (or back).
  void NextControl(bool backwards);

  const AnalysisTableModel& Table() const { return table_; }
  QWidget* Control(AnalysisControl id) const { return controls_[static_cast<int>(id)]; }
  QtrGraphWindow* Graph() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

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
  QWidget* CreateControl(const ControlSpec& spec);
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
  std::array<QWidget*, kAnalysisControls.size()> controls_{};
  QScrollBar* scrollBar_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPointer<QtrGraphWindow> graph_;
  std::optional<ByteSourceId> rememberedSource_;
  bool open_ = false;
  bool settingsChanged_ = false;
  bool releaseAfterDoubleClick_ = false;
  int downX_ = -1000, downY_ = -1000;
};

}  // namespace vantor::ui
