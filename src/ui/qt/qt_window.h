#pragma once
// The Qt host's window: a top-level widget with the client view that shows
// the layer's pixels, the menu bar, and the native controls by id. A dialog
// is a QtWindow too, its controls placed in dialog units. Qt's events go to
// the layer's WindowEvents.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <map>
#include <optional>

#include "ui/qt/dialog_units.h"
#include "ui/window/window_host.h"

class QAction;
class QButtonGroup;
class QMenu;
class QTimer;

namespace vantor::ui {

class QtWindow;

// The client area: paints the layer's pixels, hands keys and mouse to the window.
class ClientView final : public QWidget {
 public:
  ClientView(QtWindow& window, PixelSource* pixels, QWidget* parent, Qt::WindowFlags flags);
  // Its window is going: nothing more is handed on or painted.
  void Detach();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // TAB is a key of the window (the data log mark), not focus movement.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  QtWindow* window_;
  PixelSource* pixels_;
};

class QtWindow final : public QObject, public WindowHost {
 public:
  // A window of the given kind (owner: the window it belongs to).
  QtWindow(const WindowSpec& spec, WindowEvents& events, PixelSource* pixels, QWidget* owner);
  // A dialog's host over dialog: controls in dialog units.
  QtWindow(QWidget* dialog, WindowEvents& events);
  ~QtWindow() override;

  QWidget* Top() const { return top_; }
  WindowEvents* Events() const { return events_; }
  // From the client view and the controls.
  bool Key(QKeyEvent* event, int control);
  void Mouse(MouseAction action, QPointF at, bool left, int wheel = 0);
  bool CloseRequested();
  void Notify(int id, ControlAction action, int value = 0, ScrollRequest scroll = ScrollRequest::Track);

  void Show() override;
  void Hide() override;
  void Close() override;
  Point Position() const override;
  void Move(Point topLeft) override;
  bool Minimised() const override;
  void Activate() override;
  bool Active() const override;
  void SetMenu(const std::vector<MenuItem>& bar, const std::vector<Accelerator>& keys) override;
  void SetMenuItems(int submenu, const std::vector<MenuItem>& items) override;
  void SetMenuItemState(const MenuItem& item) override;
  void CreateControl(const ControlSpec& spec) override;
  void DestroyControl(int id) override;
  void SetText(int id, const std::string& text) override;
  std::string Text(int id) const override;
  void SetChecked(int id, bool checked) override;
  bool Checked(int id) const override;
  void SetValue(int id, int value) override;
  int Value(int id) const override;
  void SetRange(int id, int minimum, int maximum, int page) override;
  void SetItemText(int id, int item, const std::string& text) override;
  void SetEnabled(int id, bool enabled) override;
  void SetShown(int id, bool shown) override;
  void Focus(int id, bool byKey) override;
  int FocusedControl() const override;
  void SelectText(int id, int from, int to) override;
  void ShowPage(int tab, Point corner, Point shrink, const std::vector<ControlSpec>& controls) override;
  void Invalidate(const Rect& area) override;
  void PresentNow(const Rect& area) override;
  void StartTimer(int id, int milliseconds, bool once) override;
  void StopTimer(int id) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Control {
    QWidget* widget = nullptr;
    ControlKind kind = ControlKind::StaticText;
    unsigned style = 0;
    QButtonGroup* group = nullptr;  // a group's first radio button owns it
    QWidget* frame = nullptr;       // a tab control's panel
    bool onPage = false;
  };

  QWidget* Make(const ControlSpec& spec, QWidget* parent, Control& control);
  void Wire(int id, Control& control);
  void Place(QWidget* widget, const Rect& rect) const;
  const Control* Find(int id) const;
  void AddItems(QMenu* menu, const std::vector<MenuItem>& items);
  QAction* AddItem(QMenu* menu, QWidget* bar, const MenuItem& item);
  void Remove(int id);
  void ClearPage();

  WindowEvents* events_;
  QPointer<QWidget> top_;
  QPointer<ClientView> view_;
  std::optional<DialogUnits> units_;  // a dialog's
  std::map<int, Control> controls_;
  std::map<int, QPointer<QAction>> actions_;
  std::map<int, QPointer<QMenu>> menus_;
  std::map<int, QTimer*> timers_;
  QButtonGroup* radioGroup_ = nullptr;  // the group that radio buttons join
  QPointer<QWidget> page_;
  QRect tabArea_;
};

}  // namespace vantor::ui
