// The Qt host's native controls: made by kind, addressed by id, their
// user actions reported to the layer (never the layer's own changes).

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>
#include <QThread>
#include <QWheelEvent>

#include "ui/qt/qt_window.h"

namespace vantor::ui {
namespace {

using namespace control_style;

// A button over something the window paints: it draws nothing itself.
class DrawnByWindow final : public QAbstractButton {
 public:
  using QAbstractButton::QAbstractButton;

 protected:
  void paintEvent(QPaintEvent*) override {}
};

// A group box that draws its title and an etched frame line only: a style's
// panel fill would lie over what the window paints under it.
class FrameOnlyBox final : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const QRect frame = rect().adjusted(0, metrics.height() / 2, -1, -1);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(QColor(255, 255, 255));
    painter.drawRect(frame.adjusted(1, 1, 0, 0));
    const QRect caption(8, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
    painter.fillRect(caption, palette().window());
    painter.setPen(palette().windowText().color());
    painter.drawText(caption, Qt::AlignCenter, title());
  }
};

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

void UseColours(QWidget* widget, const ControlColours& colours) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, ToQColor(colours.text));
  if (colours.background) {
    palette.setColor(QPalette::ButtonText, ToQColor(colours.text));
    palette.setColor(QPalette::Window, ToQColor(*colours.background));
    palette.setColor(QPalette::Button, ToQColor(*colours.background));
  }
  if (colours.disabledText) palette.setColor(QPalette::Disabled, QPalette::WindowText, ToQColor(*colours.disabledText));
  widget->setPalette(palette);
  if (colours.fill) widget->setAutoFillBackground(true);
}

std::optional<ScrollRequest> RequestOf(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: return ScrollRequest::LineUp;
    case QAbstractSlider::SliderSingleStepAdd: return ScrollRequest::LineDown;
    case QAbstractSlider::SliderPageStepSub: return ScrollRequest::PageUp;
    case QAbstractSlider::SliderPageStepAdd: return ScrollRequest::PageDown;
    case QAbstractSlider::SliderToMinimum: return ScrollRequest::Top;
    case QAbstractSlider::SliderToMaximum: return ScrollRequest::Bottom;
    case QAbstractSlider::SliderMove: return ScrollRequest::Track;
    default: return std::nullopt;
  }
}

}  // namespace

void QtWindow::Place(QWidget* widget, const Rect& r) const {
  if (units_)
    widget->setGeometry(units_->Rect(r.left, r.top, r.Width(), r.Height()));
  else
    widget->setGeometry(r.left, r.top, r.Width(), r.Height());
}

QWidget* QtWindow::Make(const ControlSpec& spec, QWidget* parent, Control& control) {
  const QString text = QString::fromStdString(spec.text);
  switch (spec.kind) {
    case ControlKind::Button: {
      if (spec.style & kDrawnByWindow) {
        auto* button = new DrawnByWindow(parent);
        button->setText(text);
        return button;
      }
      auto* button = new QPushButton(text, parent);
      if (units_) button->setAutoDefault(false);
      if (spec.style & kDefault) button->setDefault(true);
      return button;
    }
    case ControlKind::CheckBox: {
      if (spec.style & kPushLike) {
        auto* button = new QPushButton(text, parent);
        button->setCheckable(true);
        return button;
      }
      return new QCheckBox(text, parent);
    }
    case ControlKind::RadioButton: {
      auto* radio = new QRadioButton(text, parent);
      if ((spec.style & kGroupStart) || !radioGroup_) {
        radioGroup_ = new QButtonGroup(parent);
        control.group = radioGroup_;
      }
      radioGroup_->addButton(radio);
      return radio;
    }
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(text, parent);
      if (spec.style & kDigitsOnly) edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
      if (spec.maxLength > 0) edit->setMaxLength(spec.maxLength);
      return edit;
    }
    case ControlKind::ComboBox: {
      auto* box = new QComboBox(parent);
      for (const std::string& item : spec.items) box->addItem(QString::fromStdString(item));
      return box;
    }
    case ControlKind::Trackbar: {
      auto* slider = new QSlider(Qt::Horizontal, parent);
      if (spec.style & kTicks) slider->setTickPosition(QSlider::TicksBelow);
      return slider;
    }
    case ControlKind::Tab: {
      // The tabs across the top, the page's panel under them.
      auto* tabs = new QTabBar(parent);
      auto* panel = new QFrame(parent);
      panel->setFrameShape(QFrame::StyledPanel);
      for (const std::string& item : spec.items) tabs->addTab(QString::fromStdString(item));
      Place(panel, spec.rect);
      tabArea_ = panel->geometry();
      const int tabHeight = units_ ? units_->Y(12) : 20;
      panel->setGeometry(tabArea_.adjusted(0, tabHeight, 0, 0));
      control.frame = panel;
      panel->show();
      tabs->setGeometry(tabArea_.x(), tabArea_.y(), tabArea_.width(), tabHeight);
      return tabs;
    }
    case ControlKind::ScrollBar:
      return new QScrollBar(spec.style & kHorizontal ? Qt::Horizontal : Qt::Vertical, parent);
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(parent);
      bar->setTextVisible(false);
      return bar;
    }
    case ControlKind::GroupBox:
      if (spec.style & kFrameOnly) {
        auto* box = new FrameOnlyBox(text, parent);
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        return box;
      }
      return new QGroupBox(text, parent);
    case ControlKind::StaticText: {
      auto* label = new QLabel(text, parent);
      if (spec.style & kWordWrap) label->setWordWrap(true);
      return label;
    }
  }
  return nullptr;
}

// The user's actions on a control, as notices to the layer.
void QtWindow::Wire(int id, Control& control) {
  QWidget* widget = control.widget;
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    connect(button, &QAbstractButton::clicked, this, [this, id](bool checked) { Notify(id, ControlAction::Clicked, checked); });
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    connect(edit, &QLineEdit::textEdited, this, [this, id, edit] { Notify(id, ControlAction::Edited, edit->cursorPosition()); });
  } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
    connect(box, &QComboBox::activated, this, [this, id](int index) { Notify(id, ControlAction::Changed, index); });
  } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
    connect(tabs, &QTabBar::currentChanged, this, [this, id](int index) { Notify(id, ControlAction::Changed, index); });
  } else if (auto* bar = qobject_cast<QScrollBar*>(widget)) {
    // The bar has not applied a step yet: the layer moves and sets the bar's
    // position, which the bar then keeps.
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, id, bar](int action) {
      if (auto request = RequestOf(action)) Notify(id, ControlAction::Scrolled, bar->sliderPosition(), *request);
    });
  } else if (auto* slider = qobject_cast<QSlider*>(widget)) {
    connect(slider, &QSlider::valueChanged, this, [this, id](int value) { Notify(id, ControlAction::Changed, value); });
  }
  widget->installEventFilter(this);
}

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
  int id = 0;
  const Control* control = nullptr;
  for (const auto& [key, entry] : controls_)
    if (entry.widget == watched) {
      id = key;
      control = &entry;
    }
  if (!control) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      if (Key(static_cast<QKeyEvent*>(event), id)) return true;
      break;
    case QEvent::MouseButtonDblClick:
      if (control->style & kDoubleClicks) Notify(id, ControlAction::DoubleClicked);
      break;
    case QEvent::Wheel:
      // A wheel turn over a scroll bar moves a line, as it does over the window.
      if (control->kind == ControlKind::ScrollBar) {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0) Notify(id, ControlAction::Scrolled, 0, delta > 0 ? ScrollRequest::LineUp : ScrollRequest::LineDown);
        return true;
      }
      break;
    case QEvent::FocusOut: {
      // Only a move to another control of this window is leaving an edit.
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (control->kind == ControlKind::Edit && reason != Qt::ActiveWindowFocusReason &&
          reason != Qt::PopupFocusReason && top_->isVisible())
        Notify(id, ControlAction::FocusLost);
      break;
    }
    default: break;
  }
  return QObject::eventFilter(watched, event);
}

void QtWindow::CreateControl(const ControlSpec& spec) {
  Remove(spec.id);
  QWidget* parent = view_ ? static_cast<QWidget*>(view_) : top_.data();
  Control control;
  control.kind = spec.kind;
  control.style = spec.style;
  QWidget* widget = Make(spec, parent, control);
  control.widget = widget;
  if (spec.kind != ControlKind::Tab) Place(widget, spec.rect);
  if (spec.colours) UseColours(widget, *spec.colours);
  if (spec.style & kTextLeft) widget->setLayoutDirection(Qt::RightToLeft);
  if (spec.style & kClickFocus) widget->setFocusPolicy(Qt::ClickFocus);
  if (spec.style & kNoFocus) widget->setFocusPolicy(Qt::NoFocus);
  if (spec.kind == ControlKind::ScrollBar && !(spec.style & kNoFocus)) widget->setFocusPolicy(Qt::StrongFocus);
  controls_[spec.id] = control;
  Wire(spec.id, controls_[spec.id]);
  widget->setVisible(!(spec.style & kHidden));
}

void QtWindow::Remove(int id) {
  const auto found = controls_.find(id);
  if (found == controls_.end()) return;
  Control control = found->second;
  controls_.erase(found);
  if (control.group == radioGroup_) radioGroup_ = nullptr;
  delete control.widget;
  delete control.frame;
  delete control.group;
}

void QtWindow::DestroyControl(int id) { Remove(id); }

const QtWindow::Control* QtWindow::Find(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : &found->second;
}

// ---- states ----

void QtWindow::SetText(int id, const std::string& text) {
  const Control* control = Find(id);
  if (!control) return;
  const QString value = QString::fromStdString(text);
  if (auto* button = qobject_cast<QAbstractButton*>(control->widget)) button->setText(value);
  if (auto* edit = qobject_cast<QLineEdit*>(control->widget)) edit->setText(value);
  if (auto* label = qobject_cast<QLabel*>(control->widget)) label->setText(value);
  if (auto* box = qobject_cast<QGroupBox*>(control->widget)) box->setTitle(value);
}

std::string QtWindow::Text(int id) const {
  const Control* control = Find(id);
  if (!control) return {};
  if (auto* edit = qobject_cast<QLineEdit*>(control->widget)) return edit->text().toStdString();
  if (auto* box = qobject_cast<QComboBox*>(control->widget)) return box->currentText().toStdString();
  if (auto* label = qobject_cast<QLabel*>(control->widget)) return label->text().toStdString();
  if (auto* button = qobject_cast<QAbstractButton*>(control->widget)) return button->text().toStdString();
  return {};
}

void QtWindow::SetChecked(int id, bool checked) {
  if (const Control* control = Find(id))
    if (auto* button = qobject_cast<QAbstractButton*>(control->widget)) button->setChecked(checked);
}

bool QtWindow::Checked(int id) const {
  const Control* control = Find(id);
  auto* button = control ? qobject_cast<QAbstractButton*>(control->widget) : nullptr;
  return button && button->isChecked();
}

void QtWindow::SetValue(int id, int value) {
  const Control* control = Find(id);
  if (!control) return;
  const QSignalBlocker quiet(control->widget);
  if (auto* bar = qobject_cast<QProgressBar*>(control->widget)) {
    bar->setValue(value);
    // Shown at once: an export holds this thread while it steps.
    if (QThread::currentThread() == bar->thread()) bar->repaint();
  } else if (auto* slider = qobject_cast<QAbstractSlider*>(control->widget)) {
    slider->setValue(value);
    slider->setSliderPosition(slider->value());
  } else if (auto* box = qobject_cast<QComboBox*>(control->widget)) {
    box->setCurrentIndex(value);
  } else if (auto* tabs = qobject_cast<QTabBar*>(control->widget)) {
    tabs->setCurrentIndex(value);
  }
}

int QtWindow::Value(int id) const {
  const Control* control = Find(id);
  if (!control) return 0;
  if (auto* bar = qobject_cast<QProgressBar*>(control->widget)) return bar->value();
  if (auto* slider = qobject_cast<QAbstractSlider*>(control->widget)) return slider->value();
  if (auto* box = qobject_cast<QComboBox*>(control->widget)) return box->currentIndex();
  if (auto* tabs = qobject_cast<QTabBar*>(control->widget)) return tabs->currentIndex();
  return 0;
}

void QtWindow::SetRange(int id, int minimum, int maximum, int page) {
  const Control* control = Find(id);
  if (!control) return;
  const QSignalBlocker quiet(control->widget);
  if (auto* bar = qobject_cast<QProgressBar*>(control->widget)) bar->setRange(minimum, maximum);
  if (auto* scroll = qobject_cast<QScrollBar*>(control->widget)) {
    scroll->setRange(minimum, maximum);
    scroll->setPageStep(page);
    scroll->setSingleStep(1);
  } else if (auto* slider = qobject_cast<QSlider*>(control->widget)) {
    slider->setRange(minimum, maximum);
    slider->setTickInterval(std::max(1, (maximum - minimum) / 10));
  }
}

void QtWindow::SetItemText(int id, int item, const std::string& text) {
  if (const Control* control = Find(id))
    if (auto* box = qobject_cast<QComboBox*>(control->widget)) box->setItemText(item, QString::fromStdString(text));
}

void QtWindow::SetEnabled(int id, bool enabled) {
  if (const Control* control = Find(id)) control->widget->setEnabled(enabled);
}

void QtWindow::SetShown(int id, bool shown) {
  if (const Control* control = Find(id)) control->widget->setVisible(shown);
}

void QtWindow::Focus(int id, bool byKey) {
  QWidget* widget = id == 0 ? static_cast<QWidget*>(view_) : nullptr;
  if (const Control* control = Find(id); control && id != 0) widget = control->widget;
  if (widget) widget->setFocus(byKey ? Qt::TabFocusReason : Qt::OtherFocusReason);
}

int QtWindow::FocusedControl() const {
  const QWidget* focused = QApplication::focusWidget();
  if (!focused) return -1;
  if (focused == view_) return 0;
  for (const auto& [id, control] : controls_)
    if (control.widget == focused) return id;
  return -1;
}

void QtWindow::SelectText(int id, int from, int to) {
  const Control* control = Find(id);
  auto* edit = control ? qobject_cast<QLineEdit*>(control->widget) : nullptr;
  if (!edit) return;
  if (from == to)
    edit->setCursorPosition(from);
  else if (from == 0 && to < 0)
    edit->selectAll();
  else
    edit->setSelection(from, (to < 0 ? static_cast<int>(edit->text().size()) : to) - from);
}

// ---- dialog pages ----

void QtWindow::ClearPage() {
  for (auto it = controls_.begin(); it != controls_.end();) {
    if (it->second.onPage) {
      if (it->second.group == radioGroup_) radioGroup_ = nullptr;
      it = controls_.erase(it);
    } else {
      ++it;
    }
  }
  delete page_.data();  // with its controls
}

void QtWindow::ShowPage(int, Point corner, Point shrink, const std::vector<ControlSpec>& controls) {
  ClearPage();
  page_ = new QWidget(top_);
  page_->setGeometry(corner.x, corner.y, tabArea_.width() - shrink.x, tabArea_.height() - shrink.y);
  for (const ControlSpec& spec : controls) {
    Control control;
    control.kind = spec.kind;
    control.style = spec.style;
    control.onPage = true;
    control.widget = Make(spec, page_, control);
    Place(control.widget, spec.rect);
    controls_[spec.id] = control;
    Wire(spec.id, controls_[spec.id]);
    control.widget->setVisible(!(spec.style & kHidden));
  }
  page_->show();
}

}  // namespace vantor::ui
