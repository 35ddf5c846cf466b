#include "ui/qt/flash_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>

#include "cal/bank_jobs.h"
#include "ui/qt/client_view.h"
#include "ui/qt/message_boxes.h"
#include "ui/qt/program_parts.h"

namespace vantor::ui {
namespace {

const QRect kPaneArea{330, 321, 391, 137};

QPalette FormPalette(QPalette palette) {
  palette.setColor(QPalette::WindowText, QColor(240, 240, 240));
  palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(130, 130, 130));
  return palette;
}

bool IsFocusKey(int key) {
  return key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return || key == Qt::Key_Enter ||
         key == Qt::Key_Escape;
}

}  // namespace

// The pane's lines live as long as the program: a new job clears them.
MessagePane& FlashProgramPane() {
  static MessagePane pane(FlashPaneStyle());
  return pane;
}

FlashWindow::FlashWindow(ProgramParts& parts, ClientView& view, std::function<void()> close)
    : parts_(parts),
      settings_(parts.settings),
      view_(view),
      close_(std::move(close)),
      pane_(FlashProgramPane()),
      body_(settings_, pane_),
      previousSource_(parts.session.Sources().Select(ByteSourceId::None)),
      previousPaused_(parts.recorder.SetWriterPaused(true)) {
  pane_.SetChangeHook([this] { DrawPane(); });
  CreateControls();
  ShowAction();
  view_.Surface().InvalidateAll();
  parts_.link.Tick().Reset();
  parts_.link.Tick().Start();
  FocusBank();
}

FlashWindow::~FlashWindow() {
  pane_.SetChangeHook(nullptr);
  for (QWidget* control : controls_) delete control;
  parts_.link.Tick().Stop();
  parts_.session.Sources().Select(previousSource_);
  parts_.recorder.SetWriterPaused(previousPaused_);
}

// ---- controls ----

QGroupBox* FlashWindow::Group(const QString& title, int x, int y, int width, int height) {
  auto* group = new QGroupBox(title, &view_);
  group->setGeometry(x, y, width, height);
  group->setPalette(FormPalette(group->palette()));
  group->show();
  controls_.push_back(group);
  return group;
}

QAbstractButton* FlashWindow::Add(QAbstractButton* button, int x, int y, int width, int height) {
  button->setParent(&view_);
  button->setGeometry(x, y, width, height);
  if (!qobject_cast<QPushButton*>(button)) {
    button->setPalette(FormPalette(button->palette()));
    button->setLayoutDirection(Qt::RightToLeft);  // text left of the box
  }
  button->installEventFilter(this);
  connect(button, &QAbstractButton::clicked, this, [this, button] { Clicked(button); });
  button->show();
  controls_.push_back(button);
  tabOrder_.push_back(button);
  return button;
}

void FlashWindow::CreateControls() {
  const Settings& settings = settings_;
  Group("Flash Bank", 100, 60, 420, 50);
  Group("Action", 100, 140, 170, 92);
  programGroup_ = Group("Program File Name", 330, 140, 390, 42);
  readGroup_ = Group("Read File Name", 330, 192, 390, 42);
  Group("Options", 100, 304, 170, 92);
  Group("Messages", 330, 304, 394, 161);

  banks_ = new QButtonGroup(this);
  for (int bank = 0; bank < 8; ++bank) {
    auto* radio = Add(new QRadioButton(QString::number(bank)), 120 + 50 * bank, 80, 30, 20);
    banks_->addButton(radio, bank);
    radio->setChecked(bank == settings.flshBank);
  }
  actions_ = new QButtonGroup(this);
  auto* program = Add(new QRadioButton("Program Bank"), 120, 170, 130, 20);
  auto* read = Add(new QRadioButton("Read Bank"), 120, 200, 130, 20);
  actions_->addButton(program, kFlashProgram);
  actions_->addButton(read, kFlashRead);
  program->setChecked(settings.flshAction == kFlashProgram);
  read->setChecked(settings.flshAction == kFlashRead);
  Add(new QPushButton("Select BIN"), 330, 242, 80, 30);
  verify_ = Add(new QCheckBox("Verify"), 120, 334, 130, 20);
  verify_->setChecked(settings.flshVerify == 1);
  Add(new QCheckBox("Set Bank Active"), 120, 364, 130, 20)->setChecked(settings.flshSetBank == 1);
  Add(new QPushButton("Close"), 540, 500, 80, 30);
  Add(new QPushButton("Apply"), 640, 500, 80, 30);
}

QAbstractButton* FlashWindow::Control(const QString& text) const {
  for (QAbstractButton* button : tabOrder_)
    if (button->text() == text) return button;
  return nullptr;
}

// ---- clicks ----

void FlashWindow::Clicked(QAbstractButton* button) {
  Settings& settings = settings_;
  if (banks_->checkedId() >= 0) settings.flshBank = static_cast<std::int16_t>(banks_->checkedId());
  const QString text = button->text();
  if (text == "Program Bank" || text == "Read Bank") {
    settings.flshAction = static_cast<std::int16_t>(text == "Read Bank" ? kFlashRead : kFlashProgram);
    ShowAction();
  } else if (text == "Verify") {
    settings.flshVerify = button->isChecked() ? 1 : 0;
  } else if (text == "Set Bank Active") {
    settings.flshSetBank = button->isChecked() ? 1 : 0;
  } else if (text == "Select BIN") {
    if (settings.flshAction == kFlashRead)
      ChooseReadFile();
    else
      ChooseProgramFile();
    button->setFocus();
  } else if (text == "Close") {
    // After this click returns: the selection destroys the window.
    QMetaObject::invokeMethod(&view_, close_, Qt::QueuedConnection);
  } else if (text == "Apply") {
    Apply();
  }
}

void FlashWindow::ShowAction() {
  const bool reading = settings_.flshAction == kFlashRead;
  verify_->setEnabled(!reading);
  programGroup_->setEnabled(!reading);
  readGroup_->setEnabled(reading);
  DrawScope scope(view_.Surface());
  DrawFlashFileNames(scope.canvas(), settings_);
}

void FlashWindow::Apply() {
  const Settings& settings = settings_;
  FlashJob job;
  job.bank = {settings.flshBank, settings.flshSetBank == 1, settings.flshVerify == 1};
  job.action = settings.flshAction;
  job.programFile = settings.flshBin;
  job.readFile = settings.readBin;
  job.readDirectory = settings.readBinPath;
  RunFlashJob(parts_.link, pane_, job, [this](const std::string& text, const std::string& caption) {
    ShowInfoBox(&view_, QString::fromStdString(text), QString::fromStdString(caption));
  });
  FocusBank();
}

void FlashWindow::FocusBank() {
  if (QAbstractButton* bank = banks_->button(settings_.flshBank)) bank->setFocus();
}

// The job runs on this thread: each line is drawn and shown at once.
void FlashWindow::DrawPane() {
  {
    DrawScope scope(view_.Surface());
    body_.PaintPane(scope.canvas());
  }
  if (QThread::currentThread() == view_.thread()) view_.repaint(kPaneArea);
}

// ---- keys ----

bool FlashWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
    return QObject::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool press = event->type() == QEvent::KeyPress;
  if (key->key() == Qt::Key_Shift) {
    shiftHeld_ = press;
    return false;
  }
  if (!IsFocusKey(key->key())) return false;
  if (press) MoveFocus(shiftHeld_ || key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier));
  return true;
}

void FlashWindow::MoveFocus(bool backwards) {
  const int count = static_cast<int>(tabOrder_.size());
  int at = 0;
  for (int i = 0; i < count; ++i)
    if (tabOrder_[i]->hasFocus()) at = i;
  for (int step = 1; step <= count; ++step) {
    QAbstractButton* next = tabOrder_[(at + (backwards ? count - step : step)) % count];
    if (next->isEnabled()) {
      next->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
      return;
    }
  }
}

}  // namespace vantor::ui
