#pragma once
// The two floating windows of the main window: Malfunction Codes and Bank
// Select. Opening places them where they were and marks them open in the
// configuration; the user closing one marks it closed; the program closing
// one (Analysis, Flash, a playback) keeps the mark, so the next live display
// reopens it. Their positions are stored whenever they go and at exit.

#include <QPointer>

#include "ui/qt/bank_select_window.h"
#include "ui/qt/malf_codes_window.h"
#include "ui/qt/tool_window.h"

namespace vantor {
class EcmLink;
class FrameLoop;
struct LiveData;
struct Settings;
}  // namespace vantor

namespace vantor::ui {

class ToolWindows {
 public:
  ToolWindows(Settings& settings, FrameLoop& loop, EcmLink& link, const LiveData& live, ToolWindowLinks links);
  ~ToolWindows();
  ToolWindows(const ToolWindows&) = delete;
  ToolWindows& operator=(const ToolWindows&) = delete;

  bool MalfOpen() const { return !malf_.isNull(); }
  bool BankOpen() const { return !bank_.isNull(); }
  // An open window flashes into view; focus then returns to the main window.
  void OpenMalf();
  void OpenBank();
  void CloseMalf();
  void CloseBank();
  // Before the configuration is written at exit.
  void CapturePositions();
  bool IsToolWindow(const QWidget* widget) const;
  MalfCodesWindow* Malf() { return malf_.data(); }
  BankSelectWindow* Bank() { return bank_.data(); }

 private:
  void Show(ToolWindow* window, int x, int y);
  void RemoveMalf(bool byUser);
  void RemoveBank(bool byUser);

  Settings& settings_;
  FrameLoop& loop_;
  EcmLink& link_;
  const LiveData& live_;
  ToolWindowLinks links_;
  QPointer<MalfCodesWindow> malf_;
  QPointer<BankSelectWindow> bank_;
};

}  // namespace vantor::ui
