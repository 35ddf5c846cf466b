#pragma once
// FlashWindow: the Flash display's form on the main window's client area:
// bank, action and option controls that write their settings as they are
// clicked, the two file choosers, Apply running the bank job with the pane
// drawn as each line comes, and the keys that move the focus.
//
// While it exists the live stream is not read (byte source None), the data
// log writer is paused and LinkTick runs; its destruction restores all three.

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

#include "cal/message_pane.h"
#include "live/byte_source.h"
#include "ui/draw/flash_display.h"

class QAbstractButton;
class QButtonGroup;
class QGroupBox;
class QPushButton;
class QWidget;

namespace vantor::ui {

class ClientView;
class ProgramParts;

// The Flash display's message pane; its lines outlive the window.
MessagePane& FlashProgramPane();

class FlashWindow final : public QObject {
  Q_OBJECT
 public:
  // close: select the gauge display (called after the click has returned).
  FlashWindow(ProgramParts& parts, ClientView& view, std::function<void()> close);
  ~FlashWindow() override;
  FlashWindow(const FlashWindow&) = delete;
  FlashWindow& operator=(const FlashWindow&) = delete;

  DisplayBody& Body() { return body_; }
  MessagePane& Pane() { return pane_; }
  // The control whose text is text (tests, and the window's focus handling).
  QAbstractButton* Control(const QString& text) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  QGroupBox* Group(const QString& title, int x, int y, int width, int height);
  QAbstractButton* Add(QAbstractButton* button, int x, int y, int width, int height);
  void Clicked(QAbstractButton* button);
  void ShowAction();
  void ChooseProgramFile();
  void ChooseReadFile();
  void Apply();
  void FocusBank();
  void MoveFocus(bool backwards);
  void DrawPane();

  ProgramParts& parts_;
  Settings& settings_;  // the parts' settings, which the controls write
  ClientView& view_;
  std::function<void()> close_;
  MessagePane& pane_;
  FlashDisplay body_;
  ByteSourceId previousSource_;
  bool previousPaused_;
  QButtonGroup* banks_ = nullptr;
  QButtonGroup* actions_ = nullptr;
  QGroupBox* programGroup_ = nullptr;
  QGroupBox* readGroup_ = nullptr;
  QAbstractButton* verify_ = nullptr;
  std::vector<QWidget*> controls_;        // all, destroyed with the window
  std::vector<QAbstractButton*> tabOrder_;
  bool shiftHeld_ = false;
};

}  // namespace vantor::ui
