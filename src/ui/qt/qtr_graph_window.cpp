#include "ui/qt/qtr_graph_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

#include "ui/qt/app_icon.h"

namespace vantor::ui {
namespace {

std::optional<QPoint> rememberedPosition;

bool InsidePlot(const QPoint& point) {
  return point.x() >= 110 && point.x() <= 794 && point.y() >= 120 && point.y() <= 504;
}

}  // namespace

std::optional<QPoint> QtrGraphWindow::RememberedPosition() { return rememberedPosition; }

QtrGraphWindow::QtrGraphWindow(const ViewLines& lines, const Settings& settings, QWidget* owner,
                               std::function<void(TableScroll)> scroll, std::function<void(int)> scrollTo)
    : QWidget(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      painter_(lines, settings),
      canvas_(qtr_layout::kWidth, qtr_layout::kHeight),
      scrollBar_(new QScrollBar(Qt::Horizontal, this)),
      scroll_(std::move(scroll)) {
  setObjectName("QTRGRAPH");
  setWindowTitle("1/4 Mile Graph");
  setWindowIcon(AppIcon());
  setFixedSize(qtr_layout::kWidth, qtr_layout::kHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  const Rect bar = qtr_layout::kScrollBar;
  scrollBar_->setGeometry(bar.left, bar.top, bar.Width(), bar.Height());
  scrollBar_->setFocusPolicy(Qt::NoFocus);
  RouteScrollBar(scrollBar_, scroll_, std::move(scrollTo));
  if (rememberedPosition) {
    move(*rememberedPosition);
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desk = screen->geometry();
    move(desk.width() / 2 - 380, desk.height() / 2 - 280);
  }
}

QtrGraphWindow::~QtrGraphWindow() = default;

void QtrGraphWindow::ShowFrom(int startLine, int selectedLine, char selectedKind) {
  painter_.Compute(startLine, selectedLine, selectedKind);
  Redraw();
}

void QtrGraphWindow::SyncScrollBar(int maximum, int topLine) { ui::SyncScrollBar(scrollBar_, maximum, topLine); }

void QtrGraphWindow::Redraw() {
  painter_.Paint(canvas_);
  canvas_.TakeDirty();
  update();
}

void QtrGraphWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QImage image(reinterpret_cast<const uchar*>(canvas_.Pixels()), canvas_.Width(), canvas_.Height(),
                     canvas_.Width() * 4, QImage::Format_RGB32);
  painter.drawImage(0, 0, image);
}

void QtrGraphWindow::keyPressEvent(QKeyEvent* event) {
  if (auto move = ScrollOfKey(event->key(), true)) {
    scroll_(*move);
    return;
  }
  QWidget::keyPressEvent(event);
}

void QtrGraphWindow::wheelEvent(QWheelEvent* event) {
  if (auto move = ScrollOfWheel(event->angleDelta().y())) scroll_(*move);
  event->accept();
}

void QtrGraphWindow::mousePressEvent(QMouseEvent* event) {
  dragging_ = event->button() == Qt::LeftButton && painter_.NearCursor(event->position().toPoint().x());
}

void QtrGraphWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (!dragging_ || !(event->buttons() & Qt::LeftButton) || !InsidePlot(at)) return;
  painter_.MoveCursor(canvas_, at.x());
  canvas_.TakeDirty();
  update();
}

void QtrGraphWindow::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

void QtrGraphWindow::closeEvent(QCloseEvent* event) {
  rememberedPosition = pos();
  event->accept();
}

}  // namespace vantor::ui
