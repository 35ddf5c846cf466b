#pragma once
// The Malfunction Codes or Bank Select window rendered without a window, at
// its own client size: the frame processing loop of a headless display
// refreshes it as the program's loop refreshes the real one.

#include <optional>
#include <string>

#include "live/frame_consumer.h"
#include "live/frame_loop.h"
#include "ui/draw/bank_select_face.h"
#include "ui/draw/headless_display.h"
#include "ui/draw/malf_codes_face.h"
#include "ui/draw/raster_canvas.h"

namespace vantor::ui {

enum class ToolWindowKind { MalfCodes, BankSelect };

// "malf" or "banksel".
std::optional<ToolWindowKind> ToolWindowByName(const std::string& name);

class HeadlessToolWindow final : public FrameConsumer, public BankSelectView {
 public:
  // Registers with display's frame loop until destroyed.
  HeadlessToolWindow(HeadlessDisplay& display, ToolWindowKind kind);
  ~HeadlessToolWindow() override;
  HeadlessToolWindow(const HeadlessToolWindow&) = delete;
  HeadlessToolWindow& operator=(const HeadlessToolWindow&) = delete;

  void OnFrame(const std::uint8_t* data, bool draw) override;
  void ShowActiveBank(int bank) override;
  const RasterCanvas& Canvas() const { return canvas_; }

 private:
  HeadlessDisplay& display_;
  ToolWindowKind kind_;
  RasterCanvas canvas_;
  MalfCodesFace malf_;
  BankSelectFace banks_;
};

}  // namespace vantor::ui
