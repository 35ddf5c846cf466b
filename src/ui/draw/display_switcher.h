#pragma once
// SelectDisplay and the exit sequence as steps on the window's actions, so
// the order of tear-down, creation and suspension is the same in every
// front end and can be checked without one.

#include "live/frame_consumer.h"
#include "settings/settings.h"

namespace vantor::ui {

enum class Controls { Playback, Trip, VeLearn, Knock, Analysis, Flash };

class WindowActions {
 public:
  virtual ~WindowActions() = default;
  // Menu
  virtual void EnableDisplayItems() = 0;  // the nine Display items, texts restored
  virtual void GrayItem(int command) = 0;
  // Display thread and mode
  virtual void Suspend() = 0;  // displaySuspended = 1, returns once the thread is between frames
  virtual void Resume() = 0;   // displaySuspended = 0
  virtual DisplayMode Mode() const = 0;
  virtual void SetMode(DisplayMode mode) = 0;
  virtual void TearDown(Controls controls) = 0;
  virtual void Create(Controls controls) = 0;
  virtual void InvalidateAll() = 0;
  // Floating windows
  virtual bool BankSelectOpen() const = 0;
  virtual bool MalfCodesOpen() const = 0;
  virtual void OpenBankSelect() = 0;
  virtual void OpenMalfCodes() = 0;
  virtual void CloseBankSelect() = 0;
  virtual void CloseMalfCodes() = 0;
  // Link, log, playback, learn
  virtual bool Playing() const = 0;
  virtual bool PortIsOpen() const = 0;  // and not released since
  virtual void SelectPort() = 0;
  virtual void ReleasePort() = 0;
  virtual void RequestRxReset() = 0;
  virtual void StopStream() = 0;  // TxMsXmit 0
  virtual void StopDataLog() = 0;
  virtual void StopPlayback() = 0;
  virtual void StopLearn() = 0;
};

// Switches to the display a command selects; other commands are ignored.
void SelectDisplay(WindowActions& window, const Settings& settings, int command);

class ExitActions {
 public:
  virtual ~ExitActions() = default;
  virtual bool Minimised() const = 0;
  virtual void StoreWindowPosition() = 0;  // [XPOSHWND] [YPOSHWND]
  virtual void WriteSettings() = 0;
  virtual void CloseDataLog() = 0;         // when one is open
  virtual void FinishLearn() = 0;          // when VE learn runs: writes its BIN
  virtual void ClosePort() = 0;
};

void RunExitSequence(ExitActions& actions);

}  // namespace vantor::ui
