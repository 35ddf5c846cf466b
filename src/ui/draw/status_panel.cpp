#include "ui/draw/status_panel.h"

#include <cstdio>

#include "live/live_frame.h"

namespace vantor::ui {
namespace {

TextStyle ValueStyle(Rgb colour = colour::kText) {
  TextStyle style;
  style.colour = colour;
  style.align = Align::Right;
  return style;
}

void Label(Canvas& canvas, int y, const char* text) { canvas.Text(10, y, text, TextStyle{}); }

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char text[96];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

// The panel's column: the file-name row is cleared and written only up to
// here, short of the gauge display's first lamp label ("Running", right-aligned
// at x = 216), which shares its rows.
constexpr int kPanelRight = 160;

enum class Keep { Start, End };

// The first (or last) characters of text that fit in width pixels.
std::string CutToFit(const Canvas& canvas, std::string text, int width, Keep keep) {
  while (!text.empty() && canvas.TextWidth(text, FontId::Default) > width) {
    if (keep == Keep::Start)
      text.pop_back();
    else
      text.erase(0, 1);
  }
  return text;
}

void DrawFileNameRow(Canvas& canvas, const ProgramState& state) {
  constexpr int kX = 10, kY = 29;
  canvas.FillRect(Rect{kX, kY, kPanelRight, kY + canvas.LineHeight(FontId::Default)}, colour::kBackground);
  std::string name = FileNameText(state);
  name.erase(name.find_last_not_of(' ') + 1);
  name = CutToFit(canvas, name, kPanelRight - kX, Keep::Start);
  TextStyle style;
  style.opaque = false;
  canvas.Text(kX, kY, name, style);
}

}  // namespace

PanelValues PanelValuesOf(const std::uint8_t* frame) {
  PanelValues v;
  v.runSeconds = static_cast<int>(frame::Word(frame, frame::kRunTime));
  v.promId = frame::Word(frame, frame::kPromId);
  const std::uint8_t config = frame[frame::kEngineConfig];
  v.cylinders = config & 0x0F;
  v.mapSensorBar = (config & 0x80) ? 2 : (config & 0x40) ? 3 : 1;
  v.bankValid = (frame[frame::kBankInfo] & 0x80) != 0;
  v.activeBank = frame[frame::kBankInfo] & 0x07;
  v.isKdm9 = (frame[frame::kFirmware] & 0x10) != 0;
  v.firmwareMinor = frame[frame::kFirmware] & 0x0F;
  return v;
}

std::string RunTimeText(int seconds) {
  return Format("  %02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

std::string FileNameText(const ProgramState& state) {
  const std::string* name = state.logging ? &state.logName : state.playing ? &state.playName : nullptr;
  if (!name) return Format("%40s", " ");
  std::string text = Format("%-20s", name->c_str());
  text.resize(20);
  return text;
}

std::string FlashBankText(const PanelValues& values) {
  return values.bankValid ? Format("     %5u", values.activeBank) : std::string("      none");
}

std::string FirmwareText(const PanelValues& values) {
  return Format(values.isKdm9 ? "ORV KDM-9, ECM Firmware Version: 1.%d" : "ORV Q8, ECM Firmware Version: 1.%d",
                values.firmwareMinor);
}

StatusPanel::StatusPanel(const LiveView& view, const ActivitySpinner& spinner, MessageHook showMessage)
    : view_(view), spinner_(spinner), showMessage_(std::move(showMessage)) {}

void StatusPanel::DrawPanel(Canvas& canvas, bool onGauges) {
  Label(canvas, 10, "RunTime: ");
  Label(canvas, 48, "PromId:  ");
  Label(canvas, 66, "Inject/Cyl: ");
  Label(canvas, 84, "MAP Sensor: ");
  Label(canvas, 102, "Flash Bank: ");
  Label(canvas, 120, "Port: ");
  Label(canvas, 142, "Logging: ");
  Label(canvas, 160, "Playback: ");
  Label(canvas, 178, "LearnVE: ");
  DrawValues(canvas, onGauges);
  const ProgramState state = view_.State();
  DrawLoggingState(canvas, state);
  if (!state.playing) {
    canvas.Text(130, 160, " OFF   ", ValueStyle());
    spinner_.DrawAll(canvas);
  } else if (state.playAtEnd) {
    canvas.Text(130, 160, " EOF   ", ValueStyle(colour::kAttention));
  } else {
    canvas.Text(130, 160, "  ON   ", ValueStyle());
  }
  canvas.Text(130, 178, state.learning ? "  ON   " : " OFF   ", ValueStyle());
  if (state.learning) {
    Label(canvas, 196, "LearnFrom: ");
    canvas.Text(130, 196, state.learnInput == 0 ? " BLM   " : "  WB   ", ValueStyle());
  }
  if (state.playing) {
    TextStyle small;
    small.font = FontId::Small;
    canvas.Text(665, -1, "Progress", small);
  }
}

void StatusPanel::DrawValues(Canvas& canvas, bool onGauges) {
  const ProgramState state = view_.State();
  canvas.Text(140, 10, RunTimeText(values_.runSeconds), ValueStyle());
  DrawFileNameRow(canvas, state);
  canvas.Text(140, 48, Format("     %5u", values_.promId), ValueStyle());
  canvas.Text(140, 66, Format("%s  %d", " KDM,", values_.cylinders), ValueStyle());
  canvas.Text(144, 84, Format("%d-Bar ", values_.mapSensorBar), ValueStyle());
  canvas.Text(142, 102, FlashBankText(values_), ValueStyle());
  DrawPortState(canvas, state.portName, state.portOpen);
  if (onGauges) DrawFirmwareLine(canvas);
}

namespace {

constexpr int kPortY = 120;
constexpr int kPortNameRight = 90;
constexpr int kPortStateRight = 142;

// A COM name sits right-aligned at x = 90. A device path shows its name
// below "/dev/"; when that reaches into the "Port:" label from there, it
// starts one blank after the label instead and may run up to the wider state
// word, cut to its last characters that fit.
void DrawPortLine(Canvas& canvas, const std::string& portName, bool open) {
  constexpr int kGap = 2;
  const int labelEnd = 10 + canvas.TextWidth("Port:", FontId::Default);
  const int fieldLeft = 10 + canvas.TextWidth("Port: ", FontId::Default);
  const int fieldRight = kPortStateRight - canvas.TextWidth("Closed", FontId::Default) - kGap;
  // The whole value area, so that no part of a longer name stays behind.
  canvas.FillRect(Rect{labelEnd + kGap, kPortY, kPortStateRight, kPortY + canvas.LineHeight(FontId::Default)},
                  colour::kBackground);
  constexpr std::string_view kDeviceDirectory = "/dev/";
  std::string name = portName;
  if (name.starts_with(kDeviceDirectory)) name.erase(0, kDeviceDirectory.size());
  name = CutToFit(canvas, name, fieldRight - fieldLeft, Keep::End);
  if (kPortNameRight - canvas.TextWidth(name, FontId::Default) >= labelEnd + kGap) {
    canvas.Text(kPortNameRight, kPortY, name, ValueStyle());
  } else {
    TextStyle style;
    style.align = Align::Left;
    canvas.Text(fieldLeft, kPortY, name, style);
  }
  canvas.Text(kPortStateRight, kPortY, open ? "Open" : "Closed", ValueStyle());
}

}  // namespace

void StatusPanel::DrawPortState(Canvas& canvas, const std::string& portName, bool open) {
  DrawPortLine(canvas, portName, open);
}

void StatusPanel::DrawPortChange(Canvas& canvas, const std::string& portName, bool open) {
  DrawPortLine(canvas, portName, open);
}

void StatusPanel::DrawLoggingState(Canvas& canvas, const ProgramState& state) {
  if (!state.logging)
    canvas.Text(130, 142, " OFF   ", ValueStyle());
  else if (state.logPaused)
    canvas.Text(130, 142, "  Pause", ValueStyle(colour::kAttention));
  else
    canvas.Text(130, 142, "  ON   ", ValueStyle());
}

void StatusPanel::DrawFirmwareLine(Canvas& canvas) {
  TextStyle small;
  small.font = FontId::Small;
  if (!view_.EngineRunning()) {
    canvas.Text(280, 534, Format("%40s", " "), small);
    return;
  }
  if (!modelTested_) {
    modelTested_ = true;
    if (!values_.isKdm9 && showMessage_) showMessage_(kWrongVtdText, kWrongVtdCaption);
  }
  canvas.Text(280, 534, FirmwareText(values_), small);
}

}  // namespace vantor::ui
