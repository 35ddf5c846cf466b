#include "ui/qt/qt_host.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QThread>

#include "ui/qt/app_icon.h"
#include "ui/qt/qt_window.h"

namespace vantor::ui {
namespace {

QWidget* OwnerWidget(WindowHost* owner) { return owner ? static_cast<QtWindow*>(owner)->Top() : nullptr; }

// A modal dialog whose Escape and close box ask the layer first.
class LayerDialog final : public QDialog {
 public:
  using QDialog::QDialog;
  QtWindow* window = nullptr;

  void reject() override {
    if (!window || window->CloseRequested()) QDialog::reject();
  }
};

// A dark box that paints the program's icon and lines of text at fixed places.
class TextBox final : public QDialog {
 public:
  TextBox(QWidget* owner, const TextBoxSpec& spec) : QDialog(owner), lines_(spec.lines) {
    setWindowTitle(QString::fromStdString(spec.title));
    setFixedSize(spec.width, spec.height);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(20, 20, 20));
    setPalette(palette);
    auto* ok = new QPushButton("OK", this);
    ok->setGeometry(spec.width / 2 - 40, spec.height - 40, 80, 26);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawPixmap(20, 20, AppIconPixmap(64));
    painter.setPen(QColor(240, 240, 240));
    QFont font("Liberation Sans");
    font.setPixelSize(14);
    painter.setFont(font);
    for (const TextBoxSpec::Line& line : lines_)
      painter.drawText(line.x, line.y, QString::fromStdString(line.text));
  }

 private:
  std::vector<TextBoxSpec::Line> lines_;
};

// "All (*.*)" lists every file: Qt matches "*.*" only against names with a
// dot, so the list filters by "*" while the chooser shows "All (*.*)".
void OfferFilters(QFileDialog& dialog, const std::vector<FileFilter>& filters) {
  QStringList names;
  int all = -1;
  for (const FileFilter& filter : filters) {
    if (filter.pattern == "*.*") {
      all = static_cast<int>(names.size());
      names << "All (*)";
    } else {
      names << QString::fromStdString(filter.label);
    }
  }
  dialog.setNameFilters(names);
  if (auto* types = dialog.findChild<QComboBox*>("fileTypeCombo"); types && all >= 0 && all < types->count())
    types->setItemText(all, QString::fromStdString(filters[static_cast<std::size_t>(all)].label));
}

}  // namespace

std::unique_ptr<WindowHost> QtHost::CreateWindow(const WindowSpec& spec, WindowEvents& events, PixelSource* pixels,
                                                 WindowHost* owner) {
  return std::make_unique<QtWindow>(spec, events, pixels, OwnerWidget(owner));
}

void QtHost::RunDialog(const DialogSpec& spec, WindowEvents& events, const std::function<void(WindowHost&)>& opened,
                       WindowHost* owner) {
  LayerDialog dialog(OwnerWidget(owner));
  QtWindow window(&dialog, events);
  dialog.window = &window;
  dialog.setWindowTitle(QString::fromStdString(spec.title));
  dialog.setFont(DialogFont());
  const DialogUnits units(DialogFont());
  dialog.setFixedSize(units.X(spec.width), units.Y(spec.height));
  for (const ControlSpec& control : spec.controls) window.CreateControl(control);
  if (opened) opened(window);
  dialog.exec();
  dialog.window = nullptr;
}

// Qt's own chooser, the same on every platform.
std::optional<std::string> QtHost::ChooseFile(const FileChooserSpec& spec, WindowHost* owner) {
  const QString directory = spec.directory.empty() ? QDir::currentPath() : QString::fromStdString(spec.directory);
  QFileDialog dialog(OwnerWidget(owner), QString::fromStdString(spec.title),
                     QDir(directory).filePath(QString::fromStdString(spec.name)));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  OfferFilters(dialog, spec.filters);
  if (spec.save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the caller asks, when it must
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (!spec.defaultSuffix.empty()) dialog.setDefaultSuffix(QString::fromStdString(spec.defaultSuffix));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

BoxAnswer QtHost::ShowMessage(const MessageSpec& spec, WindowHost* owner) {
  const QMessageBox::Icon icon = spec.icon == BoxIcon::Error      ? QMessageBox::Critical
                                 : spec.icon == BoxIcon::Question ? QMessageBox::Question
                                                                  : QMessageBox::Information;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  if (spec.buttons == BoxButtons::YesNo) buttons = QMessageBox::Yes | QMessageBox::No;
  if (spec.buttons == BoxButtons::YesNoCancel) buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  QMessageBox box(icon, QString::fromStdString(spec.caption), QString::fromStdString(spec.text), buttons,
                  OwnerWidget(owner));
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  switch (box.exec()) {
    case QMessageBox::Yes: return BoxAnswer::Yes;
    case QMessageBox::No: return BoxAnswer::No;
    case QMessageBox::Cancel: return BoxAnswer::Cancel;
    default: return spec.buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Cancel;
  }
}

void QtHost::ShowTextBox(const TextBoxSpec& spec, WindowHost* owner) {
  TextBox box(OwnerWidget(owner), spec);
  box.exec();
}

// Silent where the platform has no bell.
void QtHost::Beep() { QApplication::beep(); }

void QtHost::Post(std::function<void()> work) {
  QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
}

bool QtHost::OnUserThread() const { return QThread::currentThread() == qApp->thread(); }

Point QtHost::DesktopSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return Point{800, 600};
  return Point{screen->geometry().width(), screen->geometry().height()};
}

bool QtHost::ModalOpen() const { return QApplication::activeModalWidget() != nullptr; }

}  // namespace vantor::ui
