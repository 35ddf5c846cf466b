#include "ui/qt/qt_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QShortcut>
#include <QThread>
#include <QTimer>

#include "ui/qt/app_icon.h"

namespace vantor::ui {
namespace {

constexpr Qt::WindowFlags kFixedFrame = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                        Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                                        Qt::MSWindowsFixedSizeDialogHint;
constexpr Qt::WindowFlags kToolFrame =
    Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint;

Key KeyOf(const QKeyEvent* event, bool* shift) {
  switch (event->key()) {
    case Qt::Key_Backtab: *shift = true; return Key::Tab;
    case Qt::Key_Tab: return Key::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Key::Enter;
    case Qt::Key_Escape: return Key::Escape;
    case Qt::Key_Space: return Key::Space;
    case Qt::Key_Shift: return Key::Shift;
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_PageUp: return Key::PageUp;
    case Qt::Key_PageDown: return Key::PageDown;
    case Qt::Key_Home: return Key::Home;
    case Qt::Key_End: return Key::End;
    default: return Key::Other;
  }
}

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

}  // namespace

// ---- the client view ----

ClientView::ClientView(QtWindow& window, PixelSource* pixels, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), window_(&window), pixels_(pixels) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
}

void ClientView::Detach() {
  window_ = nullptr;
  pixels_ = nullptr;
}

// Only the areas asked for: separate small updates stay separate.
void ClientView::paintEvent(QPaintEvent* event) {
  if (!pixels_) return;
  QPainter painter(this);
  pixels_->ReadPixels([&](const std::uint32_t* pixels, int width, int height) {
    const QImage image(reinterpret_cast<const uchar*>(pixels), width, height, width * 4, QImage::Format_RGB32);
    for (const QRect& area : event->region()) painter.drawImage(area, image, area);
  });
}

void ClientView::keyPressEvent(QKeyEvent* event) {
  if (!window_ || !window_->Key(event, 0)) QWidget::keyPressEvent(event);
}

void ClientView::keyReleaseEvent(QKeyEvent* event) {
  if (!window_ || !window_->Key(event, 0)) QWidget::keyReleaseEvent(event);
}

void ClientView::mouseMoveEvent(QMouseEvent* event) {
  if (window_) window_->Mouse(MouseAction::Move, event->position(), event->buttons() & Qt::LeftButton);
}

void ClientView::mousePressEvent(QMouseEvent* event) {
  if (window_) window_->Mouse(MouseAction::Press, event->position(), event->button() == Qt::LeftButton);
}

void ClientView::mouseReleaseEvent(QMouseEvent* event) {
  if (window_) window_->Mouse(MouseAction::Release, event->position(), event->button() == Qt::LeftButton);
}

void ClientView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (window_) window_->Mouse(MouseAction::DoubleClick, event->position(), event->button() == Qt::LeftButton);
}

void ClientView::wheelEvent(QWheelEvent* event) {
  if (window_) window_->Mouse(MouseAction::Wheel, event->position(), false, event->angleDelta().y());
  event->accept();
}

void ClientView::enterEvent(QEnterEvent* event) {
  if (window_) window_->Mouse(MouseAction::Enter, event->position(), false);
  QWidget::enterEvent(event);
}

void ClientView::leaveEvent(QEvent* event) {
  if (window_) window_->Mouse(MouseAction::Leave, QPointF(), false);
  QWidget::leaveEvent(event);
}

void ClientView::closeEvent(QCloseEvent* event) {
  if (!window_ || window_->CloseRequested())
    event->accept();
  else
    event->ignore();
}

// The main window's frame: its close box asks the layer too.
class MainFrame final : public QMainWindow {
 public:
  explicit MainFrame(QtWindow& window) : window_(&window) {}
  void Detach() { window_ = nullptr; }

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (!window_ || window_->CloseRequested())
      event->accept();
    else
      event->ignore();
  }

 private:
  QtWindow* window_;
};

// ---- the window ----

QtWindow::QtWindow(const WindowSpec& spec, WindowEvents& events, PixelSource* pixels, QWidget* owner)
    : events_(&events) {
  if (spec.kind == WindowKind::Main) {
    auto* frame = new MainFrame(*this);
    frame->setWindowFlags(kFixedFrame);
    view_ = new ClientView(*this, pixels, frame, {});
    frame->setCentralWidget(view_);
    frame->layout()->setSizeConstraint(QLayout::SetFixedSize);
    top_ = frame;
  } else {
    view_ = new ClientView(*this, pixels, owner, spec.kind == WindowKind::Tool ? kToolFrame : kFixedFrame);
    if (spec.kind == WindowKind::Popup) view_->setObjectName("QTRGRAPH");
    top_ = view_;
  }
  top_->setWindowTitle(QString::fromStdString(spec.title));
  top_->setWindowIcon(AppIcon());
  view_->setFixedSize(spec.width, spec.height);
  if (spec.colours) {
    QPalette palette = view_->palette();
    palette.setColor(QPalette::Window, QColor(spec.colours->background->r, spec.colours->background->g,
                                              spec.colours->background->b));
    palette.setColor(QPalette::WindowText, QColor(spec.colours->text.r, spec.colours->text.g, spec.colours->text.b));
    view_->setPalette(palette);
  }
}

QtWindow::QtWindow(QWidget* dialog, WindowEvents& events) : events_(&events), top_(dialog), units_(DialogFont()) {}

// The layer may let a window go from inside one of its own events: the
// widgets go once the event loop is back.
QtWindow::~QtWindow() {
  events_ = nullptr;
  for (auto& [id, timer] : timers_) timer->stop();
  if (view_) view_->Detach();
  if (auto* frame = dynamic_cast<MainFrame*>(top_.data())) frame->Detach();
  if (top_ && !qobject_cast<QDialog*>(top_)) {
    top_->hide();
    top_->deleteLater();
  }
}

bool QtWindow::Key(QKeyEvent* event, int control) {
  if (!events_) return false;
  KeyEvent key;
  key.shift = event->modifiers() & Qt::ShiftModifier;
  key.alt = event->modifiers() & Qt::AltModifier;
  key.key = KeyOf(event, &key.shift);
  const QString text = event->text();
  if (text.size() == 1) key.text = text[0].toLatin1();
  key.press = event->type() == QEvent::KeyPress;
  key.control = control;
  return events_->OnKey(key);
}

void QtWindow::Mouse(MouseAction action, QPointF at, bool left, int wheel) {
  if (events_) events_->OnMouse(MouseEvent{action, Point{at.toPoint().x(), at.toPoint().y()}, left, wheel});
}

bool QtWindow::CloseRequested() { return !events_ || events_->OnCloseRequest(); }

void QtWindow::Notify(int id, ControlAction action, int value, ScrollRequest scroll) {
  if (events_) events_->OnControl(ControlEvent{id, action, value, scroll});
}

void QtWindow::Show() { top_->show(); }
void QtWindow::Hide() { top_->hide(); }

void QtWindow::Close() {
  if (auto* dialog = qobject_cast<QDialog*>(top_))
    dialog->done(QDialog::Accepted);
  else
    top_->close();
}

Point QtWindow::Position() const { return Point{top_->pos().x(), top_->pos().y()}; }
void QtWindow::Move(Point at) { top_->move(at.x, at.y); }
bool QtWindow::Minimised() const { return top_->isMinimized(); }
void QtWindow::Activate() { top_->activateWindow(); }
bool QtWindow::Active() const { return top_->isActiveWindow(); }

// ---- the menu ----

QAction* QtWindow::AddItem(QMenu* menu, QWidget* bar, const MenuItem& item) {
  const QString text = QString::fromStdString(item.text);
  if (item.IsSubmenu()) {
    QMenu* sub = menu ? menu->addMenu(text) : static_cast<QMenuBar*>(bar)->addMenu(text);
    menus_[item.id] = sub;
    AddItems(sub, item.items);
    if (item.refreshOnOpen)
      connect(sub, &QMenu::aboutToShow, this, [this, id = item.id] {
        if (events_) events_->OnMenuOpening(id);
      });
    sub->menuAction()->setEnabled(item.enabled);
    return sub->menuAction();
  }
  if (item.text.empty()) return menu ? menu->addSeparator() : nullptr;
  QAction* action = menu ? menu->addAction(text) : static_cast<QMenuBar*>(bar)->addAction(text);
  action->setEnabled(item.enabled);
  action->setCheckable(item.checkable);
  action->setChecked(item.checked);
  connect(action, &QAction::triggered, this, [this, id = item.id] {
    if (events_) events_->OnCommand(id);
  });
  actions_[item.id] = action;
  return action;
}

void QtWindow::AddItems(QMenu* menu, const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) AddItem(menu, nullptr, item);
}

void QtWindow::SetMenu(const std::vector<MenuItem>& bar, const std::vector<Accelerator>& keys) {
  auto* frame = qobject_cast<QMainWindow*>(top_);
  if (!frame) return;
  for (const MenuItem& item : bar) AddItem(nullptr, frame->menuBar(), item);
  for (const Accelerator& accelerator : keys) {
    const QString sequence = QString(accelerator.alt ? "Alt+" : "") + QChar(accelerator.key);
    new QShortcut(QKeySequence(sequence), frame, [this, command = accelerator.command] {
      if (events_) events_->OnCommand(command);
    });
  }
}

// The items it had go once the menu has used them (it may be opening now).
void QtWindow::SetMenuItems(int submenu, const std::vector<MenuItem>& items) {
  const auto found = menus_.find(submenu);
  if (found == menus_.end() || !found->second) return;
  QMenu* menu = found->second;
  for (QAction* action : menu->actions()) {
    menu->removeAction(action);
    action->deleteLater();
  }
  AddItems(menu, items);
}

void QtWindow::SetMenuItemState(const MenuItem& item) {
  if (const auto action = actions_.find(item.id); action != actions_.end() && action->second) {
    action->second->setText(QString::fromStdString(item.text));
    action->second->setEnabled(item.enabled);
    action->second->setChecked(item.checked);
  } else if (const auto menu = menus_.find(item.id); menu != menus_.end() && menu->second) {
    menu->second->menuAction()->setEnabled(item.enabled);
  }
}

// ---- the canvas and timers ----

void QtWindow::Invalidate(const Rect& area) {
  // update() only queues a paint event, but it must be called on the widget's thread.
  QMetaObject::invokeMethod(qApp, [view = view_, rect = ToQRect(area)] {
    if (view) view->update(rect);
  }, Qt::QueuedConnection);
}

void QtWindow::PresentNow(const Rect& area) {
  if (view_) view_->repaint(ToQRect(area));
}

void QtWindow::StartTimer(int id, int milliseconds, bool once) {
  QTimer*& timer = timers_[id];
  if (!timer) {
    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this, id] {
      if (events_) events_->OnTimer(id);
    });
  }
  timer->setSingleShot(once);
  timer->start(milliseconds);
}

void QtWindow::StopTimer(int id) {
  if (const auto found = timers_.find(id); found != timers_.end()) found->second->stop();
}

}  // namespace vantor::ui
