#pragma once
// The status lines at the top left of every live display: ECM run time and
// identity, the port, and the logging, playback and VE learn states. On the
// gauge display it also shows the firmware line and checks, once per run,
// that the ECM is a KDM-9.
// Threads: everything runs under the draw surface's lock.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "ui/canvas.h"
#include "ui/draw/activity_spinner.h"
#include "ui/draw/live_view.h"

namespace vantor::ui {

struct PanelValues {
  int runSeconds = 0;
  unsigned promId = 0;
  int cylinders = 0;
  int mapSensorBar = 1;
  bool bankValid = false;
  unsigned activeBank = 0;
  bool isKdm9 = true;
  int firmwareMinor = 0;
};

PanelValues PanelValuesOf(const std::uint8_t* frame);

// The texts of the rows, as drawn.
std::string RunTimeText(int seconds);
std::string FileNameText(const ProgramState& state);
std::string FlashBankText(const PanelValues& values);
std::string FirmwareText(const PanelValues& values);

constexpr const char* kWrongVtdText = "This is not the correct VTD for the ORV Q8 system";
constexpr const char* kWrongVtdCaption = "Wrong VTD";

class StatusPanel {
 public:
  using MessageHook = std::function<void(const std::string& text, const std::string& caption)>;
  StatusPanel(const LiveView& view, const ActivitySpinner& spinner, MessageHook showMessage);

  void Update(const std::uint8_t* frame) { values_ = PanelValuesOf(frame); }
  const PanelValues& Values() const { return values_; }

  void DrawPanel(Canvas& canvas, bool onGauges);
  void DrawValues(Canvas& canvas, bool onGauges);
  void DrawLoggingState(Canvas& canvas, const ProgramState& state);
  // The "Port:" line's values; every draw blanks the whole value area, so a
  // device path of any length neither covers the label nor leaves old text.
  static void DrawPortState(Canvas& canvas, const std::string& portName, bool open);
  // The same line redrawn when the port opens or closes.
  static void DrawPortChange(Canvas& canvas, const std::string& portName, bool open);
  bool ModelTested() const { return modelTested_; }

 private:
  void DrawFirmwareLine(Canvas& canvas);

  const LiveView& view_;
  const ActivitySpinner& spinner_;
  MessageHook showMessage_;
  PanelValues values_;
  bool modelTested_ = false;
};

}  // namespace vantor::ui
