#include "ui/qt/table_scroll.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>

#include "logs/analysis_table_model.h"

namespace vantor::ui {

std::optional<TableScroll> ScrollOfKey(int key, bool sideways) {
  switch (key) {
    case Qt::Key_PageUp: return TableScroll::PageUp;
    case Qt::Key_PageDown: return TableScroll::PageDown;
    case Qt::Key_Home: return TableScroll::Top;
    case Qt::Key_End: return TableScroll::Bottom;
    case Qt::Key_Up: return TableScroll::LineUp;
    case Qt::Key_Down: return TableScroll::LineDown;
    case Qt::Key_Left:
      if (sideways) return TableScroll::LineUp;
      break;
    case Qt::Key_Right:
      if (sideways) return TableScroll::LineDown;
      break;
    default: break;
  }
  return std::nullopt;
}

std::optional<TableScroll> ScrollOfWheel(int angleDelta) {
  if (angleDelta == 0) return std::nullopt;
  return angleDelta > 0 ? TableScroll::LineUp : TableScroll::LineDown;
}

namespace {

// A wheel turn over the bar moves the table a line, as it does over the
// table; the bar then follows the table.
class WheelToTable final : public QObject {
 public:
  WheelToTable(QScrollBar* bar, std::function<void(TableScroll)> scroll) : QObject(bar), scroll_(std::move(scroll)) {
    bar->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
    if (auto move = ScrollOfWheel(static_cast<QWheelEvent*>(event)->angleDelta().y())) scroll_(*move);
    return true;
  }

 private:
  std::function<void(TableScroll)> scroll_;
};

}  // namespace

void RouteScrollBar(QScrollBar* bar, std::function<void(TableScroll)> scroll, std::function<void(int)> scrollTo) {
  auto request = [bar, scroll, scrollTo = std::move(scrollTo)](int action) {
    // The bar has not applied a step yet: the table moves and sets the bar's
    // position (SyncScrollBar), which the bar then keeps. A thumb moved by
    // dragging or by any other way takes the table to its position.
    switch (action) {
      case QAbstractSlider::SliderSingleStepSub: scroll(TableScroll::LineUp); break;
      case QAbstractSlider::SliderSingleStepAdd: scroll(TableScroll::LineDown); break;
      case QAbstractSlider::SliderPageStepSub: scroll(TableScroll::PageUp); break;
      case QAbstractSlider::SliderPageStepAdd: scroll(TableScroll::PageDown); break;
      case QAbstractSlider::SliderToMinimum: scroll(TableScroll::Top); break;
      case QAbstractSlider::SliderToMaximum: scroll(TableScroll::Bottom); break;
      case QAbstractSlider::SliderMove: scrollTo(bar->sliderPosition()); break;
      default: break;
    }
  };
  QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, std::move(request));
  new WheelToTable(bar, std::move(scroll));
}

void SyncScrollBar(QScrollBar* bar, int maximum, int topLine) {
  if (!bar) return;
  const QSignalBlocker quiet(bar);
  bar->setRange(0, std::max(0, maximum));
  bar->setPageStep(AnalysisTableModel::kRows);
  bar->setSingleStep(1);
  bar->setValue(std::clamp(topLine, 0, std::max(0, maximum)));
  bar->setSliderPosition(bar->value());
}

}  // namespace vantor::ui
